#pragma once

#include "platform/forms/Driver.h"
#include "platform/locale/Locale.h"

#include <QApplication>
#include <QDialog>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>

namespace guitest {

/// The number of failed checks of the running test so far.
inline int FailureCount()
{
    const auto* pTest = ::testing::UnitTest::GetInstance()->current_test_info();
    return pTest ? pTest->result()->total_part_count() : 0;
}

/// Activates the window and waits until it is the application's active window, the one whose
/// focus widget a person's keys reach and that sends a widget given the focus its focus-in at
/// once. qWaitForWindowActive does not wait for that with a dialog: its own activation comes
/// from the window system a turn of the loop after it shows, and until then Qt counts it active
/// already because its opener is (QWindow::isActive follows the transient parent).
inline bool ActivateWindow(QWidget& window)
{
    window.activateWindow();
    return QTest::qWaitFor([&window] { return QApplication::activeWindow() == &window; });
}

/// Runs a test's callback on a window that the code under test shows modally and waits on: when
/// a check inside the callback failed and the window is still open, the window is ended, so
/// that the failure is reported rather than the test waiting for ever.
template <class W, class Act> void ActOnModal(W& window, const Act& act)
{
    const int nBefore = FailureCount();
    act(window);
    if (FailureCount() == nBefore || !window.isVisible())
        return;
    if (auto* dialog = qobject_cast<QDialog*>(&window))
        dialog->done(QDialog::Rejected);
    else
        window.close();
}

/// Runs `act` on the first visible top-level widget of type W that `fits` once one shows, from
/// Qt's loop (through ActOnModal): how a test answers a window that the code under test opens
/// and waits on.
template <class W, class Fits, class Act> void WhenWindowShown(Fits fits, Act act)
{
    // The application owns it: a watch for a window that never shows goes with the process
    // rather than leaking.
    auto* timer = new QTimer(QCoreApplication::instance());
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, fits, act] {
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (auto* w = qobject_cast<W*>(widget); w && w->isVisible() && fits(*w)) {
                timer->stop();
                timer->deleteLater();
                ActOnModal(*w, act);
                return;
            }
    });
    timer->start();
}

/// Pins the locale and leaves the forms driver as it found it.
class GuiFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        platform::locale::SetCurrent("en-US");
        platform::forms::Driver::current().Reset();
    }
    void TearDown() override { platform::forms::Driver::current().Reset(); }

    /// Runs `act` on the top-level widget of type W once it shows, from Qt's loop: how a
    /// test answers a modal dialog that the code under test opens and waits on. A failed
    /// check inside `act` ends the dialog.
    template <class W> static void WhenShown(std::function<void(W&)> act)
    {
        WhenWindowShown<W>([](W&) { return true; }, act);
    }
};

} // namespace guitest
