// The package layer on its own: the bounds a part is read within, and which parts the
// removal of a kind of relationship may take.
#include "ExcelTestSupport.h"

#include "platform/excel/detail/Package.h"
#include "platform/excel/detail/Relationships.h"
#include "platform/excel/detail/Writers.h"
#include "platform/runtime/Error.h"

#include <zip.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <functional>
#include <random>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace detail = platform::excel::detail;
namespace rt = platform::runtime;

namespace {

constexpr std::size_t kMiB = std::size_t(1) << 20;

const char* const kRelsStart =
    "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">";
const char* const kTypeBase =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/";
const char* const kCalcChainType =
    "application/vnd.openxmlformats-officedocument.spreadsheetml.calcChain+xml";

struct Part
{
    std::string name;
    std::string data;
    bool stored = false; // kept as it is rather than deflated
};

class PackageTest : public exceltest::ExcelTest
{
protected:
    // Writes a package of `parts` with libzip.
    std::string Make(const std::vector<Part>& parts, const std::string& name = "package.zip")
    {
        const std::string path = PathOf(name);
        int error = 0;
        zip_t* zip = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
        EXPECT_NE(zip, nullptr);
        for (const Part& part : parts) {
            zip_source_t* source = zip_source_buffer(zip, part.data.data(), part.data.size(), 0);
            const zip_int64_t index = zip_file_add(zip, part.name.c_str(), source, 0);
            EXPECT_GE(index, 0) << part.name;
            zip_set_file_compression(zip, static_cast<zip_uint64_t>(index),
                                     part.stored ? ZIP_CM_STORE : ZIP_CM_DEFLATE, 9);
        }
        EXPECT_EQ(zip_close(zip), 0);
        return path;
    }

