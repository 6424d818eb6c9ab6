#include "platform/runtime/Variant.h"

#include "RuntimeFixture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <utility>

namespace rt = platform::runtime;

namespace {

class Thing : public rt::Object
{
public:
    std::string TypeName() const override { return "Thing"; }
};

} // namespace

TEST(VariantTest, SubtypesReportTheirTypeCodesAndNames)
{
    const struct
    {
        rt::Variant value;
        int code;
        const char* name;
    } cases[] = {
        {rt::Variant(), 0, "Empty"},
        {rt::Null{}, 1, "Null"},
        {std::int16_t{1}, 2, "Integer"},
        {std::int32_t{1}, 3, "Long"},
        {1.5f, 4, "Single"},
        {1.5, 5, "Double"},
        {rt::Currency::FromScaled(15000), 6, "Currency"},
        {rt::Date(2.0), 7, "Date"},
        {"text", 8, "String"},
        {std::make_shared<Thing>(), 9, "Thing"},
        {nullptr, 9, "Nothing"},
        {rt::ErrorValue{5}, 10, "Error"},
        {true, 11, "Boolean"},
        {std::uint8_t{7}, 17, "Byte"},
        {rt::Array(rt::VarType::String, {{0, 2}}), 8192 + 8, "String()"},
        {rt::Array(rt::VarType::Variant, {{1, 2}, {1, 3}}), 8192 + 12, "Variant()"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.value.VarTypeCode(), c.code) << c.name;
        EXPECT_EQ(c.value.TypeName(), c.name);
    }
}

TEST(VariantTest, WideIntegersBecomeLongOrDouble)
{
    EXPECT_EQ(rt::Variant(42L).Type(), rt::VarType::Long);
    EXPECT_EQ(rt::Variant(3000000000LL).Type(), rt::VarType::Double);
    EXPECT_EQ(*rt::Variant(3000000000LL).Get<double>(), 3000000000.0);
}

TEST(VariantTest, ArraysKeepTheirBoundsAndCopyByValue)
{
    rt::Array table(rt::VarType::Variant, {{1, 3}, {0, 1}});
    EXPECT_EQ(table.Dimensions(), 2);
    EXPECT_EQ(table.LBound(1), 1);
    EXPECT_EQ(table.UBound(1), 3);
    EXPECT_EQ(table.LBound(2), 0);
    EXPECT_EQ(table.UBound(2), 1);
    table(3, 1) = "last";
    table(1, 0) = 7;
    rt::Variant held(table);
    table(3, 1) = "changed";
    EXPECT_EQ(held.AsArray()(3, 1), rt::Variant("last"));
    EXPECT_EQ(held.AsArray()(1, 0), rt::Variant(7));
    EXPECT_TRUE(held.AsArray()(2, 0).IsEmpty());

    EXPECT_EQ(RaisedNumber([&] { return table(4, 0); }), 9);
    EXPECT_EQ(RaisedNumber([&] { return table(1, -1); }), 9);
    EXPECT_EQ(RaisedNumber([&] { return table(1); }), 9);
    EXPECT_EQ(RaisedNumber([&] { return table.UBound(3); }), 9);
    EXPECT_EQ(RaisedNumber([] {
                  return rt::Array(rt::VarType::Long, {{0, 1}, {0, 1}, {0, 1}});
              }),
              5);
}

TEST(VariantTest, ArraysAssignedAndMovedStayWhole)
{
    rt::Array source(rt::VarType::String, {{1, 2}});
    source(2) = "zwei";
    rt::Array copy;
    copy = source;
    copy(2) = "two";
    EXPECT_EQ(source(2), rt::Variant("zwei"));
    const rt::Array& same = copy;
    copy = same; // assigned to itself: unchanged
    EXPECT_EQ(copy(2), rt::Variant("two"));

    rt::Array moved(std::move(source));
    EXPECT_EQ(moved.ElementType(), rt::VarType::String);
    EXPECT_EQ(moved(2), rt::Variant("zwei"));
    // What is left behind reads as a new empty array and can be used again.
    EXPECT_EQ(source.Dimensions(), 1); // NOLINT(bugprone-use-after-move)
    EXPECT_EQ(source.Size(), 0u);
    EXPECT_EQ(source.UBound(), -1);
    EXPECT_EQ(source, rt::Array());
    source.RedimPreserve(0);
    source(0) = "neu";
    EXPECT_EQ(source(0), rt::Variant("neu"));

    rt::Variant held(std::move(moved));
    rt::Variant other = held;
    other.AsArray()(1) = "eins";
    EXPECT_TRUE(held.AsArray()(1) == rt::Variant(""));
    EXPECT_FALSE(held == other);
    // A Variant keeps an array behind one pointer: it is no bigger than a text and its tag.
    static_assert(sizeof(rt::Variant) <= sizeof(std::string) + 8);
}

TEST(VariantTest, TypedArraysStartWithTheTypesDefault)
{
    const rt::Array numbers(rt::VarType::Long, {{0, 1}});
    EXPECT_EQ(numbers(0), rt::Variant(0));
    const rt::Array texts(rt::VarType::String, {{0, 0}});
    EXPECT_EQ(texts(0), rt::Variant(""));
}

TEST(VariantTest, RedimPreserveKeepsElementsThatStillFit)
{
    rt::Array list(rt::VarType::Variant, {{0, 1}});
    list(0) = "a";
    list(1) = "b";
    list.RedimPreserve(2);
    EXPECT_EQ(list(1), rt::Variant("b"));
    EXPECT_TRUE(list(2).IsEmpty());
    list.RedimPreserve(0);
    EXPECT_EQ(list.UBound(), 0);
    EXPECT_EQ(list(0), rt::Variant("a"));

    rt::Array grid(rt::VarType::Variant, {{0, 1}, {0, 1}});
    grid(1, 1) = "x";
    grid.RedimPreserve(3);
    EXPECT_EQ(grid(1, 1), rt::Variant("x"));
    EXPECT_TRUE(grid(1, 3).IsEmpty());
}

TEST(VariantTest, ObjectAccessRaisesObjectRequired)
{
    EXPECT_EQ(RaisedNumber([] { return rt::Variant(5).AsObject(); }), 424);
    EXPECT_TRUE(rt::Variant(nullptr).IsNothing());
    EXPECT_FALSE(rt::Variant(std::make_shared<Thing>()).IsNothing());
}

TEST(CurrencyTest, FourDecimalsHalfToEvenAndOverflow)
{
    const struct
    {
        double value;
        std::int64_t scaled;
    } cases[] = {
        {1.5, 15000},
        {0.00005, 0},
        {0.00025, 2},
        {0.00015, 2},
        {-0.00015, -2},
        {12.34567, 123457},
        {-922337203685477.0, -9223372036854770000},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(rt::Currency::FromDouble(c.value).Scaled(), c.scaled) << c.value;
    }
    EXPECT_EQ(RaisedNumber([] { return rt::Currency::FromDouble(1e15); }), 6);
    EXPECT_EQ(RaisedNumber([] { return rt::Currency::FromDouble(std::nan("")); }), 6);
    const auto max = rt::Currency::FromScaled(INT64_MAX);
    EXPECT_EQ(RaisedNumber([&] { return max + rt::Currency::FromScaled(1); }), 6);
    EXPECT_EQ((rt::Currency::FromScaled(5) - rt::Currency::FromScaled(7)).Scaled(), -2);
}
