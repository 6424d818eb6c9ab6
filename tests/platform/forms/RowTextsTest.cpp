// The texts of a grid row kept in one block: every write, growing, shrinking and moving must
// leave each cell with exactly the text last written to it.
#include "platform/forms/detail/RowTexts.h"
#include "platform/forms/detail/TextBlocks.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace {

using platform::forms::detail::RowTexts;
using platform::forms::detail::TextBlocks;

// The cells as texts up to `count`, past the stored ones included.
std::vector<std::string> Cells(const RowTexts& row, int count)
{
    std::vector<std::string> cells;
    for (int c = 0; c < count; ++c) {
        cells.emplace_back(row.Text(c));
    }
    return cells;
}

struct Write
{
    int col;
    std::string text;
    int width = 0;
};

struct WriteCase
{
    const char* name;
    std::vector<Write> writes;
    std::vector<std::string> cells; // expected, cell 0 on
    int count;                      // cells stored afterwards
};

const std::string kLong(300, 'x');
const std::string kVeryLong(70000, 'v'); // more characters than two-byte offsets count

const WriteCase kWriteCases[] = {
    {"LeftToRight", {{0, "a", 4}, {1, "bb", 4}, {2, "ccc", 4}}, {"a", "bb", "ccc", ""}, 4},
    {"RightToLeft", {{2, "ccc", 0}, {1, "bb", 0}, {0, "a", 0}}, {"a", "bb", "ccc", ""}, 3},
    {"LongerInTheMiddle",
     {{0, "a", 3}, {1, "b", 3}, {2, "c", 3}, {1, "Mittelstück"}},
     {"a", "Mittelstück", "c"},
     3},
    {"ShorterInTheMiddle",
     {{0, "a", 3}, {1, "lang und breit", 3}, {2, "c", 3}, {1, "k"}},
     {"a", "k", "c"},
     3},
    {"EmptiedInTheMiddle", {{0, "a", 3}, {1, "b", 3}, {2, "c", 3}, {1, ""}}, {"a", "", "c"}, 3},
    {"EmptyPastTheEndStoresNothing", {{0, "a", 0}, {5, "", 0}}, {"a", "", "", "", "", ""}, 1},
    {"GrowsPastItsRoom", {{0, "a", 2}, {1, kLong, 2}, {0, kLong + "y"}}, {kLong + "y", kLong}, 2},
    {"NothingWritten", {}, {"", ""}, 0},
    // Rows outgrowing what their offsets can count, in the middle and at the end, and
    // shrinking back.
    {"PastOneByteOffsetsInTheMiddle",
     {{0, "a", 3}, {1, "b", 3}, {2, "c", 3}, {1, kLong}},
     {"a", kLong, "c"},
     3},
    {"PastTwoByteOffsetsAtTheEnd",
     {{0, "a", 3}, {1, kLong, 3}, {2, kVeryLong}, {0, "z"}},
     {"z", kLong, kVeryLong},
     3},
    {"ShrinksBackAfterVeryLongTexts",
     {{0, kVeryLong, 3}, {1, kLong}, {0, "a"}, {2, "c"}, {1, "b"}},
     {"a", "b", "c"},
     3},
    {"AppendedPastTheCountAcrossOffsetWidths",
     {{0, "a", 0}, {1, kLong, 0}, {4, "e", 0}, {2, kVeryLong, 0}, {6, "g", 0}},
     {"a", kLong, kVeryLong, "", "e", "", "g"},
     7},
    // Rewrites of the last written cell of a wide row, shorter and longer, then a write past it.
    {"RewrittenAtTheEndOfAPartlyFilledRow",
     {{0, "aaa", 5}, {1, "bbbb", 5}, {1, "b"}, {3, "dd"}, {1, ""}, {3, "d"}, {3, "längeres d"}},
     {"aaa", "", "", "längeres d", ""},
     5},
    {"LongerAtTheEndOfAFullRow",
     {{0, "aa", 3}, {1, "bb", 3}, {2, "cc", 3}, {2, std::string(250, 'c')}, {0, ""}},
     {"", "bb", std::string(250, 'c')},
     3},
};

