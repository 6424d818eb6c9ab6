#pragma once

#include "common/IChild.h"
#include "platform/runtime/Object.h"
#include "views/ISerializeString.h"

#include <cstdint>
#include <string>

namespace actions {

class Action;

/// The save action of a view: where, in which format and how the report file is written.
/// `Execute` writes the report of the window that shows the view (the parent of the view's
/// template collection, an `IReportWindow`) through the writer of the format.
class ActionSave : public platform::runtime::Object,
                   public common::ChildLink<Action>,
                   public views::ISerializeString
{
public:
    std::string TypeName() const override { return "ActionSave"; }

    /// 0 = always show the save dialog; other values save straight into `Path`.
    std::int32_t Action() const { return m_lAction; }
    void SetAction(std::int32_t lValue) { m_lAction = lValue; }
    /// Save automatically after each read.
    bool AutoExecute() const { return m_bAutoExecute; }
    void SetAutoExecute(bool bValue) { m_bAutoExecute = bValue; }
    /// File-name pattern without extension; may hold placeholders.
    const std::string& Filename() const { return m_sFilename; }
    void SetFilename(const std::string& sValue) { m_sFilename = sValue; }
    /// Target folder, kept with a trailing "/".
    const std::string& Path() const { return m_sPath; }
    /// Appends "/" to a non-empty value that lacks it.
    void SetPath(const std::string& sValue);
    /// Include the column-caption row.
    bool PrintHeader() const { return m_bPrintHeader; }
    void SetPrintHeader(bool bValue) { m_bPrintHeader = bValue; }
    /// Include subtotal rows; False also clears `PrintSubtotalsOnly`.
    bool PrintSubtotals() const { return m_bPrintSubtotals; }
    void SetPrintSubtotals(bool bValue);
    /// Include only subtotal rows; True also sets `PrintSubtotals`.
    bool PrintSubtotalsOnly() const { return m_bPrintSubtotalsOnly; }
    void SetPrintSubtotalsOnly(bool bValue);
    /// Rule for an existing file: 0 dialog, 2 overwrite, 3 running number, 4 time stamp.
    std::int32_t ReportExists() const { return m_lReportExists; }
    /// 1 is no rule and is stored as 0.
    void SetReportExists(std::int32_t lValue) { m_lReportExists = lValue == 1 ? 0 : lValue; }
    /// 0 csv, 1 html, 2 xls, 3 pdf, 4 xlsx, 5 xlsm.
    std::int32_t ReportFormat() const { return m_lReportFormat; }
    void SetReportFormat(std::int32_t lValue) { m_lReportFormat = lValue; }
    /// Full path of the file the last save wrote; empty when none.
    const std::string& SavedAs() const { return m_sSavedAs; }
    /// Sets `SavedAs`.
    void SetSavedAs(const std::string& sValue) { m_sSavedAs = sValue; }
    /// Footer text with placeholders.
    const std::string& ReportFooter() const { return m_sReportFooter; }
    void SetReportFooter(const std::string& sValue) { m_sReportFooter = sValue; }
    /// Header text with placeholders; "<br>" marks a line break.
    const std::string& ReportHeader() const { return m_sReportHeader; }
    void SetReportHeader(const std::string& sValue) { m_sReportHeader = sValue; }
    /// HTML or Excel template file.
    const std::string& ReportTemplate() const { return m_sReportTemplate; }
    void SetReportTemplate(const std::string& sValue) { m_sReportTemplate = sValue; }
    /// Cell of the Excel template where the table starts.
    const std::string& TemplateExcelFirstCell() const { return m_sTemplateExcelFirstCell; }
    /// A value that is empty after trimming blanks stores "A1"; others are stored untrimmed.
    void SetTemplateExcelFirstCell(const std::string& sValue);
    /// "[@" + the placeholder's name in the current language + "]"; empty for an unknown
    /// index (0 period, 1 category, 2 subject, 3 user name, 4 date, 5 time).
    std::string GetPlaceholder(std::int32_t Index) const;
    /// `ReportTemplate` := the add-in's folder + "samples/modern.html".
    void SetDefaultHTMLTemplate();

    /// Writes the report the window shows: builds the name from `Path` and `Filename`, asks
    /// with the save dialog when `Action` is 0, folder or name is empty, or the file exists
    /// under rule 0, applies the existing-file rule, and hands the grid to the writer of
    /// `ReportFormat`. `SavedAs` is the path when a file was written; when the writer wrote
    /// nothing (PDF, no column, no row) it stays empty and a message says so. An empty report
    /// or a cancelled dialog writes nothing. Side effects that stay: `Action` := 0 when folder
    /// or name is empty; a format picked in the dialog becomes `ReportFormat` (with the default
    /// HTML template for HTML, else no template). Raises the writers' errors and, for a file
    /// type no writer takes, -718605812.
    void Execute();
    /// Fills the placeholders of the current UI language into sText (a placeholder written in
    /// other capitals is left). bFileName: characters a file name cannot hold become "_".
    /// Otherwise "<br>" becomes CR LF unless bKeepBr; with bKeepBr (the HTML page) the values
    /// are HTML-encoded, since the text is markup. Never fails: a value that cannot be
    /// computed leaves its placeholder.
    std::string ReplacePlaceholders(const std::string& sText, bool bFileName, bool bKeepBr) const;
    /// The folder dialog for `Path`; a chosen folder becomes `Path`.
    void PickPath();
    /// The file dialog for `ReportTemplate` (HTML and workbook formats only); a chosen file
    /// whose type fits the format becomes `ReportTemplate`.
    void PickTemplate();
    /// The texts of the folder dialog: tag "2000" its title, "2001" its prompt, in the
    /// current UI language; "" for other tags.
    std::string GetResource(const std::string& Tag) const;

    /// Stores the parent link and sets the initial settings in the current UI language.
    void Init(platform::runtime::Object* lParentPtr, const std::string& sKey = {}) override;
    /// The action as its parent link.
    common::IChild& AsIChild() { return *this; }

    /// Ten fields: AutoExecute, Action, Filename, Path, PrintHeader, PrintSubtotals,
    /// ReportExists, ReportFormat, ReportTemplate, TemplateExcelFirstCell.
    std::string ToString() const override;
    /// Stores the ten fields directly (only `ReportExists` goes through its setter); raises 9
    /// for fewer fields.
    void ToObject(std::string& sData) override;

private:
    std::string ShowDialog(const std::string& sFolder, const std::string& sName);
    std::string EditFileName(const std::string& sFile) const;

    bool m_bAutoExecute = false;
    std::int32_t m_lAction = 0;
    std::string m_sPath;
    std::int32_t m_lReportFormat = 1;
    std::int32_t m_lReportExists = 0;
    std::string m_sFilename;
    std::string m_sSavedAs;
    std::string m_sReportTemplate;
    std::string m_sTemplateExcelFirstCell = "A1";
    bool m_bPrintHeader = true;
    bool m_bPrintSubtotals = false;
    bool m_bPrintSubtotalsOnly = false;
    std::string m_sReportHeader;
    std::string m_sReportFooter;
};

} // namespace actions
