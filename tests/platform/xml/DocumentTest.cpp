#include "platform/xml/Document.h"
#include "platform/runtime/Error.h"
#include "platform/runtime/ReplacingFile.h"
#include "platform/xml/NodeList.h"

#include "XmlTestSupport.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <filesystem>
#include <functional>

namespace xml = platform::xml;

namespace {

// Builds <?xml version="1.0"?><Reports version="94"><Report><Name>..</Name>...</Report>...
xml::Document BuildReports(const std::vector<std::string>& names)
{
    xml::Document doc;
    doc.AppendChild(doc.CreateProcessingInstruction("xml", "version=\"1.0\""));
    xml::Node root = doc.AppendChild(doc.CreateElement("Reports"));
    root.SetAttribute("version", "94");
    for (const auto& name : names) {
        xml::Node report = root.AppendChild(doc.CreateElement("Report"));
        report.AppendChild(doc.CreateElement("Name")).SetText(name);
        report.AppendChild(doc.CreateElement("CountItems")).SetText("True");
    }
    return doc;
}

std::vector<std::string> NamesOf(const xml::NodeList& list)
{
    std::vector<std::string> names;
    for (const xml::Node& node : list) {
        names.push_back(node.NodeName());
    }
    return names;
}

class DocumentTest : public xmltest::TempFolderTest
{
};

TEST_F(DocumentTest, SerialisedTextStartsWithTheDeclarationAndParsesBack)
{
    const xml::Document doc = BuildReports({"(Standard)", "Tasks"});
    const std::string text = doc.Xml();
    // Writers splice an encoding into the declaration right after its 19th character.
    EXPECT_EQ(text.substr(0, 21), "<?xml version=\"1.0\"?>");
    EXPECT_EQ(text.substr(21), "<Reports version=\"94\"><Report><Name>(Standard)</Name>"
                               "<CountItems>True</CountItems></Report><Report><Name>Tasks</Name>"
                               "<CountItems>True</CountItems></Report></Reports>");

    xml::Document parsed;
    ASSERT_TRUE(parsed.LoadXml(text)) << parsed.LastParseError().Reason;
    EXPECT_EQ(parsed.Xml(), text);
    EXPECT_EQ(parsed.DocumentElement().GetAttribute("version"), "94");
    EXPECT_EQ(NamesOf(parsed.ChildNodes()), (std::vector<std::string>{"xml", "Reports"}));
    EXPECT_EQ(parsed.ChildNodes().Item(0).Type(), xml::NodeType::ProcessingInstruction);
}

TEST_F(DocumentTest, ChildListsFollowDocumentOrderAndAnswerNullOutsideTheList)
{
    xml::Document doc;
    ASSERT_TRUE(doc.LoadXml("<r><a><b/><c>1</c></a><!--note--><b><a/></b><?pi data?>x</r>"));
    const xml::NodeList children = doc.DocumentElement().ChildNodes();
    EXPECT_EQ(children.Length(), 5);
    EXPECT_EQ(NamesOf(children), (std::vector<std::string>{"a", "#comment", "b", "pi", "#text"}));
    EXPECT_TRUE(children.Item(5).IsNull());
    EXPECT_TRUE(children.Item(-1).IsNull());
    EXPECT_EQ(children.Item(0).ChildNodes().Item(1).Text(), "1");
    EXPECT_TRUE(children.Item(7).ChildNodes().Item(0).IsNull());
    EXPECT_EQ(children.Item(7).Text(), "");

    const xml::NodeList all = doc.GetElementsByTagName("*");
    EXPECT_EQ(NamesOf(all), (std::vector<std::string>{"r", "a", "b", "c", "b", "a"}));
    const xml::NodeList bs = doc.GetElementsByTagName("b");
    ASSERT_EQ(bs.Length(), 2);
    EXPECT_EQ(bs.Item(0).ParentNode().NodeName(), "a");
    EXPECT_EQ(bs.Item(1).ParentNode().NodeName(), "r");
    EXPECT_EQ(doc.DocumentElement().Text(), "1x");
}

TEST_F(DocumentTest, ElementFromAnotherDocumentIsCopiedAndTheOriginalStays)
{
    xml::Node kept;
    {
        xml::Document old = BuildReports({"Journal"});
        kept = old.DocumentElement().FirstChild();
    } // the kept element keeps its document alive
    ASSERT_EQ(kept.FirstChild().Text(), "Journal");

    xml::Document fresh = BuildReports({});
    xml::Node copy = fresh.DocumentElement().AppendChild(kept);
    EXPECT_FALSE(copy == kept);
    EXPECT_EQ(copy.Xml(), kept.Xml());
    copy.FirstChild().SetText("Changed");
    EXPECT_EQ(kept.FirstChild().Text(), "Journal");
    EXPECT_EQ(kept.ParentNode().NodeName(), "Reports");
    EXPECT_EQ(fresh.DocumentElement().ChildNodes().Length(), 1);
    EXPECT_EQ(copy.OwnerDocument().DocumentElement(), fresh.DocumentElement());
}

TEST_F(DocumentTest, AppendWithinTheDocumentMovesAndRemoveDetaches)
{
    xml::Document doc;
    ASSERT_TRUE(doc.LoadXml("<r><a/><b/><c/></r>"));
    xml::Node root = doc.DocumentElement();
    xml::Node a = root.FirstChild();
    root.AppendChild(a);
    EXPECT_EQ(NamesOf(root.ChildNodes()), (std::vector<std::string>{"b", "c", "a"}));
    xml::Node removed = root.RemoveChild(root.FirstChild());
    EXPECT_EQ(removed.NodeName(), "b");
    EXPECT_TRUE(removed.ParentNode().IsNull());
    EXPECT_EQ(root.Xml(), "<r><c/><a/></r>");
    a.AppendChild(removed);
    EXPECT_EQ(root.Xml(), "<r><c/><a><b/></a></r>");
}

TEST_F(DocumentTest, InvalidTreeChangesAreRefusedWithTheirErrorNumbers)
{
    xml::Document doc;
    xml::Node root = doc.AppendChild(doc.CreateElement("r"));
    xml::Node child = root.AppendChild(doc.CreateElement("c"));
    const std::vector<std::pair<int, std::function<void()>>> cases = {
        {5, [&] { child.AppendChild(root); }},
        {5, [&] { root.AppendChild(root); }},
        {5, [&] { doc.AppendChild(doc.CreateElement("second")); }},
        {5, [&] { root.RemoveChild(doc.CreateElement("stranger")); }},
        {5, [&] { root.AppendChild(doc); }},
        {5, [&] { doc.CreateElement(""); }},
        {91, [&] { xml::Node().AppendChild(root); }},
        {91, [&] { root.AppendChild(xml::Node()); }},
        {91, [&] { xml::Node().SetText("x"); }},
    };
    for (std::size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(i);
        try {
            cases[i].second();
            ADD_FAILURE() << "no error raised";
        } catch (const platform::runtime::Error& error) {
            EXPECT_EQ(error.Number(), cases[i].first);
            EXPECT_EQ(error.Source(), "XML DOM");
        }
    }
    EXPECT_EQ(doc.Xml(), "<r><c/></r>");
}

TEST_F(DocumentTest, TextsAndAttributesSurviveSerialisation)
{
    const std::vector<std::string> values = {
        "",
        "plain",
        "<tag> & \"quotes\" 'apostrophes'",
        "  leading and trailing  ",
        " ",
        "Grüße aus Köln – Straße €",
        "line1\nline2",
        "carriage\r\nreturn",
        "tab\there",
        "delete\x7Fsign",
        "next line \xC2\x85 and CSI \xC2\x9B",
        "replacement \xEF\xBF\xBD and last \xEF\xBF\xBD\xF4\x8F\xBF\xBD",
        "emoji \xF0\x9F\x98\x80",
        "]]> looks like the end of a CDATA section",
        "&amp; is already escaped text",
    };
    for (const std::string& value : values) {
        SCOPED_TRACE(value);
        xml::Document doc;
        xml::Node root = doc.AppendChild(doc.CreateElement("Field"));
        root.AppendChild(doc.CreateElement("Caption")).SetText(value);
        root.SetAttribute("value", value);
        xml::Document parsed;
        ASSERT_TRUE(parsed.LoadXml(doc.Xml())) << parsed.LastParseError().Reason;
        EXPECT_EQ(parsed.DocumentElement().FirstChild().Text(), value);
        EXPECT_EQ(parsed.DocumentElement().GetAttribute("value"), value);
    }
}

TEST_F(DocumentTest, TextXmlCannotHoldIsRefusedWholeAndNothingChanges)
{
    struct Case
    {
        const char* name;
        std::string text;
        const char* shown;
    };
    const std::vector<Case> cases = {
        {"NUL", std::string("Nul\0Name", 8), "U+0000"},
        {"start of heading", "a\x01z", "U+0001"},
        {"bell", "bell\x07sign", "U+0007"},
        {"vertical tab", "a\x0Bz", "U+000B"},
        {"form feed", "a\x0Cz", "U+000C"},
        {"escape", "\x1B[31mRED", "U+001B"},
        {"unit separator", "a\x1Fz", "U+001F"},
        {"U+FFFE", "a\xEF\xBF\xBEz", "U+FFFE"},
        {"U+FFFF", "a\xEF\xBF\xBFz", "U+FFFF"},
        {"a lone continuation byte", "a\x80z", "\\x80"},
        {"Latin-1", "M\xFCller", "\\xFC"},
        {"overlong slash", "a\xC0\xAFz", "\\xC0"},
        {"overlong three bytes", "a\xE0\x80\xAFz", "\\xE0"},
        {"a lone surrogate", "a\xED\xA0\x80z", "\\xED"},
        {"cut short", "a\xE2\x82", "\\xE2"},
        {"beyond U+10FFFF", "a\xF4\x90\x80\x80z", "\\xF4"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto found = xml::FirstUnholdable(c.text);
        ASSERT_TRUE(found);
        EXPECT_EQ(found->shown, c.shown);
        xml::Document doc;
        xml::Node root = doc.AppendChild(doc.CreateElement("Report"));
        xml::Node name = root.AppendChild(doc.CreateElement("Name"));
        name.SetText("Old");
        root.SetAttribute("a", "old");
        const std::string before = doc.Xml();
        const std::vector<std::function<void()>> writes = {
            [&] { name.SetText(c.text); },
            [&] { root.SetAttribute("a", c.text); },
            [&] { root.SetAttribute(c.text, "v"); },
            [&] { doc.CreateElement("E" + c.text); },
            [&] { doc.CreateProcessingInstruction("pi", c.text); },
        };
        for (std::size_t i = 0; i < writes.size(); ++i) {
            SCOPED_TRACE(i);
            try {
                writes[i]();
                ADD_FAILURE() << "the text was taken";
            } catch (const platform::runtime::Error& error) {
                EXPECT_EQ(error.Number(), 5);
                EXPECT_NE(error.Description().find(c.shown), std::string::npos)
                    << error.Description();
            }
        }
        // Nothing was cut and stored: the document is as it was.
        EXPECT_EQ(doc.Xml(), before);
        EXPECT_EQ(name.Text(), "Old");
    }
    for (const std::string holdable :
         {"tab\tline\nreturn\r", "\x7F\xC2\x80\xC2\x9F", "\xEF\xBF\xBD\xF0\x9F\x98\x80"})
        EXPECT_FALSE(xml::FirstUnholdable(holdable)) << holdable;
}

TEST_F(DocumentTest, AttributesAreSetReplacedAndRemoved)
{
    xml::Document doc;
    xml::Node root = doc.AppendChild(doc.CreateElement("Reports"));
    EXPECT_EQ(root.GetAttribute("version"), std::nullopt);
    root.SetAttribute("version", "61");
    root.SetAttribute("version", "94");
    EXPECT_EQ(root.Xml(), "<Reports version=\"94\"/>");
    root.RemoveAttribute("version");
    EXPECT_EQ(root.GetAttribute("version"), std::nullopt);
    EXPECT_THROW(doc.SetAttribute("version", "1"), platform::runtime::Error);
}

TEST_F(DocumentTest, SaveWritesUtf8WithItsDeclarationAndReadsBack)
{
    xml::Document doc = BuildReports({"Müller & Söhne"});
    const std::string path = PathOf("reports.xml");
    doc.Save(path);
    const std::string bytes = ReadBytes(path);
    EXPECT_EQ(bytes.rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Reports", 0), 0u);
    EXPECT_NE(bytes.find("Müller &amp; Söhne"), std::string::npos);
    xml::Document loaded;
    ASSERT_TRUE(loaded.Load(path));
    EXPECT_EQ(loaded.DocumentElement().FirstChild().FirstChild().Text(), "Müller & Söhne");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder_),
                            std::filesystem::directory_iterator()),
              1);
}

