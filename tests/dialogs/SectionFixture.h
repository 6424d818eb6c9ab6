#pragma once

#include "dialogs/frmCalc.h"
#include "dialogs/frmFieldChooser.h"
#include "dialogs/frmGroupBy.h"
#include "dialogs/frmSort.h"
#include "dialogs/frmView.h"
#include "platform/forms/Driver.h"
#include "platform/forms/Form.h"
#include "platform/forms/StandardControls.h"
#include "tests/views/ViewsFixture.h"
#include "views/ViewSettings.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

namespace dialogs::test {

inline const std::string kStartKey = "Start";
inline const std::string kDurationKey = "Duration";
inline const std::string kIconKey = "Icon";
inline const std::string kDueDateKey = "{00062003-0000-0000-C000-000000000046}/DueDate";
inline const std::string kCompaniesKey = "{00062008-0000-0000-C000-000000000046}/Companies";
inline const std::string kEntryIdKey = "{00020328-0000-0000-C000-000000000046}/PR_ENTRYID";

/// The catalogue of the test store, a view with the columns Subject, Start and Duration, and
/// the forms driver cleared between tests. Section dialogs are opened from the view dialog,
/// as the user opens them.
class SectionFixture : public views::test::ViewsFixture
{
protected:
    void SetUp() override;
    void TearDown() override;

    /// The view the view dialog edits.
    views::ViewSettings& View() { return *m_oView; }
    /// The keys of the view's columns, in order.
    std::vector<std::string> ColumnKeys();
    /// The keys of the view's visible columns, in order.
    std::vector<std::string> VisibleKeys();
    /// The view's column of that key; fails the test when there is none.
    std::shared_ptr<views::GridField> Column(const std::string& sKey);

    /// Opens the view dialog on the view and clicks the section's button there; answers the
    /// section dialog with `answer`; then cancels the view dialog. The view then holds what
    /// the confirmed section wrote. True when the section dialog was confirmed.
    template <class TDialog> bool Run(const std::function<void(TDialog&)>& answer)
    {
        auto& oDriver = platform::forms::Driver::current();
        bool bConfirmed = false;
        oDriver.QueueModal("frmView", [&](platform::forms::Form& oForm) {
            auto& oView = dynamic_cast<frmView&>(oForm);
            ButtonOf<TDialog>(oView).Click();
            oView.cmdCancel().Click();
        });
        oDriver.QueueModal(TDialog().Name(), [&](platform::forms::Form& oForm) {
            auto& oDialog = dynamic_cast<TDialog&>(oForm);
            answer(oDialog);
            bConfirmed = oDialog.Confirmed;
        });
        frmView oView;
        oView.ShowForm(m_oView, nullptr);
        return bConfirmed;
    }

    /// Picks the entry of a grouping or sort level's field list that shows that caption.
    template <class TDialog>
    static void PickField(TDialog& oDialog, int i, const std::string& sCaption)
    {
        auto& oCombo = oDialog.cbo(i);
        for (int k = 0; k < oCombo.ListCount(); ++k)
            if (oCombo.List(k) == sCaption) {
                oCombo.SetListIndex(k);
                return;
            }
        ADD_FAILURE() << sCaption << " is not offered on level " << i;
    }

    /// The messages shown since the test started.
    static std::vector<std::string> Messages();

private:
    template <class TDialog> static platform::forms::CommandButton& ButtonOf(frmView& oView)
    {
        if constexpr (std::is_same_v<TDialog, frmGroupBy>)
            return oView.cmdGroupBy();
        else if constexpr (std::is_same_v<TDialog, frmSort>)
            return oView.cmdSort();
        else if constexpr (std::is_same_v<TDialog, frmCalc>)
            return oView.cmdCalc();
        else
            return oView.cmdFields();
    }

    std::shared_ptr<views::ViewSettings> m_oView;
};

} // namespace dialogs::test
