#pragma once

#include "platform/runtime/Object.h"

#include <memory>
#include <string>

namespace platform::mapi {
class Folder;
}

namespace platform::outlook {

class Folders;
class Items;

/// A folder of the client's object model: a view over the messaging library's folder.
class MAPIFolder : public runtime::Object
{
public:
    explicit MAPIFolder(std::shared_ptr<mapi::Folder> folder);
    std::string TypeName() const override { return "MAPIFolder"; }

    std::string EntryID() const;
    std::string StoreID() const;
    std::string Name() const;
    /// 0 mail, 1 appointment, 2 contact, 3 task, 4 journal, 5 note, 6 post.
    long DefaultItemType() const;
    std::shared_ptr<outlook::Items> Items();
    std::shared_ptr<outlook::Folders> Folders();
    /// The folder as the messaging library sees it.
    std::shared_ptr<mapi::Folder> MapiFolder() const { return m_folder; }

private:
    std::shared_ptr<mapi::Folder> m_folder;
};

} // namespace platform::outlook
