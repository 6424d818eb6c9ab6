#include "actions/ActionPrint.h"

#include "actions/Action.h"
#include "actions/ActionSave.h"
#include "actions/detail/NotDone.h"
#include "actions/detail/SavedReport.h"
#include "actions/detail/SettingsString.h"
#include "common/ErrorHandling.h"
#include "platform/runtime/DoEvents.h"
#include "printer/PrinterObject.h"

namespace actions {

using namespace detail;

void ActionPrint::Execute()
{
    TellingFailure([&] {
        common::Rethrowing("ActionPrint", "Execute", [&](int& nLine) {
            nLine = 10;
            const std::string sFile = SaveActionOf(Parent()).SavedAs();
            if (sFile.empty())
                return;
            nLine = 20;
            printer::PrinterObject oPrinter;
            platform::runtime::DoEvents();
            nLine = 30;
            // One job to the chosen printer with the chosen settings: nothing of the user's
            // printer setup is changed and restored around it, so nothing can be left changed.
            oPrinter.PrintFile(sFile, m_oPrinterSettings);
            platform::runtime::DoEvents();
        });
    });
}

void ActionPrint::PickPrinterSettings()
{
    common::Rethrowing("ActionPrint", "PickPrinterSettings", [&](int& nLine) {
        nLine = 10;
        printer::PrinterObject oPrinter;
        auto oChosen = oPrinter.Dialog(m_oPrinterSettings, 0);
        nLine = 20;
        if (oChosen)
            m_oPrinterSettings = std::move(oChosen);
    });
}

std::string ActionPrint::ToString() const
{
    std::vector<std::string> a{BoolField(m_bActive), BoolField(m_bAutoExecute),
                               NumField(m_lPrintAction)};
    const auto& o = m_oPrinterSettings;
    if (o) {
        a.insert(a.end(),
                 {BoolField(o->Collate()), NumField(o->Color()), NumField(o->Copies()),
                  NumField(o->FromPage()), NumField(o->Orientation()), NumField(o->PaperBin()),
                  NumField(o->PaperLength()), NumField(o->PaperSize()), NumField(o->PaperWidth()),
                  o->PrinterName(), NumField(o->PrintWhat()), NumField(o->Quality()),
                  NumField(o->ScaleOutput()), NumField(o->ToPage())});
    } else {
        a.resize(17);
    }
    return JoinFields(a);
}

void ActionPrint::ToObject(std::string& sData)
{
    common::Rethrowing("ActionPrint", "ISerializeString_ToObject", [&] {
        const auto a = TakeFields(SplitFields(sData), 0, 17);
        m_bActive = ReadBool(a[0]);
        m_bAutoExecute = ReadBool(a[1]);
        m_lPrintAction = ReadLong(a[2]);
        m_oPrinterSettings.reset();
        // Without a printer name there is nothing to ask the printer library for.
        if (a[12].empty())
            return;
        printer::PrinterObject oPrinter;
        auto o = oPrinter.GetPrinterSettings(a[12]);
        if (!o)
            return;
        const auto i16 = [&](std::size_t i) { return static_cast<std::int16_t>(ReadLong(a[i])); };
        o->SetCollate(ReadBool(a[3]));
        o->SetColor(static_cast<printer::DMColor>(ReadLong(a[4])));
        o->SetCopies(i16(5));
        o->SetFromPage(i16(6));
        o->SetOrientation(static_cast<printer::DMOrientation>(ReadLong(a[7])));
        o->SetPaperBin(static_cast<printer::DMPaperBin>(ReadLong(a[8])));
        o->SetPaperLength(i16(9));
        o->SetPaperSize(static_cast<printer::DMPaperSize>(ReadLong(a[10])));
        o->SetPaperWidth(i16(11));
        o->SetPrintWhat(static_cast<printer::DMPages>(ReadLong(a[13])));
        o->SetQuality(static_cast<printer::DMQuality>(ReadLong(a[14])));
        o->SetScaleOutput(i16(15));
        o->SetToPage(i16(16));
        m_oPrinterSettings = std::move(o);
    });
}

} // namespace actions
