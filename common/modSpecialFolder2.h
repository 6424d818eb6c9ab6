#pragma once

#include <cstdint>
#include <string>

/// Paths of the user's special folders.
namespace common::modSpecialFolder2 {

/// The per-user application-data folder's number.
inline constexpr std::int32_t CSIDL_APPDATA = 26;

/// The path of special folder lFolder without a trailing "/", created when bCreate is true
/// and it is missing; empty text when it cannot be found.
std::string GetSpecialFolderPath(std::int32_t lFolder, bool bCreate);

} // namespace common::modSpecialFolder2
