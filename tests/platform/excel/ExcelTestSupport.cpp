#include "ExcelTestSupport.h"

#include "platform/excel/Font.h"
#include "platform/excel/PageSetup.h"
#include "platform/excel/Range.h"
#include "platform/excel/Workbook.h"
#include "platform/excel/Workbooks.h"
#include "platform/excel/Worksheet.h"
#include "platform/runtime/Array.h"
#include "platform/runtime/Date.h"
#include "platform/runtime/Error.h"

#include <freexl.h>
#include <pugixml.hpp>
#include <zip.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <iterator>
#include <unistd.h>

namespace exceltest {

void ExcelTest::SetUp()
{
    setenv("TZ", "Europe/Berlin", 1);
    tzset();
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    folder_ = std::filesystem::temp_directory_path() /
              (std::string("tv_excel_") + info->test_suite_name() + "_" + info->name() + "_" +
               std::to_string(::getpid()));
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
    platform::excel::Application::SetInstalledVersion("16.0");
}

void ExcelTest::TearDown()
{
    platform::excel::Application::SetInstalledVersion("16.0");
    if (std::getenv("TV_KEEP_TEST_FILES") == nullptr) {
        std::filesystem::remove_all(folder_);
    }
}

std::vector<std::string> ExcelTest::FolderEntries() const
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder_)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

void ExcelAppTest::SetUp()
{
    ExcelTest::SetUp();
    app_ = platform::excel::CreateObject("Excel.Application");
    app_->SetDisplayAlerts(false);
}

void ExcelAppTest::TearDown()
{
    app_->Quit();
    ExcelTest::TearDown();
}

int ErrorNumberOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const rt::Error& error) {
        EXPECT_FALSE(error.Description().empty());
        EXPECT_EQ(error.Source(), "Excel");
        return error.Number();
    }
    return 0;
}

std::string ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

rt::Variant Table(const std::vector<std::vector<rt::Variant>>& rows)
{
    const auto columns = rows.empty() ? 0 : static_cast<std::int32_t>(rows[0].size());
    rt::Array array(rt::VarType::Variant,
                    {{0, static_cast<std::int32_t>(rows.size()) - 1}, {0, columns - 1}});
    for (std::size_t r = 0; r < rows.size(); ++r) {
        for (std::size_t c = 0; c < rows[r].size(); ++c) {
            array(static_cast<std::int32_t>(r), static_cast<std::int32_t>(c)) = rows[r][c];
        }
    }
    return array;
}

std::shared_ptr<platform::excel::Workbook>
BuildReport(const std::shared_ptr<platform::excel::Application>& app)
{
    const rt::Date start(rt::DateSerial(2024, 3, 15).Serial() + 10.5 / 24);
    const rt::Variant table = Table({
        {"", "Subject", "Start", "Hours", "Done"},
        {"Meetings", "", "", 3.5, ""},
        {"", "Planung Müller & Söhne", start, 1.5, true},
        {"", "Review", rt::DateSerial(2024, 3, 16), 2, false},
    });
    auto book = app->Workbooks()->Add();
    auto sheet = book->Worksheets(1);
    auto setup = sheet->PageSetup();
    setup->SetLeftHeader("&D");
    setup->SetCenterHeader("Weekly report");
    setup->SetRightHeader("&P/&N");
    setup->SetCenterFooter("Kestrova");
    auto first = sheet->Range("B2");
    sheet->Range(first, first->Offset(3, 4))->SetValue(table);
    sheet->Range(first, first->Offset(0, 4))->Font()->SetBold(true);
    first->EntireColumn()->SetColumnWidth(4);
    first->EntireColumn()->Font()->SetBold(true);
    sheet->Range(first->Offset(1, 0), first->Offset(1, 4))->Font()->SetBold(true);
    for (long column = 1; column <= 4; ++column) {
        first->Offset(0, column)->EntireColumn()->AutoFit();
    }
    return book;
}

std::string PartsNoReaderOpens(const std::string& path)
{
    const std::string command = "python3 -c 'import sys, zipfile, xml.dom.minidom as m\n"
                                "z = zipfile.ZipFile(sys.argv[1])\n"
                                "for n in z.namelist():\n"
                                "    if n.endswith((\".xml\", \".rels\")):\n"
                                "        try: m.parseString(z.read(n))\n"
                                "        except Exception as e: print(n, e)' '" +
                                path + "' 2>&1";
    std::string output;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return "cannot run python3";
    }
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) {
        output += buffer;
    }
    pclose(pipe);
    return output;
}

