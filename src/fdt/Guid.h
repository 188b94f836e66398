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
};

} // namespace zeb2hart::fdt
