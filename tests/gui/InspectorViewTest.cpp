#include "GuiFixture.h"

#include "gui/InspectorView.h"
#include "platform/outlook/CommandBars.h"
#include "platform/outlook/Inspector.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QToolBar>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

namespace ol = platform::outlook;
using guitest::GuiFixture;

using InspectorViewTest = GuiFixture;

// The actions the window's tool bar of that name offers, by caption.
std::vector<QAction*> ActionsOf(gui::InspectorView& view, const char* bar)
{
    std::vector<QAction*> actions;
    for (QToolBar* toolBar : view.findChildren<QToolBar*>(QString::fromUtf8(bar)))
        if (!toolBar->isHidden())
            for (QAction* action : toolBar->actions())
                if (!action->isSeparator())
                    actions.push_back(action);
    return actions;
}

TEST_F(InspectorViewTest, ShowsTheBarsOfTheItemWindowAndPassesTheirClicksOn)
{
    auto oInspector = std::make_shared<ol::Inspector>();
    oInspector->Caption = "Besprechung Größe";
    auto oBar = oInspector->CommandBars()->Add("Tallyman");
    auto oButton = oBar->Controls().Add();
    oButton->Caption = "Kategorien";
    oButton->Tag = "cat";
    auto oHidden = oBar->Controls().Add();
    oHidden->Caption = "Hidden";
    oHidden->Visible = false;
    auto oOff = oBar->Controls().Add();
    oOff->Caption = "Off";
    oOff->Enabled = false;
    std::vector<std::string> vClicks;
    oButton->OnClick([&](ol::CommandBarButton& o, bool&) { vClicks.push_back(o.Tag); });
    gui::ItemContent oContent;
    oContent.sSubject = "Besprechung Größe";

    gui::InspectorView view(oInspector, [&] { return oContent; }, {}, {});
    view.show();
    EXPECT_EQ(view.windowTitle(), QStringLiteral("Besprechung Größe"));
    EXPECT_EQ(view.Text(), QStringLiteral("Subject: Besprechung Größe\n"));
    auto vActions = ActionsOf(view, "Tallyman");
    ASSERT_EQ(vActions.size(), 2U);
    EXPECT_EQ(vActions[0]->text(), QStringLiteral("Kategorien"));
    EXPECT_TRUE(vActions[0]->isEnabled());
    EXPECT_FALSE(vActions[1]->isEnabled());
    vActions[0]->trigger();
    EXPECT_EQ(vClicks, std::vector<std::string>{"cat"});

    // The add-in adds a bar and changes the item after the window opened.
    auto oMore = oInspector->CommandBars()->Add("More");
    oMore->Controls().Add()->Caption = "Drucken";
    oContent.vFields.push_back({"Categories", "Projekt"});
    view.Pull();
    EXPECT_EQ(view.Text(), QStringLiteral("Subject: Besprechung Größe\nCategories: Projekt\n"));
    ASSERT_EQ(ActionsOf(view, "More").size(), 1U);
    EXPECT_EQ(ActionsOf(view, "More")[0]->text(), QStringLiteral("Drucken"));

    // The person hides a bar through the client: it goes from the window.
    oInspector->CommandBars()->UserSetVisible("Tallyman", false);
    QApplication::processEvents();
    EXPECT_TRUE(ActionsOf(view, "Tallyman").empty());
    EXPECT_EQ(ActionsOf(view, "More").size(), 1U);
}

TEST_F(InspectorViewTest, ABarChangedByItsOwnClickLeavesSafely)
{
    auto oInspector = std::make_shared<ol::Inspector>();
    auto oBar = oInspector->CommandBars()->Add("Tallyman");
    auto oButton = oBar->Controls().Add();
    oButton->Caption = "Hide";
    oButton->OnClick([&](ol::CommandBarButton&, bool&) {
        oInspector->CommandBars()->UserSetVisible("Tallyman", false);
    });
    {
        gui::InspectorView view(oInspector, {}, {}, {});
        view.show();
        ActionsOf(view, "Tallyman").at(0)->trigger();
        QApplication::processEvents();
        EXPECT_TRUE(ActionsOf(view, "Tallyman").empty());
        EXPECT_TRUE(view.findChild<QLineEdit*>("subject")->text().isEmpty());
    }
    // The closed window no longer listens to the bars.
    oInspector->CommandBars()->UserSetVisible("Tallyman", true);
    EXPECT_TRUE(oBar->Visible);
}

