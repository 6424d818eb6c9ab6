#include "dialogs/detail/DialogCommon.h"

#include "common/Deliverable.h"
#include "common/ErrorObject.h"
#include "common/modHtmlHelp.h"
#include "platform/forms/Driver.h"
#include "platform/forms/Form.h"
#include "platform/runtime/ResumeNext.h"

namespace dialogs::detail {

namespace pf = platform::forms;
namespace rt = platform::runtime;

namespace {
constexpr double kDialogFontSize = 8;
constexpr int kKeyF1 = 112;
constexpr int kExclamation = 48;
} // namespace

void SetDialogFontSize(pf::Form& oForm)
{
    rt::ResumeNext ignore;
    for (const auto& oControl : oForm.Controls())
        ignore([&] { oControl->SetFontSize(kDialogFontSize); });
}

void SetClientSize(pf::Form& oForm, int lWidth, int lHeight)
{
    oForm.Move(oForm.Left(), oForm.Top(), lWidth + oForm.Width() - oForm.ScaleWidth(),
               lHeight + oForm.Height() - oForm.ScaleHeight());
}

void HandleHelpKey(int& KeyCode, const std::string& sTopic)
{
    if (KeyCode != kKeyF1)
        return;
    KeyCode = 0;
    rt::ResumeNext ignore;
    ignore([&] { common::modHtmlHelp::ShowHelp(sTopic); });
}

void ShowErrorBox(const common::ErrorObject& oError, const std::string& sTitle)
{
    pf::MsgBox(oError.Description(), kExclamation, sTitle);
}

std::string AppTitle()
{
    return common::ThisDeliverable().sAppTitle;
}

} // namespace dialogs::detail
