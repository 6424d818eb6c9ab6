#include "DialogsFixture.h"

#include "common/ErrorHandling.h"
#include "dialogs/SectionDialog.h"
#include "dialogs/frmFilter.h"
#include "dialogs/frmView.h"
#include "engine/Filter.h"
#include "platform/runtime/Error.h"
#include "views/GroupBy.h"
#include "views/SortBy.h"
#include "platform/store/StoreBuilder.h"

#include <array>
#include <functional>
#include <optional>

namespace {

namespace pf = platform::forms;
namespace rt = platform::runtime;
namespace st = platform::store;
using dialogs::frmView;
using dialogs::SectionDialog;
using dialogs::ViewSection;
using Driver = pf::Driver;

/// A section dialog whose OK writes what the test says into the view it edits; it may fail
/// half-way, after a first write.
class FakeSection : public SectionDialog
{
public:
    using Write = std::function<void(views::ViewSettings&)>;
    FakeSection(Write fnWrite, bool bFailInOK) : SectionDialog("FakeSection")
    {
        m_cmdOK = Add<pf::CommandButton>("cmdOK");
        m_cmdOK->OnClick = [this, fnWrite, bFailInOK] {
            common::Logging("FakeSection", "cmdOK_Click", [&] {
                fnWrite(EditedView());
                if (bFailInOK)
                    rt::Raise(rt::errors::DiskFull, "FakeSection");
                Confirmed = true;
                Unload();
            }, [](common::ErrorObject& e) { pf::MsgBox(e.Description(), 48); });
        };
    }
    std::shared_ptr<pf::CommandButton> m_cmdOK;
};

/// Switches every condition of the filter off.
void ClearFilter(engine::Filter& oFilter)
{
    oFilter.SetTimeCondition(engine::trDateField{}, engine::trTimeNone);
    oFilter.SetCategoryCondition(engine::trnone, {});
    oFilter.SetSubjectCondition(engine::trnone, "");
    oFilter.SetContactCondition(engine::trnone, {});
    oFilter.SetCompanyCondition(engine::trnone, {});
    oFilter.SetLocationCondition(engine::trnone, "");
    oFilter.SetTaskStatusCondition(engine::trnone);
}

enum class Answer
{
    OK,
    Cancel,
    FailingOK,
};

class frmViewTest : public dialogs_test::DialogsTest
{
protected:
    /// Shows the view dialog on oView; `answer` works it while it is shown.
    void RunDialog(const std::shared_ptr<views::ViewSettings>& oView,
                   const std::function<void(frmView&)>& answer,
                   frmView::SectionDialogFactory fnFactory = dialogs::NewSectionDialog)
    {
        m_oDialog = std::make_unique<frmView>(std::move(fnFactory));
        m_oDialog->AsIChild().Init(&Window());
        Driver::current().QueueModal("frmView", [&](pf::Form& oForm) {
            answer(dynamic_cast<frmView&>(oForm));
        });
        m_oDialog->ShowForm(oView, &Window());
    }
    /// A factory that makes a fake section for `eSection` and answers it as told.
    static frmView::SectionDialogFactory FakeFactory(ViewSection eSection, FakeSection::Write fnWrite,
                                                     Answer eAnswer)
    {
        return [=](ViewSection e) -> std::unique_ptr<SectionDialog> {
            if (e != eSection)
                return nullptr;
            Driver::current().QueueModal("FakeSection", [eAnswer](pf::Form& oForm) {
                auto& oFake = dynamic_cast<FakeSection&>(oForm);
                if (eAnswer == Answer::Cancel)
                    oForm.Unload();
                else
                    oFake.m_cmdOK->Click();
            });
            return std::make_unique<FakeSection>(fnWrite, eAnswer == Answer::FailingOK);
        };
    }
    std::unique_ptr<frmView> m_oDialog;
};

TEST_F(frmViewTest, SectionWritesReachTheViewOnlyWhenItsOKCompletes)
{
    // The section sets a subject condition, then (when it fails) breaks before confirming.
    const auto fnWrite = [](views::ViewSettings& oView) {
        oView.Filter()->SetSubjectCondition(engine::trContains, "Review");
    };
    struct Case
    {
        Answer answer;
        engine::trCompareValue subjectCompare;
        const char* filterLabel;
        std::size_t messageBoxes;
    };
    for (const auto& c : {Case{Answer::OK, engine::trContains, "On", 0},
                          Case{Answer::Cancel, engine::trnone, "Off", 0},
                          Case{Answer::FailingOK, engine::trnone, "Off", 1}}) {
        SCOPED_TRACE(static_cast<int>(c.answer));
        Driver::current().Reset();
        auto oView = CopyOfCurrentView();
        ClearFilter(*oView->Filter());
        std::string sLabel;
        RunDialog(oView, [&](frmView& oDialog) {
            EXPECT_EQ(oDialog.lbl(3).Caption(), "Off");
            oDialog.cmdFilter().Click();
            sLabel = oDialog.lbl(3).Caption();
            // The edited view is the dialog's own again once the section is closed.
            EXPECT_EQ(oDialog.Vs(), oView);
            oDialog.cmdOK().Click();
        }, FakeFactory(ViewSection::Filter, fnWrite, c.answer));
        EXPECT_TRUE(m_oDialog->Confirmed);
        EXPECT_EQ(oView->Filter()->SubjectCompare(), c.subjectCompare);
        EXPECT_EQ(sLabel, c.filterLabel);
        EXPECT_EQ(Driver::current().MessageBoxes().size(), c.messageBoxes);
    }
}

TEST_F(frmViewTest, SummariesShowEachSection)
{
    using Change = std::function<void(views::ViewSettings&)>;
    struct Case
    {
        const char* name;
        Change change;
        std::array<const char*, 5> labels;
        bool showResultOn;
    };
    const auto noLevels = [](views::ViewSettings& v) {
        for (int l = 0; l <= 2; ++l) {
            v.GroupByLevel(l)->SetApply(false);
            v.SortByLevel(l)->Apply = false;
        }
    };
    const auto noTotals = [](views::ViewSettings& v) {
        for (const auto& f : *v.Fields())
            f->SetCalculation(0);
        v.SetCalculateItemsCount(false);
    };
    // Column captions are the template's own, in whichever language it was shipped; level
    // captions the catalogue's. The template shows six columns and sums its duration.
    std::string sColumns, sDuration;
    int nShown = 0;
    const auto oShipped = CopyOfCurrentView();
    for (const auto& f : *oShipped->Fields()) {
        if (f->Visible()) {
            sColumns += (sColumns.empty() ? "" : ";") + f->Caption();
            ++nShown;
        }
        if (f->Calculation() != 0)
            sDuration = f->Caption();
    }
    ASSERT_EQ(nShown, 6);
    ASSERT_FALSE(sDuration.empty());
    const char* kColumns = sColumns.c_str();
    const std::string sSum = "Sum(" + sDuration + ")";
    const std::string sCountSum = "Count(items);" + sSum;
    const Case aCases[] = {
        {"as shipped",
         [](views::ViewSettings&) {},
         {kColumns, "Categories;Start", "Start", "On", sSum.c_str()},
         true},
        {"nothing to show",
         [&](views::ViewSettings& v) {
             for (const auto& f : *v.Fields())
                 f->SetVisible(false);
             noLevels(v);
             noTotals(v);
             v.SetDisplayResultsOnly(true);
             ClearFilter(*v.Filter());
             v.Filter()->SetCategoryCondition(engine::trnone, {"Kept"});
         },
         {"", "Off", "Off", "Off", "Off"},
         false},
        {"item count only",
         [&](views::ViewSettings& v) {
             noLevels(v);
             noTotals(v);
             v.SetCalculateItemsCount(true);
         },
         {kColumns, "Off", "Off", "On", "Count(items)"},
         true},
        {"item count and a sum",
         [&](views::ViewSettings& v) { v.SetCalculateItemsCount(true); },
         {kColumns, "Categories;Start", "Start", "On", sCountSum.c_str()},
         true},
        {"unknown grouping key",
         [&](views::ViewSettings& v) { v.GroupByLevel(0)->ColKey = "NoSuchField"; },
         {kColumns, "Start", "Start", "On", sSum.c_str()},
         true},
        {"only a text condition",
         [&](views::ViewSettings& v) {
             ClearFilter(*v.Filter());
             v.Filter()->SetLocationCondition(engine::trContains, "Saal");
         },
         {kColumns, "Categories;Start", "Start", "On", sSum.c_str()},
         true},
    };
    for (const auto& c : aCases) {
        SCOPED_TRACE(c.name);
        auto oView = CopyOfCurrentView();
        c.change(*oView);
        std::array<std::string, 5> aShown;
        bool bShowResultOn = false;
        RunDialog(oView, [&](frmView& oDialog) {
            for (int i = 0; i < 5; ++i)
                aShown[static_cast<std::size_t>(i)] = oDialog.lbl(i).Caption();
            bShowResultOn = oDialog.chkShowResult().Enabled();
            oDialog.cmdOK().Click();
        });
        for (int i = 0; i < 5; ++i)
            EXPECT_EQ(aShown[static_cast<std::size_t>(i)], c.labels[static_cast<std::size_t>(i)])
                << "label " << i;
        EXPECT_EQ(bShowResultOn, c.showResultOn);
        // A box that was off stores False, whatever the view said.
        if (!c.showResultOn) {
            EXPECT_FALSE(oView->DisplayResultsOnly());
        }
    }
    EXPECT_TRUE(Driver::current().MessageBoxes().empty());
}

TEST_F(frmViewTest, OnlyAConfirmedGroupingOrSortingMovesTheLevelsUp)
{
    // The section leaves the first grouping level unapplied above an applied one.
    const auto fnWrite = [](views::ViewSettings& v) { v.GroupByLevel(0)->SetApply(false); };
    struct Case
    {
        ViewSection section;
        bool movedUp;
    };
    for (const auto& c : {Case{ViewSection::GroupBy, true}, Case{ViewSection::Sort, true},
                          Case{ViewSection::Fields, false}, Case{ViewSection::Calc, false}}) {
        SCOPED_TRACE(static_cast<int>(c.section));
        auto oView = CopyOfCurrentView();
        const std::string sSecond = oView->GroupByLevel(1)->ColKey;
        ASSERT_TRUE(oView->GroupByLevel(1)->Apply());
        RunDialog(oView, [&](frmView& oDialog) {
            auto& oButton = c.section == ViewSection::GroupBy ? oDialog.cmdGroupBy()
                            : c.section == ViewSection::Sort  ? oDialog.cmdSort()
                            : c.section == ViewSection::Fields ? oDialog.cmdFields()
                                                               : oDialog.cmdCalc();
            oButton.Click();
            oDialog.cmdOK().Click();
        }, FakeFactory(c.section, fnWrite, Answer::OK));
        ASSERT_TRUE(m_oDialog->Confirmed);
        EXPECT_EQ(oView->GroupByLevel(0)->Apply(), c.movedUp);
        EXPECT_EQ(oView->GroupByLevel(0)->ColKey == sSecond, c.movedUp);
    }
}

TEST_F(frmViewTest, CancelAndCloseBoxLeaveItUnconfirmed)
{
    const std::function<void(frmView&)> aCloses[] = {
        [](frmView& d) { d.cmdCancel().Click(); },
        [](frmView& d) { d.UserClose(); },
    };
    for (const auto& fnClose : aCloses) {
        auto oView = CopyOfCurrentView();
        RunDialog(oView, [&](frmView& oDialog) {
            oDialog.chkHideTime().SetValue(1);
            fnClose(oDialog);
        });
        EXPECT_FALSE(m_oDialog->Confirmed);
        EXPECT_FALSE(oView->DontShowTime());
    }
}

TEST_F(frmViewTest, SetviewRefillsForADisplayChangeAndReadsForAFilterChange)
{
    auto& oWindow = Window();
    const auto oView = oWindow.GetViewSettings();
    auto& fg = Grid();
    const auto dataRows = [&] {
        int n = 0;
        for (int r = fg.FixedRows(); r < fg.Rows(); ++r)
            n += fg.IsSubtotal(r) ? 0 : 1;
        return n;
    };
    const int nBefore = dataRows();
    ASSERT_GT(nBefore, 0);
    // An appointment added to the store after the read shows only after a new read.
    const rt::Date dtFrom = oView->Filter()->FromDate();
    {
        auto oStore = m_oProfile->OpenStore(oView->Folders()->Item(1)->StoreID());
        st::StoreBuilder oBuilder(*oStore);
        const auto start = st::MakeLocalTime(rt::Year(dtFrom), rt::Month(dtFrom), rt::Day(dtFrom), 10);
        oBuilder.Appointment(oView->Folders()->Item(1)->EntryID(), "Nachzügler", start,
                             st::LocalTime{start.seconds + 3600});
    }

    // Cancelled: neither read nor refill, but the report counts as not saved.
    Driver::current().QueueModal("frmView", [](pf::Form& f) { f.UserClose(); });
    oWindow.CommandbarClick("setview");
    EXPECT_EQ(dataRows(), nBefore);
    EXPECT_FALSE(oWindow.ReportSaved());

    // Hiding the time needs no read: the grid is refilled from the records read before.
    Driver::current().QueueModal("frmView", [](pf::Form& f) {
        auto& d = dynamic_cast<frmView&>(f);
        d.chkHideTime().SetValue(1);
        d.cmdOK().Click();
    });
    oWindow.CommandbarClick("setview");
    EXPECT_TRUE(oView->DontShowTime());
    EXPECT_EQ(dataRows(), nBefore);

    // A new subject condition reads anew and finds the new appointment.
    Driver::current().QueueModal("frmView", [](pf::Form& f) {
        auto& d = dynamic_cast<frmView&>(f);
        d.cmdFilter().Click();
        d.cmdOK().Click();
    });
    Driver::current().QueueModal("frmFilter", [](pf::Form& f) {
        auto& d = dynamic_cast<dialogs::frmFilter&>(f);
        d.txtSubject().SetText("Nachzügler");
        d.cmdOK().Click();
    });
    oWindow.CommandbarClick("setview");
    EXPECT_EQ(oView->Filter()->SubjectCompare(), engine::trContains);
    EXPECT_EQ(dataRows(), 1);
    EXPECT_TRUE(Driver::current().MessageBoxes().empty());
    EXPECT_EQ(ErrorLog(), "");
}

} // namespace
