#pragma once

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace platform::forms {

class CommonDialog;
class Form;
class MenuItem;
enum class DialogKind;

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

/// Shows a message box and returns its answer (see Driver). The style's low three bits choose
/// the buttons (0 OK, 1 OK/Cancel, 2 Abort/Retry/Ignore, 3 Yes/No/Cancel, 4 Yes/No,
/// 5 Retry/Cancel), 16/32/48/64 the icon, 0/256/512 the default button. The answer is one of
/// the vb... constants.
int MsgBox(const std::string& prompt, int buttons = 0, const std::string& title = {});

/// Whether a message box asks a question: it has more than an OK button.
bool IsQuestion(int buttons);

/// One common dialog as it was shown: its kind, title and how it closed.
struct DialogRecord
{
    DialogKind kind;
    std::string title;
    bool confirmed = false;
};

/// One pop-up menu as it was shown over a form, with the entry picked ("" for none).
struct PopupMenuRecord
{
    std::string formName;
    std::string menuKey;
    double x = 0; ///< in the form's scale units
    double y = 0;
    std::string picked;
};

/// A grid cell's text to measure, and how the grid shows it.
struct CellText
{
    std::string_view text;
    double points = 8;     ///< the grid's font size
    bool bold = false;     ///< a subtotal row or a bold cell
    bool header = false;   ///< a fixed row, drawn as a column header
    bool checkBox = false; ///< the cell shows a check box before its text
    int outlineLevel = -1; ///< a node's caption in the outline column: its level; else -1
};

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
    /// Answers every message box without a queued answer. Without one, a box with only an OK
    /// button is answered OK; a question (more buttons) raises error 438, since nobody may
    /// choose for the person.
    void SetMsgBoxRunner(MsgBoxRunner runner) { m_msgBoxRunner = std::move(runner); }
    /// Every message box shown since the last Reset, oldest first.
    const std::vector<MessageBoxRecord>& MessageBoxes() const { return m_messageBoxes; }
    /// Answers a common dialog: sets its fields and returns true for OK, false for Cancel.
    using DialogAnswer = std::function<bool(CommonDialog&)>;
    /// Queues the answer of the next common dialog.
    void QueueDialog(DialogAnswer answer) { m_dialogAnswers.push_back(std::move(answer)); }
    /// Queues a file or folder dialog's answer: the path (absolute or relative to the dialog's
    /// folder) and, when not negative, the filter chosen; an empty path cancels.
    void QueueDialogAnswer(std::string path, int filterIndex = -1);
    /// Answers every common dialog without a queued answer (the host's person), who is asked
    /// again until the answer fits the dialog. Without one, a dialog raises error 438.
    void SetDialogRunner(DialogAnswer runner) { m_dialogRunner = std::move(runner); }
    /// Every common dialog shown since the last Reset, oldest first.
    const std::vector<DialogRecord>& Dialogs() const { return m_dialogs; }

    /// Answers a pop-up menu: the key of the entry picked, or "" to dismiss it.
    using PopupAnswer = std::function<std::string(const MenuItem& menu)>;
    /// Queues the answer of the next pop-up menu.
    void QueuePopupAnswer(std::string key) { m_popupAnswers.push_back(std::move(key)); }
    /// Answers every pop-up menu without a queued answer; without one a menu is dismissed.
    void SetPopupRunner(PopupAnswer runner) { m_popupRunner = std::move(runner); }
    /// Every pop-up menu shown since the last Reset, oldest first.
    const std::vector<PopupMenuRecord>& PopupMenus() const { return m_popupMenus; }

    /// The width in twips a grid cell needs to show its text whole, padding and check box
    /// included. The host's windows install one that measures with the font they draw with;
    /// without one the grids estimate from the number of characters.
    using TextMeasure = std::function<int(const CellText& cell)>;
    void SetTextMeasure(TextMeasure measure) { m_textMeasure = std::move(measure); }
    const TextMeasure& GetTextMeasure() const { return m_textMeasure; }

    /// Forgets queued answers, runners, the text measure and the records.
    void Reset();

    /// Runs the answer for a modal form being shown (the forms layer calls it).
    void RunModal(Form& form);
    /// Answers a message box (MsgBox calls it).
    int AnswerMsgBox(MessageBoxRecord record);

    /// Runs the answer for a common dialog being shown (the dialog services call it): true
    /// when it closed with OK. A queued answer that does not fit the dialog (its Check fails)
    /// raises error 5 with the reason, as does a runner's.
    bool RunDialog(CommonDialog& dialog);
    /// Answers a pop-up menu shown over a form at x, y (form units): the key picked or "".
    std::string AnswerPopup(const std::string& formName, const MenuItem& menu, double x, double y);

    /// The answer of a box's default button.
    static int DefaultAnswer(int buttons);

private:
    std::map<std::string, std::deque<ModalAnswer>> m_modalAnswers;
    ModalAnswer m_modalRunner;
    std::deque<int> m_msgBoxAnswers;
    MsgBoxRunner m_msgBoxRunner;
    std::vector<MessageBoxRecord> m_messageBoxes;
    std::deque<DialogAnswer> m_dialogAnswers;
    DialogAnswer m_dialogRunner;
    std::vector<DialogRecord> m_dialogs;
    std::deque<std::string> m_popupAnswers;
    PopupAnswer m_popupRunner;
    std::vector<PopupMenuRecord> m_popupMenus;
    TextMeasure m_textMeasure;
};

} // namespace platform::forms
