// Sorting a report by its view's sort levels, in the date forms of both languages.
#include "ReportFixture.h"

#include "common/modLanguage.h"
#include "platform/runtime/Date.h"

namespace rt = platform::runtime;
using namespace engine;

namespace {

class cGridSortTest : public ReportFixture
{
protected:
    void StartRecord(const std::string& sSubject, rt::Date dt)
    {
        AddRecord({{"Subject", PT_STRING8, rt::Variant(sSubject)},
                   {"Start", PT_SYSTIME, rt::Variant(dt)}});
    }
};

// English date texts carry a 24-hour time followed by a day-period designator
// ("1/4/2027 14:15 PM", "1/4/2027 00:00 AM"); they must sort by the moment they name.
TEST_F(cGridSortTest, DateColumnsSortByDateAndTimeInBothLanguages)
{
    struct Case
    {
        const char* sLocale;
        long lLanguage;
        std::int32_t lOrder; // 0 ascending, 1 descending
        std::vector<std::string> aSubjects;
    };
    const Case aCases[] = {
        {"en-US", common::modLanguage::LANG_ENGLISH, 0, {"eve", "midnight", "nine", "noon", "late"}},
        {"en-US", common::modLanguage::LANG_ENGLISH, 1, {"late", "noon", "nine", "midnight", "eve"}},
        {"de-DE", common::modLanguage::LANG_GERMAN, 0, {"eve", "midnight", "nine", "noon", "late"}},
        {"de-DE", common::modLanguage::LANG_GERMAN, 1, {"late", "noon", "nine", "midnight", "eve"}},
    };
    oView.AddColumn("Subject", "Betreff", 8, 1);
    oView.AddColumn("Start", "Beginn", 7, 5);
    const rt::Date dDay = rt::DateSerial(2027, 1, 4);
    StartRecord("late", rt::Date(dDay.Serial() + 14.25 / 24));
    StartRecord("midnight", dDay);
    StartRecord("noon", rt::Date(dDay.Serial() + 0.5));
    StartRecord("eve", rt::Date(dDay.Serial() - 1.0 / 24 / 60));
    StartRecord("nine", rt::Date(dDay.Serial() + 9.0 / 24));
    for (const Case& c : aCases) {
        SCOPED_TRACE(std::string(c.sLocale) + (c.lOrder == 0 ? " up" : " down"));
        UseLanguage(c.sLocale, c.lLanguage);
        oView.Sort(0, "Start", c.lOrder);
        Fill();
        EXPECT_EQ(Column("Subject"), c.aSubjects);
    }
}

} // namespace
