#include "platform/locale/Locale.h"
#include "platform/xml/Document.h"
#include "platform/xml/NodeList.h"

#include "XmlTestSupport.h"
#include "tests/platform/PipeOpener.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>

namespace xml = platform::xml;

namespace {

// UTF-8 text to UTF-16 bytes (BMP and supplementary characters).
std::string ToUtf16(const std::string& utf8, bool bigEndian, bool bom)
{
    std::u16string units;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        char32_t cp = 0;
        int n = 1;
        if (c < 0x80) {
            cp = c;
        } else if ((c & 0xE0) == 0xC0) {
            cp = c & 0x1F, n = 2;
        } else if ((c & 0xF0) == 0xE0) {
            cp = c & 0x0F, n = 3;
        } else {
            cp = c & 0x07, n = 4;
        }
        for (int k = 1; k < n; ++k) {
            cp = (cp << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
        }
        i += n;
        if (cp >= 0x10000) {
            units += static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10));
            units += static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF));
        } else {
            units += static_cast<char16_t>(cp);
        }
    }
    std::string bytes;
    if (bom) {
        units.insert(units.begin(), u'\xFEFF');
    }
    for (char16_t u : units) {
        const char hi = static_cast<char>(u >> 8);
        const char lo = static_cast<char>(u & 0xFF);
        bytes += bigEndian ? hi : lo;
        bytes += bigEndian ? lo : hi;
    }
    return bytes;
}

class DocumentParseTest : public xmltest::TempFolderTest
{
};

TEST_F(DocumentParseTest, Utf16FilesAreReadWhateverTheDeclarationNames)
{
    struct Case
    {
        const char* encoding;
        bool bigEndian;
        bool bom;
    };
    const Case cases[] = {
        {"UNICODE", false, true}, {"UNICODE", true, true},   {"UTF-16", false, true},
        {"UTF-16", true, true},   {"UNICODE", false, false}, {"UTF-16", true, false},
    };
    const std::string name = "Größe – Übersicht \xF0\x9F\x93\x85";
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.encoding) + (c.bigEndian ? " BE" : " LE") +
                     (c.bom ? " BOM" : ""));
        const std::string text = std::string("<?xml version=\"1.0\" encoding=\"") + c.encoding +
                                 "\"?>\r\n<Reports version=\"62\"><Report><Name>" + name +
                                 "</Name></Report></Reports>\r\n";
        const std::string path = PathOf("reports.xml");
        WriteBytes(path, ToUtf16(text, c.bigEndian, c.bom));
        xml::Document doc;
        ASSERT_TRUE(doc.Load(path)) << doc.LastParseError().Reason;
        EXPECT_EQ(doc.DocumentElement().GetAttribute("version"), "62");
        EXPECT_EQ(doc.GetElementsByTagName("Name").Item(0).Text(), name);

        xml::Document fromText;
        ASSERT_TRUE(fromText.LoadXml(ToUtf16(text, c.bigEndian, c.bom)));
        EXPECT_EQ(fromText.Xml(), doc.Xml());
    }
}

TEST_F(DocumentParseTest, Utf8TextWithUnicodeDeclarationAndByteOrderMarkLoads)
{
    xml::Document doc;
    ASSERT_TRUE(doc.LoadXml("\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"UNICODE\"?><R>ä</R>"));
    EXPECT_EQ(doc.DocumentElement().Text(), "ä");
}

