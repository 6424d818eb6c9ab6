#include "CommonFixture.h"

#include "common/Deliverable.h"
#include "common/ErrorObject.h"
#include "common/modLanguage.h"
#include "common/modMain.h"

namespace lang = common::modLanguage;

namespace {

// The same common code, linked into a library: its own default language, title and base.
using LibraryLanguageTest = CommonFixture;

TEST_F(LibraryLanguageTest, LibrariesStartInGermanAndFallBackToGerman)
{
    EXPECT_EQ(lang::GetLanguageID(), 1031);
    lang::SetLanguageID(1033);
    EXPECT_EQ(lang::GetLanguageID(), 1033);
    lang::SetLanguageID(1036);
    EXPECT_EQ(lang::GetLanguageID(), 1031);
}

TEST_F(LibraryLanguageTest, LibraryUsesItsOwnTitleAndErrorBase)
{
    EXPECT_STREQ(common::ThisDeliverable().sName, "Fenwick5");
    EXPECT_EQ(common::modMain::GetSettingsKeyPath(), "Software\\Kestrova\\Fenwick615\\Settings\\");
    common::ErrorObject oError;
    EXPECT_EQ(oError.GetLogFileName(), (AppData() / "Kestrova/Fenwick615/error.txt").string());
    EXPECT_EQ(oError.GetMessageText(-44942852 + 20, {"xls"}),
              "Der Dateityp xls wird nicht unterstützt.");
}

} // namespace
