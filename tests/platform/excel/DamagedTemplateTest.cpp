// Templates that are damaged or made to do harm, as a person may receive them: each is
// refused in the run's language within a bound of memory, or filled into a workbook that
// both the project's reader and an independent XML parser open again.
#include "ExcelTestSupport.h"

#include "platform/excel/Application.h"
#include "platform/excel/FileFormat.h"
#include "platform/excel/Range.h"
#include "platform/excel/Workbook.h"
#include "platform/excel/Workbooks.h"
#include "platform/excel/Worksheet.h"
#include "platform/locale/Locale.h"
#include "platform/runtime/Date.h"
#include "platform/runtime/Error.h"

#include <libxml/parser.h>
#include <pugixml.hpp>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xlsxwriter.h>
#include <zip.h>
#include <zlib.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <map>
#include <new>
#include <set>
#include <string>
#include <vector>

namespace excel = platform::excel;
namespace rt = platform::runtime;

namespace {

const char* const kSheet = "xl/worksheets/sheet1.xml";
constexpr std::uint64_t kMiB = std::uint64_t(1) << 20;
// What a fill may take beyond the memory the test process holds when it starts one.
#if defined(__SANITIZE_ADDRESS__)
// The address sanitizer keeps freed blocks in quarantine (256 MB) and pads every block.
constexpr std::uint64_t kMemoryBound = (384 + 768) * kMiB;
#else
constexpr std::uint64_t kMemoryBound = 384 * kMiB;
#endif

// One entry of a package as this test writes it, packed already.
struct Entry
{
    std::string name;
    std::string packed;
    std::uint32_t crc = 0;
    std::uint64_t size = 0;
    std::uint16_t method = 8; // 8 deflated, 0 stored
};

// `data` as raw deflate blocks; Z_FULL_FLUSH ends them on a byte with no reference back, so
// that the blocks of several calls can follow one another in one entry.
std::string RawDeflate(std::string_view data, int flush, int level = 9)
{
    z_stream z{};
    deflateInit2(&z, level, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY);
    std::string out(deflateBound(&z, data.size()) + 64, '\0');
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    z.avail_in = static_cast<uInt>(data.size());
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = static_cast<uInt>(out.size());
    deflate(&z, flush);
    out.resize(z.total_out);
    deflateEnd(&z);
    return out;
}

std::uint32_t Crc(std::string_view data)
{
    return static_cast<std::uint32_t>(
        crc32(0, reinterpret_cast<const Bytef*>(data.data()), static_cast<uInt>(data.size())));
}

Entry Deflated(const std::string& name, std::string_view data, int level = 9)
{
    return {name, RawDeflate(data, Z_FINISH, level), Crc(data), data.size(), 8};
}

Entry Stored(const std::string& name, std::string data)
{
    const std::uint32_t crc = Crc(data);
    const std::uint64_t size = data.size();
    return {name, std::move(data), crc, size, 0};
}

// A compression bomb: `head`, `count` times `piece`, then `tail`, packed from one packed
// `piece` repeated, so that gigabytes cost the test a megabyte and no time.
Entry Bomb(const std::string& name, std::string_view head, std::string_view piece,
           std::uint64_t count, std::string_view tail = {})
{
    Entry entry{name, RawDeflate(head, Z_FULL_FLUSH), Crc(head), head.size(), 8};
    const std::string block = RawDeflate(piece, Z_FULL_FLUSH);
    const uLong pieceCrc = Crc(piece);
    for (std::uint64_t i = 0; i < count; ++i) {
        entry.packed += block;
        entry.crc = static_cast<std::uint32_t>(
            crc32_combine(entry.crc, pieceCrc, static_cast<z_off_t>(piece.size())));
    }
    entry.size += count * piece.size();
    entry.packed += RawDeflate(tail, Z_FINISH);
    entry.crc = static_cast<std::uint32_t>(
        crc32_combine(entry.crc, Crc(tail), static_cast<z_off_t>(tail.size())));
    entry.size += tail.size();
    return entry;
}

void Put16(std::string& out, unsigned value)
{
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>((value >> 8) & 0xFF);
}

void Put32(std::string& out, std::uint64_t value)
{
    Put16(out, static_cast<unsigned>(value & 0xFFFF));
    Put16(out, static_cast<unsigned>((value >> 16) & 0xFFFF));
}

// Writes a zip file of `entries` as they are: repeated names and any declared size
// (`declared` by name) included, which a zip library would not write.
void WriteZip(const std::string& path, const std::vector<Entry>& entries,
              const std::map<std::string, std::uint32_t>& declared = {})
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    std::string directory;
    std::uint64_t offset = 0;
    for (const Entry& e : entries) {
        const auto it = declared.find(e.name);
        const std::uint64_t size = it == declared.end() ? e.size : it->second;
        std::string header;
        Put32(header, 0x04034b50);
        for (unsigned v : {20u, 0x0800u, unsigned(e.method), 0u, 0x21u}) {
            Put16(header, v);
        }
        Put32(header, e.crc);
        Put32(header, e.packed.size());
        Put32(header, size);
        Put16(header, static_cast<unsigned>(e.name.size()));
        Put16(header, 0);
        header += e.name;
        out << header << e.packed;

        Put32(directory, 0x02014b50);
        for (unsigned v : {20u, 20u, 0x0800u, unsigned(e.method), 0u, 0x21u}) {
            Put16(directory, v);
        }
        Put32(directory, e.crc);
        Put32(directory, e.packed.size());
        Put32(directory, size);
        Put16(directory, static_cast<unsigned>(e.name.size()));
        for (int i = 0; i < 4; ++i) {
            Put16(directory, 0);
        }
        Put32(directory, 0);
        Put32(directory, offset);
        directory += e.name;
        offset += header.size() + e.packed.size();
    }
    std::string end;
    Put32(end, 0x06054b50);
    Put16(end, 0);
    Put16(end, 0);
    Put16(end, static_cast<unsigned>(entries.size()));
    Put16(end, static_cast<unsigned>(entries.size()));
    Put32(end, directory.size());
    Put32(end, offset);
    Put16(end, 0);
    out << directory << end;
}

