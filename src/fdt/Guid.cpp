#include "fdt/Guid.h"

#include <charconv>
#include <system_error>

#include "fdt/Hex.h"

namespace zeb2hart::fdt {

std::string Guid::toString() const
{
    // {XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}: the positions of each group's digits.
    std::string text = "{00000000-0000-0000-0000-000000000000}";
    char* out = text.data();
    writeHex(out + 1, data1, 8);
    writeHex(out + 10, data2, 4);
    writeHex(out + 15, data3, 4);
    constexpr std::size_t kBytes[8] = {20, 22, 25, 27, 29, 31, 33, 35};
    for (std::size_t i = 0; i < 8; ++i)
        writeHex(out + kBytes[i], data4[i], 2);
    return text;
}

std::optional<Guid> Guid::parse(std::string_view text)
{
    if (text.size() == 38 && text.front() == '{' && text.back() == '}')
        text = text.substr(1, 36);
    if (text.size() != 36)
        return std::nullopt;
    std::array<std::uint8_t, 16> bytes{};
    std::size_t b = 0;
    for (std::size_t i = 0; i < 36;) {
        if (i == 8 || i == 13 || i == 18 || i == 23) {
            if (text[i] != '-')
                return std::nullopt;
            ++i;
            continue;
        }
        const char* first = text.data() + i;
        const auto [end, error] = std::from_chars(first, first + 2, bytes[b++], 16);
        if (error != std::errc() || end != first + 2)
            return std::nullopt;
        i += 2;
    }
    return fromBytes(bytes);
}

Guid Guid::fromBytes(const std::array<std::uint8_t, 16>& bytes)
{
    Guid g;
    g.data1 = (std::uint32_t{bytes[0]} << 24) | (std::uint32_t{bytes[1]} << 16) | (std::uint32_t{bytes[2]} << 8) | bytes[3];
    g.data2 = static_cast<std::uint16_t>((bytes[4] << 8) | bytes[5]);
    g.data3 = static_cast<std::uint16_t>((bytes[6] << 8) | bytes[7]);
    for (int i = 0; i < 8; ++i)
        g.data4[i] = bytes[8 + i];
    return g;
}

} // namespace zeb2hart::fdt
