#include "CommonFixture.h"

#include "common/Options.h"
#include "platform/runtime/Error.h"

namespace {

class OptionsTest : public CommonFixture
{
protected:
    std::filesystem::path Ini() const { return AppData() / "Kestrova/Tallyman/settings.ini"; }
    common::Options LoadFrom(const std::string& sIni)
    {
        WriteFile(Ini(), sIni);
        common::Options oOptions;
        oOptions.SetDefaults();
        oOptions.Load();
        return oOptions;
    }
    std::string Log() const { return ReadFile(AppData() / "Kestrova/Tallyman/error.txt"); }
};

TEST_F(OptionsTest, MissingFileKeepsTheDefaults)
{
    common::Options oOptions;
    oOptions.SetDefaults();
    oOptions.Load();
    EXPECT_EQ(oOptions.ChunkSize(), 100);
    EXPECT_EQ(oOptions.RTFReportPlaceholder(), "[@kestrova report]");
    EXPECT_EQ(oOptions.PrefixHtmlClass(), "tlv_");
    EXPECT_TRUE(oOptions.ShowExplorerCommandbar());
    EXPECT_EQ(oOptions.ProductNumber(), "4729615");
    EXPECT_FALSE(std::filesystem::exists(Ini())); // loading never creates the file
}

TEST_F(OptionsTest, ChunkSizeTakesTheLeadingNumber)
{
    const std::pair<std::string, int> aCases[] = {
        {"250", 250}, {"12abc", 12}, {"abc", 0}, {"", 100}, {"2.5", 2}, {"3.5", 4}, {" 42 ", 42}};
    for (const auto& [sValue, lExpected] : aCases)
        EXPECT_EQ(LoadFrom("[default]\nChunkSize=" + sValue + "\n").ChunkSize(), lExpected)
            << sValue;
}

TEST_F(OptionsTest, CommandbarFlagReadsBooleanWordsAndNumbers)
{
    const std::pair<std::string, bool> aCases[] = {{"0", false}, {"True", true}, {"false", false},
                                                   {"1", true},  {"-1", true},   {"", true}};
    for (const auto& [sValue, bExpected] : aCases)
        EXPECT_EQ(
            LoadFrom("[default]\nShowExplorerCommandbar=" + sValue + "\n").ShowExplorerCommandbar(),
            bExpected)
            << sValue;
}

TEST_F(OptionsTest, UnreadableValueStopsLoadingAndIsLogged)
{
    const auto oOptions = LoadFrom("[Default]\nchunksize=7\nPrefixHtmlClass=my_\n"
                                   "ShowExplorerCommandbar=yes\n");
    EXPECT_EQ(oOptions.ChunkSize(), 7);             // read before the failure
    EXPECT_EQ(oOptions.PrefixHtmlClass(), "my_");   // likewise
    EXPECT_TRUE(oOptions.ShowExplorerCommandbar()); // the failing key keeps its default
    EXPECT_NE(Log().find("  Src: Tolvane2; Tolvane2.Options.Load (6)\r\n"), std::string::npos);
    EXPECT_NE(Log().find("  No : 13\r\n"), std::string::npos);
}

TEST_F(OptionsTest, LongValuesAreCutByTheReadBuffer)
{
    const std::string sLong(300, 'p');
    EXPECT_EQ(LoadFrom("[default]\nRTFReportPlaceholder=" + sLong + "\n").RTFReportPlaceholder(),
              sLong.substr(0, 254));
}

TEST_F(OptionsTest, SaveWritesOnlyTheCommandbarFlagAndKeepsTheRest)
{
    common::Options oOptions;
    oOptions.SetDefaults();
    oOptions.SetShowExplorerCommandbar(false);
    oOptions.SetChunkSize(5);
    oOptions.Save(); // creates the folder and the file
    EXPECT_EQ(ReadFile(Ini()).find("ChunkSize"), std::string::npos);
    EXPECT_FALSE(LoadFrom(ReadFile(Ini())).ShowExplorerCommandbar());

    WriteFile(Ini(),
              "; my settings\n[default]\nChunkSize=33\nShowExplorerCommandbar=0\n[other]\nx=1\n");
    oOptions.SetShowExplorerCommandbar(true);
    oOptions.Save();
    EXPECT_EQ(ReadFile(Ini()),
              "; my settings\n[default]\nChunkSize=33\nShowExplorerCommandbar=1\n[other]\nx=1\n");
}

TEST_F(OptionsTest, SaveRaisesWhenTheFileCannotBeWritten)
{
    WriteFile(AppData() / "Kestrova/Tallyman/settings.ini/blocker", "x"); // a folder in its place
    common::Options oOptions;
    oOptions.SetDefaults();
    try {
        oOptions.Save();
        ADD_FAILURE() << "Save reported success";
    } catch (const platform::runtime::Error& e) {
        EXPECT_NE(e.Source().find("; Tolvane2.Options.Save (2)"), std::string::npos) << e.Source();
    }
}

} // namespace
