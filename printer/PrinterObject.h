#pragma once

#include "platform/runtime/Collection.h"
#include "printer/PrinterSettings.h"

#include <memory>
#include <string>

namespace printer {

/// The printer library's creatable class: lists the installed printers, reads and switches the
/// default printer, and reads and writes a printer's stored settings. The add-in creates one
/// whenever it needs it and drops it afterwards; it holds no state of its own.
///
/// Every operation raises the errors it meets to the caller with its source text
/// ("Wicket.PrinterObject.<procedure> (<line>)") added to the error's source chain.
class PrinterObject
{
public:
    /// A new PrinterSettings filled from the named printer's stored settings: copies,
    /// collation, colour, orientation, paper bin, paper length, size and width, quality and
    /// scale, through the normalising setters (letter paper reads as A4, a resolution in dots
    /// per inch as medium quality, a printer-specific bin as the upper bin). PrinterName is the
    /// name as passed; the page range and PrintWhat keep their defaults. nullptr (Nothing),
    /// without an error, when the printer cannot be opened.
    std::shared_ptr<PrinterSettings> GetPrinterSettings(const std::string& PrinterName);

    /// Writes the settings into the stored settings of the printer that their PrinterName
    /// names (see modPrinter::SetPrinterDevMode). True when written; false, doing nothing, when
    /// PrinterName is empty. Raises an error, writing nothing, when the printer cannot be
    /// opened, and error 91 when no settings object is given.
    bool SetPrinterSettings(const std::shared_ptr<PrinterSettings>& PrinterSettings);

    /// The name of the current default printer; empty when there is none.
    std::string GetDefaultPrinter();

    /// A new collection of the names of the installed printers, without keys, in the
    /// spooler's order; empty without printers.
    platform::runtime::Collection<std::string> GetPrinters();

    /// Makes the named printer the default printer. False when the name is empty (nothing
    /// happens) or not accepted as the default printer.
    bool SetDefaultPrinter(const std::string& PrinterName);
};

} // namespace printer
