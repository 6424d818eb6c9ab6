#include "platform/printing/PrintDialog.h"

#include "platform/forms/CommonDialogs.h"
#include "platform/printing/Spooler.h"
#include "platform/runtime/Error.h"

#include <algorithm>
#include <cctype>

namespace platform::printing {
namespace {

namespace pf = platform::forms;

void LoadSettings(pf::PrintDialog& dialog, const DeviceMode& mode)
{
    const auto load = [&](std::uint32_t field, int& target, std::int16_t value) {
        if (mode.fields & field)
            target = value;
    };
    load(fields::Orientation, dialog.orientation, mode.orientation);
    load(fields::PaperSize, dialog.paperSize, mode.paperSize);
    load(fields::PaperLength, dialog.paperLength, mode.paperLength);
    load(fields::PaperWidth, dialog.paperWidth, mode.paperWidth);
    load(fields::DefaultSource, dialog.paperSource, mode.defaultSource);
    load(fields::Color, dialog.color, mode.color);
    load(fields::PrintQuality, dialog.quality, mode.printQuality);
    load(fields::Scale, dialog.scale, mode.scale);
}

// The installed printer of that name as the server spells it (names compare without regard
// to case); throws when there is none.
std::string InstalledName(const std::vector<std::string>& printers, const std::string& name)
{
    for (const auto& printer : printers)
        if (printer.size() == name.size() &&
            std::equal(printer.begin(), printer.end(), name.begin(), [](char a, char b) {
                return std::tolower(static_cast<unsigned char>(a)) ==
                       std::tolower(static_cast<unsigned char>(b));
            }))
            return printer;
    platform::runtime::Raise(errors::PrinterNotFound, "PrintDialog",
                             "No printer named \"" + name + "\" is installed.");
}

pf::PrintDialog Preset(const PrintDialogRecord& request, Spooler& spooler)
{
    pf::PrintDialog dialog;
    dialog.printers = spooler.PrinterNames();
    dialog.printer = spooler.DefaultPrinterName();
    if (std::find(dialog.printers.begin(), dialog.printers.end(), dialog.printer) ==
            dialog.printers.end() &&
        !dialog.printers.empty())
        dialog.printer = dialog.printers.front();
    dialog.OnPrinterChanged = [&spooler](pf::PrintDialog& d) {
        if (auto mode = spooler.ReadDeviceMode(d.printer))
            LoadSettings(d, *mode);
    };
    if (request.preset) {
        dialog.printer = InstalledName(dialog.printers, request.preset->deviceName);
        LoadSettings(dialog, *request.preset);
    } else {
        dialog.OnPrinterChanged(dialog);
    }
    dialog.copies = std::max<int>(request.copies, 1);
    dialog.collate = (request.flags & printflags::Collate) != 0;
    dialog.minPage = request.minPage;
    dialog.maxPage = request.maxPage;
    dialog.fromPage = request.fromPage;
    dialog.toPage = request.toPage;
    dialog.printToFileEnabled = (request.flags & printflags::DisablePrintToFile) == 0;
    if (request.flags & printflags::PageNums)
        dialog.range = pf::PrintRange::Pages;
    else if (request.flags & printflags::Selection)
        dialog.range = pf::PrintRange::Selection;
    return dialog;
}

PrintDialogResult Result(const PrintDialogRecord& request, const pf::PrintDialog& dialog)
{
    PrintDialogResult result;
    result.record = request;
    result.record.flags &= ~(printflags::Selection | printflags::PageNums | printflags::Collate);
    if (dialog.range == pf::PrintRange::Pages) {
        result.record.flags |= printflags::PageNums;
        result.record.fromPage = static_cast<std::uint16_t>(dialog.fromPage);
        result.record.toPage = static_cast<std::uint16_t>(dialog.toPage);
    } else if (dialog.range == pf::PrintRange::Selection) {
        result.record.flags |= printflags::Selection;
    }
    if (dialog.collate)
        result.record.flags |= printflags::Collate;
    result.record.copies = 1;

    auto& mode = result.deviceMode;
    mode.deviceName = DeviceFieldName(dialog.printer);
    mode.fields = fields::All;
    mode.orientation = static_cast<std::int16_t>(dialog.orientation);
    mode.paperSize = static_cast<std::int16_t>(dialog.paperSize);
    mode.paperLength = static_cast<std::int16_t>(dialog.paperLength);
    mode.paperWidth = static_cast<std::int16_t>(dialog.paperWidth);
    mode.scale = static_cast<std::int16_t>(dialog.scale);
    mode.copies = static_cast<std::int16_t>(dialog.copies);
    mode.defaultSource = static_cast<std::int16_t>(dialog.paperSource);
    mode.printQuality = static_cast<std::int16_t>(dialog.quality);
    mode.color = static_cast<std::int16_t>(dialog.color);
    mode.collate = dialog.collate ? 1 : 0;
    return result;
}

} // namespace

std::string DeviceFieldName(const std::string& name)
{
    std::size_t length = std::min(name.size(), kDeviceNameField - 1);
    while (length > 0 && length < name.size() &&
           (static_cast<unsigned char>(name[length]) & 0xC0) == 0x80)
        --length;
    return name.substr(0, length);
}

std::optional<PrintDialogResult> ShowPrintDialog(const PrintDialogRecord& request, Spooler& spooler)
{
    if (spooler.PrinterNames().empty() && !request.preset)
        return std::nullopt; // the host's dialog fails without a printer
    auto dialog = Preset(request, spooler);
    if (!pf::ShowPrintDialog(dialog))
        return std::nullopt;
    return Result(request, dialog);
}

} // namespace platform::printing
