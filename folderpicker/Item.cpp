#include "folderpicker/Item.h"

#include "common/ErrorHandling.h"
#include "folderpicker/Result.h"
#include "folderpicker/detail/modFolderErrors.h"
#include "folderpicker/detail/modRedemption.h"
#include "platform/mapi/Folder.h"
#include "platform/mapi/Folders.h"
#include "platform/mapi/Items.h"
#include "platform/mapi/Session.h"
#include "platform/runtime/Variant.h"

namespace folderpicker {

namespace rt = platform::runtime;

std::shared_ptr<platform::mapi::Folder> Item::GetFolder() const
{
    return common::Rethrowing(
        "Item", "GetFolder", [&]() -> std::shared_ptr<platform::mapi::Folder> {
            auto oSession = detail::modRedemption::g_Session();
            if (!oSession)
                return nullptr;
            return oSession->GetFolderFromID(m_sEntryID, rt::Variant(m_sStoreID));
        });
}

bool Item::Init(const std::shared_ptr<platform::mapi::Folder>& oFolder, long lLevel,
                const std::string& sName)
{
    if (!oFolder)
        return false;
    int nLine = 0;
    try {
        nLine = 1;
        m_lLevel = lLevel;
        m_bSubfoldersLoaded = false;
        nLine = 2;
        m_sName = sName.empty() ? oFolder->Name() : sName;
        nLine = 3;
        m_sEntryID = oFolder->EntryID();
        m_sStoreID = oFolder->StoreID();
        nLine = 4;
        const auto oItems = oFolder->GetItems();
        m_lItemsCount = oItems ? oItems->Count() : 0;
        nLine = 5;
        const auto oSubfolders = oFolder->GetFolders();
        m_bHasChilds = oSubfolders && oSubfolders->Count() > 0;
        return true;
    } catch (...) {
        detail::modFolderErrors::LogFolderError(common::SourceText("Item", "Init", nLine), m_sName);
        return false;
    }
}

} // namespace folderpicker
