#pragma once

#include <functional>

class QWidget;

namespace gui {

/// The window a window opened now stands over (its transient parent): the modal window open
/// now, else the active window, else the window that was active when a window was last opened
/// (between a dialog closing and the window system activating its opener no window is
/// active), else a visible window of the application; null when none shows. Modal forms,
/// message boxes and common dialogs open over it, so that they stay above the window that
/// opened them.
QWidget* OpeningWindow();

/// Gives the window that opened a dialog the focus back once the dialog closed (null or a
/// hidden window: nothing), so that it, not another window of the application, is in front.
void ReturnToOpener(QWidget* opener);

/// Gives a dialog window the frame of a dialog: a title, a system menu and a close button, no
/// minimise or maximise buttons.
void SetDialogFrame(QWidget& window);

/// Runs a call into the headless model from a Qt event handler (a click, a key, a resize): an
/// error that the add-in lets out must not unwind through Qt's loop. The person is shown the
/// error's text in a message box, as the text host prints it, and the windows stay.
void CallModel(const std::function<void()>& call);

} // namespace gui
