#pragma once

#include "platform/printing/DeviceMode.h"
#include "printer/PrinterSettings.h"

#include <string>

/// A printer's stored settings (its default device mode, kept by the spooler): reading them
/// and writing a PrinterSettings into them.
namespace printer::modPrinter {

/// Reads the stored settings of the named printer into tDevMode. False, with tDevMode
/// untouched, when the printer cannot be opened (no such printer, or no print server).
/// Errors are raised to the caller with this procedure's source text added.
bool GetPrinterDevMode(const std::string& sPrinterName, platform::printing::DeviceMode& tDevMode);

/// Writes copies, collation, colour, orientation, paper bin, paper length, paper size, paper
/// width, quality and scale of oSettings into the stored settings of the printer that
/// oSettings name; the printer's other settings stay. Where oSettings were read from that
/// printer and a field has not been set since, the printer gets back exactly the value it had
/// stored, not its normalised form. Raises an error when the printer cannot be opened, and then
/// writes nothing.
void SetPrinterDevMode(const PrinterSettings& oSettings);
/// The device mode that oSettings stand for on the printer they name: that printer's stored
/// settings with the ten fields above set from oSettings and flagged (fields not set since
/// oSettings were read from the printer keep its exact stored values). Raises an error when
/// the printer cannot be opened.
platform::printing::DeviceMode SettingsDevMode(const PrinterSettings& oSettings);

} // namespace printer::modPrinter
