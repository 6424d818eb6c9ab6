// What the three workbook writers (.xlsx, .xls, a filled template) make of values that the
// formats store in a way of their own: dates before March 1900 and times of day, texts that
// look like the package's escapes or hold a lone CR, bytes that are not UTF-8 and characters
// beyond the basic plane.
#include "ExcelTestSupport.h"
#include "tests/host/ByteClasses.h"

#include "platform/excel/Application.h"
#include "platform/excel/FileFormat.h"
#include "platform/excel/PageSetup.h"
#include "platform/excel/Range.h"
#include "platform/excel/Workbook.h"
#include "platform/excel/Workbooks.h"
#include "platform/excel/Worksheet.h"
#include "platform/runtime/Array.h"
#include "platform/runtime/Date.h"

#include <freexl.h>
#include <gsf/gsf.h>
#include <xlsxwriter.h>

#include <algorithm>
#include <cstdint>
#include <memory>

namespace excel = platform::excel;
namespace rt = platform::runtime;

namespace {

const char* const kSheet = "xl/worksheets/sheet1.xml";

class CellTextTest : public exceltest::ExcelAppTest
{
protected:
    // Column A of a new workbook (or of a template) filled with `values`, with `header` as
    // the page header's centre when given, saved as `name`.
    std::string Save(const std::vector<rt::Variant>& values, const std::string& name, long format,
                     bool fromTemplate = false, const std::string& header = {})
    {
        std::shared_ptr<excel::Workbook> book;
        if (fromTemplate) {
            const std::string templatePath = PathOf("plain.xltx");
            lxw_workbook* workbook = workbook_new(templatePath.c_str());
            workbook_add_worksheet(workbook, "Bericht");
            EXPECT_EQ(workbook_close(workbook), LXW_NO_ERROR);
            book = app_->Workbooks()->Open(templatePath);
        } else {
            book = app_->Workbooks()->Add();
        }
        std::vector<std::vector<rt::Variant>> rows;
        for (const auto& value : values) {
            rows.push_back({value});
        }
        book->Worksheets(1)
            ->Range("A1")
            ->Resize(static_cast<long>(rows.size()), 1)
            ->SetValue(exceltest::Table(rows));
        if (!header.empty()) {
            book->Worksheets(1)->PageSetup()->SetCenterHeader(header);
        }
        const std::string path = PathOf(name);
        book->SaveAs(path, format);
        book->Close(false);
        return path;
    }
};

struct DateCase
{
    rt::Date date;
    double serial;   // in the workbook; 0 for a date kept as text
    long numFmt;     // the built-in format it is shown with
    const char* xls; // as the independent .xls reader gives it back
};

std::vector<DateCase> DateCases()
{
    return {
        {rt::DateSerial(1900, 1, 1), 1, 14, "1900-01-01"},
        {rt::Date(rt::DateSerial(1900, 2, 28).Serial() + 0.5), 59.5, 22, "1900-02-28 12:00:00"},
        {rt::DateSerial(1900, 3, 1), 61, 14, "1900-03-01"},
        {rt::DateSerial(2024, 3, 15), rt::DateSerial(2024, 3, 15).Serial(), 14, "2024-03-15"},
        {rt::TimeSerial(10, 30, 0), 0.4375, 21, "10:30:00"},
        {rt::DateSerial(1899, 12, 31), 0, 0, nullptr},
        {rt::DateSerial(1850, 6, 1), 0, 0, nullptr},
    };
}

TEST_F(CellTextTest, DatesAreWorkbookDaysAndTimesOfDayKeepATimeFormat)
{
    const auto cases = DateCases();
    std::vector<rt::Variant> values;
    for (const auto& c : cases) {
        values.emplace_back(c.date);
    }
    for (const bool fromTemplate : {false, true}) {
        const exceltest::XlsxFile file(
            Save(values, "dates.xlsx", excel::FileFormat::OpenXmlWorkbook, fromTemplate));
        const auto cells = file.Cells(kSheet);
        for (std::size_t i = 0; i < cases.size(); ++i) {
            const auto& cell = cells.at("A" + std::to_string(i + 1));
            const std::string where =
                "row " + std::to_string(i + 1) + (fromTemplate ? " (template)" : "");
            if (cases[i].serial == 0) {
                // No workbook day before 1900: the date's text, never a number shown as ####.
                EXPECT_EQ(cell.type, "inlineStr") << where;
                EXPECT_NE(cell.value.find(std::to_string(rt::Fields(cases[i].date).year)),
                          std::string::npos)
                    << where << ": " << cell.value;
                continue;
            }
            EXPECT_DOUBLE_EQ(std::stod(cell.value), cases[i].serial) << where;
            EXPECT_EQ(file.NumberFormat(cell.style), cases[i].numFmt) << where;
        }
    }
    const exceltest::XlsFile xls(Save(values, "dates.xls", excel::FileFormat::Excel8));
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const auto cell = xls.Cell(static_cast<unsigned>(i), 0);
        if (cases[i].xls == nullptr) {
            EXPECT_EQ(cell.type, FREEXL_CELL_SST_TEXT) << i;
            continue;
        }
        EXPECT_EQ(cell.text, cases[i].xls) << i;
    }
}

