#include "platform/FileText.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <limits>
#include <random>

#include "fdt/Hex.h"

namespace zeb2hart::platform {

std::filesystem::path savingName(const std::filesystem::path& file)
{
    // Seeded once from the system's entropy; a counter keeps two names of one
    // process apart even if the generator repeated itself.
    static std::atomic<std::uint32_t> counter{std::random_device{}()};
    thread_local std::mt19937 generator{std::random_device{}()};
    const std::uint32_t number = generator() ^ (counter.fetch_add(0x9E3779B9u) * 2654435761u);
    const std::string suffix = std::string(kSavingMarker) + fdt::hexText(number, 8, fdt::HexCase::Lower);
    auto name = file;
    name += suffix;
    return name;
}

FileRead readBounded(std::uint64_t reportedSize, std::size_t cap, const ReadSome& readSome, std::string& content)
{
    if (reportedSize > cap)
        return FileRead::TooLarge;
    const std::size_t limit = cap == std::numeric_limits<std::size_t>::max() ? cap : cap + 1;
    std::string text;
    text.resize(static_cast<std::size_t>(std::min<std::uint64_t>(reportedSize, limit)));
    std::size_t filled = 0;
    for (;;) {
        if (filled == text.size()) {
            if (text.size() >= limit)
                break;
            text.resize(std::min(limit, std::max<std::size_t>(text.size() * 2, 4096)));
        }
        const std::ptrdiff_t got = readSome(text.data() + filled, text.size() - filled);
        if (got < 0)
            return FileRead::Unreadable;
        if (got == 0)
            break;
        filled += static_cast<std::size_t>(got);
    }
    if (filled > cap)
        return FileRead::TooLarge;
    text.resize(filled);
    content = std::move(text);
    return FileRead::Read;
}

} // namespace zeb2hart::platform
