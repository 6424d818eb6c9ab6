#include "folderpicker/frmDialog.h"

#include "common/ErrorHandling.h"
#include "common/ErrorObject.h"
#include "common/modLabelControls.h"
#include "folderpicker/Dialog.h"
#include "folderpicker/Enumerations.h"
#include "folderpicker/Item.h"
#include "folderpicker/Result.h"
#include "folderpicker/detail/modFolderErrors.h"
#include "folderpicker/detail/modRedemption.h"
#include "platform/forms/Driver.h"
#include "platform/forms/FlexGrid.h"
#include "platform/forms/GridControl.h"
#include "platform/forms/StandardControls.h"
#include "platform/mapi/Folder.h"
#include "platform/mapi/Folders.h"
#include "platform/mapi/Session.h"
#include "platform/runtime/DoEvents.h"
#include "platform/runtime/Error.h"
#include "platform/runtime/ResumeNext.h"
#include "platform/runtime/Variant.h"

#include <exception>
#include <string>

namespace folderpicker {

namespace pf = platform::forms;
namespace rt = platform::runtime;

namespace {
constexpr const char* kModule = "frmDialog";
constexpr double kFontSize = 8;
constexpr int kInformation = 64;
// The tree's one text column, wide enough for deep folder names.
constexpr int kTreeWidth = 4800;

pf::CellRange FirstCell(int lRow)
{
    return {lRow, 0, lRow, 0};
}

std::string RowText(const Item& oItem)
{
    if (oItem.Level() == 0)
        return " " + oItem.Name();
    return " " + oItem.Name() + " (" + std::to_string(oItem.ItemsCount()) + ")";
}

} // namespace

frmDialog::frmDialog() : pf::Form("frmDialog")
{
    SetTag("101");
    Move(0, 0, 5400, 6000);
    m_lbl = Add<pf::Label>("lbl");
    m_lbl->SetTag("102");
    m_lbl->Move(120, 120, kTreeWidth, 255);
    m_fg = Add<pf::GridControl>("fg");
    m_fg->Move(120, 420, kTreeWidth, 4200);
    m_chkSubfolder = Add<pf::CheckBox>("chkSubfolder");
    m_chkSubfolder->SetTag("104");
    m_chkSubfolder->Move(120, 4740, kTreeWidth, 255);
    m_cmdReset = Add<pf::CommandButton>("cmdReset");
    m_cmdReset->SetTag("105");
    m_cmdReset->Move(120, 5100, 1200, 375);
    m_cmdOK = Add<pf::CommandButton>("cmdOK");
    m_cmdOK->SetTag("106");
    m_cmdOK->Default = true;
    m_cmdOK->Move(2460, 5100, 1200, 375);
    m_cmdCancel = Add<pf::CommandButton>("cmdCancel");
    m_cmdCancel->SetTag("107");
    m_cmdCancel->Cancel = true;
    m_cmdCancel->Move(3720, 5100, 1200, 375);

    auto& oEvents = fg().Events;
    oEvents.BeforeCollapse = [this](int lRow, pf::OutlineState eState, bool&) {
        fg_BeforeCollapse(lRow, eState);
    };
    oEvents.DblClick = [this] { fg_DblClick(); };
    oEvents.BeforeEdit = [this](int lRow, int, bool& bCancel) { fg_BeforeEdit(lRow, bCancel); };
    // Keeps the current cell in the one text column.
    oEvents.RowColChange = [this](int, int, int, int lNewCol) {
        if (lNewCol != 0)
            rt::ResumeNext()([&] { fg().SetCol(0); });
    };
    m_cmdReset->OnClick = [this] { cmdReset_Click(); };
    m_cmdOK->OnClick = [this] { cmdOK_Click(); };
    m_cmdCancel->OnClick = [this] { cmdCancel_Click(); };
}

frmDialog::~frmDialog() = default;

pf::FlexGrid& frmDialog::fg()
{
    return m_fg->Grid();
}

void frmDialog::Form_Load()
{
    rt::ResumeNext ignore;
    ignore([&] {
        fg().SetFixedRows(0);
        fg().SetFixedCols(0);
        fg().SetRows(0);
        fg().SetCols(1);
        fg().SetOutlineCol(0);
        fg().SetColWidth(0, kTreeWidth);
        fg().SetSelectionMode(pf::SelectionMode::ByRow);
        fg().SetEditable(true);
    });
    ignore([&] { UpdateCheckedCount(); });
    ignore([&] { common::modLabelControls::LocalizeForm(*this); });
}

void frmDialog::SetDialogFontSize()
{
    Load();
    for (const auto& oControl : Controls())
        oControl->SetFontSize(kFontSize);
    fg().SetFontSize(kFontSize);
}

std::shared_ptr<Result> frmDialog::PickFolder(Dialog& oDialog, long lChunkSize)
{
    try {
        return common::Rethrowing(kModule, "ReadData", [&](int& nLine) {
            nLine = 1;
            SetDialogFontSize();
            nLine = 2;
            detail::modRedemption::g_Session();
            nLine = 3;
            m_oDialog = &oDialog;
            m_oLoop = std::make_unique<detail::cLimitedFolderLoop>();
            m_oLoop->Init(m_oDialog, &fg(), lChunkSize);
            m_oResult = std::make_shared<Result>();
            m_bConfirmed = false;
            nLine = 4;
            LoadStoresAndTopFolder();
            nLine = 5;
            Show(pf::ShowStyle::Modal);
            rt::DoEvents();
            nLine = 6;
            // Only a confirmed choice is an answer: a window closed any other way must never
            // hand back a list that replaces the caller's folders.
            std::shared_ptr<Result> oResult = m_bConfirmed ? m_oResult : nullptr;
            m_oResult.reset();
            m_oDialog = nullptr;
            return oResult;
        });
    } catch (...) {
        m_oResult.reset();
        m_oDialog = nullptr;
        throw;
    }
}

void frmDialog::LoadStoresAndTopFolder()
{
    common::Rethrowing(kModule, "LoadStoresAndTopFolder", [&](int& nLine) {
        bool bReadError = false;
        nLine = 1;
        m_oLoop->NewResult();
        fg().SetRows(0);
        nLine = 2;
        m_oLoop->LoopStores();
        bReadError = m_oLoop->ErrorOccured();
        nLine = 3;
        AddToGrid(m_oLoop->Result(), -1);
        nLine = 4;
        const int lStores = fg().Rows();
        int lOffset = 0;
        for (int i = 0; i < lStores; ++i) {
            const int lRow = i + lOffset;
            auto oItem = GetItemAtRow(lRow);
            if (oItem && oItem->HasChilds())
                lOffset += ReadSubfolders(*oItem, lRow, bReadError);
        }
        nLine = 5;
        if (bReadError)
            ShowReadFolderError();
    });
}

int frmDialog::AddToGrid(const std::vector<std::shared_ptr<Item>>& colItems, int lParentRow)
{
    m_bBusy = true;
    if (colItems.empty()) {
        m_bBusy = false;
        return 0;
    }
    auto& oGrid = fg();
    if (!m_bNoRedraw)
        oGrid.SetRedraw(false);
    int lAdded = 0;
    try {
        common::Rethrowing(kModule, "AddToGrid", [&] {
            const int lParent = lParentRow < -1 ? -1 : lParentRow;
            int lPlaceholders = 0;
            int c = 0;
            for (const auto& oItem : colItems) {
                ++c;
                const long lLevel = oItem->Level();
                const std::string sText = RowText(*oItem);
                const int j = lParent + c + lPlaceholders;
                // The first subfolder takes the place of the placeholder its parent had.
                const bool bPlaceholder = lLevel >= 1 && j < oGrid.Rows() &&
                                          oGrid.RowOutlineLevel(j) == lLevel && !GetItemAtRow(j);
                if (bPlaceholder)
                    oGrid.SetTextMatrix(j, 0, sText);
                else
                    oGrid.AddItem(sText, j);
                oGrid.SetRowData(j, rt::Variant(oItem));
                oGrid.SetIsSubtotal(j, true);
                oGrid.SetRowOutlineLevel(j, static_cast<int>(lLevel));
                oGrid.SetCellChecked(FirstCell(j), pf::CheckState::TreeUnchecked);
                if (lLevel >= 1 && oItem->HasChilds()) {
                    oGrid.AddItem("", j + 1);
                    oGrid.SetIsSubtotal(j + 1, true);
                    oGrid.SetRowOutlineLevel(j + 1, static_cast<int>(lLevel) + 1);
                    oGrid.SetIsCollapsed(j, pf::OutlineState::Collapsed);
                    ++lPlaceholders;
                }
            }
            lAdded = c + lPlaceholders;
        });
    } catch (...) {
        if (!m_bNoRedraw)
            rt::ResumeNext()([&] { oGrid.SetRedraw(true); });
        m_bBusy = false;
        rt::ResumeNext()([&] { UpdateCheckedCount(); });
        throw;
    }
    if (!m_bNoRedraw)
        oGrid.SetRedraw(true);
    m_bBusy = false;
    // A ticked placeholder that a folder replaced is unticked now.
    UpdateCheckedCount();
    return lAdded;
}

void frmDialog::LoadSubfolder(int lRow, bool bQuiet, bool& bReadError)
{
    const auto showCollected = [&] {
        if (bReadError && !bQuiet)
            ShowReadFolderError();
    };
    try {
        common::Rethrowing(kModule, "LoadSubfolder", [&] {
            auto oItem = GetItemAtRow(lRow);
            if (oItem && oItem->HasChilds() && !oItem->SubfoldersLoaded())
                ReadSubfolders(*oItem, lRow, bReadError);
        });
    } catch (...) {
        showCollected();
        throw;
    }
    showCollected();
}

int frmDialog::ReadSubfolders(Item& oItem, int lRow, bool& bReadError)
{
    auto oFolder = GetFolder(oItem);
    if (!oFolder) {
        bReadError = true;
        return 0;
    }
    m_oLoop->NewResult();
    m_oLoop->LoopFolders(oFolder->GetFolders(), oItem.Level() + 1);
    if (m_oLoop->ErrorOccured())
        bReadError = true;
    oItem.SetSubfoldersLoaded(true);
    return AddToGrid(m_oLoop->Result(), lRow);
}

std::shared_ptr<platform::mapi::Folder> frmDialog::GetFolder(const Item& oItem)
{
    try {
        return detail::modRedemption::g_Session()->GetFolderFromID(oItem.EntryID(),
                                                                   rt::Variant(oItem.StoreID()));
    } catch (...) {
        detail::modFolderErrors::LogFolderError(common::SourceText(kModule, "GetFolder", 0),
                                                oItem.Name());
        return nullptr;
    }
}

std::shared_ptr<Item> frmDialog::GetItemAtRow(int lRow) const
{
    std::shared_ptr<Item> oItem;
    rt::ResumeNext()([&] {
        auto& oGrid = m_fg->Grid();
        if (lRow < 0 || lRow >= oGrid.Rows())
            return;
        if (const auto* pObject = oGrid.RowData(lRow).Get<std::shared_ptr<rt::Object>>())
            oItem = std::dynamic_pointer_cast<Item>(*pObject);
    });
    return oItem;
}

void frmDialog::CreateResultList()
{
    common::Rethrowing(kModule, "CreateResultList", [&] {
        const bool bIncludeSubfolders = m_chkSubfolder->Value() == 1;
        bool bReadError = false;
        bool bSubtree = false;
        int lSubtreeLevel = 0;
        auto& oGrid = fg();
        // The row count is read anew each time: subfolders loaded on the way are walked too.
        for (int lRow = 0; lRow < oGrid.Rows(); ++lRow) {
            const int lLevel = oGrid.RowOutlineLevel(lRow);
            bool bTaken = false;
            if (bSubtree) {
                if (lLevel > lSubtreeLevel)
                    bTaken = true;
                else
                    bSubtree = false;
            }
            if (!bTaken && oGrid.CellChecked(lRow, 0) == pf::CheckState::TreeChecked) {
                bTaken = true;
                if (bIncludeSubfolders) {
                    bSubtree = true;
                    lSubtreeLevel = lLevel;
                }
            }
            if (!bTaken)
                continue;
            auto oItem = GetItemAtRow(lRow);
            if (!oItem)
                continue;
            m_oResult->Add(oItem);
            if (bIncludeSubfolders && oItem->HasChilds() && !oItem->SubfoldersLoaded())
                LoadSubfolder(lRow, true, bReadError);
        }
        if (bReadError)
            ShowReadFolderError();
    });
}

void frmDialog::UpdateCheckedCount()
{
    // Counted from the rows rather than kept by steps, so that placeholders never count and
    // rows loaded in a ticked placeholder's place are counted as they are.
    long lChecked = 0;
    auto& oGrid = fg();
    for (int lRow = 0; lRow < oGrid.Rows(); ++lRow)
        if (oGrid.CellChecked(lRow, 0) == pf::CheckState::TreeChecked && GetItemAtRow(lRow))
            ++lChecked;
    m_lCheckedCount = lChecked;
    const bool bAny = m_lCheckedCount > 0;
    m_cmdOK->SetEnabled(bAny);
    m_chkSubfolder->SetEnabled(bAny);
    m_cmdReset->SetEnabled(bAny);
}

void frmDialog::ShowReadFolderError()
{
    common::ErrorObject oError;
    const std::string sMessage = oError.GetMessageText(ERR_READ_FOLDER);
    bool bFlag = false;
    oError.CaptureError(std::make_exception_ptr(rt::Error(ERR_READ_FOLDER, {}, sMessage)),
                        common::SourceText(kModule, "ShowReadFolderError", 0), bFlag);
    pf::MsgBox(oError.Description(), kInformation, oError.AppTitle());
}

void frmDialog::fg_BeforeCollapse(int lRow, pf::OutlineState eNewState)
{
    if (eNewState != pf::OutlineState::Expanded || m_bBusy)
        return;
    rt::ResumeNext()([&] {
        bool bReadError = false;
        LoadSubfolder(lRow, false, bReadError);
    });
}

void frmDialog::fg_DblClick()
{
    rt::ResumeNext()([&] {
        auto& oGrid = fg();
        const int lRow = oGrid.Row();
        if (lRow < 0 || lRow >= oGrid.Rows())
            return;
        oGrid.SetIsCollapsed(lRow, oGrid.IsCollapsed(lRow) == pf::OutlineState::Collapsed
                                       ? pf::OutlineState::Expanded
                                       : pf::OutlineState::Collapsed);
    });
}

void frmDialog::fg_BeforeEdit(int lRow, bool& bCancel)
{
    // The window ticks and unticks the box itself: a placeholder, which has no box, gets an
    // empty one and never counts.
    bCancel = true;
    if (m_bCheckGuard)
        return;
    m_bCheckGuard = true;
    rt::ResumeNext()([&] {
        auto& oGrid = fg();
        const bool bTick = oGrid.CellChecked(lRow, 0) == pf::CheckState::TreeUnchecked;
        oGrid.SetCellChecked(FirstCell(lRow),
                             bTick ? pf::CheckState::TreeChecked : pf::CheckState::TreeUnchecked);
        UpdateCheckedCount();
    });
    m_bCheckGuard = false;
}

void frmDialog::cmdReset_Click()
{
    rt::ResumeNext ignore;
    ignore([&] {
        auto& oGrid = fg();
        oGrid.SetRedraw(false);
        for (int lRow = 0; lRow < oGrid.Rows(); ++lRow)
            oGrid.SetCellChecked(FirstCell(lRow), pf::CheckState::TreeUnchecked);
        oGrid.SetRedraw(true);
    });
    ignore([&] { UpdateCheckedCount(); });
}

void frmDialog::cmdOK_Click()
{
    try {
        common::Rethrowing(kModule, "cmdOK_Click", [&] {
            m_bNoRedraw = true;
            fg().SetRedraw(false);
            Hide();
            rt::DoEvents();
            CreateResultList();
            m_bConfirmed = true;
        });
    } catch (...) {
        rt::ResumeNext()([&] { Unload(); });
        throw;
    }
    Unload();
}

void frmDialog::cmdCancel_Click()
{
    rt::ResumeNext ignore;
    ignore([&] { m_oResult.reset(); });
    ignore([&] { Unload(); });
}

} // namespace folderpicker