TEST_F(CellTextTest, TextsThatLookLikeEscapesOrHoldControlsComeBackAsTheyWere)
{
    const std::vector<rt::Variant> values = {
        std::string("Code _x0041_ und _x00e9_"),
        std::string("Zeile\rmit CR"),
        std::string("_x005F_"),
        std::string("kein _x12_ und _xZZZZ_"),
    };
    // As stored in the package (the readers undo exactly these escapes, and an XML reader
    // turns a raw CR into LF).
    const std::vector<std::string> stored = {
        "Code _x005F_x0041_ und _x005F_x00e9_",
        "Zeile_x000D_mit CR",
        "_x005F_x005F_",
        "kein _x12_ und _xZZZZ_",
    };
    for (const bool fromTemplate : {false, true}) {
        const exceltest::XlsxFile file(
            Save(values, "texts.xlsx", excel::FileFormat::OpenXmlWorkbook, fromTemplate));
        const auto cells = file.Cells(kSheet);
        for (std::size_t i = 0; i < stored.size(); ++i) {
            EXPECT_EQ(cells.at("A" + std::to_string(i + 1)).value, stored[i])
                << i << (fromTemplate ? " (template)" : "");
        }
    }
}

TEST_F(CellTextTest, BytesThatAreNotUtf8BecomeReplacementCharacters)
{
    const std::vector<rt::Variant> values = {
        std::string("Ab\xE2"
                    "Cd"),              // a cut three-byte sequence before ASCII
        std::string("x\xFF\xFEy"),      // bytes that never occur in UTF-8
        std::string("\xC3\xA4\x80 ok"), // a stray continuation byte
    };
    const std::vector<std::string> expected = {
        "Ab\xEF\xBF\xBD"
        "Cd",
        "x\xEF\xBF\xBD\xEF\xBF\xBDy",
        "\xC3\xA4\xEF\xBF\xBD ok",
    };
    const exceltest::XlsxFile xlsx(Save(values, "bytes.xlsx", excel::FileFormat::OpenXmlWorkbook));
    const auto cells = xlsx.Cells(kSheet);
    const exceltest::XlsFile xls(Save(values, "bytes.xls", excel::FileFormat::Excel8));
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(cells.at("A" + std::to_string(i + 1)).value, expected[i]) << i;
        EXPECT_EQ(xls.Cell(static_cast<unsigned>(i), 0).text, expected[i]) << i;
    }
}

