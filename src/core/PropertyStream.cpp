#include "core/PropertyStream.h"

#include <algorithm>
#include <span>
#include <string>
#include <string_view>

#include "core/PersistentProperties.h"
#include "fdt/Errors.h"
#include "support/Conversions.h"

namespace zeb2hart::core {

namespace {

// The value's type as COM's variant type numbers it.
constexpr std::uint16_t kVtInteger16 = 2;  // VT_I2
constexpr std::uint16_t kVtText = 8;       // VT_BSTR
constexpr std::uint16_t kVtBoolean = 11;   // VT_BOOL
constexpr std::uint16_t kVariantTrue = 0xFFFF;

std::uint16_t variantTypeOf(PropertyType type)
{
    switch (type) {
    case PropertyType::Boolean:
        return kVtBoolean;
    case PropertyType::Integer16:
        return kVtInteger16;
    case PropertyType::Text:
        break;
    }
    return kVtText;
}

const char* typeName(PropertyType type)
{
    switch (type) {
    case PropertyType::Boolean:
        return "a Boolean";
    case PropertyType::Integer16:
        return "a 16-bit integer";
    case PropertyType::Text:
        break;
    }
    return "a text";
}

// The bytes of one pair after the key: its type and its value.
std::size_t valueSize(PropertyType type, std::size_t textBytes)
{
    return 2 + (type == PropertyType::Text ? 4 + textBytes : 2);
}

std::size_t pairSize(const PersistentProperty& property, std::size_t textBytes)
{
    return 1 + property.key.size() + valueSize(property.type(), textBytes);
}

// The property of a bag entry that write() takes, checked as read() checks it.
const PersistentProperty& checkedEntry(const std::string& key, const fdt::Variant& value)
{
    const PersistentProperty* property = PersistentProperty::find(key);
    if (!property)
        throw fdt::NotFoundError("a stream keeps only the persisted properties, not " + key);
    const bool ofItsType = (property->type() == PropertyType::Text && value.is<std::string>()) ||
                           (property->type() == PropertyType::Boolean && value.is<bool>()) ||
                           (property->type() == PropertyType::Integer16 && value.is<std::int16_t>());
    if (!ofItsType)
        throw fdt::TypeMismatchError("Type mismatch: " + key + " is kept as " + typeName(property->type()));
    if (value.is<std::string>()) {
        const std::string& text = value.as<std::string>();
        if (text.size() > PropertyStream::kMaxTextBytes)
            throw fdt::OverflowError(key + " is " + std::to_string(text.size()) + " bytes long; a stream keeps texts of at most " +
                                     std::to_string(PropertyStream::kMaxTextBytes));
        if (!support::isUtf8(text))
            throw fdt::TypeMismatchError("Type mismatch: " + key + " is not UTF-8 text");
    }
    return *property;
}

void putU16(std::vector<std::uint8_t>& out, std::uint16_t value)
{
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void putU32(std::vector<std::uint8_t>& out, std::uint32_t value)
{
    putU16(out, static_cast<std::uint16_t>(value));
    putU16(out, static_cast<std::uint16_t>(value >> 16));
}

void putClassId(std::vector<std::uint8_t>& out, const fdt::Guid& id)
{
    putU32(out, id.data1);
    putU16(out, id.data2);
    putU16(out, id.data3);
    out.insert(out.end(), id.data4.begin(), id.data4.end());
}

std::uint16_t u16At(std::span<const std::uint8_t> bytes, std::size_t at)
{
    return static_cast<std::uint16_t>(bytes[at] | (bytes[at + 1] << 8));
}

std::uint32_t u32At(std::span<const std::uint8_t> bytes, std::size_t at)
{
    return u16At(bytes, at) | (std::uint32_t{u16At(bytes, at + 2)} << 16);
}

fdt::Guid classIdAt(std::span<const std::uint8_t> bytes, std::size_t at)
{
    fdt::Guid id;
    id.data1 = u32At(bytes, at);
    id.data2 = u16At(bytes, at + 4);
    id.data3 = u16At(bytes, at + 6);
    std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(at + 8), 8, id.data4.begin());
    return id;
}

[[noreturn]] void malformed(const std::string& what)
{
    throw fdt::FileError("The stream of the properties " + what);
}

// The pairs of a stream, read from the front; each read checks that its bytes are there.
class PairReader {
public:
    explicit PairReader(std::span<const std::uint8_t> bytes) : m_bytes(bytes) {}

