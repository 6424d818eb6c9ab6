#pragma once

#include "platform/printing/DeviceMode.h"
#include "printer/PrinterSettings.h"

#include <cstdint>
#include <optional>
#include <string>

namespace printer::detail {

/// The members of PrinterSettings that only the printer library uses.
class PrinterSettingsAccess
{
public:
    /// Replaces the printer name. A different name forgets the stored settings that
    /// RememberStoredDevMode kept, as they belong to the old printer.
    static void SetPrinterName(PrinterSettings& oSettings, const std::string& sName);

    /// Keeps the printer's stored settings that oSettings were just filled from, and counts
    /// every field as unchanged from them.
    static void RememberStoredDevMode(PrinterSettings& oSettings,
                                      platform::printing::DeviceMode tDevMode);

    /// The stored settings kept by RememberStoredDevMode, if any.
    static const std::optional<platform::printing::DeviceMode>&
    StoredDevMode(const PrinterSettings& oSettings);

    /// Whether a setter changed the device-mode field (a platform::printing::fields bit)
    /// since RememberStoredDevMode.
    static bool Changed(const PrinterSettings& oSettings, std::uint32_t lField);
};

} // namespace printer::detail
