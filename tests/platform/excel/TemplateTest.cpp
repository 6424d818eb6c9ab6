#include "ExcelTestSupport.h"

#include "platform/excel/Application.h"
#include "platform/excel/FileFormat.h"
#include "platform/excel/Font.h"
#include "platform/excel/PageSetup.h"
#include "platform/excel/Range.h"
#include "platform/excel/Workbook.h"
#include "platform/excel/Workbooks.h"
#include "platform/excel/Worksheet.h"
#include "platform/locale/Locale.h"
#include "platform/runtime/Date.h"
#include "platform/runtime/Error.h"

#include <sys/resource.h>
#include <unistd.h>
#include <xlsxwriter.h>
#include <zip.h>

#include <cstdint>
#include <fstream>
#include <functional>
#include <string>

namespace excel = platform::excel;
namespace rt = platform::runtime;

namespace {

using exceltest::ErrorNumberOf;
using exceltest::ReadBytes;

const char* const kSheet = "xl/worksheets/sheet1.xml";

// A template as a user would make it: a styled title, a styled amount cell, wide first
// column, a header, and a second sheet.
void MakeTemplate(const std::string& path, const char* contentType)
{
    lxw_workbook* workbook = workbook_new(path.c_str());
    lxw_worksheet* sheet = workbook_add_worksheet(workbook, "Bericht");
    workbook_add_worksheet(workbook, "Notes");
    lxw_format* title = workbook_add_format(workbook);
    format_set_bold(title);
    format_set_font_color(title, LXW_COLOR_RED);
    lxw_format* amount = workbook_add_format(workbook);
    format_set_num_format(amount, "#,##0.00 \"EUR\"");
    format_set_bg_color(amount, LXW_COLOR_YELLOW);
    worksheet_write_string(sheet, 0, 0, "Quarterly title", title);
    worksheet_write_number(sheet, 2, 1, 0, amount);
    worksheet_write_string(sheet, 5, 3, "kept below", nullptr);
    worksheet_set_column(sheet, 0, 0, 30, nullptr);
    worksheet_set_header(sheet, "&LKestrova&RConfidential");
    ASSERT_EQ(workbook_close(workbook), LXW_NO_ERROR);

    int error = 0;
    zip_t* zip = zip_open(path.c_str(), 0, &error);
    ASSERT_NE(zip, nullptr);
    zip_file_t* file = zip_fopen(zip, "[Content_Types].xml", 0);
    std::string types(8192, '\0');
    types.resize(static_cast<std::size_t>(zip_fread(file, types.data(), types.size())));
    zip_fclose(file);
    const std::string from =
        "application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml";
    types.replace(types.find(from), from.size(), contentType);
    zip_source_t* source = zip_source_buffer(zip, types.data(), types.size(), 0);
    zip_file_add(zip, "[Content_Types].xml", source, ZIP_FL_OVERWRITE);
    ASSERT_EQ(zip_close(zip), 0);
}

class TemplateTest : public exceltest::ExcelAppTest
{
protected:
    void SetUp() override
    {
        ExcelAppTest::SetUp();
        templatePath_ = PathOf("report.xltx");
        MakeTemplate(
            templatePath_,
            "application/vnd.openxmlformats-officedocument.spreadsheetml.template.main+xml");
        std::filesystem::copy_file(templatePath_, PathOf("pristine.xltx"));
    }
    // The template as SetUp made it again, for a test that damages it case by case.
    void RestoreTemplate()
    {
        std::filesystem::copy_file(PathOf("pristine.xltx"), templatePath_,
                                   std::filesystem::copy_options::overwrite_existing);
    }
    std::string templatePath_;
};

TEST_F(TemplateTest, FilledTemplateKeepsItsFormattingAndTheTemplateStaysUnchanged)
{
    const std::string before = ReadBytes(templatePath_);
    auto book = app_->Workbooks()->Open(templatePath_);
    EXPECT_EQ(book->WorksheetCount(), 2);
    auto sheet = book->Worksheets(1);
    EXPECT_EQ(sheet->Name(), "Bericht");
    auto setup = sheet->PageSetup();
    EXPECT_EQ(setup->LeftHeader(), "Kestrova");
    setup->SetCenterHeader("&D");
    sheet->Range("A3")->Resize(2, 3)->SetValue(
        exceltest::Table({{"Amount", 1234.5, true}, {"Zeile 2 <&>", 7, "x"}}));

    const std::string path = PathOf("filled.xlsx");
    book->SaveAs(path, excel::FileFormat::OpenXmlWorkbook);
    book->Close(false);

    EXPECT_EQ(ReadBytes(templatePath_), before);
    const exceltest::XlsxFile original(templatePath_);
    const exceltest::XlsxFile filled(path);
    EXPECT_EQ(filled.WorkbookContentType(),
              "application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml");
    EXPECT_EQ(filled.Part("xl/styles.xml"), original.Part("xl/styles.xml"));
    EXPECT_EQ(filled.Part("xl/worksheets/sheet2.xml"), original.Part("xl/worksheets/sheet2.xml"));
    EXPECT_EQ(filled.Widths(kSheet), original.Widths(kSheet));

    const auto before_cells = original.Cells(kSheet);
    const auto cells = filled.Cells(kSheet);
    EXPECT_EQ(cells.at("A1").value, "Quarterly title");
    EXPECT_EQ(cells.at("A1").style, before_cells.at("A1").style);
    EXPECT_EQ(cells.at("B3").value, "1234.5");
    EXPECT_EQ(cells.at("B3").style, before_cells.at("B3").style); // the amount format stays
    EXPECT_NE(cells.at("B3").style, 0);
    EXPECT_EQ(cells.at("A3").value, "Amount");
    EXPECT_EQ(cells.at("C3").type, "b");
    EXPECT_EQ(cells.at("A4").value, "Zeile 2 <&>");
    EXPECT_EQ(cells.at("B4").value, "7");
    EXPECT_EQ(cells.at("D6").value, "kept below");
    EXPECT_EQ(filled.HeaderFooter(kSheet, "oddHeader"), "&LKestrova&C&D&RConfidential");
}

TEST_F(TemplateTest, DateIntoAnUnformattedTemplateCellGetsADateFormatAdded)
{
    auto book = app_->Workbooks()->Open(templatePath_);
    auto sheet = book->Worksheets(1);
    sheet->Range("E10")->SetValue(rt::DateSerial(2024, 12, 24));
    sheet->Range("B3")->SetValue(rt::DateSerial(2024, 12, 25)); // keeps its own format
    const std::string path = PathOf("dated.xlsm");
    book->SaveAs(path, excel::FileFormat::OpenXmlWorkbookMacroEnabled);

    const exceltest::XlsxFile original(templatePath_);
    const exceltest::XlsxFile filled(path);
    EXPECT_EQ(filled.WorkbookContentType(), "application/vnd.ms-excel.sheet.macroEnabled.main+xml");
    const auto cells = filled.Cells(kSheet);
    EXPECT_EQ(filled.NumberFormat(cells.at("E10").style), 14);
    EXPECT_EQ(cells.at("B3").style, original.Cells(kSheet).at("B3").style);
    EXPECT_DOUBLE_EQ(std::stod(cells.at("E10").value), rt::DateSerial(2024, 12, 24).Serial());
    // Every style the template had is still where it was.
    for (long style = 0; style <= cells.at("B3").style; ++style) {
        EXPECT_EQ(filled.NumberFormat(style), original.NumberFormat(style));
        EXPECT_EQ(filled.IsBold(style), original.IsBold(style));
    }
}

TEST_F(TemplateTest, TemplateFormattingCannotBeChangedAndBinaryTemplatesCannotBeFilled)
{
    auto book = app_->Workbooks()->Open(templatePath_);
    auto sheet = book->Worksheets(1);
    const std::vector<std::function<void()>> formatting = {
        [&] { sheet->Range("A1")->Font()->SetBold(true); },
        [&] { sheet->Range("A1")->EntireColumn()->AutoFit(); },
        [&] { sheet->Range("A1")->SetColumnWidth(3); },
    };
    for (const auto& call : formatting) {
        try {
            call();
            ADD_FAILURE() << "no error raised";
        } catch (const rt::Error& error) {
            EXPECT_EQ(error.Number(), 438);
        }
    }
    EXPECT_THROW(book->SaveAs(PathOf("x.xls"), excel::FileFormat::Excel8), rt::Error);

    auto plain = app_->Workbooks()->Add();
    const std::string old = PathOf("old template.XLT");
    plain->SaveAs(old, excel::FileFormat::Excel8);
    plain->Close();
    auto binary = app_->Workbooks()->Open(old);
    try {
        binary->Worksheets(1);
        ADD_FAILURE() << "no error raised";
    } catch (const rt::Error& error) {
        EXPECT_EQ(error.Number(), 438);
        EXPECT_NE(error.Description().find("97-2003"), std::string::npos);
    }
    EXPECT_THROW(binary->SaveAs(PathOf("y.xlsx"), excel::FileFormat::OpenXmlWorkbook), rt::Error);
}

TEST_F(TemplateTest, MacroTemplateKeepsItsProjectOnlyInAMacroWorkbook)
{
    const std::string project = PathOf("vbaProject.bin");
    std::ofstream(project, std::ios::binary) << std::string("macro project bytes", 19);
    const std::string macroTemplate = PathOf("macros.xlsm");
    lxw_workbook* workbook = workbook_new(macroTemplate.c_str());
    worksheet_write_string(workbook_add_worksheet(workbook, nullptr), 0, 0, "Title", nullptr);
    ASSERT_EQ(workbook_add_vba_project(workbook, project.c_str()), LXW_NO_ERROR);
    ASSERT_EQ(workbook_close(workbook), LXW_NO_ERROR);

    auto book = app_->Workbooks()->Open(macroTemplate);
    book->Worksheets(1)->Range("A2")->SetValue("filled");
    book->SaveAs(PathOf("kept.xlsm"), excel::FileFormat::OpenXmlWorkbookMacroEnabled);
    book->SaveAs(PathOf("dropped.xlsx"), excel::FileFormat::OpenXmlWorkbook);

    const exceltest::XlsxFile kept(PathOf("kept.xlsm"));
    EXPECT_EQ(kept.Part("xl/vbaProject.bin"), "macro project bytes");
    EXPECT_EQ(kept.Cells(kSheet).at("A2").value, "filled");
    const exceltest::XlsxFile dropped(PathOf("dropped.xlsx"));
    EXPECT_FALSE(dropped.Has("xl/vbaProject.bin"));
    EXPECT_EQ(dropped.Part("xl/_rels/workbook.xml.rels").find("vbaProject"), std::string::npos);
    EXPECT_EQ(dropped.Part("[Content_Types].xml").find("vbaProject"), std::string::npos);
    EXPECT_EQ(dropped.WorkbookContentType(),
              "application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml");
    EXPECT_EQ(dropped.Cells(kSheet).at("A2").value, "filled");
    EXPECT_EQ(dropped.Cells(kSheet).at("A1").value, "Title");
}

} // namespace