using Parts = std::vector<std::pair<std::string, std::string>>;

Parts ReadParts(const std::string& path)
{
    Parts parts;
    int error = 0;
    zip_t* zip = zip_open(path.c_str(), ZIP_RDONLY, &error);
    EXPECT_NE(zip, nullptr) << path;
    if (zip == nullptr) {
        return parts;
    }
    for (zip_int64_t i = 0; i < zip_get_num_entries(zip, 0); ++i) {
        zip_stat_t st;
        zip_stat_index(zip, static_cast<zip_uint64_t>(i), 0, &st);
        std::string data(st.size, '\0');
        zip_file_t* file = zip_fopen_index(zip, static_cast<zip_uint64_t>(i), 0);
        zip_fread(file, data.data(), data.size());
        zip_fclose(file);
        parts.emplace_back(st.name, std::move(data));
    }
    zip_discard(zip);
    return parts;
}

std::string Folded(std::string text)
{
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return text;
}

// What became of one attempt to fill a template in a child process.
struct Outcome
{
    bool saved = false;
    std::string said;    // the refusal's text
    std::string failure; // a crash, or memory beyond the bound
    long peakKilobytes = 0;
};

class DamagedTemplateTest : public exceltest::ExcelAppTest
{
protected:
    void SetUp() override
    {
        ExcelAppTest::SetUp();
        const std::string path = PathOf("made.xltx");
        MakeTemplate(path, 2);
        Take(ReadParts(path));
    }
    void TearDown() override
    {
        platform::locale::SetCurrent("en-US");
        ExcelAppTest::TearDown();
    }

    // A template as a user makes one: a titled first sheet with a cell note, a second sheet.
    static void MakeTemplate(const std::string& path, int sheets)
    {
        lxw_workbook* workbook = workbook_new(path.c_str());
        lxw_worksheet* first = workbook_add_worksheet(workbook, "Bericht");
        worksheet_write_string(first, 0, 0, "Titel", nullptr);
        worksheet_write_comment(first, 0, 0, "Hinweis");
        for (int i = 1; i < sheets; ++i) {
            workbook_add_worksheet(workbook, nullptr);
        }
        ASSERT_EQ(workbook_close(workbook), LXW_NO_ERROR);
    }

    std::string templatePath() const { return PathOf("damaged.xltx"); }

