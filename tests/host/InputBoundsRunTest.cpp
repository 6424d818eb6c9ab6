// What a person gives the host is bounded: a line without end, a line of NULs and a name of
// many thousand characters are refused in the run's language, never held whole or taken for
// the end of the input. The inputs are made on the fly and piped.
#include "HostRunFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>

namespace host_test {

namespace {

class InputBoundsRunTest : public HostRunFixture
{
protected:
    // Runs the host with sArgs, its input made by the shell command sFeed.
    RunResult Fed(const std::string& sFeed, const std::string& sArgs) const
    {
        return Shell("{ " + sFeed + "; } | LC_ALL= LC_MESSAGES= LANG=C.UTF-8 XDG_CONFIG_HOME='" +
                     oRoot.string() + "' TZ=Europe/Berlin '" TV_TALLYMAN_PATH "' " + sArgs);
    }
};

TEST_F(InputBoundsRunTest, AFindLineOfFiftyMegabytesIsRefusedAndTheNextCommandTaken)
{
    const auto r = Fed("printf 'find '; head -c 50000000 /dev/zero | tr '\\0' x; "
                       "printf '\\nhelp\\nquit\\n'",
                       "--lang de --interactive");
    EXPECT_EQ(r.exitCode, 0) << r.output.substr(0, 2000);
    EXPECT_NE(r.output.find("Die Zeile ist länger als 65536 Bytes und wurde nicht übernommen."),
              std::string::npos)
        << r.output.substr(0, 2000);
    // The command after it was taken: help lists the commands.
    EXPECT_NE(r.output.find("saveas"), std::string::npos);
    EXPECT_EQ(r.output.find("xxxxxxxxxx"), std::string::npos) << "the line was echoed";
}

TEST_F(InputBoundsRunTest, AnAnswersFileOfGigabytesOfNulsEndsTheRunAtItsFirstLine)
{
    // A sparse file: 3 GiB of NULs that take no room on the disk. The address space is
    // bounded so that a reader holding the line would fail at once rather than page (not
    // under the address sanitizer, which cannot run so bounded).
#if defined(__SANITIZE_ADDRESS__)
    const std::string sBound;
#else
    const std::string sBound = "ulimit -v 2000000; ";
#endif
    const auto oAnswers = oRoot / "nuls.txt";
    std::ofstream(oAnswers).close();
    std::filesystem::resize_file(oAnswers, std::uintmax_t{3} << 30);
    const auto r =
        Shell(sBound + "LC_ALL= LC_MESSAGES= LANG=C.UTF-8 XDG_CONFIG_HOME='" + oRoot.string() +
              "' TZ=Europe/Berlin '" TV_TALLYMAN_PATH "' --lang en --answers '" +
              oAnswers.string() + "'");
    EXPECT_EQ(r.exitCode, 3) << r.output.substr(0, 2000);
    EXPECT_NE(r.output.find("tallyman: the answers file " + oAnswers.string() +
                            ", line 1: The line is longer than 65536 bytes and was not taken."),
              std::string::npos)
        << r.output.substr(0, 2000);
}

TEST_F(InputBoundsRunTest, ALineOfNulsAtTheTerminalIsRefusedAndTheRunGoesOn)
{
    const auto r =
        Fed("head -c 100000000 /dev/zero; printf '\\nquit\\n'", "--lang en --interactive");
    EXPECT_EQ(r.exitCode, 0) << r.output.substr(0, 2000);
    EXPECT_NE(r.output.find("The line is longer than 65536 bytes and was not taken."),
              std::string::npos)
        << r.output.substr(0, 2000);
    EXPECT_LT(r.output.size(), 200000U) << "the line was echoed";
}

TEST_F(InputBoundsRunTest, ATemplateNameOfSixtyThousandCharactersIsRefusedAtOk)
{
    // Within the bound of a line, beyond the bound of a name: the editor's OK refuses it in
    // the run's language and stays open, and the templates keep their names.
    const auto r = Fed("printf 'templates\\nselect fg 0\\nclick cmdCopy\\nset txtNew '; "
                       "head -c 60000 /dev/zero | tr '\\0' N; "
                       "printf '\\nclick cmdOK\\nclick cmdCancel\\nclick cmdClose\\nquit\\n'",
                       "--lang de --interactive");
    EXPECT_EQ(r.exitCode, 0) << r.output.substr(r.output.size() -
                                                std::min<std::size_t>(r.output.size(), 3000));
    EXPECT_NE(r.output.find("Der Text ist 60000 Zeichen lang; dieses Feld nimmt höchstens 4000 "
                            "Zeichen. Bitte kürzen Sie ihn."),
              std::string::npos)
        << r.output.substr(r.output.size() - std::min<std::size_t>(r.output.size(), 3000));
    std::ifstream in(oRoot / "Kestrova" / "Tallyman" / "reports.xml");
    const std::string sTemplates((std::istreambuf_iterator<char>(in)), {});
    ASSERT_NE(sTemplates.find("<Name>(Standard)</Name>"), std::string::npos);
    EXPECT_EQ(sTemplates.find("NNNNNNNNNN"), std::string::npos);
}

} // namespace

} // namespace host_test
