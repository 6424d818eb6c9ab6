#include "printer/PrinterObject.h"

#include "common/ErrorHandling.h"
#include "common/ErrorObjectOld.h"
#include "platform/printing/Spooler.h"
#include "platform/runtime/Error.h"
#include "printer/detail/PrinterSettingsAccess.h"
#include "printer/modDefaultPrinter.h"
#include "printer/modPrinter.h"

#include <utility>

namespace printer {

namespace {

namespace rt = platform::runtime;
using Access = detail::PrinterSettingsAccess;

constexpr const char* kClass = "PrinterObject";

template <class Body> decltype(auto) Guarded(const char* sProcedure, Body&& body)
{
    return common::Rethrowing<common::ErrorObjectOld>(kClass, sProcedure, std::forward<Body>(body));
}

} // namespace

std::shared_ptr<PrinterSettings> PrinterObject::GetPrinterSettings(const std::string& PrinterName)
{
    return Guarded("GetPrinterSettings", [&](int& nLine) -> std::shared_ptr<PrinterSettings> {
        nLine = 10;
        platform::printing::DeviceMode tDevMode;
        if (!modPrinter::GetPrinterDevMode(PrinterName, tDevMode))
            return nullptr;
        nLine = 20;
        auto oSettings = std::make_shared<PrinterSettings>();
        Access::SetPrinterName(*oSettings, PrinterName);
        nLine = 30;
        oSettings->SetCollate(tDevMode.collate != 0);
        oSettings->SetColor(static_cast<DMColor>(tDevMode.color));
        oSettings->SetCopies(tDevMode.copies);
        oSettings->SetOrientation(static_cast<DMOrientation>(tDevMode.orientation));
        oSettings->SetPaperBin(static_cast<DMPaperBin>(tDevMode.defaultSource));
        oSettings->SetPaperLength(tDevMode.paperLength);
        oSettings->SetPaperSize(static_cast<DMPaperSize>(tDevMode.paperSize));
        oSettings->SetPaperWidth(tDevMode.paperWidth);
        oSettings->SetQuality(static_cast<DMQuality>(tDevMode.printQuality));
        oSettings->SetScaleOutput(tDevMode.scale);
        // Kept so that writing these settings back unchanged restores what the printer had.
        Access::RememberStoredDevMode(*oSettings, std::move(tDevMode));
        return oSettings;
    });
}

bool PrinterObject::SetPrinterSettings(const std::shared_ptr<PrinterSettings>& PrinterSettings)
{
    return Guarded("SetPrinterSettings", [&](int& nLine) {
        nLine = 10;
        if (!PrinterSettings)
            rt::Raise(rt::errors::ObjectNotSet);
        if (PrinterSettings->PrinterName().empty())
            return false;
        nLine = 20;
        modPrinter::SetPrinterDevMode(*PrinterSettings);
        return true;
    });
}

std::string PrinterObject::GetDefaultPrinter()
{
    return Guarded("GetDefaultPrinter", [](int& nLine) {
        nLine = 10;
        return platform::printing::Spooler().DefaultPrinterName();
    });
}

rt::Collection<std::string> PrinterObject::GetPrinters()
{
    return Guarded("GetPrinters", [](int& nLine) {
        nLine = 10;
        rt::Collection<std::string> colPrinters;
        for (std::string& sName : platform::printing::Spooler().PrinterNames())
            colPrinters.Add(std::move(sName));
        return colPrinters;
    });
}

bool PrinterObject::SetDefaultPrinter(const std::string& PrinterName)
{
    return Guarded("SetDefaultPrinter", [&](int& nLine) {
        nLine = 10;
        if (PrinterName.empty())
            return false;
        nLine = 20;
        return modDefaultPrinter::SetPrinterDefault(PrinterName);
    });
}

} // namespace printer
