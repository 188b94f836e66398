// The settings file DTM.ini as a new DTM reads it: the input is the file, in a
// copy of the component folder made once. Each input creates a DTM (which reads
// the trace settings), calls IDtm::InitNew and the new properties'
// initialisation, and saves the properties as a project file. A value that does
// not convert is a specified failure; a save that fails, or a project file that
// does not load back to the same values, is a finding.
#include <cstdint>
#include <cstdlib>
#include <exception>
#include <fstream>
#include <random>
#include <string>

#include "FuzzSupport.h"
#include "core/DTMMain.h"
#include "fakes/FdtDocuments.h"
#include "fdt/Errors.h"
#include "platform/PropertyBag.h"

namespace {

using namespace zeb2hart;

// The component's data files in a temporary folder, removed when the fuzzer ends.
struct ComponentCopy {
    ComponentCopy()
    {
        folder = fuzz::fs::temp_directory_path() / ("zeb2hart-fuzz-" + std::to_string(::getpid()) + "-initnew");
        fuzz::fs::remove_all(folder);
        fuzz::fs::create_directories(folder);
        for (const char* dir : {"XMLData", "XMLSchemas", "Resources"})
            fuzz::fs::copy(fuzz::componentDir() / dir, folder / dir, fuzz::fs::copy_options::recursive);
    }
    ~ComponentCopy()
    {
        std::error_code ignored;
        fuzz::fs::remove_all(folder, ignored);
    }
    fuzz::fs::path folder;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const ComponentCopy copy;
    static platform::ManualServices services(copy.folder);
    services.messageBox().shown.clear();
    {
        std::ofstream out(copy.folder / "Resources" / "DTM.ini", std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    {
        std::shared_ptr<core::DTMMain> dtm = core::DTMMain::create(copy.folder);
        (void)dtm->InitNew(test::gatewayDeviceType());
        try {
            dtm->InitNewProperties();
        } catch (const fdt::TypeMismatchError&) {
        } catch (const fdt::OverflowError&) {
        }
        platform::MemoryPropertyBag bag;
        dtm->SaveProperties(bag);
        platform::MemoryPropertyBag loaded;
        platform::JsonFilePropertyBag::fromJson(platform::JsonFilePropertyBag::toJson(bag), loaded);
        if (loaded.entries() != bag.entries())
            std::abort();
    }
    services.loop().runPending();
    return 0;
}
