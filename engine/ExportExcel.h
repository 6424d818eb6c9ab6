#pragma once

#include "platform/runtime/Object.h"
#include "platform/runtime/Variant.h"

#include <memory>
#include <string>

namespace platform::excel {
class Application;
class PageSetup;
class Range;
class Workbook;
class Worksheet;
} // namespace platform::excel

namespace engine {

/// Writes a report as a spreadsheet workbook through the spreadsheet application's automation
/// objects, and opens a saved workbook for the user.
class ExportExcel : public platform::runtime::Object
{
public:
    ExportExcel();
    /// Releases the application reference (errors ignored).
    ~ExportExcel() override;
    ExportExcel(const ExportExcel&) = delete;
    ExportExcel& operator=(const ExportExcel&) = delete;

    std::string TypeName() const override { return "ExportExcel"; }

    /// Writes Data into worksheet 1 of a new workbook, or of TemplateFile when one is given,
    /// and saves it as File in the format its extension calls for (".xlsx" 51, ".xlsm" 52,
    /// letter case ignored, any other 56; -4143 before version 12).
    ///
    /// Data is an array of two elements: a 2-D array of values (rows, columns; lower bounds 0;
    /// row 0 the caption row when PrintHeader) and an array of two texts, the page header and
    /// footer, each "left;centre;right". Texts lose the CR of their CR LF line breaks and are
    /// cut to the format's limit of 32,767 characters (the caller's array changes). The values
    /// go in from FirstCell ("A1" when empty; the caller's text becomes "A1"; an address the
    /// sheet rejects also gives "A1"). Without a template the caption row is bold
    /// (PrintHeader), group rows are bold and the first column narrow (PrintSubtotals), and
    /// the other columns are fitted to their contents; a template keeps its own formatting.
    /// The application always ends, also when the export fails; failures reach the caller.
    void Export(const std::string& File, const std::string& TemplateFile,
                platform::runtime::Variant& Data, bool PrintHeader, bool PrintSubtotals,
                std::string& FirstCell);
    /// Export starting at "A1".
    void Export(const std::string& File, const std::string& TemplateFile,
                platform::runtime::Variant& Data, bool PrintHeader, bool PrintSubtotals);

    /// Opens File in the running spreadsheet application (a new one when none runs), reusing
    /// a workbook of the same name that is already open, and shows the application. An empty
    /// name does nothing.
    void OpenWorkbook(const std::string& File);

    /// Whether the last workbook came from a file (template or saved workbook).
    bool OpenedFromFile() const { return m_bOpenedFromFile; }

private:
    std::shared_ptr<platform::excel::Workbook>
    GetWorkbook(const std::string& sFile, std::shared_ptr<platform::excel::Application> oExcel);
    long GetFileFormatByFileExtension(const std::string& sFile);
    void SetHeaderFooter(const std::shared_ptr<platform::excel::PageSetup>& oPageSetup,
                         const platform::runtime::Variant& vHeaderFooter);
    static std::shared_ptr<platform::excel::Range>
    GetRange(const std::shared_ptr<platform::excel::Worksheet>& oSheet,
             const std::string& sAddress);
    static void CloseWorkbook(const std::shared_ptr<platform::excel::Workbook>& oBook);
    void FormatReport(const std::shared_ptr<platform::excel::Worksheet>& oSheet,
                      const std::shared_ptr<platform::excel::Range>& oStart,
                      const platform::runtime::Array& aCells, bool PrintHeader,
                      bool PrintSubtotals);
    void EndExcel(bool bRestoreAlerts, bool bAlerts);

    std::shared_ptr<platform::excel::Application> m_oExcel;
    bool m_bOpenedFromFile = false;
};

} // namespace engine