    // The description of the error `action` raises, "" for none.
    static std::string Refusal(const std::function<void()>& action)
    {
        try {
            action();
        } catch (const rt::Error& error) {
            return error.Description();
        }
        return {};
    }
};

// Hex digits drawn at random: they pack to about half their size, far from the ratio that
// marks a bomb.
std::string HexText(std::size_t size)
{
    std::mt19937 random(7);
    std::string text(size, '0');
    for (char& c : text) {
        c = "0123456789abcdef"[random() % 16];
    }
    return text;
}

TEST_F(PackageTest, APartIsBoundedByWhatItUnpacksToNotByItsPackedSize)
{
    const std::string atBound = HexText(32 * kMiB);
    const std::string beyond = atBound + "0";
    const std::string path =
        Make({{"at.bin", atBound}, {"beyond.bin", beyond}, {"beyondStored.bin", beyond, true}});
    // The packed sizes are what the bound must not be compared with.
    {
        int error = 0;
        zip_t* zip = zip_open(path.c_str(), ZIP_RDONLY, &error);
        zip_stat_t st;
        zip_stat(zip, "beyond.bin", 0, &st);
        EXPECT_LT(st.comp_size, 32 * kMiB);
        EXPECT_GT(st.comp_size * 100, st.size);
        zip_discard(zip);
    }
    const detail::Package package(path);
    EXPECT_EQ(package.Read("at.bin").value_or("").size(), atBound.size());
    for (const char* name : {"beyond.bin", "beyondStored.bin"}) {
        const std::string said = Refusal([&] { package.Read(name); });
        EXPECT_NE(said.find(std::string("part \"") + name +
                            "\" unpacks to 33 MB; a part may take "
                            "at most 32 MB"),
                  std::string::npos)
            << said;
    }
}

TEST_F(PackageTest, AllPartsReadTogetherAreBoundedOnceEach)
{
    // Four parts of 32 MiB are 128 MiB together; a byte more is refused, and a part read
    // twice counts once.
    std::vector<Part> parts;
    for (int i = 0; i < 4; ++i) {
        parts.push_back({"part" + std::to_string(i), std::string(32 * kMiB, 'x'), true});
    }
    parts.push_back({"one", "y", true});
    const detail::Package package(Make(parts));
    for (int i = 0; i < 4; ++i) {
        EXPECT_TRUE(package.Read("part" + std::to_string(i)));
    }
    EXPECT_TRUE(package.Read("part0"));
    const std::string said = Refusal([&] { package.Read("one"); });
    // The size told is the one refused: all parts with this one, not the one's own byte.
    EXPECT_NE(said.find("its part \"one\" would bring all parts read together to 129 MB, and "
                        "they may take at most 128 MB"),
              std::string::npos)
        << said;
}

// A workbook whose own relationships hold `workbookRels` (after the sheet's), with a
// calculation chain part typed as one, and `more` parts.
std::vector<Part> Workbook(const std::string& workbookRels, std::vector<Part> more = {})
{
    std::vector<Part> parts = {
        {"[Content_Types].xml",
         "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
         "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
         "<Default Extension=\"rels\" ContentType=\"application/vnd.openxmlformats-package."
         "relationships+xml\"/><Override PartName=\"/xl/calcChain.xml\" ContentType=\"" +
             std::string(kCalcChainType) + "\"/><Override PartName=\"/\" ContentType=\"" +
             kCalcChainType + "\"/></Types>"},
        {"_rels/.rels", std::string(kRelsStart) + "<Relationship Id=\"rId1\" Type=\"" + kTypeBase +
                            "officeDocument\" Target=\"xl/workbook.xml\"/></Relationships>"},
        {"xl/workbook.xml", "<workbook/>"},
        {"xl/_rels/workbook.xml.rels",
         std::string(kRelsStart) + "<Relationship Id=\"rId1\" Type=\"" + kTypeBase +
             "worksheet\" Target=\"worksheets/sheet1.xml\"/>" + workbookRels + "</Relationships>"},
        {"xl/worksheets/sheet1.xml", "<worksheet/>"},
        {"xl/calcChain.xml", "<calcChain/>"},
    };
    for (Part& part : more) {
        parts.push_back(std::move(part));
    }
    return parts;
}

std::string CalcChainTo(const std::string& target, const std::string& id = "rId9")
{
    return "<Relationship Id=\"" + id + "\" Type=\"" + std::string(kTypeBase) +
           "calcChain\" Target=\"" + target + "\"/>";
}

bool Holds(const detail::Package& package, const std::string& name)
{
    const auto names = package.PartNames();
    return std::find(names.begin(), names.end(), name) != names.end();
}

TEST_F(PackageTest, ARemovedRelationshipTakesItsPartOnlyWhenNoOtherNamesIt)
{
    // Alone, the chain goes with its relationship.
    {
        detail::Package package(Make(Workbook(CalcChainTo("calcChain.xml"))));
        detail::RemoveRelatedPart(package, "xl/workbook.xml", detail::kCalcChain);
        EXPECT_FALSE(Holds(package, "xl/calcChain.xml"));
        EXPECT_NO_THROW(detail::RefuseMissingTargets(package, "t.xltx"));
    }
    // Named by a relationship of another kind, of the workbook or of a sheet, it stays.
    const std::string sheetRels = std::string(kRelsStart) + "<Relationship Id=\"rId1\" Type=\"" +
                                  kTypeBase + "other\" Target=\"../calcChain.xml\"/>" +
                                  "</Relationships>";
    const std::vector<std::vector<Part>> cases = {
        Workbook(CalcChainTo("calcChain.xml") + "<Relationship Id=\"rId8\" Type=\"" + kTypeBase +
                 "other\" Target=\"/xl/calcChain.xml\"/>"),
        Workbook(CalcChainTo("calcChain.xml"),
                 {{"xl/worksheets/_rels/sheet1.xml.rels", sheetRels}}),
    };
    for (std::size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(i);
        detail::Package package(Make(cases[i]));
        detail::RemoveRelatedPart(package, "xl/workbook.xml", detail::kCalcChain);
        EXPECT_TRUE(Holds(package, "xl/calcChain.xml"));
        EXPECT_NO_THROW(detail::RefuseMissingTargets(package, "t.xltx"));
    }
}

TEST_F(PackageTest, ARelationshipToThePackagesRootNeverTakesItsRelationships)
{
    // "/" resolves to the empty name, whose relationships would be those of the package. The
    // part of that name (which a zip entry may have) is typed as a calculation chain.
    for (const char* target : {"/", "../", "worksheets/"}) {
        SCOPED_TRACE(target);
        detail::Package package(Make(Workbook(CalcChainTo(target))));
        package.Write("", "<calcChain/>");
        package.Write("xl/worksheets/", "<calcChain/>");
        detail::RemoveRelatedPart(package, "xl/workbook.xml", detail::kCalcChain);
        EXPECT_TRUE(Holds(package, "_rels/.rels"));
        EXPECT_TRUE(Holds(package, ""));
        EXPECT_TRUE(Holds(package, "xl/worksheets/"));
        EXPECT_NO_THROW(detail::RefuseMissingTargets(package, "t.xltx"));
    }
}

TEST_F(PackageTest, APackageWithoutItsOwnRelationshipsOrTypesIsNotWhole)
{
    for (const char* missing : {"_rels/.rels", "[Content_Types].xml"}) {
        SCOPED_TRACE(missing);
        detail::Package package(Make(Workbook("")));
        EXPECT_EQ(Refusal([&] { detail::RefuseMissingTargets(package, "t.xltx"); }), "");
        package.Remove(missing);
        EXPECT_NE(Refusal([&] {
                      detail::RefuseMissingTargets(package, "t.xltx");
                  }).find(std::string("is not a whole workbook: it lacks its part \"") + missing),
                  std::string::npos);
    }
}

TEST_F(PackageTest, TargetsWithAPercentEscapeOrAFragmentAreRefused)
{
    for (const char* target : {"worksheets/sheet%31.xml", "worksheets/sheet1.xml#x",
                               "worksheets/sheet1.xml%23", "%2Fxl/styles.xml"}) {
        SCOPED_TRACE(target);
        const detail::Package package(
            Make(Workbook("<Relationship Id=\"rId5\" Type=\"" + std::string(kTypeBase) +
                          "other\" Target=\"" + target + "\"/>")));
        const std::string said = Refusal([&] { detail::RefuseMissingTargets(package, "t.xltx"); });
        EXPECT_NE(said.find(std::string("names \"") + target + "\", which is no part name"),
                  std::string::npos)
            << said;
    }
    // Outside addresses are no parts and may hold both.
    const detail::Package package(Make(
        Workbook("<Relationship Id=\"rId5\" Type=\"" + std::string(kTypeBase) +
                 "hyperlink\" Target=\"https://example.org/a%20b#c\" TargetMode=\"External\"/>")));
    EXPECT_EQ(Refusal([&] { detail::RefuseMissingTargets(package, "t.xltx"); }), "");
}

} // namespace