    // Takes `parts` as the template's, each packed once.
    void Take(Parts parts)
    {
        parts_ = std::move(parts);
        packed_.clear();
        for (const auto& [name, data] : parts_) {
            packed_.push_back(Deflated(name, data));
        }
    }

    const std::string& Part(const std::string& name) const
    {
        for (const auto& [n, data] : parts_) {
            if (n == name) {
                return data;
            }
        }
        static const std::string none;
        ADD_FAILURE() << "the template has no part " << name;
        return none;
    }

    // The template's parts packed, each replaced by `replaced` where it names it.
    std::vector<Entry> Entries(const std::map<std::string, Entry>& replaced = {}) const
    {
        std::vector<Entry> entries;
        for (const Entry& entry : packed_) {
            const auto it = replaced.find(entry.name);
            entries.push_back(it == replaced.end() ? entry : it->second);
        }
        return entries;
    }

    // The template's parts with `name` holding `data` (added when it is not there).
    std::vector<Entry> With(const std::string& name, const std::string& data) const
    {
        std::vector<Entry> entries = Entries({{name, Deflated(name, data)}});
        if (std::none_of(parts_.begin(), parts_.end(),
                         [&](const auto& part) { return part.first == name; })) {
            entries.push_back(Deflated(name, data));
        }
        return entries;
    }

