#include "platform/runtime/TextBuffer.h"

#include <gtest/gtest.h>

#include <string>

namespace platform::runtime {
namespace {

std::string Joined(const TextBuffer& buffer)
{
    std::string text;
    for (const std::string_view piece : buffer.Pieces()) {
        text += piece;
    }
    return text;
}

TEST(TextBufferTest, PiecesGiveBackEveryAppendedByteInOrderAcrossBlocks)
{
    // Small appends, one that straddles a block's end, one larger than a whole block, empty
    // ones: the pieces joined are exactly the text appended.
    TextBuffer buffer;
    EXPECT_TRUE(buffer.Pieces().empty());
    std::string expected;
    const auto append = [&](const std::string& text) {
        buffer.Append(text);
        expected += text;
    };
    for (int i = 0; i < 150000; ++i) {
        append("Zeile " + std::to_string(i) + ";Müller\r\n");
        if (i % 50000 == 0) {
            append("");
        }
    }
    append(std::string(5 * 1024 * 1024 + 17, 'x'));
    append("Ende");
    EXPECT_GT(buffer.Pieces().size(), 3u);
    EXPECT_EQ(Joined(buffer), expected);

    buffer.Clear();
    EXPECT_TRUE(buffer.Pieces().empty());
    buffer.Append("neu");
    EXPECT_EQ(Joined(buffer), "neu");
}

} // namespace
} // namespace platform::runtime