std::vector<std::string> TextsOtherReadersSee(const std::vector<std::string>& paths,
                                              const std::string& part, const std::string& element)
{
    // One line of hex a package, so that any byte passes the pipe.
    std::string command =
        "python3 -c 'import sys, re, zipfile, xml.dom.minidom as m\n"
        "def deep(node): return \"\".join(t.data if t.nodeType == 3 else deep(t)"
        " for t in node.childNodes)\n"
        "x = lambda s: re.sub(\"_x([0-9A-Fa-f]{4})_\", lambda g: chr(int(g.group(1), 16)), s)\n"
        "for path in sys.argv[3:]:\n"
        "    z = zipfile.ZipFile(path)\n"
        "    try:\n"
        "        docs = {n: m.parseString(z.read(n)) for n in z.namelist()\n"
        "                if n.endswith((\".xml\", \".rels\"))}\n"
        "    except Exception as e:\n"
        "        print(\"unreadable: %s\" % e); continue\n"
        "    out = \"\\n\".join(x(deep(e)) for e in docs[sys.argv[1]]"
        ".getElementsByTagName(sys.argv[2]))\n"
        "    print(\"=\" + out.encode(\"utf-8\", \"surrogatepass\").hex())' '" +
        part + "' '" + element + "'";
    for (const std::string& path : paths) {
        command += " '" + path + "'";
    }
    command += " 2>&1";
    std::string output;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return {"cannot run python3"};
    }
    char buffer[4096];
    while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) {
        output += buffer;
    }
    pclose(pipe);
    std::vector<std::string> texts;
    for (std::size_t from = 0, end = 0; from < output.size(); from = end + 1) {
        end = output.find('\n', from);
        end = end == std::string::npos ? output.size() : end;
        const std::string line = output.substr(from, end - from);
        if (!line.starts_with("=")) {
            texts.push_back(line);
            continue;
        }
        std::string text;
        for (std::size_t at = 1; at + 1 < line.size(); at += 2) {
            text += static_cast<char>(std::stoi(line.substr(at, 2), nullptr, 16));
        }
        texts.push_back(std::move(text));
    }
    return texts;
}

XlsxFile::XlsxFile(const std::string& path)
{
    int error = 0;
    zip_t* zip = zip_open(path.c_str(), ZIP_RDONLY, &error);
    if (zip == nullptr) {
        ADD_FAILURE() << "not a zip package: " << path;
        return;
    }
    for (zip_int64_t i = 0; i < zip_get_num_entries(zip, 0); ++i) {
        zip_stat_t st;
        zip_stat_index(zip, static_cast<zip_uint64_t>(i), 0, &st);
        zip_file_t* file = zip_fopen_index(zip, static_cast<zip_uint64_t>(i), 0);
        std::string data(static_cast<std::size_t>(st.size), '\0');
        zip_fread(file, data.data(), data.size());
        zip_fclose(file);
        parts_[st.name] = std::move(data);
    }
    zip_close(zip);
}

const std::string& XlsxFile::Part(const std::string& part) const
{
    static const std::string none;
    const auto it = parts_.find(part);
    if (it == parts_.end()) {
        ADD_FAILURE() << "missing part " << part;
        return none;
    }
    return it->second;
}

namespace {

pugi::xml_document Parse(const std::string& text)
{
    pugi::xml_document doc;
    const auto result =
        doc.load_buffer(text.data(), text.size(), pugi::parse_default | pugi::parse_ws_pcdata);
    EXPECT_TRUE(result) << result.description();
    return doc;
}

std::string InlineText(pugi::xml_node is)
{
    std::string text;
    for (const pugi::xpath_node& t : is.select_nodes(".//t")) {
        text += t.node().text().get();
    }
    return text;
}

} // namespace

