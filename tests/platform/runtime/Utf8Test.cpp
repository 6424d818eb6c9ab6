#include "platform/runtime/Utf8.h"

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