TEST_F(CellTextTest, CharactersXmlDoesNotAllowAreStoredAsTheirEscapes)
{
    const std::vector<rt::Variant> values = {
        std::string("vor\xEF\xBF\xBE"
                    "nach"),                          // U+FFFE
        std::string("\xEF\xBF\xBF"),                  // U+FFFF alone
        std::string("_x0041_ \xEF\xBF\xBF\r"),        // with an escape and a control character
        std::string("\xEF\xBF\xBD und \xEF\xBF\xBC"), // U+FFFD and U+FFFC are allowed
    };
    // A reader turns each escape back into the character it names, so every text reads back
    // as it was written.
    const std::vector<std::string> stored = {
        "vor_xFFFE_nach",
        "_xFFFF_",
        "_x005F_x0041_ _xFFFF__x000D_",
        "\xEF\xBF\xBD und \xEF\xBF\xBC",
    };
    const std::string header = "Kopf\xEF\xBF\xBE";
    for (const bool fromTemplate : {false, true}) {
        SCOPED_TRACE(fromTemplate ? "template" : "new workbook");
        const std::string path =
            Save(values, "nonxml.xlsx", excel::FileFormat::OpenXmlWorkbook, fromTemplate, header);
        EXPECT_EQ(exceltest::PartsNoReaderOpens(path), "");
        const exceltest::XlsxFile file(path);
        EXPECT_EQ(file.HeaderFooter(kSheet, "oddHeader"), "&CKopf_xFFFE_");
        const auto cells = file.Cells(kSheet);
        for (std::size_t i = 0; i < stored.size(); ++i) {
            EXPECT_EQ(cells.at("A" + std::to_string(i + 1)).value, stored[i]) << i;
        }
        // Opened again as a template, the page header is the text that was set.
        auto again = app_->Workbooks()->Open(path);
        EXPECT_EQ(again->Worksheets(1)->PageSetup()->CenterHeader(), header);
        again->Close(false);
    }
}

// Bytes as python3 decodes them, a replacement character for each ill-formed piece: the
// expected reading of a text that is not UTF-8, from a decoder of another project.
std::string AsPythonDecodes(const std::string& bytes)
{
    std::string hex;
    for (const unsigned char c : bytes) {
        char two[3];
        std::snprintf(two, sizeof two, "%02x", c);
        hex += two;
    }
    const std::string command = "python3 -c 'import sys; print(bytes.fromhex(sys.argv[1])"
                                ".decode(\"utf-8\", \"replace\").encode().hex())' " +
                                hex;
    FILE* pipe = popen(command.c_str(), "r");
    std::string out;
    char buffer[256];
    while (pipe != nullptr && std::fgets(buffer, sizeof buffer, pipe) != nullptr) {
        out += buffer;
    }
    if (pipe != nullptr) {
        pclose(pipe);
    }
    std::string text;
    for (std::size_t at = 0; at + 1 < out.size() && out[at] != '\n'; at += 2) {
        text += static_cast<char>(std::stoi(out.substr(at, 2), nullptr, 16));
    }
    return text;
}

std::string WorkbookStream(const std::string& path);

// The page header of the first sheet of an .xls workbook stream (its HEADER record, read by
// hand: a 16-bit count, an option byte, then 8- or 16-bit characters), as UTF-8.
std::string XlsHeader(const std::string& stream)
{
    const auto byte = [&](std::size_t at) { return static_cast<unsigned char>(stream[at]); };
    for (std::size_t at = 0; at + 4 <= stream.size();) {
        const unsigned type = byte(at) | byte(at + 1) << 8;
        const unsigned size = byte(at + 2) | byte(at + 3) << 8;
        if (type == 0x0014 && size >= 3) {
            const unsigned count = byte(at + 4) | byte(at + 5) << 8;
            const bool wide = (byte(at + 6) & 1) != 0;
            std::u32string points;
            for (unsigned i = 0, pos = static_cast<unsigned>(at) + 7; i < count; ++i) {
                char32_t unit = byte(pos++);
                if (wide) {
                    unit |= static_cast<char32_t>(byte(pos++)) << 8;
                }
                if (unit >= 0xDC00 && unit <= 0xDFFF && !points.empty() &&
                    points.back() >= 0xD800 && points.back() <= 0xDBFF) {
                    points.back() = 0x10000 + ((points.back() - 0xD800) << 10) + (unit - 0xDC00);
                } else {
                    points.push_back(unit);
                }
            }
            std::string text;
            for (const char32_t c : points) {
                if (c < 0x80) {
                    text += static_cast<char>(c);
                } else if (c < 0x800) {
                    text += static_cast<char>(0xC0 | c >> 6);
                    text += static_cast<char>(0x80 | (c & 0x3F));
                } else if (c < 0x10000) {
                    text += static_cast<char>(0xE0 | c >> 12);
                    text += static_cast<char>(0x80 | (c >> 6 & 0x3F));
                    text += static_cast<char>(0x80 | (c & 0x3F));
                } else {
                    text += static_cast<char>(0xF0 | c >> 18);
                    text += static_cast<char>(0x80 | (c >> 12 & 0x3F));
                    text += static_cast<char>(0x80 | (c >> 6 & 0x3F));
                    text += static_cast<char>(0x80 | (c & 0x3F));
                }
            }
            return text;
        }
        at += 4 + size;
    }
    return "no header";
}

