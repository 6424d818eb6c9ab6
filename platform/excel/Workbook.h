#pragma once

#include "platform/runtime/Object.h"

#include <memory>
#include <string>
#include <vector>

namespace platform::excel {

namespace detail {
struct AppState;
struct BookState;
} // namespace detail

class Worksheet;

/// An open workbook: its worksheets, SaveAs and Close.
class Workbook : public platform::runtime::Object
{
public:
    /// Made by Workbooks.Add and Workbooks.Open.
    Workbook(std::weak_ptr<detail::AppState> app, std::unique_ptr<detail::BookState> state);
    ~Workbook() override;

    std::string TypeName() const override { return "Workbook"; }

    /// File name with extension ("Report.xlsx"), or "Book1" for a workbook never saved.
    std::string Name() const;
    /// Full path of the workbook's file; the name alone for a workbook never saved.
    std::string FullName() const;

    /// The worksheet at a 1-based position. Raises 9 outside the sheets, 438 for a workbook
    /// in the 97-2003 binary format (which can only be shown, not filled).
    std::shared_ptr<Worksheet> Worksheets(long index);
    /// Number of worksheets.
    long WorksheetCount() const;

    /// Saves the workbook as `path` in `fileFormat` (51 .xlsx, 52 .xlsm, 56 or -4143 .xls),
    /// whatever the name's extension says. An existing file is replaced whole through a
    /// temporary file; while DisplayAlerts is true an existing file is not overwritten
    /// (1004), since nobody can be asked. Afterwards the workbook carries the new name.
    /// Raises 1004 for an unknown format, a format the application's version lacks, a missing
    /// folder, a file that cannot be written, and a sheet beyond the .xls limits.
    void SaveAs(const std::string& path, long fileFormat);

    /// Closes the workbook. Saving changes on close is not supported (438 for true).
    void Close(bool saveChanges = false);

private:
    friend class Workbooks;
    friend class Application;
    std::weak_ptr<detail::AppState> app_;
    std::unique_ptr<detail::BookState> state_;
};

} // namespace platform::excel
