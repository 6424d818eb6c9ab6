#include "printer/modPrinter.h"

#include "common/ErrorHandling.h"
#include "common/ErrorObjectOld.h"
#include "platform/printing/Spooler.h"
#include "platform/runtime/Error.h"
#include "printer/detail/PrinterSettingsAccess.h"

#include <cstdint>
#include <optional>

namespace printer::modPrinter {

namespace {

namespace rt = platform::runtime;
namespace fields = platform::printing::fields;
using platform::printing::DeviceMode;
using Access = printer::detail::PrinterSettingsAccess;

constexpr const char* kModule = "modPrinter";

// Sets one device-mode field from the settings and flags it, unless the settings were read
// from the printer and the field is still as read: then the stored value itself goes back.
void SetField(DeviceMode& tDevMode, const PrinterSettings& oSettings, std::uint32_t lField,
              std::int16_t DeviceMode::*pField, std::int32_t lValue)
{
    if (!Access::StoredDevMode(oSettings) || Access::Changed(oSettings, lField))
        tDevMode.*pField = static_cast<std::int16_t>(lValue);
    tDevMode.fields |= lField;
}

} // namespace

bool GetPrinterDevMode(const std::string& sPrinterName, DeviceMode& tDevMode)
{
    return common::Rethrowing<common::ErrorObjectOld>(
        kModule, "GetPrinterSettings", [&](int& nLine) {
            nLine = 10;
            std::optional<DeviceMode> tStored =
                platform::printing::Spooler().ReadDeviceMode(sPrinterName);
            nLine = 20;
            if (!tStored)
                return false;
            tDevMode = std::move(*tStored);
            return true;
        });
}

DeviceMode SettingsDevMode(const PrinterSettings& oSettings)
{
    // No error frame of its own: the caller's procedure and line name the failure.
    const std::string& sName = oSettings.PrinterName();
    std::optional<DeviceMode> tCurrent = platform::printing::Spooler().ReadDeviceMode(sName);
    if (!tCurrent)
        rt::Raise(platform::printing::errors::PrinterNotFound, {},
                  "The printer \"" + sName + "\" cannot be opened.");
    // Settings read from this printer start from what it had stored then, so that the
    // fields not set since go back exactly as they were.
    DeviceMode tDevMode = Access::StoredDevMode(oSettings).value_or(*tCurrent);
    SetField(tDevMode, oSettings, fields::Copies, &DeviceMode::copies, oSettings.Copies());
    SetField(tDevMode, oSettings, fields::Collate, &DeviceMode::collate,
             oSettings.Collate() ? 1 : 0);
    SetField(tDevMode, oSettings, fields::Color, &DeviceMode::color, oSettings.Color());
    SetField(tDevMode, oSettings, fields::Orientation, &DeviceMode::orientation,
             oSettings.Orientation());
    SetField(tDevMode, oSettings, fields::DefaultSource, &DeviceMode::defaultSource,
             oSettings.PaperBin());
    SetField(tDevMode, oSettings, fields::PaperLength, &DeviceMode::paperLength,
             oSettings.PaperLength());
    SetField(tDevMode, oSettings, fields::PaperSize, &DeviceMode::paperSize, oSettings.PaperSize());
    SetField(tDevMode, oSettings, fields::PaperWidth, &DeviceMode::paperWidth,
             oSettings.PaperWidth());
    SetField(tDevMode, oSettings, fields::PrintQuality, &DeviceMode::printQuality,
             oSettings.Quality());
    SetField(tDevMode, oSettings, fields::Scale, &DeviceMode::scale, oSettings.ScaleOutput());
    return tDevMode;
}

void SetPrinterDevMode(const PrinterSettings& oSettings)
{
    common::Rethrowing<common::ErrorObjectOld>(kModule, "SetPrinterSettings", [&](int& nLine) {
        nLine = 20;
        const DeviceMode tDevMode = SettingsDevMode(oSettings);
        nLine = 40;
        platform::printing::Spooler().WriteDeviceMode(oSettings.PrinterName(), tDevMode);
    });
}

} // namespace printer::modPrinter
