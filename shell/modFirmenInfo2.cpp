#include "shell/modFirmenInfo2.h"

#include "common/Deliverable.h"
#include "common/ErrorHandling.h"
#include "common/ErrorObject.h"
#include "platform/forms/Driver.h"
#include "platform/runtime/ResumeNext.h"
#include "shell/frmAbout.h"

#include <memory>

namespace shell::modFirmenInfo2 {

namespace {
// The add-in's own version: major, minor, revision.
constexpr int kMajor = 0;
constexpr int kMinor = 1;
constexpr int kRevision = 0;
constexpr int kExclamation = 48;
} // namespace

std::string GetAppTitleText()
{
    return common::ThisDeliverable().sAppTitle;
}

std::string GetVersionShort()
{
    return std::to_string(kMajor) + "." + std::to_string(kMinor);
}

std::string GetVersionFull()
{
    return GetVersionShort() + "." + std::to_string(kRevision);
}

void ShowInfoDialog(std::int32_t Duration)
{
    std::shared_ptr<frmAbout> oDialog;
    try {
        oDialog = std::make_shared<frmAbout>();
        const std::string sVersion = GetVersionFull();
        const std::string sProductName = "Kestrova - " + GetAppTitleText();
        const std::string sProductVersion = GetVersionShort();
        oDialog->ShowDialog(sVersion, sProductName, sProductVersion, Duration);
    } catch (...) {
        // Shown, not logged: the about box keeps its failures to the message box.
        common::ErrorObject oError;
        bool bFlag = false;
        oError.CaptureError(common::SourceText("modFirmenInfo2", "ShowInfoDialog", 0), bFlag);
        platform::forms::MsgBox(oError.Description(), kExclamation, GetAppTitleText());
        if (oDialog)
            platform::runtime::ResumeNext{}([&] { oDialog->Unload(); });
    }
}

} // namespace shell::modFirmenInfo2
