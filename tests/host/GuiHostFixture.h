#pragma once

// The client with windows on Qt's offscreen platform, in a fresh data folder: what the tests of
// its windows share. TV_GUI_LANG (en, de) chooses the language.
#include "gui/ClientWindow.h"
#include "gui/FormView.h"
#include "host/GuiHost.h"
#include "host/HostOptions.h"
#include "platform/forms/Form.h"
#include "platform/forms/MenuBar.h"
#include "tests/gui/GuiFixture.h"

#include <QApplication>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>

namespace host_test {

inline std::string Language()
{
    const char* s = std::getenv("TV_GUI_LANG");
    return s && *s ? s : "en";
}

class GuiHostFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        namespace fs = std::filesystem;
        std::string sTemplate = (fs::temp_directory_path() / "tvguihost-XXXXXX").string();
        ASSERT_NE(mkdtemp(sTemplate.data()), nullptr);
        oRoot = sTemplate;
        setenv("XDG_CONFIG_HOME", oRoot.c_str(), 1);
        setenv("TZ", "Europe/Berlin", 1);
        oOptions.sLanguage = Language();
    }
    void TearDown() override
    {
        std::error_code ec;
        std::filesystem::remove_all(oRoot, ec);
    }

    /// Runs `act` on the visible window of the form of that name once it shows, from Qt's
    /// loop: how a test answers a modal form that the add-in opens and waits on. A failed
    /// check inside `act` ends the window, so that a failure never hangs the suite.
    static void WhenFormShown(const std::string& sForm, std::function<void(gui::FormView&)> act)
    {
        const QString sName = QString::fromStdString(sForm);
        guitest::WhenWindowShown<gui::FormView>(
            [sName](gui::FormView& view) { return view.objectName() == sName; }, act);
    }

    /// Starts the client and clicks its report button: the report window's view, or null.
    static gui::FormView* OpenReportWindow(host::GuiHost& oHost)
    {
        oHost.Start();
        QTest::mouseClick(oHost.Client()->RibbonButton(), Qt::LeftButton);
        return oHost.ReportView();
    }
    /// The report window's menu bar.
    static platform::forms::MenuBar& MenuOf(gui::FormView& oView)
    {
        return dynamic_cast<platform::forms::MenuBar&>(*oView.Form().FindControl("MenuBar1"));
    }

    std::filesystem::path oRoot;
    host::HostOptions oOptions;
};

} // namespace host_test
