#pragma once

#include <cstdint>

/// The major version of the hosting client.
namespace common::modOLVersion {

/// 8, 9, 10, 11, 12, 14, ... from the first two characters of the client's version text;
/// 0 while no client application object is known (not cached: asked again next time).
std::int32_t GetOutlookVersion();

/// Forgets the cached version (for tests and a new connection).
void ResetOutlookVersion();

} // namespace common::modOLVersion
