#pragma once

#include <string>

/// The current UI language of this deliverable and the lookup of its resource strings.
/// German texts have the resource id n, English texts n + 10000.
namespace common::modLanguage {

inline constexpr long LANG_GERMAN = 1031;
inline constexpr long LANG_ENGLISH = 1033;

/// The current language; when none was set yet it becomes the deliverable's default first
/// (English in the add-in, German in the libraries).
long GetLanguageID();

/// Stores 1031 or 1033 unchanged; any other value stores the deliverable's default.
void SetLanguageID(long lID);

/// 0 for German, 10000 for English, 0 for anything else.
long GetLanguageOffset();

/// The resource string of lID in the current language (lID + `GetLanguageOffset`).
/// Throws the runtime's error 326 when the table has no such string.
std::string GetResString(long lID);

/// Forgets the current language (as at load time); for tests.
void ResetLanguageForTests();

} // namespace common::modLanguage
