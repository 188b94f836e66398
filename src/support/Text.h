#pragma once
// Locale-independent text helpers shared by the conversions and the settings reader.

#include <algorithm>
#include <string_view>

namespace zeb2hart::support {

constexpr bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

constexpr std::string_view trimBlanks(std::string_view text)
{
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

// ASCII letters only, as the settings file and the Boolean texts are compared.
constexpr bool equalsIgnoringCase(std::string_view a, std::string_view b)
{
    constexpr auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
    return std::ranges::equal(a, b, [&](char x, char y) { return lower(x) == lower(y); });
}

} // namespace zeb2hart::support
