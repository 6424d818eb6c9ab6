#pragma once

#include <string>

/// Reading and writing keys of INI files with the profile-string rules.
namespace common::modIniFile {

/// The value of sKey in sSection of sFile, or empty text when the key is missing or empty.
/// At most 254 characters come back (the profile read's buffer). Never throws.
std::string ReadIniString(const std::string& sFile, const std::string& sSection,
                          const std::string& sKey);

/// Writes sValue to sKey in sSection of sFile, keeping the file's other lines. Returns
/// non-zero on success, 0 on failure. Never throws.
long WriteIniString(const std::string& sFile, const std::string& sSection, const std::string& sKey,
                    const std::string& sValue);

} // namespace common::modIniFile
