#pragma once

#include "platform/printing/DeviceMode.h"
#include "platform/printing/PrintDialog.h"
#include "printer/PrinterSettings.h"

#include <cstdint>
#include <memory>
#include <optional>

/// The host's common dialogs as the printer library uses them.
namespace printer::CommDlgs {

/// Shows the print dialog and turns the person's choice into new settings, or null on
/// cancel or when the dialog cannot be shown (no printer at all). The dialog opens on
/// tPreset's printer and settings when given (they are shown, never stored), else on the
/// default printer; oSettings give the copies and, when bPageRange, the page range; lFlags
/// are the print-dialog flags (platform::printing::printflags). The result's name is the
/// printer name as the dialog's device-name field holds it; Copies is the count the person
/// chose, whether the dialog reports it in its own count or in the device mode. Errors are
/// raised to the caller (a preset printer that is not installed among them, before anything
/// is shown).
std::shared_ptr<PrinterSettings>
DialogPrint(const PrinterSettings* oSettings, std::uint32_t lFlags, bool bPageRange,
            std::int64_t hwnd,
            const std::optional<platform::printing::DeviceMode>& tPreset = std::nullopt);

/// The settings a closed print dialog stands for: its printer name, collation, range and
/// pages, the copies (the dialog's own count when it reports more than one, else the device
/// mode's) and the page settings through the normalising setters.
std::shared_ptr<PrinterSettings>
SettingsFromDialog(const platform::printing::PrintDialogResult& tResult);

} // namespace printer::CommDlgs
