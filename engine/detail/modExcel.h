#pragma once

#include <memory>

namespace platform::excel {
class Application;
}

/// The spreadsheet application's version, as the Excel writer asks it.
namespace engine::detail::modExcel {

/// The major version of the spreadsheet application: the first non-zero answer is kept for the
/// thread and returned from then on. From the first two characters of its version text: "8."
/// gives 8, "9." gives 9, a number that number, anything else 0. Without an application 0.
long GetExcelVersion(const std::shared_ptr<platform::excel::Application>& oExcel);

/// Forgets the version kept for this thread (tests that install another version).
void ResetExcelVersion();

} // namespace engine::detail::modExcel
