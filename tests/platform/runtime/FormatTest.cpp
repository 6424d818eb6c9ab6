#include "platform/runtime/Format.h"

#include "RuntimeFixture.h"

#include <gtest/gtest.h>

namespace rt = platform::runtime;

namespace {

class FormatTest : public RuntimeFixture
{
protected:
    // Tuesday, 5 March 2024, 14:07:09.
    const rt::Date when = rt::Date::FromLinear(rt::DateSerial(2024, 3, 5).Serial() +
                                               rt::TimeSerial(14, 7, 9).Serial());

    struct Case
    {
        rt::Variant value;
        const char* format;
        const char* german;
        const char* english;
    };

    void ExpectBoth(const std::vector<Case>& cases)
    {
        for (const Case& c : cases) {
            platform::locale::SetCurrent("de-DE");
            EXPECT_EQ(rt::Format(c.value, c.format), c.german) << c.format;
            platform::locale::SetCurrent("en-US");
            EXPECT_EQ(rt::Format(c.value, c.format), c.english) << c.format;
        }
    }
};

} // namespace

TEST_F(FormatTest, NumberPatternsInBothLocales)
{
    ExpectBoth({
        {1234.5, "0", "1235", "1235"},
        {2.5, "0", "3", "3"},
        {-2.5, "0", "-3", "-3"},
        {1234.567, "0.00", "1234,57", "1234.57"},
        {0.125, "0.00", "0,13", "0.13"},
        {1.005, "0.00", "1,01", "1.01"},
        {1234567.891, "#,##0", "1.234.568", "1,234,568"},
        {1234567.891, "#,##0.00", "1.234.567,89", "1,234,567.89"},
        {999.999, "#,##0.00", "1.000,00", "1,000.00"},
        {0.0, "#,##0.00", "0,00", "0.00"},
        {0.256, "0%", "26%", "26%"},
        {0.5, "#.##", ",5", ".5"},
        {5, "#.##", "5,", "5."},
        {5, "0.0#", "5,0", "5.0"},
        {5.678, "0.0#", "5,68", "5.68"},
        {7, "000", "007", "007"},
        {-5, "0;(0)", "(5)", "(5)"},
        {0, "0;(0);\"zero\"", "zero", "zero"},
        {-0.001, "0.00", "0,00", "0.00"},
        {1234567, "#,##0,", "1.235", "1,235"},
        {12345.678, "0.00E+00", "1,23E+04", "1.23E+04"},
        {0.00012, "0.0E-00", "1,2E-04", "1.2E-04"},
        {9.999, "0.00E+00", "1,00E+01", "1.00E+01"},
        {12, "\"Nr. \"000", "Nr. 012", "Nr. 012"},
        {12, "0\\x", "12x", "12x"},
        {rt::Currency::FromScaled(12345), "0.000", "1,235", "1.235"},
        {true, "0", "-1", "-1"},
    });
}

TEST_F(FormatTest, NamedNumberFormats)
{
    ExpectBoth({
        {0.1234, "Percent", "12,34%", "12.34%"},
        {1234.5, "Fixed", "1234,50", "1234.50"},
        {1234.5, "Standard", "1.234,50", "1,234.50"},
        {-1234.5, "standard", "-1.234,50", "-1,234.50"},
        {1234.5, "General Number", "1234,5", "1234.5"},
        {1234.5, "Currency", "1.234,50 €", "$1,234.50"},
        {-1234.5, "Currency", "-1.234,50 €", "-$1,234.50"},
        {1234.5, "Scientific", "1,23E+03", "1.23E+03"},
        {true, "Yes/No", "Yes", "Yes"},
        {0, "On/Off", "Off", "Off"},
        {-1, "True/False", "True", "True"},
    });
}

