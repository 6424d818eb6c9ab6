#include "GuiFixture.h"

#include "gui/FormView.h"
#include "platform/forms/Form.h"
#include "platform/forms/StandardControls.h"
#include "platform/locale/Locale.h"
#include "platform/runtime/Date.h"
#include "platform/runtime/Format.h"

#include <QDateEdit>
#include <QLineEdit>
#include <QTest>

#include <string>

namespace {

namespace pf = platform::forms;
namespace rt = platform::runtime;
using guitest::GuiFixture;

using ControlBindingTest = GuiFixture;

// A date typed digit by digit into a date field, in the order of the regional settings and with
// or without its separators, is the picker's value once the person leaves the field or presses
// Enter, while every change of the picker (the form acts on it too) shows on the field again.
TEST_F(ControlBindingTest, ADateTypedIntoADateFieldIsTheValueTyped)
{
    struct Row
    {
        const char* sLocale;
        const char* sTyped;
        Qt::Key eEnd;
    };
    const Row aRows[] = {
        {"de-DE", "01.06.2026", Qt::Key_Tab},    {"de-DE", "01062026", Qt::Key_Return},
        {"de-DE", "1.6.2026", Qt::Key_Tab},      {"en-US", "6/1/2026", Qt::Key_Tab},
        {"en-US", "06/01/2026", Qt::Key_Return},
    };
    for (const Row& row : aRows) {
        SCOPED_TRACE(std::string(row.sLocale) + " " + row.sTyped);
        platform::locale::SetCurrent(row.sLocale);
        pf::Form oForm("frmDates");
        auto dpFrom = oForm.Add<pf::DTPicker>("dpFrom");
        auto txtNext = oForm.Add<pf::TextBox>("txtNext");
        dpFrom->SetFormat(1);
        dpFrom->SetValue(rt::DateSerial(2026, 12, 10));
        int nChanges = 0;
        // As the filter does: a change of the date changes the form's other controls too.
        dpFrom->OnChange = [&] {
            ++nChanges;
            txtNext->SetText(rt::Format(rt::Variant(dpFrom->Value()), "Short Date"));
        };
        oForm.Show();
        gui::FormView view(oForm);
        // The person's keys go to the active window; the field's focus leaves with Tab.
        view.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&view));
        auto* edit = qobject_cast<QDateEdit*>(view.WidgetOf("dpFrom"));
        ASSERT_NE(edit, nullptr);
        edit->setFocus(Qt::TabFocusReason);
        QTest::keyClicks(edit, row.sTyped);
        QTest::keyClick(edit, row.eEnd);
        EXPECT_EQ(dpFrom->Value().Serial(), rt::DateSerial(2026, 6, 1).Serial())
            << edit->text().toStdString();
        EXPECT_EQ(edit->date(), QDate(2026, 6, 1));
        EXPECT_GE(nChanges, 1);
        EXPECT_EQ(txtNext->Text(),
                  rt::Format(rt::Variant(rt::DateSerial(2026, 6, 1)), "Short Date"));
    }
}

} // namespace
