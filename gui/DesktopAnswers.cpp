#include "gui/DesktopAnswers.h"

#include "gui/CommonDialogViews.h"
#include "gui/FormView.h"
#include "gui/Units.h"
#include "platform/forms/Driver.h"
#include "platform/forms/Form.h"

#include <QApplication>
#include <QMessageBox>
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
};

std::vector<ButtonSpec> ButtonsOf(int style)
{
    switch (style & 7) {
    case 1:
        return {{QMessageBox::Ok, pf::vbOK}, {QMessageBox::Cancel, pf::vbCancel}};
    case 2:
        return {{QMessageBox::Abort, pf::vbAbort},
                {QMessageBox::Retry, pf::vbRetry},
                {QMessageBox::Ignore, pf::vbIgnore}};
    case 3:
        return {{QMessageBox::Yes, pf::vbYes},
                {QMessageBox::No, pf::vbNo},
                {QMessageBox::Cancel, pf::vbCancel}};
    case 4:
        return {{QMessageBox::Yes, pf::vbYes}, {QMessageBox::No, pf::vbNo}};
    case 5:
        return {{QMessageBox::Retry, pf::vbRetry}, {QMessageBox::Cancel, pf::vbCancel}};
    default:
        return {{QMessageBox::Ok, pf::vbOK}};
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
    QMessageBox box(QApplication::activeWindow());
    box.setObjectName(QStringLiteral("MsgBox"));
    box.setIcon(IconOf(buttons));
    box.setWindowTitle(title.empty() ? QApplication::applicationName() : ToQ(title));
    box.setText(ToQ(prompt));
    const auto specs = ButtonsOf(buttons);
    std::map<QAbstractButton*, int> answers;
    for (const auto& spec : specs)
        answers[box.addButton(spec.button)] = spec.answer;
    const int defaultAnswer = pf::Driver::DefaultAnswer(buttons);
    for (const auto& [button, answer] : answers)
        if (answer == defaultAnswer)
            box.setDefaultButton(qobject_cast<QPushButton*>(button));
    box.exec();
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
        FormView view(form, QApplication::activeWindow());
        view.RunModal();
    });
    driver.SetMsgBoxRunner([](const pf::MessageBoxRecord& record) {
        return ShowMessageBox(record.prompt, record.buttons, record.title);
    });
    driver.SetDialogRunner([](pf::CommonDialog& dialog) { return RunCommonDialog(dialog); });
    driver.SetPopupRunner([](const pf::MenuItem& menu) { return RunPopupMenu(menu); });
}

DesktopAnswers::~DesktopAnswers()
{
    auto& driver = pf::Driver::current();
    driver.SetModalRunner({});
    driver.SetMsgBoxRunner({});
    driver.SetDialogRunner({});
    driver.SetPopupRunner({});
}

} // namespace gui
