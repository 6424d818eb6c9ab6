#include "CommonFixture.h"

#include "common/ILanguage.h"
#include "common/modLanguage.h"
#include "platform/runtime/Error.h"

namespace lang = common::modLanguage;

namespace {

using LanguageTest = CommonFixture;

TEST_F(LanguageTest, AddInStartsInEnglishAndFallsBackToEnglish)
{
    EXPECT_EQ(lang::GetLanguageID(), 1033);
    lang::SetLanguageID(1031);
    EXPECT_EQ(lang::GetLanguageID(), 1031);
    EXPECT_EQ(lang::GetLanguageOffset(), 0);
    lang::SetLanguageID(1036);
    EXPECT_EQ(lang::GetLanguageID(), 1033);
    EXPECT_EQ(lang::GetLanguageOffset(), 10000);
}

TEST_F(LanguageTest, EnglishTextsLieTenThousandAboveTheirGermanIds)
{
    lang::SetLanguageID(1033);
    EXPECT_EQ(lang::GetResString(20), "The file type #0 won't be supported.");
    lang::SetLanguageID(1031);
    EXPECT_EQ(lang::GetResString(20), "Der Dateityp #0 wird nicht unterstützt.");
    EXPECT_EQ(lang::GetResString(10020), "The file type #0 won't be supported.");
}

TEST_F(LanguageTest, MissingStringRaisesToTheCaller)
{
    for (const long lId : {0L, 21L, -5L}) {
        try {
            lang::GetResString(lId);
            ADD_FAILURE() << "no error for id " << lId;
        } catch (const platform::runtime::Error& e) {
            EXPECT_EQ(e.Number(), 326);
        }
    }
}

TEST_F(LanguageTest, LanguageInterfaceSharesTheModulesLanguage)
{
    common::ModuleLanguage oLanguage;
    oLanguage.SetLanguageID(1031);
    EXPECT_EQ(lang::GetLanguageID(), 1031);
    lang::SetLanguageID(1033);
    EXPECT_EQ(oLanguage.LanguageID(), 1033);
    EXPECT_EQ(oLanguage.SupportedLanguages(), (std::vector<long>{1031, 1033}));
}

} // namespace