namespace {

// Replaces one part of a package with `data`.
void ReplacePart(const std::string& path, const std::string& part, const std::string& data)
{
    int error = 0;
    zip_t* zip = zip_open(path.c_str(), 0, &error);
    ASSERT_NE(zip, nullptr);
    zip_source_t* source = zip_source_buffer(zip, data.data(), data.size(), 0);
    ASSERT_GE(zip_file_add(zip, part.c_str(), source, ZIP_FL_OVERWRITE), 0);
    ASSERT_EQ(zip_close(zip), 0);
}

TEST_F(TemplateTest, ATemplateWithAPartThatIsNotWellFormedIsRefusedAndNothingWritten)
{
    const struct
    {
        const char* part;
        std::string data;
        bool refused = true;
    } cases[] = {
        // Parts the fill reads or changes, with faults its reader would pass over.
        {"xl/worksheets/sheet2.xml", "<worksheet><sheetData/>AT&T</worksheet>"},
        {"xl/styles.xml", "<styleSheet><cellXfs count='1'><xf a='1' a='2'/></cellXfs>"},
        {"xl/workbook.xml", "<workbook><sheets/></workbook><x/>"},
        {"[Content_Types].xml", "<Types><Default Extension='xml'/></Types><Types/>"},
        // The relationships, by which the fill and every reader find the parts.
        {"xl/_rels/workbook.xml.rels",
         "<Relationships xmlns='http://schemas.openxmlformats.org/package/2006/relationships'>"
         "<Relationship Id='rId1' Target='worksheets/sheet1.xml' Type='http://schemas."
         "openxmlformats.org/officeDocument/2006/relationships/worksheet'/></Relationships><x/>"},
        {"xl/worksheets/_rels/sheet1.xml.rels", "<Relationships><Relationship></Relationships>"},
        // Parts the fill neither reads nor changes go into the report as they stand.
        {"xl/sharedStrings.xml", "<sst><si><t>offen</si></sst>", false},
        {"docProps/app.xml", "<Properties/><Properties/>", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.part);
        RestoreTemplate();
        ReplacePart(templatePath_, c.part, c.data);
        if (!c.refused) {
            auto book = app_->Workbooks()->Open(templatePath_);
            book->Worksheets(1)->Range("A3")->SetValue(std::string("gefüllt"));
            const std::string path = PathOf("copied.xlsx");
            book->SaveAs(path, excel::FileFormat::OpenXmlWorkbook);
            book->Close(false);
            const exceltest::XlsxFile filled(path);
            EXPECT_EQ(filled.Part(c.part), c.data);
            // The sheet is read on its own: a reader of its cells would need the strings.
            EXPECT_NE(filled.Part(kSheet).find("<c r=\"A3\" t=\"inlineStr\"><is><t "
                                               "xml:space=\"preserve\">gefüllt</t>"),
                      std::string::npos)
                << filled.Part(kSheet);
            continue;
        }
        try {
            app_->Workbooks()->Open(templatePath_);
            ADD_FAILURE() << "the template was accepted";
        } catch (const rt::Error& error) {
            EXPECT_EQ(error.Number(), 1004);
            EXPECT_NE(error.Description().find("is not a well-formed workbook"), std::string::npos)
                << error.Description();
            EXPECT_NE(error.Description().find(std::string("\"") + c.part + "\""),
                      std::string::npos)
                << error.Description();
        }
    }
    // A template that breaks after it was opened is refused by the save, which writes nothing.
    RestoreTemplate();
    auto book = app_->Workbooks()->Open(templatePath_);
    book->Worksheets(1)->Range("A1")->SetValue(std::string("x"));
    ReplacePart(templatePath_, "xl/worksheets/sheet2.xml",
                "<worksheet><sheetData/>AT&T</worksheet>");
    const std::string path = PathOf("filled.xlsx");
    EXPECT_THROW(book->SaveAs(path, excel::FileFormat::OpenXmlWorkbook), rt::Error);
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST_F(TemplateTest, CellsOrSheetDataThatOtherReadersPlaceElsewhereAreRefused)
{
    const std::string start = "<?xml version=\"1.0\" encoding=\"UTF-8\"?><worksheet xmlns=\""
                              "http://schemas.openxmlformats.org/spreadsheetml/2006/main\">";
    const auto sheetWith = [&](const std::string& rows) {
        return start + "<sheetData>" + rows + "</sheetData></worksheet>";
    };
    const auto cellAt = [](const std::string& row, const std::string& ref) {
        return "<row r=\"" + row + "\"><c r=\"" + ref +
               "\" t=\"inlineStr\"><is><t>Vorlage</t></is></c></row>";
    };
    const struct
    {
        std::string sheet;
        const char* refusal; // nullptr: filled
    } cases[] = {
        {sheetWith(cellAt("1", "XFD1048577")), "Zellbezug \"XFD1048577\""},
        {sheetWith(cellAt("1", "XFE1")), "Zellbezug \"XFE1\""},
        {sheetWith(cellAt("1", "!!")), "Zellbezug \"!!\""},
        {sheetWith(cellAt("1", "$A$1")), "Zellbezug \"$A$1\""},
        {sheetWith(cellAt("1", "a1")), "Zellbezug \"a1\""},
        {sheetWith(cellAt("1", "A01")), "Zellbezug \"A01\""},
        {sheetWith(cellAt("1", "A2")), "Zellbezug \"A2\""},
        {sheetWith("<row r=\"1\"><c r=\"B1\"/><c r=\"A1\"/></row>"), "Zellbezug \"A1\""},
        {sheetWith(cellAt("0", "A0")), "Zeilennummer \"0\""},
        {sheetWith(cellAt("01", "A1")), "Zeilennummer \"01\""},
        {sheetWith(cellAt("1048577", "A1048577")), "Zeilennummer \"1048577\""},
        {sheetWith("<row r=\"3\"/><row r=\"2\"/>"), "Zeilennummer \"2\""},
        {start + "<sheetData/><sheetData>" + cellAt("1", "A1") + "</sheetData></worksheet>",
         "seine Zelldaten mehr als einmal"},
        // References as every reader reads them, and rows and cells placed by their order.
        {sheetWith(cellAt("1", "A1") + "<row r=\"1048576\"><c r=\"XFD1048576\"/></row>"), nullptr},
        {sheetWith("<row><c/><c r=\"B1\"/><c/></row><row/>"), nullptr},
    };
    platform::locale::SetCurrent("de-DE");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.sheet);
        RestoreTemplate();
        ReplacePart(templatePath_, kSheet, c.sheet);
        auto book = app_->Workbooks()->Open(templatePath_);
        book->Worksheets(1)->Range("A1")->SetValue(std::string("Bericht"));
        const std::string path = PathOf("filled.xlsx");
        std::filesystem::remove(path);
        try {
            book->SaveAs(path, excel::FileFormat::OpenXmlWorkbook);
            EXPECT_EQ(c.refusal, nullptr) << "filled, where a refusal was due";
            const auto cells = exceltest::XlsxFile(path).Cells(kSheet);
            EXPECT_EQ(cells.count("A1") ? cells.at("A1").value : "", "Bericht");
        } catch (const rt::Error& error) {
            ASSERT_NE(c.refusal, nullptr) << error.Description();
            EXPECT_NE(error.Description().find(c.refusal), std::string::npos)
                << error.Description();
            EXPECT_NE(error.Description().find("Das Arbeitsblatt \"Bericht\" der Vorlage"),
                      std::string::npos)
                << error.Description();
            EXPECT_FALSE(std::filesystem::exists(path));
        }
        book->Close(false);
    }
    platform::locale::SetCurrent("en-US");
}

