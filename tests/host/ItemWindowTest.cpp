// The client window's line of an item, from items made in a store: the dates it lists are the
// local times of the regional settings, as the client shows them, not the stored UTC.
#include "host/ItemWindow.h"
#include "tests/platform/mapi/MapiFixture.h"

#include "platform/mapi/Constants.h"
#include "platform/mapi/Folder.h"
#include "platform/mapi/Items.h"
#include "platform/mapi/Message.h"
#include "platform/store/LocalTime.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

namespace st = platform::store;
namespace mapi = platform::mapi;

// An instant of UTC, given as its calendar date and time.
st::SysTime Utc(int y, int m, int d, int h, int min)
{
    return st::SysTime{st::MakeLocalTime(y, m, d, h, min).seconds};
}

using ItemWindowTest = mapi::test::MapiFixture;

TEST_F(ItemWindowTest, AMailListsItsSendTimeInLocalTimeOnEitherSideOfTheClockChange)
{
    // TZ is Europe/Berlin: one hour ahead of UTC in winter, two in summer, and the day turns
    // over an hour or two before midnight UTC.
    struct Case
    {
        const char* sSubject;
        st::SysTime sent;
        const char* sListed;
    };
    const std::vector<Case> vCases = {
        {"Sommer", Utc(2026, 6, 10, 12, 0), "10.06.2026 14:00:00"},
        {"Winter", Utc(2026, 1, 15, 13, 0), "15.01.2026 14:00:00"},
        {"Mitternacht", Utc(2026, 1, 15, 23, 30), "16.01.2026 00:30:00"},
        {"Umstellung", Utc(2026, 3, 29, 1, 30), "29.03.2026 03:30:00"},
        {"Silvester", Utc(2025, 12, 31, 23, 0), "01.01.2026"},
    };
    const auto inbox = Folder(st::FolderRole::Inbox).entryId;
    for (const auto& c : vCases)
        Builder()
            .Mail(inbox, c.sSubject)
            .Set(st::props::PR_CLIENT_SUBMIT_TIME, c.sent)
            .AddRecipient(st::RecipientType::To, "Vertrieb", "vertrieb@kestrova.de");
    const auto items = LoggedOnSession()->GetDefaultFolder(mapi::olFolderInbox)->GetItems();
    ASSERT_EQ(items->Count(), static_cast<long>(vCases.size()));
    for (long i = 1; i <= items->Count(); ++i) {
        const auto row = host::ItemRowOf(*items->Item(i));
        const auto it = std::find_if(vCases.begin(), vCases.end(),
                                     [&](const Case& c) { return row.sSubject == c.sSubject; });
        ASSERT_NE(it, vCases.end()) << row.sSubject;
        EXPECT_EQ(row.sDate, it->sListed) << row.sSubject;
        EXPECT_EQ(row.sTo, "vertrieb@kestrova.de") << row.sSubject;
    }
}

TEST_F(ItemWindowTest, AMailNotSentListsItsLastChangeInLocalTime)
{
    Builder()
        .Mail(Folder(st::FolderRole::Drafts).entryId, "Entwurf")
        .Set(st::props::PR_LAST_MODIFICATION_TIME, Utc(2026, 6, 10, 6, 5));
    const auto items = LoggedOnSession()->GetDefaultFolder(mapi::olFolderDrafts)->GetItems();
    ASSERT_EQ(items->Count(), 1);
    EXPECT_EQ(host::ItemRowOf(*items->Item(1)).sDate, "10.06.2026 08:05:00");
}

TEST_F(ItemWindowTest, AnAppointmentListsItsLocalStart)
{
    const auto calendar = Folder(st::FolderRole::Calendar).entryId;
    Builder().Appointment(calendar, "Jour fixe", st::MakeLocalTime(2026, 7, 1, 9, 30),
                          st::MakeLocalTime(2026, 7, 1, 10, 0));
    const auto items = LoggedOnSession()->GetDefaultFolder(mapi::olFolderCalendar)->GetItems();
    ASSERT_EQ(items->Count(), 1);
    const auto row = host::ItemRowOf(*items->Item(1));
    EXPECT_EQ(row.sSubject, "Jour fixe");
    EXPECT_EQ(row.sDate, "01.07.2026 09:30:00");
    EXPECT_EQ(row.sTo, "");
}

} // namespace
