// The stream of the persisted properties as a frame hands it to the DTM
// (IPersistStreamInit::Load): the input is the stream, read by the reader and
// loaded into one DTM. A refusal is fdt::FileError or fdt::TypeMismatchError
// and must leave the DTM's properties as they were; a stream that is read must
// be written again to exactly the bytes the reader took.
#include <cstdint>
#include <cstdlib>
#include <algorithm>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "FuzzSupport.h"
#include "core/ComponentClasses.h"
#include "core/DTMMain.h"
#include "core/PropertyStream.h"
#include "fdt/Errors.h"

namespace {

using namespace zeb2hart;

platform::MemoryPropertyBag propertiesOf(const core::DTMMain& dtm)
{
    platform::MemoryPropertyBag bag;
    dtm.SaveProperties(bag);
    return bag;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::services().reset();
    static const std::shared_ptr<core::DTMMain> dtm = core::DTMMain::create();
    static const fdt::Guid classId = *fdt::Guid::parse(core::kDtmClass.clsid);
    const std::span<const std::uint8_t> input(data, size);

    platform::MemoryByteSource source(input);
    std::optional<platform::MemoryPropertyBag> read;
    try {
        read = core::PropertyStream::read(classId, source);
    } catch (const fdt::FileError&) {
    } catch (const fdt::TypeMismatchError&) {
    }
    if (read) {
        const std::vector<std::uint8_t> written = core::PropertyStream::write(classId, *read);
        if (written.size() != source.position() || !std::equal(written.begin(), written.end(), data))
            std::abort();
    }

    const auto before = propertiesOf(*dtm).entries();
    platform::MemoryByteSource again(input);
    try {
        dtm->loadStream(again);
    } catch (const fdt::FileError&) {
        if (propertiesOf(*dtm).entries() != before)
            std::abort();
    } catch (const fdt::TypeMismatchError&) {
        if (propertiesOf(*dtm).entries() != before)
            std::abort();
    }
    return 0;
}
