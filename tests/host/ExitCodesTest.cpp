// The exit codes: which one wins where several apply, and that the README and --help list
// exactly the codes the host has.
#include "host/ExitCodes.h"
#include "host/HostOptions.h"
#include "host/HostTexts.h"
#include "host/RunEnd.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::string ReadSource(const std::string& sRelative)
{
    std::ifstream oIn(std::string(TV_SOURCE_DIR) + "/" + sRelative, std::ios::binary);
    EXPECT_TRUE(oIn) << sRelative;
    return {std::istreambuf_iterator<char>(oIn), std::istreambuf_iterator<char>()};
}

// The codes of the enum as its header spells them ("Name = N,"), read apart from the
// compiled list, so that a code added to the enum and left out of the list is seen.
std::set<std::string> CodesOfHeader()
{
    const std::string sHeader = ReadSource("host/ExitCodes.h");
    const auto start = sHeader.find("enum class ExitCode");
    const auto end = sHeader.find("};", start);
    const std::string sEnum = sHeader.substr(start, end - start);
    std::set<std::string> oCodes;
    const std::regex oValue(R"((\w+) = (\d+),)");
    for (auto it = std::sregex_iterator(sEnum.begin(), sEnum.end(), oValue);
         it != std::sregex_iterator(); ++it)
        oCodes.insert((*it)[2]);
    return oCodes;
}

TEST(ExitCodesTest, OfThreeFourAndFiveTheLowestWinsAndASignalBeforeAll)
{
    // By the rule the README states: a signal's code first, then the lowest one that is not 0.
    struct Case
    {
        int nA, nB, nWins;
    };
    const std::vector<Case> vCases = {
        {0, 0, 0}, {0, 3, 3},     {4, 0, 4},     {3, 4, 3},     {4, 3, 3},       {4, 5, 4},
        {5, 4, 4}, {3, 5, 3},     {5, 3, 3},     {5, 5, 5},     {1, 4, 1},       {5, 1, 1},
        {2, 3, 2}, {130, 3, 130}, {4, 143, 143}, {0, 129, 129}, {130, 143, 130}, {143, 0, 143},
    };
    for (const auto& c : vCases)
        EXPECT_EQ(host::RunEnd::MorePressing(c.nA, c.nB), c.nWins) << c.nA << " and " << c.nB;
}

TEST(ExitCodesTest, TheListHoldsEveryCodeOfTheEnumInOrder)
{
    std::set<std::string> oListed;
    int nLast = -1;
    for (const auto eCode : host::kExitCodes) {
        EXPECT_GT(host::ToInt(eCode), nLast);
        nLast = host::ToInt(eCode);
        oListed.insert(std::to_string(nLast));
    }
    EXPECT_EQ(oListed, CodesOfHeader());
}

TEST(ExitCodesTest, TheReadmeTableListsEveryCodeOfTheHeaderAndNoOther)
{
    const std::string sReadme = ReadSource("README.md");
    std::set<std::string> oTable;
    const std::regex oRow(R"(\n\| (\d+|128\+N) +\| ([^|\n]+)\|)");
    for (auto it = std::sregex_iterator(sReadme.begin(), sReadme.end(), oRow);
         it != std::sregex_iterator(); ++it)
        EXPECT_TRUE(oTable.insert((*it)[1]).second) << "twice: " << (*it)[1];
    auto oExpected = CodesOfHeader();
    oExpected.insert("128+N");
    EXPECT_EQ(oTable, oExpected);
    EXPECT_NE(sReadme.find("a signal's code wins,\nthen the lowest of 3, 4 and 5"),
              std::string::npos);
}

TEST(ExitCodesTest, TheHelpListsEveryCodeOfTheHeaderInBothLanguages)
{
    for (const char* sLanguage : {"en", "de"}) {
        host::SetTextLanguage(sLanguage);
        std::istringstream oUsage(host::Usage());
        host::SetTextLanguage("en");
        std::set<std::string> oListed;
        bool bInCodes = false;
        const std::regex oLine(R"(  (\d+|128\+N)  .*)");
        std::smatch m;
        for (std::string sLine; std::getline(oUsage, sLine);) {
            if (sLine.rfind("Exit codes", 0) == 0 || sLine.rfind("Rückgabewerte", 0) == 0)
                bInCodes = true;
            else if (bInCodes && std::regex_match(sLine, m, oLine)) {
                EXPECT_TRUE(oListed.insert(m[1]).second) << sLanguage << " twice: " << m[1];
            }
        }
        auto oExpected = CodesOfHeader();
        oExpected.insert("128+N");
        EXPECT_EQ(oListed, oExpected) << sLanguage;
    }
}

} // namespace
