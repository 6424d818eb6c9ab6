#include "platform/runtime/Strings.h"

#include "RuntimeFixture.h"

#include <gtest/gtest.h>

namespace rt = platform::runtime;

namespace {

class StringsTest : public RuntimeFixture
{
};

constexpr auto Text = rt::CompareMethod::Text;
constexpr auto Binary = rt::CompareMethod::Binary;

} // namespace

TEST_F(StringsTest, PositionsCountCharactersNotBytes)
{
    EXPECT_EQ(rt::Len("Grüße"), 5);
    EXPECT_EQ(rt::Left("Grüße", 3), "Grü");
    EXPECT_EQ(rt::Left("Grüße", 10), "Grüße");
    EXPECT_EQ(rt::Right("Grüße", 2), "ße");
    EXPECT_EQ(rt::Right("Grüße", 9), "Grüße");
    EXPECT_EQ(rt::Mid("Grüße", 3, 2), "üß");
    EXPECT_EQ(rt::Mid("Grüße", 4), "ße");
    EXPECT_EQ(rt::Mid("abc", 5), "");
    EXPECT_EQ(RaisedNumber([] { return rt::Mid("abc", 0); }), 5);
    EXPECT_EQ(RaisedNumber([] { return rt::Mid("abc", 1, -1); }), 5);
    EXPECT_EQ(RaisedNumber([] { return rt::Left("abc", -1); }), 5);
}

