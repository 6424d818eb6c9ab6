#pragma once

#include <filesystem>

namespace platform::win {

/// The folder of the loaded binary (the executable or a shared library) whose code or data
/// holds pAddress, as an absolute path: what the host reports as the folder a module was
/// loaded from. A library passes the address of one of its own functions to learn its own
/// folder, which is not the executable's when a host loaded it. Empty when the address lies
/// in no loaded binary.
std::filesystem::path moduleFolder(const void* pAddress);

} // namespace platform::win
