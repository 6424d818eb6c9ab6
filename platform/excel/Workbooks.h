#pragma once

#include "platform/runtime/Object.h"

#include <memory>
#include <string>

namespace platform::excel {

namespace detail {
struct AppState;
}

class Workbook;

/// The application's open workbooks, 1-based in the order they were opened or added.
class Workbooks : public platform::runtime::Object
{
public:
    /// Made by Application::Workbooks.
    explicit Workbooks(std::shared_ptr<detail::AppState> state);

    std::string TypeName() const override { return "Workbooks"; }

    /// Number of open workbooks.
    long Count() const;
    /// The workbook at a 1-based position. Raises 9 outside 1..Count.
    std::shared_ptr<Workbook> Item(long index) const;
    /// The open workbook of that name ("Report.xlsx"; letter case ignored). Raises 9 when none.
    std::shared_ptr<Workbook> Item(const std::string& name) const;

    /// Opens a workbook file: a package (.xlsx, .xltx, .xlsm, .xltm) can be filled and saved
    /// under another name; a 97-2003 binary file (.xls, .xlt) can be opened for the user
    /// only, and filling it raises 438. A workbook already open from the same file is
    /// returned again. Raises 1004 when the file is missing or not a workbook.
    std::shared_ptr<Workbook> Open(const std::string& path);
    /// Adds a new workbook with one empty worksheet ("Book1", "Book2", ...).
    std::shared_ptr<Workbook> Add();

private:
    std::shared_ptr<detail::AppState> state_;
};

} // namespace platform::excel
