#include "DialogsFixture.h"
#include "tests/host/ByteClasses.h"

#include "common/modOLVersion.h"
#include "dialogs/frmCatList.h"
#include "dialogs/frmFilter.h"
#include "dialogs/frmView.h"
#include "engine/Filter.h"
#include "platform/runtime/Date.h"
#include "platform/runtime/Error.h"
#include "platform/win/RegistryValue.h"

#include <cmath>
#include <functional>
#include <optional>

namespace {

namespace pf = platform::forms;
namespace rt = platform::runtime;
namespace win = platform::win;
using dialogs::frmFilter;
using dialogs::frmView;
using dialogs::ViewSection;
using Driver = pf::Driver;

// Wednesday, 10 June 2026, in the afternoon; the client's week starts on Monday.
const rt::Date kNow = rt::Date(rt::DateSerial(2026, 6, 10).Serial() + 0.6);

int DayOf(rt::Date d)
{
    return static_cast<int>(std::floor(d.Serial()));
}
int Day(int y, int m, int d)
{
    return DayOf(rt::DateSerial(y, m, d));
}

/// A filter dialog whose unloading fails once, right after OK wrote every condition.
class FailingFilter : public frmFilter
{
public:
    using frmFilter::frmFilter;

protected:
    void Form_QueryUnload(int& Cancel, int UnloadMode) override
    {
        if (UnloadMode != 0 && !m_bFailed) {
            m_bFailed = true;
            rt::Raise(rt::errors::DiskFull, "frmFilter");
        }
        frmFilter::Form_QueryUnload(Cancel, UnloadMode);
    }

private:
    bool m_bFailed = false;
};

class frmFilterTest : public dialogs_test::DialogsTest
{
protected:
    void SetUp() override
    {
        dialogs_test::DialogsTest::SetUp();
        rt::SetClock([] { return kNow; });
        win::Registry().write(win::Hive::CurrentUser,
                              "Software\\Microsoft\\Office\\16.0\\Outlook\\Options\\Calendar",
                              "FirstDOW", win::RegistryValue::text("1"));
    }
    void TearDown() override
    {
        rt::SetClock({});
        dialogs_test::DialogsTest::TearDown();
    }

    /// Opens the view dialog on oView, its filter button, runs `answer` on the filter dialog,
    /// then closes the view dialog with OK. Returns whether the view dialog was confirmed.
    bool RunFilter(const std::shared_ptr<views::ViewSettings>& oView,
                   const std::function<void(frmFilter&)>& answer,
                   std::function<std::unique_ptr<frmFilter>()> fnMake = nullptr)
    {
        if (!fnMake)
            fnMake = [] { return std::make_unique<frmFilter>(); };
        frmView oDialog([&](ViewSection e) -> std::unique_ptr<dialogs::SectionDialog> {
            if (e != ViewSection::Filter)
                return nullptr;
            return fnMake();
        });
        Driver::current().QueueModal("frmView", [&](pf::Form& oForm) {
            auto& oView = dynamic_cast<frmView&>(oForm);
            oView.cmdFilter().Click();
            oView.cmdOK().Click();
        });
        Driver::current().QueueModal("frmFilter", [&](pf::Form& oForm) {
            answer(dynamic_cast<frmFilter&>(oForm));
        });
        oDialog.AsIChild().Init(&Window());
        oDialog.ShowForm(oView, &Window());
        return oDialog.Confirmed;
    }

