#pragma once

#include <string>

namespace platform::win {

/// The host's special folders that the stand-in knows, by their shell folder numbers.
enum class SpecialFolder : int
{
    /// The per-user application-data folder: $XDG_CONFIG_HOME when it is an absolute path,
    /// else the home directory's ".config" ($HOME, or the password database when HOME is unset).
    ApplicationData = 0x1A,
    /// The all-users application-data folder: $TV_COMMON_APPDATA when it is an absolute path,
    /// else "/var/lib" (machine-wide program state, as the host's common data folder).
    CommonApplicationData = 0x23,
};

/// Whether a missing special folder is created (with its parents) when asked for.
enum class FolderCreation
{
    Leave,
    Create
};

/// The shell's flag added to a folder number to ask for the folder to be created.
inline constexpr int kSpecialFolderCreateFlag = 0x8000;

/// The path of a special folder, without a trailing "/". Empty text when it cannot be found
/// (no usable environment and no home directory) or, with FolderCreation::Create, cannot be
/// created. Never a path relative to the working directory.
std::string specialFolderPath(SpecialFolder folder,
                              FolderCreation creation = FolderCreation::Leave);

/// The same by the shell's folder number, which may carry kSpecialFolderCreateFlag. A folder
/// number the stand-in does not know gives empty text, as the shell fails for it.
std::string specialFolderPath(int folderNumber);

} // namespace platform::win
