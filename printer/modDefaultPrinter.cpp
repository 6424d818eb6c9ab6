#include "printer/modDefaultPrinter.h"

#include "common/ErrorHandling.h"
#include "common/ErrorObjectOld.h"
#include "platform/printing/Spooler.h"

namespace printer::modDefaultPrinter {

bool SetPrinterDefault(const std::string& sPrinterName)
{
    // The host's older ways (the "PrinterPorts" profile entries, the printer's default
    // attribute) belong to systems the platform never reports; its spooler switches the
    // default directly.
    return common::Rethrowing<common::ErrorObjectOld>(
        "modDefaultPrinter", "SetPrinterDefault", [&](int& nLine) {
            nLine = 10;
            return platform::printing::Spooler().SetDefaultPrinter(sPrinterName);
        });
}

} // namespace printer::modDefaultPrinter
