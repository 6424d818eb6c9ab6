#pragma once

#include "platform/runtime/Collection.h"
#include "printer/PrinterSettings.h"

#include <cstdint>
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

    /// Shows the print dialog and returns the person's choice as new settings whose
    /// PrinterName is the full name of an installed printer; null on cancel, when the dialog
    /// cannot be shown, or when the chosen printer matches no installed printer. With
    /// DefaultSettings the dialog opens on their printer with their settings, page range,
    /// collation and copies (shown only: no printer's stored settings change); a
    /// DefaultSettings whose printer is not installed raises an error without showing the
    /// dialog. Printing to a file is never offered. hwnd is the owner window (0 for none).
    std::shared_ptr<PrinterSettings>
    Dialog(const std::shared_ptr<PrinterSettings>& DefaultSettings = nullptr,
           std::int64_t hwnd = 0);

    /// Prints a file as a person sees it (a workbook or an HTML page rendered to PDF first,
    /// text and PDF as they are) in one job on the printer that Settings name, with Settings
    /// laid over that printer's stored settings for this job only; without Settings (or
    /// without a printer name in them) on the default printer with its stored settings.
    /// Neither the default printer nor any stored settings change. The document is rendered
    /// on the paper, in the orientation and at the scale of those settings and in the current
    /// locale. Returns at once, as a file association prints on its own: a copy of the file
    /// is printed in the background (platform::printing::PrintInBackground), so the file may
    /// be removed right after. Raises an error when the file is missing or the printer is not
    /// installed (or there is no default printer); a file that cannot be made ready or a job
    /// the server refuses is reported by the background print.
    void PrintFile(const std::string& File, const std::shared_ptr<PrinterSettings>& Settings);

private:
    /// Keeps the settings when their name is an installed printer's (compared without regard
    /// to case); gives them the full name of the printer whose name the dialog's device-name
    /// field cut to theirs; otherwise (an empty name included) replaces them by null.
    void ResolvePrinterName(std::shared_ptr<PrinterSettings>& PrinterSettings);
};

} // namespace printer