namespace {

// An XML part of `nodes` elements, named at random so that it packs as real data packs.
std::string ElementsXml(std::uint64_t nodes)
{
    const std::string names = HexText(4 * nodes);
    std::string text = "<r>";
    for (std::uint64_t i = 1; i < nodes; ++i) {
        text += "<e" + names.substr(4 * i, 4) + "/>";
    }
    return text + "</r>";
}

TEST_F(PackageTest, WhatIsWrittenStaysWithinTheBoundsOfReadingIt)
{
    const std::string path = Make({{"big0", std::string(32 * kMiB, 'x'), true},
                                   {"big1", std::string(32 * kMiB, 'x'), true},
                                   {"big2", std::string(32 * kMiB, 'x'), true}});
    const std::string before = exceltest::ReadBytes(path);
    const auto refusal = [&](const std::vector<std::pair<std::string, std::string>>& writes,
                             bool readFirst) {
        detail::Package package(path);
        if (readFirst) {
            for (const char* name : {"big0", "big1", "big2"}) {
                package.Read(name);
            }
        }
        for (const auto& [name, data] : writes) {
            package.Write(name, data);
        }
        return Refusal([&] { package.Commit(); });
    };
    const std::string part = HexText(32 * kMiB);
    // A part beyond the bound, and all parts read together beyond theirs.
    EXPECT_NE(
        refusal({{"new.bin", part + "y"}}, false).find("its part \"new.bin\" would take 33 MB"),
        std::string::npos);
    // A part that packs as a bomb does is refused once it is written.
    EXPECT_NE(refusal({{"new.bin", std::string(5 * kMiB, ' ')}}, false)
                  .find("its part \"new.bin\" would unpack from "),
              std::string::npos);
    std::ofstream(path, std::ios::binary | std::ios::trunc) << before;
    EXPECT_NE(refusal({{"new.bin", part}, {"one.bin", "z"}}, true)
                  .find("the parts read would take 129 MB together"),
              std::string::npos);
    // A part of more elements than a reading takes.
    EXPECT_NE(refusal({{"sheet.xml", ElementsXml(detail::kMaxPartNodes + 1)}}, false)
                  .find("\"sheet.xml\" would hold 2000001 XML elements"),
              std::string::npos);
    EXPECT_EQ(exceltest::ReadBytes(path), before);
    // Each at its bound is written, and reads again.
    EXPECT_EQ(refusal({{"new.bin", part}}, true), "");
    EXPECT_EQ(refusal({{"sheet.xml", ElementsXml(detail::kMaxPartNodes)}}, false), "");
    const detail::Package again(path);
    EXPECT_EQ(again.Read("new.bin").value_or("").size(), part.size());
}

} // namespace

