#pragma once

#include "platform/forms/Driver.h"
#include "platform/locale/Locale.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>

namespace guitest {

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
    /// test answers a modal dialog that the code under test opens and waits on.
    template <class W> static void WhenShown(std::function<void(W&)> act)
    {
        auto* timer = new QTimer;
        timer->setInterval(10);
        QObject::connect(timer, &QTimer::timeout, [timer, act] {
            for (QWidget* widget : QApplication::topLevelWidgets())
                if (auto* w = qobject_cast<W*>(widget); w && w->isVisible()) {
                    timer->stop();
                    timer->deleteLater();
                    act(*w);
                    return;
                }
        });
        timer->start();
    }
};

} // namespace guitest
