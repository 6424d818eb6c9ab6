// The numbering of distinct texts behind sorts and subtotal passes: every text keeps the
// number it got first, through the table's growth, whatever its length or bytes.
#include "platform/forms/detail/TextIds.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

namespace {

using platform::forms::detail::TextIds;

TEST(TextIdsTest, EachDistinctTextKeepsItsFirstNumber)
{
    std::vector<std::string> aTexts{"",
                                    "a",
                                    "A",
                                    "a ",
                                    "abcdefg",
                                    "abcdefgh",
                                    "abcdefghi",
                                    std::string("x\0y", 3),
                                    std::string("x\0z", 3),
                                    "Ä",
                                    "ä"};
    // Many texts of one shape, differing only in the last bytes, grow the table repeatedly.
    for (int i = 0; i < 5000; ++i) {
        aTexts.push_back("Termin " + std::to_string(i));
    }
    TextIds ids;
    for (int lPass = 0; lPass < 2; ++lPass) {
        for (std::size_t i = 0; i < aTexts.size(); ++i) {
            const auto [number, added] = ids.Insert(aTexts[i]);
            EXPECT_EQ(number, int(i)) << i;
            EXPECT_EQ(added, lPass == 0) << i;
        }
    }
    EXPECT_EQ(ids.Size(), aTexts.size());
    // A text equal to a known one, kept elsewhere, is the same text.
    const std::string sCopy = "Termin 4711";
    EXPECT_EQ(ids.Insert(std::string_view(sCopy)).first, 11 + 4711);
}

} // namespace
