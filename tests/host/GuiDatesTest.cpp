// The date fields of the windows as a person types into them: every way into each field, each
// key a person may press before the digits, each way of writing a date, in the order of the
// run's regional settings (TV_GUI_LANG en: month/day/year, de: day.month.year). The expected
// dates are written out by hand below, for both orders.
#include "GuiHostFixture.h"
#include "gui/FormView.h"
#include "host/GuiHost.h"
#include "platform/forms/Form.h"
#include "platform/forms/StandardControls.h"
#include "platform/locale/Locale.h"
#include "platform/runtime/Date.h"

#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace {

namespace pf = platform::forms;
namespace rt = platform::runtime;

using Ymd = std::tuple<int, int, int>;
constexpr Ymd kHeld{2026, 12, 10}; // both fields hold 10 December 2026 before each typing

// What a typing ends in: the From and To fields after Enter (the dialog keeps To on or after
// From: the field not typed into follows a typed date that passes it).
struct Outcome
{
    Ymd from, to;
};

// Each way of writing a date, and what it gives typed into From and into To, in each order.
struct Typing
{
    const char* sKeys;
    bool bWholeAtLastKey; // its last key ends a whole date: it goes on before Enter
    Outcome dayFirstIntoFrom, dayFirstIntoTo;     // dd.MM.yyyy
    Outcome monthFirstIntoFrom, monthFirstIntoTo; // M/d/yyyy
};
const Ymd k15Mar27{2027, 3, 15}, k5Mar27{2027, 3, 5}, k31Jan27{2027, 1, 31}, k15Mar26{2026, 3, 15},
    k3May27{2027, 5, 3};
const Outcome kKept{kHeld, kHeld};
const Typing kTypings[] = {
    // Day first: 15 March 2027. Month first: no 15th month, the dates stay.
    {"15.03.2027", true, {k15Mar27, k15Mar27}, {kHeld, k15Mar27}, kKept, kKept},
    // Day first: 5 March. Month first: 3 May. One-digit parts and the year's two digits.
    {"5.3.2027", true, {k5Mar27, k5Mar27}, {kHeld, k5Mar27}, {k3May27, k3May27}, {kHeld, k3May27}},
    {"5.3.27", false, {k5Mar27, k5Mar27}, {kHeld, k5Mar27}, {k3May27, k3May27}, {kHeld, k3May27}},
    {"15032027", true, {k15Mar27, k15Mar27}, {kHeld, k15Mar27}, kKept, kKept},
    {"31.1.2027", true, {k31Jan27, k31Jan27}, {kHeld, k31Jan27}, kKept, kKept},
    // No such day: the dates stay.
    {"31.02.2027", true, kKept, kKept, kKept, kKept},
    // Day and month alone keep the year shown; To before From takes From with it.
    {"15.03", false, {k15Mar26, kHeld}, {k15Mar26, k15Mar26}, kKept, kKept},
};

enum class Entry
{
    Click,       // at the start, middle or end of a section
    DoubleClick, // in the middle of a section
    Tab,         // from the control before
    Backtab,     // from the control after
    AccessKey,   // its caption's
};
struct Way
{
    Entry eEntry;
    int nSection = 0; // 0 to 2, in the order the field shows them
    int nAt = 0;      // 0 start, 1 middle, 2 end of the section
};

// The keys pressed after coming in and before typing, and where the typing then goes: the
// field itself, the other date field, or another control (Tab and Shift+Tab leave the field).
struct PreKey
{
    const char* sName;
    Qt::Key eKey;
    Qt::KeyboardModifiers eModifiers;
};
const PreKey kPreKeys[] = {
    {"none", Qt::Key_unknown, {}},
    {"Home", Qt::Key_Home, {}},
    {"End", Qt::Key_End, {}},
    {"Ctrl+A", Qt::Key_A, Qt::ControlModifier},
    {"Backspace", Qt::Key_Backspace, {}},
    {"Delete", Qt::Key_Delete, {}},
    {"Left", Qt::Key_Left, {}},
    {"Right", Qt::Key_Right, {}},
    {"Tab", Qt::Key_Tab, {}},
    {"Shift+Tab", Qt::Key_Backtab, Qt::ShiftModifier},
};

