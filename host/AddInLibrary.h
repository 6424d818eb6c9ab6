#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace platform::outlook {
class IAddIn;
}
namespace common {
class ILanguage;
}
namespace platform::forms {
class FlexGrid;
class Form;
} // namespace platform::forms

namespace host {

/// The add-in's shared library, loaded with dlopen and closed when this object goes. The
/// connection objects it made must be gone before it closes.
class AddInLibrary
{
public:
    /// Loads the first of the candidate files that exists and loads; throws
    /// std::runtime_error naming every candidate and the loader's message otherwise.
    explicit AddInLibrary(const std::vector<std::string>& vCandidates);
    ~AddInLibrary();
    AddInLibrary(const AddInLibrary&) = delete;
    AddInLibrary& operator=(const AddInLibrary&) = delete;

    /// The file that was loaded.
    const std::string& Path() const { return m_sPath; }
    /// A new connection object from the library's factory.
    std::unique_ptr<platform::outlook::IAddIn> CreateAddIn() const;
    /// The connected add-in's language interface, or null.
    common::ILanguage* Language() const;
    /// The add-in's report window, or null while it has none.
    platform::forms::Form* ReportWindow() const;
    /// The report window's grid, or null while there is no window.
    platform::forms::FlexGrid* ReportGrid() const;
    /// Fills the grid given from the report window's records and template, as the window's
    /// own fill does; false while there is no report window.
    bool FillGrid(platform::forms::FlexGrid& oGrid) const;
    /// Saves the window's report through its save dialog (whose answer the caller queued),
    /// leaving the view's settings as they were; true when a file was written.
    bool SaveReport() const;
    /// The last progress of the window's read over all its folders: value and maximum (0, 0
    /// before any).
    std::pair<long, long> ReportProgress() const;
    /// The file the window's last "saveas" wrote; empty when it wrote none.
    std::string ReportExported() const;
    /// The number of folders the window's template reads.
    long ReportFolderCount() const;

private:
    void* Symbol(const char* pName) const;
    void* m_pHandle = nullptr;
    std::string m_sPath;
};

/// Where to look for the add-in library: the file the build made, then the same name in
/// the folder of the running executable.
std::vector<std::string> AddInCandidates(const std::string& sBuiltPath);

} // namespace host
