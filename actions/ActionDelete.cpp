#include "actions/ActionDelete.h"

#include "actions/Action.h"
#include "actions/ActionSave.h"
#include "actions/detail/SavedReport.h"
#include "actions/detail/SettingsString.h"
#include "common/Deliverable.h"
#include "common/ErrorHandling.h"
#include "common/ErrorObject.h"
#include "platform/forms/Driver.h"
#include "platform/runtime/Error.h"
#include "platform/win/FileComponent.h"

namespace actions {

using namespace detail;

namespace {

// "Do you wish to delete the file '#0'?"
constexpr long kAskDeleteResource = 140;
// Yes/No buttons with the question icon.
constexpr int kYesNoQuestion = 36;

} // namespace

void ActionDelete::Execute(bool ShowDialog)
{
    common::Rethrowing("ActionDelete", "Execute", [&](int& nLine) {
        nLine = 10;
        ActionSave& oSave = SaveActionOf(Parent());
        const std::string sFile = oSave.SavedAs();
        if (sFile.empty())
            return;
        if (ShowDialog) {
            nLine = 20;
            common::ErrorObject oError;
            const auto lNumber = static_cast<std::int32_t>(kAskDeleteResource +
                                                           common::ThisDeliverable().lErrorBase);
            const std::string sPrompt = oError.GetMessageText(lNumber, {sFile});
            if (platform::forms::MsgBox(sPrompt, kYesNoQuestion) != platform::forms::vbYes)
                return;
        }
        nLine = 30;
        platform::win::FileComponent().deleteFile(sFile);
        oSave.SetSavedAs({});
    });
}

std::string ActionDelete::ToString() const
{
    return BoolField(m_bAutoExecute);
}

void ActionDelete::ToObject(std::string& sData)
{
    common::Rethrowing("ActionDelete", "ISerializeString_ToObject", [&] {
        // An empty string holds no field at all.
        if (sData.empty())
            platform::runtime::Raise(platform::runtime::errors::SubscriptOutOfRange);
        m_bAutoExecute = ReadBool(SplitFields(sData)[0]);
    });
}

} // namespace actions
