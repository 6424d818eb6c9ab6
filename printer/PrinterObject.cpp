#include "printer/PrinterObject.h"

#include "common/ErrorHandling.h"
#include "common/ErrorObjectOld.h"
#include "platform/printing/BackgroundPrint.h"
#include "platform/printing/PrintDialog.h"
#include "platform/printing/Spooler.h"
#include "platform/runtime/Error.h"
#include "platform/runtime/Strings.h"
#include "printer/CommDlgs.h"
#include "printer/detail/PrinterSettingsAccess.h"
#include "printer/modDefaultPrinter.h"
#include "printer/modPrinter.h"

#include <filesystem>
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

std::string Lower(const std::string& sText)
{
    return rt::LCase(sText);
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

std::shared_ptr<PrinterSettings>
PrinterObject::Dialog(const std::shared_ptr<PrinterSettings>& DefaultSettings, std::int64_t hwnd)
{
    namespace pf = platform::printing::printflags;
    return Guarded("Dialog", [&](int& nLine) -> std::shared_ptr<PrinterSettings> {
        nLine = 10;
        std::uint32_t lFlags = pf::DisablePrintToFile;
        std::optional<platform::printing::DeviceMode> tPreset;
        if (DefaultSettings) {
            nLine = 20;
            // The dialog shows the preset; the printer's stored settings stay as they are.
            tPreset = modPrinter::SettingsDevMode(*DefaultSettings);
            if (DefaultSettings->PrintWhat() == DMPAGES_PAGENUM)
                lFlags |= pf::PageNums;
            if (DefaultSettings->PrintWhat() == DMPAGES_SELECTION)
                lFlags |= pf::Selection;
            if (DefaultSettings->Collate())
                lFlags |= pf::Collate;
        }
        nLine = 30;
        auto oResult = CommDlgs::DialogPrint(DefaultSettings.get(), lFlags, true, hwnd, tPreset);
        nLine = 40;
        if (oResult)
            ResolvePrinterName(oResult);
        return oResult;
    });
}

void PrinterObject::ResolvePrinterName(std::shared_ptr<PrinterSettings>& PrinterSettings)
{
    try {
        const std::string sName = Lower(PrinterSettings->PrinterName());
        if (sName.empty()) {
            PrinterSettings.reset();
            return;
        }
        auto colPrinters = GetPrinters();
        for (const std::string& sPrinter : colPrinters)
            if (Lower(sPrinter) == sName)
                return;
        // Only a name that the device-name field cut short stands for a longer one; a name
        // that merely begins another printer's does not.
        for (const std::string& sPrinter : colPrinters)
            if (sPrinter.size() > sName.size() &&
                Lower(platform::printing::DeviceFieldName(sPrinter)) == sName) {
                Access::SetPrinterName(*PrinterSettings, sPrinter);
                return;
            }
        PrinterSettings.reset();
    } catch (...) {
        // A printer list that cannot be read matches nothing.
        PrinterSettings.reset();
    }
}

void PrinterObject::PrintFile(const std::string& File,
                              const std::shared_ptr<PrinterSettings>& Settings)
{
    namespace printing = platform::printing;
    Guarded("PrintFile", [&](int& nLine) {
        nLine = 10;
        printing::Spooler oSpooler;
        printing::PrintRequest tRequest;
        tRequest.file = File;
        if (Settings && !Settings->PrinterName().empty()) {
            tRequest.printer = Settings->PrinterName();
            tRequest.jobSettings = modPrinter::SettingsDevMode(*Settings);
        } else {
            tRequest.printer = oSpooler.DefaultPrinterName();
            if (tRequest.printer.empty())
                rt::Raise(printing::errors::PrinterNotFound, {}, "There is no default printer.");
        }
        nLine = 20;
        printing::PrintInBackground(std::move(tRequest));
    });
}

} // namespace printer
