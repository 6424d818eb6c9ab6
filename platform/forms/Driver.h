#pragma once

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace platform::forms {

class Form;

/// The answers of a message box.
enum MsgBoxResult
{
    vbOK = 1,
    vbCancel = 2,
    vbAbort = 3,
    vbRetry = 4,
    vbIgnore = 5,
    vbYes = 6,
    vbNo = 7,
};

/// One message box as it was shown, with the answer it got.
struct MessageBoxRecord
{
    std::string prompt;
    int buttons = 0; ///< the style: button set + icon + default button
    std::string title;
    int answer = 0;
};

/// Shows a message box and returns its answer (see Driver). Styles as the original's: the
/// low three bits choose the buttons (0 OK, 1 OK/Cancel, 2 Abort/Retry/Ignore,
/// 3 Yes/No/Cancel, 4 Yes/No, 5 Retry/Cancel), 16/32/48/64 the icon, 0/256/512 the default
/// button.
int MsgBox(const std::string& prompt, int buttons = 0, const std::string& title = {});

/// Who answers modal forms and message boxes, since nobody sits at a headless screen: a test
/// queues its answers before it runs the code that shows them; the host installs runners
/// that ask a person. One per process.
class Driver
{
public:
    /// Answers a modal form while it is shown: works its controls and hides or unloads it.
    /// A form still shown afterwards is closed as by its close button.
    using ModalAnswer = std::function<void(Form&)>;
    /// Answers a message box.
    using MsgBoxRunner = std::function<int(const MessageBoxRecord&)>;

    static Driver& current();

    /// Queues an answer for the next modal show of the form of that name (first in, first out).
    void QueueModal(const std::string& formName, ModalAnswer answer);
    /// Answers every modal form without a queued answer (the host's person); none by default,
    /// and a modal form with no one to answer it raises error 438 rather than hang.
    void SetModalRunner(ModalAnswer runner) { m_modalRunner = std::move(runner); }
    /// Queues the answer of the next message box.
    void QueueMsgBoxAnswer(int answer) { m_msgBoxAnswers.push_back(answer); }
    /// Answers every message box without a queued answer; without one, a box gets the answer
    /// of its default button.
    void SetMsgBoxRunner(MsgBoxRunner runner) { m_msgBoxRunner = std::move(runner); }
    /// Every message box shown since the last Reset, oldest first.
    const std::vector<MessageBoxRecord>& MessageBoxes() const { return m_messageBoxes; }
    /// Forgets queued answers, runners and the message-box record.
    void Reset();

    /// Runs the answer for a modal form being shown (the forms layer calls it).
    void RunModal(Form& form);
    /// Answers a message box (MsgBox calls it).
    int AnswerMsgBox(MessageBoxRecord record);

    /// The answer of a box's default button.
    static int DefaultAnswer(int buttons);

private:
    std::map<std::string, std::deque<ModalAnswer>> m_modalAnswers;
    ModalAnswer m_modalRunner;
    std::deque<int> m_msgBoxAnswers;
    MsgBoxRunner m_msgBoxRunner;
    std::vector<MessageBoxRecord> m_messageBoxes;
};

} // namespace platform::forms
