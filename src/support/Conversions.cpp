#include "support/Conversions.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

#include "fdt/Errors.h"
#include "fdt/Hex.h"
#include "platform/ClassRegistry.h"
#include "platform/Services.h"
#include "support/Text.h"

namespace zeb2hart::support {

namespace {

constexpr long long kHugeExponent = 1'000'000;

int hexDigitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

[[noreturn]] void typeMismatch(std::string_view text)
{
    throw fdt::TypeMismatchError("Type mismatch: \"" + std::string(text) + "\" is not a number");
}

[[noreturn]] void overflow(std::string_view what)
{
    throw fdt::OverflowError("Overflow: " + std::string(what));
}

// A number written as text: either "&H" hexadecimal (kept as its unsigned digits,
// so that each target type can read it in its own width) or a decimal number.
struct ParsedNumber {
    bool isHex = false;
    std::uint64_t hexValue = 0;
    double decimal = 0.0;
};

// The decimal magnitude of a well-formed decimal number: 1 for 1 to 9.99, 0 for
// 0.1 to 0.999, -1 for 0.01 to 0.0999, with the exponent added. It tells a
// number out of a double's range that is too large from one that is too small.
long long decimalMagnitude(std::string_view number)
{
    long long magnitude = 0;
    bool significant = false;
    bool fraction = false;
    std::size_t i = number[0] == '-' ? 1 : 0;
    for (; i < number.size() && number[i] != 'e' && number[i] != 'E'; ++i) {
        const char c = number[i];
        if (c == '.') {
            fraction = true;
        } else if (!fraction) {
            if (significant || c != '0') {
                significant = true;
                ++magnitude;
            }
        } else if (!significant) {
            if (c == '0')
                --magnitude;
            else
                significant = true;
        }
    }
    if (i < number.size() && (number[i] == 'e' || number[i] == 'E')) {
        std::string_view exponent = number.substr(i + 1);
        if (!exponent.empty() && exponent[0] == '+')
            exponent.remove_prefix(1);
        long long value = 0;
        if (std::from_chars(exponent.data(), exponent.data() + exponent.size(), value).ec != std::errc())
            value = exponent[0] == '-' ? -kHugeExponent : kHugeExponent; // beyond any double either way
        magnitude += std::clamp(value, -kHugeExponent, kHugeExponent);
    }
    return magnitude;
}

ParsedNumber parseNumber(std::string_view original)
{
    const std::string_view text = trimBlanks(original);
    if (text.empty())
        typeMismatch(original);

    ParsedNumber result;
    if (text.size() >= 2 && text[0] == '&' && (text[1] == 'H' || text[1] == 'h')) {
        const std::string_view digits = text.substr(2);
        if (digits.empty())
            typeMismatch(original);
        std::uint64_t value = 0;
        for (char c : digits) {
            const int digit = hexDigitValue(c);
            if (digit < 0)
                typeMismatch(original);
            if (value > (std::numeric_limits<std::uint64_t>::max() >> 4))
                overflow(original);
            value = (value << 4) | static_cast<std::uint64_t>(digit);
        }
        result.isHex = true;
        result.hexValue = value;
        return result;
    }

    // Decimal: [sign] digits [. digits] [E [sign] digits], at least one digit in the mantissa.
    std::size_t i = 0;
    if (text[i] == '+' || text[i] == '-')
        ++i;
    std::size_t mantissaDigits = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
        ++i;
        ++mantissaDigits;
    }
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
            ++i;
            ++mantissaDigits;
        }
    }
    if (mantissaDigits == 0)
        typeMismatch(original);
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-'))
            ++i;
        std::size_t exponentDigits = 0;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
            ++i;
            ++exponentDigits;
        }
        if (exponentDigits == 0)
            typeMismatch(original);
    }
    if (i != text.size())
        typeMismatch(original);

    const std::string_view number = text[0] == '+' ? text.substr(1) : text;
    // Whole numbers of up to 15 digits, the usual ones, are exact in a double.
    const bool negative = number[0] == '-';
    if (mantissaDigits <= 15 && number.size() == mantissaDigits + (negative ? 1 : 0)) {
        std::uint64_t whole = 0;
        for (char c : number.substr(negative ? 1 : 0))
            whole = whole * 10 + static_cast<std::uint64_t>(c - '0');
        result.decimal = negative ? -static_cast<double>(whole) : static_cast<double>(whole);
        return result;
    }
    // Read the same way whatever decimal sign the process's locale uses.
    double value = 0.0;
    if (std::from_chars(number.data(), number.data() + number.size(), value).ec == std::errc::result_out_of_range) {
        if (decimalMagnitude(number) > 0)
            overflow(original);
        value = number[0] == '-' ? -0.0 : 0.0; // too small for a double: zero
    }
    result.decimal = value;
    return result;
}

