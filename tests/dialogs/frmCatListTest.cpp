#include "dialogs/frmCatList.h"

#include "common/modLanguage.h"
#include "common/modMain.h"
#include "common/modOLVersion.h"
#include "platform/forms/Driver.h"
#include "platform/forms/FlexGrid.h"
#include "platform/forms/StandardControls.h"
#include "platform/locale/Locale.h"
#include "platform/outlook/Application.h"
#include "platform/runtime/Error.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

namespace {

namespace pf = platform::forms;
using dialogs::frmCatList;

/// One row of the list as the user sees it.
struct Row
{
    std::string text;
    bool ticked = false;
    bool operator==(const Row&) const = default;
};

std::vector<Row> RowsOf(const pf::FlexGrid& fg)
{
    std::vector<Row> aRows;
    for (int lRow = 0; lRow < fg.Rows(); ++lRow)
        aRows.push_back({fg.TextMatrix(lRow, 0), fg.CellChecked(lRow, 0) == pf::CheckState::Checked});
    return aRows;
}

class frmCatListTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        setenv("TZ", "Europe/Berlin", 1);
        tzset();
        platform::locale::SetCurrent("de-DE");
        common::modLanguage::ResetLanguageForTests();
        pf::Driver::current().Reset();
        // A client before version 12 keeps a plain list; the tests of the grouped form set
        // their own version.
        SetClientVersion("11.0.0.8312");
    }
    void TearDown() override
    {
        pf::Driver::current().Reset();
        common::modMain::G().g_oOutlookApp.reset();
        common::modOLVersion::ResetOutlookVersion();
    }

    static void SetClientVersion(const std::string& sVersion)
    {
        common::modMain::G().g_oOutlookApp = std::make_shared<platform::outlook::Application>(sVersion);
        common::modOLVersion::ResetOutlookVersion();
    }

    /// Shows the dialog over that master list and answers it: records the rows it showed,
    /// then runs the answer.
    std::string Run(const std::string& sMasterlist, const std::string& sCaller,
                    const std::function<void(frmCatList&)>& answer)
    {
        m_oForm = std::make_unique<frmCatList>([sMasterlist] { return sMasterlist; });
        pf::Driver::current().QueueModal("frmCatList", [&](pf::Form& oForm) {
            auto& oDialog = dynamic_cast<frmCatList&>(oForm);
            m_aShown = RowsOf(oDialog.fg());
            answer(oDialog);
        });
        return m_oForm->ShowForm(sCaller);
    }

    /// Ticks the row of that text as the person does: a toggle of its box, which the list
    /// must take.
    static void Tick(frmCatList& oDialog, const std::string& sText)
    {
        auto& fg = oDialog.fg();
        for (int lRow = 0; lRow < fg.Rows(); ++lRow)
            if (fg.TextMatrix(lRow, 0) == sText) {
                EXPECT_TRUE(fg.UserToggleCheck(lRow, 0)) << sText;
                EXPECT_EQ(fg.CellChecked(lRow, 0), pf::CheckState::Checked) << sText;
            }
    }

    std::unique_ptr<frmCatList> m_oForm;
    std::vector<Row> m_aShown;
};

TEST_F(frmCatListTest, PicksFromPlainAndGroupedMasterLists)
{
    struct Case
    {
        const char* name;
        const char* version;
        const char* masterlist;
        std::vector<Row> shown;
    };
    const std::vector<Case> aCases = {
        {"plain", "11.0.0.8312", "Work;;Home;Travel;",
         {{"Work"}, {"Home"}, {"Travel"}}},
        {"grouped", "16.0.0.0", "{1};Work;3;0;{2};;4;0;{3};Home;5;0;{4};Travel;0;1",
         {{"Work"}, {"Home"}, {"Travel"}}},
        {"grouped, two groups", "12.0.0.0", "x;Red;1;0;y;Blue;2;0", {{"Red"}, {"Blue"}}},
    };
    for (const auto& c : aCases) {
        SCOPED_TRACE(c.name);
        SetClientVersion(c.version);
        const auto& sLast = c.shown.back().text;
        const std::string sResult = Run(c.masterlist, "", [&](frmCatList& oDialog) {
            Tick(oDialog, sLast);
            Tick(oDialog, c.shown.front().text);
            oDialog.cmdOK().Click();
        });
        EXPECT_EQ(m_aShown, c.shown);
        EXPECT_TRUE(m_oForm->Confirmed);
        // List order, no leading or trailing separator.
        EXPECT_EQ(sResult, c.shown.front().text + ";" + sLast);
    }
}

TEST_F(frmCatListTest, TicksTheCallersCategoriesAndAppendsUnknownOnes)
{
    const std::string sResult = Run("Work;Home", "work, Privat", [](frmCatList& oDialog) {
        oDialog.cmdOK().Click();
    });
    const std::vector<Row> aExpected = {{"Work", true}, {"Home", false}, {"Privat", true}};
    EXPECT_EQ(m_aShown, aExpected);
    EXPECT_EQ(sResult, "Work;Privat");
}