    // Opens the template at `path`, writes a text and a date into its first sheet and saves
    // it as `target`, in a child process whose address space may grow by kMemoryBound.
    Outcome Attempt(const std::string& path, const std::string& target, const char* locale,
                    long format = excel::FileFormat::OpenXmlWorkbook)
    {
        int pipeEnds[2];
        if (pipe(pipeEnds) != 0) {
            return {false, "", "no pipe"};
        }
        const pid_t child = fork();
        if (child == 0) {
            close(pipeEnds[0]);
            alarm(120); // a fill that hangs ends as a failure, not as a test that never ends
            platform::locale::SetCurrent(locale);
            long pages = 0;
            std::ifstream("/proc/self/statm") >> pages;
            const rlimit limit{static_cast<rlim_t>(pages) * sysconf(_SC_PAGESIZE) + kMemoryBound,
                               RLIM_INFINITY};
            setrlimit(RLIMIT_AS, &limit);
            std::string result;
            try {
                auto book = app_->Workbooks()->Open(path);
                auto sheet = book->Worksheets(1);
                sheet->Range("A2")->SetValue(std::string("gefüllt"));
                sheet->Range("B2")->SetValue(rt::DateSerial(2024, 12, 24));
                book->SaveAs(target, format);
                book->Close(false);
                result = "S";
            } catch (const rt::Error& error) {
                result = "R" + error.Description();
            } catch (const std::bad_alloc&) {
                result = "M";
            }
            const ssize_t written = write(pipeEnds[1], result.data(), result.size());
            _exit(written == static_cast<ssize_t>(result.size()) ? 0 : 1);
        }
        close(pipeEnds[1]);
        std::string result;
        char buffer[4096];
        for (ssize_t n = 0; (n = read(pipeEnds[0], buffer, sizeof buffer)) > 0;) {
            result.append(buffer, static_cast<std::size_t>(n));
        }
        close(pipeEnds[0]);
        int status = 0;
        rusage usage{};
        wait4(child, &status, 0, &usage);
        Outcome outcome;
        outcome.peakKilobytes = usage.ru_maxrss;
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || result.empty()) {
            outcome.failure = "the fill ended abnormally (status " + std::to_string(status) + ")";
        } else if (result == "M") {
            outcome.failure = "the fill needed more memory than the bound";
        } else if (result[0] == 'S') {
            outcome.saved = true;
        } else {
            outcome.said = result.substr(1);
        }
        return outcome;
    }

    // Checks that `path` opens again: in an XML parser of its own (libxml2) every XML part,
    // with unique part names and every relationship's part there; in the project's reader
    // with the values filled in.
    void ExpectOpensEverywhere(const std::string& path)
    {
        const Parts parts = ReadParts(path);
        std::map<std::string, const std::string*> byName;
        for (const auto& [name, data] : parts) {
            EXPECT_TRUE(byName.emplace(Folded(name), &data).second) << "repeated: " << name;
        }
        for (const auto& [name, data] : parts) {
            if (!name.ends_with(".xml") && !name.ends_with(".rels")) {
                continue;
            }
            xmlDocPtr doc = xmlReadMemory(
                data.data(), static_cast<int>(data.size()), nullptr, nullptr,
                XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING | XML_PARSE_HUGE);
            EXPECT_NE(doc, nullptr) << name << " is not well-formed";
            xmlFreeDoc(doc);
            if (!name.ends_with(".rels")) {
                continue;
            }
            // "xl/_rels/workbook.xml.rels" holds the relationships of "xl/workbook.xml".
            const auto folder = name.substr(0, name.rfind("_rels/"));
            const auto source =
                folder + name.substr(name.rfind('/') + 1, name.size() - name.rfind('/') - 6);
            if (!source.empty() && byName.count(Folded(source)) == 0) {
                continue;
            }
            pugi::xml_document rels;
            rels.load_buffer(data.data(), data.size());
            for (pugi::xml_node rel : rels.child("Relationships").children("Relationship")) {
                if (std::string_view(rel.attribute("TargetMode").value()) == "External") {
                    continue;
                }
                const std::string target = rel.attribute("Target").value();
                const std::string part =
                    target.starts_with("/")
                        ? target.substr(1)
                        : (std::filesystem::path(folder) / target).lexically_normal().string();
                EXPECT_EQ(byName.count(Folded(part)), 1u)
                    << name << " names " << part << ", which is not there";
            }
        }
        EXPECT_EQ(byName.count("[content_types].xml"), 1u);
        EXPECT_EQ(byName.count("_rels/.rels"), 1u);
        try {
            auto book = app_->Workbooks()->Open(path);
            EXPECT_EQ(book->Worksheets(1)->Name(), "Bericht");
            book->Close(false);
        } catch (const rt::Error& error) {
            ADD_FAILURE() << "the project's reader refuses it: " << error.Description();
        }
        const auto cells = exceltest::XlsxFile(path).Cells(kSheet);
        EXPECT_EQ(cells.count("A2") ? cells.at("A2").value : "", "gefüllt");
    }

    // A refusal in German: `expected` said, none of the English refusals' words.
    static void ExpectGerman(const std::string& said, const std::string& expected)
    {
        EXPECT_NE(said.find(expected), std::string::npos) << said;
        for (const char* english :
             {"the template", "the workbook", "cannot ", "is not ", "its part", "lacks", "names no",
              "too large", "more than once", "layout", "the part", "holds no"}) {
            EXPECT_EQ(said.find(english), std::string::npos) << english << " in: " << said;
        }
    }

    // Attempts the template at `path` and checks what became of it: refused with `expected`
    // (German) or, for an empty `expected`, saved in a workbook that opens everywhere.
    void ExpectOutcome(const std::string& path, const std::string& expected)
    {
        const std::string target = PathOf("report.xlsx");
        std::filesystem::remove(target);
        const Outcome outcome = Attempt(path, target, "de-DE");
        EXPECT_EQ(outcome.failure, "") << "peak " << outcome.peakKilobytes / 1024 << " MB";
        if (!outcome.failure.empty()) {
            return;
        }
        if (expected.empty()) {
            EXPECT_TRUE(outcome.saved) << outcome.said;
            if (outcome.saved) {
                ExpectOpensEverywhere(target);
            }
            return;
        }
        EXPECT_FALSE(outcome.saved) << "saved, where a refusal was due";
        ExpectGerman(outcome.said, expected);
        EXPECT_FALSE(std::filesystem::exists(target));
    }

    Parts parts_;
    std::vector<Entry> packed_;
};

const char* const kRelationships =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/";
const char* const kWorksheetStart =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n<worksheet "
    "xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"><sheetData>";

const char* const kTooLarge = "ist entpackt zu groß";

