#include "dialogs/frmFieldChooser.h"

#include "common/ErrorHandling.h"
#include "common/modLabelControls.h"
#include "common/modMain.h"
#include "fieldcatalogue/cField.h"
#include "platform/forms/FlexGrid.h"
#include "platform/forms/GridControl.h"
#include "platform/forms/StandardControls.h"
#include "platform/runtime/DoEvents.h"
#include "platform/runtime/ResumeNext.h"
#include "platform/runtime/Strings.h"
#include "views/ViewSettings.h"
#include "views/cMapiProps.h"

#include <algorithm>

namespace dialogs {

namespace pf = platform::forms;
namespace rt = platform::runtime;

namespace {
constexpr int kLeftButton = 1;
// Half the height of the band around a row boundary that moves the insertion line there.
constexpr double kLineBand = 20;

std::string KeyOfRow(const pf::FlexGrid& fg, int lRow)
{
    const std::string* pKey = fg.RowData(lRow).Get<std::string>();
    return pKey ? *pKey : std::string{};
}

int RowOfKey(const pf::FlexGrid& fg, const std::string& sKey)
{
    for (int r = 0; r < fg.Rows(); ++r)
        if (KeyOfRow(fg, r) == sKey)
            return r;
    return -1;
}

int AppendRow(pf::FlexGrid& fg, const std::string& sCaption, const std::string& sKey,
              std::optional<int> lAt = std::nullopt)
{
    const int lRow = fg.AddItem(sCaption, lAt);
    fg.SetRowData(lRow, sKey);
    return lRow;
}

void SetupList(pf::FlexGrid& fg)
{
    fg.SetCols(1);
    fg.SetRows(0);
    fg.SetFixedRows(0);
    fg.SetFixedCols(0);
    fg.SetSelectionMode(pf::SelectionMode::ListBox);
    // The list's one column fills its width.
    fg.SetExtendLastCol(true);
}
} // namespace

frmFieldChooser::frmFieldChooser() : FieldSectionDialog("frmFieldChooser", "view.html")
{
    SetCaption(" Felder anzeigen");
    SetTag("2082");
    Move(0, 0, 7065, 5250);
    CreateControls();
    SetupList(fgAll());
    SetupList(fgSelected());
    fgSelected().SetEditable(true);
    ConnectGridEvents();
}

void frmFieldChooser::CreateControls()
{
    auto button = [this](const char* sName, const char* sTag, int lLeft, int lTop, int lWidth) {
        auto oButton = Add<pf::CommandButton>(sName);
        oButton->SetTag(sTag);
        oButton->Move(lLeft, lTop, lWidth, 400);
        return oButton;
    };
    m_lblAll = Add<pf::Label>("lbl0");
    m_lblAll->SetTag("2083");
    m_lblAll->Move(120, 240, 2415, 315);
    m_fgAll = Add<pf::GridControl>("fgAll");
    m_fgAll->Move(120, 720, 2535, 3015);
    m_cboFolder = Add<pf::ComboBox>("cboFolder");
    m_cboFolder->SetTag("2118,2119,2120,2121");
    m_cboFolder->Move(120, 3840, 2535, 315);
    m_cmdAdd = button("cmdAdd", "2084", 2760, 1440, 1440);
    m_cmdRemove = button("cmdRemove", "2085", 2760, 1920, 1440);
    m_lblSelected = Add<pf::Label>("lbl1");
    m_lblSelected->SetTag("2086");
    m_lblSelected->Move(4320, 240, 2415, 435);
    m_fgSelected = Add<pf::GridControl>("fgSelected");
    m_fgSelected->Move(4320, 720, 2535, 3015);
    m_cmdUp = button("cmdUp", "2087", 4320, 3840, 1200);
    m_cmdDown = button("cmdDown", "2088", 5640, 3840, 1200);
    m_cmdOK = button("cmdOK", "2027", 4320, 4320, 1200);
    m_cmdOK->Default = true;
    m_cmdCancel = button("cmdCancel", "2028", 5640, 4320, 1200);
    m_cmdCancel->Cancel = true;
    m_picLine = Add<pf::PictureBox>("picLine");
    m_picLine->Move(4320, 720, 2535, 30);
    m_picLine->SetVisible(false);
    m_lblLine = Add<pf::Label>("lblLine");
    m_lblLine->Move(0, 0, 2535, 30);
    m_lblLine->SetContainer(m_picLine.get());

    m_cboFolder->OnClick = [this] { cboFolder_Click(); };
    m_cmdAdd->OnClick = [this] { cmdAdd_Click(); };
    m_cmdRemove->OnClick = [this] { cmdRemove_Click(); };
    m_cmdUp->OnClick = [this] { cmdUp_Click(); };
    m_cmdDown->OnClick = [this] { cmdDown_Click(); };
    m_cmdOK->OnClick = [this] { cmdOK_Click(); };
    m_cmdCancel->OnClick = [this] { cmdCancel_Click(); };
}

void frmFieldChooser::ConnectGridEvents()
{
    for (pf::FlexGrid* pGrid : {&fgAll(), &fgSelected()}) {
        pf::FlexGrid& fg = *pGrid;
        fg.Events.MouseMove = [this, &fg](int Button, int, double, double) {
            fg_MouseMove(fg, Button);
        };
        fg.Events.MouseUp = [this](int&, int, double, double) { ResetDragState(); };
        fg.Events.LostFocus = [this] { ResetDragState(); };
        fg.Events.OLEStartDrag = [this, &fg](pf::DropEffect& AllowedEffects) {
            fg_OLEStartDrag(fg, AllowedEffects);
        };
    }
    auto& oAll = fgAll().Events;
    oAll.AfterSelChange = [this] { AfterSelChange("fgAll_AfterSelChange"); };
    oAll.DblClick = [this] {
        if (m_cmdAdd->Enabled())
            cmdAdd_Click();
    };
    oAll.OLEDragOver = [](pf::FlexGrid*, pf::DropEffect& Effect, int, int, double, double,
                          pf::DragState) { Effect = pf::DropEffect::Move; };
    oAll.OLEDragDrop = [this](pf::FlexGrid* Source, pf::DropEffect&, int, int, double, double) {
        fgAll_OLEDragDrop(Source);
    };
    auto& oSelected = fgSelected().Events;
    oSelected.AfterSelChange = [this] { AfterSelChange("fgSelected_AfterSelChange"); };
    oSelected.OLEDragOver = [this](pf::FlexGrid*, pf::DropEffect& Effect, int, int, double,
                                   double Y, pf::DragState) {
        Effect = pf::DropEffect::Move;
        fgSelected_OLEDragOver(Y);
    };
    oSelected.OLEDragDrop = [this](pf::FlexGrid* Source, pf::DropEffect&, int, int, double,
                                   double) { fgSelected_OLEDragDrop(Source); };
}

pf::FlexGrid& frmFieldChooser::fgAll() const
{
    return m_fgAll->Grid();
}

pf::FlexGrid& frmFieldChooser::fgSelected() const
{
    return m_fgSelected->Grid();
}

void frmFieldChooser::Form_Load()
{
    common::Logging(
        ModuleName(), "Form_Load",
        [&](int& nLine) {
            nLine = 1;
            common::modLabelControls::LocalizeForm(*this);
            common::modLabelControls::LocalizeComboItems(*m_cboFolder);
            SetDialogFontSize();
            nLine = 2;
            m_oCopy = CopyOfEditedView();
            nLine = 3;
            common::modMain::SuspendGridRedraw(&fgSelected());
            for (const auto& oColumn : *m_oCopy->Fields())
                if (oColumn->Visible())
                    AppendRow(fgSelected(), oColumn->Caption(), oColumn->Key());
            fgSelected().SetRedraw(true);
            nLine = 4;
            if (m_cboFolder->ListCount() > 0)
                m_cboFolder->SetListIndex(0);
            nLine = 5;
            EnableControls();
            nLine = 6;
            m_picLine->Move(m_fgSelected->Left(), m_fgSelected->Top(), m_fgSelected->Width(), 30);
            m_picLine->SetVisible(false);
        },
        ShowError);
    // A failed load still shows what was filled.
    rt::ResumeNext ignore;
    ignore([&] { fgSelected().SetRedraw(true); });
    ignore([&] { fgAll().SetRedraw(true); });
}

void frmFieldChooser::cboFolder_Click()
{
    try {
        FillAvailableFields();
    } catch (...) {
        // Shown, not logged.
        common::ErrorObject oError;
        bool bFlag = false;
        oError.CaptureError(common::SourceText(ModuleName(), "cboFolder_Click", 0), bFlag);
        ShowError(oError);
    }
}

void frmFieldChooser::FillAvailableFields()
{
    rt::ResumeNext ignore;
    auto& fg = fgAll();
    std::optional<FieldList> oSet;
    ignore([&] { oSet = FieldSetOf(m_cboFolder->ListIndex()); });
    ignore([&] { common::modMain::SuspendGridRedraw(&fg); });
    ignore([&] { fg.SetRows(0); });
    if (oSet)
        for (const auto& oField : *oSet)
            ignore([&] {
                // A field already chosen is never offered twice.
                if (oField && !oField->HiddenProperty() &&
                    RowOfKey(fgSelected(), oField->Key()) < 0)
                    AppendRow(fg, oField->Caption(), oField->Key());
            });
    ignore([&] { fg.Sort(pf::SortSetting::GenericAscending); });
    ignore([&] { fg.SetRedraw(true); });
}

bool frmFieldChooser::CollectSelectedKeys(pf::FlexGrid& fg)
{
    rt::ResumeNext ignore;
    const int n = fg.SelectedRows();
    if (n == 0)
        return false;
    std::vector<std::string> aKeys;
    for (int i = 0; i < n; ++i)
        ignore([&] {
            const std::string sKey = KeyOfRow(fg, fg.SelectedRow(i));
            const auto oField = MapiProps().FindField(sKey);
            aKeys.push_back(oField ? oField->Key() : sKey);
        });
    DragKeys = std::move(aKeys);
    return true;
}

void frmFieldChooser::EnableControls()
{
    common::Rethrowing(ModuleName(), "EnableControls", [&] {
        auto& fg = fgSelected();
        const int n = fg.SelectedRows();
        if (n > 0 && fg.SelectedRow(0) >= 0) {
            m_cmdUp->SetEnabled(fg.SelectedRow(0) != 0);
            m_cmdDown->SetEnabled(fg.SelectedRow(n - 1) < fg.Rows() - 1);
            m_cmdRemove->SetEnabled(true);
        } else {
            m_cmdUp->SetEnabled(false);
            m_cmdDown->SetEnabled(false);
            m_cmdRemove->SetEnabled(false);
        }
        m_cmdAdd->SetEnabled(fgAll().SelectedRows() > 0 && fgAll().SelectedRow(0) >= 0);
        m_cmdOK->SetEnabled(true);
        m_cmdCancel->SetEnabled(true);
    });
}

void frmFieldChooser::AfterSelChange(const char* sProcedure)
{
    common::Logging(
        ModuleName(), sProcedure, [&] { EnableControls(); }, ShowError);
}

void frmFieldChooser::cmdAdd_Click()
{
    common::Logging(
        ModuleName(), "cmdAdd_Click",
        [&] {
            // The pointer is on the button, over no row of the chosen list: the fields go last.
            if (CollectSelectedKeys(fgAll()))
                MoveFromAllToSelectedItems(-1);
        },
        ShowError);
    ResetDragState();
}

void frmFieldChooser::cmdRemove_Click()
{
    common::Logging(
        ModuleName(), "cmdRemove_Click",
        [&] {
            if (CollectSelectedKeys(fgSelected()))
                MoveFromSelectedToAllItems();
        },
        ShowError);
    ResetDragState();
}

void frmFieldChooser::cmdUp_Click()
{
    rt::ResumeNext ignore;
    ignore([&] {
        if (!CollectSelectedKeys(fgSelected()))
            return;
        InsertRow = fgSelected().SelectedRow(0) - 1;
        MoveWithinSelected();
    });
    ResetDragState();
}

void frmFieldChooser::cmdDown_Click()
{
    rt::ResumeNext ignore;
    ignore([&] {
        if (!CollectSelectedKeys(fgSelected()))
            return;
        auto& fg = fgSelected();
        InsertRow = fg.SelectedRow(fg.SelectedRows() - 1) + 2;
        MoveWithinSelected();
    });
    ResetDragState();
}

template <class Body> void frmFieldChooser::WithoutRedraw(const char* sProcedure, Body&& body)
{
    const bool bDone = common::Logging(
        ModuleName(), sProcedure,
        [&] {
            common::modMain::SuspendGridRedraw(&fgAll());
            common::modMain::SuspendGridRedraw(&fgSelected());
            body();
        },
        [&](common::ErrorObject& oError) {
            rt::ResumeNext ignore;
            ignore([&] { fgAll().SetRedraw(true); });
            ignore([&] { fgSelected().SetRedraw(true); });
            ShowError(oError);
        });
    if (bDone) {
        fgAll().SetRedraw(true);
        fgSelected().SetRedraw(true);
    }
}

void frmFieldChooser::MoveFromAllToSelectedItems(int lPointerRow)
{
    WithoutRedraw("MoveFromAllToSelectedItems", [&] {
        auto& oAll = fgAll();
        auto& oSelected = fgSelected();
        int lRow = InsertRow >= 0 ? InsertRow : lPointerRow;
        if (lRow < 0 || lRow > oSelected.Rows())
            lRow = oSelected.Rows();
        for (const auto& sKey : DragKeys) {
            const auto oField = MapiProps().FindField(sKey);
            if (!oField)
                continue;
            AppendRow(oSelected, oField->Caption(), oField->Key(), lRow);
            ++lRow;
            const int lRemoved = RowOfKey(oAll, sKey);
            if (lRemoved >= 0) {
                oAll.RemoveItem(lRemoved);
                if (oAll.Rows() > 0)
                    oAll.SetRow(std::min(lRemoved, oAll.Rows() - 1));
            }
            if (auto oColumn = m_oCopy->Fields()->Item(sKey))
                oColumn->SetVisible(true);
        }
        EnableControls();
    });
}

void frmFieldChooser::MoveFromSelectedToAllItems()
{
    WithoutRedraw("MoveFromSelectedToAllItems", [&] {
        auto& oAll = fgAll();
        auto& oSelected = fgSelected();
        int lLastRemoved = -1;
        for (const auto& sKey : DragKeys) {
            // A key the catalogue does not know keeps its row in the chosen list.
            if (const auto oField = MapiProps().FindField(sKey)) {
                AppendRow(oAll, oField->Caption(), sKey);
                const int lRow = RowOfKey(oSelected, sKey);
                if (lRow >= 0) {
                    oSelected.RemoveItem(lRow);
                    lLastRemoved = lRow;
                }
            }
            if (auto oColumn = m_oCopy->Fields()->Item(sKey))
                oColumn->SetVisible(false);
        }
        if (oSelected.Rows() > 0 && lLastRemoved >= 0)
            oSelected.SetRow(std::min(lLastRemoved, oSelected.Rows() - 1));
        // The current field of the available list stays current across the sort.
        std::string sCurrent;
        if (oAll.Row() > 0)
            sCurrent = KeyOfRow(oAll, oAll.Row());
        oAll.Select(0, 0);
        oAll.Sort(pf::SortSetting::GenericAscending);
        if (!sCurrent.empty())
            if (const int lRow = RowOfKey(oAll, sCurrent); lRow >= 0)
                oAll.SetRow(lRow);
        EnableControls();
    });
}

void frmFieldChooser::MoveWithinSelected()
{
    if (InsertRow < 0) {
        EnableControls();
        return;
    }
    WithoutRedraw("MoveWithinSelected", [&] {
        auto& fg = fgSelected();
        if (InsertRow > fg.Rows() - 1)
            InsertRow = fg.Rows();
        for (const auto& sKey : DragKeys) {
            const int lOld = RowOfKey(fg, sKey);
            if (lOld < 0)
                return;
            if (lOld == InsertRow) {
                ++InsertRow;
                continue;
            }
            // The moved row shows the catalogue's caption again.
            const auto oField = MapiProps().FindField(sKey);
            const std::string sCaption = oField ? oField->Caption() : fg.TextMatrix(lOld, 0);
            fg.AddItem(sCaption, InsertRow);
            if (lOld >= InsertRow) {
                fg.RemoveItem(lOld + 1);
                fg.SetRowData(InsertRow, sKey);
                ++InsertRow;
            } else {
                fg.RemoveItem(lOld);
                fg.SetRowData(InsertRow - 1, sKey);
            }
        }
        if (!DragKeys.empty())
            if (const int lFirst = RowOfKey(fg, DragKeys.front()); lFirst >= 0)
                fg.Select(lFirst, 0, lFirst, fg.Cols() - 1);
        EnableControls();
    });
}

void frmFieldChooser::ResetDragState()
{
    rt::ResumeNext ignore;
    Dragging = false;
    DragFromSelected = false;
    InsertRow = -1;
    ignore([&] { m_picLine->SetVisible(false); });
    DragKeys.clear();
}

void frmFieldChooser::fg_MouseMove(pf::FlexGrid& fg, int Button)
{
    rt::ResumeNext ignore;
    if (Button != kLeftButton) {
        ResetDragState();
        return;
    }
    ignore([&] {
        if (fg.MouseRow() >= 0 && !Dragging) {
            Dragging = true;
            fg.OLEDrag();
        }
    });
}

void frmFieldChooser::fg_OLEStartDrag(pf::FlexGrid& fg, pf::DropEffect& AllowedEffects)
{
    rt::ResumeNext ignore;
    AllowedEffects = pf::DropEffect::Move;
    ignore([&] {
        Dragging = CollectSelectedKeys(fg);
        if (Dragging)
            DragFromSelected = &fg == &fgSelected();
    });
}

void frmFieldChooser::fgSelected_OLEDragOver(double Y)
{
    if (!Dragging)
        return;
    rt::ResumeNext ignore;
    ignore([&] {
        auto& fg = fgSelected();
        // Boundaries are counted from the list's top as if it were not scrolled.
        const double h = fg.RowHeight(fg.MouseRow());
        for (int i = 0; i <= fg.Rows(); ++i) {
            const double y = i * h;
            if (Y >= 0 && Y >= y - kLineBand && Y <= y + kLineBand && i != InsertRow) {
                InsertRow = i;
                m_picLine->SetTop(m_fgSelected->Top() + static_cast<int>(y));
                m_picLine->SetVisible(true);
                rt::DoEvents();
            }
        }
    });
}

void frmFieldChooser::fgSelected_OLEDragDrop(pf::FlexGrid* Source)
{
    common::Logging(
        ModuleName(), "fgSelected_OLEDragDrop",
        [&] {
            if (Dragging && Source == &fgSelected() && DragFromSelected)
                MoveWithinSelected();
            else if (Dragging && Source == &fgAll() && !DragFromSelected)
                MoveFromAllToSelectedItems(fgSelected().MouseRow());
        },
        ShowError);
    ResetDragState();
}

void frmFieldChooser::fgAll_OLEDragDrop(pf::FlexGrid* Source)
{
    common::Logging(
        ModuleName(), "fgAll_OLEDragDrop",
        [&] {
            if (Dragging && DragFromSelected && Source == &fgSelected())
                MoveFromSelectedToAllItems();
        },
        ShowError);
    ResetDragState();
}

void frmFieldChooser::cmdOK_Click()
{
    common::Logging(
        ModuleName(), "cmdOK_Click",
        [&](int& nLine) {
            nLine = 1;
            views::ViewSettings::FieldSelection aSelection;
            auto& fg = fgSelected();
            for (int r = 0; r < fg.Rows(); ++r)
                if (auto oField = MapiProps().FindField(KeyOfRow(fg, r)))
                    aSelection.emplace_back(oField, fg.TextMatrix(r, 0));
            // Built on a scratch copy and handed over whole, so that a failure half-way leaves
            // the opener's columns as they were.
            nLine = 2;
            auto oResult = CopyOfEditedView();
            for (const auto& oColumn : *m_oCopy->Fields())
                if (auto oTarget = oResult->Fields()->Item(oColumn->Key()))
                    oTarget->SetVisible(oColumn->Visible());
            nLine = 3;
            oResult->ApplyFieldSelection(aSelection);
            EditedView().Copy(*oResult);
            nLine = 4;
            Confirmed = true;
            Unload();
        },
        ShowError);
}

void frmFieldChooser::cmdCancel_Click()
{
    rt::ResumeNext ignore;
    ignore([&] { Unload(); });
}

} // namespace dialogs
