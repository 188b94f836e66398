// Fixed-width hexadecimal digits at their boundaries, and the registry form of
// an identifier built from them, each byte in its place.

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>

#include "fdt/Guid.h"
#include "fdt/Hex.h"

namespace zeb2hart::fdt {
namespace {

TEST(Hex, ExactlyTheWidthWithZerosInFrontAndHigherDigitsDropped)
{
    struct Case {
        std::uint32_t value;
        std::size_t width;
        HexCase letters;
        const char* text;
    };
    const Case cases[] = {
        {0, 0, HexCase::Upper, ""},
        {0xF, 0, HexCase::Upper, ""},
        {0, 1, HexCase::Upper, "0"},
        {0xA, 1, HexCase::Upper, "A"},
        {0xAB, 1, HexCase::Upper, "B"},
        {0x5, 2, HexCase::Upper, "05"},
        {0xFF, 2, HexCase::Upper, "FF"},
        {0x1FF, 2, HexCase::Upper, "FF"},
        {0xFFFF, 4, HexCase::Upper, "FFFF"},
        {0x12345, 6, HexCase::Upper, "012345"},
        {0xFFFFFFFF, 8, HexCase::Upper, "FFFFFFFF"},
        {0x9ABCDEF0, 8, HexCase::Upper, "9ABCDEF0"},
        {0x9ABCDEF0, 8, HexCase::Lower, "9abcdef0"},
        {0x0123ABCD, 8, HexCase::Lower, "0123abcd"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(hexText(c.value, c.width, c.letters), c.text) << c.text;
        std::string written(c.width + 2, '#');
        writeHex(written.data() + 1, c.value, c.width, c.letters);
        EXPECT_EQ(written, "#" + std::string(c.text) + "#") << "writes nothing outside its width";
    }
}

TEST(Hex, RegistryFormPlacesEachByteOfTheIdentifier)
{
    std::array<std::uint8_t, 16> rising{};
    std::array<std::uint8_t, 16> falling{};
    for (std::uint8_t i = 0; i < 16; ++i) {
        rising[i] = static_cast<std::uint8_t>(i * 0x11);
        falling[i] = static_cast<std::uint8_t>(0xFF - i);
    }
    EXPECT_EQ(Guid::fromBytes(rising).toString(), "{00112233-4455-6677-8899-AABBCCDDEEFF}");
    EXPECT_EQ(Guid::fromBytes(falling).toString(), "{FFFEFDFC-FBFA-F9F8-F7F6-F5F4F3F2F1F0}");
    EXPECT_EQ(Guid{}.toString(), "{00000000-0000-0000-0000-000000000000}");
}

} // namespace
} // namespace zeb2hart::fdt