std::map<std::string, XlsxCell> XlsxFile::Cells(const std::string& sheetPart) const
{
    std::vector<std::string> shared;
    if (Has("xl/sharedStrings.xml")) {
        const auto sst = Parse(Part("xl/sharedStrings.xml"));
        for (pugi::xml_node si : sst.child("sst").children("si")) {
            shared.push_back(InlineText(si));
        }
    }
    std::map<std::string, XlsxCell> cells;
    const auto doc = Parse(Part(sheetPart));
    for (pugi::xml_node row : doc.child("worksheet").child("sheetData").children("row")) {
        for (pugi::xml_node c : row.children("c")) {
            XlsxCell cell;
            cell.type = c.attribute("t").value();
            cell.style = c.attribute("s").as_int();
            if (cell.type == "s") {
                cell.value = shared.at(static_cast<std::size_t>(c.child("v").text().as_int()));
            } else if (cell.type == "inlineStr") {
                cell.value = InlineText(c.child("is"));
            } else {
                cell.value = c.child("v").text().get();
            }
            cells[c.attribute("r").value()] = cell;
        }
    }
    return cells;
}

std::map<long, double> XlsxFile::Widths(const std::string& sheetPart) const
{
    std::map<long, double> widths;
    const auto doc = Parse(Part(sheetPart));
    for (pugi::xml_node col : doc.child("worksheet").child("cols").children("col")) {
        for (long c = col.attribute("min").as_int(); c <= col.attribute("max").as_int(); ++c) {
            widths[c] = col.attribute("width").as_double();
        }
    }
    return widths;
}

std::string XlsxFile::HeaderFooter(const std::string& sheetPart, const std::string& name) const
{
    const auto doc = Parse(Part(sheetPart));
    return doc.child("worksheet").child("headerFooter").child(name.c_str()).text().get();
}

bool XlsxFile::IsBold(long style) const
{
    const auto doc = Parse(Part("xl/styles.xml"));
    const pugi::xml_node sheet = doc.child("styleSheet");
    pugi::xml_node xf = sheet.child("cellXfs").first_child();
    for (long i = 0; i < style && xf; ++i) {
        xf = xf.next_sibling();
    }
    pugi::xml_node font = sheet.child("fonts").first_child();
    for (long i = 0; i < xf.attribute("fontId").as_int() && font; ++i) {
        font = font.next_sibling();
    }
    const pugi::xml_node b = font.child("b");
    return b && std::string_view(b.attribute("val").as_string("1")) != "0";
}

long XlsxFile::NumberFormat(long style) const
{
    const auto doc = Parse(Part("xl/styles.xml"));
    pugi::xml_node xf = doc.child("styleSheet").child("cellXfs").first_child();
    for (long i = 0; i < style && xf; ++i) {
        xf = xf.next_sibling();
    }
    return xf.attribute("numFmtId").as_int();
}

std::string XlsxFile::WorkbookContentType() const
{
    const auto doc = Parse(Part("[Content_Types].xml"));
    return doc.child("Types")
        .find_child_by_attribute("Override", "PartName", "/xl/workbook.xml")
        .attribute("ContentType")
        .value();
}

XlsFile::XlsFile(const std::string& path)
{
    const int rc = freexl_open(path.c_str(), &handle_);
    EXPECT_EQ(rc, FREEXL_OK) << "freexl cannot open " << path;
    if (rc == FREEXL_OK) {
        EXPECT_EQ(freexl_select_active_worksheet(handle_, 0), FREEXL_OK);
    }
}

XlsFile::~XlsFile()
{
    if (handle_ != nullptr) {
        freexl_close(handle_);
    }
}

XlsCell XlsFile::Cell(unsigned row, unsigned short column) const
{
    FreeXL_CellValue value{};
    XlsCell cell;
    if (freexl_get_cell_value(handle_, row, column, &value) != FREEXL_OK) {
        ADD_FAILURE() << "no cell " << row << "," << column;
        return cell;
    }
    cell.type = value.type;
    switch (value.type) {
    case FREEXL_CELL_INT:
        cell.number = value.value.int_value;
        break;
    case FREEXL_CELL_DOUBLE:
        cell.number = value.value.double_value;
        break;
    case FREEXL_CELL_NULL:
        break;
    default:
        cell.text = value.value.text_value;
        break;
    }
    return cell;
}

unsigned XlsFile::Rows() const
{
    unsigned rows = 0;
    unsigned short columns = 0;
    freexl_worksheet_dimensions(handle_, &rows, &columns);
    return rows;
}

unsigned short XlsFile::Columns() const
{
    unsigned rows = 0;
    unsigned short columns = 0;
    freexl_worksheet_dimensions(handle_, &rows, &columns);
    return columns;
}

std::string XlsFile::SheetName() const
{
    const char* name = nullptr;
    freexl_get_worksheet_name(handle_, 0, &name);
    return name != nullptr ? name : "";
}

} // namespace exceltest