TEST_F(DocumentParseTest, FailuresReportReasonAndLine)
{
    // The reason is in the current locale's language: it reaches the person inside the
    // messages of the layers above. Each row gives a part of it in English and in German.
    struct Case
    {
        std::string text;
        long code;
        long line;
        const char* english;
        const char* german;
    };
    const Case cases[] = {
        {"<?xml version=\"1.0\"?>\n<!DOCTYPE Reports [<!ENTITY x \"boom\">]>\n<Reports>&x;"
         "</Reports>",
         xml::ParseError::DtdProhibited, 2, "a DOCTYPE declaration is not allowed",
         "eine DOCTYPE-Deklaration ist nicht erlaubt"},
        {"<!DOCTYPE Reports SYSTEM \"http://example.invalid/r.dtd\"><Reports/>",
         xml::ParseError::DtdProhibited, 1, "DTDs are not processed",
         "DTDs werden nicht verarbeitet"},
        {"<Reports>\n<Name>\n&nbsp;</Name></Reports>", xml::ParseError::UndefinedEntity, 3,
         "undefined entity '&nbsp;'", "nicht definierte Entität „&nbsp;“"},
        {"<Reports>\n\n<Name a=\"&ext;\"/></Reports>", xml::ParseError::UndefinedEntity, 3,
         "'&ext;'", "„&ext;“"},
        {"<Reports>\n<Name>Fish & Chips</Name></Reports>", xml::ParseError::UndefinedEntity, 2,
         "'&' must begin", "„&“ muss einen Entitäts- oder Zeichenverweis beginnen"},
        {"<Reports>&#0;</Reports>", xml::ParseError::UndefinedEntity, 1,
         "invalid character reference '&#0;'", "ungültiger Zeichenverweis „&#0;“"},
        {"<Reports>\n<Report>\n<Name>x</Nome>\n</Report></Reports>", xml::ParseError::Malformed, 3,
         "an end tag that does not match", "ein End-Tag, das nicht zum offenen Element passt"},
        {"<Reports>\n<Report>", xml::ParseError::Malformed, 2, "not closed", "nicht geschlossen"},
        {"<Reports>\n<Name a=x/></Reports>", xml::ParseError::Malformed, 2, "a malformed attribute",
         "ein fehlerhaftes Attribut"},
        {"<Reports>\n<!-- x -></Reports>", xml::ParseError::Malformed, 2, "a malformed comment",
         "ein fehlerhafter Kommentar"},
        {"<Reports><1/></Reports>", xml::ParseError::Malformed, 1, "a tag that is not recognised",
         "ein Tag, das nicht erkannt wird"},
        {"", xml::ParseError::NoDocumentElement, 0, "the text holds no XML element",
         "der Text enthält kein XML-Element"},
        {"just text", xml::ParseError::NoDocumentElement, 0, "no XML element", "kein XML-Element"},
        {"<R>\n\xC3\x28</R>", xml::ParseError::BadEncoding, 2, "the text is not valid UTF-8",
         "der Text ist kein gültiges UTF-8"},
        {std::string("\xFF\xFE<\0R\0/\0>\0\x00\xD8", 12), xml::ParseError::BadEncoding, 0,
         "unpaired surrogate", "Ersatzzeichen ohne sein Gegenstück"},
    };
    const std::string before = platform::locale::Current().name;
    for (const auto& [name, german] : {std::pair{"en-US", false}, std::pair{"de-DE", true}}) {
        platform::locale::SetCurrent(name);
        for (const Case& c : cases) {
            SCOPED_TRACE(name + (": " + c.text));
            xml::Document doc;
            EXPECT_FALSE(doc.LoadXml(c.text));
            const xml::ParseError& error = doc.LastParseError();
            EXPECT_EQ(error.ErrorCode, c.code);
            EXPECT_EQ(error.Line, c.line);
            EXPECT_NE(error.Reason.find(german ? c.german : c.english), std::string::npos)
                << error.Reason;
            EXPECT_TRUE(doc.DocumentElement().IsNull());
            EXPECT_EQ(doc.ChildNodes().Length(), 0);
        }
    }
    platform::locale::SetCurrent(before);
}

TEST_F(DocumentParseTest, NestingDeeperThanTheLimitIsRefusedWithoutExhaustingTheStack)
{
    const auto Nested = [](int depth) {
        std::string text = "<Reports>\n";
        for (int i = 1; i < depth; ++i)
            text += "<R>";
        text += "x";
        for (int i = 1; i < depth; ++i)
            text += "</R>";
        return text + "</Reports>";
    };
    xml::Document doc;
    ASSERT_TRUE(doc.LoadXml(Nested(xml::Document::kMaxDepth))) << doc.LastParseError().Reason;
    EXPECT_EQ(doc.DocumentElement().Text(), "x");
    for (const int depth : {xml::Document::kMaxDepth + 1, 200000}) {
        SCOPED_TRACE(depth);
        EXPECT_FALSE(doc.LoadXml(Nested(depth)));
        const xml::ParseError& error = doc.LastParseError();
        EXPECT_EQ(error.ErrorCode, xml::ParseError::TooDeep);
        EXPECT_EQ(error.Line, 2);
        EXPECT_NE(error.Reason.find("nested"), std::string::npos) << error.Reason;
        EXPECT_TRUE(doc.DocumentElement().IsNull());
    }
}

