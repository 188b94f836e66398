// The project-file reader: the input is the file, loaded as the frame loads a
// project (JsonFilePropertyBag::load). A refusal is fdt::FileError; whatever
// loads must save and load back to the same values.
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>
#include <system_error>

#include "FuzzSupport.h"
#include "fdt/Errors.h"
#include "platform/PropertyBag.h"

namespace {

using namespace zeb2hart;

// The project file of this process, removed when the fuzzer ends.
struct ScratchProject {
    ~ScratchProject()
    {
        std::error_code ignored;
        fuzz::fs::remove(path, ignored);
    }
    fuzz::fs::path path = fuzz::scratchFile("project.json");
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const ScratchProject scratch;
    const fuzz::fs::path& file = scratch.path;
    {
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    platform::JsonFilePropertyBag bag(file);
    try {
        bag.load();
    } catch (const fdt::FileError&) {
        return 0;
    }
    platform::MemoryPropertyBag again;
    platform::JsonFilePropertyBag::fromJson(platform::JsonFilePropertyBag::toJson(bag), again);
    if (again.entries() != bag.entries())
        std::abort();
    return 0;
}