TEST_F(FormatTest, DatePatternsInBothLocales)
{
    ExpectBoth({
        {when, "dd.mm.yyyy", "05.03.2024", "05.03.2024"},
        {when, "yyyy-mm-dd", "2024-03-05", "2024-03-05"},
        {when, "hh:nn", "14:07", "14:07"},
        {when, "hh:nn:ss", "14:07:09", "14:07:09"},
        {when, "hh:mm", "14:07", "14:07"},
        {when, "d.m.yy", "5.3.24", "5.3.24"},
        {when, "ddd", "Di", "Tue"},
        {when, "dddd", "Dienstag", "Tuesday"},
        {when, "mmm", "Mär", "Mar"},
        {when, "mmmm", "März", "March"},
        {when, "mm mmmm", "03 März", "03 March"},
        {when, "w dddd", "3 Dienstag", "3 Tuesday"},
        {when, "ww", "10", "10"},
        {when, "q", "1", "1"},
        {when, "y", "65", "65"},
        {when, "yyyymmddhhnnss", "20240305140709", "20240305140709"},
        {when, "h:nn AM/PM", "2:07 PM", "2:07 PM"},
        {when, "h:nn a/p", "2:07 p", "2:07 p"},
        {when, "dd/mm/yyyy", "05.03.2024", "05/03/2024"},
        {when, "\"Datum: \"dd.mm.yyyy", "Datum: 05.03.2024", "Datum: 05.03.2024"},
        {when, "\\d\\a\\y d", "day 5", "day 5"},
        {when, "DD.MM.YYYY HH:NN", "05.03.2024 14:07", "05.03.2024 14:07"},
        {when, "ddddd", "05.03.2024", "3/5/2024"},
        {when, "ttttt", "14:07:09", "2:07:09 PM"},
        {when, "c", "05.03.2024 14:07:09", "3/5/2024 2:07:09 PM"},
        {45356, "dd.mm.yyyy", "05.03.2024", "05.03.2024"},
    });
    platform::locale::SetCurrent("de-DE");
    EXPECT_EQ(rt::Format("2024-03-05", "dd.mm.yyyy"), "05.03.2024");
    EXPECT_EQ(rt::Format("05.03.2024", "yyyy-mm-dd"), "2024-03-05");
    EXPECT_EQ(rt::Format("no date", "dd.mm.yyyy"), "no date");
    EXPECT_EQ(rt::Format("abc", "0.00"), "abc");
    EXPECT_EQ(rt::Format("1234,5", "0.00"), "1234,50");
}

TEST_F(FormatTest, NamedDateFormats)
{
    ExpectBoth({
        {when, "Short Date", "05.03.2024", "3/5/2024"},
        {when, "Long Date", "Dienstag, 5. März 2024", "Tuesday, March 5, 2024"},
        {when, "Short Time", "14:07", "14:07"},
        {when, "Long Time", "14:07:09", "2:07:09 PM"},
        {when, "Medium Time", "02:07 PM", "02:07 PM"},
        {when, "General Date", "05.03.2024 14:07:09", "3/5/2024 2:07:09 PM"},
        {rt::DateSerial(2024, 3, 5), "General Date", "05.03.2024", "3/5/2024"},
    });
}

TEST_F(FormatTest, WeekNumbersFollowTheirArguments)
{
    const rt::Date sunday = rt::DateSerial(2024, 3, 3);
    EXPECT_EQ(rt::Format(sunday, "ww"), "10");
    EXPECT_EQ(rt::Format(sunday, "ww", rt::DayOfWeek::Monday, rt::FirstWeekOfYear::FirstFourDays),
              "9");
    EXPECT_EQ(rt::Format(sunday, "w", rt::DayOfWeek::Monday), "7");
}

TEST_F(FormatTest, EmptyNullAndNoPattern)
{
    EXPECT_EQ(rt::Format(rt::Variant(), "0.00"), "");
    EXPECT_EQ(rt::Format(rt::Null{}, "dd.mm.yyyy"), "");
    EXPECT_EQ(rt::Format(1.5), "1,5");
    EXPECT_EQ(rt::Format(when), "05.03.2024 14:07:09");
    EXPECT_EQ(rt::Format("text"), "text");
}