// A date field, its neighbours in the window's tab order, and where Tab and Shift+Tab from it
// send the typing.
struct Field
{
    const char* sName;
    const char* sBefore; // Shift+Tab from the field goes here
    const char* sAfter;  // Tab from the field goes here
};
const Field kFields[] = {
    {"dpFrom", "cboDateRange", "dpTo"},
    {"dpTo", "dpFrom", "cmdCategories"},
};

class GuiDatesTest : public host_test::GuiHostFixture
{
protected:
    static int Serial(const Ymd& d)
    {
        return static_cast<int>(
            std::floor(rt::DateSerial(std::get<0>(d), std::get<1>(d), std::get<2>(d)).Serial()));
    }
    static int Serial(const pf::DTPicker& picker)
    {
        return static_cast<int>(std::floor(picker.Value().Serial()));
    }
    static std::string Text(const Ymd& d)
    {
        std::ostringstream s;
        s << std::get<0>(d) << "-" << std::get<1>(d) << "-" << std::get<2>(d);
        return s.str();
    }
    // The point of the line whose click puts the cursor before that character.
    static QPoint PointAt(QLineEdit& line, int nCharacter)
    {
        int x = 0;
        while (x < line.width() && line.cursorPositionAt(QPoint(x, line.height() / 2)) < nCharacter)
            ++x;
        return QPoint(x + 1, line.height() / 2);
    }
    // The character positions of a section of the field's text: start, middle, end.
    static int PositionIn(const QString& sText, const Way& way)
    {
        int nSection = 0, nStart = -1;
        for (int i = 0; i <= sText.size(); ++i) {
            const bool bDigit = i < sText.size() && sText[i].isDigit();
            if (bDigit && nStart < 0)
                nStart = i;
            if (!bDigit && nStart >= 0) {
                if (nSection == way.nSection)
                    return way.nAt == 0 ? nStart : way.nAt == 1 ? (nStart + i) / 2 : i;
                ++nSection;
                nStart = -1;
            }
        }
        return 0;
    }
    // The access key of the caption whose buddy the field is, as Alt+letter.
    static Qt::Key AccessKeyOf(gui::FormView& oDialog, QWidget* pField)
    {
        for (QLabel* pLabel : oDialog.findChildren<QLabel*>())
            if (pLabel->buddy() == pField) {
                const QString s = pLabel->text();
                const auto at = s.indexOf(QLatin1Char('&'));
                if (at >= 0 && at + 1 < s.size())
                    return static_cast<Qt::Key>(s[at + 1].toUpper().unicode());
            }
        return Qt::Key_unknown;
    }
};

