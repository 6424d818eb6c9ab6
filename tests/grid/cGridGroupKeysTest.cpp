// Group keys made while the rows are written: they must equal the keys read back from the
// finished rows, also where a record takes further rows or a value is no date.
#include "ReportFixture.h"

#include "platform/runtime/Date.h"

namespace rt = platform::runtime;
using namespace engine;

namespace {

const std::string kCategories = "{00020329-0000-0000-C000-000000000046}/Keywords";

class cGridGroupKeysTest : public ReportFixture
{
protected:
    void StartView()
    {
        oView.AddColumn("Subject", "Betreff", 8, 1);
        oView.AddColumn("Start", "Beginn", 7, 5);
        oView.AddColumn(kCategories, "Kategorien", 12, 11);
        oView.AddColumn("Amount", "Betrag", 5, 1, 2);
    }
    void StartRecord(const std::string& sSubject, rt::Variant vStart,
                     const std::vector<std::string>& aCats, double dAmount)
    {
        AddRecord({{"Subject", PT_STRING8, rt::Variant(sSubject)},
                   {"Start", PT_SYSTIME, std::move(vStart)},
                   {kCategories, PT_MV_STRING8, List(aCats)},
                   {"Amount", PT_DOUBLE, rt::Variant(dAmount)}});
    }
};

struct KeyCase
{
    const char* sName;
    std::vector<std::int32_t> aLevels; // from level 0: Start by this interval, 0: keywords
    std::vector<std::string> aExpected;
};

TEST_F(cGridGroupKeysTest, DateKeysHoldForEveryRowOfARecord)
{
    const rt::Date d1 = rt::Date(rt::DateSerial(2024, 3, 4).Serial() + (9 * 60 + 30) / 1440.0);
    const rt::Date d2 = rt::Date(rt::DateSerial(2024, 3, 4).Serial() + (14 * 60 + 0) / 1440.0);
    const rt::Date d3 = rt::Date(rt::DateSerial(2023, 3, 5).Serial() + (9 * 60 + 45) / 1440.0);
    const std::vector<KeyCase> aCases{
        // A keywords level before the date levels: the record's second row, under "B",
        // keeps its year and month.
        {"keywords, year, month",
         {0, 6, 4},
         {"S0|Total || | |7,00", "S8|Kategorien: A|| | |3,00", "S9|Beginn: 2023|| | |2,00",
          "S10|Beginn: März|| | |2,00", "D||c|05.03.2023 09:45|A|2", "S9|Beginn: 2024|| | |1,00",
          "S10|Beginn: März|| | |1,00", "D||a|04.03.2024 09:30|A|1", "S8|Kategorien: B|| | |5,00",
          "S9|Beginn: 2024|| | |5,00", "S10|Beginn: März|| | |5,00", "D||a|04.03.2024 09:30|B|1",
          "D||b|04.03.2024 14:00|B|4"}},
        // Two levels on one date column, the keywords level last.
        {"year, month, keywords",
         {6, 4, 0},
         {"S0|Total || | |7,00", "S8|Beginn: 2023|| | |2,00", "S9|Beginn: März|| | |2,00",
          "S10|Kategorien: A|| | |2,00", "D||c|05.03.2023 09:45|A|2", "S8|Beginn: 2024|| | |5,00",
          "S9|Beginn: März|| | |5,00", "S10|Kategorien: A|| | |1,00", "D||a|04.03.2024 09:30|A|1",
          "S10|Kategorien: B|| | |5,00", "D||a|04.03.2024 09:30|B|1", "D||b|04.03.2024 14:00|B|4"}},
        // The hour joins days and years; the day of the month joins months and years.
        {"hour",
         {1},
         {"S0|Total || | |7,00", "S8|Beginn: Stunde 09|| | |3,00", "D||a|04.03.2024 09:30|A;B|1",
          "D||c|05.03.2023 09:45|A|2", "S8|Beginn: Stunde 14|| | |4,00",
          "D||b|04.03.2024 14:00|B|4"}},
        {"day",
         {2},
         {"S0|Total || | |7,00", "S8|Beginn: Tag 04|| | |5,00", "D||a|04.03.2024 09:30|A;B|1",
          "D||b|04.03.2024 14:00|B|4", "S8|Beginn: Tag 05|| | |2,00", "D||c|05.03.2023 09:45|A|2"}},
    };
    for (const KeyCase& c : aCases) {
        TestView oFresh;
        oView = oFresh;
        oView.oFields = std::make_shared<views::GridFields>();
        oView.oFilter = std::make_shared<engine::Filter>();
        oRecords = std::make_shared<engine::Records>();
        StartView();
        for (std::size_t L = 0; L < c.aLevels.size(); ++L) {
            if (c.aLevels[L] == 0) {
                oView.Group(int(L), kCategories);
            } else {
                oView.Group(int(L), "Start", c.aLevels[L]);
            }
        }
        oView.Sort(0, "Subject");
        StartRecord("a", rt::Variant(d1), {"A", "B"}, 1);
        StartRecord("b", rt::Variant(d2), {"B"}, 4);
        StartRecord("c", rt::Variant(d3), {"A"}, 2);
        // The grid of the previous case is filled again, as a report refreshes it.
        Fill();
        EXPECT_EQ(Rows(), c.aExpected) << c.sName;
    }
}

TEST_F(cGridGroupKeysTest, DatesGivenAsTextAndMissingDatesGroupAsTheirTexts)
{
    StartView();
    oView.Group(0, "Start", 4);
    oView.Sort(0, "Subject");
    // A date that comes as text shows and groups as the same date would.
    StartRecord("a", rt::Variant(std::string("04.03.2024 09:30")), {"A"}, 1);
    StartRecord("b", rt::Variant(rt::DateSerial(2024, 3, 20)), {"A"}, 2);
    StartRecord("c", rt::Variant(std::string("kein Datum")), {"A"}, 4);
    AddRecord({{"Subject", PT_STRING8, rt::Variant(std::string("d"))},
               {"Amount", PT_DOUBLE, rt::Variant(8.0)}});
    Fill();
    // A text that is no date shows no date, as a missing value does.
    EXPECT_EQ(Rows(), (std::vector<std::string>{
                          "S0|Total || | |15,00",
                          "S8|Beginn: (Keine Angabe)|| | |12,00",
                          "D||c||A|4",
                          "D||d|||8",
                          "S8|Beginn: März|| | |3,00",
                          "D||a|04.03.2024 09:30|A|1",
                          "D||b|20.03.2024 00:00|A|2",
                      }));
}

// Keywords that differ only in letter case make one group, captioned by the first row in the
// group order; a percentage of a column whose total is zero, and durations beyond a day, come
// out of the one pass as they did from one subtotal at a time.
TEST_F(cGridGroupKeysTest, CaseVariantsGroupTogetherAndZeroTotalsStayDefined)
{
    oView.AddColumn("Subject", "Betreff", 8, 1);
    oView.AddColumn(kCategories, "Kategorien", 12, 11);
    oView.AddColumn("Duration", "Dauer", 3, 7, 2);
    oView.AddColumn("Amount", "Betrag", 5, 1, 3);
    oView.Group(0, kCategories);
    oView.Sort(0, "Subject", 1);
    const char* aCats[] = {"kunde", "Kunde", "KUNDE", "Büro", "büro"};
    for (int i = 0; i < 5; ++i) {
        AddRecord({{"Subject", PT_STRING8, rt::Variant(std::string(1, char('a' + i)))},
                   {kCategories, PT_MV_STRING8, List({aCats[i]})},
                   {"Duration", PT_LONG, rt::Variant(std::int32_t(1500 + 600 * i))},
                   {"Amount", PT_DOUBLE, rt::Variant(0.0)}});
    }
    Fill();
    EXPECT_EQ(Rows(), (std::vector<std::string>{
                          "S0|Total || |225:00| %",
                          "S8|Kategorien: Büro|| |120:00| %",
                          "D||e|büro|65:00|0",
                          "D||d|Büro|55:00|0",
                          "S8|Kategorien: kunde|| |105:00| %",
                          "D||c|KUNDE|45:00|0",
                          "D||b|Kunde|35:00|0",
                          "D||a|kunde|25:00|0",
                      }));
}

} // namespace