namespace {

// A template of `sheets` sheets, each in the part `partOf` gives it, and `typesMore` more
// entries of its content-type list.
std::vector<Part> SheetsTemplate(std::size_t sheets,
                                 const std::function<std::string(std::size_t)>& partOf,
                                 std::size_t typesMore = 0)
{
    std::string list;
    std::string rels = kRelsStart;
    std::vector<Part> parts;
    std::set<std::string> made;
    for (std::size_t i = 0; i < sheets; ++i) {
        const std::string id = "s" + std::to_string(i);
        list += "<sheet name=\"S" + std::to_string(i) + "\" sheetId=\"" + std::to_string(i + 1) +
                "\" r:id=\"" + id + "\"/>";
        // Listed in reverse, so that a lookup by searching goes through all of them.
        rels.insert(std::string(kRelsStart).size(), "<Relationship Id=\"" + id + "\" Type=\"" +
                                                        kTypeBase + "worksheet\" Target=\"" +
                                                        partOf(i) + "\"/>");
        if (made.insert(detail::FoldedName(partOf(i))).second) {
            parts.push_back({"xl/" + partOf(i), "<worksheet xmlns=\"http://schemas.openxmlformats."
                                                "org/spreadsheetml/2006/main\"><sheetData/>"
                                                "</worksheet>"});
        }
    }
    std::string types = "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/"
                        "content-types\"><Override PartName=\"/xl/workbook.xml\" "
                        "ContentType=\"application/vnd.openxmlformats-officedocument."
                        "spreadsheetml.sheet.main+xml\"/>";
    for (std::size_t i = 0; i < typesMore; ++i) {
        types += "<Override PartName=\"/o" + std::to_string(i) + "\" ContentType=\"t\"/>";
    }
    parts.push_back({"[Content_Types].xml", types + "</Types>"});
    parts.push_back({"_rels/.rels", std::string(kRelsStart) + "<Relationship Id=\"rId1\" Type=\"" +
                                        kTypeBase +
                                        "officeDocument\" Target=\"xl/workbook.xml\"/>"
                                        "</Relationships>"});
    parts.push_back(
        {"xl/workbook.xml", "<workbook xmlns:r=\"" +
                                std::string(kTypeBase).substr(0, std::strlen(kTypeBase) - 1) +
                                "\"><sheets>" + list + "</sheets></workbook>"});
    parts.push_back({"xl/_rels/workbook.xml.rels", rels + "</Relationships>"});
    parts.push_back({"xl/styles.xml", "<styleSheet/>"});
    return parts;
}

TEST_F(PackageTest, SheetsRelationshipsAndContentTypesAreBoundedInCount)
{
    const auto own = [](std::size_t i) {
        return "worksheets/sheet" + std::to_string(i + 1) + ".xml";
    };
    const auto readable = [&](const std::vector<Part>& parts) {
        return Refusal([&] { detail::ReadTemplate(Make(parts)); });
    };
    EXPECT_EQ(readable(SheetsTemplate(detail::kMaxSheets, own)), "");
    EXPECT_NE(readable(SheetsTemplate(detail::kMaxSheets + 1, own))
                  .find("the template holds more than 10000 worksheets"),
              std::string::npos);
    // Each sheet of its own has a relationship: the sheets reach the bound of those first.
    EXPECT_EQ(readable(SheetsTemplate(1, own, detail::kMaxContentTypes - 1)), "");
    EXPECT_NE(readable(SheetsTemplate(1, own, detail::kMaxContentTypes))
                  .find("content-type list holds more than 100000 entries"),
              std::string::npos);

    // Relationships: of the package, the workbook and a sheet together.
    std::vector<Part> parts = SheetsTemplate(1, own);
    const auto withSheetRels = [&](std::size_t count) {
        std::string rels = kRelsStart;
        for (std::size_t i = 0; i < count; ++i) {
            rels += "<Relationship Id=\"h" + std::to_string(i) + "\" Type=\"" + kTypeBase +
                    "hyperlink\" Target=\"https://example.org/\" TargetMode=\"External\"/>";
        }
        std::vector<Part> with = parts;
        with.push_back({"xl/worksheets/_rels/sheet1.xml.rels", rels + "</Relationships>"});
        return with;
    };
    EXPECT_EQ(readable(withSheetRels(detail::kMaxRelationships - 2)), "");
    EXPECT_NE(readable(withSheetRels(detail::kMaxRelationships - 1))
                  .find("holds more relationships than a workbook may hold: at most 100000"),
              std::string::npos);
}

TEST_F(PackageTest, TwoSheetsInOnePartAreRefused)
{
    const auto twoInOne = [](std::size_t i) {
        return i == 2 ? std::string("worksheets/Sheet1.xml")
                      : "worksheets/sheet" + std::to_string(i + 1) + ".xml";
    };
    const std::string said =
        Refusal([&] { detail::ReadTemplate(Make(SheetsTemplate(3, twoInOne))); });
    EXPECT_NE(said.find("the template's sheets \"S0\" and \"S2\" are held in one part"),
              std::string::npos)
        << said;
}

TEST_F(PackageTest, ARemovedPartIsFoundInOtherLetterCase)
{
    // The relationship and the content type spell the chain's name otherwise than the entry.
    std::vector<Part> parts = Workbook(CalcChainTo("CALCCHAIN.xml"));
    detail::Package package(Make(parts));
    detail::RemoveRelatedPart(package, "xl/workbook.xml", detail::kCalcChain);
    EXPECT_FALSE(Holds(package, "xl/calcChain.xml"));
    EXPECT_EQ(package.Read("[Content_Types].xml").value_or("").find("/xl/calcChain.xml"),
              std::string::npos);
}

} // namespace

