#pragma once

#include "platform/runtime/Object.h"

#include <string>

namespace engine {

/// One folder to read, named by its entry and store identifiers. The engine uses only those
/// two; name, item count and the has-subfolders flag are carried for the caller.
class FolderData : public platform::runtime::Object
{
public:
    std::string TypeName() const override { return "FolderData"; }

    /// Sets every member.
    void Init(const std::string& sEntryID, const std::string& sStoreID, const std::string& sName,
              long lItemsCount, bool bHasChilds);

    const std::string& EntryID() const { return m_sEntryID; }
    const std::string& StoreID() const { return m_sStoreID; }
    const std::string& Name() const { return m_sName; }
    long ItemsCount() const { return m_lItemsCount; }
    bool HasChilds() const { return m_bHasChilds; }

private:
    std::string m_sEntryID;
    std::string m_sStoreID;
    std::string m_sName;
    long m_lItemsCount = 0;
    bool m_bHasChilds = false;
};

} // namespace engine
