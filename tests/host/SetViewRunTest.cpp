// The view dialog worked through the host's answers file: a filter on last month's
// appointments of one category, checked against the profile's own items.
#include "HostRun.h"

#include "platform/store/KnownProperties.h"
#include "platform/store/LocalTime.h"
#include "platform/store/NamedProperty.h"
#include "platform/store/Profile.h"
#include "platform/store/RecurrencePattern.h"
#include "platform/store/Store.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
namespace st = platform::store;

/// One row of the report as the host prints it: subject and start ("M/D/YYYY HH:MM").
using Row = std::pair<std::string, std::string>;

std::string Trim(const std::string& s)
{
    const auto a = s.find_first_not_of(' ');
    const auto b = s.find_last_not_of(' ');
    return a == std::string::npos ? std::string() : s.substr(a, b - a + 1);
}

/// The item rows of the last report the host printed: rows without an outline mark.
std::vector<Row> PrintedRows(const std::string& sOutput, const std::string& sAfter)
{
    std::vector<Row> aRows;
    std::istringstream oIn(sOutput.substr(sOutput.rfind(sAfter)));
    std::string sLine;
    while (std::getline(oIn, sLine)) {
        const auto nFirst = sLine.find_first_not_of(' ');
        if (nFirst == std::string::npos || sLine[nFirst] != '|')
            continue;
        std::vector<std::string> aCells;
        std::istringstream oCells(sLine.substr(nFirst + 1));
        for (std::string sCell; std::getline(oCells, sCell, '|');)
            aCells.push_back(Trim(sCell));
        if (aCells.size() < 2 || aCells[0].empty() || aCells[0] == "Subject")
            continue;
        // "11/2/2026 09:15 AM": date and time of day.
        aRows.emplace_back(aCells[0], aCells[1].substr(0, aCells[1].rfind(' ')));
    }
    std::sort(aRows.begin(), aRows.end());
    return aRows;
}

std::string StartText(st::LocalTime t)
{
    const auto d = st::CivilFromDay(st::DayOf(t));
    const int s = st::SecondOfDay(t);
    char sBuf[40];
    std::snprintf(sBuf, sizeof sBuf, "%d/%d/%d %02d:%02d", d.month, d.day, d.year, s / 3600,
                  s / 60 % 60);
    return sBuf;
}

/// The appointments of a calendar folder that start in [from, to], with their categories;
/// series expanded by the client's recurrence model.
class CalendarItems
{
public:
    CalendarItems(st::Store& oStore, const std::string& sFolder, st::LocalTime from, st::LocalTime to)
        : m_oStore(oStore)
    {
        m_lKeywords = *oStore.GetIdFromName(st::NamedProperty::Name(st::PS_PUBLIC_STRINGS,
                                                                    st::props::kKeywords));
        m_lStart = *oStore.GetIdFromName(
            st::NamedProperty::Lid(st::PSETID_Appointment, st::props::LID_AppointmentStart));
        for (const auto& oItem : oStore.Items(sFolder)) {
            if (oItem.kind != st::ItemKind::Normal)
                continue;
            if (const auto oPattern = oStore.GetRecurrence(oItem.entryId)) {
                for (const auto& o : oPattern->OccurrencesBetween(from, to))
                    Add(o.itemEntryId.empty() ? oItem.entryId : o.itemEntryId, oItem.entryId,
                        o.start);
                continue;
            }
            const auto vStart = oStore.GetItemProperty(oItem.entryId, st::MakeTag(m_lStart, st::PT_SYSTIME));
            if (!vStart)
                continue;
            const auto start = st::UtcToLocal(std::get<st::SysTime>(*vStart));
            if (start >= from && start <= to)
                Add(oItem.entryId, oItem.entryId, start);
        }
    }

    struct Entry
    {
        Row row;
        std::vector<std::string> categories;
    };
    const std::vector<Entry>& Entries() const { return m_aEntries; }

private:
    // A modified occurrence keeps what its own item does not say from its series.
    void Add(const std::string& sItem, const std::string& sMaster, st::LocalTime start)
    {
        const auto value = [&](st::PropTag tag) {
            auto v = m_oStore.GetItemProperty(sItem, tag);
            return v ? v : m_oStore.GetItemProperty(sMaster, tag);
        };
        const auto vSubject = value(st::props::PR_SUBJECT);
        const auto vCategories = value(st::MakeTag(m_lKeywords, st::PT_MV_STRING8));
        m_aEntries.push_back(
            {{vSubject ? std::get<std::string>(*vSubject) : std::string(), StartText(start)},
             vCategories ? std::get<st::MultiString>(*vCategories) : st::MultiString{}});
    }