TEST_F(InspectorViewTest, AMailIsEditedAndSentFromItsWindowOthersShowReadOnly)
{
    auto oInspector = std::make_shared<ol::Inspector>();
    gui::ItemContent oMail;
    oMail.bMail = oMail.bSendable = true;
    oMail.sSubject = "Bericht";
    oMail.sBody = "Anbei der Bericht.";
    oMail.vAttachments = {"Bericht.xlsx (5120 Bytes)"};
    std::vector<gui::MailEdits> vSent;
    bool bFail = true;
    const auto send = [&](const gui::MailEdits& oEdits) {
        if (bFail)
            throw std::runtime_error("The message has no recipients.");
        vSent.push_back(oEdits);
    };
    const auto german = [](const std::string& s) { return s == "To" ? std::string("An") : s; };
    auto* view = new gui::InspectorView(
        oInspector, [&] { return oMail; }, send, german);
    view->setAttribute(Qt::WA_DeleteOnClose);
    QPointer<gui::InspectorView> guard(view);
    view->show();
    auto* pTo = view->findChild<QLineEdit*>("to");
    auto* pSubject = view->findChild<QLineEdit*>("subject");
    auto* pBody = view->findChild<QPlainTextEdit*>("body");
    auto* pSend = view->findChild<QPushButton*>("send");
    ASSERT_TRUE(pTo && pSubject && pBody && pSend);
    EXPECT_TRUE(view->Text().startsWith(QStringLiteral("An: \n")));
    EXPECT_TRUE(view->Text().contains(QStringLiteral("Bericht.xlsx (5120 Bytes)")));
    for (QWidget* pEdit : std::initializer_list<QWidget*>{pTo, pSubject, pBody})
        EXPECT_TRUE(pEdit->isVisible() && pEdit->isEnabled());
    EXPECT_FALSE(pTo->isReadOnly());
    EXPECT_FALSE(pBody->isReadOnly());

    // Sent with no recipient: the window stays, says why, and keeps the person's text.
    QTest::keyClicks(pSubject, QStringLiteral(" Mai"));
    // The title follows the subject as it is typed.
    EXPECT_EQ(view->windowTitle(), QStringLiteral("Bericht Mai"));
    QTest::mouseClick(pSend, Qt::LeftButton);
    ASSERT_TRUE(guard);
    EXPECT_TRUE(view->isVisible());
    auto* pError = view->findChild<QLabel*>("error");
    ASSERT_NE(pError, nullptr);
    EXPECT_TRUE(pError->isVisible());
    EXPECT_TRUE(pError->text().contains(QStringLiteral("no recipients")));
    // The add-in changes the item meanwhile: the person's edit stays.
    oMail.sSubject = "Anderer Betreff";
    view->Pull();
    EXPECT_EQ(pSubject->text(), QStringLiteral("Bericht Mai"));
    EXPECT_EQ(view->windowTitle(), QStringLiteral("Bericht Mai"));

    bFail = false;
    QTest::keyClicks(pTo, QStringLiteral("team@kestrova.example"));
    QTest::mouseClick(pSend, Qt::LeftButton);
    QApplication::processEvents();
    ASSERT_EQ(vSent.size(), 1U);
    EXPECT_EQ(vSent[0].sTo, "team@kestrova.example");
    EXPECT_EQ(vSent[0].sSubject, "Bericht Mai");
    EXPECT_EQ(vSent[0].sBody, "Anbei der Bericht.");
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(guard); // the window closed

    // An appointment: its fields and its notes read-only, no Send.
    gui::ItemContent oAppointment;
    oAppointment.sSubject = "Wochenenddienst";
    oAppointment.vFields = {{"Start", "03.01.2027 08:00:00"}, {"Categories", "Keine"}};
    oAppointment.sBody = "Schlüssel beim Pförtner.";
    gui::InspectorView other(oInspector, [&] { return oAppointment; }, send, {});
    other.show();
    EXPECT_FALSE(other.findChild<QPushButton*>("send")->isVisible());
    EXPECT_FALSE(other.findChild<QLineEdit*>("to")->isVisible());
    EXPECT_TRUE(other.findChild<QLineEdit*>("subject")->isReadOnly());
    EXPECT_TRUE(other.findChild<QPlainTextEdit*>("body")->isReadOnly());
    EXPECT_EQ(other.Text(), QString::fromUtf8("Subject: Wochenenddienst\nStart: 03.01.2027 "
                                              "08:00:00\nCategories: Keine\n"
                                              "Schlüssel beim Pförtner."));
    EXPECT_FALSE(other.Send());
}