// The package at `path` with the uncompressed size that its directory and the local header
// declare for `part` set to `size`, the data left as it is.
void DeclareSize(const std::string& path, const std::string& part, std::uint32_t size)
{
    std::string bytes = ReadBytes(path);
    const auto put = [&](std::size_t at) {
        for (int i = 0; i < 4; ++i) {
            bytes[at + static_cast<std::size_t>(i)] = static_cast<char>((size >> (8 * i)) & 0xFF);
        }
    };
    int patched = 0;
    for (auto at = bytes.find(part); at != std::string::npos; at = bytes.find(part, at + 1)) {
        if (at >= 46 && bytes.compare(at - 46, 4, "PK\x01\x02") == 0) {
            put(at - 46 + 24); // the directory's entry
            ++patched;
        } else if (at >= 30 && bytes.compare(at - 30, 4, "PK\x03\x04") == 0) {
            put(at - 30 + 22); // the local header
            ++patched;
        }
    }
    ASSERT_EQ(patched, 2);
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// Keeps the address space of the process within `bytes` more than it uses now, for its
// lifetime: a reservation of gigabytes then fails instead of taking the machine's memory.
class AddressSpaceLimit
{
public:
    explicit AddressSpaceLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_AS, &old_);
        long pages = 0;
        std::ifstream("/proc/self/statm") >> pages;
        rlimit limit = old_;
        limit.rlim_cur =
            static_cast<rlim_t>(pages) * static_cast<rlim_t>(sysconf(_SC_PAGESIZE)) + bytes;
        setrlimit(RLIMIT_AS, &limit);
    }
    ~AddressSpaceLimit() { setrlimit(RLIMIT_AS, &old_); }
    AddressSpaceLimit(const AddressSpaceLimit&) = delete;
    AddressSpaceLimit& operator=(const AddressSpaceLimit&) = delete;

