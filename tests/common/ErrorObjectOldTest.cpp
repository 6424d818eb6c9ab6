#include "CommonFixture.h"

#include "common/ErrorHandling.h"
#include "common/ErrorObjectOld.h"
#include "platform/runtime/Error.h"

#include <filesystem>
#include <string>

namespace rt = platform::runtime;
using common::ErrorObjectOld;

namespace {

using ErrorObjectOldTest = CommonFixture;

// An error raised two procedures below the caller, each handler capturing and raising again.
void Outer(const rt::Error& oError)
{
    common::Rethrowing<ErrorObjectOld>("Outer", "Q", [&](int& nLine) {
        nLine = 5;
        common::Rethrowing<ErrorObjectOld>("Inner", "P", [&](int& nInner) {
            nInner = 2;
            throw oError;
        });
    });
}

rt::Error Caught(const rt::Error& oError)
{
    try {
        Outer(oError);
    } catch (const rt::Error& e) {
        return e;
    }
    ADD_FAILURE() << "the error did not come through";
    return rt::Error(5);
}

TEST_F(ErrorObjectOldTest, ErrorPassesUpWithTheWholeSourceChain)
{
    rt::Error oRaised(1234, "", "Something failed", "help.chm", 77);
    oRaised.SetLastDllError(13);
    const rt::Error e = Caught(oRaised);
    EXPECT_EQ(e.Number(), 1234);
    EXPECT_EQ(e.Description(), "Something failed");
    EXPECT_EQ(e.HelpFile(), "help.chm");
    EXPECT_EQ(e.HelpContext(), 77);
    EXPECT_EQ(e.LastDllError(), 13);
    // An error without a source of its own starts the chain with the library's name.
    EXPECT_EQ(e.Source(), "Wicket; Wicket.Inner.P (2); Wicket.Outer.Q (5)");
}

TEST_F(ErrorObjectOldTest, AnErrorsOwnSourceStartsTheChain)
{
    const rt::Error e = Caught(rt::Error(rt::errors::FileNotFound, "Spooler"));
    EXPECT_EQ(e.Source(), "Spooler; Wicket.Inner.P (2); Wicket.Outer.Q (5)");
    EXPECT_EQ(e.Description(), rt::ErrorText(rt::errors::FileNotFound));
}

TEST_F(ErrorObjectOldTest, NumberZeroIsRaisedAs800A0000)
{
    ErrorObjectOld oError;
    oError.SetNumber(0);
    oError.SetDescription("no number");
    try {
        oError.ReRaise();
    } catch (const rt::Error& e) {
        EXPECT_EQ(e.Number(), -2146828288);
        EXPECT_EQ(e.Description(), "no number");
        return;
    }
    FAIL() << "ReRaise must raise";
}

TEST_F(ErrorObjectOldTest, LogErrorOnlyCapturesAndWritesNothing)
{
    ErrorObjectOld oError;
    bool bFlag = false;
    try {
        rt::Raise(rt::errors::TypeMismatch);
    } catch (...) {
        oError.LogError("Wicket.M.P (1)", bFlag);
    }
    EXPECT_TRUE(bFlag);
    EXPECT_EQ(oError.Number(), rt::errors::TypeMismatch);
    EXPECT_EQ(oError.Source(), "Wicket; Wicket.M.P (1)");
    EXPECT_FALSE(oError.LogFileExists());
    EXPECT_EQ(oError.GetLogFileName(), "");
    EXPECT_TRUE(std::filesystem::is_empty(AppData())) << "the older error object keeps no log";
}

TEST_F(ErrorObjectOldTest, ClearAndSettersReplaceTheCapturedValues)
{
    ErrorObjectOld oError;
    oError.SetNumber(7);
    oError.SetSource("S");
    oError.SetDescription("D");
    oError.SetHelpFile("H");
    oError.SetHelpContext(3);
    oError.SetLastDLLError(2);
    EXPECT_EQ(oError.Number(), 7);
    EXPECT_EQ(oError.Source(), "S");
    EXPECT_EQ(oError.Description(), "D");
    EXPECT_EQ(oError.HelpFile(), "H");
    EXPECT_EQ(oError.HelpContext(), 3);
    EXPECT_EQ(oError.LastDLLError(), 2);
    oError.Clear();
    EXPECT_EQ(oError.Number(), 0);
    EXPECT_EQ(oError.Source(), "");
    EXPECT_EQ(oError.Description(), "");
    EXPECT_EQ(oError.HelpFile(), "");
    EXPECT_EQ(oError.HelpContext(), 0);
    EXPECT_EQ(oError.LastDLLError(), 0);
}

TEST_F(ErrorObjectOldTest, RegistryPathNamesTheLibrarysTitle)
{
    EXPECT_EQ(ErrorObjectOld().GetRegistryPath(), "Software\\Kestrova\\Wicket615\\Settings\\");
}

} // namespace
