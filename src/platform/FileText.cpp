#include "platform/FileText.h"

#include <atomic>
#include <cstdint>
#include <random>

namespace zeb2hart::platform {

std::filesystem::path savingName(const std::filesystem::path& file)
{
    // Seeded once from the system's entropy; a counter keeps two names of one
    // process apart even if the generator repeated itself.
    static std::atomic<std::uint32_t> counter{std::random_device{}()};
    thread_local std::mt19937 generator{std::random_device{}()};
    const std::uint32_t number = generator() ^ (counter.fetch_add(0x9E3779B9u) * 2654435761u);
    static constexpr char digits[] = "0123456789abcdef";
    std::string suffix(kSavingMarker);
    for (int shift = 28; shift >= 0; shift -= 4)
        suffix += digits[(number >> shift) & 15];
    auto name = file;
    name += suffix;
    return name;
}

} // namespace zeb2hart::platform
