#include "CommonFixture.h"

#include "common/IControlResource.h"
#include "common/modLabelControls.h"
#include "common/modLanguage.h"
#include "common/modMain.h"
#include "platform/forms/FlexGrid.h"
#include "platform/forms/Form.h"
#include "platform/forms/StandardControls.h"

namespace {

namespace lc = common::modLabelControls;
namespace forms = platform::forms;

using LabelControlsTest = CommonFixture;

TEST_F(LabelControlsTest, FormAndControlsTakeTheTextsOfTheirTags)
{
    common::modLanguage::SetLanguageID(1033);
    forms::Form oForm("frmTest");
    oForm.SetTag("20");
    oForm.SetCaption("old");
    auto oLabel = oForm.Add<forms::Label>("lbl");
    oLabel->SetTag("20abc"); // the leading number counts
    auto oMissing = oForm.Add<forms::Label>("lblMissing");
    oMissing->SetTag("999");
    oMissing->SetCaption("unchanged");
    auto oText = oForm.Add<forms::TextBox>("txt"); // no caption: skipped
    oText->SetTag("20");
    auto oLast = oForm.Add<forms::CommandButton>("cmd");
    oLast->SetTag("20");
    lc::LocalizeForm(oForm);
    const std::string sEnglish = "The file type #0 won't be supported.";
    EXPECT_EQ(oForm.Caption(), sEnglish);
    EXPECT_EQ(oLabel->Caption(), sEnglish);
    EXPECT_EQ(oMissing->Caption(), "unchanged");
    EXPECT_EQ(oLast->Caption(), sEnglish); // the failures before it did not stop the loop
}

TEST_F(LabelControlsTest, ComboItemsSkipIdsWithoutText)
{
    common::modLanguage::SetLanguageID(1031);
    forms::ComboBox oCombo("cbo");
    oCombo.SetTag("20,0,20");
    lc::LocalizeComboItems(oCombo);
    ASSERT_EQ(oCombo.ListCount(), 2);
    EXPECT_EQ(oCombo.List(1), "Der Dateityp #0 wird nicht unterstützt.");
}

TEST_F(LabelControlsTest, GridHeaderAndListsComeFromIds)
{
    common::modLanguage::SetLanguageID(1033);
    forms::FlexGrid oGrid;
    oGrid.SetCols(3);
    oGrid.SetTextMatrix(0, 1, "keep");
    lc::LocalizeGridHeader(oGrid, "20,0,20");
    EXPECT_EQ(oGrid.TextMatrix(0, 0), "The file type #0 won't be supported.");
    EXPECT_EQ(oGrid.TextMatrix(0, 1), "keep");
    lc::LocalizeGridList(oGrid, 2, "20,0,20");
    EXPECT_EQ(oGrid.ColComboList(2), "The file type #0 won't be supported.| |"
                                     "The file type #0 won't be supported.");
    lc::LocalizeGridList(oGrid, 1, "20,21"); // a missing text leaves the list as it was
    EXPECT_EQ(oGrid.ColComboList(1), "");
    EXPECT_EQ(lc::GetResText(21), "");
}

TEST_F(LabelControlsTest, ResourceFormsUseTheirOwnTexts)
{
    struct OwnTexts : common::IControlResource
    {
        forms::Form oForm{"frmOwn"};
        std::string Caption() const override { return oForm.Caption(); }
        void SetCaption(const std::string& s) override { oForm.SetCaption(s); }
        const std::vector<std::shared_ptr<forms::Control>>& Controls() const override
        {
            return oForm.Controls();
        }
        std::string GetResource(const std::string& sTag) override
        {
            return sTag == "4000" ? "Keine Einträge" : "";
        }
        std::string Tag() const override { return "4000"; }
    } oOwn;
    auto oLabel = oOwn.oForm.Add<forms::Label>("lbl");
    oLabel->SetTag("4000");
    auto oOther = oOwn.oForm.Add<forms::Label>("lbl2");
    oOther->SetCaption("bleibt");
    lc::LocalizeResourceForm(oOwn);
    EXPECT_EQ(oOwn.Caption(), "Keine Einträge");
    EXPECT_EQ(oLabel->Caption(), "Keine Einträge");
    EXPECT_EQ(oOther->Caption(), "bleibt");
}

TEST_F(LabelControlsTest, SelectAllTextAndRedrawIgnoreWhatIsMissing)
{
    forms::TextBox oBox("txt");
    oBox.SetText("Büro");
    common::modMain::SelectAllText(&oBox, -1);
    EXPECT_EQ(oBox.SelLength(), 4);
    EXPECT_EQ(oBox.BackColor(), 0xFFFFFFu);
    common::modMain::SelectAllText(&oBox, 0x00FFFF);
    EXPECT_EQ(oBox.BackColor(), 0x00FFFFu);
    common::modMain::SelectAllText(nullptr);
    forms::FlexGrid oGrid;
    common::modMain::SuspendGridRedraw(&oGrid);
    EXPECT_FALSE(oGrid.Redraw());
}

} // namespace
