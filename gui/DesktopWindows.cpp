#include "gui/DesktopWindows.h"

#include "gui/Units.h"
#include "platform/forms/Driver.h"

#include <QApplication>
#include <QPointer>
#include <QWidget>

#include <exception>
#include <string>

namespace gui {

namespace {

// The message box style of an error: the OK button and the critical icon.
constexpr int kErrorStyle = 16;

} // namespace

QWidget* OpeningWindow()
{
    static QPointer<QWidget> lastActive;
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    if (QWidget* active = QApplication::activeWindow()) {
        lastActive = active;
        return active;
    }
    // A dialog has just closed: the window that opened it comes back, not the first window.
    if (lastActive && lastActive->isVisible())
        return lastActive;
    // Without a window manager (or before any window was activated) no window is active:
    // a visible modal window comes first, then any visible window.
    QWidget* visible = nullptr;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (!window->isVisible() || window->windowType() == Qt::Popup ||
            window->windowType() == Qt::ToolTip)
            continue;
        if (window->isModal())
            return window;
        if (!visible)
            visible = window;
    }
    return visible;
}

void ReturnToOpener(QWidget* opener)
{
    if (opener && opener->isVisible())
        opener->activateWindow();
}

void SetDialogFrame(QWidget& window)
{
    // Only a customised frame tells the window manager which buttons to leave out.
    window.setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
}

void CallModel(const std::function<void()>& call)
{
    std::string error;
    try {
        call();
        return;
    } catch (const std::exception& e) {
        error = e.what();
    }
    // Shown through the forms' message box, so that a test's queued answer or the desktop's
    // runner answers it like any other box; a failure to show it must not unwind either.
    try {
        platform::forms::MsgBox(error, kErrorStyle, FromQ(QApplication::applicationName()));
    } catch (const std::exception& e) {
        qWarning("tallyman: %s (%s)", error.c_str(), e.what());
    }
}

} // namespace gui
