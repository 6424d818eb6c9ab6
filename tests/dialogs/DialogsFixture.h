#pragma once

#include "dialogs/ISectionOpener.h"
#include "platform/forms/Driver.h"
#include "platform/forms/Form.h"
#include "platform/forms/StandardControls.h"
#include "platform/runtime/Object.h"
#include "tests/views/ViewsFixture.h"
#include "views/ViewSettings.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace dialogs::test {

inline const std::string kStartKey = "Start";
inline const std::string kDurationKey = "Duration";
inline const std::string kIconKey = "Icon";
inline const std::string kDueDateKey = "{00062003-0000-0000-C000-000000000046}/DueDate";
inline const std::string kCompaniesKey = "{00062008-0000-0000-C000-000000000046}/Companies";
inline const std::string kEntryIdKey = "{00020328-0000-0000-C000-000000000046}/PR_ENTRYID";

/// Stands in for the view dialog: holds the edited view that section dialogs read and write.
class TestOpener : public platform::runtime::Object, public ISectionOpener
{
public:
    views::ViewSettings* Vs() override { return m_oView.get(); }
    std::shared_ptr<views::ViewSettings> m_oView;
};

/// The catalogue of the test store, a view with the columns Subject, Start and Duration held
/// by a stand-in opener, and the forms driver cleared between tests.
class DialogsFixture : public views::test::ViewsFixture
{
protected:
    void SetUp() override;
    void TearDown() override;

    /// The opener's view.
    views::ViewSettings& View() { return *m_oOpener.m_oView; }
    /// The keys of the view's columns, in order.
    std::vector<std::string> ColumnKeys();
    /// The keys of the view's visible columns, in order.
    std::vector<std::string> VisibleKeys();
    /// The view's column of that key; fails the test when there is none.
    std::shared_ptr<views::GridField> Column(const std::string& sKey);

    /// Links the dialog to the opener, answers its modal show with `answer` and shows it.
    template <class TDialog> bool Run(const std::function<void(TDialog&)>& answer)
    {
        TDialog oDialog;
        oDialog.AsIChild().Init(&m_oOpener, {});
        platform::forms::Driver::current().QueueModal(
            oDialog.Name(),
            [&](platform::forms::Form& oForm) { answer(dynamic_cast<TDialog&>(oForm)); });
        oDialog.Show(platform::forms::ShowStyle::Modal);
        oDialog.AsIChild().ResetParentPtr();
        return oDialog.Confirmed;
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

    TestOpener m_oOpener;
};

} // namespace dialogs::test