TEST_F(DamagedTemplateTest, PartsThatUnpackBeyondTheBoundsAreRefusedAsTooLarge)
{
    const std::string blanks(kMiB, ' ');
    std::string rows;
    while (rows.size() + 6 <= kMiB) {
        rows += "<row/>";
    }
    const std::string tooLarge = kTooLarge;
    // A gibibyte of blanks after the part's own text, in each kind of part that is read.
    for (const char* name : {"[Content_Types].xml", "_rels/.rels", "xl/workbook.xml",
                             "xl/_rels/workbook.xml.rels", "xl/styles.xml", kSheet,
                             "xl/worksheets/sheet2.xml", "xl/worksheets/_rels/sheet1.xml.rels"}) {
        SCOPED_TRACE(name);
        WriteZip(templatePath(), Entries({{name, Bomb(name, Part(name), blanks, 1024)}}));
        ExpectOutcome(templatePath(), tooLarge);
    }
    const struct
    {
        const char* what;
        std::vector<Entry> entries;
        std::string expected;
    } cases[] = {
        {"a gibibyte of empty rows",
         Entries({{kSheet, Bomb(kSheet, kWorksheetStart, rows, 1024, "</sheetData></worksheet>")}}),
         tooLarge},
        {"eleven megabytes of empty rows from a few kilobytes",
         Entries({{kSheet, Bomb(kSheet, kWorksheetStart, rows, 11, "</sheetData></worksheet>")}}),
         tooLarge},
        {"relationships of no part, a gibibyte of blanks",
         [&] {
             auto entries = Entries();
             entries.push_back(
                 Bomb("xl/_rels/nothing.xml.rels", Part("_rels/.rels"), blanks, 1024));
             return entries;
         }(),
         tooLarge},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        WriteZip(templatePath(), c.entries);
        ExpectOutcome(templatePath(), c.expected);
    }

    // A sheet that says it holds 4 KB and unpacks to a gibibyte.
    WriteZip(templatePath(), Entries({{kSheet, Bomb(kSheet, Part(kSheet), blanks, 1024)}}),
             {{kSheet, 4096}});
    ExpectOutcome(templatePath(), "seine Daten haben nicht die Größe");
}

TEST_F(DamagedTemplateTest, PartsOfManyElementsAreRefusedAsTooLarge)
{
    // Many elements in few megabytes, each a node of the tree the fill holds of the sheet.
    const auto emptyRows = [](long count) {
        std::string text = kWorksheetStart;
        for (long row = 3; row < count + 3; ++row) {
            text += "<row r=\"" + std::to_string(row) + "\"/>";
        }
        return text + "</sheetData></worksheet>";
    };
    WriteZip(templatePath(), Entries({{kSheet, Deflated(kSheet, emptyRows(1'100'000), 1)}}));
    ExpectOutcome(templatePath(), "XML-Elemente und -Attribute");
}

TEST_F(DamagedTemplateTest, LargePartsWithinTheBoundsAreFilledAndAllTogetherAreBounded)
{
    // A part that is not read goes into the report as it is, packed.
    const std::string properties = "docProps/app.xml";
    WriteZip(
        templatePath(),
        Entries({{properties, Bomb(properties, Part(properties), std::string(kMiB, ' '), 40)}}));
    ExpectOutcome(templatePath(), "");

    // A sheet that packs as real data packs is filled: 4.25 MB of rows of numbers and texts.
    std::string numbers = kWorksheetStart;
    for (long row = 3; numbers.size() < 17 * kMiB / 4; ++row) {
        const std::string r = std::to_string(row);
        numbers += "<row r=\"" + r + "\"><c r=\"C" + r + "\"><v>" + std::to_string(row * 7919) +
                   "</v></c><c r=\"D" + r + "\" t=\"inlineStr\"><is><t>Zeile " + r +
                   "</t></is></c></row>";
    }
    numbers += "</sheetData></worksheet>";
    WriteZip(templatePath(), Entries({{kSheet, Deflated(kSheet, numbers, 1)}}));
    ExpectOutcome(templatePath(), "");

    // Five sheets of 30 MB each, stored as they are (packed not at all): the fifth goes
    // beyond what all parts together may unpack to.
    MakeTemplate(PathOf("five.xltx"), 5);
    Take(ReadParts(PathOf("five.xltx")));
    std::map<std::string, Entry> large;
    for (int sheet = 1; sheet <= 5; ++sheet) {
        const std::string name = "xl/worksheets/sheet" + std::to_string(sheet) + ".xml";
        large.emplace(name, Stored(name, Part(name) + std::string(30 * kMiB, ' ')));
    }
    WriteZip(templatePath(), Entries(large));
    ExpectOutcome(templatePath(), "\" brächte alle gelesenen Teile zusammen auf 151 MB, und sie "
                                  "dürfen höchstens 128 MB groß sein");
}

