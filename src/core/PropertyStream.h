#pragma once
// PropertyStream: the persisted properties as one self-describing byte stream,
// the form a frame keeps a DTM in through IPersistStreamInit. It makes bytes of
// a bag of the persisted properties and a bag of bytes, checking both against
// the table of core/PersistentProperties.h; DTMMain loads and saves that bag as
// it does the frame's property bag. Functions of their arguments only: any thread.
//
// The stream, every number little-endian, so that 32-bit and 64-bit hosts read
// each other's streams:
//
//   header, 32 bytes   "ZEB2HART"; the class identifier (16 bytes, COM's layout:
//                      Data1 u32, Data2 u16, Data3 u16, Data4); the format
//                      version (u16, kFormatVersion); the number of pairs (u16);
//                      the length of the pairs in bytes (u32)
//   each pair          the key's length (u8) and the key; the value's COM variant
//                      type (u16: VT_I2 2, VT_BSTR 8, VT_BOOL 11) and the value:
//                      VT_I2 two bytes, VT_BOOL 0x0000 or 0xFFFF, VT_BSTR its
//                      length in bytes (u32) and that many bytes of UTF-8
//
// A key is a persisted property's, at most once, with a value of the property's
// type; a text is at most kMaxTextBytes long. A key the stream does not hold
// takes its default when loaded, as a key missing from a bag does.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "fdt/Guid.h"
#include "platform/ByteStream.h"
#include "platform/PropertyBag.h"

namespace zeb2hart::core {

class PropertyStream {
public:
    static constexpr char kMagic[8] = {'Z', 'E', 'B', '2', 'H', 'A', 'R', 'T'};
    static constexpr std::uint16_t kFormatVersion = 1;
    static constexpr std::size_t kHeaderSize = 32;
    static constexpr std::size_t kMaxTextBytes = 64 * 1024;
    // The most a read asks of its source at once.
    static constexpr std::size_t kReadChunk = 4096;

    // The most bytes a stream of the persisted properties can hold: every
    // property once, every text kMaxTextBytes long. read() reads no more.
    static std::size_t maxSize();
    // How many bytes write() makes of `bag`; throws as write() does.
    static std::size_t size(const platform::MemoryPropertyBag& bag);
    // `bag`'s entries, in their order, as the stream of the class `classId`.
    // A key that is not a persisted property throws fdt::NotFoundError, a value
    // not of its property's type or a text that is not UTF-8
    // fdt::TypeMismatchError, a text longer than kMaxTextBytes fdt::OverflowError.
    static std::vector<std::uint8_t> write(const fdt::Guid& classId, const platform::MemoryPropertyBag& bag);
    // Reads one stream of the class `classId` from `source`, exactly its own
    // bytes (the header, then the length it declares, kReadChunk at a time), and
    // answers its pairs as a bag, in their order. Anything but a whole, well-formed
    // stream of that class in a format version up to kFormatVersion throws
    // fdt::FileError saying what is wrong; a value of another type than its
    // property's fdt::TypeMismatchError.
    static platform::MemoryPropertyBag read(const fdt::Guid& classId, platform::ByteSource& source);
};

} // namespace zeb2hart::core
