#include "com/StreamAdapter.h"

#include <limits>
#include <string>

#include "com/ErrorMapping.h"
#include "fdt/Errors.h"

namespace zeb2hart::com {

namespace {

// One call's share: what a ULONG counts.
ULONG chunkOf(std::size_t size)
{
    if (size > std::numeric_limits<ULONG>::max())
        throw fdt::FileError("a single stream transfer is limited to 4 GiB");
    return static_cast<ULONG>(size);
}

} // namespace

std::size_t StreamAdapter::read(std::span<std::uint8_t> into)
{
    const ULONG wanted = chunkOf(into.size());
    ULONG got = 0;
    const HRESULT status = m_stream.Read(into.data(), wanted, &got);
    if (FAILED(status))
        throw fdt::FileError("The frame's stream could not be read (" + hresultText(status) + ")");
    if (got > wanted)
        throw fdt::FileError("The frame's stream answered " + std::to_string(got) + " bytes for " + std::to_string(wanted));
    return got;
}

void StreamAdapter::write(std::span<const std::uint8_t> bytes)
{
    const ULONG size = chunkOf(bytes.size());
    ULONG written = 0;
    const HRESULT status = m_stream.Write(bytes.data(), size, &written);
    if (FAILED(status))
        throw fdt::FileError("The frame's stream could not be written (" + hresultText(status) + ")");
    if (written != size)
        throw fdt::FileError("The frame's stream took " + std::to_string(written) + " of " + std::to_string(size) + " bytes");
}

} // namespace zeb2hart::com