class RowTextsWriteTest : public ::testing::TestWithParam<WriteCase>
{
};

// Each case on a row of the heap and on rows of a grid's pool, the second of which reuses the
// blocks the first gave back.
TEST_P(RowTextsWriteTest, EachCellHoldsItsLastText)
{
    TextBlocks pool;
    for (TextBlocks* from : {static_cast<TextBlocks*>(nullptr), &pool, &pool}) {
        RowTexts row(from);
        for (const Write& w : GetParam().writes) {
            row.Set(w.col, w.text, w.width);
        }
        EXPECT_EQ(Cells(row, int(GetParam().cells.size())), GetParam().cells);
        EXPECT_EQ(row.Count(), GetParam().count);
    }
}

INSTANTIATE_TEST_SUITE_P(Writes, RowTextsWriteTest, ::testing::ValuesIn(kWriteCases),
                         [](const auto& info) { return std::string(info.param.name); });

RowTexts Abcd()
{
    RowTexts row;
    for (int c = 0; c < 4; ++c) {
        row.Set(c, std::string(size_t(c + 1), char('a' + c)), 4);
    }
    return row;
}

// A wide row filled left to right, then given keys at its end and rewritten in the middle,
// as a report fills its rows: every cell keeps its text through the rebuilds.
TEST(RowTextsTest, WideRowsKeepEveryCellThroughLateWrites)
{
    TextBlocks pool;
    for (const int width : {3, 40, 300}) {
        RowTexts row(&pool);
        std::vector<std::string> expected(size_t(width + 6));
        auto set = [&](int c, std::string text) {
            row.Set(c, text, width + 6);
            expected[size_t(c)] = std::move(text);
        };
        for (int c = 0; c < width; ++c) {
            set(c, std::to_string(c * 7919));
        }
        for (int c = width; c < width + 6; ++c) {
            set(c, "Schlüssel " + std::to_string(c));
        }
        set(width / 2, std::string(size_t(width) * 5, 'm'));
        set(1, "");
        EXPECT_EQ(Cells(row, width + 6), expected) << width;
    }
}

// Many rows of one pool as a report writes them: filled row by row, given keys row by row
// after the fill (rows move, reusing the blocks their neighbours left), some rewritten, some
// dropped and filled again. No row may ever see another row's characters.
TEST(RowTextsTest, ManyRowsOfOnePoolKeepTheirOwnTexts)
{
    constexpr int kRows = 3000;
    constexpr int kWidth = 12;
    TextBlocks pool;
    std::vector<RowTexts> rows;
    rows.reserve(kRows);
    std::vector<std::vector<std::string>> expected(kRows, std::vector<std::string>(kWidth));
    auto set = [&](int r, int c, std::string text) {
        rows[size_t(r)].Set(c, text, kWidth);
        expected[size_t(r)][size_t(c)] = std::move(text);
    };
    auto textOf = [](int r, int c, int length) {
        std::string text = std::to_string(r) + ":" + std::to_string(c) + ":";
        text.resize(std::max(text.size(), size_t(length)), char('a' + (r + c) % 26));
        return text;
    };
    for (int r = 0; r < kRows; ++r) {
        rows.emplace_back(&pool);
        for (int c = 0; c < 8; ++c) {
            // Now and then a text longer than one-byte offsets can count.
            set(r, c, textOf(r, c, r % 97 == 0 && c == 3 ? 400 : (r * 7 + c) % 13));
        }
    }
    for (int r = 0; r < kRows; ++r) {
        for (int c = 8; c < kWidth; ++c) {
            // Keys longer than the room a filled row keeps: most rows move.
            set(r, c, textOf(r, c, 6 + (r % 5) * 10));
        }
    }
    for (int r = 0; r < kRows; r += 7) {
        set(r, 2, textOf(r, 2, (r % 3) * 40));
        set(r, 5, "");
    }
    for (int r = 0; r < kRows; r += 2) {
        rows[size_t(r)] = RowTexts(&pool);
        expected[size_t(r)].assign(kWidth, "");
    }
    for (int r = 0; r < kRows; r += 2) {
        for (int c = 0; c < kWidth; ++c) {
            set(r, c, textOf(r, c, 20 - c));
        }
    }
    for (int r = 0; r < kRows; ++r) {
        ASSERT_EQ(Cells(rows[size_t(r)], kWidth), expected[size_t(r)]) << "row " << r;
    }
}