private:
    rlimit old_{};
};

TEST_F(TemplateTest, PartThatDeclaresMoreThanItHoldsIsRefusedWithoutReservingIt)
{
    const std::string part = "xl/workbook.xml";
    const auto real =
        static_cast<std::uint32_t>(exceltest::XlsxFile(templatePath_).Part(part).size());
    for (const std::uint32_t declared : {0xFFFFFFF0u, real + 1, real - 1}) {
        SCOPED_TRACE(declared);
        RestoreTemplate();
        DeclareSize(templatePath_, part, declared);
        const AddressSpaceLimit limit(rlim_t(1) << 30);
        try {
            app_->Workbooks()->Open(templatePath_);
            ADD_FAILURE() << "the template was accepted";
        } catch (const rt::Error& error) {
            EXPECT_EQ(error.Number(), 1004);
            EXPECT_NE(error.Description().find("\"" + part + "\""), std::string::npos)
                << error.Description();
        }
    }
}

TEST_F(TemplateTest, APartOfTheWrongSizeIsRefusedInTheUsersLanguage)
{
    const std::string part = "xl/workbook.xml";
    const auto real =
        static_cast<std::uint32_t>(exceltest::XlsxFile(templatePath_).Part(part).size());
    struct Case
    {
        const char* locale;
        const char* said;
        const char* foreign;
    };
    for (const std::uint32_t declared : {real + 1, real - 1}) {
        for (const auto& c : {Case{"de-DE", "\" kann nicht gelesen werden: ", "does not"},
                              Case{"en-US", "\": its data ", "nicht"}}) {
            SCOPED_TRACE(std::to_string(declared) + " " + c.locale);
            RestoreTemplate();
            DeclareSize(templatePath_, part, declared);
            platform::locale::SetCurrent(c.locale);
            try {
                app_->Workbooks()->Open(templatePath_);
                ADD_FAILURE() << "the template was accepted";
            } catch (const rt::Error& error) {
                const std::string said = error.Description();
                EXPECT_NE(said.find(c.said), std::string::npos) << said;
                // The package's own reason is in the user's language too.
                EXPECT_EQ(said.find(c.foreign), std::string::npos) << said;
            }
        }
    }
    platform::locale::SetCurrent("en-US");
}

