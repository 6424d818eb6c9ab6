// The grid engine on a real view made by the view model with its default columns.
#include "tests/views/ViewsFixture.h"

#include "common/modLanguage.h"
#include "engine/Records.h"
#include "grid/Flexgrid2.h"
#include "grid/cGrid.h"
#include "grid/modEnumStrings.h"
#include "platform/forms/FlexGrid.h"
#include "platform/runtime/Array.h"
#include "platform/runtime/Date.h"
#include "views/ViewSettings.h"

namespace rt = platform::runtime;

namespace {

class cGridViewSettingsTest : public views::test::ViewsFixture
{
protected:
    void SetUp() override
    {
        ViewsFixture::SetUp();
        common::modLanguage::SetLanguageID(common::modLanguage::LANG_GERMAN);
        grid::Flexgrid2::InitGridStrings();
    }

    void AddRecord(const std::string& sSubject, const std::vector<std::string>& aCategories)
    {
        auto oRecord = std::make_shared<engine::Record>();
        oRecord->SetClass(1);
        auto add = [&](const std::string& sKey, engine::PT_PROPERTY_TYPE lType, rt::Variant v) {
            auto oField = std::make_shared<engine::Field>();
            oField->Init(sKey, 0, lType, rt::Variant(), "", sKey);
            oField->SetFieldValue(std::move(v));
            oRecord->AppendField(oField);
        };
        rt::Array a(rt::VarType::Variant,
                    {rt::ArrayBounds{0, std::int32_t(aCategories.size()) - 1}});
        for (size_t i = 0; i < aCategories.size(); ++i) {
            a(std::int32_t(i)) = rt::Variant(aCategories[i]);
        }
        for (const auto& f : *oView.Fields()) {
            if (f->Key() == views::test::kSubjectKey)
                add(f->Key(), engine::PT_STRING8, rt::Variant(sSubject));
            else if (f->Key() == views::test::kKeywordsKey)
                add(f->Key(), engine::PT_MV_STRING8, rt::Variant(a));
            else if (f->DataType() == 7)
                add(f->Key(), engine::PT_SYSTIME, rt::Variant(rt::DateSerial(2024, 3, 15)));
            else
                add(f->Key(), engine::PT_LONG, rt::Variant(std::int32_t(90)));
        }
        oRecords->Append(oRecord);
    }

    views::ViewSettings oView;
    std::shared_ptr<engine::Records> oRecords = std::make_shared<engine::Records>();
};

TEST_F(cGridViewSettingsTest, DefaultViewGroupedByCategories)
{
    oView.CreateNew("(Standard)");
    ASSERT_NE(oView.Fields()->Item(rt::Variant(views::test::kKeywordsKey)), nullptr);
    auto* g = oView.GroupByLevel(0);
    g->SetApply(true);
    g->ColKey = views::test::kKeywordsKey;
    AddRecord("Plan", {"Rot", "Blau"});
    platform::forms::FlexGrid fg;
    grid::Flexgrid2::CreateGrid(fg, oRecords, oView);
    const int lCategories = fg.ColIndex(views::test::kKeywordsKey);
    const int lSubject = fg.ColIndex(views::test::kSubjectKey);
    ASSERT_EQ(fg.Rows(), 1 + 2 + 2);
    EXPECT_TRUE(fg.IsSubtotal(1));
    EXPECT_EQ(fg.TextMatrix(1, 0).rfind(": Blau"), fg.TextMatrix(1, 0).size() - 6);
    EXPECT_EQ(fg.TextMatrix(2, lCategories), "Blau");
    EXPECT_EQ(fg.TextMatrix(2, lSubject), "Plan");
    EXPECT_EQ(fg.TextMatrix(4, lCategories), "Rot");
    EXPECT_EQ(fg.RowData(4), rt::Variant("0"));
    EXPECT_TRUE(fg.ColHidden(fg.ColIndex("g1")));
}

} // namespace