namespace {

TEST_F(PackageTest, ADefaultGoesWithTheLastPartThatTookIt)
{
    const std::string vba = "application/vnd.ms-office.vbaproject";
    const auto types = [&](bool overridden) {
        return "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
               "<Default Extension=\"bin\" ContentType=\"" +
               vba + "\"/>" +
               (overridden ? "<Override PartName=\"/xl/other.bin\" ContentType=\"x/y\"/>" : "") +
               "</Types>";
    };
    // A part of the extension that has an override of its own does not take the default;
    // one without does.
    for (const bool overridden : {true, false}) {
        SCOPED_TRACE(overridden ? "overridden" : "by default");
        std::vector<Part> parts =
            Workbook("<Relationship Id=\"v\" Type=\"http://schemas."
                     "microsoft.com/office/2006/relationships/vbaProject\" "
                     "Target=\"vbaProject.bin\"/>",
                     {{"xl/vbaProject.bin", "macros"}, {"xl/other.bin", "x"}});
        parts[0].data = types(overridden);
        detail::Package package(Make(parts));
        detail::RemoveRelatedPart(package, "xl/workbook.xml", detail::kVbaProject);
        EXPECT_FALSE(Holds(package, "xl/vbaProject.bin"));
        EXPECT_EQ(package.Read("[Content_Types].xml").value_or("").find("Extension=\"bin\"") ==
                      std::string::npos,
                  overridden);
    }
}

} // namespace