TEST_F(DocumentTest, FailedSaveLeavesTheOldFileWholeAndNoTemporaryFile)
{
    const std::string path = PathOf("reports.xml");
    BuildReports({"One", "Two", "Three"}).Save(path);
    const std::string before = ReadBytes(path);

    platform::runtime::ReplacingFile::FailNextWriteForTesting();
    EXPECT_THROW(BuildReports({"One"}).Save(path), platform::runtime::Error);
    EXPECT_EQ(ReadBytes(path), before);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder_),
                            std::filesystem::directory_iterator()),
              1);

    try {
        BuildReports({"One"}).Save(PathOf("missing/reports.xml"));
        ADD_FAILURE() << "no error raised";
    } catch (const platform::runtime::Error& error) {
        EXPECT_EQ(error.Number(), 76);
    }
    EXPECT_FALSE(std::filesystem::exists(PathOf("missing")));
}

TEST_F(DocumentTest, TheReportsFileIsNeverSavedOverAPipeADeviceOrAFolder)
{
    namespace fs = std::filesystem;
    ASSERT_EQ(::mkfifo(PathOf("pipe.xml").c_str(), 0600), 0);
    fs::create_directory(PathOf("folder.xml"));
    fs::create_symlink("pipe.xml", PathOf("link.xml"));
    std::vector<std::string> names = {"pipe.xml", "folder.xml", "link.xml"};
    // A device of this test's own (the numbers of /dev/null), where the user may make one.
    if (::mknod(PathOf("device.xml").c_str(), S_IFCHR | 0600, makedev(1, 3)) == 0)
        names.push_back("device.xml");
    for (const auto& name : names) {
        const auto before = fs::symlink_status(PathOf(name)).type();
        try {
            BuildReports({"One"}).Save(PathOf(name));
            ADD_FAILURE() << name << " was written";
        } catch (const platform::runtime::Error& error) {
            const bool folder = name == "folder.xml";
            EXPECT_NE(error.Description().find(folder ? "it is a folder" : "it is no file"),
                      std::string::npos)
                << error.Description();
        }
        EXPECT_EQ(fs::symlink_status(PathOf(name)).type(), before) << name;
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()),
              static_cast<long>(names.size()))
        << "a temporary file stayed behind";
}

} // namespace
