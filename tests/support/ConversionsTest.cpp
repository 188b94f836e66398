#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "fakes/TestEnvironment.h"
#include "fdt/Errors.h"
#include "platform/ClassRegistry.h"
#include "support/Conversions.h"

namespace zeb2hart::support {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(HexWidth, FixedWidthUpperCaseTwosComplement)
{
    EXPECT_EQ(HexByte(0), "00");
    EXPECT_EQ(HexByte(10), "0A");
    EXPECT_EQ(HexByte(255), "FF");
    EXPECT_EQ(HexInteger(0), "0000");
    EXPECT_EQ(HexInteger(255), "00FF");
    EXPECT_EQ(HexInteger(-1), "FFFF");
    EXPECT_EQ(HexInteger(-32768), "8000");
    EXPECT_EQ(HexInteger(32767), "7FFF");
    EXPECT_EQ(HexLong(0), "00000000");
    EXPECT_EQ(HexLong(-2), "FFFFFFFE");
    EXPECT_EQ(HexLong(-1), "FFFFFFFF");
    EXPECT_EQ(HexLong(0x1A2B), "00001A2B");
    EXPECT_EQ(HexLong(INT32_MIN), "80000000");
}

TEST(HexOfValue, ByKindOfValue)
{
    struct Case {
        fdt::Variant value;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {std::uint8_t{10}, "0A"},
        {std::int16_t{255}, "00FF"},
        {std::int16_t{-1}, "FFFF"},
        {std::int32_t{-2}, "FFFFFFFE"},
        {std::int32_t{16}, "00000010"},
        {std::string("10"), ""},
        {2.5, ""},
        {1.5f, ""},
        {true, ""},
        {fdt::Variant{}, ""},
        {fdt::Null{}, ""},
        {Bytes{1, 2}, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(HexOfValue(c.value), c.expected) << c.expected;
}

TEST(HexToByteArray, ReadsPairsOfEitherCase)
{
    struct Case {
        std::string text;
        Bytes expected;
    };
    const std::vector<Case> cases = {
        {"", {}},
        {"0a1B", {0x0A, 0x1B}},
        {"00", {0x00}},
        {"FFff", {0xFF, 0xFF}},
        {"8000000300", {0x80, 0x00, 0x00, 0x03, 0x00}},
        // Odd length: the last digit is the high nibble, the low one is kept from the byte before.
        {"F", {0xF0}},
        {"ABC", {0xAB, 0xCB}},
        {"12345", {0x12, 0x34, 0x54}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(HexToByteArray(c.text), c.expected) << c.text;
}

TEST(HexToByteArray, NonHexCharacterIsTypeMismatch)
{
    for (const std::string text : {"G0", "0G", "0x12", "12 34", "1-", " 1", "AB C"})
        EXPECT_THROW(HexToByteArray(text), fdt::TypeMismatchError) << text;
}

TEST(ArrayToHex, OneDigitGroupPerElement)
{
    EXPECT_EQ(ByteArrayToHex(std::span<const std::uint8_t>(Bytes{1, 2, 255})), "0102FF");
    EXPECT_EQ(ByteArrayToHex(std::span<const std::uint8_t>(Bytes{10})), "0A");
    EXPECT_EQ(ByteArrayToHex(std::span<const std::uint8_t>(Bytes{})), "");
    const std::vector<std::int16_t> integers{1, -1, 255};
    EXPECT_EQ(IntegerArrayToHex(std::span<const std::int16_t>(integers)), "0001FFFF00FF");
    const std::vector<std::int32_t> longs{-2, 0x12345678};
    EXPECT_EQ(LongArrayToHex(std::span<const std::int32_t>(longs)), "FFFFFFFE12345678");
}

TEST(ArrayToHex, VariantOfOtherKindGivesEmptyText)
{
    const fdt::Variant bytes = Bytes{1, 2, 255};
    const fdt::Variant integers = std::vector<std::int16_t>{10, 4096};
    const fdt::Variant longs = std::vector<std::int32_t>{10};
    EXPECT_EQ(ByteArrayToHex(bytes), "0102FF");
    EXPECT_EQ(IntegerArrayToHex(integers), "000A1000");
    EXPECT_EQ(LongArrayToHex(longs), "0000000A");

    const std::vector<fdt::Variant> others = {fdt::Variant{}, std::string("0102"), std::int16_t{1},
                                              std::uint8_t{1}, fdt::VariantArray{std::uint8_t{1}}};
    for (const auto& other : others) {
        EXPECT_EQ(ByteArrayToHex(other), "");
        EXPECT_EQ(IntegerArrayToHex(other), "");
        EXPECT_EQ(LongArrayToHex(other), "");
    }
    EXPECT_EQ(ByteArrayToHex(integers), "");
    EXPECT_EQ(IntegerArrayToHex(bytes), "");
    EXPECT_EQ(LongArrayToHex(integers), "");
}

TEST(HexRoundTrip, BytesSurviveTextAndBack)
{
    Bytes all(256);
    for (int i = 0; i < 256; ++i)
        all[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i);
    const std::string text = ByteArrayToHex(std::span<const std::uint8_t>(all));
    ASSERT_EQ(text.size(), 512u);
    EXPECT_EQ(HexToByteArray(text), all);
}

TEST(NewGuidString, RegistryFormWithoutBraces)
{
    test::TestEnvironment environment;
    const std::string first = NewGuidString(false);
    const std::string second = NewGuidString(false);
    ASSERT_EQ(first.size(), 36u);
    for (std::size_t dash : {8u, 13u, 18u, 23u})
        EXPECT_EQ(first[dash], '-') << dash;
    for (std::size_t i = 0; i < first.size(); ++i) {
        if (i == 8 || i == 13 || i == 18 || i == 23)
            continue;
        const char c = first[i];
        EXPECT_TRUE((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F')) << first;
    }
    EXPECT_EQ(first, "00000000-0000-4000-8000-000000000001");
    EXPECT_EQ(second, "00000000-0000-4000-8000-000000000002");
    EXPECT_EQ(NewGuidString(true), "{00000000-0000-4000-8000-000000000003}");
}

TEST(NewGuidString, SystemGeneratorGivesDistinctUpperCaseGuids)
{
    platform::Services services;
    services.guids = std::make_shared<platform::UuidGuidSource>();
    platform::ScopedServices scope(services);
    const std::string a = NewGuidString(false);
    const std::string b = NewGuidString(false);
    ASSERT_EQ(a.size(), 36u);
    EXPECT_NE(a, b);
    EXPECT_TRUE(fdt::Guid::parse(a).has_value());
    EXPECT_EQ(a.find_first_of("abcdef"), std::string::npos);
}

// A generator that cannot make a GUID.
class FailingGuidSource final : public platform::GuidSource {
public:
    std::optional<fdt::Guid> newGuid() override { return std::nullopt; }
};

TEST(NewGuid, FailingGeneratorGivesFalseAndEmptyText)
{
    platform::Services services;
    services.guids = std::make_shared<FailingGuidSource>();
    platform::ScopedServices scope(services);
    fdt::Guid guid;
    EXPECT_FALSE(NewGuid(guid));
    EXPECT_EQ(NewGuidString(false), "");
}

TEST(ClsidToString, RegistryFormWithBraces)
{
    const auto guid = fdt::Guid::parse("036d1498-387b-11d4-86e1-00e0987270b9");
    ASSERT_TRUE(guid);
    EXPECT_EQ(ClsidToString(*guid), "{036D1498-387B-11D4-86E1-00E0987270B9}");
}

TEST(ProgIdToClsid, RegisteredAndUnknownProgIds)
{
    const auto clsid = *fdt::Guid::parse("{6B1E3C2A-0000-4000-8000-00000000C0DE}");
    platform::ClassRegistry::instance().add("ZEB2HARTGateway.ConversionsTestClass", clsid);
    fdt::Guid found;
    EXPECT_TRUE(ProgIdToClsid("ZEB2HARTGateway.ConversionsTestClass", found));
    EXPECT_EQ(found, clsid);

    fdt::Guid untouched;
    EXPECT_FALSE(ProgIdToClsid("ZEB2HARTGateway.NoSuchClass", untouched));
    EXPECT_EQ(untouched, fdt::Guid{});
}

TEST(MaxInteger, LargerOfTwo)
{
    EXPECT_EQ(MaxInteger(1, 2), 2);
    EXPECT_EQ(MaxInteger(2, 1), 2);
    EXPECT_EQ(MaxInteger(-5, -7), -5);
    EXPECT_EQ(MaxInteger(3, 3), 3);
    EXPECT_EQ(MaxInteger(-32768, 32767), 32767);
}

// The outcome of a conversion: a value, or one of the two errors.
enum class Outcome { Value, Mismatch, Overflow };

template <class F>
Outcome outcomeOf(F&& convert)
{
    try {
        convert();
        return Outcome::Value;
    } catch (const fdt::TypeMismatchError&) {
        return Outcome::Mismatch;
    } catch (const fdt::OverflowError&) {
        return Outcome::Overflow;
    }
}

TEST(ToInteger, TextTable)
{
    struct Case {
        std::string text;
        Outcome outcome;
        std::int16_t value;
    };
    const std::vector<Case> cases = {
        {"0", Outcome::Value, 0},
        {"5", Outcome::Value, 5},
        {"  42  ", Outcome::Value, 42},
        {"\t7", Outcome::Value, 7},
        {"+12", Outcome::Value, 12},
        {"-12", Outcome::Value, -12},
        {"007", Outcome::Value, 7},
        {"32767", Outcome::Value, 32767},
        {"-32768", Outcome::Value, -32768},
        {"32768", Outcome::Overflow, 0},
        {"-32769", Outcome::Overflow, 0},
        {"100000", Outcome::Overflow, 0},
        {"2.5", Outcome::Value, 2},
        {"3.5", Outcome::Value, 4},
        {"-2.5", Outcome::Value, -2},
        {"2.51", Outcome::Value, 3},
        {"0.5", Outcome::Value, 0},
        {"1.5", Outcome::Value, 2},
        {".5", Outcome::Value, 0},
        {"4.", Outcome::Value, 4},
        {"32767.4", Outcome::Value, 32767},
        {"32767.5", Outcome::Overflow, 0},
        {"-32768.5", Outcome::Value, -32768},
        {"1E2", Outcome::Value, 100},
        {"&H10", Outcome::Value, 16},
        {"&hff", Outcome::Value, 255},
        {"&H7FFF", Outcome::Value, 32767},
        {"&HFFFF", Outcome::Value, -1},
        {"&H8000", Outcome::Value, -32768},
        {"&H10000", Outcome::Overflow, 0},
        {"", Outcome::Mismatch, 0},
        {"   ", Outcome::Mismatch, 0},
        {"abc", Outcome::Mismatch, 0},
        {"12abc", Outcome::Mismatch, 0},
        {"1 2", Outcome::Mismatch, 0},
        {"-", Outcome::Mismatch, 0},
        {".", Outcome::Mismatch, 0},
        {"&H", Outcome::Mismatch, 0},
        {"&HG", Outcome::Mismatch, 0},
        {"1E", Outcome::Mismatch, 0},
        {"True", Outcome::Mismatch, 0},
    };
    for (const auto& c : cases) {
        std::int16_t value = 0;
        EXPECT_EQ(outcomeOf([&] { value = toInteger(c.text); }), c.outcome) << '"' << c.text << '"';
        if (c.outcome == Outcome::Value) {
            EXPECT_EQ(value, c.value) << '"' << c.text << '"';
        }
    }
}

TEST(ToLongAndByte, TextRanges)
{
    struct Case {
        std::string text;
        Outcome longOutcome;
        std::int32_t longValue;
        Outcome byteOutcome;
        std::uint8_t byteValue;
    };
    const std::vector<Case> cases = {
        {"0", Outcome::Value, 0, Outcome::Value, 0},
        {"255", Outcome::Value, 255, Outcome::Value, 255},
        {"256", Outcome::Value, 256, Outcome::Overflow, 0},
        {"-1", Outcome::Value, -1, Outcome::Overflow, 0},
        {"-0.4", Outcome::Value, 0, Outcome::Value, 0},
        {"254.5", Outcome::Value, 254, Outcome::Value, 254},
        {"255.5", Outcome::Value, 256, Outcome::Overflow, 0},
        {"2147483647", Outcome::Value, 2147483647, Outcome::Overflow, 0},
        {"-2147483648", Outcome::Value, INT32_MIN, Outcome::Overflow, 0},
        {"2147483648", Outcome::Overflow, 0, Outcome::Overflow, 0},
        {"&HFF", Outcome::Value, 255, Outcome::Value, 255},
        {"&H100", Outcome::Value, 256, Outcome::Overflow, 0},
        {"&HFFFFFFFF", Outcome::Value, -1, Outcome::Overflow, 0},
        {"&H100000000", Outcome::Overflow, 0, Outcome::Overflow, 0},
        {"32516", Outcome::Value, 32516, Outcome::Overflow, 0},
        {"x", Outcome::Mismatch, 0, Outcome::Mismatch, 0},
        {"", Outcome::Mismatch, 0, Outcome::Mismatch, 0},
    };
    for (const auto& c : cases) {
        std::int32_t longValue = 0;
        std::uint8_t byteValue = 0;
        EXPECT_EQ(outcomeOf([&] { longValue = toLong(c.text); }), c.longOutcome) << c.text;
        EXPECT_EQ(outcomeOf([&] { byteValue = toByte(c.text); }), c.byteOutcome) << c.text;
        if (c.longOutcome == Outcome::Value) {
            EXPECT_EQ(longValue, c.longValue) << c.text;
        }
        if (c.byteOutcome == Outcome::Value) {
            EXPECT_EQ(byteValue, c.byteValue) << c.text;
        }
    }
}

TEST(ToBoolean, WordsAndNumbers)
{
    struct Case {
        std::string text;
        Outcome outcome;
        bool value;
    };
    const std::vector<Case> cases = {
        {"True", Outcome::Value, true},
        {"true", Outcome::Value, true},
        {"TRUE", Outcome::Value, true},
        {" tRuE ", Outcome::Value, true},
        {"False", Outcome::Value, false},
        {"false", Outcome::Value, false},
        {"FALSE", Outcome::Value, false},
        {"0", Outcome::Value, false},
        {"0.0", Outcome::Value, false},
        {"1", Outcome::Value, true},
        {"-1", Outcome::Value, true},
        {"0.1", Outcome::Value, true},
        {"&H0", Outcome::Value, false},
        {"&H2", Outcome::Value, true},
        {"", Outcome::Mismatch, false},
        {"yes", Outcome::Mismatch, false},
        {"Truee", Outcome::Mismatch, false},
        {"T", Outcome::Mismatch, false},
    };
    for (const auto& c : cases) {
        bool value = !c.value;
        EXPECT_EQ(outcomeOf([&] { value = toBoolean(c.text); }), c.outcome) << c.text;
        if (c.outcome == Outcome::Value) {
            EXPECT_EQ(value, c.value) << c.text;
        }
    }
}

TEST(ToDouble, TextTable)
{
    EXPECT_DOUBLE_EQ(toDouble("2.5"), 2.5);
    EXPECT_DOUBLE_EQ(toDouble(" -0.125 "), -0.125);
    EXPECT_DOUBLE_EQ(toDouble("1e3"), 1000.0);
    EXPECT_DOUBLE_EQ(toDouble("&H10"), 16.0);
    EXPECT_DOUBLE_EQ(toDouble("&HFFFFFFFF"), -1.0);
    EXPECT_EQ(outcomeOf([] { toDouble("1e400"); }), Outcome::Overflow);
    EXPECT_EQ(outcomeOf([] { toDouble("one"); }), Outcome::Mismatch);
    EXPECT_EQ(outcomeOf([] { toDouble(""); }), Outcome::Mismatch);
}

TEST(VariantConversions, KindsTable)
{
    struct Case {
        fdt::Variant value;
        Outcome integerOutcome;
        std::int16_t integerValue;
        Outcome byteOutcome;
        std::uint8_t byteValue;
    };
    const std::vector<Case> cases = {
        {fdt::Variant{}, Outcome::Value, 0, Outcome::Value, 0},
        {true, Outcome::Value, -1, Outcome::Overflow, 0},
        {false, Outcome::Value, 0, Outcome::Value, 0},
        {std::uint8_t{200}, Outcome::Value, 200, Outcome::Value, 200},
        {std::int16_t{-3}, Outcome::Value, -3, Outcome::Overflow, 0},
        {std::int32_t{40000}, Outcome::Overflow, 0, Outcome::Overflow, 0},
        {std::int32_t{300}, Outcome::Value, 300, Outcome::Overflow, 0},
        {2.5, Outcome::Value, 2, Outcome::Value, 2},
        {3.5f, Outcome::Value, 4, Outcome::Value, 4},
        {std::string(" 17 "), Outcome::Value, 17, Outcome::Value, 17},
        {std::string("&HFFFF"), Outcome::Value, -1, Outcome::Overflow, 0},
        {std::string("x"), Outcome::Mismatch, 0, Outcome::Mismatch, 0},
        {fdt::Null{}, Outcome::Mismatch, 0, Outcome::Mismatch, 0},
        {Bytes{1}, Outcome::Mismatch, 0, Outcome::Mismatch, 0},
    };
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const auto& c = cases[i];
        std::int16_t integerValue = 0;
        std::uint8_t byteValue = 0;
        EXPECT_EQ(outcomeOf([&] { integerValue = toInteger(c.value); }), c.integerOutcome) << "case " << i;
        EXPECT_EQ(outcomeOf([&] { byteValue = toByte(c.value); }), c.byteOutcome) << "case " << i;
        if (c.integerOutcome == Outcome::Value) {
            EXPECT_EQ(integerValue, c.integerValue) << "case " << i;
        }
        if (c.byteOutcome == Outcome::Value) {
            EXPECT_EQ(byteValue, c.byteValue) << "case " << i;
        }
    }
    EXPECT_EQ(toLong(fdt::Variant{std::int32_t{-70000}}), -70000);
    EXPECT_EQ(toLong(fdt::Variant{std::string("70000")}), 70000);
    EXPECT_EQ(outcomeOf([] { toLong(fdt::Variant{1e10}); }), Outcome::Overflow);
}

TEST(VariantConversions, Booleans)
{
    EXPECT_TRUE(toBoolean(fdt::Variant{true}));
    EXPECT_FALSE(toBoolean(fdt::Variant{false}));
    EXPECT_FALSE(toBoolean(fdt::Variant{}));
    EXPECT_TRUE(toBoolean(fdt::Variant{std::int16_t{2}}));
    EXPECT_FALSE(toBoolean(fdt::Variant{std::int32_t{0}}));
    EXPECT_TRUE(toBoolean(fdt::Variant{0.25}));
    EXPECT_TRUE(toBoolean(fdt::Variant{std::string("tRUE")}));
    EXPECT_FALSE(toBoolean(fdt::Variant{std::string("0")}));
    EXPECT_EQ(outcomeOf([] { toBoolean(fdt::Variant{std::string("maybe")}); }), Outcome::Mismatch);
    EXPECT_EQ(outcomeOf([] { toBoolean(fdt::Variant{fdt::Null{}}); }), Outcome::Mismatch);
}

TEST(BooleanText, WordsOfTheRuntime)
{
    EXPECT_EQ(booleanText(true), "True");
    EXPECT_EQ(booleanText(false), "False");
    EXPECT_TRUE(toBoolean(booleanText(true)));
    EXPECT_FALSE(toBoolean(booleanText(false)));
}

TEST(PageColours, RgbValues)
{
    EXPECT_EQ(rgb(57, 115, 188), kPageBlue);
    EXPECT_EQ(rgb(203, 225, 241), kPanelLightBlue);
    EXPECT_EQ(rgb(255, 0, 0), 0x0000FFu);
}

} // namespace
} // namespace zeb2hart::support
