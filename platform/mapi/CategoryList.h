#pragma once

#include "platform/runtime/Object.h"

#include <memory>

namespace platform::mapi {

class MasterCategoryList;

/// The client's category-list component (class identifier
/// {4696D7BB-9630-49FC-B8DA-7BB858573D7E}), which the system uses from client version 12 on to
/// reach the master category list.
class CategoryList : public runtime::Object
{
public:
    std::string TypeName() const override { return "CategoryList"; }

    /// The master category list of the client whose application object is given: the list of
    /// the process's current profile, on which the client's namespace works. Raises 91 without
    /// an application object and -2147221231 (logon failed) when no profile is set.
    std::shared_ptr<MasterCategoryList>
    GetMasterlist(const std::shared_ptr<runtime::Object>& application) const;
};

} // namespace platform::mapi
