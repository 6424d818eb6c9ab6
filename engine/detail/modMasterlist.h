#pragma once

#include "engine/detail/IMasterlist.h"

#include <memory>
#include <string>

/// The master list that fits the running client version.
namespace engine::detail::modMasterlist {

/// The implementation for the client's major version: 8 `Masterlist97`, 9 `Masterlist00`,
/// 10 `Masterlist02`, 11 `Masterlist03`, above 11 `Masterlist07` (initialised); no object for
/// any other version (0 when it cannot be read). Raises 91 without a current root; failures
/// of `Masterlist07.Init` reach the caller.
std::unique_ptr<IMasterlist> CreateMasterlist();

/// `ReadCategories` of `CreateMasterlist`'s object; error 91 when there is none.
std::string GetMasterlist();

} // namespace engine::detail::modMasterlist
