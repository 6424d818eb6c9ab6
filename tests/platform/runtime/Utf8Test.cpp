#include "platform/runtime/Utf8.h"
#include "tests/host/ByteClasses.h"

#include <gtest/gtest.h>

namespace platform::runtime {
namespace {

TEST(Utf8Test, IllFormedSequencesBecomeOneReplacementEachAndNothingElseChanges)
{
    const std::string r = "\xEF\xBF\xBD";
    const std::pair<std::string, std::string> cases[] = {
        {"", ""},
        {"plain ASCII text that is longer than eight bytes", ""},
        {"Müller € 日本 😀", ""},
        {"Ab\xE2\x82"
         "Cd",
         "Ab" + r + "Cd"},                   // cut sequence: the next letter stays
        {"\x80", r},                         // stray continuation byte
        {"x\xFF\xFEy", "x" + r + r + "y"},   // bytes UTF-8 never uses
        {"\xC0\xAF", r + r},                 // overlong "/"
        {"\xED\xA0\x80", r + r + r},         // an encoded surrogate
        {"\xF4\x90\x80\x80", r + r + r + r}, // beyond U+10FFFF
        {"12345678\xC3", "12345678" + r},    // cut at the very end, after a long run
    };
    for (const auto& [in, out] : cases) {
        std::string text = in;
        const std::string expected = out.empty() ? in : out;
        EXPECT_EQ(IsValidUtf8(in), out.empty()) << in;
        MakeValidUtf8(text);
        EXPECT_EQ(text, expected) << in;
        EXPECT_TRUE(IsValidUtf8(text));
    }
}

} // namespace
} // namespace platform::runtime

namespace platform::runtime {
namespace {

// The character a name cannot hold, by the byte classes the host refuses from a person (each
// control character, DEL, C1, the two non-characters, every kind of byte that is not UTF-8),
// plus tab and line feed, which a line of text may hold but a name may not.
TEST(Utf8Test, ANameRefusesEachControlCharacterAndEveryByteThatIsNoText)
{
    auto vBad = host_test::BadTexts();
    vBad.push_back({"\t", true});
    vBad.push_back({"\n", true});
    for (const auto& bad : vBad) {
        const std::string sText = "Monatsbericht " + bad.sBytes + "X";
        SCOPED_TRACE(testing::PrintToString(sText));
        const auto oFound = FirstNameRefusedCharacter(sText);
        ASSERT_TRUE(oFound.has_value());
        EXPECT_EQ(oFound->offset, 14u);
        EXPECT_EQ(oFound->shown, host_test::NameOf(bad));
        if (bad.bUtf8) {
            EXPECT_EQ(oFound->length, bad.sBytes.size());
        }
        const std::string sMarked = NameRefusedCharactersMarked(sText);
        EXPECT_EQ(sMarked.rfind("Monatsbericht \xEF\xBF\xBD", 0), 0u) << sMarked;
        EXPECT_EQ(sMarked.back(), 'X');
        EXPECT_FALSE(FirstNameRefusedCharacter(sMarked).has_value()) << sMarked;
    }
    // Text a name may hold: letters of any script, the replacement character, a no-break
    // space (U+00A0, just past C1), the last code point.
    for (const std::string sGood :
         {"", "Monatsbericht 10.12.2026", "Übersicht € 日本 😀", "\xEF\xBF\xBD", "\xC2\xA0",
          "\xF4\x8F\xBF\xBF", "\xEF\xBF\xBD\xEF\xBF\xBC"}) {
        EXPECT_FALSE(FirstNameRefusedCharacter(sGood).has_value()) << sGood;
        EXPECT_EQ(NameRefusedCharactersMarked(sGood), sGood);
    }
}

} // namespace
} // namespace platform::runtime
