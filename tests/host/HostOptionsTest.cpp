#include "host/HostOptions.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

TEST(HostOptionsTest, ReadsEveryOption)
{
    const auto o = host::ParseOptions({"--profile", "/tmp/p", "--lang", "de", "--template", "Monat",
                                       "--interactive", "--client-version", "12.0.0.6423"});
    EXPECT_EQ(o.sProfile, "/tmp/p");
    EXPECT_EQ(o.sLanguage, "de");
    EXPECT_EQ(o.sTemplate, "Monat");
    EXPECT_TRUE(o.bInteractive);
    EXPECT_FALSE(o.bHelp);
    EXPECT_EQ(o.sClientVersion, "12.0.0.6423");
    EXPECT_EQ(o.sAnswers, "");
    EXPECT_EQ(o.sPrinter, "");
    EXPECT_EQ(host::ParseOptions({"--printer", "TallymanNull"}).sPrinter, "TallymanNull");
    const auto a = host::ParseOptions({"--answers", "run.txt"});
    EXPECT_EQ(a.sAnswers, "run.txt");
    EXPECT_TRUE(a.bInteractive);
}

TEST(HostOptionsTest, ClientVersionsGiveTheirMajorNumber)
{
    struct Case
    {
        const char* sVersion;
        int nMajor;
    };
    for (const auto& c : {Case{"16.0.0.0", 16}, Case{"12.0", 12}, Case{"9", 9}, Case{"", 0},
                          Case{"x.1", 0}, Case{"12.0a", 0}, Case{"1234.0", 0}})
        EXPECT_EQ(host::MajorVersionOf(c.sVersion), c.nMajor) << c.sVersion;
}

TEST(HostOptionsTest, DefaultsWithoutArguments)
{
    const auto o = host::ParseOptions({});
    EXPECT_EQ(o.sProfile, "");
    EXPECT_EQ(o.sLanguage, "en");
    EXPECT_FALSE(o.bInteractive);
    EXPECT_EQ(o.sClientVersion, "16.0.0.0");
    EXPECT_TRUE(host::ParseOptions({"--help"}).bHelp);
}

TEST(HostOptionsTest, RejectsBadArguments)
{
    const std::vector<std::vector<std::string>> cases = {
        {"--lang", "fr"},
        {"--lang"},
        {"--profile"},
        {"--profile", ""},
        {"--verbose"},
        {"extra"},
        {"--client-version", "abc"},
        {"--client-version", "7.0"},
        {"--answers"},
        {"--printer"},
    };
    for (const auto& c : cases)
        EXPECT_THROW(host::ParseOptions(c), std::invalid_argument) << c[0];
}

TEST(HostOptionsTest, TheLocaleGivesTheDefaultLanguageAndLangOverridesIt)
{
    for (const auto& [sLocale, sLanguage] : std::vector<std::pair<std::string, std::string>>{
             {"de_DE.UTF-8", "de"}, {"de_AT", "de"}, {"de", "de"}, {"en_GB.UTF-8", "en"},
             {"C.UTF-8", "en"}, {"POSIX", "en"}, {"fr_FR.UTF-8", "en"}, {"", "en"}})
        EXPECT_EQ(host::LanguageOfLocale(sLocale), sLanguage) << sLocale;
    EXPECT_EQ(host::ParseOptions({}, "de").sLanguage, "de");
    EXPECT_EQ(host::ParseOptions({"--lang", "en"}, "de").sLanguage, "en");
    EXPECT_EQ(host::ParseOptions({"--lang", "de"}, "en").sLanguage, "de");
    EXPECT_NE(host::Usage().find("LC_ALL, LC_MESSAGES and LANG"), std::string::npos);
}

TEST(HostOptionsTest, LanguageGivesLocaleAndId)
{
    EXPECT_EQ(host::LocaleOf("de"), "de-DE");
    EXPECT_EQ(host::LocaleOf("en"), "en-US");
    EXPECT_EQ(host::LanguageIdOf("de"), 1031);
    EXPECT_EQ(host::LanguageIdOf("en"), 1033);
}

} // namespace