// Every byte class a person can give in a text, in a cell and in the page header, written in
// each workbook format and read back by a reader of another project (python's zipfile and
// minidom; libfreexl and a hand-written record reader for .xls): each file opens and gives
// the text back (ill-formed bytes as replacement characters, as python decodes them).
TEST_F(CellTextTest, EveryByteClassInCellsAndHeadersReadsBackInEveryFormat)
{
    struct Format
    {
        const char* name;
        long format;
        bool fromTemplate;
    };
    const Format formats[] = {
        {"report.xlsx", excel::FileFormat::OpenXmlWorkbook, false},
        {"report.xlsm", excel::FileFormat::OpenXmlWorkbookMacroEnabled, false},
        {"filled.xlsx", excel::FileFormat::OpenXmlWorkbook, true}};
    std::vector<std::string> paths;
    std::vector<std::string> expectedCells;
    std::vector<std::string> expectedHeaders;
    for (const host_test::BadText& bad : host_test::BadTexts()) {
        const std::string cell = "Zelle" + bad.sBytes + "Ende";
        const std::string header = "Kopf" + bad.sBytes + "Ende";
        const std::string expectedCell = bad.bUtf8 ? cell : AsPythonDecodes(cell);
        const std::string expectedHeader = "&C" + (bad.bUtf8 ? header : AsPythonDecodes(header));
        // The open format breaks a header's line with a line feed, and a line end is one.
        std::string openHeader = expectedHeader;
        std::replace(openHeader.begin(), openHeader.end(), '\r', '\n');
        for (const Format& format : formats) {
            paths.push_back(Save({cell}, std::to_string(paths.size()) + format.name, format.format,
                                 format.fromTemplate, header));
            expectedCells.push_back(expectedCell);
            expectedHeaders.push_back(openHeader);
        }
        // The reader of the old format hands texts on as C strings, which end at a NUL.
        const std::string xlsPath =
            Save({cell}, "report.xls", excel::FileFormat::Excel8, false, header);
        if (bad.sBytes != std::string(1, '\0')) {
            const exceltest::XlsFile xls(xlsPath);
            EXPECT_EQ(xls.Cell(0, 0).text, expectedCell) << testing::PrintToString(bad.sBytes);
        }
        EXPECT_EQ(XlsHeader(WorkbookStream(xlsPath)), expectedHeader)
            << testing::PrintToString(bad.sBytes);
    }
    const auto headers = exceltest::TextsOtherReadersSee(paths, kSheet, "oddHeader");
    const auto cells = exceltest::TextsOtherReadersSee(paths, kSheet, "c");
    ASSERT_EQ(headers.size(), paths.size());
    ASSERT_EQ(cells.size(), paths.size());
    for (std::size_t i = 0; i < paths.size(); ++i) {
        EXPECT_EQ(headers[i], expectedHeaders[i]) << paths[i];
        EXPECT_EQ(cells[i], expectedCells[i]) << paths[i];
    }
}