    st::Store& m_oStore;
    std::uint16_t m_lKeywords = 0;
    std::uint16_t m_lStart = 0;
    std::vector<Entry> m_aEntries;
};

class SetViewRunTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        setenv("TZ", "Europe/Berlin", 1);
        tzset();
        std::string sTemplate = (fs::temp_directory_path() / "tvsetview-XXXXXX").string();
        ASSERT_NE(mkdtemp(sTemplate.data()), nullptr);
        oRoot = sTemplate;
    }
    void TearDown() override
    {
        std::error_code ec;
        fs::remove_all(oRoot, ec);
    }
    fs::path oRoot;
};

TEST_F(SetViewRunTest, FilterOnLastMonthAndOneCategoryShowsExactlyThoseAppointments)
{
    // The first run makes the sample profile around today.
    const auto rFirst = host_test::RunTallyman(oRoot, "--lang en");
    ASSERT_EQ(rFirst.exitCode, 0) << rFirst.output;

    // Last month, by the local calendar of today.
    const std::time_t now = std::time(nullptr);
    std::tm tmNow{};
    localtime_r(&now, &tmNow);
    const int lYear = tmNow.tm_mon == 0 ? tmNow.tm_year + 1899 : tmNow.tm_year + 1900;
    const int lMonth = tmNow.tm_mon == 0 ? 12 : tmNow.tm_mon;
    const auto from = st::MakeLocalTime(lYear, lMonth, 1);
    const auto to = st::MakeLocalTime(lYear, lMonth, st::DaysInMonth(lYear, lMonth), 23, 59, 59);

    std::vector<CalendarItems::Entry> aEntries;
    {
        auto oProfile = st::Profile::Open(oRoot / "Kestrova" / "Tallyman" / "SampleProfile");
        auto oStore = oProfile->DefaultStore();
        const auto oCalendar = oStore->DefaultFolder(st::FolderRole::Calendar);
        ASSERT_TRUE(oCalendar);
        aEntries = CalendarItems(*oStore, oCalendar->entryId, from, to).Entries();
    }
    // The category most of last month's appointments carry.
    std::map<std::string, int> mCounts;
    for (const auto& e : aEntries)
        for (const auto& c : e.categories)
            ++mCounts[c];
    ASSERT_FALSE(mCounts.empty()) << "the sample profile has no categorised appointment last month";
    const auto sCategory =
        std::max_element(mCounts.begin(), mCounts.end(),
                         [](const auto& a, const auto& b) { return a.second < b.second; })->first;
    std::vector<Row> aExpected;
    for (const auto& e : aEntries)
        if (std::find(e.categories.begin(), e.categories.end(), sCategory) != e.categories.end())
            aExpected.push_back(e.row);
    std::sort(aExpected.begin(), aExpected.end());

    const auto oAnswers = oRoot / "answers.txt";
    std::ofstream(oAnswers) << "# (Standard): last month's appointments of one category, confirmed in the\n"
                               "# category list\n"
                               "setview\n"
                               "click cmdFilter\n"
                               "pick cboDateField Starts\n"
                               "pick cboDateRange Last month\n"
                               "set txtCats " << sCategory << "\n"
                               "click cmdCategories\n"
                               "check chkView\n"
                               "click cmdOK\n"
                               "pick cboCompare0 Equals\n"
                               "click cmdOK\n"
                               "click cmdOK\n"
                               "exit\n"
                               "quit\n";
    const auto r = host_test::RunTallyman(oRoot, "--lang en --answers '" + oAnswers.string() + "'",
                                          {}, "COLUMNS=250");
    ASSERT_EQ(r.exitCode, 0) << r.output;
    EXPECT_EQ(PrintedRows(r.output, "> click cmdOK"), aExpected) << r.output;

    // Closed from its menu, the window kept the template with its filter: the next run shows
    // the same rows.
    const auto rAgain = host_test::RunTallyman(oRoot, "--lang en", {}, "COLUMNS=250");
    ASSERT_EQ(rAgain.exitCode, 0) << rAgain.output;
    EXPECT_EQ(PrintedRows(rAgain.output, "Templates:"), aExpected) << rAgain.output;
}

} // namespace
