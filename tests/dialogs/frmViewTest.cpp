#include "DialogsFixture.h"

#include "common/ErrorHandling.h"
#include "dialogs/SectionDialog.h"
#include "dialogs/frmView.h"
#include "engine/Filter.h"
#include "platform/runtime/Error.h"
#include "views/GroupBy.h"
#include "views/SortBy.h"

#include <functional>
#include <optional>

namespace {

namespace pf = platform::forms;
namespace rt = platform::runtime;
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

TEST_F(frmViewTest, SectionWithoutADialogSaysSoAndChangesNothing)
{
    auto oView = CopyOfCurrentView();
    RunDialog(oView, [&](frmView& oDialog) {
        oDialog.cmdGroupBy().Click();
        oDialog.cmdCancel().Click();
    }, [](ViewSection) { return nullptr; });
    ASSERT_EQ(Driver::current().MessageBoxes().size(), 1u);
    EXPECT_EQ(Driver::current().MessageBoxes()[0].prompt,
              "The dialog \"Group by\" is not part of this build yet.");
    EXPECT_FALSE(m_oDialog->Confirmed);
    EXPECT_EQ(ErrorLog(), "");
}

} // namespace
