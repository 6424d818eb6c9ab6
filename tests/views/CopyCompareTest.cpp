#include "ViewsFixture.h"

#include "actions/Action.h"
#include "platform/runtime/Date.h"
#include "views/Templates.h"
#include "views/cCompareSettings.h"

#include <gtest/gtest.h>

namespace views::test {
namespace {

namespace rt = platform::runtime;

class CopyCompareTest : public ViewsFixture
{
protected:
    std::shared_ptr<ViewSettings> NewView(const std::string& sName)
    {
        auto oView = std::make_shared<ViewSettings>();
        oView->CreateNew(sName);
        return oView;
    }
    std::shared_ptr<ViewSettings> CopyOf(ViewSettings& oSource)
    {
        auto oCopy = std::make_shared<ViewSettings>();
        oCopy->Copy(oSource);
        return oCopy;
    }
    bool Compare(ViewSettings& oOld, ViewSettings& oNew)
    {
        cCompareSettings oCompare;
        oCompare.Compare(oOld, oNew);
        return oCompare.UpdateRecords();
    }
};

TEST_F(CopyCompareTest, CopyIsIndependentWhereItMustBeAndSharesTheRest)
{
    Templates oTemplates;
    auto oSource = NewView("Quelle");
    oTemplates.Add(oSource);
    oSource->Folders()->Add(DataOf(Folder(st::FolderRole::Calendar)));
    oSource->Filter()->SetSubjectCondition(engine::trContains, "Termin");
    auto oSettings = std::make_shared<printer::PrinterSettings>();
    oSource->Action()->GetPrintAction()->SetPrinterSettings(oSettings);
    oSource->Action()->GetSendAction()->SetTemplateEntryID("00AA");
    oSource->Action()->GetSaveAction()->SetPrintSubtotalsOnly(true);
    oSource->GroupByLevel(0)->SetApply(true);
    oSource->GroupByLevel(0)->DateGroupBy = 4;

    const auto oCopy = CopyOf(*oSource);
    EXPECT_EQ(oCopy->Name(), "");
    EXPECT_EQ(oCopy->Parent(), &oTemplates);
    EXPECT_TRUE(oCopy->IsLoaded());
    EXPECT_EQ(oCopy->GroupByLevel(0)->DateGroupBy, 4);
    EXPECT_TRUE(oCopy->Action()->GetSaveAction()->PrintSubtotalsOnly());
    EXPECT_EQ(oCopy->Action()->GetSendAction()->TemplateEntryID(), "");

    oCopy->Fields()->Item(rt::Variant(1))->SetCaption("Anders");
    oCopy->Folders()->Item(1)->Init("x", "y", "z", 1, true);
    oCopy->Filter()->SetSubjectCondition(engine::trContains, "Anders");
    EXPECT_NE(oSource->Fields()->Item(rt::Variant(1))->Caption(), "Anders");
    EXPECT_EQ(oSource->Folders()->Item(1)->EntryID(), Folder(st::FolderRole::Calendar).entryId);
    EXPECT_EQ(oSource->Filter()->Subject(), "Termin");

    oCopy->Action()->GetPrintAction()->PrinterSettings()->SetCopies(3);
    EXPECT_EQ(oSettings->Copies(), 3);
    oCopy->Action()->GetPrintAction()->SetPrinterSettings(
        std::make_shared<printer::PrinterSettings>());
    EXPECT_EQ(oSource->Action()->GetPrintAction()->PrinterSettings(), oSettings);

    // Writing the copy back keeps the edited view's name and its own levels and actions.
    GroupBy* oGroup = oSource->GroupByLevel(0);
    const auto oAction = oSource->Action();
    oCopy->GroupByLevel(0)->ColKey = "Start";
    oSource->Copy(*oCopy);
    EXPECT_EQ(oSource->Name(), "Quelle");
    EXPECT_EQ(oSource->GroupByLevel(0), oGroup);
    EXPECT_EQ(oGroup->ColKey, "Start");
    EXPECT_EQ(oSource->Action(), oAction);
    EXPECT_EQ(oSource->Filter()->Subject(), "Anders");

    auto oEmpty = NewView("leer");
    EXPECT_EQ(CopyOf(*oEmpty)->Folders()->Count(), 0);
}

TEST_F(CopyCompareTest, CopyLoadsAPartlyLoadedSource)
{
    Templates oTemplates;
    oTemplates.Add(NewView("Gespeichert"));
    oTemplates.Save();
    Templates oLoaded;
    oLoaded.Load();
    const auto oSource = oLoaded.Item(rt::Variant(1));
    ASSERT_FALSE(oSource->IsLoaded());
    const auto oCopy = CopyOf(*oSource);
    EXPECT_TRUE(oSource->IsLoaded());
    EXPECT_TRUE(oCopy->IsLoaded());
    EXPECT_EQ(oCopy->Fields()->Count(), 5);
    EXPECT_EQ(oCopy->XmlNode(), oSource->XmlNode());
}

TEST_F(CopyCompareTest, APresetWindowIsComputedAnewForTheCopy)
{
    auto oSource = NewView("Woche");
    rt::SetClock([] { return rt::Date(rt::DateSerial(2024, 3, 6).Serial() + 0.5); });
    oSource->Filter()->SetTimeCondition(engine::trStartDate, engine::trTimeThisWeek);
    rt::SetClock([] { return rt::Date(rt::DateSerial(2024, 5, 15).Serial() + 0.5); });
    const auto oCopy = CopyOf(*oSource);
    rt::SetClock({});
    EXPECT_EQ(oCopy->Filter()->RestrictTime(), engine::trTimeThisWeek);
    EXPECT_LT(oSource->Filter()->FromDate().Serial(), rt::DateSerial(2024, 3, 7).Serial());
    EXPECT_GE(oCopy->Filter()->FromDate().Serial(), rt::DateSerial(2024, 5, 9).Serial());
    EXPECT_LE(oCopy->Filter()->FromDate().Serial(), rt::DateSerial(2024, 5, 15).Serial());
}

TEST_F(CopyCompareTest, ColumnChangesThatNeedNoNewRead)
{
    auto oOld = NewView("alt");
    auto oNew = CopyOf(*oOld);
    oNew->Fields()->Remove(rt::Variant("End"));
    const auto oStart = oNew->Fields()->Item(rt::Variant("Start"));
    oNew->Fields()->Remove(rt::Variant("Start"));
    oNew->Fields()->Insert(oStart, 1);
    oStart->SetCaption("Anfang");
    oStart->SetWidth(5);
    oStart->SetVisible(false);
    oStart->SetCalculation(4);
    oNew->GroupByLevel(0)->SetApply(true);
    oNew->GroupByLevel(0)->ColKey = "Start";
    oNew->GroupByLevel(0)->DateGroupBy = 3;
    oNew->GroupByLevel(0)->SortOrder = 1;
    oNew->Folders()->Add(DataOf(Folder(st::FolderRole::Calendar)));
    EXPECT_FALSE(Compare(*oOld, *oNew));
}

TEST_F(CopyCompareTest, ColumnsAndLevelsThatNeedANewRead)
{
    auto oOld = NewView("alt");
    auto oNew = CopyOf(*oOld);
    oNew->AddField(Field(kLocationKey));
    EXPECT_TRUE(Compare(*oOld, *oNew));

    oNew = CopyOf(*oOld);
    oNew->Fields()->Remove(rt::Variant("End"));
    oNew->AddField(Field(kLocationKey));
    EXPECT_TRUE(Compare(*oOld, *oNew)) << "same count, one key the old view lacks";

    oNew = CopyOf(*oOld);
    oNew->SetDisplayFunctionName(true);
    EXPECT_TRUE(Compare(*oOld, *oNew));
}

TEST_F(CopyCompareTest, LevelsOnMissingColumnsGetHiddenColumns)
{
    auto oOld = NewView("alt");
    auto oNew = CopyOf(*oOld);
    oNew->Fields()->Remove(rt::Variant("End"));
    oNew->SortByLevel(0)->Apply = true;
    oNew->SortByLevel(0)->ColKey = "End";
    EXPECT_FALSE(Compare(*oOld, *oNew));
    const auto oEnd = oNew->Fields()->Item(rt::Variant("End"));
    ASSERT_TRUE(oEnd);
    EXPECT_EQ(oEnd, oOld->Fields()->Item(rt::Variant("End")));
    EXPECT_FALSE(oEnd->Visible());

    oNew = CopyOf(*oOld);
    oNew->SortByLevel(1)->Apply = true;
    oNew->SortByLevel(1)->ColKey = kLocationKey;
    oNew->GroupByLevel(0)->SetApply(true);
    oNew->GroupByLevel(0)->ColKey = "Gone";
    oNew->GroupByLevel(2)->SetApply(true);
    oNew->GroupByLevel(2)->ColKey = "{00062008-0000-0000-C000-000000000046}/Companies";
    EXPECT_TRUE(Compare(*oOld, *oNew));
    ASSERT_EQ(oNew->Fields()->Count(), 7);
    EXPECT_EQ(oNew->Fields()->Item(rt::Variant(6))->Key(), kLocationKey);
    EXPECT_EQ(oNew->Fields()->Item(rt::Variant(7))->Key(),
              "{00062008-0000-0000-C000-000000000046}/Companies");
    EXPECT_FALSE(oNew->Fields()->Item(rt::Variant(7))->Visible());
}

TEST_F(CopyCompareTest, FilterConditions)
{
    struct Case
    {
        const char* sWhat;
        std::function<void(engine::Filter&, engine::Filter&)> fnSet;
        bool bReload;
    };
    const rt::Date dtFrom = rt::DateSerial(2024, 1, 1);
    const rt::Date dtTo = rt::DateSerial(2024, 1, 31);
    const Case aCases[] = {
        {"categories off in both, other texts",
         [](engine::Filter& o, engine::Filter& n) {
             o.SetCategoryCondition(engine::trEquals, {"a"});
             o.SetCategoryCondition(engine::trnone, {});
             n.SetCategoryCondition(engine::trEquals, {"b"});
             n.SetCategoryCondition(engine::trnone, {});
         },
         false},
        {"categories differing in case",
         [](engine::Filter& o, engine::Filter& n) {
             o.SetCategoryCondition(engine::trEquals, {"Büro"});
             n.SetCategoryCondition(engine::trEquals, {"BÜRO"});
         },
         true},
        {"same categories",
         [](engine::Filter& o, engine::Filter& n) {
             o.SetCategoryCondition(engine::trEquals, {"Büro"}, true);
             n.SetCategoryCondition(engine::trEquals, {"Büro"}, true);
         },
         false},
        {"to dates one second apart",
         [&](engine::Filter& o, engine::Filter& n) {
             o.SetTimeCondition(engine::trStartDate, engine::trTimeBetween, rt::Variant(dtFrom),
                                rt::Variant(dtTo));
             n.SetTimeCondition(engine::trStartDate, engine::trTimeBetween, rt::Variant(dtFrom),
                                rt::Variant(dtTo));
             // The window ends at 23:59:59; one second less is another window.
             n.SetTimeCondition(engine::trStartDate, engine::trTimeBetween, rt::Variant(dtFrom),
                                rt::Variant(rt::DateSerial(2024, 1, 30)));
         },
         true},
        {"subject mode",
         [](engine::Filter&, engine::Filter& n) { n.SetSubjectCondition(engine::trContains, "x"); },
         true},
        {"location text",
         [](engine::Filter& o, engine::Filter& n) {
             o.SetLocationCondition(engine::trContains, "Raum 1");
             n.SetLocationCondition(engine::trContains, "Raum 2");
         },
         true},
        {"task status",
         [](engine::Filter& o, engine::Filter& n) {
             o.SetTaskStatusCondition(engine::trEquals, engine::trTaskComplete);
             n.SetTaskStatusCondition(engine::trEquals, engine::trTaskNotStarted);
         },
         true},
        {"company flag",
         [](engine::Filter& o, engine::Filter& n) {
             o.SetCompanyCondition(engine::trEquals, {"A"}, true);
             n.SetCompanyCondition(engine::trEquals, {"A"}, false);
         },
         true},
        {"contact texts",
         [](engine::Filter& o, engine::Filter& n) {
             o.SetContactCondition(engine::trEquals, {"A"});
             n.SetContactCondition(engine::trEquals, {"A", "B"});
         },
         true},
    };
    for (const auto& c : aCases) {
        auto oOld = NewView("alt");
        auto oNew = CopyOf(*oOld);
        c.fnSet(*oOld->Filter(), *oNew->Filter());
        EXPECT_EQ(Compare(*oOld, *oNew), c.bReload) << c.sWhat;
    }
}

} // namespace
} // namespace views::test
