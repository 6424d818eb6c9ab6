#pragma once

#include <functional>
#include <iosfwd>
#include <string>

namespace platform::forms {
class CommonDialog;
class Form;
class MenuItem;
struct MessageBoxRecord;
} // namespace platform::forms

namespace host {

class AnswerSource;

/// The person at the host's terminal, answering whatever the add-in shows modally: modal
/// forms, message boxes, common dialogs and pop-up menus, each shown as text and answered
/// by commands from the answer source. Installed as the forms Driver's runners for its life;
/// one at a time.
class FormRunner
{
public:
    FormRunner(AnswerSource& oAnswers, std::ostream& out, int nWidth);
    ~FormRunner();
    FormRunner(const FormRunner&) = delete;
    FormRunner& operator=(const FormRunner&) = delete;

    /// Works a modal form by commands until it is hidden or unloaded.
    void AnswerModal(platform::forms::Form& form);
    /// Shows a message box; a question is asked until one of its buttons is named, a box
    /// with only OK is shown and answered OK.
    int AnswerMsgBox(const platform::forms::MessageBoxRecord& box);
    /// Works a common dialog: true for OK (with fields that fit the dialog), false for Cancel.
    bool AnswerDialog(platform::forms::CommonDialog& dialog);
    /// Asks for an entry of a pop-up menu: its key, or "" when dismissed.
    std::string AnswerPopup(const platform::forms::MenuItem& menu);
    /// Whether the person worked a folder picker (or dropped the folders) during the run:
    /// then the folders they chose are the template's, not those of the command line.
    bool FoldersChosen() const { return m_bFoldersChosen; }
    /// Notes that the person chose the template's folders by a command.
    void NoteFoldersChosen()
    {
        m_bFoldersChosen = true;
        if (m_fnFoldersChosen)
            m_fnFoldersChosen();
    }
    /// What else happens when the person chooses the template's folders (may be empty).
    void SetFoldersChosenHook(std::function<void()> fnHook)
    {
        m_fnFoldersChosen = std::move(fnHook);
    }

private:
    AnswerSource& m_oAnswers;
    std::ostream& m_out;
    int m_nWidth;
    bool m_bFoldersChosen = false;
    std::function<void()> m_fnFoldersChosen;
};

} // namespace host
