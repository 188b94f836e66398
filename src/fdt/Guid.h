#pragma once
// A 128-bit class, interface or invoke identifier in the COM byte layout.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include "Export.h"

namespace zeb2hart::fdt {

struct ZEB2HART_API Guid {
    std::uint32_t data1 = 0;
    std::uint16_t data2 = 0;
    std::uint16_t data3 = 0;
    std::array<std::uint8_t, 8> data4{};

    friend bool operator==(const Guid&, const Guid&) = default;
    friend auto operator<=>(const Guid&, const Guid&) = default;

    // Registry form with braces and upper-case digits: {XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}.
    std::string toString() const;
    // Parses the registry form, with or without braces, digits in either case.
    static std::optional<Guid> parse(std::string_view text);
    static Guid fromBytes(const std::array<std::uint8_t, 16>& bytes);
    // The identifier written XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX, for constants:
    // text of any other shape does not compile.
    static consteval Guid literal(std::string_view text)
    {
        if (text.size() != 36 || text[8] != '-' || text[13] != '-' || text[18] != '-' || text[23] != '-')
            throw "an identifier is written XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX";
        const auto hex = [&](std::size_t first, std::size_t count) {
            std::uint32_t value = 0;
            for (std::size_t i = first; i < first + count; ++i) {
                const char c = text[i];
                const int digit = c >= '0' && c <= '9' ? c - '0'
                                  : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                  : c >= 'a' && c <= 'f' ? c - 'a' + 10
                                                         : throw "not a hexadecimal digit";
                value = value * 16 + static_cast<std::uint32_t>(digit);
            }
            return value;
        };
        Guid g;
        g.data1 = hex(0, 8);
        g.data2 = static_cast<std::uint16_t>(hex(9, 4));
        g.data3 = static_cast<std::uint16_t>(hex(14, 4));
        constexpr std::size_t kBytes[8] = {19, 21, 24, 26, 28, 30, 32, 34};
        for (std::size_t i = 0; i < 8; ++i)
            g.data4[i] = static_cast<std::uint8_t>(hex(kBytes[i], 2));
        return g;
    }
};

} // namespace zeb2hart::fdt
