// The client window's line of an item, from items made in a store: the dates it lists are the
// local times of the regional settings, as the client shows them, not the stored UTC.
#include "host/ItemWindow.h"
#include "tests/platform/mapi/MapiFixture.h"
#include "ByteClasses.h"

#include "platform/mapi/Constants.h"
#include "platform/mapi/Folder.h"
#include "platform/mapi/Items.h"
#include "platform/mapi/Message.h"
#include "platform/mapi/Recipients.h"
#include "platform/store/LocalTime.h"
#include "host/HostTexts.h"

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

// A mail window's edits holding a byte class the host refuses (pasted into To, the subject or
// the body): neither sent nor saved, the mail left as it was, and the reason given names the
// character. Tabs and line ends of the body are text.
TEST_F(ItemWindowTest, EditsHoldingAControlCharacterAreNeitherSentNorSaved)
{
    host::SetTextLanguage("en");
    Builder().Mail(Folder(st::FolderRole::Drafts).entryId, "Bericht");
    const auto drafts = LoggedOnSession()->GetDefaultFolder(mapi::olFolderDrafts);
    const auto outbox = LoggedOnSession()->GetDefaultFolder(mapi::olFolderOutbox);
    const auto sent = LoggedOnSession()->GetDefaultFolder(mapi::olFolderSentMail);
    const host::MailEdits oGood{"team@kestrova.example", "Bericht Mai", "Zeile 1\r\n\tZeile 2"};
    for (const auto& bad : host_test::BadTexts())
        for (int nField = 0; nField < 3; ++nField) {
            SCOPED_TRACE(std::to_string(nField) + " " + host_test::NameOf(bad));
            host::MailEdits oEdits = oGood;
            std::string& sField =
                nField == 0 ? oEdits.sTo : nField == 1 ? oEdits.sSubject : oEdits.sBody;
            sField += "X" + bad.sBytes + "Y";
            auto oMail = drafts->GetItems()->Item(1);
            for (const auto& fnStep : {host::SendFromItemWindow, host::SaveFromItemWindow}) {
                try {
                    fnStep(*oMail, oEdits);
                    ADD_FAILURE() << "taken";
                } catch (const std::runtime_error& e) {
                    const std::string sWhy = e.what();
                    // The host shows a character of one byte as \x01, a longer one as \u0085.
                    const std::string sName = host_test::NameOf(bad);
                    const std::string sShown = !bad.bUtf8              ? sName
                                               : bad.sBytes.size() == 1 ? "\\x" + sName.substr(4)
                                                                        : "\\u" + sName.substr(2);
                    EXPECT_NE(sWhy.find(bad.bUtf8 ? "control character " + sShown
                                                  : "byte " + sShown),
                              std::string::npos)
                        << sWhy;
                    EXPECT_EQ(host_test::RawControlAt(sWhy), std::string::npos) << sWhy;
                }
            }
            EXPECT_EQ(drafts->GetItems()->Count(), 1);
            EXPECT_EQ(outbox->GetItems()->Count() + sent->GetItems()->Count(), 0);
            oMail = drafts->GetItems()->Item(1);
            EXPECT_EQ(oMail->Subject(), "Bericht");
            EXPECT_EQ(oMail->GetRecipients()->Count(), 0);
        }
    // The same edits without the character are taken.
    host::SaveFromItemWindow(*drafts->GetItems()->Item(1), oGood);
    EXPECT_EQ(drafts->GetItems()->Item(1)->Subject(), "Bericht Mai");
    EXPECT_EQ(drafts->GetItems()->Item(1)->Body(), oGood.sBody);
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