    void startPair(std::size_t number) { m_pair = number; }
    std::span<const std::uint8_t> take(std::size_t count, const char* what)
    {
        if (count > m_bytes.size() - m_at)
            malformed("runs past the " + std::to_string(m_bytes.size()) + " bytes of pairs its header declares, in " + what +
                      " of pair " + std::to_string(m_pair));
        const auto taken = m_bytes.subspan(m_at, count);
        m_at += count;
        return taken;
    }
    std::uint8_t u8(const char* what) { return take(1, what)[0]; }
    std::uint16_t u16(const char* what) { return u16At(take(2, what), 0); }
    std::uint32_t u32(const char* what) { return u32At(take(4, what), 0); }
    std::string text(std::size_t count, const char* what)
    {
        const auto bytes = take(count, what);
        return std::string(bytes.begin(), bytes.end());
    }
    std::size_t left() const { return m_bytes.size() - m_at; }

private:
    std::span<const std::uint8_t> m_bytes;
    std::size_t m_at = 0;
    std::size_t m_pair = 0;
};

// The value of `property` as the pair holds it.
fdt::Variant readValue(PairReader& in, const PersistentProperty& property)
{
    const std::string key(property.key);
    const std::uint16_t type = in.u16("the value's type");
    if (type != variantTypeOf(property.type()))
        throw fdt::TypeMismatchError("Type mismatch: the stream holds " + key + " as variant type " + std::to_string(type) +
                                     "; it is " + typeName(property.type()) + " (type " +
                                     std::to_string(variantTypeOf(property.type())) + ")");
    switch (property.type()) {
    case PropertyType::Boolean: {
        const std::uint16_t flag = in.u16("a Boolean");
        if (flag != 0 && flag != kVariantTrue)
            malformed("holds " + std::to_string(flag) + " for the Boolean " + key + " (0 or 65535)");
        return flag == kVariantTrue;
    }
    case PropertyType::Integer16:
        return static_cast<std::int16_t>(in.u16("a 16-bit integer"));
    case PropertyType::Text:
        break;
    }
    const std::uint32_t length = in.u32("a text's length");
    if (length > PropertyStream::kMaxTextBytes)
        malformed("gives " + key + " " + std::to_string(length) + " bytes; a text has at most " +
                  std::to_string(PropertyStream::kMaxTextBytes));
    std::string text = in.text(length, "a text");
    if (!support::isUtf8(text))
        malformed("holds a text for " + key + " that is not UTF-8");
    return text;
}

} // namespace

std::size_t PropertyStream::maxSize()
{
    std::size_t size = kHeaderSize;
    for (const PersistentProperty& property : PersistentProperty::all())
        size += pairSize(property, kMaxTextBytes);
    return size;
}

std::size_t PropertyStream::size(const platform::MemoryPropertyBag& bag)
{
    std::size_t size = kHeaderSize;
    for (const auto& [key, value] : bag.entries()) {
        const PersistentProperty& property = checkedEntry(key, value);
        size += pairSize(property, value.is<std::string>() ? value.as<std::string>().size() : 0);
    }
    return size;
}

std::vector<std::uint8_t> PropertyStream::write(const fdt::Guid& classId, const platform::MemoryPropertyBag& bag)
{
    // The bag's keys are its own, each once, and each a persisted property: at most all() of them.
    const std::size_t total = size(bag);
    std::vector<std::uint8_t> out;
    out.reserve(total);
    for (const char c : kMagic)
        out.push_back(static_cast<std::uint8_t>(c));
    putClassId(out, classId);
    putU16(out, kFormatVersion);
    putU16(out, static_cast<std::uint16_t>(bag.entries().size()));
    putU32(out, static_cast<std::uint32_t>(total - kHeaderSize));
    for (const auto& [key, value] : bag.entries()) {
        const PersistentProperty& property = checkedEntry(key, value);
        out.push_back(static_cast<std::uint8_t>(key.size()));
        out.insert(out.end(), key.begin(), key.end());
        putU16(out, variantTypeOf(property.type()));
        if (value.is<bool>()) {
            putU16(out, value.as<bool>() ? kVariantTrue : 0);
        } else if (value.is<std::int16_t>()) {
            putU16(out, static_cast<std::uint16_t>(value.as<std::int16_t>()));
        } else {
            const std::string& text = value.as<std::string>();
            putU32(out, static_cast<std::uint32_t>(text.size()));
            out.insert(out.end(), text.begin(), text.end());
        }
    }
    return out;
}

platform::MemoryPropertyBag PropertyStream::read(const fdt::Guid& classId, platform::ByteSource& source)
{
    std::uint8_t header[kHeaderSize];
    const std::size_t headerRead = source.read(header);
    if (headerRead != kHeaderSize)
        malformed("is truncated: it ends after " + std::to_string(headerRead) + " of the header's " +
                  std::to_string(kHeaderSize) + " bytes");
    if (!std::equal(std::begin(kMagic), std::end(kMagic), header))
        malformed("does not start with \"ZEB2HART\": it is not a stream of this DTM's properties");
    if (const fdt::Guid id = classIdAt(header, 8); id != classId)
        malformed("belongs to another class, " + id.toString() + ", not " + classId.toString());
    const std::uint16_t version = u16At(header, 24);
    if (version == 0)
        malformed("is in format version 0, which no DTM writes");
    if (version > kFormatVersion)
        malformed("is in format version " + std::to_string(version) + ", later than version " +
                  std::to_string(kFormatVersion) + ", the latest this DTM reads");
    const std::uint16_t pairs = u16At(header, 26);
    if (pairs > PersistentProperty::all().size())
        malformed("declares " + std::to_string(pairs) + " pairs; the DTM has " +
                  std::to_string(PersistentProperty::all().size()) + " persisted properties");
    const std::uint32_t length = u32At(header, 28);
    if (length > maxSize() - kHeaderSize)
        malformed("declares " + std::to_string(length) + " bytes of pairs; the properties take at most " +
                  std::to_string(maxSize() - kHeaderSize));

    // Read as it arrives, so that a stream shorter than it claims takes no more memory than it holds.
    std::vector<std::uint8_t> body;
    while (body.size() < length) {
        const std::size_t chunk = std::min(kReadChunk, length - body.size());
        body.resize(body.size() + chunk);
        const std::size_t got = source.read(std::span(body).last(chunk));
        if (got != chunk)
            malformed("is truncated: it ends after " + std::to_string(body.size() - chunk + got) + " of its " +
                      std::to_string(length) + " bytes of pairs");
    }

    PairReader in(body);
    platform::MemoryPropertyBag bag;
    for (std::size_t pair = 1; pair <= pairs; ++pair) {
        in.startPair(pair);
        const std::string key = in.text(in.u8("the key's length"), "the key");
        const PersistentProperty* property = PersistentProperty::find(key);
        if (!property)
            malformed(support::isUtf8(key) ? "holds \"" + key + "\", which is not a persisted property"
                                           : "holds a key that is not UTF-8 text, in pair " + std::to_string(pair));
        if (bag.contains(key))
            malformed("holds " + key + " twice");
        bag.write(key, readValue(in, *property));
    }
    if (in.left() != 0)
        malformed("holds " + std::to_string(in.left()) + " bytes after its last pair");
    return bag;
}

} // namespace zeb2hart::core
