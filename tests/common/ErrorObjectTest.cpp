#include "CommonFixture.h"

#include "common/ErrorHandling.h"
#include "common/ErrorObject.h"
#include "common/modLanguage.h"
#include "platform/runtime/Date.h"
#include "platform/runtime/Error.h"

namespace rt = platform::runtime;
using common::ErrorObject;

namespace {

class ErrorObjectTest : public CommonFixture
{
protected:
    void SetUp() override
    {
        CommonFixture::SetUp();
        rt::SetClock([] { return rt::Date(rt::DateSerial(2026, 3, 7).Serial() + 0.5); });
    }
    void TearDown() override
    {
        rt::SetClock({});
        CommonFixture::TearDown();
    }
    std::filesystem::path LogFile() const { return AppData() / "Kestrova/Tallyman/error.txt"; }

    // Logs a type mismatch raised in procedure M.P, as an entry point would.
    static void LogTypeMismatch()
    {
        common::Logging("M", "P", [](int& nLine) {
            nLine = 3;
            rt::Raise(rt::errors::TypeMismatch);
        });
    }
    static std::string TypeMismatchRecord()
    {
        // The fixture's German locale: the runtime gives its text in German.
        return "07.03.2026 12:00:00\r\n  App: Tolvane2\r\n  Msg: Typen unverträglich\r\n  No : "
               "13\r\n"
               "  Src: Tolvane2; Tolvane2.M.P (3)\r\n\r\n";
    }
};

TEST_F(ErrorObjectTest, LogRecordHasTheExactLayout)
{
    LogTypeMismatch();
    EXPECT_EQ(ReadFile(LogFile()), TypeMismatchRecord());
    LogTypeMismatch();
    EXPECT_EQ(ReadFile(LogFile()), TypeMismatchRecord() + TypeMismatchRecord());
}

TEST_F(ErrorObjectTest, LogIsAppendedUpToTheLimitAndThenRewrittenWithItsNewestCharacters)
{
    const std::string sRecord = TypeMismatchRecord();
    auto CountChars = [](const std::string& sText) {
        std::size_t nChars = 0;
        for (const char c : sText)
            nChars += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
        return nChars;
    };
    // "ä" is two bytes but one character: the limit counts characters.
    std::string sOld;
    while (sOld.size() < 1000)
        sOld += "ä";
    sOld += std::string(ErrorObject::kMaxLogChars - CountChars(sRecord) - 500, 'x');
    WriteFile(LogFile(), sOld);

    LogTypeMismatch(); // old + record is exactly the limit: appended
    EXPECT_EQ(ReadFile(LogFile()), sOld + sRecord);

    LogTypeMismatch(); // one record more: rewritten with the newest characters
    const std::string sText = ReadFile(LogFile());
    EXPECT_TRUE(sText.ends_with(sRecord + sRecord));
    EXPECT_EQ(CountChars(sText), ErrorObject::kMaxLogChars);
    // Exactly the oldest characters went: the text starts with the remaining umlauts.
    const std::size_t nUmlautsLeft = 500 - CountChars(sRecord);
    EXPECT_EQ(sText.substr(0, 2 * nUmlautsLeft + 1),
              std::string(sOld.substr(0, 2 * nUmlautsLeft)) + "x");

    LogTypeMismatch(); // the limit still holds after the first rewrite
    const std::string sAfter = ReadFile(LogFile());
    EXPECT_EQ(CountChars(sAfter), ErrorObject::kMaxLogChars);
    EXPECT_TRUE(sAfter.ends_with(sRecord + sRecord + sRecord));
}

TEST_F(ErrorObjectTest, SourceChainRunsFromTheInnermostProcedureToTheEntryPoint)
{
    ErrorObject oSeen;
    common::Logging(
        "frmMain", "Entry",
        [] {
            common::Rethrowing("Views", "Middle", [](int& nLine) {
                nLine = 5;
                common::Rethrowing("Inner", "Deepest", [](int& nLine) {
                    nLine = 2;
                    rt::Raise(rt::errors::DivisionByZero);
                });
            });
        },
        [&](ErrorObject& oError) { oSeen = oError; });
    EXPECT_EQ(oSeen.Number(), 11);
    EXPECT_EQ(oSeen.Source(), "Tolvane2; Tolvane2.Inner.Deepest (2); Tolvane2.Views.Middle (5); "
                              "Tolvane2.frmMain.Entry (0)");
    EXPECT_NE(ReadFile(LogFile()).find("  Src: " + oSeen.Source() + "\r\n"), std::string::npos);
}

TEST_F(ErrorObjectTest, ReRaiseKeepsTheFieldsAndTurnsNumberZeroIntoTheRuntimeBase)
{
    struct Case
    {
        std::int32_t lNumber;
        std::int32_t lRaised;
    };
    for (const Case c :
         {Case{0, static_cast<std::int32_t>(0x800A0000u)}, Case{-718605812, -718605812}}) {
        ErrorObject oError;
        bool bFlag = false;
        try {
            throw rt::Error(c.lNumber, "Lib.Cls.Proc (1)", "what went wrong", "help.chm", 42);
        } catch (...) {
            oError.CaptureError("Tolvane2.X.Y (7)", bFlag);
        }
        EXPECT_TRUE(bFlag);
        try {
            oError.ReRaise();
            ADD_FAILURE() << "ReRaise returned";
        } catch (const rt::Error& e) {
            EXPECT_EQ(e.Number(), c.lRaised);
            EXPECT_EQ(e.Source(), "Lib.Cls.Proc (1); Tolvane2.X.Y (7)");
            EXPECT_EQ(e.Description(), "what went wrong");
            EXPECT_EQ(e.HelpFile(), "help.chm");
            EXPECT_EQ(e.HelpContext(), 42);
        }
    }
}

TEST_F(ErrorObjectTest, PlaceholdersAreFilledInAscendingOrderAndBarsBreakLines)
{
    const std::vector<std::string> vEleven = {"a", "b", "c", "d", "e", "f",
                                              "g", "h", "i", "j", "k"};
    struct Case
    {
        std::string sText;
        std::vector<std::string> vArgs;
        std::string sExpected;
    };
    const Case aCases[] = {
        {"#0 und #1, wieder #0", {"A", "B"}, "A und B, wieder A"},
        {"#0 und #1", {}, "#0 und #1"},
        {"Zeile 1|Zeile 2", {}, "Zeile 1\r\nZeile 2"},
        {"#1|#0", {"x", "y"}, "y\r\nx"},
        // "#10" is first hit by the replacement of "#1".
        {"#10", vEleven, "b0"},
        {"#0#0", {"#0"}, "#0#0"},
    };
    for (const auto& c : aCases)
        EXPECT_EQ(ErrorObject::FillPlaceholders(c.sText, c.vArgs), c.sExpected) << c.sText;
}

TEST_F(ErrorObjectTest, MessageTextsComeFromTheResourcesOfTheCurrentLanguage)
{
    ErrorObject oError;
    common::modLanguage::SetLanguageID(1033);
    EXPECT_EQ(oError.GetMessageText(-718605832 + 20, {"pdf"}),
              "The file type pdf won't be supported.");
    common::modLanguage::SetLanguageID(1031);
    EXPECT_EQ(oError.GetMessageText(-718605832 + 20, {"pdf"}),
              "Der Dateityp pdf wird nicht unterstützt.");
    // A number without a message gives the failure's description instead of raising.
    EXPECT_NE(oError.GetMessageText(-718605832 + 9999).find("9999"), std::string::npos);
}

TEST_F(ErrorObjectTest, LogLivesInTheDeliverablesDataFolder)
{
    ErrorObject oError;
    EXPECT_EQ(oError.GetLogFileName(), LogFile().string());
    EXPECT_EQ(oError.LogFilePath("Other"), (AppData() / "Kestrova/Other/").string());
    EXPECT_FALSE(oError.LogFileExists());
    LogTypeMismatch();
    EXPECT_TRUE(oError.LogFileExists());
}

TEST_F(ErrorObjectTest, UnwritableLogLosesTheRecordSilently)
{
    // The data folder's place is taken by a file: nothing can be written, nothing is raised.
    WriteFile(AppData() / "Kestrova", "not a folder");
    EXPECT_NO_THROW(LogTypeMismatch());
    EXPECT_FALSE(ErrorObject().LogFileExists());
}

} // namespace
