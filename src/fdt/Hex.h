#pragma once
// Fixed-width hexadecimal digits, the one way the component writes them (identifiers,
// data bytes, error codes, escapes): functions without state, for any thread.

#include <cstddef>
#include <cstdint>
#include <string>

namespace zeb2hart::fdt {

enum class HexCase { Upper, Lower };

// Writes the lowest `width` digits of `value`, most significant first, into
// out[0, width): exactly `width` characters, zeros in front, higher digits dropped.
constexpr void writeHex(char* out, std::uint32_t value, std::size_t width, HexCase letters = HexCase::Upper) noexcept
{
    const char* digits = letters == HexCase::Upper ? "0123456789ABCDEF" : "0123456789abcdef";
    for (std::size_t i = width; i > 0; --i) {
        out[i - 1] = digits[value & 0xF];
        value >>= 4;
    }
}

// The same digits as a text of `width` characters.
inline std::string hexText(std::uint32_t value, std::size_t width, HexCase letters = HexCase::Upper)
{
    std::string text(width, '0');
    writeHex(text.data(), value, width, letters);
    return text;
}

} // namespace zeb2hart::fdt
