#pragma once

#include "platform/runtime/Object.h"

#include <string>

namespace platform::mapi {

/// The client's master category list as the category-list component hands it out: the
/// category names joined by ";", kept on the default store of the process's current profile
/// (store property 0x67F0001E). Every call reads or writes the store, so two list objects see
/// each other's changes.
class MasterCategoryList : public runtime::Object
{
public:
    /// A list over the profile in `profilePath`.
    explicit MasterCategoryList(std::string profilePath);

    std::string TypeName() const override { return "MasterCategoryList"; }

    /// The list text; empty when the store holds none. Raises -2147221231 (logon failed) when
    /// the profile cannot be opened.
    std::string ReadCategories() const;
    /// Stores the list text; an empty text removes the list. Failures of the store reach the
    /// caller.
    void WriteCategories(const std::string& list);
    /// The notation of the list text: empty, as the text is plain.
    std::string Format() const { return {}; }

private:
    std::string m_profilePath;
};

} // namespace platform::mapi
