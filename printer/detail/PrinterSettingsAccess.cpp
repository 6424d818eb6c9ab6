#include "printer/detail/PrinterSettingsAccess.h"

#include <utility>

namespace printer::detail {

void PrinterSettingsAccess::SetPrinterName(PrinterSettings& oSettings, const std::string& sName)
{
    if (sName != oSettings.m_sPrinterName)
        oSettings.m_oStoredDevMode.reset();
    oSettings.m_sPrinterName = sName;
}

void PrinterSettingsAccess::RememberStoredDevMode(PrinterSettings& oSettings,
                                                  platform::printing::DeviceMode tDevMode)
{
    oSettings.m_oStoredDevMode = std::move(tDevMode);
    oSettings.m_lChanged = 0;
}

const std::optional<platform::printing::DeviceMode>&
PrinterSettingsAccess::StoredDevMode(const PrinterSettings& oSettings)
{
    return oSettings.m_oStoredDevMode;
}

bool PrinterSettingsAccess::Changed(const PrinterSettings& oSettings, std::uint32_t lField)
{
    return (oSettings.m_lChanged & lField) != 0;
}

} // namespace printer::detail
