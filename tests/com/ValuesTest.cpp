// Values and failures across the COM boundary and back: every kind of
// fdt::Variant, text beyond ASCII, VARIANTs that do not convert, and every
// error kind from exception to HRESULT with error info and back.

#include <new>

#include "ComTestSupport.h"
#include "com/ErrorMapping.h"
#include "com/ScopedVariant.h"
#include "fdt/Errors.h"

namespace zeb2hart::test {
namespace {

using ValuesTest = ComTest;

TEST_F(ValuesTest, EveryVariantKindTravelsThereAndBack)
{
    const fdt::Variant values[] = {
        {}, fdt::Null{}, true, std::uint8_t{200}, std::int16_t{-7}, std::int32_t{123456}, 1.5f, 2.25,
        fdt::Date{45000.5}, "Grüße, 温度", std::vector<std::uint8_t>{1, 2, 255}, std::vector<std::int16_t>{-1, 2},
        std::vector<std::int32_t>{7, -70000}, fdt::VariantArray{"a", std::int32_t{1}, fdt::VariantArray{false}},
        std::vector<std::uint8_t>{},
    };
    for (const fdt::Variant& value : values) {
        com::ScopedVariant converted(value);
        EXPECT_EQ(com::fromVariant(converted.value()), value) << converted.value().vt;
    }
}

TEST_F(ValuesTest, OtherVariantsConvertOrFail)
{
    VARIANT unsigned32{};
    unsigned32.vt = VT_UI4, unsigned32.ulVal = 70000;
    EXPECT_EQ(com::fromVariant(unsigned32), fdt::Variant(std::int32_t{70000}));
    unsigned32.ulVal = 0xFFFFFFFFu;
    EXPECT_THROW(com::fromVariant(unsigned32), fdt::OverflowError);
    VARIANT currency{};
    currency.vt = VT_CY;
    EXPECT_THROW(com::fromVariant(currency), fdt::TypeMismatchError);
    LONG number = 42;
    VARIANT byReference{};
    byReference.vt = VT_BYREF | VT_I4, byReference.plVal = &number;
    EXPECT_EQ(com::fromVariant(byReference), fdt::Variant(std::int32_t{42}));
    EXPECT_EQ(take(com::toBstr("Ä ok")), "Ä ok");
    EXPECT_EQ(com::fromBstr(nullptr), "");
}

TEST_F(ValuesTest, ErrorsBecomeHresultsWithTheirTextAndComeBack)
{
    struct Case {
        void (*raise)();
        HRESULT result;
        void (*check)(HRESULT);
    };
    const Case cases[] = {
        {[] { throw fdt::TypeMismatchError("m"); }, DISP_E_TYPEMISMATCH,
         [](HRESULT r) { EXPECT_THROW(com::checkResult(r), fdt::TypeMismatchError); }},
        {[] { throw fdt::OverflowError("m"); }, DISP_E_OVERFLOW,
         [](HRESULT r) { EXPECT_THROW(com::checkResult(r), fdt::OverflowError); }},
        {[] { throw fdt::NotFoundError("m"); }, DISP_E_BADINDEX,
         [](HRESULT r) { EXPECT_THROW(com::checkResult(r), fdt::NotFoundError); }},
        {[] { throw fdt::FileError("m"); }, STG_E_ACCESSDENIED,
         [](HRESULT r) { EXPECT_THROW(com::checkResult(r), fdt::FileError); }},
        {[] { throw fdt::NullObjectError("m"); }, E_POINTER,
         [](HRESULT r) { EXPECT_THROW(com::checkResult(r), fdt::NullObjectError); }},
        {[] { throw std::bad_alloc(); }, E_OUTOFMEMORY,
         [](HRESULT r) { EXPECT_THROW(com::checkResult(r), std::bad_alloc); }},
        {[] { throw fdt::Error("m"); }, E_FAIL, [](HRESULT r) { EXPECT_THROW(com::checkResult(r), fdt::Error); }},
        {[] { throw 7; }, E_FAIL, [](HRESULT r) { EXPECT_THROW(com::checkResult(r), fdt::Error); }},
    };
    for (const Case& c : cases) {
        const HRESULT result = com::guarded(IID_IDtm, c.raise);
        EXPECT_EQ(result, c.result);
        c.check(result);
    }
    EXPECT_EQ(com::guarded(IID_IDtm, [] { throw fdt::FileError("no folder X"); }), STG_E_ACCESSDENIED);
    try {
        com::checkResult(STG_E_ACCESSDENIED);
        ADD_FAILURE();
    } catch (const fdt::FileError& error) {
        EXPECT_STREQ(error.what(), "no folder X");
    }
    EXPECT_NO_THROW(com::checkResult(S_FALSE));
}

} // namespace
} // namespace zeb2hart::test
