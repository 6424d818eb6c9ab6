#pragma once

#include "platform/printing/DeviceMode.h"

#include <cstdint>
#include <optional>
#include <string>

namespace platform::printing {

class Spooler;

/// Flags of the print dialog, with the host's values.
namespace printflags {
inline constexpr std::uint32_t Selection = 0x1;
inline constexpr std::uint32_t PageNums = 0x2;
inline constexpr std::uint32_t Collate = 0x10;
inline constexpr std::uint32_t DisablePrintToFile = 0x80000;
} // namespace printflags

/// The fields of the host's print-dialog record that the caller fills and reads back.
struct PrintDialogRecord
{
    /// The owner window's handle, 0 for none (kept for the host).
    std::int64_t owner = 0;
    /// printflags: which range is chosen (Selection, PageNums), collation, print to file.
    std::uint32_t flags = 0;
    std::uint16_t fromPage = 0;
    std::uint16_t toPage = 0;
    std::uint16_t minPage = 0;
    std::uint16_t maxPage = 0;
    std::uint16_t copies = 1;
    /// The printer and page settings the dialog opens on (its device name and every field
    /// flagged in it; copies and collation come from the record): the caller's preset, shown
    /// without being stored. Without one the dialog opens on the user's default printer with
    /// that printer's stored settings.
    std::optional<DeviceMode> preset;
};

/// What the dialog returns after OK: the record as the person left it and the chosen
/// printer's device mode.
struct PrintDialogResult
{
    PrintDialogRecord record;
    DeviceMode deviceMode;
};

/// The host's common print dialog, answered through the forms Driver (platform/forms
/// CommonDialogs.h, PrintDialog). The host promises:
/// - the dialog opens on the record's preset printer with the preset's settings, else on the
///   user's default printer (else the first print queue) with that printer's stored
///   settings; picking another printer loads its stored settings;
/// - a preset naming no installed printer throws errors::PrinterNotFound (Spooler.h)
///   without showing the dialog;
/// - the record presets copies, collation (Collate), the range (Selection, PageNums with
///   fromPage..toPage inside minPage..maxPage) and whether printing to a file is offered;
/// - after OK the record holds the chosen range (flags Selection or PageNums, the pages),
///   Collate when copies are collated, and copies 1: the number of copies travels in the
///   device mode, as with drivers that make copies themselves;
/// - the device mode carries every field (orientation, paper size, length, width, paper
///   source, colour, quality, scale, copies, collate) and the printer's name cut to the
///   31 characters of the host's 32-character device-name field (NUL-terminated);
/// - nothing (no result) on cancel, and also when there is no printer at all.
std::optional<PrintDialogResult> ShowPrintDialog(const PrintDialogRecord& request,
                                                 Spooler& spooler);

/// The length of the host's device-name field, its terminating NUL included.
inline constexpr std::size_t kDeviceNameField = 32;

/// A printer name as the device-name field holds it: at most its first 31 bytes, never
/// ending inside a UTF-8 sequence.
std::string DeviceFieldName(const std::string& name);

} // namespace platform::printing
