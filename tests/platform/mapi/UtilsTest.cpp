#include "MapiFixture.h"

#include "platform/mapi/Constants.h"
#include "platform/mapi/Folder.h"
#include "platform/mapi/Items.h"
#include "platform/mapi/Message.h"
#include "platform/mapi/Store.h"
#include "platform/mapi/Stores.h"
#include "platform/mapi/Utils.h"

#include <cmath>

namespace platform::mapi::test {

namespace rt = platform::runtime;

using UtilsTest = MapiFixture;

namespace {

/// The time-line position (days since 1899-12-30) of a UTC moment given by its fields,
/// computed without the library.
double UtcSerial(int y, int m, int d, int h, int min)
{
    std::tm t{};
    t.tm_year = y - 1900;
    t.tm_mon = m - 1;
    t.tm_mday = d;
    t.tm_hour = h;
    t.tm_min = min;
    return static_cast<double>(timegm(&t)) / 86400.0 + 25569.0;
}

double LocalSerial(int y, int m, int d, int h, int min)
{
    return rt::DateSerial(y, m, d).Serial() + (h * 60 + min) / 1440.0;
}

} // namespace

TEST_F(UtilsTest, LocalTimeAndUtcAcrossDaylightSavingChanges)
{
    Utils utils;
    struct Case
    {
        const char* name;
        double local;
        double utc;
    };
    const Case cases[] = {
        {"winter", LocalSerial(2026, 1, 15, 12, 0), UtcSerial(2026, 1, 15, 11, 0)},
        {"before the spring change", LocalSerial(2026, 3, 29, 1, 30),
         UtcSerial(2026, 3, 29, 0, 30)},
        {"after the spring change", LocalSerial(2026, 3, 29, 3, 30), UtcSerial(2026, 3, 29, 1, 30)},
        {"summer", LocalSerial(2026, 7, 1, 0, 0), UtcSerial(2026, 6, 30, 22, 0)},
        {"after the autumn change", LocalSerial(2026, 10, 25, 3, 0), UtcSerial(2026, 10, 25, 2, 0)},
        {"the zero date", 0.0, UtcSerial(1899, 12, 29, 23, 0)},
        {"the client's no-date", LocalSerial(4501, 1, 1, 0, 0), UtcSerial(4500, 12, 31, 23, 0)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        // Compared on the time line: serials before 1899-12-30 count days and hours apart.
        EXPECT_NEAR(utils.LocalTimeToUTC(rt::Date::FromLinear(c.local)).Linear(), c.utc, 1e-9);
        EXPECT_NEAR(utils.UTCToLocalTime(rt::Date::FromLinear(c.utc)).Linear(), c.local, 1e-9);
    }
    // 02:30 on the spring change does not exist: it is taken as standard time (01:30 UTC).
    EXPECT_NEAR(utils.LocalTimeToUTC(rt::Date(LocalSerial(2026, 3, 29, 2, 30))).Serial(),
                UtcSerial(2026, 3, 29, 1, 30), 1e-9);
    // 02:30 on the autumn change happens twice: either pass is an answer, and going back
    // gives 02:30 again.
    const auto twice = utils.LocalTimeToUTC(rt::Date(LocalSerial(2026, 10, 25, 2, 30)));
    EXPECT_TRUE(std::abs(twice.Serial() - UtcSerial(2026, 10, 25, 0, 30)) < 1e-9 ||
                std::abs(twice.Serial() - UtcSerial(2026, 10, 25, 1, 30)) < 1e-9);
    EXPECT_NEAR(utils.UTCToLocalTime(twice).Serial(), LocalSerial(2026, 10, 25, 2, 30), 1e-9);
}

TEST_F(UtilsTest, NamedPropertyIdsByLidAndByName)
{
    const auto calendar = Folder(st::FolderRole::Calendar).entryId;
    const auto location = Named(PSETID_Appointment, 0x8208, st::PT_STRING8);
    const auto keywords = static_cast<std::int32_t>(Builder().NamedTag(
        st::NamedProperty::Name(st::PS_PUBLIC_STRINGS, "Keywords"), st::PT_MV_STRING8));
    Builder().Appointment(calendar, "Termin", st::MakeLocalTime(2026, 5, 4, 9),
                          st::MakeLocalTime(2026, 5, 4, 10));
    auto session = LoggedOnSession();
    auto item = session->GetDefaultFolder(olFolderCalendar)->GetItems()->Item(1);
    Utils utils;
    const rt::Variant object(item->MAPIOBJECT());
    // LIDs travel as signed 16-bit numbers: 0x8208 is -32248.
    EXPECT_EQ(utils.GetIDsFromNames(object, PSETID_Appointment, std::int16_t{-32248}),
              location & ~0xFFFF);
    EXPECT_EQ(utils.GetIDsFromNames(object, PSETID_Appointment, 0x8208), location & ~0xFFFF);
    EXPECT_EQ(utils.GetIDsFromNames(object, "{00062002-0000-0000-c000-000000000046}",
                                    std::int16_t{-32248}),
              location & ~0xFFFF);
    EXPECT_EQ(utils.GetIDsFromNames(object, PS_PUBLIC_STRINGS, "Keywords"), keywords & ~0xFFFF);
    // The folder and the store resolve the same names.
    EXPECT_EQ(utils.GetIDsFromNames(rt::Variant(session->GetDefaultFolder(olFolderCalendar)),
                                    PS_PUBLIC_STRINGS, "Keywords"),
              keywords & ~0xFFFF);

    // Unknown names fail without create and are mapped with it.
    EXPECT_EQ(RaisedNumber([&] { utils.GetIDsFromNames(object, PSETID_Log, 0x8799); }),
              -2147221233);
    const long created = utils.GetIDsFromNames(object, PSETID_Log, 0x8799, true);
    EXPECT_GE(created >> 16 & 0xFFFF, 0x8000);
    EXPECT_EQ(created & 0xFFFF, 0);
    EXPECT_EQ(utils.GetIDsFromNames(object, PSETID_Log, 0x8799), created);

    EXPECT_EQ(RaisedNumber([&] { utils.GetIDsFromNames(rt::Variant(1), PSETID_Log, 1); }),
              rt::errors::TypeMismatch);
    EXPECT_EQ(RaisedNumber([&] { utils.GetIDsFromNames(object, "{kein-guid}", 1); }),
              rt::errors::InvalidProcedureCall);
    // The message's own look-up maps what it does not know.
    EXPECT_EQ(item->GetIDsFromNames(PSETID_Appointment, std::int16_t{-32248}), location & ~0xFFFF);
}

TEST_F(UtilsTest, ProfileNameVersionAndCleanup)
{
    Utils utils;
    EXPECT_EQ(utils.ProfileName(), "Outlook");
    EXPECT_FALSE(utils.Version().empty());
    utils.Cleanup();
    EXPECT_NEAR(utils.UTCToLocalTime(rt::Date(UtcSerial(2026, 1, 1, 0, 0))).Serial(),
                LocalSerial(2026, 1, 1, 1, 0), 1e-9);
}

} // namespace platform::mapi::test
