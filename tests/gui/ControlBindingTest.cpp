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
// Enter, while every change of the picker (the form acts on it too) shows on the field again;
// a change between two keys keeps what was typed.
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
        // The form changes the picker's other properties while the person types (each change
        // shows on the field): the digits typed so far and the section being typed stay.
        for (const char c : std::string(row.sTyped)) {
            QTest::keyClick(edit, c);
            const QString sBefore = edit->text();
            const int nSection = edit->currentSectionIndex();
            dpFrom->SetToolTipText(std::string("typed ") + c);
            EXPECT_EQ(edit->text(), sBefore) << c;
            EXPECT_EQ(edit->currentSectionIndex(), nSection) << c;
        }
        QTest::keyClick(edit, row.eEnd);
        EXPECT_EQ(dpFrom->Value().Serial(), rt::DateSerial(2026, 6, 1).Serial())
            << edit->text().toStdString();
        EXPECT_EQ(edit->date(), QDate(2026, 6, 1));
        EXPECT_GE(nChanges, 1);
        EXPECT_EQ(txtNext->Text(),
                  rt::Format(rt::Variant(rt::DateSerial(2026, 6, 1)), "Short Date"));
    }
}

// However the person comes into a date field (a click anywhere in it, Tab, Shift+Tab, an access
// key), a date typed in the regional order is the date the field and the picker take; digits
// typed into one section after a click change that section alone; a whole date that does not
// exist leaves the date the field held, never a date made of parts of both.
TEST_F(ControlBindingTest, ADateTypedAfterAClickTabOrAnAccessKeyIsTheDateTyped)
{
    enum class Entry
    {
        Click,
        Tab,
        Backtab,
        AccessKey
    };
    struct Row
    {
        const char* sLocale;
        Entry eEntry;
        int nClickAt; // the character of the field's text clicked at
        const char* sTyped;
        Qt::Key eEnd;
        int nYear, nMonth, nDay;
    };
    // The field holds 2 June 2026: "02.06.2026", "6/2/2026".
    const Row aRows[] = {
        {"de-DE", Entry::Click, 0, "15.03.2027", Qt::Key_Return, 2027, 3, 15},
        {"de-DE", Entry::Click, 1, "15.03.2027", Qt::Key_Tab, 2027, 3, 15},
        {"de-DE", Entry::Click, 4, "15.03.2027", Qt::Key_Tab, 2027, 3, 15},
        {"de-DE", Entry::Click, 8, "15.03.2027", Qt::Key_Return, 2027, 3, 15},
        {"de-DE", Entry::Click, 9, "15032027", Qt::Key_Return, 2027, 3, 15},
        {"de-DE", Entry::Click, 3, "20.04.27", Qt::Key_Tab, 2027, 4, 20},
        {"de-DE", Entry::Tab, 0, "15.03.2027", Qt::Key_Tab, 2027, 3, 15},
        {"de-DE", Entry::Backtab, 0, "15.03.2027", Qt::Key_Return, 2027, 3, 15},
        {"de-DE", Entry::AccessKey, 0, "15.03.2027", Qt::Key_Tab, 2027, 3, 15},
        {"de-DE", Entry::Click, 8, "2027", Qt::Key_Return, 2027, 6, 2},
        {"de-DE", Entry::Click, 1, "15", Qt::Key_Tab, 2026, 6, 15},
        {"de-DE", Entry::Click, 4, "11", Qt::Key_Return, 2026, 11, 2},
        {"de-DE", Entry::Click, 0, "31.02.2027", Qt::Key_Return, 2026, 6, 2},
        {"de-DE", Entry::Tab, 0, "15.13.2027", Qt::Key_Tab, 2026, 6, 2},
        {"en-US", Entry::Click, 0, "3/15/2027", Qt::Key_Tab, 2027, 3, 15},
        {"en-US", Entry::Click, 5, "03/15/2027", Qt::Key_Return, 2027, 3, 15},
        {"en-US", Entry::AccessKey, 0, "3/15/2027", Qt::Key_Return, 2027, 3, 15},
    };
    for (const Row& row : aRows) {
        SCOPED_TRACE(std::string(row.sLocale) + " " + std::to_string(int(row.eEntry)) + " at " +
                     std::to_string(row.nClickAt) + ": " + row.sTyped);
        platform::locale::SetCurrent(row.sLocale);
        pf::Form oForm("frmDates");
        auto txtBefore = oForm.Add<pf::TextBox>("txtBefore");
        auto dpFrom = oForm.Add<pf::DTPicker>("dpFrom");
        auto txtNext = oForm.Add<pf::TextBox>("txtNext");
        dpFrom->SetFormat(1);
        dpFrom->SetValue(rt::DateSerial(2026, 6, 2));
        oForm.Show();
        gui::FormView view(oForm);
        ASSERT_TRUE(guitest::ActivateWindow(view));
        auto* edit = qobject_cast<QDateEdit*>(view.WidgetOf("dpFrom"));
        ASSERT_NE(edit, nullptr);
        auto* line = edit->findChild<QLineEdit*>();
        ASSERT_NE(line, nullptr);
        switch (row.eEntry) {
        case Entry::Click: {
            // The point of the line whose click puts the cursor before that character.
            int x = 0;
            while (x < line->width() &&
                   line->cursorPositionAt(QPoint(x, line->height() / 2)) < row.nClickAt)
                ++x;
            QTest::mouseClick(line, Qt::LeftButton, {}, QPoint(x + 1, line->height() / 2));
            break;
        }
        case Entry::Tab:
            view.WidgetOf("txtBefore")->setFocus();
            QTest::keyClick(view.WidgetOf("txtBefore"), Qt::Key_Tab);
            break;
        case Entry::Backtab:
            view.WidgetOf("txtNext")->setFocus();
            QTest::keyClick(view.WidgetOf("txtNext"), Qt::Key_Backtab, Qt::ShiftModifier);
            break;
        case Entry::AccessKey:
            edit->setFocus(Qt::ShortcutFocusReason);
            break;
        }
        ASSERT_TRUE(edit->hasFocus());
        QTest::keyClicks(edit, row.sTyped);
        QTest::keyClick(edit, row.eEnd);
        if (row.eEnd == Qt::Key_Tab) { // from any section, Tab leaves the field
            EXPECT_TRUE(view.WidgetOf("txtNext")->hasFocus());
        }
        const QDate wanted(row.nYear, row.nMonth, row.nDay);
        EXPECT_EQ(edit->date(), wanted) << edit->text().toStdString();
        EXPECT_EQ(dpFrom->Value().Serial(),
                  rt::DateSerial(row.nYear, row.nMonth, row.nDay).Serial());
        EXPECT_EQ(
            edit->text().toStdString(),
            rt::Format(rt::Variant(rt::DateSerial(row.nYear, row.nMonth, row.nDay)), "Short Date"));
    }
}

