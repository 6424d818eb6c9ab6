#include "gui/DesktopAnswers.h"

#include "gui/CommonDialogViews.h"
#include "gui/DesktopTexts.h"
#include "gui/DesktopWindows.h"
#include "gui/FormView.h"
#include "gui/TextMeasure.h"
#include "gui/Units.h"
#include "platform/forms/Driver.h"
#include "platform/forms/Form.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>

#include <map>
#include <vector>

namespace gui {

namespace pf = platform::forms;

namespace {

struct ButtonSpec
{
    QMessageBox::StandardButton button;
    int answer;
    const char* caption;
};

std::vector<ButtonSpec> ButtonsOf(int style)
{
    // Each button but OK (Enter) has its access key, as the desktop's message boxes do.
    const ButtonSpec ok{QMessageBox::Ok, pf::vbOK, "OK"};
    const ButtonSpec cancel{QMessageBox::Cancel, pf::vbCancel, "&Cancel"};
    const ButtonSpec yes{QMessageBox::Yes, pf::vbYes, "&Yes"};
    const ButtonSpec no{QMessageBox::No, pf::vbNo, "&No"};
    const ButtonSpec retry{QMessageBox::Retry, pf::vbRetry, "&Retry"};
    switch (style & 7) {
    case 1:
        return {ok, cancel};
    case 2:
        return {{QMessageBox::Abort, pf::vbAbort, "&Abort"},
                retry,
                {QMessageBox::Ignore, pf::vbIgnore, "&Ignore"}};
    case 3:
        return {yes, no, cancel};
    case 4:
        return {yes, no};
    case 5:
        return {retry, cancel};
    default:
        return {ok};
    }
}

QMessageBox::Icon IconOf(int style)
{
    switch (style & 0x70) {
    case 16:
        return QMessageBox::Critical;
    case 32:
        return QMessageBox::Question;
    case 48:
        return QMessageBox::Warning;
    case 64:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

} // namespace

int ShowMessageBox(const std::string& prompt, int buttons, const std::string& title)
{
    QWidget* opener = OpeningWindow();
    QMessageBox box(opener);
    box.setObjectName(QStringLiteral("MsgBox"));
    SetDialogFrame(box);
    box.setWindowModality(Qt::ApplicationModal);
    box.setIcon(IconOf(buttons));
    box.setWindowTitle(title.empty() ? QApplication::applicationName() : ToQ(title));
    box.setText(ToQ(prompt));
    const auto specs = ButtonsOf(buttons);
    std::map<QAbstractButton*, int> answers;
    for (const auto& spec : specs) {
        QPushButton* button = box.addButton(spec.button);
        button->setText(DesktopText(spec.caption));
        answers[button] = spec.answer;
    }
    const int defaultAnswer = pf::Driver::DefaultAnswer(buttons);
    for (const auto& [button, answer] : answers)
        if (answer == defaultAnswer)
            box.setDefaultButton(qobject_cast<QPushButton*>(button));
    box.exec();
    ReturnToOpener(opener);
    const auto chosen = answers.find(box.clickedButton());
    if (chosen != answers.end())
        return chosen->second;
    for (const auto& spec : specs)
        if (spec.answer == pf::vbCancel)
            return pf::vbCancel;
    return defaultAnswer;
}

DesktopAnswers::DesktopAnswers()
{
    auto& driver = pf::Driver::current();
    driver.SetModalRunner([](pf::Form& form) {
        // Over the window that opened it, which may go while the form shows (the add-in
        // unloads it from a timer): the view is the parent's child until then.
        QPointer<FormView> view = new FormView(form, OpeningWindow(), FormView::Showing::Modal);
        view->RunModal();
        delete view.data();
    });
    driver.SetMsgBoxRunner([](const pf::MessageBoxRecord& record) {
        return ShowMessageBox(record.prompt, record.buttons, record.title);
    });
    driver.SetDialogRunner([](pf::CommonDialog& dialog) { return RunCommonDialog(dialog); });
    driver.SetPopupRunner([](const pf::MenuItem& menu) { return RunPopupMenu(menu); });
    driver.SetTextMeasure(DesktopTextMeasure());
}

DesktopAnswers::~DesktopAnswers()
{
    auto& driver = pf::Driver::current();
    driver.SetModalRunner({});
    driver.SetMsgBoxRunner({});
    driver.SetDialogRunner({});
    driver.SetPopupRunner({});
    driver.SetTextMeasure({});
}

} // namespace gui