TEST_F(StringsTest, CaseMappingAndTrimming)
{
    EXPECT_EQ(rt::UCase("äöü straße"), "ÄÖÜ STRAßE");
    EXPECT_EQ(rt::LCase("ÄÖÜ Ab"), "äöü ab");
    EXPECT_EQ(rt::Trim("  a b  "), "a b");
    EXPECT_EQ(rt::LTrim("  a "), "a ");
    EXPECT_EQ(rt::RTrim(" a  "), " a");
    EXPECT_EQ(rt::Trim("\ta"), "\ta"); // only spaces are trimmed
    EXPECT_EQ(rt::Trim("   "), "");
    EXPECT_EQ(rt::FoldCase("ÄRGER"), rt::FoldCase("ärger"));
    EXPECT_TRUE(rt::TextEquals("Müller", "MÜLLER"));
    EXPECT_FALSE(rt::TextEquals("Muller", "Müller"));
    const struct
    {
        const char* a;
        const char* b;
        bool equal;
    } cases[] = {
        {"Short Date", "short date", true}, {"Short Date", "Short Dates", false},
        {"Long Time", "Long Tim", false},   {"a[1]", "A[1]", true},
        {"", "", true},                     {"k", "\u212A", true}, // KELVIN SIGN folds to k
        {"Straße", "STRASSE", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(rt::TextEquals(c.a, c.b), c.equal) << c.a << " " << c.b;
        // Keys of case-insensitive maps match exactly when the texts are equal.
        EXPECT_EQ(rt::FoldCase(c.a) == rt::FoldCase(c.b), c.equal) << c.a << " " << c.b;
    }
    EXPECT_EQ(rt::FoldCase("Short Date [1] {00020329}/Keywords"),
              "short date [1] {00020329}/keywords");
}

TEST_F(StringsTest, InStrAndInStrRev)
{
    EXPECT_EQ(rt::InStr("Größe", "ö"), 3);
    EXPECT_EQ(rt::InStr("GRÖSSE", "ö", Text), 3);
    EXPECT_EQ(rt::InStr("GRÖSSE", "ö", Binary), 0);
    EXPECT_EQ(rt::InStr(4, "abcabc", "b"), 5);
    EXPECT_EQ(rt::InStr("abc", ""), 1);
    EXPECT_EQ(rt::InStr(4, "abc", ""), 4);
    EXPECT_EQ(rt::InStr("", "a"), 0);
    EXPECT_EQ(rt::InStr(10, "abc", "a"), 0);
    EXPECT_EQ(RaisedNumber([] { return rt::InStr(0, "abc", "a"); }), 5);

    EXPECT_EQ(rt::InStrRev("a.b.c", "."), 4);
    EXPECT_EQ(rt::InStrRev("a.b.c", ".", 3), 2);
    EXPECT_EQ(rt::InStrRev("ÄbcÄ", "ä", -1, Text), 4);
    EXPECT_EQ(rt::InStrRev("abc", "x"), 0);
    EXPECT_EQ(rt::InStrRev("abc", "", 2), 2);
    EXPECT_EQ(rt::InStrRev("abc", "c", 2), 0);
    EXPECT_EQ(rt::InStrRev("abc", "a", 9), 0);
    EXPECT_EQ(RaisedNumber([] { return rt::InStrRev("abc", "a", 0); }), 5);
}

TEST_F(StringsTest, SplitJoinAndReplace)
{
    using V = std::vector<std::string>;
    EXPECT_EQ(rt::Split("a,b,,c", ","), (V{"a", "b", "", "c"}));
    EXPECT_EQ(rt::Split("", ","), V{});
    EXPECT_EQ(rt::Split("a,b,c", ",", 2), (V{"a", "b,c"}));
    EXPECT_EQ(rt::Split("aXbxc", "x", -1, Text), (V{"a", "b", "c"}));
    EXPECT_EQ(rt::Split("aXbxc", "x"), (V{"aXb", "c"}));
    EXPECT_EQ(rt::Split("abc", ""), V{"abc"});
    EXPECT_EQ(rt::Split("ä;ö", ";"), (V{"ä", "ö"}));
    EXPECT_EQ(rt::Join({"a", "b", "c"}, "; "), "a; b; c");
    EXPECT_EQ(rt::Join({}, ","), "");

    EXPECT_EQ(rt::Replace("Müller-Müller", "ü", "ue"), "Mueller-Mueller");
    EXPECT_EQ(rt::Replace("aAa", "a", "x", 1, -1, Text), "xxx");
    EXPECT_EQ(rt::Replace("aAa", "a", "x"), "xAx");
    EXPECT_EQ(rt::Replace("abcabc", "b", "", 3), "cac");
    EXPECT_EQ(rt::Replace("aaa", "a", "b", 1, 1), "baa");
    EXPECT_EQ(rt::Replace("abc", "", "x"), "abc");
    EXPECT_EQ(rt::Replace("abc", "b", "x", 9), "");
    EXPECT_EQ(RaisedNumber([] { return rt::Replace("abc", "b", "x", 0); }), 5);
}

TEST_F(StringsTest, StrCompBinaryAndText)
{
    const struct
    {
        const char* a;
        const char* b;
        rt::CompareMethod compare;
        int expected;
    } cases[] = {
        {"a", "B", Binary, 1},          {"a", "B", Text, -1},        {"ä", "b", Text, -1},
        {"ä", "b", Binary, 1},          {"ÄRGER", "ärger", Text, 0}, {"a", "ä", Text, -1},
        {"abc", "abc", Binary, 0},      {"abc", "abd", Binary, -1},  {"", "a", Text, -1},
        {"Müller", "Mueller", Text, 1},
        // ASCII letters and digits: digits first, then letters, case ignored, shorter first.
        {"abc", "ABD", Text, -1},       {"Z", "a", Text, 1},         {"10", "9", Text, -1},
        {"a1", "aa", Text, -1},         {"ab", "A", Text, 1},        {"Termin", "TERMIN", Text, 0},
        // Other characters go through the collation.
        {"a b", "ab", Text, -1},        {"ab", "Äb", Text, -1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(rt::StrComp(c.a, c.b, c.compare), c.expected) << c.a << " " << c.b;
    }
}

TEST_F(StringsTest, CharactersAndRepeats)
{
    EXPECT_EQ(rt::Chr(0), std::string(1, '\0'));
    EXPECT_EQ(rt::Chr(0xE4), "ä");
    EXPECT_EQ(rt::Chr(0x20AC), "€");
    EXPECT_EQ(rt::Asc("ärger"), 0xE4);
    EXPECT_EQ(rt::Asc("A"), 65);
    EXPECT_EQ(rt::Repeat(3, "äb"), "äää");
    EXPECT_EQ(rt::Repeat(0, "x"), "");
    EXPECT_EQ(rt::StrReverse("Grüße"), "eßürG");
    EXPECT_EQ(RaisedNumber([] { return rt::Asc(""); }), 5);
    EXPECT_EQ(RaisedNumber([] { return rt::Chr(0xD800); }), 5);
    EXPECT_EQ(RaisedNumber([] { return rt::Repeat(-1, "x"); }), 5);
    // Texts holding NUL characters split like any other text.
    const std::string list = "a" + rt::Chr(0) + "b";
    EXPECT_EQ(rt::Split(list, rt::Chr(0)), (std::vector<std::string>{"a", "b"}));
}
