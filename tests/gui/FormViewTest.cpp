#include "GuiFixture.h"

#include "gui/DesktopAnswers.h"
#include "gui/EventLoop.h"
#include "gui/FormView.h"
#include "gui/Units.h"
#include "platform/forms/Form.h"
#include "platform/forms/MenuBar.h"
#include "platform/forms/StandardControls.h"
#include "platform/forms/ToolBar.h"
#include "platform/runtime/DoEvents.h"
#include "platform/runtime/Error.h"
#include "platform/win/MessageLoop.h"

#include <QAbstractItemView>
#include <QAction>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QToolBar>
#include <QWindow>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

namespace {

namespace pf = platform::forms;
using guitest::GuiFixture;

// A form with one control of each common kind; it refuses the first close.
class SampleForm : public pf::Form
{
public:
    SampleForm() : Form("frmSample")
    {
        SetCaption("Sample");
        lblInfo = Add<pf::Label>("lblInfo");
        cmdOK = Add<pf::CommandButton>("cmdOK");
        chkAll = Add<pf::CheckBox>("chkAll");
        txtName = Add<pf::TextBox>("txtName");
        cboKind = Add<pf::ComboBox>("cboKind");
        lblInfo->SetCaption("Ready");
        cmdOK->SetCaption("OK");
        chkAll->SetCaption("All");
        for (const char* s : {"Tasks", "Journal", "Calendar"})
            cboKind->AddItem(s);
        cmdOK->OnClick = [this] { vEvents.push_back("cmdOK_Click"); };
        chkAll->OnClick = [this] { vEvents.push_back("chkAll_Click"); };
        txtName->OnChange = [this] { vEvents.push_back("txtName_Change"); };
        cboKind->OnClick = [this] { vEvents.push_back("cboKind_Click " + cboKind->Text()); };
    }
    std::shared_ptr<pf::Label> lblInfo;
    std::shared_ptr<pf::CommandButton> cmdOK;
    std::shared_ptr<pf::CheckBox> chkAll;
    std::shared_ptr<pf::TextBox> txtName;
    std::shared_ptr<pf::ComboBox> cboKind;
    std::vector<std::string> vEvents;
    int nRefuse = 1;

protected:
    void Form_QueryUnload(int& Cancel, int) override
    {
        vEvents.push_back("QueryUnload");
        if (nRefuse > 0) {
            --nRefuse;
            Cancel = 1;
        }
    }
};

using FormViewTest = GuiFixture;

TEST_F(FormViewTest, ChangesByCodeShowAtOnce)
{
    SampleForm oForm;
    oForm.Show();
    gui::FormView view(oForm);
    auto* label = qobject_cast<QLabel*>(view.WidgetOf("lblInfo"));
    auto* combo = qobject_cast<QComboBox*>(view.WidgetOf("cboKind"));
    auto* check = qobject_cast<QCheckBox*>(view.WidgetOf("chkAll"));
    ASSERT_TRUE(label && combo && check);
    EXPECT_TRUE(view.isVisible());
    EXPECT_EQ(view.windowTitle(), "Sample");
    EXPECT_EQ(label->text(), "Ready");
    EXPECT_EQ(combo->count(), 3);

    oForm.lblInfo->SetCaption("Lese Einträge …");
    oForm.cboKind->AddItem("Notes");
    oForm.cboKind->SetListIndex(1);
    oForm.chkAll->SetValue(2);
    oForm.cmdOK->SetEnabled(false);
    oForm.SetCaption("Übersicht");
    EXPECT_EQ(label->text(), QString::fromUtf8("Lese Einträge …"));
    EXPECT_EQ(combo->count(), 4);
    EXPECT_EQ(combo->currentText(), "Journal");
    EXPECT_EQ(check->checkState(), Qt::PartiallyChecked);
    EXPECT_FALSE(view.WidgetOf("cmdOK")->isEnabled());
    EXPECT_EQ(view.windowTitle(), QString::fromUtf8("Übersicht"));

    oForm.Hide();
    EXPECT_FALSE(view.isVisible());
}

// Counts the paintings of a window's widgets.
class Paintings : public QObject
{
public:
    explicit Paintings(QWidget& window) : m_window(window) { qApp->installEventFilter(this); }
    ~Paintings() override { qApp->removeEventFilter(this); }
    int Of(const QWidget* widget) const
    {
        return int(std::count(m_painted.begin(), m_painted.end(), widget));
    }

protected:
    bool eventFilter(QObject* object, QEvent* event) override
    {
        if (auto* widget = qobject_cast<QWidget*>(object);
            widget && event->type() == QEvent::Paint && widget->window() == &m_window)
            m_painted.push_back(widget);
        return false;
    }

private:
    QWidget& m_window;
    std::vector<const QWidget*> m_painted;
};

TEST_F(FormViewTest, AWindowShownDrawsItselfBeforeTheCodeGoesOn)
{
    // A window that the add-in shows right before a long piece of work (the progress window
    // before a read) is on the screen with its texts drawn when Show returns, not an empty
    // frame until the work next lets the loop turn.
    SampleForm oForm;
    gui::FormView view(oForm);
    ASSERT_FALSE(view.isVisible());
    Paintings paintings(view);
    oForm.Show();
    ASSERT_TRUE(view.isVisible());
    ASSERT_NE(view.windowHandle(), nullptr);
    EXPECT_TRUE(view.windowHandle()->isExposed());
    EXPECT_GT(paintings.Of(view.WidgetOf("lblInfo")), 0) << "the text is not drawn";
    EXPECT_GT(paintings.Of(&view), 0) << "the window is not drawn";
}

TEST_F(FormViewTest, PersonsInputRaisesTheFormsEvents)
{
    SampleForm oForm;
    oForm.Show();
    gui::FormView view(oForm);
    QTest::mouseClick(view.WidgetOf("cmdOK"), Qt::LeftButton);
    // On the box itself: the check box takes clicks on its box and caption only.
    QTest::mouseClick(view.WidgetOf("chkAll"), Qt::LeftButton, {},
                      QPoint(6, view.WidgetOf("chkAll")->height() / 2));
    QTest::keyClicks(view.WidgetOf("txtName"), "ab");
    auto* combo = qobject_cast<QComboBox*>(view.WidgetOf("cboKind"));
    // Picking an entry in the open list: the list's activation, as the person's choice.
    combo->setCurrentIndex(2);
    emit combo->activated(2);

    EXPECT_EQ(oForm.chkAll->Value(), 1);
    EXPECT_EQ(oForm.txtName->Text(), "ab");
    EXPECT_EQ(oForm.cboKind->ListIndex(), 2);
    const std::vector<std::string> vWanted = {"cmdOK_Click", "chkAll_Click", "txtName_Change",
                                              "txtName_Change", "cboKind_Click Calendar"};
    EXPECT_EQ(oForm.vEvents, vWanted);

    // Enter in a text box reaches the box (the report window's find box finds by it).
    std::vector<int> vKeys;
    oForm.txtName->OnKeyDown = [&vKeys](int& keyCode, int) { vKeys.push_back(keyCode); };
    QTest::keyClick(view.WidgetOf("txtName"), Qt::Key_Return);
    EXPECT_EQ(std::count(vKeys.begin(), vKeys.end(), 13), 1);

    // A disabled button takes no click.
    oForm.cmdOK->SetEnabled(false);
    QTest::mouseClick(view.WidgetOf("cmdOK"), Qt::LeftButton);
    EXPECT_EQ(std::count(oForm.vEvents.begin(), oForm.vEvents.end(), "cmdOK_Click"), 1);
}

// Enter in a text box presses the form's default button, once; a form without one leaves
// Enter to the box (see above).
TEST_F(FormViewTest, EnterInATextBoxPressesTheDefaultButtonOnce)
{
    SampleForm oForm;
    oForm.cmdOK->Default = true;
    oForm.Show();
    gui::FormView view(oForm);
    QTest::keyClick(view.WidgetOf("txtName"), Qt::Key_Return);
    EXPECT_EQ(std::count(oForm.vEvents.begin(), oForm.vEvents.end(), "cmdOK_Click"), 1);
}

TEST_F(FormViewTest, CloseButtonAsksTheFormAndStaysWhenRefused)
{
    SampleForm oForm;
    oForm.Show();
    gui::FormView view(oForm);
    view.close();
    EXPECT_TRUE(oForm.IsLoaded());
    EXPECT_TRUE(view.isVisible());
    view.close();
    EXPECT_FALSE(oForm.IsLoaded());
    EXPECT_FALSE(view.isVisible());
    EXPECT_EQ(std::count(oForm.vEvents.begin(), oForm.vEvents.end(), "QueryUnload"), 2);
}

// Escape belongs to dialogs: a window of its own without a cancel button (the report window)
// stays open and its form is not asked to close.
TEST_F(FormViewTest, EscapeLeavesAWindowOfItsOwnOpen)
{
    SampleForm oForm;
    oForm.nRefuse = 0;
    oForm.Show();
    gui::FormView view(oForm);
    for (const char* sWidget : {"cboKind", "txtName"})
        QTest::keyClick(view.WidgetOf(sWidget), Qt::Key_Escape);
    QTest::keyClick(&view, Qt::Key_Escape);
    EXPECT_TRUE(view.isVisible());
    EXPECT_TRUE(oForm.IsLoaded());
    EXPECT_TRUE(oForm.Visible());
    EXPECT_EQ(std::count(oForm.vEvents.begin(), oForm.vEvents.end(), "QueryUnload"), 0);
}

// A window opens where its form stands, also when that is at the left or the top edge of the
// screen (a 0 there is a place, not "no place yet").
TEST_F(FormViewTest, AWindowOpensWhereItsFormStandsAlsoAtTheScreensEdge)
{
    for (const auto& [lLeft, lTop] :
         std::vector<std::pair<int, int>>{{0, 1500}, {1500, 0}, {1500, 1200}}) {
        SCOPED_TRACE(std::to_string(lLeft) + "," + std::to_string(lTop));
        SampleForm oForm;
        oForm.Move(lLeft, lTop, oForm.Width(), oForm.Height());
        oForm.Show();
        gui::FormView view(oForm);
        ASSERT_TRUE(view.isVisible());
        EXPECT_EQ(view.pos(), QPoint(gui::Pixels(lLeft), gui::Pixels(lTop)));
    }
}

// A date picker's calendar starts its weeks on the day the regional settings name, or on the
// picker's own (0 Monday .. 6 Sunday).
TEST_F(FormViewTest, ADatePickersWeeksStartOnTheRegionsDay)
{
    struct Case
    {
        const char* sLocale;
        int nPickersDay;
        Qt::DayOfWeek wanted;
    };
    for (const Case& c : std::vector<Case>{
             {"de-DE", -1, Qt::Monday}, {"en-US", -1, Qt::Sunday}, {"en-US", 2, Qt::Wednesday}}) {
        SCOPED_TRACE(std::string(c.sLocale) + " " + std::to_string(c.nPickersDay));
        platform::locale::SetCurrent(c.sLocale);
        pf::Form oForm("frmDate");
        auto oPicker = oForm.Add<pf::DTPicker>("dtpFrom");
        oPicker->SetFirstDayOfWeek(c.nPickersDay);
        oForm.Show();
        gui::FormView view(oForm);
        auto* pEdit = qobject_cast<QDateEdit*>(view.WidgetOf("dtpFrom"));
        ASSERT_TRUE(pEdit && pEdit->calendarWidget());
        EXPECT_EQ(pEdit->calendarWidget()->firstDayOfWeek(), c.wanted);
    }
}

TEST_F(FormViewTest, ResizeByThePersonReachesTheForm)
{
    SampleForm oForm;
    oForm.Show();
    gui::FormView view(oForm);
    view.resize(500, 300);
    EXPECT_EQ(oForm.ScaleWidth(), 500 * 15);
    EXPECT_EQ(oForm.ScaleHeight(), 300 * 15);
    oForm.SetWidth(oForm.Width() + 150);
    EXPECT_EQ(view.width(), 510);
}

TEST_F(FormViewTest, MenuAndToolBarClicksCarryTheirKeys)
{
    pf::Form oForm("frmBars");
    auto bar = oForm.Add<pf::MenuBar>("MenuBar1");
    auto tools = oForm.Add<pf::ToolBar>("Coolbar1");
    auto file = bar->Items().Add("&File", "file");
    bar->Items().Add("&Refresh", "refresh", file);
    bar->Items().Add("-", "", file);
    auto quit = bar->Items().Add("E&xit", "exit", file);
    tools->AddButton("refresh", nullptr, "Refresh");
    std::vector<std::string> vClicks;
    bar->OnItemClick = [&](pf::MenuItem& item) { vClicks.push_back("menu " + item.Key()); };
    tools->OnButtonClick = [&](const std::string& key) { vClicks.push_back("tool " + key); };
    oForm.Show();
    gui::FormView view(oForm);

    auto* menu = view.findChild<QMenu*>("file");
    ASSERT_NE(menu, nullptr);
    // Disabled by code after the bar was built: the menu shows it when it opens.
    quit->SetEnabled(false);
    emit menu->aboutToShow();
    auto* exitAction = menu->findChild<QAction*>("exit");
    ASSERT_NE(exitAction, nullptr);
    EXPECT_FALSE(exitAction->isEnabled());
    menu->findChild<QAction*>("refresh")->trigger();
    auto* toolBar = qobject_cast<QToolBar*>(view.WidgetOf("Coolbar1"));
    ASSERT_NE(toolBar, nullptr);
    const auto action = [toolBar](const char* key) {
        for (QAction* a : toolBar->actions())
            if (a->objectName() == key)
                return a;
        return static_cast<QAction*>(nullptr);
    };
    ASSERT_NE(action("refresh"), nullptr);
    QTest::mouseClick(toolBar->widgetForAction(action("refresh")), Qt::LeftButton);
    tools->Button("refresh")->SetEnabled(false);
    tools->AddSeparator(); // tells the view, which reads the buttons' states again
    EXPECT_FALSE(action("refresh")->isEnabled());
    const std::vector<std::string> vWanted = {"menu refresh", "tool refresh"};
    EXPECT_EQ(vClicks, vWanted);
}

TEST_F(FormViewTest, AListBesideTheToolBarKeepsItsWidthAndDropsDownLongEntriesWhole)
{
    // A report window's bar: the buttons, the template list, the find box and its button. A
    // template's name of 300 characters neither pushes the buttons behind the bar's end nor
    // squeezes the find box; its drop-down shows it whole, on several lines.
    pf::Form oForm("frmBars");
    auto tools = oForm.Add<pf::ToolBar>("Coolbar1");
    auto list = oForm.Add<pf::ComboBox>("cboTemplate");
    auto find = oForm.Add<pf::TextBox>("txtFind");
    auto go = oForm.Add<pf::CommandButton>("cmdFind");
    go->SetCaption("Suchen");
    for (const char* sKey : {"select", "saveas", "sendreport", "print", "setview", "refresh"})
        tools->AddButton(sKey, nullptr, sKey);
    std::string sLong;
    while (sLong.size() < 300)
        sLong += "Termine nach Kategorie und Monat mit Dauer ";
    sLong.resize(300);
    for (const std::string& s : {std::string("(Standard)"), sLong, std::string("Projektzeiten")})
        list->AddItem(s);
    list->SetListIndex(1);
    oForm.Show();
    gui::FormView view(oForm);
    view.resize(1000, 400);
    QApplication::processEvents();

    auto* bar = view.findChild<QToolBar*>();
    auto* box = qobject_cast<QComboBox*>(view.WidgetOf("cboTemplate"));
    auto* text = view.WidgetOf("txtFind");
    ASSERT_TRUE(bar && box && text);
    for (QAction* action : bar->actions()) {
        const QWidget* button = bar->widgetForAction(action);
        EXPECT_TRUE(button && button->isVisible())
            << action->objectName().toStdString() << " went behind the bar's end";
    }
    EXPECT_GE(text->width(), text->sizeHint().width()) << "the find box is squeezed";
    EXPECT_LE(box->width(), view.width() / 4);
    EXPECT_TRUE(view.WidgetOf("cmdFind")->isVisible());

    box->showPopup();
    QApplication::processEvents();
    QAbstractItemView* entries = box->view();
    ASSERT_TRUE(entries->isVisible());
    const QModelIndex entry = entries->model()->index(1, 0);
    const QRect shown = entries->visualRect(entry);
    const QRect needed =
        entries->fontMetrics().boundingRect(QRect(0, 0, shown.width() - 6, 1 << 20),
                                            Qt::TextWrapAnywhere, QString::fromStdString(sLong));
    EXPECT_GE(shown.height(), needed.height()) << "the long name is cut in the drop-down";
    EXPECT_LE(entries->window()->width(), box->screen()->availableGeometry().width());
    box->hidePopup();
}

TEST_F(FormViewTest, MessageBoxIsAnsweredByThePersonsClick)
{
    gui::DesktopAnswers answers;
    struct Case
    {
        int nStyle;
        QMessageBox::StandardButton click;
        int nWanted;
    };
    for (const auto& c : std::vector<Case>{{4 + 32, QMessageBox::No, pf::vbNo},
                                           {3, QMessageBox::Cancel, pf::vbCancel},
                                           {1 + 48, QMessageBox::Ok, pf::vbOK}}) {
        WhenShown<QMessageBox>(
            [&c](QMessageBox& box) { QTest::mouseClick(box.button(c.click), Qt::LeftButton); });
        EXPECT_EQ(pf::MsgBox("Replace the file?", c.nStyle, "Tallyman"), c.nWanted);
    }
    const auto& boxes = pf::Driver::current().MessageBoxes();
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_EQ(boxes[0].answer, pf::vbNo);

    // Or by a button's access key, in the language of the regional settings.
    struct KeyCase
    {
        const char* sLocale;
        int nStyle;
        Qt::Key eKey;
        int nWanted;
        const char* sCaptions;
    };
    const KeyCase aKeys[] = {
        {"de-DE", 3 + 32, Qt::Key_J, pf::vbYes, "&Ja|&Nein|&Abbrechen"},
        {"de-DE", 3 + 32, Qt::Key_N, pf::vbNo, "&Ja|&Nein|&Abbrechen"},
        {"de-DE", 3 + 32, Qt::Key_A, pf::vbCancel, "&Ja|&Nein|&Abbrechen"},
        {"de-DE", 4, Qt::Key_N, pf::vbNo, "&Ja|&Nein"},
        {"de-DE", 2, Qt::Key_W, pf::vbRetry, "&Abbrechen|&Wiederholen|&Ignorieren"},
        {"de-DE", 1, Qt::Key_A, pf::vbCancel, "OK|&Abbrechen"},
        {"en-US", 3, Qt::Key_Y, pf::vbYes, "&Yes|&No|&Cancel"},
        {"en-US", 5, Qt::Key_C, pf::vbCancel, "&Retry|&Cancel"},
    };
    for (const KeyCase& c : aKeys) {
        SCOPED_TRACE(std::string(c.sLocale) + " " + std::to_string(c.nStyle));
        platform::locale::SetCurrent(c.sLocale);
        QStringList vCaptions;
        WhenShown<QMessageBox>([&](QMessageBox& box) {
            for (QAbstractButton* button : box.buttons())
                vCaptions << button->text();
            // The access key is the active window's: the box's own activation comes first.
            ASSERT_TRUE(guitest::ActivateWindow(box));
            QTest::keyClick(&box, c.eKey, Qt::AltModifier);
        });
        EXPECT_EQ(pf::MsgBox("Replace the file?", c.nStyle, "Tallyman"), c.nWanted);
        QStringList vWanted = QString::fromUtf8(c.sCaptions).split(QLatin1Char('|'));
        vWanted.sort();
        vCaptions.sort();
        EXPECT_EQ(vCaptions, vWanted);
    }
}

TEST_F(FormViewTest, ModalFormRunsAsDialogUntilHidden)
{
    gui::DesktopAnswers answers;
    SampleForm oForm;
    oForm.cmdOK->OnClick = [&oForm] { oForm.Hide(); };
    WhenShown<gui::FormView>([](gui::FormView& view) {
        EXPECT_TRUE(view.isModal());
        QTest::mouseClick(view.WidgetOf("cmdOK"), Qt::LeftButton);
    });
    oForm.Show(pf::ShowStyle::Modal);
    EXPECT_TRUE(oForm.IsLoaded());
    EXPECT_FALSE(oForm.Visible());
}

// A modal form stands over the window that opened it, which takes no input meanwhile; it
// offers no minimise or maximise button, and Escape presses its cancel button wherever the
// focus is.
TEST_F(FormViewTest, ModalFormBlocksItsOpenerAndEscapePressesItsCancelButton)
{
    gui::DesktopAnswers answers;
    QWidget opener;
    auto* button = new QPushButton("Open", &opener);
    int nOpenerClicks = 0;
    QObject::connect(button, &QPushButton::clicked, [&] { ++nOpenerClicks; });
    opener.resize(200, 100);
    opener.show();
    opener.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&opener));
    SampleForm oForm;
    auto cmdCancel = oForm.Add<pf::CommandButton>("cmdCancel");
    cmdCancel->Cancel = true;
    cmdCancel->OnClick = [&oForm] {
        oForm.vEvents.push_back("cmdCancel_Click");
        oForm.Hide();
    };
    bool bSeen = false;
    WhenShown<gui::FormView>([&](gui::FormView& view) {
        bSeen = true;
        EXPECT_EQ(view.parentWidget(), &opener);
        ASSERT_NE(view.windowHandle(), nullptr);
        EXPECT_EQ(view.windowHandle()->transientParent(), opener.windowHandle());
        EXPECT_FALSE(view.windowFlags() & Qt::WindowMinMaxButtonsHint);
        EXPECT_EQ(QApplication::activeModalWidget(), &view);
        // The person's click on the opener, as the window system delivers it, goes nowhere.
        QTest::mouseClick(opener.windowHandle(), Qt::LeftButton, {}, button->geometry().center());
        EXPECT_EQ(nOpenerClicks, 0);
        // Escape in a list of the dialog: its cancel button.
        auto* list = view.WidgetOf("cboKind");
        ASSERT_NE(list, nullptr);
        QTest::keyClick(list, Qt::Key_Escape);
        if (view.isVisible())
            view.done(QDialog::Rejected); // so that a failure ends the dialog
    });
    oForm.Show(pf::ShowStyle::Modal);
    EXPECT_TRUE(bSeen);
    EXPECT_EQ(std::count(oForm.vEvents.begin(), oForm.vEvents.end(), "cmdCancel_Click"), 1);
    EXPECT_FALSE(oForm.Visible());
    // Once it is gone, the opener takes clicks again.
    QTest::mouseClick(opener.windowHandle(), Qt::LeftButton, {}, button->geometry().center());
    EXPECT_EQ(nOpenerClicks, 1);
}