// Each date field of the filter, entered in every way, each key before the digits, each way of
// writing a date, then Enter: the field shows and holds the date written (or, where there is no
// such date, the date it held), the other field follows only a whole date, and Enter hands the
// window the two fields show to the report (the dialog's OK, held here so that the dialog stays
// for the next typing). Enter of the main keys and of the keypad take turns.
TEST_F(GuiDatesTest, EveryDateTypedIntoEveryDateFieldIsTheDateWritten)
{
    std::ostringstream out;
    host::GuiHost oHost(oOptions, TV_ADDIN_PATH, out);
    gui::FormView* pView = OpenReportWindow(oHost);
    ASSERT_NE(pView, nullptr) << out.str();
    int nRows = 0;
    WhenFormShown("frmView", [&](gui::FormView& oView) {
        WhenFormShown("frmFilter", [&](gui::FormView& oDialog) {
            ASSERT_TRUE(guitest::ActivateWindow(oDialog));
            const std::string sPattern = platform::locale::ShortDatePattern();
            const bool bDayFirst = sPattern.rfind("dd.MM.yyyy", 0) == 0;
            ASSERT_TRUE(bDayFirst || sPattern.rfind("M/d/yyyy", 0) == 0) << sPattern;
            auto& oForm = oDialog.Form();
            auto& dpFrom = dynamic_cast<pf::DTPicker&>(*oForm.FindControl("dpFrom"));
            auto& dpTo = dynamic_cast<pf::DTPicker&>(*oForm.FindControl("dpTo"));
            auto& cboRange = dynamic_cast<pf::ComboBox&>(*oForm.FindControl("cboDateRange"));
            // A date field first, and the window between two dates.
            auto* pDateField = qobject_cast<QComboBox*>(oDialog.WidgetOf("cboDateField"));
            ASSERT_NE(pDateField, nullptr);
            pDateField->setCurrentIndex(1);
            emit pDateField->activated(1);
            constexpr int kBetween = 6;
            // The buttons are held: the one Enter presses is noted with the dates OK would
            // hand on, and the dialog stays.
            std::vector<std::string> vPressed;
            int nOkFrom = 0, nOkTo = 0, nOkRange = -1;
            std::vector<std::pair<std::shared_ptr<pf::CommandButton>, std::function<void()>>> vHeld;
            for (const auto& oControl : oForm.Controls())
                if (auto oButton = std::dynamic_pointer_cast<pf::CommandButton>(oControl)) {
                    vHeld.emplace_back(oButton, oButton->OnClick);
                    oButton->OnClick = [&, sName = oButton->Name()] {
                        vPressed.push_back(sName);
                        nOkFrom = Serial(dpFrom);
                        nOkTo = Serial(dpTo);
                        nOkRange = cboRange.ListIndex();
                    };
                }
            QWidget* pRest = oDialog.WidgetOf("txtSubject");
            ASSERT_NE(pRest, nullptr);
            for (const Field& field : kFields) {
                auto* pEdit = qobject_cast<QDateEdit*>(oDialog.WidgetOf(field.sName));
                ASSERT_NE(pEdit, nullptr) << field.sName;
                auto* pLine = pEdit->findChild<QLineEdit*>();
                ASSERT_NE(pLine, nullptr);
                const Qt::Key eAccess = AccessKeyOf(oDialog, pEdit);
                ASSERT_NE(eAccess, Qt::Key_unknown) << field.sName << " has no access key";
                std::vector<Way> vWays;
                for (int s = 0; s < 3; ++s) {
                    for (int at = 0; at < 3; ++at)
                        vWays.push_back({Entry::Click, s, at});
                    vWays.push_back({Entry::DoubleClick, s, 1});
                }
                vWays.push_back({Entry::Tab});
                vWays.push_back({Entry::Backtab});
                vWays.push_back({Entry::AccessKey});
                for (const Way& way : vWays)
                    for (const PreKey& pre : kPreKeys)
                        for (const Typing& typing : kTypings) {
                            const int nRow = nRows++;
                            SCOPED_TRACE(std::string(field.sName) + ", entry " +
                                         std::to_string(int(way.eEntry)) + " section " +
                                         std::to_string(way.nSection) + " at " +
                                         std::to_string(way.nAt) + ", " + pre.sName + ", " +
                                         typing.sKeys);
                            // Leave the fields, then put both dates back.
                            pRest->setFocus(Qt::OtherFocusReason);
                            dpFrom.SetValue(rt::DateSerial(2026, 12, 10));
                            dpTo.SetValue(rt::DateSerial(2026, 12, 10));
                            cboRange.SetListIndex(kBetween);
                            vPressed.clear();
                            switch (way.eEntry) {
                            case Entry::Click:
                                QTest::mouseClick(pLine, Qt::LeftButton, {},
                                                  PointAt(*pLine, PositionIn(pLine->text(), way)));
                                break;
                            case Entry::DoubleClick:
                                QTest::mouseDClick(pLine, Qt::LeftButton, {},
                                                   PointAt(*pLine, PositionIn(pLine->text(), way)));
                                break;
                            case Entry::Tab:
                                oDialog.WidgetOf(field.sBefore)->setFocus(Qt::OtherFocusReason);
                                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
                                break;
                            case Entry::Backtab:
                                oDialog.WidgetOf(field.sAfter)->setFocus(Qt::OtherFocusReason);
                                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab,
                                                Qt::ShiftModifier);
                                break;
                            case Entry::AccessKey:
                                // A letter two captions share reaches them in turn ("&To" and
                                // "&Task Status").
                                for (int n = 0; n < 3 && !pEdit->hasFocus(); ++n)
                                    QTest::keyClick(&oDialog, eAccess, Qt::AltModifier);
                                break;
                            }
                            ASSERT_TRUE(pEdit->hasFocus()) << "the way in did not reach the field";
                            if (pre.eKey != Qt::Key_unknown)
                                QTest::keyClick(pEdit, pre.eKey, pre.eModifiers);
                            // Tab and Shift+Tab leave the field for its neighbours: the typing
                            // goes there.
                            const char* sTarget = pre.eKey == Qt::Key_Tab       ? field.sAfter
                                                  : pre.eKey == Qt::Key_Backtab ? field.sBefore
                                                                                : field.sName;
                            QWidget* pTarget = oDialog.WidgetOf(sTarget);
                            ASSERT_TRUE(pTarget && pTarget->hasFocus())
                                << pre.sName << " did not go to " << sTarget;
                            // A date goes on to the dialog only when whole: no key before
                            // the last moves either field (the dialog acts on each change).
                            const std::string sKeys = typing.sKeys;
                            const std::string sInto = sTarget;
                            const Outcome& outcome =
                                sInto == "dpFrom" ? (bDayFirst ? typing.dayFirstIntoFrom
                                                               : typing.monthFirstIntoFrom)
                                : sInto == "dpTo"
                                    ? (bDayFirst ? typing.dayFirstIntoTo : typing.monthFirstIntoTo)
                                    : kKept;
                            for (size_t i = 0; i < sKeys.size(); ++i) {
                                QTest::keyClick(pTarget, sKeys[i]);
                                const bool bLast = i + 1 == sKeys.size();
                                const Outcome& now =
                                    bLast && typing.bWholeAtLastKey ? outcome : kKept;
                                EXPECT_EQ(Serial(dpFrom), Serial(now.from))
                                    << "From after " << sKeys.substr(0, i + 1);
                                EXPECT_EQ(Serial(dpTo), Serial(now.to))
                                    << "To after " << sKeys.substr(0, i + 1);
                            }
                            if (nRow % 2 == 0)
                                QTest::keyClick(pTarget, Qt::Key_Return);
                            else
                                QTest::keyClick(pTarget, Qt::Key_Enter, Qt::KeypadModifier);
                            EXPECT_EQ(Serial(dpFrom), Serial(outcome.from))
                                << "From: wanted " << Text(outcome.from);
                            EXPECT_EQ(Serial(dpTo), Serial(outcome.to))
                                << "To: wanted " << Text(outcome.to);
                            for (const auto& [pField, wanted] :
                                 {std::pair{oDialog.WidgetOf("dpFrom"), outcome.from},
                                  {oDialog.WidgetOf("dpTo"), outcome.to}}) {
                                const auto* pShown = qobject_cast<QDateEdit*>(pField);
                                EXPECT_EQ(pShown->date(),
                                          QDate(std::get<0>(wanted), std::get<1>(wanted),
                                                std::get<2>(wanted)))
                                    << pShown->objectName().toStdString() << " shows "
                                    << pShown->text().toStdString();
                            }
                            // Enter on a button presses that button; anywhere else, OK.
                            const bool bOnButton = sInto == "cmdCategories";
                            ASSERT_EQ(vPressed.size(), 1u) << "Enter pressed no button once";
                            EXPECT_EQ(vPressed[0], bOnButton ? "cmdCategories" : "cmdOK");
                            EXPECT_EQ(nOkFrom, Serial(outcome.from)) << "the window's start";
                            EXPECT_EQ(nOkTo, Serial(outcome.to)) << "the window's end";
                            EXPECT_EQ(nOkRange, kBetween);
                            if (HasFatalFailure() || guitest::FailureCount() > 40)
                                return;
                        }
            }
            for (auto& [oButton, fnClick] : vHeld)
                oButton->OnClick = fnClick;
            QTest::mouseClick(oDialog.WidgetOf("cmdCancel"), Qt::LeftButton);
        });
        QTest::mouseClick(oView.WidgetOf("cmdFilter"), Qt::LeftButton);
        QTest::mouseClick(oView.WidgetOf("cmdCancel"), Qt::LeftButton);
    });
    EXPECT_TRUE(MenuOf(*pView).Click("setview"));
    EXPECT_EQ(nRows, 2 * 15 * 10 * 7);
    oHost.Stop();
}

