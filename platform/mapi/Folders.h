#pragma once

#include "platform/runtime/Object.h"
#include "platform/runtime/Variant.h"

#include <memory>
#include <vector>

namespace platform::mapi {

class Folder;

/// A folder's subfolders (1-based, ordered by name as the store lists them).
class Folders : public runtime::Object
{
public:
    explicit Folders(std::vector<std::shared_ptr<Folder>> folders);
    std::string TypeName() const override { return "Folders"; }

    long Count() const;
    /// The folder at a 1-based position (whole number) or with a name (text, compared
    /// without regard to case); throws error 9 when there is none.
    std::shared_ptr<Folder> Item(const runtime::Variant& index) const;

    auto begin() const { return m_folders.begin(); }
    auto end() const { return m_folders.end(); }

private:
    std::vector<std::shared_ptr<Folder>> m_folders;
};

} // namespace platform::mapi
