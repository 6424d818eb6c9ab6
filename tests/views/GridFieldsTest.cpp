#include "ViewsFixture.h"

#include "views/GridFields.h"
#include "views/GroupBy.h"
#include "views/cLookupFields.h"

#include <gtest/gtest.h>

namespace views::test {
namespace {

namespace rt = platform::runtime;

std::shared_ptr<GridField> Column(const std::string& sKey, std::int32_t lAlignment = 1,
                                  std::int32_t lDataType = 8, std::int32_t lPropertyType = 1,
                                  std::int32_t lMapping = 0, const std::string& sFormat = {})
{
    auto o = std::make_shared<GridField>();
    o->InitField(sKey, sKey + "-name", sKey + "-caption", false, false, lDataType, lPropertyType,
                 lAlignment, 100, true, sFormat, lMapping, false, 0, {});
    return o;
}

std::vector<std::string> Keys(const GridFields& oFields)
{
    std::vector<std::string> a;
    for (const auto& o : oFields)
        a.push_back(o->Key());
    return a;
}

TEST(GridFieldTest, GeneralAlignmentFollowsTheValues)
{
    struct Case
    {
        std::int32_t lAlignment, lDataType, lPropertyType, lMapping, lExpected;
    };
    const Case aCases[] = {
        {9, 7, 7, 0, 1},  // a date stays left even as a duration
        {9, 5, 1, 13, 7}, // actual work
        {9, 5, 1, 12, 7}, // total work
        {9, 5, 1, 5, 7},  // computed duration
        {9, 3, 12, 0, 7}, // percent
        {9, 3, 7, 0, 7},  // duration property
        {9, 8, 1, 0, 9},  // plain text stays general
        {1, 5, 7, 13, 1}, // an explicit alignment is kept
        {4, 7, 1, 0, 4},
    };
    for (const auto& c : aCases) {
        const auto o = Column("k", c.lAlignment, c.lDataType, c.lPropertyType, c.lMapping);
        EXPECT_EQ(o->AlignmentSettings(), c.lExpected)
            << c.lAlignment << "/" << c.lDataType << "/" << c.lPropertyType << "/" << c.lMapping;
    }
}

TEST(GridFieldTest, SettersKeepTheirRules)
{
    auto o = Column("k", 1, 8, 1, 0, "dd.mm.yyyy");
    o->InitField("k", "n", "c", false, false, 8, 1, 1, 5, true, "", 0, false, 2, "1c");
    EXPECT_EQ(o->Format(), "dd.mm.yyyy"); // an empty format keeps the current one
    EXPECT_EQ(o->Calculation(), 2);
    EXPECT_EQ(o->CalculatedColKey(), "1c");
    o->SetCaption("   ");
    EXPECT_EQ(o->Caption(), "c");
    o->SetCaption(" Betreff ");
    EXPECT_EQ(o->Caption(), " Betreff ");
    o->SetCalculation(2);
    EXPECT_EQ(o->CalculatedColKey(), "1c");
    o->SetCalculation(0);
    EXPECT_EQ(o->CalculatedColKey(), "");
    EXPECT_TRUE(GridField().Visible());
    EXPECT_EQ(GridField().Width(), 0);
}

TEST(GridFieldTest, GroupLevelSwitchedOffLosesItsDateGrouping)
{
    GroupBy o;
    EXPECT_FALSE(o.Apply());
    o.DateGroupBy = 4;
    o.SetApply(true);
    EXPECT_EQ(o.DateGroupBy, 4);
    o.SetApply(false);
    EXPECT_EQ(o.DateGroupBy, 0);
}

TEST(GridFieldsTest, InsertAddRemoveAndLinks)
{
    auto oFields = std::make_shared<GridFields>();
    auto a = Column("a");
    oFields->Insert(a, 1);
    EXPECT_EQ(Keys(*oFields), (std::vector<std::string>{"a"}));
    EXPECT_EQ(a->Parent(), oFields.get());
    oFields->Insert(Column("b"), 7);
    oFields->Insert(Column("c"), 2);
    oFields->Insert(Column("d"), 0);
    EXPECT_EQ(Keys(*oFields), (std::vector<std::string>{"d", "a", "c", "b"}));

    auto oDuplicate = Column("A");
    oFields->Add(oDuplicate);
    EXPECT_EQ(oFields->Count(), 4);
    EXPECT_EQ(oDuplicate->Parent(), nullptr);

    EXPECT_EQ(oFields->Item(rt::Variant("C"))->Key(), "c");
    EXPECT_EQ(oFields->Item(rt::Variant(4))->Key(), "b");
    EXPECT_EQ(oFields->Item(rt::Variant("zz")), nullptr);
    EXPECT_EQ(oFields->Item(rt::Variant(9)), nullptr);
    oFields->Remove(rt::Variant("zz"));
    EXPECT_EQ(oFields->Count(), 4);
    oFields->Remove(rt::Variant("a"));
    EXPECT_EQ(a->Parent(), nullptr);
    EXPECT_EQ(Keys(*oFields), (std::vector<std::string>{"d", "c", "b"}));

    auto d = oFields->Item(rt::Variant(1));
    oFields->Clear();
    EXPECT_EQ(oFields->Count(), 0);
    EXPECT_EQ(d->Parent(), nullptr);
    auto e = Column("e");
    oFields->Add(e);
    oFields.reset();
    EXPECT_EQ(e->Parent(), nullptr);
}

class LookupFieldsTest : public ViewsFixture
{
};

TEST_F(LookupFieldsTest, PositionsPlaceOrRefuse)
{
    cLookupFields oList;
    oList.Add(nullptr, -1);
    ASSERT_EQ(oList.Count(), 1);
    EXPECT_EQ(oList.Item(rt::Variant(1)), nullptr);
    const auto oStart = Field("Start");
    oList.Add(oStart, 5);
    EXPECT_EQ(oList.Count(), 1);
    oList.Add(oStart, 2);
    ASSERT_EQ(oList.Count(), 2);
    EXPECT_EQ(oList.Item(rt::Variant(2)), oStart);
    const auto oEnd = Field("End");
    oList.Add(oEnd, 1);
    EXPECT_EQ(oList.Item(rt::Variant(1)), oEnd);
    const auto oSubject = Field(kSubjectKey);
    oList.Add(oSubject, 3);
    EXPECT_EQ(oList.Item(rt::Variant(3)), oSubject);
    EXPECT_EQ(oList.Item(rt::Variant(4)), oStart);
    oList.Add(oStart, -1);
    EXPECT_EQ(oList.Count(), 4);
    EXPECT_EQ(oList.Item(rt::Variant("start")), oStart);
    oList.Clear();
    EXPECT_EQ(oList.Count(), 0);
}

} // namespace
} // namespace views::test