// One field after the other, each left before the next is typed into: From typed with
// one-digit parts and a two-digit year, then To: neither half-typed date reaches the dialog, so
// From never follows a To that is half typed, and the window spans what was typed (2 months).
// Shift+Tab from To goes to From, not to a section of To.
TEST_F(GuiDatesTest, TwoDatesTypedOneAfterTheOtherAreTheWindow)
{
    std::ostringstream out;
    host::GuiHost oHost(oOptions, TV_ADDIN_PATH, out);
    gui::FormView* pView = OpenReportWindow(oHost);
    ASSERT_NE(pView, nullptr) << out.str();
    int nFrom = 0, nTo = 0, nFromAtOK = 0, nToAtOK = 0;
    bool bDone = false;
    WhenFormShown("frmView", [&](gui::FormView& oView) {
        WhenFormShown("frmFilter", [&](gui::FormView& oDialog) {
            ASSERT_TRUE(guitest::ActivateWindow(oDialog));
            const bool bDayFirst = platform::locale::ShortDatePattern().rfind("dd.MM.yyyy", 0) == 0;
            auto& oForm = oDialog.Form();
            auto& dpFrom = dynamic_cast<pf::DTPicker&>(*oForm.FindControl("dpFrom"));
            auto& dpTo = dynamic_cast<pf::DTPicker&>(*oForm.FindControl("dpTo"));
            auto* pDateField = qobject_cast<QComboBox*>(oDialog.WidgetOf("cboDateField"));
            ASSERT_NE(pDateField, nullptr);
            pDateField->setCurrentIndex(1);
            emit pDateField->activated(1);
            dpFrom.SetValue(rt::DateSerial(2026, 12, 10));
            dpTo.SetValue(rt::DateSerial(2026, 12, 10));
            auto& cmdOK = dynamic_cast<pf::CommandButton&>(*oForm.FindControl("cmdOK"));
            auto fnOK = cmdOK.OnClick;
            cmdOK.OnClick = [&, fnOK] {
                nFromAtOK = Serial(dpFrom);
                nToAtOK = Serial(dpTo);
                if (fnOK)
                    fnOK();
            };
            QWidget* pFrom = oDialog.WidgetOf("dpFrom");
            QWidget* pTo = oDialog.WidgetOf("dpTo");
            QTest::keyClick(&oDialog, AccessKeyOf(oDialog, pFrom), Qt::AltModifier);
            ASSERT_TRUE(pFrom->hasFocus());
            QTest::keyClicks(pFrom, bDayFirst ? "1.12.26" : "12.1.26");
            QTest::keyClick(pFrom, Qt::Key_Tab);
            ASSERT_TRUE(pTo->hasFocus());
            QTest::keyClicks(pTo, bDayFirst ? "31.1.2027" : "1.31.2027");
            QTest::keyClick(pTo, Qt::Key_Backtab, Qt::ShiftModifier);
            EXPECT_TRUE(pFrom->hasFocus()) << "Shift+Tab from To did not go to From";
            nFrom = Serial(dpFrom);
            nTo = Serial(dpTo);
            bDone = true;
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            EXPECT_FALSE(oDialog.isVisible()) << "Enter did not press OK";
            if (oDialog.isVisible())
                QTest::mouseClick(oDialog.WidgetOf("cmdCancel"), Qt::LeftButton);
        });
        QTest::mouseClick(oView.WidgetOf("cmdFilter"), Qt::LeftButton);
        QTest::mouseClick(oView.WidgetOf("cmdCancel"), Qt::LeftButton);
    });
    EXPECT_TRUE(MenuOf(*pView).Click("setview"));
    ASSERT_TRUE(bDone);
    EXPECT_EQ(nFrom, Serial(Ymd{2026, 12, 1}));
    EXPECT_EQ(nTo, Serial(Ymd{2027, 1, 31}));
    EXPECT_EQ(nFromAtOK, Serial(Ymd{2026, 12, 1})) << "the window's start";
    EXPECT_EQ(nToAtOK, Serial(Ymd{2027, 1, 31})) << "the window's end";
    oHost.Stop();
}

} // namespace
