// The order of the automatic actions after a save, with recorders in place of the actions.
#include "actions/detail/AutoRun.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace actions::test {

namespace {

using detail::AutoStep;
using detail::AutoSteps;

struct AutoCase
{
    const char* sName;
    bool bSkipSave;
    std::string sMarked; // letters of the automatic actions: s(ave) o(pen) m(ail) p(rint) d(elete)
    bool bSaveWrites;
    std::vector<std::string> aExpected;
};

std::vector<std::string> RunCase(const AutoCase& c)
{
    std::vector<std::string> aRun;
    std::string sSavedAs = c.bSkipSave && c.bSaveWrites ? "earlier.csv" : "";
    const auto step = [&](char ch, const char* sName, std::function<void()> fnMore = {}) {
        return AutoStep{c.sMarked.find(ch) != std::string::npos, [&aRun, sName, fnMore] {
                            aRun.push_back(sName);
                            if (fnMore)
                                fnMore();
                        }};
    };
    AutoSteps oSteps;
    oSteps.save = step('s', "save", [&] { sSavedAs = c.bSaveWrites ? "report.csv" : ""; });
    oSteps.fnSavedAs = [&] { return sSavedAs; };
    oSteps.open = step('o', "open");
    oSteps.send = step('m', "send");
    oSteps.print = step('p', "print");
    oSteps.del = step('d', "delete");
    detail::RunAutomatic(oSteps, c.bSkipSave);
    return aRun;
}

TEST(AutoRunTest, SaveThenOpenAloneOrSendPrintDeleteInOrder)
{
    const std::vector<AutoCase> aCases = {
        {"all after a read", false, "sompd", true, {"save", "open"}},
        {"no open", false, "smpd", true, {"save", "send", "print", "delete"}},
        {"reverse marks", false, "dpms", true, {"save", "send", "print", "delete"}},
        {"print and delete", false, "spd", true, {"save", "print", "delete"}},
        {"save wrote nothing", false, "sompd", false, {"save"}},
        {"save not automatic", false, "mpd", false, {}},
        {"after a manual save", true, "smpd", true, {"send", "print", "delete"}},
        {"manual save wrote nothing", true, "sompd", false, {}},
        {"only open", true, "o", true, {"open"}},
    };
    for (const auto& c : aCases)
        EXPECT_EQ(RunCase(c), c.aExpected) << c.sName;
}

TEST(AutoRunTest, AnErrorStopsTheActionsAfterIt)
{
    std::vector<std::string> aRun;
    AutoSteps oSteps;
    oSteps.fnSavedAs = [] { return std::string("report.csv"); };
    oSteps.send = {true, [&] { aRun.push_back("send"); }};
    oSteps.print = {true, [] { throw std::runtime_error("printer gone"); }};
    oSteps.del = {true, [&] { aRun.push_back("delete"); }};
    EXPECT_THROW(detail::RunAutomatic(oSteps, true), std::runtime_error);
    EXPECT_EQ(aRun, std::vector<std::string>{"send"});
}

} // namespace

} // namespace actions::test
