#include "engine/FolderData.h"

namespace engine {

void FolderData::Init(const std::string& sEntryID, const std::string& sStoreID,
                      const std::string& sName, long lItemsCount, bool bHasChilds)
{
    m_sEntryID = sEntryID;
    m_sStoreID = sStoreID;
    m_sName = sName;
    m_lItemsCount = lItemsCount;
    m_bHasChilds = bHasChilds;
}

} // namespace engine