// A cell note as a spreadsheet program stores it: its text in the comments part, and its box
// in a legacy drawing whose line breaks are HTML-style "<br>" tags without an end.
void AddNoteWithALineBreak(const std::string& path)
{
    lxw_workbook* workbook = workbook_new(path.c_str());
    lxw_worksheet* sheet = workbook_add_worksheet(workbook, "Bericht");
    worksheet_write_string(sheet, 0, 0, "Titel", nullptr);
    worksheet_write_comment(sheet, 0, 0, "Autor:\nerste Zeile\nzweite Zeile");
    ASSERT_EQ(workbook_close(workbook), LXW_NO_ERROR);
    const exceltest::XlsxFile file(path);
    const std::string vmlPart = "xl/drawings/vmlDrawing1.vml";
    std::string vml = file.Part(vmlPart);
    const std::string empty = "<div style=\"text-align:left\"></div>";
    const auto at = vml.find(empty);
    ASSERT_NE(at, std::string::npos) << vml;
    vml.replace(at, empty.size(),
                "<div style='text-align:left'><font face=\"Tahoma\" size=\"160\" "
                "color=\"auto\"><b>Autor:</b></font><font face=\"Tahoma\" size=\"160\" "
                "color=\"auto\"><br>erste Zeile<br>zweite Zeile</font></div>");
    ReplacePart(path, vmlPart, vml);
}

