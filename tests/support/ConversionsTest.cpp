#include <gtest/gtest.h>

#include <cctype>
#include <clocale>
#include <cstdint>
#include <numeric>
#include <string>
#include <vector>

#include "fakes/TestEnvironment.h"
#include "fdt/Errors.h"
#include "support/Conversions.h"

namespace zeb2hart::support {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Texts = std::vector<std::string>;

TEST(HexWidth, FixedWidthUpperCaseTwosComplement)
{
    EXPECT_EQ((Texts{HexByte(10), HexByte(255), HexInteger(255), HexInteger(-32768), HexLong(-2), HexLong(0x1A2B)}),
              (Texts{"0A", "FF", "00FF", "8000", "FFFFFFFE", "00001A2B"}));
}

TEST(HexOfValue, ByKindOfValue)
{
    const std::pair<fdt::Variant, std::string> cases[] = {{std::uint8_t{10}, "0A"}, {std::int16_t{-1}, "FFFF"},
        {std::int32_t{16}, "00000010"}, {std::string("10"), ""}, {2.5, ""}, {true, ""}, {fdt::Variant{}, ""}};
    for (const auto& [value, hex] : cases)
        EXPECT_EQ(HexOfValue(value), hex) << hex;
}

TEST(HexToByteArray, ReadsPairsOfEitherCase)
{
    const std::pair<std::string, Bytes> cases[] = {{"", {}}, {"0a1B", {0x0A, 0x1B}}, {"8000", {0x80, 0x00}},
        // Odd length: the last digit is the high nibble, the low one is kept from the byte before.
        {"F", {0xF0}}, {"ABC", {0xAB, 0xCB}}};
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(HexToByteArray(text), expected) << text;
    for (const std::string text : {"G0", "0G", "0x12", " 1", "AB C"})
        EXPECT_THROW(HexToByteArray(text), fdt::TypeMismatchError) << text;

    Bytes all(256); // every byte survives text and back
    std::iota(all.begin(), all.end(), std::uint8_t{0});
    EXPECT_EQ(HexToByteArray(ByteArrayToHex(std::span<const std::uint8_t>(all))), all);
}

TEST(ArrayToHex, OneDigitGroupPerElementAndEmptyForOtherKinds)
{
    const fdt::Variant bytes = Bytes{1, 2, 255};
    const fdt::Variant integers = std::vector<std::int16_t>{1, -1, 255, 4096};
    EXPECT_EQ(ByteArrayToHex(std::span<const std::uint8_t>(Bytes{})), "");
    EXPECT_EQ(ByteArrayToHex(bytes), "0102FF");
    EXPECT_EQ(IntegerArrayToHex(integers), "0001FFFF00FF1000");
    EXPECT_EQ(LongArrayToHex(fdt::Variant{std::vector<std::int32_t>{-2, 0x12345678}}), "FFFFFFFE12345678");

    // A value of another kind gives an empty text.
    const std::vector<fdt::Variant> others = {fdt::Variant{}, std::string("0102"), std::int16_t{1}, std::uint8_t{1},
                                              fdt::VariantArray{std::uint8_t{1}}};
    for (std::size_t i = 0; i < others.size(); ++i)
        EXPECT_EQ(ByteArrayToHex(others[i]) + IntegerArrayToHex(others[i]) + LongArrayToHex(others[i]), "") << i;
    EXPECT_EQ(ByteArrayToHex(integers) + IntegerArrayToHex(bytes) + LongArrayToHex(integers), "");
}

// A generator that cannot make a GUID.
class FailingGuidSource final : public platform::GuidSource {
public:
    std::optional<fdt::Guid> newGuid() override { return std::nullopt; }
};

TEST(NewGuidString, RegistryFormWithoutOrWithBracesAndEmptyWhenNoneIsMade)
{
    test::TestEnvironment environment;
    EXPECT_EQ(NewGuidString(false), "00000000-0000-4000-8000-000000000001");
    EXPECT_EQ(NewGuidString(true), "{00000000-0000-4000-8000-000000000002}");
    platform::Services services;
    services.guids = std::make_shared<platform::SystemGuidSource>();
    {
        platform::ScopedServices scope(services);
        const std::string a = NewGuidString(false);
        EXPECT_TRUE(fdt::Guid::parse(a).has_value()) << a;
        EXPECT_EQ(a.find_first_of("abcdef{"), std::string::npos);
        EXPECT_NE(a, NewGuidString(false));
    }
    services.guids = std::make_shared<FailingGuidSource>();
    platform::ScopedServices scope(services);
    fdt::Guid guid;
    EXPECT_FALSE(NewGuid(guid));
    EXPECT_EQ(NewGuidString(false), "");
}

TEST(SmallHelpers, MaxIntegerBooleanTextAndColours)
{
    EXPECT_EQ((std::vector<std::int16_t>{MaxInteger(1, 2), MaxInteger(2, 1), MaxInteger(3, 3)}),
              (std::vector<std::int16_t>{2, 2, 3}));
    EXPECT_EQ(booleanText(true) + booleanText(false), "TrueFalse");
    EXPECT_EQ(rgb(255, 1, 2), 0x0201FFu);
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
        {"  42\t", V(42)},   {"+12", V(12)},       {"-12", V(-12)},     {"32767", V(32767)},   {"-32768", V(-32768)},
        {"32768", Over},     {"-32769", Over},     {"2.5", V(2)},       {"3.5", V(4)},         {"2.51", V(3)},
        {".5", V(0)},        {"4.", V(4)},         {"32767.5", Over},   {"-32768.5", V(-32768)}, {"1E+2", V(100)},
        {"&hff", V(255)},    {"&H7FFF", V(32767)}, {"&H8000", V(-32768)}, {"&H10000", Over},  {"&H10000000000000000", Over},
        {"", Mis},           {"12abc", Mis},       {"-", Mis},          {".", Mis},            {"&H", Mis},
        {"&HG", Mis},        {"1E", Mis},          {"1E-", Mis},         {"1H5", Mis},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(run([&] { return toInteger(text); }), expected) << '"' << text << '"';
}

TEST(ToLongAndByte, TextRanges)
{
    const std::tuple<std::string, Result, Result> cases[] = {
        // text, as long, as byte
        {"255", V(255), V(255)},    {"256", V(256), Over},     {"-1", V(-1), Over},     {"-0.4", V(0), V(0)},
        {"254.5", V(254), V(254)},  {"255.5", V(256), Over},   {"2147483647", V(2147483647), Over},
        {"-2147483648", V(INT32_MIN), Over},                   {"2147483648", Over, Over}, {"&HFF", V(255), V(255)},
        {"&H100", V(256), Over},    {"&HFFFFFFFF", V(-1), Over}, {"&H100000000", Over, Over}, {"x", Mis, Mis},
    };
    for (const auto& [text, asLong, asByte] : cases) {
        EXPECT_EQ(run([&] { return toLong(text); }), asLong) << text;
        EXPECT_EQ(run([&] { return toByte(text); }), asByte) << text;
    }
}

TEST(ToBoolean, WordsAndNumbers)
{
    const std::pair<std::string, Result> cases[] = {
        {" tRuE ", V(1)}, {"FALSE", V(0)}, {"0.0", V(0)}, {"-1", V(1)},  {"0.1", V(1)},  {"&H0", V(0)},
        {"&H2", V(1)},    {"", Mis},       {"yes", Mis},    {"Truee", Mis}, {booleanText(true), V(1)}, {booleanText(false), V(0)},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(run([&] { return toBoolean(text); }), expected) << text;
}

void expectDoubleTable(const std::string& where)
{
    const std::pair<std::string, Result> cases[] = {
        {"2.5", V(2.5)},        {" -0.125 ", V(-0.125)}, {"1e3", V(1000)},        {"&H10", V(16)},
        {"&HFFFFFFFF", V(-1)},  {"14002.32", V(14002.32)}, {"+.5", V(0.5)},       {"5.", V(5)},
        {"1e-400", V(0)},       {"0.0001e-320", V(0)},    {"1" + std::string(400, '0') + "e-100", V(1e300)},
        {"1.7976931348623157e308", V(1.7976931348623157e308)}, {"1.8e308", Over}, {"1e400", Over},
        {"-1e99999999999999999999", Over}, {"0.5e-99999999999999999999", V(0)},
        {"0." + std::string(400, '0') + "1e+5", V(0)}, {"14002,32", Mis},
        {"one", Mis},           {"", Mis},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(run([&] { return toDouble(text); }), expected) << where << ": " << text;
}

TEST(ToDouble, TextTable)
{
    expectDoubleTable("C locale");
}

TEST(ToDouble, ALocaleWithADecimalCommaChangesNothing)
{
    const std::string previous = std::setlocale(LC_ALL, nullptr);
    const char* comma = nullptr;
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "German_Germany.1252", "German"})
        if (!comma && std::setlocale(LC_ALL, name) != nullptr && std::string(std::localeconv()->decimal_point) == ",")
            comma = name;
    if (comma == nullptr) {
        std::setlocale(LC_ALL, previous.c_str());
        GTEST_SKIP() << "the system has no locale with a decimal comma";
    }
    expectDoubleTable(comma);
    std::setlocale(LC_ALL, previous.c_str());
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
    for (const auto& [value, asInteger, asByte] : cases) {
        EXPECT_EQ(run([&] { return toInteger(value); }), asInteger) << value.value().index();
        EXPECT_EQ(run([&] { return toByte(value); }), asByte) << value.value().index();
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
    for (const auto& [value, expected] : booleans)
        EXPECT_EQ(run([&] { return toBoolean(value); }), expected) << value.value().index();
}

} // namespace
} // namespace zeb2hart::support
