#pragma once
// The frame's IStream as the component's byte source and sink, for DTMMain's
// loadStream and saveStream behind IPersistStreamInit. It reads no more than it
// is asked for, in one Read each time, so that the stream stays just after the
// DTM's bytes; a Read that answers fewer bytes is where the stream ends. Lives
// for one Load or Save call on the apartment's thread.

#include <windows.h>
#include <objidl.h>

#include "platform/ByteStream.h"

namespace zeb2hart::com {

class StreamAdapter final : public platform::ByteSource, public platform::ByteSink {
public:
    explicit StreamAdapter(IStream& stream) : m_stream(stream) {}

    // A failed Read, or one that claims more bytes than asked for, throws fdt::FileError.
    std::size_t read(std::span<std::uint8_t> into) override;
    // A failed Write, or one that takes fewer bytes, throws fdt::FileError.
    void write(std::span<const std::uint8_t> bytes) override;

private:
    IStream& m_stream;
};

} // namespace zeb2hart::com
