#include "host/HostOptions.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

TEST(HostOptionsTest, ReadsEveryOption)
{
    const auto o = host::ParseOptions(
        {"--profile", "/tmp/p", "--lang", "de", "--template", "Monat", "--interactive"});
    EXPECT_EQ(o.sProfile, "/tmp/p");
    EXPECT_EQ(o.sLanguage, "de");
    EXPECT_EQ(o.sTemplate, "Monat");
    EXPECT_TRUE(o.bInteractive);
    EXPECT_FALSE(o.bHelp);
}

TEST(HostOptionsTest, DefaultsWithoutArguments)
{
    const auto o = host::ParseOptions({});
    EXPECT_EQ(o.sProfile, "");
    EXPECT_EQ(o.sLanguage, "en");
    EXPECT_FALSE(o.bInteractive);
    EXPECT_TRUE(host::ParseOptions({"--help"}).bHelp);
}

TEST(HostOptionsTest, RejectsBadArguments)
{
    const std::vector<std::vector<std::string>> cases = {
        {"--lang", "fr"}, {"--lang"}, {"--profile"}, {"--profile", ""}, {"--verbose"}, {"extra"},
    };
    for (const auto& c : cases)
        EXPECT_THROW(host::ParseOptions(c), std::invalid_argument) << c[0];
}

TEST(HostOptionsTest, LanguageGivesLocaleAndId)
{
    EXPECT_EQ(host::LocaleOf("de"), "de-DE");
    EXPECT_EQ(host::LocaleOf("en"), "en-US");
    EXPECT_EQ(host::LanguageIdOf("de"), 1031);
    EXPECT_EQ(host::LanguageIdOf("en"), 1033);
}

} // namespace
