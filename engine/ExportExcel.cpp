#include "engine/ExportExcel.h"

#include "engine/detail/modExcel.h"

#include "common/ErrorHandling.h"
#include "platform/excel/Application.h"
#include "platform/excel/FileFormat.h"
#include "platform/excel/Font.h"
#include "platform/excel/PageSetup.h"
#include "platform/excel/Range.h"
#include "platform/excel/Workbook.h"
#include "platform/excel/Workbooks.h"
#include "platform/excel/Worksheet.h"
#include "platform/runtime/Conversion.h"
#include "platform/runtime/DoEvents.h"
#include "platform/runtime/Error.h"
#include "platform/runtime/ResumeNext.h"
#include "platform/runtime/Strings.h"
#include "platform/runtime/Utf8.h"
#include "platform/win/FileComponent.h"

#include <optional>

namespace engine {

namespace rt = platform::runtime;
namespace xl = platform::excel;

namespace {

// The longest text a cell of every format the writer saves can hold, in UTF-16 units.
constexpr std::size_t kMaxCellText = 32767;

// Cuts a UTF-8 text after kMaxCellText UTF-16 units, never inside a character.
void CutToCellLimit(std::string& sText)
{
    if (sText.size() <= kMaxCellText)
        return; // fewer bytes than units allowed: nothing to count
    std::size_t nUnits = 0;
    for (std::size_t i = 0; i < sText.size();) {
        const auto c = static_cast<unsigned char>(sText[i]);
        const std::size_t nBytes = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
        const std::size_t nCharUnits = nBytes == 4 ? 2 : 1;
        if (nUnits + nCharUnits > kMaxCellText) {
            sText.resize(i);
            return;
        }
        nUnits += nCharUnits;
        i += nBytes;
    }
}

void PrepareCellText(rt::Variant& vCell)
{
    auto* pText = vCell.Get<std::string>();
    if (pText == nullptr)
        return;
    // Bytes that are no UTF-8 become U+FFFD before the text is measured and cut.
    rt::MakeValidUtf8(*pText);
    if (pText->find("\r\n") != std::string::npos)
        *pText = rt::Replace(*pText, "\r\n", "\n");
    CutToCellLimit(*pText);
}

bool IsEmptyCell(const rt::Variant& vCell)
{
    if (vCell.IsEmpty() || vCell.IsNull())
        return true;
    const auto* pText = vCell.Get<std::string>();
    return pText != nullptr && pText->empty();
}

} // namespace

ExportExcel::ExportExcel() = default;

ExportExcel::~ExportExcel()
{
    rt::ResumeNext ignore;
    ignore([&] { m_oExcel.reset(); });
}

void ExportExcel::Export(const std::string& File, const std::string& TemplateFile,
                         rt::Variant& Data, bool PrintHeader, bool PrintSubtotals)
{
    std::string sFirstCell = "A1";
    Export(File, TemplateFile, Data, PrintHeader, PrintSubtotals, sFirstCell);
}

void ExportExcel::Export(const std::string& File, const std::string& TemplateFile,
                         rt::Variant& Data, bool PrintHeader, bool PrintSubtotals,
                         std::string& FirstCell)
{
    std::optional<bool> bAlerts;
    std::shared_ptr<xl::Workbook> oBook;
    common::Rethrowing("ExportExcel", "Export", [&](int& nLine) {
        try {
            nLine = 1;
            m_oExcel = xl::CreateObject("excel.application");
            nLine = 2;
            oBook = GetWorkbook(TemplateFile, nullptr);
            const auto oSheet = oBook->Worksheets(1);
            nLine = 3;
            auto& aData = Data.AsArray();
            auto& aCells = aData(0).AsArray();
            SetHeaderFooter(oSheet->PageSetup(), aData(1));
            nLine = 4;
            for (auto r = aCells.LBound(1); r <= aCells.UBound(1); ++r)
                for (auto c = aCells.LBound(2); c <= aCells.UBound(2); ++c)
                    PrepareCellText(aCells(r, c));
            nLine = 5;
            const long lRows = aCells.UBound(1) + 1;
            const long lCols = aCells.UBound(2) + 1;
            nLine = 6;
            if (FirstCell.empty())
                FirstCell = "A1";
            auto oStart = GetRange(oSheet, FirstCell);
            if (!oStart)
                oStart = oSheet->Range("A1");
            nLine = 7;
            oSheet->Range(oStart, oStart->Offset(lRows - 1, lCols - 1))->SetValue(aCells);
            nLine = 8;
            if (!m_bOpenedFromFile)
                FormatReport(oSheet, oStart, aCells, PrintHeader, PrintSubtotals);
            nLine = 9;
            bAlerts = m_oExcel->DisplayAlerts();
            m_oExcel->SetDisplayAlerts(false);
            nLine = 10;
            oBook->SaveAs(File, GetFileFormatByFileExtension(File));
            rt::DoEvents();
        } catch (...) {
            CloseWorkbook(oBook);
            EndExcel(bAlerts.has_value(), bAlerts.value_or(true));
            throw;
        }
        nLine = 11;
        CloseWorkbook(oBook);
        EndExcel(bAlerts.has_value(), bAlerts.value_or(true));
    });
}

void ExportExcel::FormatReport(const std::shared_ptr<xl::Worksheet>& oSheet,
                               const std::shared_ptr<xl::Range>& oStart, const rt::Array& aCells,
                               bool PrintHeader, bool PrintSubtotals)
{
    const long lRows = aCells.UBound(1) + 1;
    const long lCols = aCells.UBound(2) + 1;
    long lDataStart = 0;
    if (PrintHeader) {
        oSheet->Range(oStart, oStart->Offset(0, lCols - 1))->Font()->SetBold(true);
        lDataStart = 1;
    }
    long lFitFrom = 0;
    if (PrintSubtotals) {
        oStart->EntireColumn()->SetColumnWidth(4);
        oStart->EntireColumn()->Font()->SetBold(true);
        // A row with a text in the first column is a group row.
        for (long r = lDataStart; r < lRows; ++r)
            if (!IsEmptyCell(aCells(r, 0)))
                oSheet->Range(oStart->Offset(r, 0), oStart->Offset(r, lCols - 1))
                    ->Font()
                    ->SetBold(true);
        lFitFrom = 1;
    }
    for (long c = lFitFrom; c < lCols; ++c)
        oStart->Offset(0, c)->EntireColumn()->AutoFit();
}

void ExportExcel::EndExcel(bool bRestoreAlerts, bool bAlerts)
{
    rt::ResumeNext ignore;
    if (m_oExcel) {
        if (bRestoreAlerts)
            ignore([&] { m_oExcel->SetDisplayAlerts(bAlerts); });
        ignore([&] { m_oExcel->Quit(); });
    }
    m_oExcel.reset();
}

std::shared_ptr<xl::Workbook> ExportExcel::GetWorkbook(const std::string& sFile,
                                                       std::shared_ptr<xl::Application> oExcel)
{
    return common::Rethrowing("ExportExcel", "GetWorkbook", [&](int& nLine) {
        nLine = 1;
        if (!oExcel)
            oExcel = m_oExcel;
        const auto oBooks = oExcel->Workbooks();
        if (sFile.empty()) {
            nLine = 3;
            m_bOpenedFromFile = false;
            return oBooks->Add();
        }
        nLine = 2;
        std::shared_ptr<xl::Workbook> oBook;
        rt::ResumeNext ignore;
        ignore([&] { oBook = oBooks->Item(platform::win::FileComponent().fileName(sFile)); });
        if (!oBook)
            oBook = oBooks->Open(sFile);
        m_bOpenedFromFile = true;
        return oBook;
    });
}

long ExportExcel::GetFileFormatByFileExtension(const std::string& sFile)
{
    long lFormat = 0;
    common::Logging("ExportExcel", "GetFileFormatByFileExtension", [&] {
        if (detail::modExcel::GetExcelVersion(m_oExcel) < 12) {
            lFormat = xl::FileFormat::WorkbookNormal;
            return;
        }
        lFormat = xl::FileFormat::Excel8;
        // The user may type the extension in any letter case; the file is the same kind.
        const std::string sExtension = rt::LCase(platform::win::FileComponent().extension(sFile));
        if (sExtension == "xlsx")
            lFormat = xl::FileFormat::OpenXmlWorkbook;
        else if (sExtension == "xlsm")
            lFormat = xl::FileFormat::OpenXmlWorkbookMacroEnabled;
    });
    return lFormat;
}

void ExportExcel::SetHeaderFooter(const std::shared_ptr<xl::PageSetup>& oPageSetup,
                                  const rt::Variant& vHeaderFooter)
{
    common::Logging("ExportExcel", "SetHeaderFooter", [&](int& nLine) {
        nLine = 1;
        if (!oPageSetup)
            throw rt::Error(rt::errors::ObjectNotSet);
        const auto& aTexts = vHeaderFooter.AsArray();
        nLine = 2;
        // Parts beyond the third are ignored; an empty part leaves the section as it is.
        const auto SetParts = [&](const rt::Variant& vText, bool bHeader) {
            const auto vParts = rt::Split(rt::CStr(vText), ";");
            for (std::size_t i = 0; i < vParts.size() && i < 3; ++i) {
                if (vParts[i].empty())
                    continue;
                if (i == 0)
                    bHeader ? oPageSetup->SetLeftHeader(vParts[i])
                            : oPageSetup->SetLeftFooter(vParts[i]);
                else if (i == 1)
                    bHeader ? oPageSetup->SetCenterHeader(vParts[i])
                            : oPageSetup->SetCenterFooter(vParts[i]);
                else
                    bHeader ? oPageSetup->SetRightHeader(vParts[i])
                            : oPageSetup->SetRightFooter(vParts[i]);
            }
        };
        SetParts(aTexts(aTexts.LBound()), true);
        nLine = 3;
        SetParts(aTexts(aTexts.LBound() + 1), false);
    });
}

std::shared_ptr<xl::Range> ExportExcel::GetRange(const std::shared_ptr<xl::Worksheet>& oSheet,
                                                 const std::string& sAddress)
{
    std::shared_ptr<xl::Range> oRange;
    rt::ResumeNext ignore;
    ignore([&] { oRange = oSheet->Range(sAddress); });
    return oRange;
}

void ExportExcel::CloseWorkbook(const std::shared_ptr<xl::Workbook>& oBook)
{
    if (!oBook)
        return;
    rt::ResumeNext ignore;
    ignore([&] { oBook->Close(false); });
}

void ExportExcel::OpenWorkbook(const std::string& File)
{
    common::Rethrowing("ExportExcel", "OpenWorkbook", [&](int& nLine) {
        nLine = 1;
        if (File.empty())
            return;
        nLine = 2;
        std::shared_ptr<xl::Application> oExcel;
        {
            rt::ResumeNext ignore;
            ignore([&] { oExcel = xl::GetObject("excel.application"); });
        }
        if (!oExcel)
            oExcel = xl::CreateObject("excel.application");
        nLine = 3;
        GetWorkbook(File, oExcel);
        nLine = 4;
        if (!oExcel->Visible())
            oExcel->SetVisible(true);
    });
}

} // namespace engine