// Enter in the To or the Subject line never sends a mail, whatever was typed: the window has no
// default button. Send goes by its button, its access key or Ctrl+Enter. A mail without a
// subject is named "Untitled - Message" in the user's language.
TEST_F(InspectorViewTest, EnterInAMailsFieldsNeverSendsCtrlEnterAndTheAccessKeyDo)
{
    auto oInspector = std::make_shared<ol::Inspector>();
    gui::ItemContent oMail;
    oMail.bMail = oMail.bSendable = true;
    std::vector<gui::MailEdits> vSent;
    const auto send = [&](const gui::MailEdits& oEdits) { vSent.push_back(oEdits); };
    const auto german = [](const std::string& s) {
        return s == "Untitled"  ? std::string("Unbenannt")
               : s == "Message" ? std::string("Nachricht")
               : s == "&Send"   ? std::string("&Senden")
                                : s;
    };
    struct Row
    {
        const char* sWhat;
        Qt::Key eKey;
        Qt::KeyboardModifiers eModifiers;
        bool bSends;
    };
    const Row aRows[] = {
        {"Enter", Qt::Key_Return, Qt::NoModifier, false},
        {"Enter on the keypad", Qt::Key_Enter, Qt::KeypadModifier, false},
        {"Ctrl+Enter", Qt::Key_Return, Qt::ControlModifier, true},
        {"Ctrl+Enter on the keypad", Qt::Key_Enter, Qt::ControlModifier | Qt::KeypadModifier, true},
        {"Alt+S", Qt::Key_S, Qt::AltModifier, true},
    };
    for (const Row& row : aRows)
        for (const char* sField : {"to", "subject"}) {
            SCOPED_TRACE(std::string(row.sWhat) + " in " + sField);
            vSent.clear();
            auto* view = new gui::InspectorView(
                oInspector, [&] { return oMail; }, send, german);
            view->setAttribute(Qt::WA_DeleteOnClose);
            QPointer<gui::InspectorView> guard(view);
            view->show();
            view->activateWindow();
            ASSERT_TRUE(QTest::qWaitForWindowActive(view));
            EXPECT_EQ(view->windowTitle(), QStringLiteral("Unbenannt - Nachricht"));
            auto* pTo = view->findChild<QLineEdit*>("to");
            auto* pField = view->findChild<QLineEdit*>(sField);
            ASSERT_TRUE(pTo && pField);
            QTest::keyClicks(pTo, QStringLiteral("chef@example.com"));
            pField->setFocus();
            auto* pSend = view->findChild<QPushButton*>("send");
            ASSERT_NE(pSend, nullptr);
            QTest::keyClick(pField, row.eKey, row.eModifiers);
            // An access key presses the button, which clicks once it is let go.
            EXPECT_TRUE(QTest::qWaitFor([&] { return !guard || !pSend->isDown(); }));
            QApplication::processEvents();
            EXPECT_EQ(vSent.size(), row.bSends ? 1U : 0U);
            EXPECT_EQ(bool(guard) && view->isVisible(), !row.bSends);
            if (guard) {
                view->OnSave = {};
                view->close();
            }
            QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
    // With a subject, the subject is the title.
    auto oTitled = std::make_shared<ol::Inspector>();
    oTitled->Caption = "Bericht Mai";
    gui::InspectorView titled(
        oTitled, [&] { return oMail; }, send, german);
    EXPECT_EQ(titled.windowTitle(), QStringLiteral("Bericht Mai"));
    // A subject typed over it names the window, and one cleared whole names it as untitled.
    auto* pSubject = titled.findChild<QLineEdit*>("subject");
    ASSERT_NE(pSubject, nullptr);
    QTest::keyClicks(pSubject, QStringLiteral("Juni"));
    EXPECT_EQ(titled.windowTitle(), QStringLiteral("Juni"));
    QTest::keyClick(pSubject, Qt::Key_Backspace);
    EXPECT_EQ(titled.windowTitle(), QStringLiteral("Jun"));
    pSubject->selectAll();
    QTest::keyClick(pSubject, Qt::Key_Delete);
    EXPECT_EQ(titled.windowTitle(), QStringLiteral("Unbenannt - Nachricht"));
}

} // namespace