double roundHalfToEven(double value)
{
    if (!std::isfinite(value))
        return value;
    const double floorValue = std::floor(value);
    const double fraction = value - floorValue;
    if (fraction > 0.5)
        return floorValue + 1.0;
    if (fraction < 0.5)
        return floorValue;
    return std::fmod(floorValue, 2.0) == 0.0 ? floorValue : floorValue + 1.0;
}

// Rounds half to even and checks the range [low, high].
std::int64_t roundedInRange(double value, std::int64_t low, std::int64_t high, std::string_view what)
{
    const double rounded = roundHalfToEven(value);
    if (!std::isfinite(rounded) || rounded < static_cast<double>(low) || rounded > static_cast<double>(high))
        overflow(what);
    return static_cast<std::int64_t>(rounded);
}

// A hexadecimal text read in a type of `bits` bits: digits beyond the width overflow,
// the top bit of a signed type makes the value negative (two's complement).
std::int64_t hexInWidth(std::uint64_t value, int bits, bool isSigned, std::string_view what)
{
    const std::uint64_t mask = (bits == 64) ? ~std::uint64_t{0} : ((std::uint64_t{1} << bits) - 1);
    if (value > mask)
        overflow(what);
    if (isSigned && bits < 64 && (value >> (bits - 1)) != 0)
        return static_cast<std::int64_t>(value) - static_cast<std::int64_t>(std::uint64_t{1} << bits);
    return static_cast<std::int64_t>(value);
}

std::int64_t textToInteger(std::string_view text, int bits, bool isSigned, std::int64_t low, std::int64_t high)
{
    const ParsedNumber number = parseNumber(text);
    if (number.isHex)
        return hexInWidth(number.hexValue, bits, isSigned, text);
    return roundedInRange(number.decimal, low, high, text);
}

// The number a variant of a numeric kind holds (Empty 0, True -1, a date its
// serial number); strings are converted as text by the callers.
double variantNumber(const fdt::Variant& value)
{
    return std::visit(
        [](const auto& v) -> double {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, std::monostate>)
                return 0.0;
            else if constexpr (std::is_same_v<T, bool>)
                return v ? -1.0 : 0.0;
            else if constexpr (std::is_same_v<T, std::uint8_t> || std::is_same_v<T, std::int16_t> ||
                               std::is_same_v<T, std::int32_t> || std::is_same_v<T, float> ||
                               std::is_same_v<T, double>)
                return static_cast<double>(v);
            else if constexpr (std::is_same_v<T, fdt::Date>)
                return v.serial;
            else
                throw fdt::TypeMismatchError("Type mismatch: the value is not a number");
        },
        value.value());
}

std::int64_t variantToInteger(const fdt::Variant& value, int bits, bool isSigned, std::int64_t low, std::int64_t high)
{
    if (value.is<std::string>())
        return textToInteger(value.as<std::string>(), bits, isSigned, low, high);
    return roundedInRange(variantNumber(value), low, high, "value out of range");
}

} // namespace

std::string HexByte(std::uint8_t value)
{
    return fdt::hexText(value, 2);
}

