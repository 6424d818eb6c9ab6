#include "platform/forms/Driver.h"

#include "platform/forms/CommonDialogs.h"
#include "platform/forms/Form.h"
#include "platform/forms/MenuBar.h"
#include "platform/runtime/Error.h"
#include "platform/runtime/Strings.h"

#include <array>

namespace platform::forms {

int MsgBox(const std::string& prompt, int buttons, const std::string& title)
{
    return Driver::current().AnswerMsgBox({prompt, buttons, title, 0});
}

bool IsQuestion(int buttons)
{
    return (buttons & 7) != 0;
}

Driver& Driver::current()
{
    static Driver driver;
    return driver;
}

void Driver::QueueModal(const std::string& formName, ModalAnswer answer)
{
    m_modalAnswers[runtime::LCase(formName)].push_back(std::move(answer));
}

void Driver::Reset()
{
    m_modalAnswers.clear();
    m_modalRunner = {};
    m_msgBoxAnswers.clear();
    m_msgBoxRunner = {};
    m_messageBoxes.clear();
    m_dialogAnswers.clear();
    m_dialogRunner = {};
    m_dialogs.clear();
    m_popupAnswers.clear();
    m_popupRunner = {};
    m_popupMenus.clear();
    m_textMeasure = {};
}

void Driver::QueueDialogAnswer(std::string path, int filterIndex)
{
    QueueDialog([path = std::move(path), filterIndex](CommonDialog& dialog) {
        if (path.empty())
            return false;
        if (auto* file = dynamic_cast<FileDialog*>(&dialog)) {
            file->SetName(path);
            if (filterIndex >= 0)
                file->SetFilterIndex(filterIndex);
        } else if (auto* folder = dynamic_cast<FolderDialog*>(&dialog)) {
            folder->SetPath(path);
        } else {
            runtime::Raise(runtime::errors::InvalidProcedureCall, "Driver.QueueDialogAnswer",
                           "A path does not answer the dialog " + dialog.Title() + ".");
        }
        return true;
    });
}

bool Driver::RunDialog(CommonDialog& dialog)
{
    DialogAnswer answer;
    if (!m_dialogAnswers.empty()) {
        answer = std::move(m_dialogAnswers.front());
        m_dialogAnswers.pop_front();
    } else if (m_dialogRunner) {
        answer = m_dialogRunner;
    } else {
        runtime::Raise(runtime::errors::NotSupported, "Driver.RunDialog",
                       "No one answers the dialog " + dialog.Title() + " on this screen.");
    }
    const bool confirmed = answer(dialog);
    if (confirmed) {
        if (auto reason = dialog.Check())
            runtime::Raise(runtime::errors::InvalidProcedureCall, "Driver.RunDialog",
                           "The answer does not fit the dialog " + dialog.Title() + ": " + *reason);
    }
    m_dialogs.push_back({dialog.Kind(), dialog.Title(), confirmed});
    return confirmed;
}

std::string Driver::AnswerPopup(const std::string& formName, const MenuItem& menu, double x,
                                double y)
{
    std::string picked;
    if (!m_popupAnswers.empty()) {
        picked = std::move(m_popupAnswers.front());
        m_popupAnswers.pop_front();
    } else if (m_popupRunner) {
        picked = m_popupRunner(menu);
    }
    m_popupMenus.push_back({formName, menu.Key(), x, y, picked});
    return picked;
}

void Driver::RunModal(Form& form)
{
    ModalAnswer answer;
    auto queued = m_modalAnswers.find(runtime::LCase(form.Name()));
    if (queued != m_modalAnswers.end() && !queued->second.empty()) {
        answer = std::move(queued->second.front());
        queued->second.pop_front();
    } else if (m_modalRunner) {
        answer = m_modalRunner;
    } else {
        runtime::Raise(runtime::errors::NotSupported, "Form.Show",
                       "No one answers the modal form " + form.Name() + " on this screen.");
    }
    answer(form);
}

int Driver::AnswerMsgBox(MessageBoxRecord record)
{
    if (!m_msgBoxAnswers.empty()) {
        record.answer = m_msgBoxAnswers.front();
        m_msgBoxAnswers.pop_front();
    } else if (m_msgBoxRunner) {
        record.answer = m_msgBoxRunner(record);
    } else if (!IsQuestion(record.buttons)) {
        record.answer = vbOK;
    } else {
        // Nobody may pick an answer on the person's behalf.
        runtime::Raise(runtime::errors::NotSupported, "MsgBox",
                       "No one answers the question \"" + record.prompt + "\" on this screen.");
    }
    m_messageBoxes.push_back(record);
    return record.answer;
}

int Driver::DefaultAnswer(int buttons)
{
    static const std::array<std::vector<int>, 6> kSets = {{{vbOK},
                                                           {vbOK, vbCancel},
                                                           {vbAbort, vbRetry, vbIgnore},
                                                           {vbYes, vbNo, vbCancel},
                                                           {vbYes, vbNo},
                                                           {vbRetry, vbCancel}}};
    const auto& set = kSets[static_cast<std::size_t>(buttons & 7) % kSets.size()];
    const std::size_t index = static_cast<std::size_t>((buttons >> 8) & 3);
    return set[index < set.size() ? index : 0];
}

} // namespace platform::forms
