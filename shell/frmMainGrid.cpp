// The report window's grid events: the current row's colour, the mouse and keys on the grid,
// the context menu, the find box, the column order and widths, and the window's own texts.
#include "shell/frmMain.h"

#include "actions/Action.h"
#include "actions/ActionSave.h"
#include "common/Deliverable.h"
#include "common/ErrorHandling.h"
#include "common/IControlResource.h"
#include "common/modLabelControls.h"
#include "common/modLanguage.h"
#include "common/modMain.h"
#include "platform/forms/Driver.h"
#include "platform/forms/FlexGrid.h"
#include "platform/forms/MenuBar.h"
#include "platform/forms/StandardControls.h"
#include "platform/runtime/Conversion.h"
#include "platform/runtime/Error.h"
#include "platform/runtime/ResumeNext.h"
#include "platform/runtime/Variant.h"
#include "platform/win/Desktop.h"
#include "views/GridField.h"
#include "views/GridFields.h"
#include "views/ViewSettings.h"

namespace shell {

namespace rt = platform::runtime;
namespace pf = platform::forms;
namespace win = platform::win;

namespace {

constexpr int kExclamation = 48;
constexpr int kRightButton = 2;
constexpr int kCtrlOnly = 2;
constexpr int kEnter = 13;
constexpr int kKeyA = 65;
constexpr int kContextMenuKey = 93;
// The current row is marked light blue; the row left behind is white again; text is black.
constexpr std::uint32_t kCurrentRowBack = 0xFEECDD;
constexpr std::uint32_t kRowBack = 0xFFFFFF;
constexpr std::uint32_t kRowText = 0;
// Report formats whose file shows the column widths.
constexpr std::int32_t kHtml = 1;
constexpr std::int32_t kPdf = 3;
// The key of the window's "no entries were found" text.
constexpr long kNothingFound = 4000;
// The tooltip of the find button ("Find the next row that holds the text").
constexpr long kFindTip = 2294;
const char* const kIconKey = "Icon";

void ShowError(common::ErrorObject& oError)
{
    pf::MsgBox(oError.Description(), kExclamation, common::ThisDeliverable().sAppTitle);
}

pf::CellRange WholeRow(const pf::FlexGrid& fg, int lRow)
{
    return {lRow, 0, lRow, fg.Cols() - 1};
}

} // namespace

/// The window seen through its resource interface.
class frmMain::ControlResource : public common::IControlResource
{
public:
    explicit ControlResource(frmMain& oForm) : m_oForm(oForm) {}
    std::string Caption() const override { return m_oForm.Caption(); }
    void SetCaption(const std::string& sCaption) override { m_oForm.SetCaption(sCaption); }
    const std::vector<std::shared_ptr<pf::Control>>& Controls() const override
    {
        return m_oForm.Controls();
    }
    std::string GetResource(const std::string& Tag) override { return m_oForm.GetResource(Tag); }
    std::string Tag() const override { return m_oForm.Tag(); }

private:
    frmMain& m_oForm;
};

common::IControlResource& frmMain::AsIControlResource()
{
    if (!m_oControlResource)
        m_oControlResource = std::make_shared<ControlResource>(*this);
    return *m_oControlResource;
}

std::string frmMain::GetResource(const std::string& Tag) const
{
    rt::ResumeNext ignore;
    std::string sText;
    ignore([&] {
        if (!rt::IsNumeric(rt::Variant(Tag)))
            return;
        const long lKey = rt::CLng(rt::Variant(Tag)) + common::modLanguage::GetLanguageOffset();
        if (lKey == kNothingFound)
            sText = "Es wurden keine Einträge gefunden.";
        else if (lKey == kNothingFound + 10000)
            sText = "No entries were found.";
    });
    return sText;
}

void frmMain::InitGridEvents()
{
    auto& oEvents = m_fg->Events;
    oEvents.DblClick = [this] { fg_DblClick(); };
    oEvents.MouseUp = [this](int& b, int s, double x, double y) { fg_MouseUp(b, s, x, y); };
    oEvents.KeyDown = [this](int& k, int& s) { fg_KeyDown(k, s); };
    oEvents.KeyUp = [this](int& k, int s) { fg_KeyUp(k, s); };
    oEvents.RowColChange = [this](int r0, int c0, int r1, int c1) {
        fg_CurrentCellChanged(r0, c0, r1, c1);
    };
    oEvents.ColumnMoving = [this](int c, int& p) { fg_ColumnMoving(c, p); };
    oEvents.ColumnResizing = [this](int r, int c, bool& bCancel) {
        fg_ColumnResizing(r, c, bCancel);
    };
    oEvents.ColumnResized = [this](int r, int c) { fg_ColumnResized(r, c); };
    m_cmdFind->OnClick = [this] { cmdFind_Click(); };
    m_txtFind->OnKeyDown = [this](int& k, int s) { txtFind_KeyDown(k, s); };
}

void frmMain::PlaceGridWindow()
{
    // The grid fills the window's inner area; its window on the desktop says where on the
    // screen its cells are, for the context menu shown under a cell.
    const int lBorder = (Width() - ScaleWidth()) / 2;
    const int lLeft = (Left() + lBorder) / win::Desktop::kTwipsPerPixel;
    const int lTop = (Top() + Height() - ScaleHeight() - lBorder) / win::Desktop::kTwipsPerPixel;
    const win::ScreenRect oRect{lLeft, lTop, lLeft + ScaleWidth() / win::Desktop::kTwipsPerPixel,
                                lTop + ScaleHeight() / win::Desktop::kTwipsPerPixel};
    auto& oDesktop = win::Desktop::current();
    const auto hGrid = static_cast<win::WindowHandle>(m_fg->Hwnd());
    if (!oDesktop.setWindowRect(hGrid, oRect))
        m_fg->SetHwnd(oDesktop.createWindow(oRect));
}

void frmMain::ReleaseGridWindow()
{
    win::Desktop::current().destroyWindow(static_cast<win::WindowHandle>(m_fg->Hwnd()));
    m_fg->SetHwnd(0);
}

void frmMain::fg_CurrentCellChanged(int OldRow, int /*OldCol*/, int NewRow, int /*NewCol*/)
{
    rt::ResumeNext ignore;
    if (OldRow > 0) {
        ignore([&] { m_fg->SetCellBackColor(WholeRow(*m_fg, OldRow), kRowBack); });
        ignore([&] { m_fg->SetCellForeColor(WholeRow(*m_fg, OldRow), kRowText); });
    }
    if (NewRow > 0) {
        ignore([&] { m_fg->SetCellBackColor(WholeRow(*m_fg, NewRow), kCurrentRowBack); });
        ignore([&] { m_fg->SetCellForeColor(WholeRow(*m_fg, NewRow), kRowText); });
    }
}

void frmMain::fg_DblClick()
{
    common::Logging(
        "frmMain", "fg_DblClick",
        [&] {
            if (m_fg->MouseRow() >= m_fg->FixedRows())
                OpenOutlookItem();
        },
        ShowError);
}

void frmMain::fg_MouseUp(int& Button, int /*Shift*/, double /*X*/, double /*Y*/)
{
    common::Logging(
        "frmMain", "fg_MouseUp",
        [&] {
            if (Button != kRightButton)
                return;
            const int lRow = m_fg->MouseRow();
            if (lRow < m_fg->FixedRows() || lRow >= m_fg->Rows())
                return;
            // A click inside a selection keeps it: the menu works on all its rows.
            if (!m_fg->IsSelected(lRow)) {
                m_fg->SetRow(lRow);
                EnableMenus();
            }
            ShowContextMenuOutlookItem(true);
        },
        ShowError);
}

void frmMain::fg_KeyDown(int& KeyCode, int& Shift)
{
    common::Logging(
        "frmMain", "fg_KeyDown",
        [&] {
            if (KeyCode == kEnter) {
                OpenOutlookItem();
            } else if (KeyCode == kKeyA && Shift == kCtrlOnly) {
                if (m_fg->Rows() > m_fg->FixedRows())
                    m_fg->Select(m_fg->FixedRows(), 0, m_fg->Rows() - 1, m_fg->Cols() - 1);
            }
        },
        ShowError);
}

void frmMain::fg_KeyUp(int& KeyCode, int /*Shift*/)
{
    common::Logging(
        "frmMain", "fg_KeyUp",
        [&] {
            if (KeyCode != kContextMenuKey)
                return;
            if (m_fg->SelectedRows() > 0 && m_fg->Row() >= m_fg->FixedRows())
                ShowContextMenuOutlookItem(false);
        },
        ShowError);
}

void frmMain::ShowContextMenuOutlookItem(bool bAtMouse)
{
    common::Logging(
        "frmMain", "ShowContextMenuOutlookItem",
        [&] {
            // The window may have moved since the grid's window was placed.
            PlaceGridWindow();
            m_oPopup.PopUpMenu6(*m_MenuBar1, m_oContextMenu, *m_fg, bAtMouse);
        },
        ShowError);
}

void frmMain::fg_ColumnMoving(int Col, int& Position)
{
    rt::ResumeNext ignore;
    // The outline column holds the totals and group captions, and a hidden column one the
    // report needs but does not show: moved, either would put the report's columns out of step
    // with the view's and the saved report would lose a column. Such a move is refused: the
    // column stays where it is and the view keeps its order.
    bool bRefused = true;
    ignore([&] { bRefused = Col == 0 || m_fg->ColHidden(Col); });
    if (bRefused) {
        Position = Col;
        return;
    }
    // Nothing goes before the outline column.
    if (Position == 0)
        Position = 1;
    ignore([&] { ReOrderColumnPosition(Col, Position); });
}

void frmMain::ReOrderColumnPosition(int Col, int Position)
{
    common::Rethrowing("frmMain", "ReOrderColumnPosition", [&] {
        auto oFields = m_oView->Fields();
        const std::string sKey = m_fg->ColKey(Col);
        auto oField = oFields->Item(rt::Variant(sKey));
        if (!oField)
            throw rt::Error(rt::errors::ObjectNotSet, "frmMain",
                            "The view has no column \"" + sKey + "\".");
        oFields->Remove(rt::Variant(sKey));
        oFields->Insert(oField, Position);
        m_bReportSaved = false;
    });
}

void frmMain::fg_ColumnResizing(int /*Row*/, int Col, bool& Cancel)
{
    rt::ResumeNext ignore;
    ignore([&] {
        if (Col == m_fg->ColIndex(kIconKey))
            Cancel = true;
    });
}

void frmMain::fg_ColumnResized(int /*Row*/, int Col)
{
    rt::ResumeNext ignore;
    ignore([&] {
        if (auto oField = m_oView->Fields()->Item(rt::Variant(m_fg->ColKey(Col))))
            oField->SetWidth(m_fg->ColWidth(Col));
    });
    ignore([&] {
        const auto lFormat = m_oView->Action()->GetSaveAction()->ReportFormat();
        if (lFormat == kHtml || lFormat == kPdf)
            m_bReportSaved = false;
    });
}

void frmMain::cmdFind_Click()
{
    rt::ResumeNext ignore;
    ignore([&] { Find(); });
    ignore([&] { m_txtFind->SetFocus(); });
    ignore([&] { common::modMain::SelectAllText(m_txtFind.get(), -1); });
}

void frmMain::LocalizeFindButton()
{
    // The caption comes with the form's captions from the button's tag; a tooltip has no
    // tag of its own, so its text is looked up here.
    m_cmdFind->SetToolTipText(common::modLabelControls::GetResText(kFindTip));
}

void frmMain::txtFind_KeyDown(int& KeyCode, int /*Shift*/)
{
    if (KeyCode != kEnter)
        return;
    rt::ResumeNext ignore;
    ignore([&] { common::modMain::SelectAllText(m_txtFind.get(), -1); });
    ignore([&] { Find(); });
    KeyCode = 0;
}

void frmMain::Find()
{
    const std::string sText = m_txtFind->Text();
    if (sText.empty())
        return;
    rt::ResumeNext ignore;
    const int lCurrent = m_fg->Row();
    const int lCols = m_fg->Cols();
    int lFound = -1;
    // Below the current row, column by column: an earlier column wins over a nearer row.
    for (int c = 0; c < lCols && lFound < 0; ++c) {
        ignore([&] {
            if (m_fg->ColHidden(c))
                return;
            const int r = m_fg->FindRow(sText, lCurrent + 1, c);
            if (r >= 0) {
                lFound = r;
                ShowFoundCell(r, c);
            }
        });
    }
    // Then from the top down to the current row, which is searched last.
    if (lFound < 0 && lCurrent >= m_fg->FixedRows()) {
        for (int c = 0; c < lCols && lFound < 0; ++c) {
            ignore([&] {
                if (m_fg->ColHidden(c))
                    return;
                const int r = m_fg->FindRow(sText, std::nullopt, c);
                if (r >= m_fg->FixedRows() && r <= lCurrent) {
                    lFound = r;
                    ShowFoundCell(r, c);
                }
            });
        }
    }
    if (lFound < 0)
        pf::MsgBox(GetResource(std::to_string(kNothingFound)), 0,
                   common::ThisDeliverable().sAppTitle);
}

void frmMain::ShowFoundCell(int Row, int Col)
{
    rt::ResumeNext ignore;
    std::optional<pf::OutlineNode> oNode;
    ignore([&] { oNode = m_fg->GetNode(Row); });
    const auto showAndSelect = [&] {
        ignore([&] { m_fg->ShowCell(Row, Col); });
        ignore([&] { m_fg->Select(Row, 0, Row, m_fg->Cols() - 1); });
    };
    showAndSelect();
    if (oNode) {
        ignore([&] { oNode->SetExpanded(true); });
        ignore([&] {
            if (oNode->Level() <= 0)
                return;
            // Every group above the found row opens too, up to the top.
            for (auto oParent = oNode->Parent(); oParent; oParent = oParent->Parent())
                oParent->SetExpanded(true);
        });
    }
    // Opening the groups moved the rows below them.
    showAndSelect();
}

} // namespace shell
