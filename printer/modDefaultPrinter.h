#pragma once

#include <string>

/// Switching the default printer.
namespace printer::modDefaultPrinter {

/// Makes the named printer the user's default printer. False when the name is not accepted
/// (no such printer) or the choice cannot be stored. Errors are raised to the caller with this
/// procedure's source text added.
bool SetPrinterDefault(const std::string& sPrinterName);

} // namespace printer::modDefaultPrinter
