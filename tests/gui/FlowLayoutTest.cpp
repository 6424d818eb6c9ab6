// How the form view lays out controls without positions and fits captions to the font.
#include "GuiFixture.h"

#include "gui/FormView.h"
#include "gui/Units.h"
#include "platform/forms/Form.h"
#include "platform/forms/GridControl.h"
#include "platform/forms/StandardControls.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QPushButton>

#include <memory>
#include <string>
#include <tuple>

namespace {

namespace pf = platform::forms;
using guitest::GuiFixture;

using FlowLayoutTest = GuiFixture;

// The widget's rectangle in the window's coordinates.
QRect Where(gui::FormView& view, const char* name)
{
    QWidget* widget = view.WidgetOf(name);
    if (!widget)
        return {};
    return QRect(widget->mapTo(&view, QPoint(0, 0)), widget->size());
}

void Settle(gui::FormView& view)
{
    view.layout()->activate();
    QApplication::processEvents();
}

TEST_F(FlowLayoutTest, ADialogWithoutPositionsReadsAsADialog)
{
    pf::Form oForm("frmFlow");
    auto oFrame = oForm.Add<pf::Frame>("fra");
    oFrame->SetCaption("Save");
    auto oLabel = oForm.Add<pf::Label>("lblName");
    oLabel->SetCaption("&Name:");
    auto oName = oForm.Add<pf::TextBox>("txtName");
    auto oBrowse = oForm.Add<pf::CommandButton>("cmdBrowse");
    oBrowse->SetCaption("Browse...");
    auto oInner = oForm.Add<pf::Frame>("fraExcel");
    auto oCell = oForm.Add<pf::TextBox>("txtCell");
    oCell->SetContainer(oInner.get());
    auto oHeader = oForm.Add<pf::CheckBox>("chkHeader");
    oHeader->SetCaption("Header");
    oHeader->SetContainer(oInner.get());
    auto oAfter = oForm.Add<pf::CheckBox>("chkAfter");
    for (const char* name : {"cmdOK", "cmdCancel"})
        oForm.Add<pf::CommandButton>(name)->SetCaption(name);
    oForm.Show();
    gui::FormView view(oForm);
    view.resize(500, 400);
    Settle(view);

    // The frame heads a section: what follows it sits inside, a frame's own controls in it.
    auto* pFrame = qobject_cast<QGroupBox*>(view.WidgetOf("fra"));
    auto* pInner = qobject_cast<QGroupBox*>(view.WidgetOf("fraExcel"));
    ASSERT_TRUE(pFrame && pInner);
    for (const char* name : {"lblName", "txtName", "cmdBrowse", "fraExcel", "chkAfter"})
        EXPECT_TRUE(pFrame->isAncestorOf(view.WidgetOf(name))) << name;
    for (const char* name : {"txtCell", "chkHeader"})
        EXPECT_TRUE(pInner->isAncestorOf(view.WidgetOf(name))) << name;
    EXPECT_FALSE(pInner->isAncestorOf(view.WidgetOf("chkAfter")));
    EXPECT_LT(Where(view, "txtCell").bottom(), Where(view, "chkHeader").top());
    EXPECT_FALSE(pFrame->isAncestorOf(view.WidgetOf("cmdOK")));

    // The label's access key goes to the text box; the button stands beside its field.
    auto* pLabel = qobject_cast<QLabel*>(view.WidgetOf("lblName"));
    ASSERT_NE(pLabel, nullptr);
    EXPECT_EQ(pLabel->buddy(), view.WidgetOf("txtName"));
    const QRect name = Where(view, "txtName"), browse = Where(view, "cmdBrowse");
    EXPECT_GT(browse.left(), name.right());
    EXPECT_TRUE(browse.top() <= name.center().y() && name.center().y() <= browse.bottom());

    // The closing buttons stand in a row at the bottom right, below everything else.
    const QRect ok = Where(view, "cmdOK"), cancel = Where(view, "cmdCancel");
    EXPECT_EQ(ok.top(), cancel.top());
    EXPECT_LT(ok.right(), cancel.left());
    EXPECT_GT(ok.top(), Where(view, "fra").bottom());
    EXPECT_GT(cancel.right(), view.width() - 20);
}

// A dialog that makes its captions before its fields, as a table of rows does: a caption's
// access key goes to the field on its line, and one with nothing beside it to the next control.
TEST_F(FlowLayoutTest, APlacedCaptionsAccessKeyGoesToTheFieldOnItsLine)
{
    pf::Form oForm("frmRows");
    const auto place = [&oForm](auto control, const char* caption, int left, int top) {
        if (caption)
            control->SetCaption(caption);
        control->Move(left, top, 1500, 285);
    };
    place(oForm.Add<pf::Label>("lblFrom"), "&Von", 120, 480);
    place(oForm.Add<pf::Label>("lblTo"), "&Bis", 120, 840);
    place(oForm.Add<pf::Label>("lblLoose"), "&Frei", 120, 1560);
    place(oForm.Add<pf::ComboBox>("cboKind"), nullptr, 1800, 120); // made first, a line above
    place(oForm.Add<pf::TextBox>("txtTo"), nullptr, 1800, 840);
    place(oForm.Add<pf::TextBox>("txtFrom"), nullptr, 3600, 480); // further right on its line
    place(oForm.Add<pf::TextBox>("txtNear"), nullptr, 1800, 480);
    place(oForm.Add<pf::CommandButton>("cmdOK"), "OK", 1800, 2000);
    oForm.Move(0, 0, 6000, 3000);
    oForm.Show();
    gui::FormView view(oForm);
    Settle(view);
    const auto buddy = [&view](const char* label) {
        auto* pLabel = qobject_cast<QLabel*>(view.WidgetOf(label));
        return pLabel ? pLabel->buddy() : nullptr;
    };
    EXPECT_EQ(buddy("lblFrom"), view.WidgetOf("txtNear")); // the first field to its right
    EXPECT_EQ(buddy("lblTo"), view.WidgetOf("txtTo"));
    EXPECT_EQ(buddy("lblLoose"), view.WidgetOf("cboKind")); // nothing on its line
}

TEST_F(FlowLayoutTest, ClosingButtonsStandBesideAGrid)
{
    pf::Form oForm("frmList");
    oForm.Add<pf::Label>("lbl")->SetCaption("Templates:");
    oForm.Add<pf::GridControl>("fg");
    for (const char* name : {"cmdNew", "cmdEdit", "cmdClose"})
        oForm.Add<pf::CommandButton>(name)->SetCaption(name);
    oForm.Show();
    gui::FormView view(oForm);
    view.resize(400, 300);
    Settle(view);
    const QRect grid = Where(view, "fg");
    EXPECT_GT(grid.height(), 150); // the grid takes the room
    int nTop = -1;
    for (const char* name : {"cmdNew", "cmdEdit", "cmdClose"}) {
        const QRect button = Where(view, name);
        EXPECT_GT(button.left(), grid.right()) << name;
        EXPECT_GT(button.top(), nTop) << name;
        nTop = button.top();
    }
}

TEST_F(FlowLayoutTest, FormGrowsInProportionSoThatCaptionsFitInOneFont)
{
    // A label too narrow for its caption, with a list and a button beside it: the whole form
    // stands larger, each control keeps its place relative to the others and its font.
    pf::Form oForm("frmFit");
    auto oLabel = oForm.Add<pf::Label>("lblStatus");
    oLabel->SetCaption("Aufgabenstatus:");
    oLabel->Move(120, 600, 900, 255);
    auto oList = oForm.Add<pf::ComboBox>("cboStatus");
    oList->Move(1200, 600, 2000, 315);
    auto oButton = oForm.Add<pf::CommandButton>("cmdPick");
    oButton->SetCaption("Zurücksetzen");
    oButton->Move(3300, 555, 1200, 375);
    oForm.Move(0, 0, 4800, 1500);
    oForm.Show();
    gui::FormView view(oForm);
    Settle(view);

    auto* pLabel = qobject_cast<QLabel*>(view.WidgetOf("lblStatus"));
    auto* pButton = qobject_cast<QPushButton*>(view.WidgetOf("cmdPick"));
    ASSERT_TRUE(pLabel && pButton);
    const QRect label = Where(view, "lblStatus"), list = Where(view, "cboStatus");
    EXPECT_GE(label.width(), pLabel->fontMetrics().horizontalAdvance(pLabel->text()));
    EXPECT_LT(label.right(), list.left());
    // The button's caption keeps room from its border on both sides.
    EXPECT_GE(pButton->width(), pButton->fontMetrics().horizontalAdvance(pButton->text()) + 2 * 6);
    // Proportions: the list starts as far right of the label as the design has it, scaled.
    const double scale = static_cast<double>(list.width()) / (2000 / 15.0);
    EXPECT_GT(scale, 1.0);
    EXPECT_NEAR(list.left() - label.left(), (1200 - 120) / 15.0 * scale, 2);
    EXPECT_NEAR(view.width(), (4800 - 120) / 15.0 * scale, 2);
    for (const char* name : {"lblStatus", "cboStatus", "cmdPick"})
        EXPECT_EQ(view.WidgetOf(name)->font().pointSizeF(), oLabel->FontSize()) << name;
    // The person's resize reaches the form in its design's twips.
    view.resize(view.width() + 30, view.height());
    EXPECT_NEAR(oForm.ScaleWidth(), 4800 - 120 + 30 * 15 / scale, 15);
}

TEST_F(FlowLayoutTest, CaptionBeyondTheLargestScaleGrowsIntoFreeRoomOnly)
{
    pf::Form oForm("frmFit");
    // A check box far too narrow for its caption, nothing beside it; a button further right
    // on the row below is not in its way.
    auto oCheck = oForm.Add<pf::CheckBox>("chkLong");
    oCheck->SetCaption("Show only the totals of each group in the report");
    oCheck->Move(120, 120, 600, 255);
    auto oButton = oForm.Add<pf::CommandButton>("cmdOK");
    oButton->SetCaption("OK");
    oButton->Move(1500, 600, 1200, 375);
    oForm.Show();
    gui::FormView view(oForm);
    Settle(view);

    auto* pCheck = qobject_cast<QCheckBox*>(view.WidgetOf("chkLong"));
    ASSERT_NE(pCheck, nullptr);
    EXPECT_GE(pCheck->width(), pCheck->sizeHint().width());
    EXPECT_LE(Where(view, "chkLong").right(), view.width());
    EXPECT_EQ(pCheck->font().pointSizeF(), oCheck->FontSize());
}

TEST_F(FlowLayoutTest, AComboBoxGrowsToShowAnEntryWholeAsFarAsItsRowAndFrameAllow)
{
    // Each combo box is made too narrow for its entries. It grows to the right as a caption
    // does, never over the control beside it nor out of its frame: to its widest entry where
    // there is room, else to its current one, else not at all.
    pf::Form oForm("frmCombos");
    oForm.SetCaption("Combos");
    auto oFrame = oForm.Add<pf::Frame>("fra");
    oFrame->SetCaption("Frame");
    oFrame->Move(120, 120, 3000, 900);
    for (const auto& [sName, nLeft, nTop] :
         {std::tuple{"cmdNext", 2400, 1200}, std::tuple{"cmdTight", 1080, 2400}}) {
        auto oButton = oForm.Add<pf::CommandButton>(sName);
        oButton->SetCaption("Next");
        oButton->Move(nLeft, nTop, 1200, 375);
    }
    const QString sCurrent = "Text (*.txt)", sWide = "Excel-Arbeitsmappe mit Makros (*.xlsm)";
    enum class Shows
    {
        Widest,
        Current,
        AsDesigned
    };
    struct Case
    {
        const char* sName;
        const char* sContainer;
        int nTop;
        Shows eShows;
        const char* sBeside; // the control to its right on its row
    };
    const Case aCases[] = {{"cboFree", nullptr, 1800, Shows::Widest, nullptr},
                           {"cboBeside", nullptr, 1230, Shows::Current, "cmdNext"},
                           {"cboFramed", "fra", 330, Shows::Current, nullptr},
                           {"cboTight", nullptr, 2430, Shows::AsDesigned, "cmdTight"}};
    for (const Case& c : aCases) {
        auto oBox = oForm.Add<pf::ComboBox>(c.sName);
        oBox->AddItem(gui::FromQ(sCurrent));
        oBox->AddItem(gui::FromQ(sWide));
        oBox->SetListIndex(0);
        oBox->Move(120, c.nTop, 900, 315);
        if (c.sContainer)
            oBox->SetContainer(oFrame.get());
    }
    oForm.Move(0, 0, 6000, 3600);
    oForm.Show();
    gui::FormView view(oForm);
    Settle(view);
    auto* pFrame = view.WidgetOf("fra");
    ASSERT_NE(pFrame, nullptr);
    for (const Case& c : aCases) {
        auto* pBox = qobject_cast<QComboBox*>(view.WidgetOf(c.sName));
        ASSERT_NE(pBox, nullptr) << c.sName;
        const QFontMetrics metrics = pBox->fontMetrics();
        switch (c.eShows) {
        case Shows::Widest:
            EXPECT_GE(pBox->width(), metrics.horizontalAdvance(sWide)) << c.sName;
            break;
        case Shows::Current:
            EXPECT_GE(pBox->width(), metrics.horizontalAdvance(sCurrent)) << c.sName;
            EXPECT_LT(pBox->width(), metrics.horizontalAdvance(sWide)) << c.sName;
            break;
        case Shows::AsDesigned:
            EXPECT_EQ(pBox->width(), gui::Pixels(900)) << c.sName;
            break;
        }
        if (c.sBeside) {
            EXPECT_LT(pBox->geometry().right(), view.WidgetOf(c.sBeside)->geometry().left())
                << c.sName;
        }
        if (c.sContainer) {
            EXPECT_LT(pBox->geometry().right(), pFrame->width() - 1) << c.sName;
        }
    }
}

} // namespace
