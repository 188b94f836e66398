#pragma once
// The one conversion module: hexadecimal text, byte arrays, GUID strings,
// class identifiers, and the text-to-number conversions with the conversion
// and overflow errors that the whole component shares.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "fdt/Guid.h"
#include "fdt/Variant.h"

namespace zeb2hart::support {

// Fixed-width upper-case hexadecimal; negative values in two's complement.
std::string HexByte(std::uint8_t value);
std::string HexInteger(std::int16_t value);
std::string HexLong(std::int32_t value);
// HexByte/HexInteger/HexLong by the value's kind; "" for any other kind.
std::string HexOfValue(const fdt::Variant& value);

// Two digits a byte, either letter case. Empty text gives no bytes. A text of
// odd length ends with a byte whose low nibble is that of the byte before it
// (0 when there is none): "F" gives F0, "ABC" gives AB CB. A character that is
// not a hexadecimal digit throws fdt::TypeMismatchError.
std::vector<std::uint8_t> HexToByteArray(std::string_view text);

std::string ByteArrayToHex(std::span<const std::uint8_t> bytes);
std::string IntegerArrayToHex(std::span<const std::int16_t> values);
std::string LongArrayToHex(std::span<const std::int32_t> values);
// The array kinds of a variant; "" for anything that is not an array of that kind.
std::string ByteArrayToHex(const fdt::Variant& value);
std::string IntegerArrayToHex(const fdt::Variant& value);
std::string LongArrayToHex(const fdt::Variant& value);
// A vector converts to both a span and a variant; these pick the span.
inline std::string ByteArrayToHex(const std::vector<std::uint8_t>& bytes)
{
    return ByteArrayToHex(std::span<const std::uint8_t>(bytes));
}
inline std::string IntegerArrayToHex(const std::vector<std::int16_t>& values)
{
    return IntegerArrayToHex(std::span<const std::int16_t>(values));
}
inline std::string LongArrayToHex(const std::vector<std::int32_t>& values)
{
    return LongArrayToHex(std::span<const std::int32_t>(values));
}

// A new GUID from the installed GUID source; "" when none could be made.
bool NewGuid(fdt::Guid& guid);
std::string NewGuidString(bool keepBraces);
std::string ClsidToString(const fdt::Guid& clsid);
bool ProgIdToClsid(const std::string& progId, fdt::Guid& clsid);

std::int16_t MaxInteger(std::int16_t a, std::int16_t b);

// Text to number and Boolean, as the original runtime converts them: leading
// and trailing blanks allowed, decimal numbers (a fraction is rounded half to
// even), "&H" hexadecimal; "True"/"False" in any case for Booleans, or a number
// (non-zero is true). Text that is no number throws fdt::TypeMismatchError; a
// number outside the type's range throws fdt::OverflowError.
std::int16_t toInteger(std::string_view text);
std::int32_t toLong(std::string_view text);
std::uint8_t toByte(std::string_view text);
bool toBoolean(std::string_view text);
double toDouble(std::string_view text);
// The same for a variant of any kind (numbers are range-checked, Booleans give
// -1/0 as numbers, Empty gives 0/false, other kinds are a type mismatch).
std::int16_t toInteger(const fdt::Variant& value);
std::int32_t toLong(const fdt::Variant& value);
std::uint8_t toByte(const fdt::Variant& value);
bool toBoolean(const fdt::Variant& value);
// Text given as std::string or a literal converts to both overloads above; these pick the text one.
inline std::int16_t toInteger(const std::string& text) { return toInteger(std::string_view(text)); }
inline std::int16_t toInteger(const char* text) { return toInteger(std::string_view(text)); }
inline std::int32_t toLong(const std::string& text) { return toLong(std::string_view(text)); }
inline std::int32_t toLong(const char* text) { return toLong(std::string_view(text)); }
inline std::uint8_t toByte(const std::string& text) { return toByte(std::string_view(text)); }
inline std::uint8_t toByte(const char* text) { return toByte(std::string_view(text)); }
inline bool toBoolean(const std::string& text) { return toBoolean(std::string_view(text)); }
inline bool toBoolean(const char* text) { return toBoolean(std::string_view(text)); }
// "True"/"False", as a Boolean is written as text.
std::string booleanText(bool value);

// The settings file is written by Windows programs in the ANSI code page
// (Windows-1252) or, by newer editors, in UTF-8; inside, all text is UTF-8.
// True when `text` is well-formed UTF-8: shortest forms, no surrogates, nothing above U+10FFFF.
bool isUtf8(std::string_view text);
// Windows-1252 bytes as UTF-8. The five bytes the code page leaves undefined
// (81, 8D, 8F, 90, 9D) become U+FFFD: they name no letter, and a C1 control
// character would show as nothing on the pages.
std::string utf8FromWindows1252(std::string_view text);
// `text` unchanged when it is UTF-8, else read as Windows-1252.
std::string utf8FromAnsiText(std::string_view text);

// The two blues of the pages, as Windows colour values (0x00BBGGRR).
constexpr std::uint32_t kPageBlue = 0xBC7339;      // RGB(57,115,188)
constexpr std::uint32_t kPanelLightBlue = 0xF1E1CB; // RGB(203,225,241)

constexpr std::uint32_t rgb(std::uint8_t r, std::uint8_t g, std::uint8_t b)
{
    return std::uint32_t{r} | (std::uint32_t{g} << 8) | (std::uint32_t{b} << 16);
}

} // namespace zeb2hart::support
