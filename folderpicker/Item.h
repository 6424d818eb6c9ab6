#pragma once

#include "common/IChild.h"
#include "platform/runtime/Object.h"

#include <memory>
#include <string>

namespace platform::mapi {
class Folder;
}

namespace folderpicker {

class Result;

/// One store root or folder of the tree: it names the folder by its entry and store
/// identifiers and keeps what the tree shows of it. It holds no messaging object, so a picked
/// item keeps working after its `Dialog` is gone.
class Item : public platform::runtime::Object, public common::ChildLink<Result>
{
public:
    std::string TypeName() const override { return "Item"; }

    /// The folder's entry identifier; for a store, that of its root folder.
    const std::string& EntryID() const { return m_sEntryID; }
    /// The identifier of the store that holds the folder.
    const std::string& StoreID() const { return m_sStoreID; }
    /// The folder's display name; for a store, the store's name.
    const std::string& Name() const { return m_sName; }
    /// The number of items in the folder, 0 when it gives no item collection.
    long ItemsCount() const { return m_lItemsCount; }
    /// True when the folder has at least one subfolder.
    bool HasChilds() const { return m_bHasChilds; }
    /// The messaging library's folder of this item through the library's session (which logs
    /// on when needed); null when there is no session. Throws what the session throws, with
    /// "Item.GetFolder" added to the source.
    std::shared_ptr<platform::mapi::Folder> GetFolder() const;

    // Inside the library.

    using common::ChildLink<Result>::Init;
    /// Fills the item from a folder at an outline level; sName, when not empty, replaces the
    /// folder's own name. False for no folder (nothing changes) and when reading the folder
    /// fails: the error then goes to the error log with the folder's name added. Never throws.
    bool Init(const std::shared_ptr<platform::mapi::Folder>& oFolder, long lLevel,
              const std::string& sName);
    /// The outline level: 0 for a store root, 1 for the folders under it, and so on.
    long Level() const { return m_lLevel; }
    /// Whether the tree has read the subfolders.
    bool SubfoldersLoaded() const { return m_bSubfoldersLoaded; }
    void SetSubfoldersLoaded(bool bLoaded) { m_bSubfoldersLoaded = bLoaded; }
    /// The item seen through its parent link.
    common::IChild& ToIChild() { return *this; }

private:
    std::string m_sEntryID;
    std::string m_sStoreID;
    std::string m_sName;
    long m_lItemsCount = 0;
    bool m_bHasChilds = false;
    long m_lLevel = 0;
    bool m_bSubfoldersLoaded = false;
};

} // namespace folderpicker