std::string HexInteger(std::int16_t value)
{
    return fdt::hexText(static_cast<std::uint16_t>(value), 4);
}

std::string HexLong(std::int32_t value)
{
    return fdt::hexText(static_cast<std::uint32_t>(value), 8);
}

std::string HexOfValue(const fdt::Variant& value)
{
    if (value.is<std::int16_t>())
        return HexInteger(value.as<std::int16_t>());
    if (value.is<std::int32_t>())
        return HexLong(value.as<std::int32_t>());
    if (value.is<std::uint8_t>())
        return HexByte(value.as<std::uint8_t>());
    return {};
}

std::vector<std::uint8_t> HexToByteArray(std::string_view text)
{
    std::vector<std::uint8_t> bytes;
    if (text.empty())
        return bytes;
    bytes.resize((text.size() + 1) / 2);
    // The two digit places of the work value; an odd last element overwrites only
    // the high one and keeps the low digit of the element before it.
    int high = 0;
    int low = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const std::size_t at = 2 * i;
        high = hexDigitValue(text[at]);
        if (high < 0)
            typeMismatch(text);
        if (at + 1 < text.size()) {
            low = hexDigitValue(text[at + 1]);
            if (low < 0)
                typeMismatch(text);
        }
        bytes[i] = static_cast<std::uint8_t>(high * 16 + low);
    }
    return bytes;
}

std::string ByteArrayToHex(std::span<const std::uint8_t> bytes)
{
    std::string text(bytes.size() * 2, '0');
    for (std::size_t i = 0; i < bytes.size(); ++i)
        fdt::writeHex(text.data() + 2 * i, bytes[i], 2);
    return text;
}

std::string IntegerArrayToHex(std::span<const std::int16_t> values)
{
    std::string text(values.size() * 4, '0');
    for (std::size_t i = 0; i < values.size(); ++i)
        fdt::writeHex(text.data() + 4 * i, static_cast<std::uint16_t>(values[i]), 4);
    return text;
}

std::string LongArrayToHex(std::span<const std::int32_t> values)
{
    std::string text(values.size() * 8, '0');
    for (std::size_t i = 0; i < values.size(); ++i)
        fdt::writeHex(text.data() + 8 * i, static_cast<std::uint32_t>(values[i]), 8);
    return text;
}

std::string ByteArrayToHex(const fdt::Variant& value)
{
    if (!value.is<std::vector<std::uint8_t>>())
        return {};
    return ByteArrayToHex(std::span<const std::uint8_t>(value.as<std::vector<std::uint8_t>>()));
}

std::string IntegerArrayToHex(const fdt::Variant& value)
{
    if (!value.is<std::vector<std::int16_t>>())
        return {};
    return IntegerArrayToHex(std::span<const std::int16_t>(value.as<std::vector<std::int16_t>>()));
}

std::string LongArrayToHex(const fdt::Variant& value)
{
    if (!value.is<std::vector<std::int32_t>>())
        return {};
    return LongArrayToHex(std::span<const std::int32_t>(value.as<std::vector<std::int32_t>>()));
}

bool NewGuid(fdt::Guid& guid)
{
    const auto& source = platform::services().guids;
    if (!source)
        return false;
    const std::optional<fdt::Guid> made = source->newGuid();
    if (!made)
        return false;
    guid = *made;
    return true;
}

std::string NewGuidString(bool keepBraces)
{
    fdt::Guid guid;
    if (!NewGuid(guid))
        return {};
    std::string text = ClsidToString(guid);
    if (!keepBraces && text.size() >= 2 && text.front() == '{' && text.back() == '}')
        text = text.substr(1, text.size() - 2);
    return text;
}

std::string ClsidToString(const fdt::Guid& clsid)
{
    return clsid.toString();
}

bool ProgIdToClsid(const std::string& progId, fdt::Guid& clsid)
{
    const std::optional<fdt::Guid> found = platform::ClassRegistry::instance().clsidOf(progId);
    if (!found)
        return false;
    clsid = *found;
    return true;
}