// A row written for the first time takes room for what the rows before it came to: a long row
// among short ones gets its texts, and the short rows after it keep theirs and soon take
// small blocks again.
TEST(RowTextsTest, RowsAfterALongRowKeepTheirTextsAndTakeLittleRoom)
{
    TextBlocks pool;
    std::vector<RowTexts> rows;
    std::vector<std::vector<std::string>> expected;
    for (int r = 0; r < 600; ++r) {
        RowTexts& row = rows.emplace_back(&pool);
        auto& cells = expected.emplace_back();
        for (int c = 0; c < 5; ++c) {
            cells.push_back(r == 3 && c == 2 ? kVeryLong : std::to_string(r * 10 + c));
            row.Set(c, cells.back(), 5);
        }
    }
    for (size_t r = 0; r < rows.size(); ++r) {
        ASSERT_EQ(Cells(rows[r], 5), expected[r]) << "row " << r;
    }
    // One long row sets the room a first write takes at most to a bounded size; it falls back
    // towards what the short rows need as they are written.
    EXPECT_LT(pool.RowChars(), 100u);
}

TEST(RowTextsTest, ACellTakesAnotherCellsTextOfTheSameRow)
{
    RowTexts row = Abcd();
    row.Set(0, row.Text(3));
    row.Set(3, row.Text(1));
    EXPECT_EQ(Cells(row, 4), (std::vector<std::string>{"dddd", "bb", "ccc", "bb"}));
}

TEST(RowTextsTest, TruncateDropsTheCellsFromTheCount)
{
    RowTexts row = Abcd();
    row.Truncate(2);
    EXPECT_EQ(row.Count(), 2);
    EXPECT_EQ(Cells(row, 4), (std::vector<std::string>{"a", "bb", "", ""}));
    row.Set(3, "neu");
    EXPECT_EQ(Cells(row, 4), (std::vector<std::string>{"a", "bb", "", "neu"}));
    row.Truncate(0);
    EXPECT_EQ(row.Count(), 0);
}

TEST(RowTextsTest, MoveCellShiftsTheCellsBetween)
{
    struct Case
    {
        int col, position;
        std::vector<std::string> cells;
    };
    const Case cases[] = {
        {0, 2, {"bb", "ccc", "a", "dddd", ""}},
        {3, 1, {"a", "dddd", "bb", "ccc", ""}},
        {1, 4, {"a", "ccc", "dddd", "", "bb"}},
        {2, 2, {"a", "bb", "ccc", "dddd", ""}},
    };
    for (const Case& c : cases) {
        RowTexts row = Abcd();
        row.MoveCell(c.col, c.position);
        EXPECT_EQ(Cells(row, 5), c.cells) << c.col << " to " << c.position;
    }
}

TEST(RowTextsTest, CopiesAreIndependent)
{
    RowTexts row = Abcd();
    RowTexts copy = row;
    copy.Set(1, "anders");
    row.Set(2, "");
    EXPECT_EQ(Cells(copy, 4), (std::vector<std::string>{"a", "anders", "ccc", "dddd"}));
    EXPECT_EQ(Cells(row, 4), (std::vector<std::string>{"a", "bb", "", "dddd"}));
    copy = row;
    EXPECT_EQ(Cells(copy, 4), Cells(row, 4));
}

