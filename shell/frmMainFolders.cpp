// The report window's folder choice: the folder picker, its result as the engine's folder
// descriptors, and forgetting a view's folders.
#include "shell/frmMain.h"

#include "common/ErrorHandling.h"
#include "common/modLanguage.h"
#include "common/modMain.h"
#include "engine/FolderData.h"
#include "folderpicker/Dialog.h"
#include "folderpicker/Enumerations.h"
#include "folderpicker/Item.h"
#include "folderpicker/Result.h"
#include "platform/runtime/DoEvents.h"
#include "platform/runtime/Error.h"
#include "platform/runtime/ResumeNext.h"
#include "platform/runtime/Variant.h"
#include "views/ViewSettings.h"

namespace shell {

namespace rt = platform::runtime;

namespace {
constexpr int kHourglass = 11;
}

std::shared_ptr<folderpicker::Result> frmMain::PickFolder()
{
    try {
        return common::Rethrowing("frmMain", "PickFolder", [&](int& nLine) {
            nLine = 1;
            SetMousePointer(kHourglass);
            rt::DoEvents();
            nLine = 2;
            auto oPicker = std::make_shared<folderpicker::Dialog>();
            oPicker->Init(common::modMain::G().g_oOutlookApp);
            nLine = 3;
            oPicker->ToILanguage().SetLanguageID(common::modLanguage::GetLanguageID());
            nLine = 4;
            oPicker->SetShowStoreKind(folderpicker::fskAll);
            nLine = 5;
            auto oResult = oPicker->PickFolder();
            nLine = 6;
            SetMousePointer(0);
            rt::DoEvents();
            return oResult;
        });
    } catch (...) {
        SetMousePointer(0);
        rt::DoEvents();
        throw;
    }
}

std::shared_ptr<engine::FolderDataList> frmMain::GetFolders(const folderpicker::Result& oResult)
{
    auto colFolders = std::make_shared<engine::FolderDataList>();
    long lCount = 0;
    rt::ResumeNext()([&] { lCount = oResult.Count(); });
    for (long i = 1; i <= lCount; ++i) {
        // Only a descriptor that was filled goes into the list: an empty one would name no
        // folder and be dropped by the next read as gone.
        common::Logging("frmMain", "GetFolders", [&] {
            const auto oItem = oResult.Item(rt::Variant(static_cast<std::int32_t>(i)));
            if (!oItem)
                throw rt::Error(rt::errors::ObjectNotSet, "frmMain",
                                "The picked folder " + std::to_string(i) + " is missing.");
            auto oFolder = std::make_shared<engine::FolderData>();
            oFolder->Init(oItem->EntryID(), oItem->StoreID(), oItem->Name(), oItem->ItemsCount(),
                          oItem->HasChilds());
            colFolders->Add(oFolder);
        });
    }
    return colFolders;
}

void frmMain::CancelFolderSelection()
{
    common::Rethrowing("frmMain", "CancelFolderSelection", [&] {
        if (m_oView)
            m_oView->SetFolders(nullptr);
    });
}

bool frmMain::SelectFolders()
{
    auto oResult = PickFolder();
    if (!oResult)
        return false;
    auto colFolders = GetFolders(*oResult);
    if (m_oView)
        m_oView->SetFolders(colFolders);
    return true;
}

} // namespace shell
