#pragma once

#include "platform/runtime/Object.h"
#include "platform/runtime/Variant.h"

#include <memory>
#include <vector>

namespace platform::outlook {

class MAPIFolder;

/// A list of folders of the client's object model (1-based).
class Folders : public runtime::Object
{
public:
    explicit Folders(std::vector<std::shared_ptr<MAPIFolder>> folders)
        : m_folders(std::move(folders))
    {
    }
    std::string TypeName() const override { return "Folders"; }

    long Count() const { return static_cast<long>(m_folders.size()); }
    /// The folder at a 1-based position or with a name (compared without regard to case);
    /// throws error 9 when there is none.
    std::shared_ptr<MAPIFolder> Item(const runtime::Variant& index) const;

    auto begin() const { return m_folders.begin(); }
    auto end() const { return m_folders.end(); }

private:
    std::vector<std::shared_ptr<MAPIFolder>> m_folders;
};

} // namespace platform::outlook