// The template's workbook relationships with one more, of `type`, naming `target`.
std::string WithRelationship(std::string rels, const std::string& type, const std::string& target,
                             const std::string& id = "rId99")
{
    const auto end = rels.rfind("</Relationships>");
    rels.insert(end, "<Relationship Id=\"" + id + "\" Type=\"" + type + "\" Target=\"" + target +
                         "\"/>");
    return rels;
}

TEST_F(DamagedTemplateTest, ARemovedKindOfRelationshipNeverTakesAPartTheWorkbookNeeds)
{
    const std::string workbookRels = "xl/_rels/workbook.xml.rels";
    const std::string kinds[] = {
        std::string(kRelationships) + "calcChain",
        "http://schemas.microsoft.com/office/2006/relationships/vbaProject"};
    const char* targets[] = {"worksheets/sheet1.xml",
                             "worksheets/sheet2.xml",
                             "styles.xml",
                             "theme/theme1.xml",
                             "_rels/workbook.xml.rels",
                             "../_rels/.rels",
                             "workbook.xml",
                             "/[Content_Types].xml",
                             "../docProps/app.xml",
                             "worksheets/_rels/sheet1.xml.rels",
                             "../xl/comments1.xml",
                             "drawings/vmlDrawing1.vml"};
    for (const std::string& kind : kinds) {
        for (const char* target : targets) {
            SCOPED_TRACE(kind + " to " + target);
            WriteZip(templatePath(),
                     With(workbookRels, WithRelationship(Part(workbookRels), kind, target)));
            ExpectOutcome(templatePath(), "");
            const exceltest::XlsxFile filled(PathOf("report.xlsx"));
            EXPECT_EQ(filled.Part(workbookRels).find("rId99"), std::string::npos);
        }
    }
    // A calculation chain of its own is still removed, as stale; so is a macro project.
    std::vector<Entry> entries =
        With(workbookRels,
             WithRelationship(WithRelationship(Part(workbookRels), kinds[0], "calcChain.xml"),
                              kinds[1], "vbaProject.bin", "rId98"));
    entries.push_back(Deflated("xl/calcChain.xml",
                               "<calcChain xmlns=\"http://schemas.openxmlformats.org/"
                               "spreadsheetml/2006/main\"><c r=\"A1\" i=\"1\"/></calcChain>"));
    entries.push_back(Deflated("xl/vbaProject.bin", "macro project bytes"));
    std::string types = Part("[Content_Types].xml");
    types.insert(types.rfind("</Types>"),
                 "<Default Extension=\"bin\" ContentType=\"application/vnd.ms-office.vbaProject\"/>"
                 "<Override PartName=\"/xl/calcChain.xml\" ContentType=\"application/"
                 "vnd.openxmlformats-officedocument.spreadsheetml.calcChain+xml\"/>");
    for (Entry& entry : entries) {
        if (entry.name == "[Content_Types].xml") {
            entry = Deflated(entry.name, types);
        }
    }
    WriteZip(templatePath(), entries);
    ExpectOutcome(templatePath(), "");
    const exceltest::XlsxFile filled(PathOf("report.xlsx"));
    EXPECT_FALSE(filled.Has("xl/calcChain.xml"));
    EXPECT_FALSE(filled.Has("xl/vbaProject.bin"));
    EXPECT_EQ(filled.Part("[Content_Types].xml").find("calcChain"), std::string::npos);
    EXPECT_EQ(filled.Part("[Content_Types].xml").find("vbaProject"), std::string::npos);
}

TEST_F(DamagedTemplateTest, APartNameThatAppearsTwiceIsRefused)
{
    for (const char* name :
         {"[Content_Types].xml", "_rels/.rels", "xl/workbook.xml", "xl/_rels/workbook.xml.rels",
          "xl/styles.xml", kSheet, "xl/worksheets/sheet2.xml", "xl/comments1.xml",
          "docProps/app.xml", "xl/theme/theme1.xml"}) {
        // The same name, and the name in other letter case, which the format takes as the same.
        std::string upper = name;
        for (char& c : upper) {
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        }
        for (const std::string& repeated : {std::string(name), upper}) {
            SCOPED_TRACE(repeated);
            std::vector<Entry> entries = Entries();
            // A second copy that differs: the unfilled template's title.
            std::string copy = Part(name);
            if (const auto at = copy.find("Titel"); at != std::string::npos) {
                copy.replace(at, 5, "Vorlage");
            }
            entries.push_back(Deflated(repeated, copy));
            WriteZip(templatePath(), entries);
            ExpectOutcome(templatePath(), "\" mehr als einmal");
        }
    }
}