TEST(RowTextsTest, ACopyOutlivesThePoolOfItsOriginal)
{
    RowTexts copy;
    {
        TextBlocks pool;
        RowTexts row(&pool);
        row.Set(0, "aus dem Pool", 2);
        row.Set(1, kLong, 2);
        copy = row;
        RowTexts moved = std::move(row);
        EXPECT_EQ(Cells(moved, 2), (std::vector<std::string>{"aus dem Pool", kLong}));
    }
    copy.Set(0, "weiter");
    EXPECT_EQ(Cells(copy, 2), (std::vector<std::string>{"weiter", kLong}));
}

// The exact numbers of a row's cells follow their cells through moves, copies and growth,
// and go with the cell's text.
TEST(RowTextsTest, ExactNumbersFollowTheirCellsAndGoWithTheirText)
{
    TextBlocks pool;
    RowTexts row(&pool);
    for (int c = 0; c < 6; ++c) {
        row.Set(c, std::to_string(c), 6);
        row.SetExact(c, c + 0.25); // past the first block's room: it grows
    }
    auto exacts = [](const RowTexts& r) {
        std::vector<double> found;
        for (int c = 0; c < 7; ++c) {
            found.push_back(r.Exact(c).value_or(-1));
        }
        return found;
    };
    row.MoveCell(1, 4);
    EXPECT_EQ(exacts(row), (std::vector<double>{0.25, 2.25, 3.25, 4.25, 1.25, 5.25, -1}));
    EXPECT_EQ(row.Text(4), "1");
    row.Set(2, "neu");
    row.Truncate(5);
    RowTexts copy(row);
    row = RowTexts(&pool);
    EXPECT_EQ(exacts(copy), (std::vector<double>{0.25, 2.25, -1, 4.25, 1.25, -1, -1}));
    // A value read from the text, not the exact one, once the text is written again.
    copy.Set(0, "75");
    EXPECT_FALSE(copy.Exact(0));
    const auto value = copy.Value(0, false);
    EXPECT_EQ(value.kind, platform::forms::detail::TypedValue::Kind::Number);
    EXPECT_EQ(value.value, 75);
}

TEST(TextBlocksTest, BlocksAreReusedBySizeAndNeverShared)
{
    TextBlocks pool;
    EXPECT_EQ(TextBlocks::Rounded(1), 4u);
    EXPECT_EQ(TextBlocks::Rounded(8), 8u);
    EXPECT_EQ(TextBlocks::Rounded(9), 12u);
    // Live blocks of many sizes, past one chunk, large ones among them: none overlaps another.
    std::vector<std::pair<std::uint32_t*, std::uint32_t>> live;
    for (std::uint32_t i = 0; i < 6000; ++i) {
        const std::uint32_t words = 1 + (i * 37) % 700;
        std::uint32_t* block = pool.Take(words);
        std::fill(block, block + words, i);
        live.emplace_back(block, words);
    }
    for (std::uint32_t i = 0; i < live.size(); ++i) {
        const auto [block, words] = live[i];
        ASSERT_EQ(std::count(block, block + words, i), std::ptrdiff_t(words)) << i;
    }
    std::uint32_t* given = live[10].first;
    const std::uint32_t words = live[10].second;
    pool.Give(given, words);
    EXPECT_EQ(pool.Take(TextBlocks::Rounded(words)), given);
    for (const auto& [block, n] : live) {
        pool.Give(block, n);
    }
}