// An error that a click lets out is shown to the person; the window stays and works on.
TEST_F(FormViewTest, AnErrorInAClickIsShownAndTheWindowStays)
{
    SampleForm oForm;
    oForm.cmdOK->OnClick = [] {
        platform::runtime::Raise(5, "frmSample.cmdOK_Click", "The folder cannot be read.");
    };
    oForm.Show();
    gui::FormView view(oForm);
    QTest::mouseClick(view.WidgetOf("cmdOK"), Qt::LeftButton);
    const auto& boxes = pf::Driver::current().MessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].prompt, "The folder cannot be read.");
    EXPECT_EQ(boxes[0].buttons & 0x70, 16);
    EXPECT_TRUE(view.isVisible());
    EXPECT_TRUE(oForm.IsLoaded());
    QTest::mouseClick(view.WidgetOf("chkAll"), Qt::LeftButton, {}, QPoint(8, 8));
    EXPECT_EQ(std::count(oForm.vEvents.begin(), oForm.vEvents.end(), "chkAll_Click"), 1);
}

// A modal form whose click unloads it and then raises (as the folder picker's OK does when the
// result cannot be built) closes, and the error is shown.
TEST_F(FormViewTest, AModalFormUnloadedByAFailingClickClosesAndShowsTheError)
{
    gui::DesktopAnswers answers;
    SampleForm oForm;
    oForm.nRefuse = 0;
    oForm.cmdOK->OnClick = [&oForm] {
        oForm.Unload();
        platform::runtime::Raise(5, "frmSample.cmdOK_Click", "Some folders could not be read.");
    };
    QString sShown;
    WhenShown<gui::FormView>([&sShown](gui::FormView& view) {
        WhenShown<QMessageBox>([&sShown](QMessageBox& box) {
            sShown = box.text();
            box.accept();
        });
        QTest::mouseClick(view.WidgetOf("cmdOK"), Qt::LeftButton);
    });
    oForm.Show(pf::ShowStyle::Modal);
    EXPECT_FALSE(oForm.IsLoaded());
    EXPECT_EQ(sShown, "Some folders could not be read.");
}

