// The runtime's numbers under a process locale with a decimal comma: what a desktop's
// regional settings give a process that takes its locale from the environment (as a
// QApplication does). The runtime's regional settings come from platform::locale alone.
#include "platform/runtime/CNotation.h"
#include "platform/runtime/Conversion.h"
#include "platform/runtime/Currency.h"
#include "platform/runtime/Format.h"

#include "RuntimeFixture.h"
#include "tests/platform/ProcessLocale.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <functional>
#include <limits>
#include <string>
#include <vector>

namespace rt = platform::runtime;

namespace {

using platformtest::ProcessLocale;
constexpr const char* kGerman = platformtest::kGermanProcessLocale;

class ProcessLocaleTest : public RuntimeFixture
{
};

// One conversion with the text it must give, written out by hand.
struct Expected
{
    const char* sWhat;
    const char* sLocale; // platform::locale
    std::function<std::string()> fnText;
    std::string sExpected;
};

std::string Text(double d)
{
    return rt::CStr(rt::Variant(d));
}

std::vector<Expected> Conversions()
{
    return {
        {"CDbl of a German average", "de-DE", [] { return Text(rt::CDbl("7089,5")); }, "7089,5"},
        {"CDbl of a German share", "de-DE", [] { return Text(rt::CDbl("33,33")); }, "33,33"},
        {"CDbl with grouping and exponent", "de-DE", [] { return Text(rt::CDbl("1.234,5E1")); },
         "12345"},
        {"CDbl in English", "en-US", [] { return Text(rt::CDbl("12,344.4")); }, "12344.4"},
        {"Val takes the point", "de-DE", [] { return Text(rt::Val("7089.5")); }, "7089,5"},
        {"Val with a sign and exponent", "en-US", [] { return Text(rt::Val("+2.5e-3")); },
         "0.0025"},
        {"Format of a text number", "de-DE", [] { return rt::Format("7089,5", "0.00"); },
         "7089,50"},
        {"Format of a share", "de-DE", [] { return rt::Format(1.0 / 3.0, "0.00%"); }, "33,33%"},
        {"CStr of a double", "de-DE", [] { return Text(12344.4); }, "12344,4"},
        {"CCur of a text", "de-DE", [] { return std::to_string(rt::CCur("0,00015").Scaled()); },
         "2"},
        {"Currency of a double", "en-US",
         [] { return std::to_string(rt::Currency::FromDouble(2.00005).Scaled()); }, "20000"},
        {"IsNumeric", "de-DE", [] { return rt::IsNumeric("0,5") ? "yes" : "no"; }, "yes"},
    };
}

} // namespace

TEST_F(ProcessLocaleTest, ConversionsGiveTheirTextsUnderAGermanProcessLocale)
{
    for (const char* sProcess : {"C", kGerman}) {
        const ProcessLocale oProcess(sProcess);
        ASSERT_TRUE(oProcess.Set()) << sProcess << " is not generated (scripts/install-deps.sh)";
        for (const Expected& c : Conversions()) {
            platform::locale::SetCurrent(c.sLocale);
            EXPECT_EQ(c.fnText(), c.sExpected) << c.sWhat << " under " << sProcess;
        }
    }
}

TEST_F(ProcessLocaleTest, CNotationIsTheCLibrarysInTheCLocale)
{
    // The reference is the C library itself, asked in the C locale; the notation must give
    // the same under the German locale, where the C library writes and reads a comma.
    const double aValues[] = {0.0,
                              -0.0,
                              0.05,
                              0.15,
                              12.25,
                              -7089.5,
                              1.0 / 3,
                              2.0e-7,
                              1e22,
                              123456789.125,
                              1.7976931348623157e308,
                              5e-324};
    std::vector<std::string> aFixed, aScientific;
    for (double d : aValues) {
        char sFixed[400], sScientific[64];
        std::snprintf(sFixed, sizeof sFixed, "%.1f", d);
        std::snprintf(sScientific, sizeof sScientific, "%.14e", d);
        aFixed.push_back(sFixed);
        aScientific.push_back(sScientific);
    }
    const ProcessLocale oProcess(kGerman);
    ASSERT_TRUE(oProcess.Set()) << kGerman << " is not generated (scripts/install-deps.sh)";
    char sComma[16];
    std::snprintf(sComma, sizeof sComma, "%.1f", 0.5);
    ASSERT_STREQ(sComma, "0,5") << "the C library does not follow the process locale";
    for (std::size_t i = 0; i < std::size(aValues); ++i) {
        EXPECT_EQ(rt::FixedNotation(aValues[i], 1), aFixed[i]);
        EXPECT_EQ(rt::ScientificNotation(aValues[i], 14), aScientific[i]);
    }
    EXPECT_EQ(rt::FixedNotation(297.0, 1) + "mm", "297.0mm");
    EXPECT_EQ(rt::FixedNotation(3.5, 6), "3.500000");
}

TEST_F(ProcessLocaleTest, CNotationReadsAsStrtodReadsInTheCLocale)
{
    const double dInf = std::numeric_limits<double>::infinity();
    const struct
    {
        const char* sText;
        std::optional<double> expected;
    } cases[] = {
        {"7089.5", 7089.5}, {"-0.25", -0.25},    {"+3", 3.0},       {"  12", 12.0},
        {".5", 0.5},        {"5.", 5.0},         {"1e3", 1000.0},   {"2.5E-2", 0.025},
        {"1e400", dInf},    {"-1e400", -dInf},   {"1e-400", 0.0},   {"0.0001e-330", 0.0},
        {"1000e306", dInf}, {"0.001e312", dInf}, {"0.1e-323", 0.0}, {"4.9e-324", 5e-324},
        {"7089,5", {}},     {"12 ", {}},         {"", {}},          {"-", {}},
        {"+-1", {}},        {"inf", {}},         {"nan", {}},       {"1e", {}},
        {".", {}},          {"1.2.3", {}},
    };
    const ProcessLocale oProcess(kGerman);
    ASSERT_TRUE(oProcess.Set()) << kGerman << " is not generated (scripts/install-deps.sh)";
    for (const auto& c : cases) {
        const auto value = rt::ParseNotation(c.sText);
        ASSERT_EQ(value.has_value(), c.expected.has_value()) << '"' << c.sText << '"';
        if (value) {
            EXPECT_EQ(*value, *c.expected) << '"' << c.sText << '"';
            EXPECT_EQ(std::signbit(*value), std::signbit(*c.expected)) << c.sText;
        }
    }
}
