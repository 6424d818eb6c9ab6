// The host's line reader and the command source over it: a line is held only up to its bound,
// a line with a NUL is refused, and neither is ever taken for the end of the input.
#include "host/AnswerSource.h"
#include "host/HostTexts.h"

#include <gtest/gtest.h>

#include <sstream>
#include <stdexcept>
#include <streambuf>
#include <string>
#include <vector>

namespace {

using host::LineRead;

struct Read
{
    LineRead eRead;
    std::string sLine;
};

// Every read of the input up to its end, each line that does not fit skipped as the
// terminal skips it.
std::vector<Read> ReadAll(const std::string& sInput, std::size_t nMax)
{
    std::istringstream in(sInput);
    std::vector<Read> vReads;
    std::string sLine;
    while (true) {
        const LineRead eRead = host::ReadLine(in, sLine, nMax);
        vReads.push_back({eRead, sLine});
        if (eRead == LineRead::End)
            return vReads;
        if (eRead != LineRead::Line)
            host::SkipLine(in);
    }
}

TEST(LineReaderTest, ALineIsHeldUpToItsBoundAndTheRestOfALongerOneIsSkipped)
{
    using namespace std::string_literals;
    struct Case
    {
        std::string sInput;
        std::vector<Read> vExpected;
    };
    const Case cases[] = {
        {"", {{LineRead::End, ""}}},
        {"abc\n", {{LineRead::Line, "abc"}, {LineRead::End, ""}}},
        {"abc", {{LineRead::Line, "abc"}, {LineRead::End, ""}}},
        {"\n\n", {{LineRead::Line, ""}, {LineRead::Line, ""}, {LineRead::End, ""}}},
        // Exactly the bound fits, one byte more does not; the next line is read whole.
        {"12345\n", {{LineRead::Line, "12345"}, {LineRead::End, ""}}},
        {"123456\nok\n",
         {{LineRead::TooLong, "12345"}, {LineRead::Line, "ok"}, {LineRead::End, ""}}},
        {"123456789012345678901234567890\nok",
         {{LineRead::TooLong, "12345"}, {LineRead::Line, "ok"}, {LineRead::End, ""}}},
        {"123456", {{LineRead::TooLong, "12345"}, {LineRead::End, ""}}},
        // A NUL is a byte of its line (for the refusal to name), never the end.
        {"a\0b\nok\n"s, {{LineRead::Line, "a\0b"s}, {LineRead::Line, "ok"}, {LineRead::End, ""}}},
        {"\0\0\0\0\0\0\0\0\nok"s,
         {{LineRead::TooLong, "\0\0\0\0\0"s}, {LineRead::Line, "ok"}, {LineRead::End, ""}}},
        {"ab\n\0"s, {{LineRead::Line, "ab"}, {LineRead::Line, "\0"s}, {LineRead::End, ""}}},
        {"1234\0"s, {{LineRead::Line, "1234\0"s}, {LineRead::End, ""}}},
        // A carriage return is the command's to trim, not the reader's.
        {"x\r\n", {{LineRead::Line, "x\r"}, {LineRead::End, ""}}},
    };
    for (const auto& c : cases) {
        const auto vReads = ReadAll(c.sInput, 5);
        ASSERT_EQ(vReads.size(), c.vExpected.size()) << host::Escaped(c.sInput);
        for (std::size_t i = 0; i < vReads.size(); ++i) {
            EXPECT_EQ(vReads[i].eRead, c.vExpected[i].eRead)
                << host::Escaped(c.sInput) << " #" << i;
            EXPECT_EQ(vReads[i].sLine, c.vExpected[i].sLine)
                << host::Escaped(c.sInput) << " #" << i;
        }
    }
}

// An input made on the fly: nBytes of cFill, then sTail; it counts what was handed out and
// can fail once its bytes are gone, as a broken pipe or a full memory does.
class MadeInput : public std::streambuf
{
public:
    MadeInput(std::size_t nBytes, char cFill, std::string sTail, bool bFailAtEnd = false)
        : m_nLeft(nBytes), m_block(1 << 16, cFill), m_sTail(std::move(sTail)),
          m_bFailAtEnd(bFailAtEnd)
    {
    }
    std::size_t Handed() const { return m_nHanded; }

protected:
    int_type underflow() override
    {
        if (m_nLeft > 0) {
            const std::size_t n = std::min(m_nLeft, m_block.size());
            m_nLeft -= n;
            Hand(m_block.data(), n);
        } else if (!m_sTail.empty()) {
            m_current = std::move(m_sTail);
            m_sTail.clear();
            Hand(m_current.data(), m_current.size());
        } else if (m_bFailAtEnd) {
            throw std::runtime_error("the source failed");
        } else {
            return traits_type::eof();
        }
        return traits_type::to_int_type(*gptr());
    }

private:
    void Hand(char* p, std::size_t n)
    {
        setg(p, p, p + n);
        m_nHanded += n;
    }
    std::size_t m_nLeft;
    std::string m_block;
    std::string m_sTail;
    std::string m_current;
    bool m_bFailAtEnd;
    std::size_t m_nHanded = 0;
};

TEST(LineReaderTest, AHugeLineIsNeverHeldAndTheLineAfterItIsRead)
{
    // 512 MiB that no test could hold twice: the reader keeps its bound, the skip holds nothing.
    const std::size_t nHuge = std::size_t{512} << 20;
    for (const char cFill : {'x', '\0'}) {
        MadeInput oSource(nHuge, cFill, "\nnext\n");
        std::istream in(&oSource);
        std::string sLine;
        EXPECT_EQ(host::ReadLine(in, sLine), LineRead::TooLong);
        EXPECT_EQ(sLine, std::string(host::kMaxLineBytes, cFill));
        EXPECT_LE(oSource.Handed(), host::kMaxLineBytes + (1 << 16)) << "read on past the bound";
        host::SkipLine(in);
        EXPECT_EQ(host::ReadLine(in, sLine), LineRead::Line);
        EXPECT_EQ(sLine, "next");
        EXPECT_EQ(host::ReadLine(in, sLine), LineRead::End);
    }
}

TEST(LineReaderTest, ASourceThatFailsMarksTheStreamBadNotEnded)
{
    MadeInput oSource(3, 'x', "", true);
    std::istream in(&oSource);
    std::string sLine;
    EXPECT_EQ(host::ReadLine(in, sLine), LineRead::End);
    EXPECT_TRUE(in.bad());
}

struct RunEnded
{
    std::string sMessage;
};

class AnswerSourceBoundsTest : public ::testing::TestWithParam<const char*>
{
protected:
    void SetUp() override { host::SetTextLanguage(GetParam()); }
    void TearDown() override { host::SetTextLanguage("en"); }
    static host::AnswerSource::Fatal Ends()
    {
        return [](const std::string& s) { throw RunEnded{s}; };
    }
    bool German() const { return std::string(GetParam()) == "de"; }
};

TEST_P(AnswerSourceBoundsTest, AtTheTerminalALineThatDoesNotFitIsRefusedAndTheNextIsTaken)
{
    using namespace std::string_literals;
    const std::string sTooLong(host::kMaxLineBytes + 1, 'n');
    const std::string sRefusal =
        German() ? "Die Zeile ist länger als 65536 Bytes" : "The line is longer than 65536 bytes";
    const std::string sControl = German() ? "Steuerzeichen \\x00" : "control character \\x00";
    const std::string sNuls(host::kMaxLineBytes + 1, '\0');
    for (const std::string& sInput : {"find " + sTooLong + "\nquit\n", "find a\0z\nquit\n"s,
                                      "\0\nquit\n"s, sNuls + "\nquit\n"}) {
        std::istringstream in(sInput);
        std::ostringstream out;
        host::AnswerSource oAnswers(in, out, "", Ends(), 100);
        const auto oFirst = oAnswers.Next();
        ASSERT_TRUE(oFirst.has_value());
        EXPECT_EQ(*oFirst, "quit");
        // A short line with a NUL is named with it; a long one by the bound, never shown.
        const bool bShort = sInput.size() < 100;
        EXPECT_NE(out.str().find(bShort ? sControl : sRefusal), std::string::npos) << out.str();
        EXPECT_LT(out.str().size(), 1000U);
        EXPECT_FALSE(oAnswers.Next().has_value());
    }
}

TEST_P(AnswerSourceBoundsTest, InAnAnswersFileALineThatDoesNotFitEndsTheRunNamingItsLine)
{
    using namespace std::string_literals;
    const std::string sTooLong(host::kMaxLineBytes + 1, 'n');
    const std::string sWhere =
        German() ? "Antwortdatei a.txt, Zeile 2: " : "the answers file a.txt, line 2: ";
    for (const std::string& sInput :
         {"help\n" + sTooLong + "\nquit\n", "help\n\0\0\0"s, "help\n" + sTooLong}) {
        std::istringstream in(sInput);
        std::ostringstream out;
        host::AnswerSource oAnswers(in, out, "a.txt", Ends(), 100);
        EXPECT_EQ(oAnswers.Next().value_or(""), "help");
        try {
            oAnswers.Next();
            ADD_FAILURE() << "taken: " << host::Escaped(sInput.substr(0, 40));
        } catch (const RunEnded& e) {
            EXPECT_EQ(e.sMessage.rfind(sWhere, 0), 0U) << e.sMessage.substr(0, 200);
            EXPECT_LT(e.sMessage.size(), 1000U);
        }
    }
}

TEST_P(AnswerSourceBoundsTest, AnInputThatCannotBeReadEndsTheRunRatherThanEndingTheInput)
{
    MadeInput oSource(3, 'x', "", true);
    std::istream in(&oSource);
    std::ostringstream out;
    host::AnswerSource oAnswers(in, out, "a.txt", Ends(), 100);
    try {
        oAnswers.Next();
        ADD_FAILURE() << "the failed read was taken for the end of the input";
    } catch (const RunEnded& e) {
        EXPECT_EQ(e.sMessage, German() ? "die Eingabe konnte nicht weiter gelesen werden"
                                       : "the input could not be read any further");
    }
}

INSTANTIATE_TEST_SUITE_P(Languages, AnswerSourceBoundsTest, ::testing::Values("en", "de"));

} // namespace
