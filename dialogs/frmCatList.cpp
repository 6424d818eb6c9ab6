#include "dialogs/frmCatList.h"

#include "common/ErrorHandling.h"
#include "common/modLabelControls.h"
#include "common/modMain.h"
#include "common/modOLVersion.h"
#include "dialogs/detail/DialogCommon.h"
#include "grid/Flexgrid2.h"
#include "platform/forms/Driver.h"
#include "platform/forms/FlexGrid.h"
#include "platform/forms/GridControl.h"
#include "platform/forms/StandardControls.h"
#include "platform/runtime/Error.h"
#include "platform/runtime/ResumeNext.h"
#include "platform/runtime/Strings.h"
#include "shell/Application.h"

#include <cstddef>

namespace dialogs {

namespace pf = platform::forms;
namespace rt = platform::runtime;

namespace {
constexpr const char* kModule = "frmCatList";
constexpr int kExclamation = 48;
// Since version 12 the client keeps four fields per category; the name is the second.
constexpr int kGroupedListVersion = 12;
constexpr std::size_t kFieldsPerCategory = 4;

void ShowError(common::ErrorObject& oError)
{
    pf::MsgBox(oError.Description(), kExclamation);
}

std::string ReadRootMasterlist()
{
    shell::Application* pApp = common::modMain::G().g_oApplication;
    if (!pApp)
        rt::Raise(91, "Application.GetMasterlist", "The add-in is not connected.");
    return pApp->GetMasterlist();
}
} // namespace

frmCatList::frmCatList() : frmCatList(ReadRootMasterlist) {}

frmCatList::frmCatList(MasterlistReader oReader) : Form("frmCatList"), m_oReader(std::move(oReader))
{
    SetTag("2240");
    SetKeyPreview(true);
    m_fgControl = Add<pf::GridControl>("fg");
    m_fg = &m_fgControl->Grid();
    // The person ticks the categories in the list itself: its check boxes take clicks and
    // Space (the grid's edit setting); a cell with a box offers no text editor.
    m_fg->SetEditable(true);
    m_chkView = Add<pf::CheckBox>("chkView");
    m_cmdOK = Add<pf::CommandButton>("cmdOK");
    m_cmdCancel = Add<pf::CommandButton>("cmdCancel");
    m_chkView->SetTag("2038");
    m_cmdOK->SetTag("2027");
    m_cmdCancel->SetTag("2028");
    m_cmdOK->Default = true;
    m_cmdCancel->Cancel = true;
    m_chkView->OnClick = [this] { chkView_Click(); };
    m_cmdOK->OnClick = [this] { cmdOK_Click(); };
    m_cmdCancel->OnClick = [this] { cmdCancel_Click(); };
    PlaceControls();
}

void frmCatList::PlaceControls()
{
    // The list with its view switch below it, OK and Cancel in a column at the right.
    constexpr int kMargin = 120, kListWidth = 3600, kListHeight = 3000, kButtonWidth = 1215,
                  kButtonHeight = 375;
    m_fgControl->Move(kMargin, kMargin, kListWidth, kListHeight);
    m_chkView->Move(kMargin, 2 * kMargin + kListHeight, kListWidth, 255);
    const int lButtons = 2 * kMargin + kListWidth;
    m_cmdOK->Move(lButtons, kMargin, kButtonWidth, kButtonHeight);
    m_cmdCancel->Move(lButtons, kMargin + 480, kButtonWidth, kButtonHeight);
    detail::SetClientSize(*this, lButtons + kButtonWidth + kMargin,
                          3 * kMargin + kListHeight + 255);
}

std::string frmCatList::ShowForm(const std::string& SelectedCategories)
{
    Confirmed = false;
    m_sResult = rt::Replace(SelectedCategories, ",", ";");
    bool bFilled = false;
    common::Logging(kModule, "ShowForm", [&] {
        common::modLabelControls::LocalizeForm(*this);
        SetDialogFontSize();
        ShowCats();
        bFilled = true;
        Show(pf::ShowStyle::Modal);
    }, ShowError);
    // A list that could not be filled was never shown: the caller gets nothing to take over.
    if (!bFilled)
        return {};
    return m_sResult;
}

void frmCatList::SetDialogFontSize()
{
    detail::SetDialogFontSize(*this);
}

void frmCatList::ShowCats()
{
    common::Rethrowing(kModule, "ShowCats", [&] {
        common::modMain::SuspendGridRedraw(m_fg);
        m_fg->SetFixedRows(0);
        m_fg->SetFixedCols(0);
        m_fg->SetCols(1);
        m_fg->SetRows(0);
        const std::string sMasterlist = m_oReader();
        if (!sMasterlist.empty())
            AddMasterRows(sMasterlist);
        // The caller's categories are listed even without a master list, so that OK never
        // drops a category the user had.
        TickCallerCategories();
        m_fg->SetRedraw(true);
        grid::Flexgrid2::AutoSizeGrid(*m_fg);
        ShowFirstRow();
    });
}

void frmCatList::AddMasterRows(const std::string& sMasterlist)
{
    const auto aFields = rt::Split(sMasterlist, ";");
    auto addRow = [&](const std::string& sName) {
        const int lRow = m_fg->AddItem(sName);
        m_fg->SetCellChecked({lRow, 0, lRow, 0}, pf::CheckState::Unchecked);
    };
    if (common::modOLVersion::GetOutlookVersion() < kGroupedListVersion) {
        for (const auto& sEntry : aFields)
            if (!sEntry.empty())
                addRow(sEntry);
        return;
    }
    for (std::size_t i = 0; i + 1 < aFields.size(); i += kFieldsPerCategory)
        if (!aFields[i + 1].empty())
            addRow(aFields[i + 1]);
}

void frmCatList::TickCallerCategories()
{
    if (m_sResult.empty())
        return;
    for (const auto& sPart : rt::Split(m_sResult, ";")) {
        const std::string sEntry = rt::Trim(sPart);
        if (sEntry.empty())
            continue;
        int lFound = -1;
        for (int lRow = 0; lRow < m_fg->Rows() && lFound < 0; ++lRow)
            if (rt::StrComp(m_fg->TextMatrix(lRow, 0), sEntry, rt::CompareMethod::Text) == 0)
                lFound = lRow;
        if (lFound < 0)
            lFound = m_fg->AddItem(sEntry);
        m_fg->SetCellChecked({lFound, 0, lFound, 0}, pf::CheckState::Checked);
    }
}

void frmCatList::ShowFirstRow()
{
    if (m_fg->Rows() == 0)
        return;
    m_fg->SetRow(0);
    m_fg->ShowCell(0, 0);
}

void frmCatList::chkView_Click()
{
    common::Logging(kModule, "chkView_Click", [&] {
        common::modMain::SuspendGridRedraw(m_fg);
        if (m_chkView->Value() == 1) {
            if (m_fg->Rows() > 0)
                m_lSavedRowHeight = m_fg->RowHeight(0);
            for (int lRow = 0; lRow < m_fg->Rows(); ++lRow)
                if (m_fg->CellChecked(lRow, 0) == pf::CheckState::Unchecked)
                    m_fg->SetRowHeight(lRow, 0);
        } else {
            for (int lRow = 0; lRow < m_fg->Rows(); ++lRow)
                if (m_fg->RowHeight(lRow) == 0)
                    m_fg->SetRowHeight(lRow, m_lSavedRowHeight);
        }
        ShowFirstRow();
        m_fg->SetRedraw(true);
    }, [&](common::ErrorObject& oError) {
        rt::ResumeNext ignore;
        ignore([&] { m_fg->SetRedraw(true); });
        ShowError(oError);
    });
}

void frmCatList::cmdOK_Click()
{
    common::Logging(kModule, "cmdOK_Click", [&] {
        SaveData();
        Confirmed = true;
        Unload();
    }, ShowError);
}

void frmCatList::SaveData()
{
    common::Rethrowing(kModule, "SaveData", [&] {
        std::string sResult;
        for (int lRow = 0; lRow < m_fg->Rows(); ++lRow)
            if (m_fg->RowHeight(lRow) >= 1 && m_fg->CellChecked(lRow, 0) == pf::CheckState::Checked)
                sResult += ";" + m_fg->TextMatrix(lRow, 0);
        m_sResult = sResult.empty() ? sResult : sResult.substr(1);
    });
}

void frmCatList::cmdCancel_Click()
{
    rt::ResumeNext ignore;
    ignore([&] { Unload(); });
}

void frmCatList::Form_KeyDown(int& KeyCode, int /*Shift*/)
{
    detail::HandleHelpKey(KeyCode, "filter.html");
}

} // namespace dialogs