    /// A copy of the current view with the given filter settings.
    std::shared_ptr<views::ViewSettings> ViewWith(const std::function<void(engine::Filter&)>& fn)
    {
        auto oView = CopyOfCurrentView();
        auto& f = *oView->Filter();
        f.SetTimeCondition(engine::trDateField{}, engine::trTimeNone);
        f.SetCategoryCondition(engine::trnone, {});
        f.SetSubjectCondition(engine::trnone, "");
        f.SetContactCondition(engine::trnone, {});
        f.SetCompanyCondition(engine::trnone, {});
        f.SetLocationCondition(engine::trnone, "");
        f.SetTaskStatusCondition(engine::trnone);
        fn(f);
        return oView;
    }
};

TEST_F(frmFilterTest, EveryPresetShowsTheEngineWindowAndItsPickers)
{
    struct Case
    {
        int index;
        int from;
        int to;
        bool fromOn;
        bool toOn;
    };
    // Before each choice the pickers show 1 and 20 June.
    const Case aCases[] = {
        {0, Day(2026, 6, 1), Day(2026, 6, 20), true, false},   // from date
        {1, Day(2026, 6, 1), Day(2026, 6, 20), false, true},   // to date
        {2, Day(2026, 6, 10), Day(2026, 6, 20), true, false},  // from today
        {3, Day(2026, 6, 1), Day(2026, 6, 10), false, true},   // to today
        {4, Day(2026, 6, 3), Day(2026, 6, 9), true, true},     // last 7 days
        {5, Day(2026, 6, 11), Day(2026, 6, 17), true, true},   // next 7 days
        {6, Day(2026, 6, 1), Day(2026, 6, 20), true, true},    // between
        {7, Day(2026, 6, 9), Day(2026, 6, 9), true, true},     // yesterday
        {8, Day(2026, 6, 10), Day(2026, 6, 10), true, true},   // today
        {9, Day(2026, 6, 11), Day(2026, 6, 11), true, true},   // tomorrow
        {10, Day(2026, 6, 1), Day(2026, 6, 7), true, true},    // last week
        {11, Day(2026, 6, 8), Day(2026, 6, 14), true, true},   // this week
        {12, Day(2026, 6, 15), Day(2026, 6, 21), true, true},  // next week
        {13, Day(2026, 5, 1), Day(2026, 5, 31), true, true},   // last month
        {14, Day(2026, 6, 1), Day(2026, 6, 30), true, true},   // this month
        {15, Day(2026, 7, 1), Day(2026, 7, 31), true, true},   // next month
        {16, Day(2025, 1, 1), Day(2025, 12, 31), true, true},  // last year
        {17, Day(2026, 1, 1), Day(2026, 12, 31), true, true},  // this year
        {18, Day(2027, 1, 1), Day(2027, 12, 31), true, true},  // next year
    };
    auto oView = ViewWith([](engine::Filter&) {});
    for (const auto& c : aCases) {
        SCOPED_TRACE(c.index);
        Driver::current().Reset();
        int lFrom = 0, lTo = 0;
        bool bFromOn = false, bToOn = false;
        ASSERT_TRUE(RunFilter(oView, [&](frmFilter& f) {
            f.cboDateField().SetListIndex(2);
            f.cboDateRange().SetListIndex(6);
            f.dpFrom().UserPick(rt::DateSerial(2026, 6, 1));
            f.dpTo().UserPick(rt::DateSerial(2026, 6, 20));
            f.cboDateRange().SetListIndex(c.index);
            lFrom = DayOf(f.dpFrom().Value());
            lTo = DayOf(f.dpTo().Value());
            bFromOn = f.dpFrom().Enabled();
            bToOn = f.dpTo().Enabled();
            f.cmdOK().Click();
        }));
        EXPECT_EQ(lFrom, c.from);
        EXPECT_EQ(lTo, c.to);
        EXPECT_EQ(bFromOn, c.fromOn);
        EXPECT_EQ(bToOn, c.toOn);
        EXPECT_TRUE(Driver::current().MessageBoxes().empty());
        // OK wrote the preset with the start day's dates into the edited view.
        const auto& oFilter = *oView->Filter();
        EXPECT_EQ(oFilter.FilterOnField(), engine::trStartDate);
        EXPECT_EQ(oFilter.RestrictTime(), static_cast<engine::trTimeFilter>(
                                              c.index == 2 ? 18 : c.index == 3 ? 19
                                              : c.index < 2 ? c.index + 1 : c.index - 1));
    }
}

TEST_F(frmFilterTest, LoadShowsTheStoredDateWindow)
{
    struct Case
    {
        const char* name;
        std::function<void(engine::Filter&)> stored;
        int field;
        int range;
        int from;
        int to;
        bool rangeOn;
        bool fromOn;
        bool toOn;
    };
    const Case aCases[] = {
        {"no date field", [](engine::Filter&) {}, 0, 0, Day(2026, 6, 10), Day(2026, 6, 10), false,
         false, false},
        {"between",
         [](engine::Filter& f) {
             f.SetTimeCondition(engine::trDueDate, engine::trTimeBetween,
                                rt::Variant(rt::DateSerial(2026, 3, 1)),
                                rt::Variant(rt::DateSerial(2026, 3, 31)));
         },
         1, 6, Day(2026, 3, 1), Day(2026, 3, 31), true, true, true},
        {"from date, no to date",
         [](engine::Filter& f) {
             f.SetTimeCondition(engine::trEndDate, engine::trTimeFromDate,
                                rt::Variant(rt::DateSerial(2026, 2, 2)));
         },
         3, 0, Day(2026, 2, 2), Day(2026, 6, 10), true, true, false},
        {"date field without a range",
         [](engine::Filter& f) { f.SetTimeCondition(engine::trStartDate, engine::trTimeNone); }, 2,
         -1, Day(2026, 6, 10), Day(2026, 6, 10), true, true, true},
    };
    for (const auto& c : aCases) {
        SCOPED_TRACE(c.name);
        RunFilter(ViewWith(c.stored), [&](frmFilter& f) {
            EXPECT_EQ(f.cboDateField().ListIndex(), c.field);
            EXPECT_EQ(f.cboDateRange().ListIndex(), c.range);
            EXPECT_EQ(DayOf(f.dpFrom().Value()), c.from);
            EXPECT_EQ(DayOf(f.dpTo().Value()), c.to);
            EXPECT_EQ(f.cboDateRange().Enabled(), c.rangeOn);
            EXPECT_EQ(f.dpFrom().Enabled(), c.fromOn);
            EXPECT_EQ(f.dpTo().Enabled(), c.toOn);
            // Monday first, on the picker's scale.
            EXPECT_EQ(f.dpFrom().FirstDayOfWeek(), 0);
            f.cmdCancel().Click();
        });
    }
}

TEST_F(frmFilterTest, WeekStartsOnTheClientsFirstDayOfWeek)
{
    struct Case
    {
        const char* firstDow; // the client's setting: 0 Sunday ... 6 Saturday
        int pickerStart;      // the picker's scale: 0 Monday ... 6 Sunday, -1 its default
        int thisWeekFrom;
    };
    const Case aCases[] = {
        {"0", 6, Day(2026, 6, 7)},
        {"1", 0, Day(2026, 6, 8)},
        {"3", 2, Day(2026, 6, 10)},
        {"6", 5, Day(2026, 6, 6)},
        {"9", -1, 0},
    };
    for (const auto& c : aCases) {
        SCOPED_TRACE(c.firstDow);
        win::Registry().write(win::Hive::CurrentUser,
                              "Software\\Microsoft\\Office\\16.0\\Outlook\\Options\\Calendar",
                              "FirstDOW", win::RegistryValue::text(c.firstDow));
        RunFilter(ViewWith([](engine::Filter&) {}), [&](frmFilter& f) {
            EXPECT_EQ(f.dpFrom().FirstDayOfWeek(), c.pickerStart);
            EXPECT_EQ(f.dpTo().FirstDayOfWeek(), c.pickerStart);
            f.cboDateField().SetListIndex(2);
            f.cboDateRange().SetListIndex(11); // this week
            if (c.thisWeekFrom != 0) {
                EXPECT_EQ(DayOf(f.dpFrom().Value()), c.thisWeekFrom);
                EXPECT_EQ(DayOf(f.dpTo().Value()), c.thisWeekFrom + 6);
            }
            f.cmdCancel().Click();
        });
    }
}

TEST_F(frmFilterTest, ADateSetWhileTheCalendarIsClosedIsRedrawnOnTheNextOpening)
{
    RunFilter(ViewWith([](engine::Filter&) {}), [&](frmFilter& f) {
        auto& from = f.dpFrom();
        auto& to = f.dpTo();
        f.cboDateField().SetListIndex(2);
        const int nFrom = from.RefreshCount();
        f.cboDateRange().SetListIndex(14); // this month: the dates change with both closed
        from.UserDropDown();
        EXPECT_EQ(from.RefreshCount(), nFrom + 1);
        from.UserCloseUp();
        from.UserDropDown();
        EXPECT_EQ(from.RefreshCount(), nFrom + 1) << "nothing pending any more";
        // A date picked in the open calendar needs no redraw.
        from.SetValue(rt::DateSerial(2026, 6, 2));
        from.UserCloseUp();
        from.UserDropDown();
        from.UserCloseUp();
        EXPECT_EQ(from.RefreshCount(), nFrom + 1);
        // The flag is shared: a change while both are closed redraws whichever opens next.
        const int nTo = to.RefreshCount();
        f.cboDateRange().SetListIndex(13);
        to.UserDropDown();
        EXPECT_EQ(to.RefreshCount(), nTo + 1);
        to.UserCloseUp();
        from.UserDropDown();
        EXPECT_EQ(from.RefreshCount(), nFrom + 1);
        from.UserCloseUp();
        f.cmdCancel().Click();
    });
}

TEST_F(frmFilterTest, ChangingAPickerSwitchesToBetween)
{
    RunFilter(ViewWith([](engine::Filter&) {}), [&](frmFilter& f) {
        f.cboDateField().SetListIndex(2);
        f.cboDateRange().SetListIndex(14); // this month: 1 to 30 June
        f.dpTo().UserPick(rt::DateSerial(2026, 5, 20));
        EXPECT_EQ(f.cboDateRange().ListIndex(), 6);
        EXPECT_EQ(DayOf(f.dpFrom().Value()), Day(2026, 5, 20));
        f.cboDateRange().SetListIndex(0); // from date: the to picker is off, its date stays
        EXPECT_FALSE(f.dpTo().Enabled());
        EXPECT_EQ(DayOf(f.dpTo().Value()), Day(2026, 5, 20));
        f.dpFrom().UserPick(rt::DateSerial(2026, 5, 25));
        EXPECT_EQ(f.cboDateRange().ListIndex(), 6);
        EXPECT_TRUE(f.dpTo().Enabled());
        EXPECT_EQ(DayOf(f.dpTo().Value()), Day(2026, 5, 25));
        f.cmdCancel().Click();
    });
}

TEST_F(frmFilterTest, TextConditionsRoundTripThroughTheTemplateFile)
{
    const auto oTemplate = Window().GetTemplates()->Item(rt::Variant(std::string("(Standard)")));
    ASSERT_TRUE(oTemplate);
    for (int r = 0; r < 4; ++r) {
        SCOPED_TRACE(r);
        const auto mode = [r](int i) { return (i + r) % 4 + 1; };
        Driver::current().QueueModal("frmView", [&](pf::Form& oForm) {
            auto& oView = dynamic_cast<frmView&>(oForm);
            oView.cmdFilter().Click();
            oView.cmdOK().Click();
        });
        Driver::current().QueueModal("frmFilter", [&](pf::Form& oForm) {
            auto& f = dynamic_cast<frmFilter&>(oForm);
            f.txtCats().SetText("Work, Home;Travel;");
            f.txtSubject().SetText("Review");
            f.txtContact().SetText(";Anna Lindqvist;Bob");
            f.txtCompany().SetText("Kestrel GmbH");
            f.txtLocation().SetText("Büro");
            for (int i = 0; i < 5; ++i)
                f.cboCompare(i).SetListIndex(mode(i));
            for (int j = 0; j < 3; ++j)
                f.chkJoin(j).SetValue((r + j) % 2);
            f.cboTaskStatus(0).SetListIndex(r % 2 + 1);
            f.cboTaskStatus(1).SetListIndex(r);
            f.cmdOK().Click();
        });
        Window().ShowViewSettings(oTemplate, true);
        Window().GetTemplates()->Save();
        views::Templates oReread;
        oReread.Load();
        const auto oView = oReread.Item(rt::Variant(std::string("(Standard)")));
        ASSERT_TRUE(oView);
        const auto& f = *oView->Filter();
        using V = std::vector<std::string>;
        EXPECT_EQ(f.Category(), (V{"Work", " Home", "Travel"}));
        EXPECT_EQ(f.CategoryCompare(), mode(0));
        EXPECT_EQ(f.CategoryAND(), r % 2 == 1);
        EXPECT_EQ(f.Subject(), "Review");
        EXPECT_EQ(f.SubjectCompare(), mode(1));
        EXPECT_EQ(f.Contact(), (V{"Anna Lindqvist", "Bob"}));
        EXPECT_EQ(f.ContactCompare(), mode(2));
        EXPECT_EQ(f.ContactAND(), (r + 1) % 2 == 1);
        EXPECT_EQ(f.Company(), (V{"Kestrel GmbH"}));
        EXPECT_EQ(f.CompanyCompare(), mode(3));
        EXPECT_EQ(f.CompanyAND(), r % 2 == 1);
        EXPECT_EQ(f.Location(), "Büro");
        EXPECT_EQ(f.LocationCompare(), mode(4));
        EXPECT_EQ(f.TaskStatusCompare(), r % 2 + 1);
        EXPECT_EQ(f.TaskStatus(), r);

        // Opened again, the dialog shows the stored conditions, lists joined with ";".
        RunFilter(oView, [&](frmFilter& d) {
            EXPECT_EQ(d.txtCats().Text(), "Work; Home;Travel");
            EXPECT_EQ(d.txtSubject().Text(), "Review");
            EXPECT_EQ(d.txtContact().Text(), "Anna Lindqvist;Bob");
            EXPECT_EQ(d.txtCompany().Text(), "Kestrel GmbH");
            EXPECT_EQ(d.txtLocation().Text(), "Büro");
            for (int i = 0; i < 5; ++i)
                EXPECT_EQ(d.cboCompare(i).ListIndex(), mode(i)) << i;
            for (int j = 0; j < 3; ++j)
                EXPECT_EQ(d.chkJoin(j).Value(), (r + j) % 2) << j;
            EXPECT_EQ(d.cboTaskStatus(0).ListIndex(), r % 2 + 1);
            EXPECT_EQ(d.cboTaskStatus(1).ListIndex(), r);
            EXPECT_TRUE(d.cboTaskStatus(1).Enabled());
            d.cmdCancel().Click();
        });
    }
    EXPECT_TRUE(Driver::current().MessageBoxes().empty());
}

TEST_F(frmFilterTest, ValueListsAreSplitAsTypedAndEmptyBoxesStoreNoCondition)
{
    using V = std::vector<std::string>;
    struct Case
    {
        const char* text;
        int compare;
        std::optional<std::vector<std::string>> values; // none: not a condition, not looked at
        engine::trCompareValue stored;
    };
    const Case aCases[] = {
        {"A, B;C;", 1, V{"A", " B", "C"}, engine::trEquals},
        {";A;B", 4, V{"A", "B"}, engine::trContainsNot},
        {"A;;B", 2, V{"A", "", "B"}, engine::trEqualsNot},
        {";", 3, V{}, engine::trContains},
        {"", 3, std::nullopt, engine::trnone},
    };
    for (const auto& c : aCases) {
        SCOPED_TRACE(c.text);
        auto oView = ViewWith([](engine::Filter& f) {
            f.SetCategoryCondition(engine::trnone, {});
            f.SetCompanyCondition(engine::trEquals, {"Old"});
        });
        RunFilter(oView, [&](frmFilter& f) {
            f.txtCompany().SetText(c.text);
            f.cboCompare(frmFilter::kCompany).SetListIndex(c.compare);
            // The comparison list empties its box only when set to none by the user.
            f.txtCompany().SetText(c.text);
            f.cmdOK().Click();
        });
        if (c.values) {
            EXPECT_EQ(oView->Filter()->Company(), *c.values);
        }
        EXPECT_EQ(oView->Filter()->CompanyCompare(), c.stored);
    }
}

TEST_F(frmFilterTest, TextAndComparisonAreCoupled)
{
    RunFilter(ViewWith([](engine::Filter&) {}), [&](frmFilter& f) {
        EXPECT_EQ(f.cboCompare(frmFilter::kSubject).ListIndex(), 0);
        f.txtSubject().SetText("x");
        EXPECT_EQ(f.cboCompare(frmFilter::kSubject).ListIndex(), 3);
        f.cboCompare(frmFilter::kSubject).SetListIndex(0);
        EXPECT_EQ(f.txtSubject().Text(), "");
        // No task-status comparison: the status list is off and grey.
        EXPECT_FALSE(f.cboTaskStatus(1).Enabled());
        EXPECT_EQ(f.cboTaskStatus(1).BackColor(), 0xEFEFEFu);
        f.cboTaskStatus(0).SetListIndex(1);
        EXPECT_TRUE(f.cboTaskStatus(1).Enabled());
        EXPECT_EQ(f.cboTaskStatus(1).BackColor(), 0xFFFFFFu);
        f.cmdCancel().Click();
    });
}

TEST_F(frmFilterTest, CategoriesArePickedFromPlainAndGroupedMasterLists)
{
    struct Case
    {
        const char* name;
        const char* version;
        const char* masterlist;
        const char* before;
        int compareBefore;
        const char* tick;
        const char* text;
        int compare;
    };
    const Case aCases[] = {
        {"plain", "11.0.0.8312", "Work;Home;Travel", "", 0, "Travel", "Travel", 3},
        {"grouped", "16.0.0.0", "{1};Work;3;0;{2};Home;4;0", "", 0, "Home", "Home", 3},
        {"kept comparison", "11.0.0.8312", "Work;Home", "", 2, "Work", "Work", 2},
    };
    const auto oHostApp = common::modMain::G().g_oOutlookApp;
    for (const auto& c : aCases) {
        SCOPED_TRACE(c.name);
        common::modMain::G().g_oOutlookApp = std::make_shared<platform::outlook::Application>(c.version);
        common::modOLVersion::ResetOutlookVersion();
        std::string sText;
        int lCompare = -1;
        const std::string sMasterlist = c.masterlist;
        RunFilter(
            ViewWith([](engine::Filter&) {}),
            [&](frmFilter& f) {
                f.txtCats().SetText(c.before);
                f.cboCompare(frmFilter::kCategories).SetListIndex(c.compareBefore);
                f.txtCats().SetText(c.before);
                Driver::current().QueueModal("frmCatList", [&](pf::Form& oForm) {
                    auto& oList = dynamic_cast<dialogs::frmCatList&>(oForm);
                    for (int lRow = 0; lRow < oList.fg().Rows(); ++lRow)
                        if (oList.fg().TextMatrix(lRow, 0) == c.tick)
                            oList.fg().SetCellChecked({lRow, 0, lRow, 0}, pf::CheckState::Checked);
                    oList.cmdOK().Click();
                });
                f.cmdCategories().Click();
                sText = f.txtCats().Text();
                lCompare = f.cboCompare(frmFilter::kCategories).ListIndex();
                f.cmdCancel().Click();
            },
            [&] { return std::make_unique<frmFilter>([sMasterlist] { return sMasterlist; }); });
        EXPECT_EQ(sText, c.text);
        EXPECT_EQ(lCompare, c.compare);
    }
    common::modMain::G().g_oOutlookApp = oHostApp;
    common::modOLVersion::ResetOutlookVersion();
}

TEST_F(frmFilterTest, ClearAllKeepsTheRangeAndStoresNoConditions)
{
    auto oView = ViewWith([](engine::Filter& f) {
        f.SetTimeCondition(engine::trStartDate, engine::trTimeLastMonth);
        f.SetSubjectCondition(engine::trContains, "Review");
        f.SetCategoryCondition(engine::trEquals, {"Work"});
        f.SetTaskStatusCondition(engine::trEquals, engine::trTaskComplete);
    });
    RunFilter(oView, [&](frmFilter& f) {
        f.cmdDeleteAll().Click();
        EXPECT_EQ(f.cboDateRange().ListIndex(), 13);
        EXPECT_EQ(DayOf(f.dpFrom().Value()), Day(2026, 5, 1));
        EXPECT_FALSE(f.dpFrom().Enabled());
        EXPECT_EQ(f.txtSubject().Text(), "");
        EXPECT_FALSE(f.cboTaskStatus(1).Enabled());
        f.cmdOK().Click();
    });
    const auto& f = *oView->Filter();
    EXPECT_EQ(f.RestrictTime(), engine::trTimeNone);
    EXPECT_EQ(f.SubjectCompare(), engine::trnone);
    EXPECT_EQ(f.CategoryCompare(), engine::trnone);
    EXPECT_EQ(f.TaskStatusCompare(), engine::trnone);
}

// Each byte class the hosts refuse, pasted into each text condition: OK names the character and
// stays open on the field, and the view keeps its conditions (the subject, say, which a save's
// file name and a page's header take in).
TEST_F(frmFilterTest, OKRefusesAControlCharacterInEveryTextCondition)
{
    using Box = pf::TextBox& (frmFilter::*)() const;
    const std::pair<const char*, Box> aBoxes[] = {
        {"txtCats", &frmFilter::txtCats},       {"txtSubject", &frmFilter::txtSubject},
        {"txtContact", &frmFilter::txtContact}, {"txtCompany", &frmFilter::txtCompany},
        {"txtLocation", &frmFilter::txtLocation},
    };
    for (const auto& bad : host_test::BadTexts())
        for (const auto& [sName, box] : aBoxes) {
            SCOPED_TRACE(std::string(sName) + " " + host_test::NameOf(bad));
            Driver::current().Reset();
            auto oView = ViewWith([](engine::Filter& f) {
                f.SetSubjectCondition(engine::trEquals, "Keep");
            });
            bool bStayed = false, bFocused = false;
            RunFilter(oView, [&](frmFilter& f) {
                auto& oBox = (f.*box)();
                oBox.SetText("Mai X" + bad.sBytes + "Y");
                oBox.OnGotFocus = [&bFocused, fnWas = oBox.OnGotFocus] {
                    bFocused = true;
                    if (fnWas)
                        fnWas();
                };
                f.cmdOK().Click();
                bStayed = f.IsLoaded();
                f.UserClose();
            });
            EXPECT_TRUE(bStayed);
            EXPECT_TRUE(bFocused);
            const auto& vBoxes = Driver::current().MessageBoxes();
            ASSERT_EQ(vBoxes.size(), 1u);
            EXPECT_EQ(vBoxes[0].prompt, "The text holds the character " + host_test::NameOf(bad) +
                                            ", which is no printable text. Please remove it.");
            const auto& f = *oView->Filter();
            EXPECT_EQ(f.Subject(), "Keep");
            EXPECT_EQ(f.LocationCompare(), engine::trnone);
            EXPECT_EQ(f.CategoryCompare(), engine::trnone);
        }
}

TEST_F(frmFilterTest, CancelCloseBoxAndAFailureInsideOKChangeNothing)
{
    enum class Close
    {
        Cancel,
        CloseBox,
        FailingOK,
    };
    for (const Close eClose : {Close::Cancel, Close::CloseBox, Close::FailingOK}) {
        SCOPED_TRACE(static_cast<int>(eClose));
        Driver::current().Reset();
        auto oView = ViewWith([](engine::Filter& f) {
            f.SetSubjectCondition(engine::trEquals, "Keep");
        });
        RunFilter(
            oView,
            [&](frmFilter& f) {
                f.cboDateField().SetListIndex(2);
                f.cboDateRange().SetListIndex(13);
                f.txtSubject().SetText("Other");
                f.txtLocation().SetText("Büro");
                if (eClose == Close::Cancel)
                    f.cmdCancel().Click();
                else if (eClose == Close::CloseBox)
                    f.UserClose();
                else {
                    f.cmdOK().Click();
                    EXPECT_TRUE(f.IsLoaded()); // the error left the dialog open
                    f.UserClose();
                }
            },
            [] { return std::make_unique<FailingFilter>(); });
        const auto& f = *oView->Filter();
        EXPECT_EQ(f.RestrictTime(), engine::trTimeNone);
        EXPECT_EQ(f.Subject(), "Keep");
        EXPECT_EQ(f.SubjectCompare(), engine::trEquals);
        EXPECT_EQ(f.LocationCompare(), engine::trnone);
        EXPECT_EQ(Driver::current().MessageBoxes().size(), eClose == Close::FailingOK ? 1u : 0u);
    }
}

} // namespace
