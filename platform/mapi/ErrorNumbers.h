#pragma once

#include <cstdint>

namespace platform::mapi {

/// The error numbers the library raises for a store file that fails, by the cause the store
/// reports (MAPI codes as the runtime reports them), so that a caller tells the causes apart
/// by number rather than by the message's words.
inline constexpr std::int32_t MAPI_E_CALL_FAILED = -2147467259;     // 0x80004005, any other
inline constexpr std::int32_t MAPI_E_CORRUPT_DATA = -2147221221;    // 0x8004011B, damaged file
inline constexpr std::int32_t MAPI_E_BUSY = -2147221237;            // 0x8004010B, in use
inline constexpr std::int32_t MAPI_E_NO_ACCESS = -2147024891;       // 0x80070005, cannot open
inline constexpr std::int32_t MAPI_E_DISK_ERROR = -2147221226;      // 0x80040116, disk failed
inline constexpr std::int32_t MAPI_E_NOT_ENOUGH_DISK = -2147221235; // 0x8004010D, disk full

} // namespace platform::mapi
