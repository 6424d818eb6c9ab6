#pragma once

// The report window over the sample profile, opened, in English: the fixture of the view and
// filter dialogs' tests.
#include "../shell/ReportWindowFixture.h"

#include "common/modLanguage.h"

namespace dialogs_test {

class DialogsTest : public shell_test::ReportWindowTest
{
protected:
    void SetUp() override
    {
        shell_test::ReportWindowTest::SetUp();
        common::modLanguage::SetLanguageID(1033);
        ClickReportButton();
        ASSERT_TRUE(common::modMain::G().g_oApplication->MainForm()) << ErrorLog();
        ASSERT_TRUE(Window().GetViewSettings()) << ErrorLog();
    }

    /// A copy of the view the report window shows, as the window hands it to the view dialog.
    std::shared_ptr<views::ViewSettings> CopyOfCurrentView()
    {
        auto oCopy = std::make_shared<views::ViewSettings>();
        oCopy->Copy(*Window().GetViewSettings());
        return oCopy;
    }
};

} // namespace dialogs_test
