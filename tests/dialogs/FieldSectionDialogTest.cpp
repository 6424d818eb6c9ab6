#include "SectionFixture.h"

#include "common/modLanguage.h"

#include <gtest/gtest.h>

namespace dialogs::test {
namespace {

struct CaptionCase
{
    const char* name;
    long lLanguage;
    std::vector<std::string> aCaptions; // field chooser, grouping, sorting, totals
};

class FieldSectionDialogTest : public SectionFixture,
                               public ::testing::WithParamInterface<CaptionCase>
{
protected:
    template <class TDialog> std::string CaptionOf()
    {
        std::string sCaption;
        Run<TDialog>([&](TDialog& oDialog) {
            sCaption = oDialog.Caption();
            oDialog.UserClose();
        });
        return sCaption;
    }
};

TEST_P(FieldSectionDialogTest, DialogsTakeTheirCaptionsInTheUserLanguage)
{
    common::modLanguage::SetLanguageID(GetParam().lLanguage);
    const std::vector<std::string> aShown = {CaptionOf<frmFieldChooser>(), CaptionOf<frmGroupBy>(),
                                             CaptionOf<frmSort>(), CaptionOf<frmCalc>()};
    EXPECT_EQ(aShown, GetParam().aCaptions);
}

INSTANTIATE_TEST_SUITE_P(
    Languages, FieldSectionDialogTest,
    ::testing::Values(
        // The German strings have no totals caption: the built-in one stays.
        CaptionCase{
            "German", 1031, {" Felder anzeigen", " Gruppieren", " Sortieren", " Berechnungen"}},
        CaptionCase{"English", 1033, {" Show fields", " Group by", " Sort", " Calculations"}}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace dialogs::test
