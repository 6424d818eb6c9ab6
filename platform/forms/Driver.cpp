#include "platform/forms/Driver.h"

#include "platform/forms/Form.h"
#include "platform/runtime/Error.h"
#include "platform/runtime/Strings.h"

#include <array>

namespace platform::forms {

int MsgBox(const std::string& prompt, int buttons, const std::string& title)
{
    return Driver::current().AnswerMsgBox({prompt, buttons, title, 0});
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
    } else {
        record.answer = DefaultAnswer(record.buttons);
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