// `text` with its first `from` replaced by `to`.
std::string Replaced(std::string text, const std::string& from, const std::string& to)
{
    const auto at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from << " in " << text;
    return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

TEST_F(DamagedTemplateTest, EveryRefusalOfADamagedTemplateIsInTheRunsLanguage)
{
    const std::string rels = "xl/_rels/workbook.xml.rels";
    const std::string types = "[Content_Types].xml";
    const std::string workbook = "xl/workbook.xml";
    const std::string empty = "<?xml version=\"1.0\"?><worksheet xmlns=\"http://schemas."
                              "openxmlformats.org/spreadsheetml/2006/main\"/>";
    const auto without = [&](const std::string& name) {
        std::vector<Entry> entries = Entries();
        std::erase_if(entries, [&](const Entry& e) { return e.name == name; });
        return entries;
    };
    const struct
    {
        const char* what;
        std::vector<Entry> entries;
        const char* expected;
    } cases[] = {
        {"no content-type list", without(types), "ihr fehlt der Teil \"[Content_Types].xml\""},
        {"no package relationships", without("_rels/.rels"),
         "Dem Arbeitsmappenpaket fehlt sein Teil \"_rels/.rels\""},
        {"no workbook relationships", without(rels),
         "Dem Arbeitsmappenpaket fehlt sein Teil \"xl/_rels/workbook.xml.rels\""},
        {"no workbook named",
         With("_rels/.rels", Replaced(Part("_rels/.rels"), "/officeDocument\"", "/other\"")),
         "nennt keinen Arbeitsmappenteil"},
        {"a sheet without its relationship",
         With(rels, Replaced(Part(rels), "Id=\"rId1\"", "Id=\"rId7\"")),
         "Das Blatt \"Bericht\" der Vorlage hat keinen Teil"},
        {"a sheet that is not there", without(kSheet), "ist keine vollständige Arbeitsmappe"},
        {"a sheet that is not XML", With(kSheet, "<worksheet><sheetData></worksheet>"),
         "ist keine wohlgeformte Arbeitsmappe: ihr Teil"},
        {"relationships that are not XML", With(rels, "<Relationships>"),
         "ist keine wohlgeformte Arbeitsmappe: ihr Teil"},
        {"no sheets",
         With(workbook, Replaced(Part(workbook), "<sheets>", "<nosheets>")
                            .replace(Part(workbook).find("</sheets>") + 2, 9, "</nosheets>")),
         "enthält kein Arbeitsblatt"},
        {"a sheet of another layout", With(kSheet, "<chartsheet/>"),
         "der Vorlage hat einen Aufbau, der sich nicht füllen lässt"},
        {"a sheet without cell data", With(kSheet, empty), "fehlen die Zelldaten"},
        {"styles without cell formats",
         With("xl/styles.xml", "<styleSheet xmlns=\"http://schemas.openxmlformats.org/"
                               "spreadsheetml/2006/main\"/>"),
         "fehlen die Zellformate"},
        {"no content type for the workbook",
         With(types,
              Replaced(Part(types), "PartName=\"/xl/workbook.xml\"", "PartName=\"/xl/other.xml\"")),
         "nennt keinen Teil \"/xl/workbook.xml\""},
        {"a target with a percent escape",
         With(rels, Replaced(Part(rels), "worksheets/sheet1.xml", "worksheets/sheet%31.xml")),
         "was kein Teilname ist"},
        {"a target with a fragment",
         With(rels, Replaced(Part(rels), "worksheets/sheet1.xml", "worksheets/sheet1.xml#x")),
         "was kein Teilname ist"},
        {"two sheets in one part",
         With(rels, Replaced(Part(rels), "worksheets/sheet2.xml", "worksheets/sheet1.xml")),
         "stehen in einem Teil"},
        {"a cell reference other readers place elsewhere",
         With(kSheet, std::string(kWorksheetStart) +
                          "<row r=\"1\"><c r=\"$A$1\"/></row></sheetData></worksheet>"),
         "Zellbezug \"$A$1\""},
        {"styles only under a name in other letters",
         [&] {
             std::vector<Entry> entries = Entries();
             for (Entry& e : entries)
                 if (e.name == "xl/styles.xml")
                     e.name = "xl/Styles.xml";
             return entries;
         }(),
         "fehlt sein Teil \"xl/styles.xml\" (in \""},
        {"a sheet in EBCDIC",
         With(kSheet, std::string("\x4C\x6F\xA7\x94\x93\x40\xA5\x85\x99\xA2\x89\x96\x95"
                                  "\x7E\x7F\xF1\x4B\xF0\x7F\x6F\x6E\x4C\xA6\x96\x99\x92"
                                  "\xA2\x88\x85\x85\xA3\x6E\x4C\x61\xA6\x96\x99\x92\xA2"
                                  "\x88\x85\x85\xA3\x6E")),
         "muss XML in UTF-8 oder UTF-16 sein (in \""},
        {"a billion laughs",
         With(kSheet,
              "<?xml version=\"1.0\"?><!DOCTYPE worksheet [<!ENTITY a \"aaaaaaaaaa\">"
              "<!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\"><!ENTITY c \"&b;&b;&b;&b;&b;&b;"
              "&b;&b;&b;&b;\"><!ENTITY d \"&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;\"><!ENTITY e \"&d;"
              "&d;&d;&d;&d;&d;&d;&d;&d;&d;\"><!ENTITY f \"&e;&e;&e;&e;&e;&e;&e;&e;&e;&e;\">"
              "<!ENTITY g \"&f;&f;&f;&f;&f;&f;&f;&f;&f;&f;\"><!ENTITY h \"&g;&g;&g;&g;&g;&g;"
              "&g;&g;&g;&g;\">]><worksheet><sheetData/><x>&h;&h;&h;&h;&h;&h;&h;&h;&h;"
              "&h;</x></worksheet>"),
         "ist keine wohlgeformte Arbeitsmappe: ihr Teil"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        WriteZip(templatePath(), c.entries);
        ExpectOutcome(templatePath(), c.expected);
    }
    // A file that is no package at all, and one whose part lies about its size.
    std::ofstream(templatePath(), std::ios::binary | std::ios::trunc) << "PK\x03\x04 und nichts";
    ExpectOutcome(templatePath(), "ist kein lesbares Arbeitsmappenpaket");
    WriteZip(templatePath(), Entries(), {{workbook, 12}});
    ExpectOutcome(templatePath(), "kann nicht gelesen werden: seine Daten haben nicht die Größe");
}

TEST_F(DamagedTemplateTest, CarriageReturnsInCellsTheFillLeavesAloneAreKept)
{
    // Character references, as writers store a carriage return that readers must keep.
    const std::string sheet =
        std::string(kWorksheetStart) +
        "<row r=\"1\"><c r=\"A1\" t=\"inlineStr\"><is><t>Titel</t></is></c></row>"
        "<row r=\"5\"><c r=\"C5\" t=\"inlineStr\"><is><t xml:space=\"preserve\">eins&#13;zwei"
        "&#13;&#10;drei&#13;</t></is></c><c r=\"D5\" t=\"str\"><f>\"x\"&amp;CHAR(13)</f>"
        "<v>x&#13;</v></c></row></sheetData></worksheet>";
    for (const char* locale : {"de-DE", "en-US"}) {
        SCOPED_TRACE(locale);
        WriteZip(templatePath(), With(kSheet, sheet));
        const std::string target = PathOf("report.xlsx");
        const Outcome outcome = Attempt(templatePath(), target, locale);
        ASSERT_TRUE(outcome.saved) << outcome.said << outcome.failure;
        ExpectOpensEverywhere(target);
        const auto cells = exceltest::XlsxFile(target).Cells(kSheet);
        EXPECT_EQ(cells.at("C5").value, "eins\rzwei\r\ndrei\r");
        EXPECT_EQ(cells.at("D5").value, "x\r");
        EXPECT_EQ(cells.at("A2").value, "gefüllt");
    }
}

} // namespace