TEST_F(TemplateTest, TemplateWithACellNoteIsFilledAndKeepsTheNote)
{
    const std::string notePath = PathOf("note.xltx");
    AddNoteWithALineBreak(notePath);
    const exceltest::XlsxFile original(notePath);
    ASSERT_TRUE(original.Has("xl/comments1.xml"));
    ASSERT_NE(original.Part("xl/drawings/vmlDrawing1.vml").find("<br>erste"), std::string::npos);

    auto book = app_->Workbooks()->Open(notePath);
    book->Worksheets(1)->Range("A2")->SetValue(std::string("gefüllt"));
    const std::string path = PathOf("filled.xlsx");
    book->SaveAs(path, excel::FileFormat::OpenXmlWorkbook);
    book->Close(false);

    const exceltest::XlsxFile filled(path);
    for (const char* part : {"xl/drawings/vmlDrawing1.vml", "xl/comments1.xml",
                             "xl/worksheets/_rels/sheet1.xml.rels"}) {
        EXPECT_EQ(filled.Part(part), original.Part(part)) << part;
    }
    EXPECT_NE(filled.Part(kSheet).find("<legacyDrawing"), std::string::npos);
    EXPECT_EQ(filled.Cells(kSheet).at("A2").value, "gefüllt");
    EXPECT_EQ(filled.Cells(kSheet).at("A1").value, "Titel");
    EXPECT_EQ(exceltest::PartsNoReaderOpens(path), "");
}