TEST_F(frmCatListTest, TypingOnACategoryTicksNothingAndRenamesNothing)
{
    // The list is editable for its boxes only: a category's name cannot be typed over, so
    // OK never gives a category that the master list does not hold.
    const std::string sResult = Run("Work;Home", "", [](frmCatList& oDialog) {
        auto& fg = oDialog.fg();
        EXPECT_FALSE(fg.UserEdit(1, 0, "Renamed by typing"));
        EXPECT_EQ(fg.TextMatrix(1, 0), "Home");
        Tick(oDialog, "Home");
        oDialog.cmdOK().Click();
    });
    EXPECT_EQ(sResult, "Home");
}

TEST_F(frmCatListTest, KeepsTheCallersCategoriesWithoutAMasterList)
{
    const std::string sResult = Run("", "Alpha,Beta", [](frmCatList& oDialog) {
        oDialog.cmdOK().Click();
    });
    const std::vector<Row> aExpected = {{"Alpha", true}, {"Beta", true}};
    EXPECT_EQ(m_aShown, aExpected);
    EXPECT_TRUE(m_oForm->Confirmed);
    EXPECT_EQ(sResult, "Alpha;Beta");
}

TEST_F(frmCatListTest, SelectedOnlyHidesUntickedRowsAndShowsThemAgain)
{
    std::vector<int> aHeightsOn, aHeightsOff;
    int lFirstHeight = 0;
    const std::string sResult = Run("A;B;C;D", "C", [&](frmCatList& oDialog) {
        auto& fg = oDialog.fg();
        Tick(oDialog, "A");
        lFirstHeight = fg.RowHeight(0);
        ASSERT_GT(lFirstHeight, 0);
        oDialog.chkView().SetValue(1);
        for (int lRow = 0; lRow < fg.Rows(); ++lRow)
            aHeightsOn.push_back(fg.RowHeight(lRow));
        oDialog.chkView().SetValue(0);
        for (int lRow = 0; lRow < fg.Rows(); ++lRow)
            aHeightsOff.push_back(fg.RowHeight(lRow));
        oDialog.chkView().SetValue(1);
        oDialog.cmdOK().Click();
    });
    EXPECT_EQ(aHeightsOn, (std::vector<int>{lFirstHeight, 0, lFirstHeight, 0}));
    EXPECT_EQ(aHeightsOff, std::vector<int>(4, lFirstHeight));
    EXPECT_EQ(sResult, "A;C");
}

TEST_F(frmCatListTest, CancelAndCloseBoxChangeNothing)
{
    const std::vector<std::pair<const char*, std::function<void(frmCatList&)>>> aAnswers = {
        {"cancel", [](frmCatList& oDialog) {
             Tick(oDialog, "Home");
             oDialog.cmdCancel().Click();
         }},
        {"close box", [](frmCatList& oDialog) {
             Tick(oDialog, "Home");
             oDialog.UserClose();
         }},
    };
    for (const auto& [sName, answer] : aAnswers) {
        SCOPED_TRACE(sName);
        const std::string sResult = Run("Work;Home", "Work, Privat", answer);
        EXPECT_FALSE(m_oForm->Confirmed);
        EXPECT_EQ(sResult, "Work; Privat");
    }
}

TEST_F(frmCatListTest, AFailingMasterListReadShowsNothingAndReturnsNothing)
{
    // A reader that fails, and the root object's reader while the add-in is not connected.
    std::vector<std::pair<const char*, std::unique_ptr<frmCatList>>> aForms;
    aForms.emplace_back("failing reader", std::make_unique<frmCatList>([]() -> std::string {
        platform::runtime::Raise(5, "CategoryList", "The category list cannot be read.");
    }));
    common::modMain::G().g_oApplication = nullptr;
    aForms.emplace_back("no root object", std::make_unique<frmCatList>());
    for (const auto& [sName, oForm] : aForms) {
        SCOPED_TRACE(sName);
        pf::Driver::current().Reset();
        // No modal answer is queued: showing the dialog would raise.
        EXPECT_EQ(oForm->ShowForm("Work"), "");
        EXPECT_FALSE(oForm->Confirmed);
        ASSERT_EQ(pf::Driver::current().MessageBoxes().size(), 1u);
        EXPECT_EQ(pf::Driver::current().MessageBoxes()[0].buttons, 48);
        EXPECT_FALSE(pf::Driver::current().MessageBoxes()[0].prompt.empty());
    }
}

TEST_F(frmCatListTest, TakesItsCaptionsFromTheResources)
{
    Run("A", "", [](frmCatList& oDialog) {
        EXPECT_EQ(oDialog.Caption(), "Categories");
        EXPECT_EQ(oDialog.chkView().Caption(), "&Show selected categories only");
        EXPECT_EQ(oDialog.cmdCancel().Caption(), "Cancel");
        oDialog.cmdCancel().Click();
    });
}

} // namespace
