#include "printer/CommDlgs.h"

#include "common/ErrorHandling.h"
#include "common/ErrorObjectOld.h"
#include "platform/printing/Spooler.h"
#include "printer/detail/PrinterSettingsAccess.h"

namespace printer::CommDlgs {

namespace {

namespace printing = platform::printing;
using Access = printer::detail::PrinterSettingsAccess;

printing::PrintDialogRecord Record(const PrinterSettings* oSettings, std::uint32_t lFlags,
                                   bool bPageRange, std::int64_t hwnd)
{
    printing::PrintDialogRecord tRecord;
    tRecord.owner = hwnd;
    tRecord.flags = lFlags;
    if (bPageRange) {
        if (oSettings) {
            tRecord.fromPage = static_cast<std::uint16_t>(oSettings->FromPage());
            tRecord.toPage = static_cast<std::uint16_t>(oSettings->ToPage());
        }
        tRecord.maxPage = 0xFFFE;
    }
    tRecord.copies = oSettings ? static_cast<std::uint16_t>(oSettings->Copies()) : 1;
    return tRecord;
}

} // namespace

std::shared_ptr<PrinterSettings> SettingsFromDialog(const printing::PrintDialogResult& tResult)
{
    const auto& tRecord = tResult.record;
    const auto& tDevMode = tResult.deviceMode;
    auto oSettings = std::make_shared<PrinterSettings>();
    Access::SetPrinterName(*oSettings, tDevMode.deviceName);
    oSettings->SetCollate(tDevMode.collate != 0);
    oSettings->SetPrintWhat(DMPAGES_ALL);
    if (tRecord.flags & printing::printflags::PageNums) {
        oSettings->SetPrintWhat(DMPAGES_PAGENUM);
        oSettings->SetFromPage(static_cast<std::int16_t>(tRecord.fromPage));
        oSettings->SetToPage(static_cast<std::int16_t>(tRecord.toPage));
    }
    if (tRecord.flags & printing::printflags::Selection)
        oSettings->SetPrintWhat(DMPAGES_SELECTION);
    // A dialog that makes the copies itself reports them in its own count and 1 in the
    // device mode; either way the person's choice is kept.
    oSettings->SetCopies(tRecord.copies == 1 ? tDevMode.copies
                                             : static_cast<std::int16_t>(tRecord.copies));
    oSettings->SetColor(static_cast<DMColor>(tDevMode.color));
    oSettings->SetOrientation(static_cast<DMOrientation>(tDevMode.orientation));
    oSettings->SetPaperBin(static_cast<DMPaperBin>(tDevMode.defaultSource));
    oSettings->SetPaperLength(tDevMode.paperLength);
    oSettings->SetPaperSize(static_cast<DMPaperSize>(tDevMode.paperSize));
    oSettings->SetPaperWidth(tDevMode.paperWidth);
    oSettings->SetQuality(static_cast<DMQuality>(tDevMode.printQuality));
    oSettings->SetScaleOutput(tDevMode.scale);
    return oSettings;
}

std::shared_ptr<PrinterSettings> DialogPrint(const PrinterSettings* oSettings, std::uint32_t lFlags,
                                             bool bPageRange, std::int64_t hwnd,
                                             const std::optional<printing::DeviceMode>& tPreset)
{
    return common::Rethrowing<common::ErrorObjectOld>(
        "CommDlgs", "DialogPrint", [&](int& nLine) -> std::shared_ptr<PrinterSettings> {
            nLine = 10;
            auto tRecord = Record(oSettings, lFlags, bPageRange, hwnd);
            tRecord.preset = tPreset;
            nLine = 20;
            printing::Spooler oSpooler;
            const auto tResult = printing::ShowPrintDialog(tRecord, oSpooler);
            if (!tResult)
                return nullptr;
            nLine = 30;
            return SettingsFromDialog(*tResult);
        });
}

} // namespace printer::CommDlgs