// Keys between the digits: Backspace takes back the last key typed, Left, Right, Home, End and
// Ctrl+A go to a section and the digits typed before stay in the field, Up steps the section
// and goes on at once; a date the field cannot hold (no year 0, none before its first day) is
// not taken. Digits alone run on from section to section. The field holds 2 June 2026.
TEST_F(ControlBindingTest, KeysBetweenTheDigitsEditTheDateAsAPersonExpects)
{
    // The keys: a character is typed; '<' '>' Left and Right, '^' Home, '$' End, '*' Ctrl+A,
    // '~' Backspace, '+' Up (of the section the cursor stands in: a full one moves it on). The
    // row ends with Enter, or with nothing where the date must have gone on before it.
    struct Row
    {
        const char* sLocale;
        const char* sKeys;
        bool bEnter;
        int nYear, nMonth, nDay;
    };
    const Row aRows[] = {
        {"de-DE", "16~5.03.2027", false, 2027, 3, 15},
        {"de-DE", "20~~15", true, 2026, 6, 15},
        {"de-DE", "1>3", true, 2026, 3, 1},
        {"de-DE", "$2027<3", true, 2027, 3, 2},
        {"de-DE", "$2027<<9", true, 2027, 6, 9},
        {"de-DE", "*15", true, 2026, 6, 15},
        {"de-DE", "$^15", true, 2026, 6, 15},
        {"de-DE", "$$$2027", true, 2027, 6, 2},
        {"de-DE", "2+", false, 2026, 6, 3},
        {"de-DE", "15+", false, 2026, 7, 15}, // the full day moved on to the month
        {"de-DE", "5032027", false, 2027, 3, 5},
        {"de-DE", "01.02.0000", true, 2026, 6, 2},
        {"de-DE", "15.03.1500", true, 2026, 6, 2},
        // Whole at its fourth year digit; the fifth begins a new year, which one digit is not.
        {"de-DE", "15.03.20271", true, 2027, 3, 15},
        {"de-DE", "15.03.2", true, 2026, 6, 2},
        {"en-US", "1>15>2027", true, 2027, 1, 15},
        {"en-US", "3152027", false, 2027, 3, 15},
    };
    for (const Row& row : aRows) {
        SCOPED_TRACE(std::string(row.sLocale) + " " + row.sKeys);
        platform::locale::SetCurrent(row.sLocale);
        pf::Form oForm("frmDates");
        auto dpFrom = oForm.Add<pf::DTPicker>("dpFrom");
        auto txtNext = oForm.Add<pf::TextBox>("txtNext");
        dpFrom->SetFormat(1);
        dpFrom->SetValue(rt::DateSerial(2026, 6, 2));
        oForm.Show();
        gui::FormView view(oForm);
        ASSERT_TRUE(guitest::ActivateWindow(view));
        auto* edit = qobject_cast<QDateEdit*>(view.WidgetOf("dpFrom"));
        ASSERT_NE(edit, nullptr);
        auto* line = edit->findChild<QLineEdit*>();
        ASSERT_NE(line, nullptr);
        QTest::mouseClick(line, Qt::LeftButton, {}, QPoint(3, line->height() / 2));
        ASSERT_TRUE(edit->hasFocus());
        for (const char c : std::string(row.sKeys)) {
            switch (c) {
            case '<':
                QTest::keyClick(edit, Qt::Key_Left);
                break;
            case '>':
                QTest::keyClick(edit, Qt::Key_Right);
                break;
            case '^':
                QTest::keyClick(edit, Qt::Key_Home);
                break;
            case '$':
                QTest::keyClick(edit, Qt::Key_End);
                break;
            case '*':
                QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
                break;
            case '~':
                QTest::keyClick(edit, Qt::Key_Backspace);
                break;
            case '+':
                QTest::keyClick(edit, Qt::Key_Up);
                break;
            default:
                QTest::keyClick(edit, c);
                break;
            }
        }
        if (row.bEnter)
            QTest::keyClick(edit, Qt::Key_Return);
        const QDate wanted(row.nYear, row.nMonth, row.nDay);
        EXPECT_EQ(dpFrom->Value().Serial(),
                  rt::DateSerial(row.nYear, row.nMonth, row.nDay).Serial())
            << edit->text().toStdString();
        EXPECT_EQ(edit->date(), wanted) << edit->text().toStdString();
        EXPECT_EQ(
            edit->text().toStdString(),
            rt::Format(rt::Variant(rt::DateSerial(row.nYear, row.nMonth, row.nDay)), "Short Date"));
    }
}

} // namespace
