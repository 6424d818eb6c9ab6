#pragma once

#include <functional>

class QWidget;

namespace gui {

/// The window a window opened now stands over (its transient parent): the modal window open
/// now, else the active window, else a visible window of the application; null when none
/// shows. Modal forms, message boxes and common dialogs open over it, so that they stay above
/// the window that opened them.
QWidget* OpeningWindow();

/// Gives a dialog window the frame of a dialog: a title, a system menu and a close button, no
/// minimise or maximise buttons.
void SetDialogFrame(QWidget& window);

/// Runs a call into the headless model from a Qt event handler (a click, a key, a resize): an
/// error that the add-in lets out must not unwind through Qt's loop. The person is shown the
/// error's text in a message box, as the text host prints it, and the windows stay.
void CallModel(const std::function<void()>& call);

} // namespace gui
