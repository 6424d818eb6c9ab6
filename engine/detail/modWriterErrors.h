#pragma once

#include <cstdint>
#include <string>
#include <vector>

/// The writers' own errors and the settings they take from the initialised engine root.
namespace engine::detail::modWriterErrors {

/// "The file '#0' could not be created." (resource 20).
inline constexpr std::int32_t ERR_CREATE_FILE = -44942832;
/// "The template #0 is not valid or could not be found." (resource 30).
inline constexpr std::int32_t ERR_INVALID_TEMPLATE = -44942822;
/// "The template #0 holds the placeholder #1 more than #2 times." (resource 40).
inline constexpr std::int32_t ERR_TEMPLATE_REPEATS = -44942812;

/// Raises one of the engine's own errors with its message in the current UI language, the
/// placeholders filled from vArgs.
[[noreturn]] void RaiseEngineError(std::int32_t lNumber, const std::vector<std::string>& vArgs);

/// The full path of a report file whose folder exists: a missing folder is created, and when
/// that fails ERR_CREATE_FILE is raised with the file's full path.
std::string PrepareTargetFile(const std::string& sFilename);

/// The CSV delimiter of the engine root initialised on this thread, ";" without one.
std::string CurrentCsvDelimiter();

/// The placeholder prefix of the engine root initialised on this thread, "@tlv_" without one.
std::string CurrentHtmlPrefix();

} // namespace engine::detail::modWriterErrors
