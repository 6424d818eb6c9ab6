#include "dialogs/frmTemplate.h"

#include "common/Deliverable.h"
#include "common/ErrorHandling.h"
#include "common/ErrorObject.h"
#include "common/modLabelControls.h"
#include "common/modMain.h"
#include "dialogs/detail/DialogSupport.h"
#include "dialogs/frmTemplateDetail.h"
#include "grid/Flexgrid2.h"
#include "platform/forms/Driver.h"
#include "platform/forms/FlexGrid.h"
#include "platform/forms/GridControl.h"
#include "platform/forms/StandardControls.h"
#include "platform/runtime/Error.h"
#include "platform/runtime/ResumeNext.h"
#include "platform/runtime/Strings.h"
#include "views/Templates.h"
#include "views/ViewSettings.h"

#include <algorithm>
#include <vector>

namespace dialogs {

namespace pf = platform::forms;
namespace rt = platform::runtime;

namespace {
constexpr const char* kModule = "frmTemplate";
constexpr int kInformation = 64;
constexpr int kYesNoQuestion = 36;
constexpr long kMsgStandardKept = 40;
constexpr long kAskDelete = 150;
constexpr double kDialogFontSize = 8;

} // namespace

frmTemplate::frmTemplate() : frmTemplate(TemplateEditorServices::OfReportWindow()) {}

frmTemplate::frmTemplate(TemplateEditorServices oServices)
    : Form("frmTemplate"), m_oServices(std::move(oServices))
{
    SetTag("2040");
    SetKeyPreview(true);
    m_lbl = Add<pf::Label>("lbl");
    m_lbl->SetTag("2039");
    m_fg = Add<pf::GridControl>("fg");
    auto button = [&](const char* pName, const char* pTag) {
        auto o = Add<pf::CommandButton>(pName);
        o->SetTag(pTag);
        return o;
    };
    m_cmdNew = button("cmdNew", "2109");
    m_cmdEdit = button("cmdEdit", "2110");
    m_cmdCopy = button("cmdCopy", "2112");
    m_cmdRemove = button("cmdRemove", "2111");
    m_cmdOK = button("cmdOK", "2113");
    m_cmdOK->Default = true;
    m_cmdClose = button("cmdClose", "2114");
    m_cmdClose->Cancel = true;

    auto& fg = m_fg->Grid();
    fg.SetFixedRows(0);
    fg.SetFixedCols(0);
    fg.SetCols(1);
    fg.SetRows(0);
    fg.SetSelectionMode(pf::SelectionMode::ListBox);
    // The one column is the list's width: a long name is cut with an ellipsis, not at the
    // list's edge, and its tooltip shows it whole.
    fg.SetExtendLastCol(true);
    fg.Events.DblClick = [this] { fg_DblClick(); };
    fg.Events.AfterSelChange = [this] { EnableButtons(); };
    // Its window tells the list how wide it shows, once it shows and whenever that changes.
    fg.Events.ClientResize = [this] { FitNames(); };
    m_cmdNew->OnClick = [this] { cmdNew_Click(); };
    m_cmdEdit->OnClick = [this] { cmdEdit_Click(); };
    m_cmdCopy->OnClick = [this] { cmdCopy_Click(); };
    m_cmdRemove->OnClick = [this] { cmdRemove_Click(); };
    m_cmdOK->OnClick = [this] { cmdOK_Click(); };
    m_cmdClose->OnClick = [this] { cmdClose_Click(); };
    PlaceControls();
}

void frmTemplate::PlaceControls()
{
    // The list under its label; right of it New, Edit, Copy, Delete from the top and Select
    // and Close at the bottom, in one column.
    constexpr int kMargin = 120, kListWidth = 3255, kListHeight = 3135, kButtonWidth = 1455,
                  kButtonHeight = 375, kStep = 480;
    constexpr int kListTop = kMargin + 300;
    m_lbl->Move(kMargin, kMargin, kListWidth, 255);
    m_fg->Move(kMargin, kListTop, kListWidth, kListHeight);
    const int lButtons = 2 * kMargin + kListWidth;
    int lTop = kListTop;
    for (auto* oButton : {m_cmdNew.get(), m_cmdEdit.get(), m_cmdCopy.get(), m_cmdRemove.get()}) {
        oButton->Move(lButtons, lTop, kButtonWidth, kButtonHeight);
        lTop += kStep;
    }
    const int lBottom = kListTop + kListHeight - kButtonHeight;
    m_cmdOK->Move(lButtons, lBottom - kStep, kButtonWidth, kButtonHeight);
    m_cmdClose->Move(lButtons, lBottom, kButtonWidth, kButtonHeight);
    detail::SetClientSize(*this, lButtons + kButtonWidth + kMargin,
                          kListTop + kListHeight + kMargin);
}

void frmTemplate::FitNames()
{
    auto& grid = fg();
    grid::Flexgrid2::AutoSizeGrid(grid);
    // Never wider than the list shows: a name longer than it is cut with an ellipsis at the
    // visible edge and read whole in its tooltip, rather than cut mid-letter there. A window
    // may show the columns wider than their twips, so the list's own width in twips is only
    // the bound until the window says how wide it shows (the grid's ClientWidth, in the
    // columns' twips, without its scroll bar).
    constexpr int kFrameAndScrollBar = 360;
    const int lInside =
        std::max(std::min(m_fg->Width() - kFrameAndScrollBar, grid.ClientWidth()), 0);
    rt::ResumeNext ignore;
    ignore([&] {
        if (grid.Cols() > 0 && grid.ColWidth(0) > lInside)
            grid.SetColWidth(0, lInside);
    });
}

frmTemplate::~frmTemplate() = default;

pf::FlexGrid& frmTemplate::fg() const
{
    return m_fg->Grid();
}

std::shared_ptr<views::ViewSettings>
frmTemplate::ShowForm(const std::shared_ptr<views::Templates>& oTemplates, Form* ParentForm,
                      const std::string& CurrentSelection)
{
    std::shared_ptr<views::ViewSettings> oResult;
    common::Logging(
        kModule, "ShowForm",
        [&] {
            m_oTemplates = oTemplates;
            Confirmed = false;
            if (!m_oTemplates)
                rt::Raise(rt::errors::ObjectNotSet);
            common::modLabelControls::LocalizeForm(*this);
            detail::SetDialogFontSize(*this);
            fg().SetFontSize(kDialogFontSize);
            ShowItems(CurrentSelection);
            EnableButtons();
            Show(pf::ShowStyle::Modal, ParentForm);
            if (Confirmed)
                oResult = TemplateOfRow(fg().Row());
        },
        detail::ShowError);
    rt::ResumeNext ignore;
    ignore([&] { Unload(); });
    return oResult;
}

void frmTemplate::ShowItems(const std::string& CurrentSelection)
{
    common::Rethrowing(kModule, "ShowItems", [&] {
        auto& grid = fg();
        try {
            common::modMain::SuspendGridRedraw(&grid);
            grid.SetRows(0);
            for (const auto& oView : *m_oTemplates) {
                const int lRow = grid.AddItem(oView->Name());
                grid.SetRowData(lRow, rt::Variant(oView));
            }
            grid.SetRedraw(true);
        } catch (...) {
            rt::ResumeNext ignore;
            ignore([&] { grid.SetRedraw(true); });
            throw;
        }
        FitNames();
        const int lRow = FindRow(CurrentSelection);
        SelectRow(lRow >= 0 ? lRow : 0);
    });
}

int frmTemplate::FindRow(const std::string& sName) const
{
    const auto& grid = fg();
    for (int lRow = 0; lRow < grid.Rows(); ++lRow)
        if (rt::TextEquals(grid.TextMatrix(lRow, 0), sName))
            return lRow;
    return -1;
}

std::shared_ptr<views::ViewSettings> frmTemplate::TemplateOfRow(int lRow) const
{
    const auto& grid = fg();
    if (lRow < 0 || lRow >= grid.Rows())
        return nullptr;
    const auto& vData = grid.RowData(lRow);
    if (!vData.IsObject())
        return nullptr;
    return std::dynamic_pointer_cast<views::ViewSettings>(vData.AsObject());
}

void frmTemplate::SelectRow(int lRow)
{
    auto& grid = fg();
    if (lRow < 0 || lRow >= grid.Rows())
        return;
    grid.Select(lRow, 0);
    grid.ShowCell(lRow, 0);
}

void frmTemplate::EnableButtons()
{
    rt::ResumeNext ignore;
    ignore([&] {
        const auto& grid = fg();
        const int lSelected = grid.SelectedRows();
        const bool bOne = lSelected == 1;
        m_cmdEdit->SetEnabled(bOne);
        m_cmdCopy->SetEnabled(bOne);
        m_cmdOK->SetEnabled(bOne);
        bool bStandard = false;
        for (int i = 0; i < lSelected; ++i)
            if (grid.TextMatrix(grid.SelectedRow(i), 0) == detail::kStandard)
                bStandard = true;
        m_cmdRemove->SetEnabled(!bStandard);
    });
}

void frmTemplate::cmdNew_Click()
{
    common::Logging(
        kModule, "cmdNew_Click",
        [&] {
            auto oView = std::make_shared<views::ViewSettings>();
            oView->CreateNew({});
            ShowDetails(oView, true);
            EnableButtons();
        },
        detail::ShowError);
}

void frmTemplate::cmdCopy_Click()
{
    common::Logging(
        kModule, "cmdCopy_Click",
        [&] {
            const auto oTemplate = TemplateOfRow(fg().Row());
            if (!oTemplate)
                return;
            // The copy carries every setting but the name: the user names it in the editor.
            auto oCopy = std::make_shared<views::ViewSettings>();
            oCopy->Copy(*oTemplate);
            ShowDetails(oCopy, true);
        },
        detail::ShowError);
}

void frmTemplate::cmdEdit_Click()
{
    common::Logging(
        kModule, "cmdEdit_Click",
        [&] {
            if (const auto oTemplate = TemplateOfRow(fg().Row()))
                ShowDetails(oTemplate, false);
        },
        detail::ShowError);
}

void frmTemplate::ShowDetails(const std::shared_ptr<views::ViewSettings>& oView, bool bNew)
{
    common::Rethrowing(kModule, "ShowDetails", [&] {
        const std::string sOld = oView->Name();
        frmTemplateDetail oEditor(m_oServices);
        oEditor.ShowForm(m_oTemplates, oView, this);
        if (!oEditor.Confirmed)
            return;
        auto& grid = fg();
        common::modMain::SuspendGridRedraw(&grid);
        if (!bNew)
            if (const int lOld = FindRow(sOld); lOld >= 0)
                grid.RemoveItem(lOld);
        const int lRow = grid.AddItem(oView->Name());
        grid.SetRowData(lRow, rt::Variant(oView));
        grid.SetRedraw(true);
        FitNames();
        const int lShown = FindRow(oView->Name());
        SelectRow(lShown >= 0 ? lShown : 0);
        // Only a confirmed edit writes the file; a failure is shown and leaves it as it was.
        m_oTemplates->Save();
    });
}

void frmTemplate::cmdRemove_Click()
{
    rt::ResumeNext ignore;
    std::vector<std::string> vNames;
    bool bStandard = false;
    int lSelected = 0;
    ignore([&] { lSelected = fg().SelectedRows(); });
    for (int i = 0; i < lSelected && !bStandard; ++i)
        ignore([&] {
            const std::string sName = fg().TextMatrix(fg().SelectedRow(i), 0);
            bStandard = sName == detail::kStandard;
            vNames.push_back(sName);
        });
    if (bStandard) {
        ignore([&] {
            pf::MsgBox(detail::MessageText(kMsgStandardKept), kInformation, detail::AppTitle());
        });
        return;
    }
    if (vNames.empty())
        return;
    // A question that fails or that nobody answers deletes nothing, as a No does.
    int lAnswer = pf::vbNo;
    ignore([&] {
        lAnswer = pf::MsgBox(detail::MessageText(kAskDelete), kYesNoQuestion, detail::AppTitle());
    });
    if (lAnswer != pf::vbYes)
        return;
    for (const auto& sName : vNames)
        ignore([&] {
            const int lRow = FindRow(sName);
            if (lRow < 0)
                return;
            if (const auto oTemplate = TemplateOfRow(lRow))
                m_oTemplates->Remove(rt::Variant(oTemplate->Name()));
            fg().RemoveItem(lRow);
        });
    ignore([&] { SelectRow(0); });
    EnableButtons();
}

void frmTemplate::cmdOK_Click()
{
    common::Logging(
        kModule, "cmdOK_Click",
        [&] {
            Confirmed = true;
            Hide();
        },
        detail::ShowError);
}

void frmTemplate::fg_DblClick()
{
    if (m_cmdOK->Enabled())
        cmdOK_Click();
}

void frmTemplate::cmdClose_Click()
{
    common::Logging(
        kModule, "cmdClose_Click", [&] { Unload(); }, detail::ShowError);
}

void frmTemplate::Form_KeyDown(int& KeyCode, int /*Shift*/)
{
    detail::HandleHelpKey(KeyCode, "templates.html");
}

} // namespace dialogs