TEST_F(DocumentParseTest, PredefinedEntitiesAndCharacterReferencesExpand)
{
    xml::Document doc;
    ASSERT_TRUE(doc.LoadXml("<r a=\"&quot;&#x41;&#10;\">&lt;&gt;&amp;&apos;&quot;&#228;&#xE4;"
                            "<![CDATA[&nbsp;<b>]]></r>"));
    EXPECT_EQ(doc.DocumentElement().Text(), "<>&'\"ää&nbsp;<b>");
    EXPECT_EQ(doc.DocumentElement().GetAttribute("a"), "\"A\n");
}

TEST_F(DocumentParseTest, WhitespaceBetweenElementsIsNoChildButLoneWhitespaceIsText)
{
    xml::Document doc;
    ASSERT_TRUE(doc.LoadXml("<r>\n  <a> </a>\n  <b>x</b>\n</r>"));
    const xml::NodeList children = doc.DocumentElement().ChildNodes();
    ASSERT_EQ(children.Length(), 2);
    EXPECT_EQ(children.Item(0).Text(), " ");
    EXPECT_EQ(children.Item(1).Text(), "x");
}

TEST_F(DocumentParseTest, FailedLoadEmptiesTheDocumentButKeptNodesStayReadable)
{
    xml::Document doc;
    ASSERT_TRUE(doc.LoadXml("<r><a>kept</a></r>"));
    const xml::Node kept = doc.DocumentElement().FirstChild();
    EXPECT_FALSE(doc.Load(PathOf("missing.xml")));
    EXPECT_EQ(doc.LastParseError().ErrorCode, xml::ParseError::FileUnreadable);
    EXPECT_EQ(doc.LastParseError().Url, PathOf("missing.xml"));
    EXPECT_TRUE(doc.DocumentElement().IsNull());
    EXPECT_EQ(kept.Text(), "kept");
    ASSERT_TRUE(doc.LoadXml("<s/>"));
    EXPECT_EQ(doc.LastParseError().ErrorCode, xml::ParseError::None);
    EXPECT_EQ(doc.Xml(), "<s/>");
}

// A folder where the file should be opens as a stream and fails at its first read: the load
// says the file cannot be read, and why, rather than throwing the stream's own error.
TEST_F(DocumentParseTest, AFolderInPlaceOfTheFileFailsTheLoadSayingWhy)
{
    std::filesystem::create_directory(PathOf("folder.xml"));
    xml::Document doc;
    ASSERT_TRUE(doc.LoadXml("<r/>"));
    EXPECT_FALSE(doc.Load(PathOf("folder.xml")));
    EXPECT_EQ(doc.LastParseError().ErrorCode, xml::ParseError::FileUnreadable);
    EXPECT_NE(doc.LastParseError().Reason.find("Is a directory"), std::string::npos)
        << doc.LastParseError().Reason;
    EXPECT_TRUE(doc.DocumentElement().IsNull());
}

// A pipe or a device where the file should be is not opened (a pipe would hold the load until
// something writes into it): the load says the file cannot be read, and why.
TEST_F(DocumentParseTest, APipeOrADeviceInPlaceOfTheFileFailsTheLoadUnopened)
{
    for (const bool bPipe : {true, false}) {
        SCOPED_TRACE(bPipe ? "a pipe" : "a link to a device");
        const std::string path = PathOf(bPipe ? "pipe.xml" : "device.xml");
        if (bPipe)
            ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
        else
            std::filesystem::create_symlink("/dev/null", path);
        xml::Document doc;
        {
            const platformtest::PipeOpener opener(path);
            EXPECT_FALSE(doc.Load(path));
        }
        EXPECT_EQ(doc.LastParseError().ErrorCode, xml::ParseError::FileUnreadable);
        EXPECT_NE(doc.LastParseError().Reason.find("not a file"), std::string::npos)
            << doc.LastParseError().Reason;
    }
}

} // namespace