// `text` (ASCII and Latin-1 letters as UTF-8) in Latin-1 bytes.
std::string Latin1(const std::string& text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c == 0xC3 && i + 1 < text.size()) {
            out += static_cast<char>(0x40 + static_cast<unsigned char>(text[++i]));
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

// `text` as above in UTF-16 (little-endian, with its byte-order mark).
std::string Utf16(const std::string& text)
{
    std::string out = "\xFF\xFE";
    for (char c : Latin1(text)) {
        out += c;
        out += '\0';
    }
    return out;
}

// The template's first sheet stored in another encoding under a declaration that says so,
// its page header naming a person with an umlaut.
void StoreSheetIn(const std::string& path, const std::string& encoding,
                  std::string (*encode)(const std::string&))
{
    std::string sheet = exceltest::XlsxFile(path).Part(kSheet);
    const std::string utf8 = "encoding=\"UTF-8\"";
    ASSERT_NE(sheet.find(utf8), std::string::npos);
    sheet.replace(sheet.find(utf8), utf8.size(), "encoding=\"" + encoding + "\"");
    const std::string confidential = "Confidential";
    ASSERT_NE(sheet.find(confidential), std::string::npos);
    sheet.replace(sheet.find(confidential), confidential.size(), "Vertraulich für Müller");
    ReplacePart(path, kSheet, encode(sheet));
}

TEST_F(TemplateTest, SheetStoredInAnotherEncodingIsWrittenWithADeclarationThatMatches)
{
    const struct
    {
        const char* encoding;
        std::string (*encode)(const std::string&);
    } cases[] = {{"UTF-16", Utf16}, {"ISO-8859-1", Latin1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.encoding);
        RestoreTemplate();
        StoreSheetIn(templatePath_, c.encoding, c.encode);
        auto book = app_->Workbooks()->Open(templatePath_);
        auto setup = book->Worksheets(1)->PageSetup();
        EXPECT_EQ(setup->RightHeader(), "Vertraulich für Müller");
        setup->SetCenterHeader("Grüße");
        book->Worksheets(1)->Range("A3")->SetValue(std::string("Zeile für dich"));
        const std::string path = PathOf("filled.xlsx");
        book->SaveAs(path, excel::FileFormat::OpenXmlWorkbook);
        book->Close(false);

        EXPECT_EQ(exceltest::PartsNoReaderOpens(path), "");
        const exceltest::XlsxFile filled(path);
        EXPECT_EQ(filled.HeaderFooter(kSheet, "oddHeader"),
                  "&LKestrova&CGrüße&RVertraulich für Müller");
        EXPECT_EQ(filled.Cells(kSheet).at("A3").value, "Zeile für dich");
        EXPECT_EQ(filled.Cells(kSheet).at("A1").value, "Quarterly title");
    }
}

TEST_F(TemplateTest, FillWhoseOutputWouldNotOpenIsRefusedAndNothingWritten)
{
    // An encoding the fill cannot take over: the filled sheet would mix its bytes with UTF-8.
    StoreSheetIn(templatePath_, "windows-1252", Latin1);
    auto book = app_->Workbooks()->Open(templatePath_);
    book->Worksheets(1)->Range("A3")->SetValue(std::string("Zeile für dich"));
    const std::string path = PathOf("filled.xlsx");
    try {
        book->SaveAs(path, excel::FileFormat::OpenXmlWorkbook);
        ADD_FAILURE() << "a workbook that would not open was saved";
    } catch (const rt::Error& error) {
        EXPECT_EQ(error.Number(), 1004);
        EXPECT_NE(error.Description().find("\"" + path + "\""), std::string::npos)
            << error.Description();
        EXPECT_NE(error.Description().find(std::string("\"") + kSheet + "\""), std::string::npos)
            << error.Description();
    }
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_EQ(FolderEntries(), (std::vector<std::string>{"pristine.xltx", "report.xltx"}));
}

TEST_F(TemplateTest, FailureWhileFillingNamesTheTargetNotTheTemporaryFile)
{
    auto book = app_->Workbooks()->Open(templatePath_);
    book->Worksheets(1)->Range("A1")->SetValue(std::string("x"));
    std::ofstream(templatePath_, std::ios::binary | std::ios::trunc) << "no package any more";
    const std::string path = PathOf("filled.xlsx");
    try {
        book->SaveAs(path, excel::FileFormat::OpenXmlWorkbook);
        ADD_FAILURE() << "a broken template was filled";
    } catch (const rt::Error& error) {
        EXPECT_NE(error.Description().find("\"" + path + "\""), std::string::npos)
            << error.Description();
        EXPECT_EQ(error.Description().find("/.filled.xlsx."), std::string::npos)
            << error.Description();
    }
    EXPECT_FALSE(std::filesystem::exists(path));
}

} // namespace
