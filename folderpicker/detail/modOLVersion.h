#pragma once

#include <cstdint>

/// The picker's own test of the client's major version, which chooses how its session logs on.
namespace folderpicker::detail::modOLVersion {

/// 8, 9, 10, 11 or 12 from the first two characters of the client's version text; 0 for any
/// other version and while the library holds no client application object. A known version
/// is kept; a 0 is asked anew on the next call.
std::int32_t GetOutlookVersion();

/// Forgets the kept version (for tests).
void ResetOutlookVersion();

} // namespace folderpicker::detail::modOLVersion
