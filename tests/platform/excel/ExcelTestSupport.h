#pragma once

#include "platform/excel/Application.h"
#include "platform/runtime/Variant.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace platform::excel {
class Workbook;
}

namespace exceltest {

namespace rt = platform::runtime;

/// A fresh temporary folder per test, TZ pinned, and a clean application setting.
class ExcelTest : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    std::string PathOf(const std::string& name) const { return (folder_ / name).string(); }
    /// Files in the folder (to see that no temporary file stayed behind).
    std::vector<std::string> FolderEntries() const;

    std::filesystem::path folder_;
};

/// ExcelTest with a running application whose alerts are off, ended after the test.
class ExcelAppTest : public ExcelTest
{
protected:
    void SetUp() override;
    void TearDown() override;

    std::shared_ptr<platform::excel::Application> app_;
};

/// The number of the runtime error `action` raises (checking it has a text), 0 for none.
int ErrorNumberOf(const std::function<void()>& action);

/// The whole content of a file.
std::string ReadBytes(const std::string& path);

/// A 2-D array of variants (0-based) from rows of values.
rt::Variant Table(const std::vector<std::vector<rt::Variant>>& rows);

/// The report the tests write: a caption row, a group row and two item rows, placed at B2,
/// formatted as the report writer formats a workbook without template (caption bold, first
/// column narrow and bold, group rows bold, other columns fitted), with header and footer.
std::shared_ptr<platform::excel::Workbook>
BuildReport(const std::shared_ptr<platform::excel::Application>& app);

/// The ".xml" and ".rels" parts of the package at `path` that an XML reader of its own
/// (python3's expat) finds not well-formed, one a line with the fault; empty when every part
/// reads.
std::string PartsNoReaderOpens(const std::string& path);

/// What a reader of its own (python3's zipfile and xml.dom.minidom) reads in each package of
/// `paths`: "unreadable: <fault>" when a ".xml" or ".rels" part is not well-formed, else the
/// text of element `element` ("oddHeader", or "c" for the cells) of part `part`, escaped
/// strings ("_x0001_") decoded, the texts of several elements joined by line feeds.
std::vector<std::string> TextsOtherReadersSee(const std::vector<std::string>& paths,
                                              const std::string& part, const std::string& element);

/// One cell of an .xlsx sheet as stored: type attribute, text of the value, style index.
struct XlsxCell
{
    std::string type;
    std::string value;
    long style = 0;
};

/// An .xlsx package read back with libzip and pugixml.
class XlsxFile
{
public:
    explicit XlsxFile(const std::string& path);

    bool Has(const std::string& part) const { return parts_.count(part) != 0; }
    const std::string& Part(const std::string& part) const;

    /// Cells of a sheet by address, texts resolved (shared or inline).
    std::map<std::string, XlsxCell> Cells(const std::string& sheetPart) const;
    /// Column widths by 1-based column.
    std::map<long, double> Widths(const std::string& sheetPart) const;
    /// Text of headerFooter's child `name` ("oddHeader").
    std::string HeaderFooter(const std::string& sheetPart, const std::string& name) const;
    /// Whether cell style `style` uses a bold font.
    bool IsBold(long style) const;
    /// The number format id of cell style `style`.
    long NumberFormat(long style) const;
    /// The content type of the workbook part.
    std::string WorkbookContentType() const;

private:
    std::map<std::string, std::string> parts_;
};

/// One cell of an .xls read back with libfreexl: type code and value as text.
struct XlsCell
{
    int type = 0;
    std::string text;
    double number = 0;
};

/// An .xls file read back with libfreexl (first sheet).
class XlsFile
{
public:
    explicit XlsFile(const std::string& path);
    ~XlsFile();
    XlsCell Cell(unsigned row, unsigned short column) const; // 0-based
    unsigned Rows() const;
    unsigned short Columns() const;
    std::string SheetName() const;

private:
    const void* handle_ = nullptr;
};

} // namespace exceltest