TEST_F(FormViewTest, TimersAndDoEventsRunInsideQtsLoop)
{
    gui::EventLoop loop;
    auto& oLoop = platform::win::MessageLoop::main();
    int nTicks = 0, nTasks = 0;
    const auto id =
        oLoop.setTimer(std::chrono::milliseconds(10), [&](platform::win::TimerId) { ++nTicks; });
    oLoop.post([&] { ++nTasks; });
    EXPECT_TRUE(gui::EventLoop::RunUntil([&] { return nTicks >= 3; }, std::chrono::seconds(5)));
    oLoop.killTimer(id);
    EXPECT_EQ(nTasks, 1);

    // DoEvents inside a long job lets Qt deliver a click meanwhile.
    QPushButton button("Stop");
    button.show();
    bool bStopped = false;
    QObject::connect(&button, &QPushButton::clicked, [&] { bStopped = true; });
    QTimer::singleShot(0, [&] { QTest::mouseClick(&button, Qt::LeftButton); });
    for (int i = 0; i < 100000 && !bStopped; ++i)
        platform::runtime::DoEvents();
    EXPECT_TRUE(bStopped);
}

// A job that calls DoEvents per item gets Qt's loop turned only now and then, but what is
// pending still arrives during the job, a DoEvents after a pause processes it at once, and the
// platform's own tasks run on every call.
TEST_F(FormViewTest, DoEventsInATightLoopStillDeliversWhatIsPending)
{
    gui::EventLoop loop;
    const auto run = [](int calls) {
        for (int i = 0; i < calls; ++i)
            platform::runtime::DoEvents();
    };
    int nDelivered = 0;
    const auto post = [&nDelivered] {
        QMetaObject::invokeMethod(
            qApp, [&nDelivered] { ++nDelivered; }, Qt::QueuedConnection);
    };

    // During a long run of calls.
    run(1000);
    post();
    QElapsedTimer clock;
    clock.start();
    while (nDelivered == 0 && clock.elapsed() < 5000)
        platform::runtime::DoEvents();
    EXPECT_EQ(nDelivered, 1);

    // One call after a pause, at once.
    run(1000);
    QTest::qSleep(5);
    post();
    platform::runtime::DoEvents();
    EXPECT_EQ(nDelivered, 2);
    // and the calls right after it, as code that lets one change show after the other makes.
    for (int i = 0; i < 10; ++i) {
        post();
        platform::runtime::DoEvents();
    }
    EXPECT_EQ(nDelivered, 12);

    // The platform's tasks, on the very next call of a run.
    run(1000);
    int nTasks = 0;
    platform::win::MessageLoop::main().post([&nTasks] { ++nTasks; });
    platform::runtime::DoEvents();
    EXPECT_EQ(nTasks, 1);
}

} // namespace