std::int16_t MaxInteger(std::int16_t a, std::int16_t b)
{
    return a > b ? a : b;
}

std::int16_t toInteger(std::string_view text)
{
    return static_cast<std::int16_t>(textToInteger(text, 16, true, -32768, 32767));
}

std::int32_t toLong(std::string_view text)
{
    return static_cast<std::int32_t>(textToInteger(text, 32, true, std::numeric_limits<std::int32_t>::min(),
                                                   std::numeric_limits<std::int32_t>::max()));
}

std::uint8_t toByte(std::string_view text)
{
    return static_cast<std::uint8_t>(textToInteger(text, 8, false, 0, 255));
}

bool toBoolean(std::string_view text)
{
    const std::string_view word = trimBlanks(text);
    if (equalsIgnoringCase(word, "True"))
        return true;
    if (equalsIgnoringCase(word, "False"))
        return false;
    return toDouble(text) != 0.0;
}

double toDouble(std::string_view text)
{
    const ParsedNumber number = parseNumber(text);
    if (number.isHex)
        return static_cast<double>(hexInWidth(number.hexValue, 32, true, text));
    return number.decimal;
}

std::int16_t toInteger(const fdt::Variant& value)
{
    return static_cast<std::int16_t>(variantToInteger(value, 16, true, -32768, 32767));
}

std::int32_t toLong(const fdt::Variant& value)
{
    return static_cast<std::int32_t>(variantToInteger(value, 32, true, std::numeric_limits<std::int32_t>::min(),
                                                      std::numeric_limits<std::int32_t>::max()));
}

std::uint8_t toByte(const fdt::Variant& value)
{
    return static_cast<std::uint8_t>(variantToInteger(value, 8, false, 0, 255));
}

bool toBoolean(const fdt::Variant& value)
{
    if (value.is<bool>())
        return value.as<bool>();
    if (value.is<std::string>())
        return toBoolean(std::string_view(value.as<std::string>()));
    return variantNumber(value) != 0.0;
}

std::string booleanText(bool value)
{
    return value ? "True" : "False";
}

bool isUtf8(std::string_view text)
{
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        if (lead < 0x80) {
            ++i;
            continue;
        }
        std::size_t length = 0;
        std::uint32_t code = 0;
        std::uint32_t least = 0;
        if ((lead & 0xE0) == 0xC0)
            length = 2, code = lead & 0x1Fu, least = 0x80;
        else if ((lead & 0xF0) == 0xE0)
            length = 3, code = lead & 0x0Fu, least = 0x800;
        else if ((lead & 0xF8) == 0xF0)
            length = 4, code = lead & 0x07u, least = 0x10000;
        else
            return false;
        if (text.size() - i < length)
            return false;
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80)
                return false;
            code = (code << 6) | (next & 0x3Fu);
        }
        if (code < least || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return false;
        i += length;
    }
    return true;
}

std::string utf8FromWindows1252(std::string_view text)
{
    // 80..9F of Windows-1252; 0xFFFD where the code page defines no character.
    static constexpr std::uint16_t kHighControls[32] = {
        0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD, 0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178,
    };
    std::string utf8;
    utf8.reserve(text.size() + text.size() / 2);
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        const std::uint32_t code = (byte >= 0x80 && byte < 0xA0) ? kHighControls[byte - 0x80] : byte;
        if (code < 0x80) {
            utf8 += static_cast<char>(code);
        } else if (code < 0x800) {
            utf8 += static_cast<char>(0xC0 | (code >> 6));
            utf8 += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            utf8 += static_cast<char>(0xE0 | (code >> 12));
            utf8 += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            utf8 += static_cast<char>(0x80 | (code & 0x3F));
        }
    }
    return utf8;
}

std::string utf8FromAnsiText(std::string_view text)
{
    return isUtf8(text) ? std::string(text) : utf8FromWindows1252(text);
}

} // namespace zeb2hart::support