// A grid going drops its rows after closing their pool: the rows give nothing back, and the
// pool frees every block when it goes, those from the heap included (the sanitizer build
// reports any block lost or freed twice).
TEST(TextBlocksTest, AClosedPoolTakesNothingBackAndFreesAllItHolds)
{
    auto pool = std::make_unique<TextBlocks>();
    std::vector<RowTexts> rows;
    for (int r = 0; r < 200; ++r) {
        RowTexts& row = rows.emplace_back(pool.get());
        row.Set(0, r % 10 == 0 ? kVeryLong : kLong, 3);
        row.Set(1, std::to_string(r));
        EXPECT_EQ(row.Value(1, false).value, r); // a kept value: a second block per row
    }
    rows[0] = RowTexts(pool.get()); // a heap block given back before the pool closes
    rows[10].Set(0, "kurz");        // and one moved into the pool
    pool->Close();
    EXPECT_TRUE(pool->Closed());
    rows[20].Set(0, "auch kurz"); // rows still work until the pool goes
    EXPECT_EQ(Cells(rows[20], 2), (std::vector<std::string>{"auch kurz", "20"}));
    rows.clear();
    pool.reset();
}

TEST(TextBlocksTest, NeighboursGivenBackServeALargerBlock)
{
    TextBlocks pool;
    std::uint32_t* first = pool.Take(8);
    std::uint32_t* second = pool.Take(8);
    std::uint32_t* third = pool.Take(8);
    ASSERT_EQ(second, first + 8); // carved one after the other
    pool.Give(first, 8);
    pool.Give(second, 8);
    std::uint32_t* larger = pool.Take(12);
    EXPECT_EQ(larger, first);
    std::fill(larger, larger + 12, 1u);
    // The rest of the run and a block elsewhere: the rest is still served, never the live
    // third block.
    std::uint32_t* rest = pool.Take(4);
    EXPECT_EQ(rest, first + 12);
    // The run is used up: the next block is fresh, not a part of the live third one.
    std::uint32_t* fresh = pool.Take(4);
    EXPECT_TRUE(fresh + 4 <= third || fresh >= third + 8);
    std::fill(fresh, fresh + 4, 4u);
    std::fill(third, third + 8, 3u);
    EXPECT_EQ(std::count(larger, larger + 12, 1u), 12);
    EXPECT_EQ(std::count(fresh, fresh + 4, 4u), 4);
    pool.Give(fresh, 4);
    pool.Give(rest, 4);
    pool.Give(larger, 12);
    pool.Give(third, 8);
}

} // namespace

// A grid that drops all its rows closes the pool and opens it again: the blocks it gave out
// before are forgotten, the heap ones freed (the sanitizer build reports a block lost or freed
// twice), and its chunks serve the next blocks one after the other from the first on.
TEST(TextBlocksTest, AReopenedPoolServesItsChunksAgainFromTheFirst)
{
    TextBlocks pool;
    // Past the first chunk, every 50th block from the heap.
    const auto takeAll = [&pool] {
        std::vector<std::uint32_t*> blocks;
        for (int i = 0; i < 3000; ++i) {
            std::uint32_t* block = pool.Take(i % 50 == 0 ? 600 : 300);
            block[0] = 7;
            blocks.push_back(i % 50 == 0 ? nullptr : block);
        }
        return blocks;
    };
    std::uint32_t* first = pool.Take(8);
    const std::vector<std::uint32_t*> before = takeAll();
    pool.Give(before[5], 300); // on a list, which Reopen forgets
    pool.Give(before[7], 300); // the free run
    pool.Close();
    pool.Reopen();
    EXPECT_FALSE(pool.Closed());
    std::uint32_t* again = pool.Take(8);
    EXPECT_EQ(again, first);
    // The same blocks as before, in the same order, from the same chunks: none of them the
    // block given back, and none freshly mapped.
    EXPECT_EQ(takeAll(), before);
    std::vector<std::pair<std::uint32_t*, std::uint32_t>> live;
    for (std::uint32_t i = 0; i < 2000; ++i) { // and past the chunks there were
        std::uint32_t* block = pool.Take(300);
        std::fill(block, block + 300, i);
        live.emplace_back(block, 300);
    }
    for (std::uint32_t i = 0; i < live.size(); ++i)
        ASSERT_EQ(std::count(live[i].first, live[i].first + 300, i), 300) << i;
    pool.Give(again, 8);
}