// The "Workbook" stream of an .xls file, read with libgsf.
std::string WorkbookStream(const std::string& path)
{
    gsf_init();
    GError* error = nullptr;
    GsfInput* file = gsf_input_stdio_new(path.c_str(), &error);
    EXPECT_NE(file, nullptr);
    GsfInfile* compound = file != nullptr ? gsf_infile_msole_new(file, &error) : nullptr;
    GsfInput* stream =
        compound != nullptr ? gsf_infile_child_by_name(compound, "Workbook") : nullptr;
    std::string bytes;
    if (stream != nullptr) {
        bytes.resize(static_cast<std::size_t>(gsf_input_size(stream)));
        gsf_input_read(stream, bytes.size(), reinterpret_cast<guint8*>(bytes.data()));
        g_object_unref(stream);
    }
    for (GObject* object : {G_OBJECT(compound), G_OBJECT(file)}) {
        if (object != nullptr) {
            g_object_unref(object);
        }
    }
    if (error != nullptr) {
        g_error_free(error);
    }
    return bytes;
}

// Walks the shared-string table and its continuation records; gives the number of places
// where a record ends between the two halves of a surrogate pair, and the texts' count.
std::pair<int, int> SplitPairs(const std::string& stream)
{
    const auto u16 = [&](std::size_t at) {
        return static_cast<unsigned>(static_cast<std::uint8_t>(stream[at])) |
               static_cast<unsigned>(static_cast<std::uint8_t>(stream[at + 1])) << 8;
    };
    // The table's records, in order: SST first, then every CONTINUE right after it.
    std::vector<std::string> records;
    for (std::size_t at = 0; at + 4 <= stream.size();) {
        const unsigned type = u16(at);
        const unsigned size = u16(at + 2);
        if (type == 0x00FC || (type == 0x003C && !records.empty())) {
            records.push_back(stream.substr(at + 4, size));
        } else if (!records.empty()) {
            break;
        }
        at += 4 + size;
    }
    int splits = 0;
    int texts = 0;
    if (records.empty()) {
        return {-1, 0};
    }
    std::size_t record = 0;
    std::size_t pos = 8; // the two counts
    const auto byte = [&]() { return static_cast<std::uint8_t>(records[record][pos++]); };
    while (record < records.size()) {
        if (pos >= records[record].size()) {
            ++record;
            pos = 0;
            continue;
        }
        unsigned count = byte();
        count |= static_cast<unsigned>(byte()) << 8;
        bool wide = (byte() & 1) != 0;
        ++texts;
        unsigned last = 0;
        for (unsigned i = 0; i < count; ++i) {
            if (pos >= records[record].size()) {
                splits += last >= 0xD800 && last <= 0xDBFF ? 1 : 0;
                ++record;
                pos = 0;
                wide = (byte() & 1) != 0; // a continued text repeats its option byte
            }
            last = byte();
            if (wide) {
                last |= static_cast<unsigned>(byte()) << 8;
            }
        }
    }
    return {splits, texts};
}

TEST_F(CellTextTest, CharacterBeyondTheBasicPlaneIsNeverSplitAcrossRecords)
{
    // One record of the string table holds 8,224 bytes: its two counts, then this text's
    // length and option byte, leave room for 4,106 16-bit units. The text puts the first
    // half of a pair on the last of them, for every offset around the boundary.
    for (std::size_t lead : {4104u, 4105u, 4106u}) {
        std::string text;
        for (std::size_t i = 0; i < lead; ++i) {
            text += "Ω";
        }
        for (int i = 0; i < 4; ++i) {
            text += "😀";
        }
        text += "Ende";
        const std::string name = "wide" + std::to_string(lead) + ".xls";
        const exceltest::XlsFile xls(
            Save({text, std::string("danach")}, name, excel::FileFormat::Excel8));
        EXPECT_EQ(xls.Cell(0, 0).text, text) << lead;
        EXPECT_EQ(xls.Cell(1, 0).text, "danach") << lead;
        EXPECT_EQ(SplitPairs(WorkbookStream(PathOf(name))), std::make_pair(0, 2)) << lead;
    }
}

} // namespace
