#include <gtest/gtest.h>

#include <cctype>
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
using Texts = std::vector<std::string>;

TEST(HexWidth, FixedWidthUpperCaseTwosComplement)
{
    EXPECT_EQ((Texts{HexByte(0), HexByte(10), HexByte(255)}), (Texts{"00", "0A", "FF"}));
    EXPECT_EQ((Texts{HexInteger(0), HexInteger(255), HexInteger(-1), HexInteger(-32768), HexInteger(32767)}),
              (Texts{"0000", "00FF", "FFFF", "8000", "7FFF"}));
    EXPECT_EQ((Texts{HexLong(0), HexLong(-2), HexLong(-1), HexLong(0x1A2B), HexLong(INT32_MIN)}),
              (Texts{"00000000", "FFFFFFFE", "FFFFFFFF", "00001A2B", "80000000"}));
}

TEST(HexOfValue, ByKindOfValue)
{
    const std::pair<fdt::Variant, std::string> cases[] = {
        {std::uint8_t{10}, "0A"}, {std::int16_t{255}, "00FF"}, {std::int16_t{-1}, "FFFF"},
        {std::int32_t{-2}, "FFFFFFFE"}, {std::int32_t{16}, "00000010"}, {std::string("10"), ""}, {2.5, ""}, {1.5f, ""},
        {true, ""}, {fdt::Variant{}, ""}, {fdt::Null{}, ""}, {Bytes{1, 2}, ""},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(HexOfValue(cases[i].first), cases[i].second) << "case " << i;
}

TEST(HexToByteArray, ReadsPairsOfEitherCase)
{
    const std::pair<std::string, Bytes> cases[] = {
        {"", {}}, {"0a1B", {0x0A, 0x1B}}, {"00", {0x00}}, {"FFff", {0xFF, 0xFF}},
        {"8000000300", {0x80, 0x00, 0x00, 0x03, 0x00}},
        // Odd length: the last digit is the high nibble, the low one is kept from the byte before.
        {"F", {0xF0}}, {"ABC", {0xAB, 0xCB}}, {"12345", {0x12, 0x34, 0x54}},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(HexToByteArray(text), expected) << text;
    for (const std::string text : {"G0", "0G", "0x12", "12 34", "1-", " 1", "AB C"})
        EXPECT_THROW(HexToByteArray(text), fdt::TypeMismatchError) << text;

    // Every byte survives text and back.
    Bytes all(256);
    for (int i = 0; i < 256; ++i)
        all[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i);
    const std::string text = ByteArrayToHex(std::span<const std::uint8_t>(all));
    ASSERT_EQ(text.size(), 512u);
    EXPECT_EQ(HexToByteArray(text), all);
}

TEST(ArrayToHex, OneDigitGroupPerElementAndEmptyForOtherKinds)
{
    const Bytes byteValues{1, 2, 255};
    const std::vector<std::int16_t> integerValues{1, -1, 255, 4096};
    const std::vector<std::int32_t> longValues{-2, 0x12345678};
    EXPECT_EQ(ByteArrayToHex(std::span<const std::uint8_t>(byteValues)), "0102FF");
    EXPECT_EQ(ByteArrayToHex(std::span<const std::uint8_t>(Bytes{10})), "0A");
    EXPECT_EQ(ByteArrayToHex(std::span<const std::uint8_t>(Bytes{})), "");
    EXPECT_EQ(IntegerArrayToHex(std::span<const std::int16_t>(integerValues)), "0001FFFF00FF1000");
    EXPECT_EQ(LongArrayToHex(std::span<const std::int32_t>(longValues)), "FFFFFFFE12345678");
    const fdt::Variant bytes = byteValues;
    const fdt::Variant integers = integerValues;
    EXPECT_EQ(ByteArrayToHex(bytes), "0102FF");
    EXPECT_EQ(IntegerArrayToHex(integers), "0001FFFF00FF1000");
    EXPECT_EQ(LongArrayToHex(fdt::Variant{longValues}), "FFFFFFFE12345678");

    // A value of another kind gives an empty text.
    const std::vector<fdt::Variant> others = {fdt::Variant{}, std::string("0102"), std::int16_t{1}, std::uint8_t{1},
                                              fdt::VariantArray{std::uint8_t{1}}};
    for (std::size_t i = 0; i < others.size(); ++i)
        EXPECT_EQ(ByteArrayToHex(others[i]) + IntegerArrayToHex(others[i]) + LongArrayToHex(others[i]), "") << i;
    EXPECT_EQ(ByteArrayToHex(integers) + IntegerArrayToHex(bytes) + LongArrayToHex(integers), "");
}

TEST(NewGuidString, NumberedRegistryFormWithoutOrWithBraces)
{
    test::TestEnvironment environment;
    EXPECT_EQ(NewGuidString(false), "00000000-0000-4000-8000-000000000001");
    EXPECT_EQ(NewGuidString(false), "00000000-0000-4000-8000-000000000002");
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
    for (std::size_t i = 0; i < a.size(); ++i) {
        const bool dash = i == 8 || i == 13 || i == 18 || i == 23;
        EXPECT_TRUE(dash ? a[i] == '-' : std::isxdigit(static_cast<unsigned char>(a[i])) != 0) << a;
    }
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

TEST(ClassIdentifiers, ClsidToStringAndProgIdToClsid)
{
    const auto guid = fdt::Guid::parse("036d1498-387b-11d4-86e1-00e0987270b9");
    ASSERT_TRUE(guid);
    EXPECT_EQ(ClsidToString(*guid), "{036D1498-387B-11D4-86E1-00E0987270B9}");

    const auto clsid = *fdt::Guid::parse("{6B1E3C2A-0000-4000-8000-00000000C0DE}");
    platform::ClassRegistry::instance().add("ZEB2HARTGateway.ConversionsTestClass", clsid);
    fdt::Guid found;
    EXPECT_TRUE(ProgIdToClsid("ZEB2HARTGateway.ConversionsTestClass", found));
    EXPECT_EQ(found, clsid);
    fdt::Guid untouched;
    EXPECT_FALSE(ProgIdToClsid("ZEB2HARTGateway.NoSuchClass", untouched));
    EXPECT_EQ(untouched, fdt::Guid{});
}

TEST(SmallHelpers, MaxIntegerBooleanTextAndPageColours)
{
    const std::tuple<std::int16_t, std::int16_t, std::int16_t> cases[] = {
        {1, 2, 2}, {2, 1, 2}, {-5, -7, -5}, {3, 3, 3}, {-32768, 32767, 32767}};
    for (const auto& [a, b, larger] : cases)
        EXPECT_EQ(MaxInteger(a, b), larger) << a << " " << b;
    EXPECT_EQ(booleanText(true), "True");
    EXPECT_EQ(booleanText(false), "False");
    EXPECT_EQ(rgb(57, 115, 188), kPageBlue);
    EXPECT_EQ(rgb(203, 225, 241), kPanelLightBlue);
    EXPECT_EQ(rgb(255, 0, 0), 0x0000FFu);
}

// The result of a conversion: its value as a number, or one of the two errors.
struct Result {
    enum { Value, Mismatch, Overflow } outcome;
    double value = 0;
    friend bool operator==(const Result&, const Result&) = default;
    friend std::ostream& operator<<(std::ostream& out, const Result& r)
    {
        return r.outcome == Value ? out << r.value : out << (r.outcome == Mismatch ? "type mismatch" : "overflow");
    }
};
Result V(double value)
{
    return {Result::Value, value};
}
const Result Mis{Result::Mismatch};
const Result Over{Result::Overflow};

template <class F>
Result run(F&& convert)
{
    try {
        return V(static_cast<double>(convert()));
    } catch (const fdt::TypeMismatchError&) {
        return Mis;
    } catch (const fdt::OverflowError&) {
        return Over;
    }
}

TEST(ToInteger, TextTable)
{
    const std::pair<std::string, Result> cases[] = {
        {"0", V(0)},        {"5", V(5)},         {"  42  ", V(42)},    {"\t7", V(7)},          {"+12", V(12)},
        {"-12", V(-12)},    {"007", V(7)},       {"32767", V(32767)},  {"-32768", V(-32768)},  {"32768", Over},
        {"-32769", Over},   {"100000", Over},    {"2.5", V(2)},        {"3.5", V(4)},          {"-2.5", V(-2)},
        {"2.51", V(3)},     {"0.5", V(0)},       {"1.5", V(2)},        {".5", V(0)},           {"4.", V(4)},
        {"32767.4", V(32767)}, {"32767.5", Over}, {"-32768.5", V(-32768)}, {"1E2", V(100)},     {"&H10", V(16)},
        {"&hff", V(255)},   {"&H7FFF", V(32767)}, {"&HFFFF", V(-1)},   {"&H8000", V(-32768)},  {"&H10000", Over},
        {"", Mis},          {"   ", Mis},        {"abc", Mis},         {"12abc", Mis},         {"1 2", Mis},
        {"-", Mis},         {".", Mis},          {"&H", Mis},          {"&HG", Mis},           {"1E", Mis},
        {"True", Mis},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(run([&] { return toInteger(text); }), expected) << '"' << text << '"';
}

TEST(ToLongAndByte, TextRanges)
{
    const std::tuple<std::string, Result, Result> cases[] = {
        // text, as long, as byte
        {"0", V(0), V(0)},                 {"255", V(255), V(255)},       {"256", V(256), Over},
        {"-1", V(-1), Over},               {"-0.4", V(0), V(0)},          {"254.5", V(254), V(254)},
        {"255.5", V(256), Over},           {"2147483647", V(2147483647), Over}, {"-2147483648", V(INT32_MIN), Over},
        {"2147483648", Over, Over},        {"&HFF", V(255), V(255)},      {"&H100", V(256), Over},
        {"&HFFFFFFFF", V(-1), Over},       {"&H100000000", Over, Over},   {"32516", V(32516), Over},
        {"x", Mis, Mis},                   {"", Mis, Mis},
    };
    for (const auto& [text, asLong, asByte] : cases) {
        EXPECT_EQ(run([&] { return toLong(text); }), asLong) << text;
        EXPECT_EQ(run([&] { return toByte(text); }), asByte) << text;
    }
}

TEST(ToBoolean, WordsAndNumbers)
{
    const std::pair<std::string, Result> cases[] = {
        {"True", V(1)},  {"true", V(1)},  {"TRUE", V(1)},  {" tRuE ", V(1)}, {"False", V(0)}, {"false", V(0)},
        {"FALSE", V(0)}, {"0", V(0)},     {"0.0", V(0)},   {"1", V(1)},      {"-1", V(1)},    {"0.1", V(1)},
        {"&H0", V(0)},   {"&H2", V(1)},   {"", Mis},       {"yes", Mis},     {"Truee", Mis},  {"T", Mis},
        // The words of the runtime read back.
        {booleanText(true), V(1)}, {booleanText(false), V(0)},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(run([&] { return toBoolean(text); }), expected) << text;
}

TEST(ToDouble, TextTable)
{
    const std::pair<std::string, Result> cases[] = {
        {"2.5", V(2.5)}, {" -0.125 ", V(-0.125)}, {"1e3", V(1000)}, {"&H10", V(16)}, {"&HFFFFFFFF", V(-1)},
        {"1e400", Over}, {"one", Mis},            {"", Mis},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(run([&] { return toDouble(text); }), expected) << text;
}

TEST(VariantConversions, KindsTable)
{
    const std::tuple<fdt::Variant, Result, Result> cases[] = {
        // value, as integer, as byte
        {fdt::Variant{}, V(0), V(0)},             {true, V(-1), Over},                {false, V(0), V(0)},
        {std::uint8_t{200}, V(200), V(200)},      {std::int16_t{-3}, V(-3), Over},    {std::int32_t{40000}, Over, Over},
        {std::int32_t{300}, V(300), Over},        {2.5, V(2), V(2)},                  {3.5f, V(4), V(4)},
        {std::string(" 17 "), V(17), V(17)},      {std::string("&HFFFF"), V(-1), Over}, {std::string("x"), Mis, Mis},
        {fdt::Null{}, Mis, Mis},                  {Bytes{1}, Mis, Mis},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const auto& [value, asInteger, asByte] = cases[i];
        EXPECT_EQ(run([&] { return toInteger(value); }), asInteger) << "case " << i;
        EXPECT_EQ(run([&] { return toByte(value); }), asByte) << "case " << i;
    }
    const std::pair<fdt::Variant, Result> longs[] = {
        {std::int32_t{-70000}, V(-70000)}, {std::string("70000"), V(70000)}, {1e10, Over}};
    for (const auto& [value, expected] : longs)
        EXPECT_EQ(run([&] { return toLong(value); }), expected);
    const std::pair<fdt::Variant, Result> booleans[] = {
        {true, V(1)}, {false, V(0)}, {fdt::Variant{}, V(0)}, {std::int16_t{2}, V(1)}, {std::int32_t{0}, V(0)},
        {0.25, V(1)}, {std::string("tRUE"), V(1)}, {std::string("0"), V(0)}, {std::string("maybe"), Mis},
        {fdt::Null{}, Mis},
    };
    for (std::size_t i = 0; i < std::size(booleans); ++i)
        EXPECT_EQ(run([&] { return toBoolean(booleans[i].first); }), booleans[i].second) << "case " << i;
}

} // namespace
} // namespace zeb2hart::support
