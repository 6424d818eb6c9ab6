#include "dialogs/frmCalc.h"

#include "common/ErrorHandling.h"
#include "common/modLabelControls.h"
#include "common/modMain.h"
#include "fieldcatalogue/cField.h"
#include "grid/Flexgrid2.h"
#include "platform/forms/FlexGrid.h"
#include "platform/forms/GridControl.h"
#include "platform/forms/StandardControls.h"
#include "platform/runtime/Error.h"
#include "platform/runtime/ResumeNext.h"
#include "platform/runtime/Strings.h"
#include "views/ViewSettings.h"
#include "views/cMapiProps.h"

namespace dialogs {

namespace pf = platform::forms;
namespace rt = platform::runtime;

namespace {
constexpr const char* kIconKey = "Icon";
constexpr int kIconMapping = 2;
constexpr int kCount = 4;
constexpr const char* kBlank = " ";

std::string KeyOfRow(const pf::FlexGrid& fg, int lRow)
{
    const std::string* pKey = fg.RowData(lRow).Get<std::string>();
    return pKey ? *pKey : std::string{};
}
} // namespace

frmCalc::frmCalc() : FieldSectionDialog("frmCalc", "calc.html")
{
    // The German strings have no caption of their own: the built-in one stays.
    SetCaption(" Berechnungen");
    SetTag("2058");
    m_chkCount = Add<pf::CheckBox>("chkCount");
    m_chkCount->SetTag("2093");
    m_chkCount->Move(120, 120, 4815, 255);
    m_chkDisplayFunctionName = Add<pf::CheckBox>("chkDisplayFunctionName");
    m_chkDisplayFunctionName->SetTag("2184");
    m_chkDisplayFunctionName->Move(120, 420, 4815, 255);
    m_lblGrid = Add<pf::Label>("lblGrid");
    m_lblGrid->SetTag("2166");
    m_lblGrid->Move(120, 780, 4815, 255);
    m_fg = Add<pf::GridControl>("fg");
    m_fg->SetTag("2164,2165");
    m_fg->Move(120, 1080, 4815, 3015);
    m_lblFolder = Add<pf::Label>("lblFolder");
    m_lblFolder->SetTag("2157");
    m_lblFolder->Move(120, 4200, 4815, 255);
    m_cboFolder = Add<pf::ComboBox>("cboFolder");
    m_cboFolder->SetTag("2118,2119,2120,2121");
    m_cboFolder->Move(120, 4500, 4815, 315);
    m_cmdOK = Add<pf::CommandButton>("cmdOK");
    m_cmdOK->SetTag("2027");
    m_cmdOK->Move(5160, 120, 1335, 375);
    m_cmdOK->Default = true;
    m_cmdCancel = Add<pf::CommandButton>("cmdCancel");
    m_cmdCancel->SetTag("2028");
    m_cmdCancel->Move(5160, 600, 1335, 375);
    m_cmdCancel->Cancel = true;
    m_cmdDeleteAll = Add<pf::CommandButton>("cmdDeleteAll");
    m_cmdDeleteAll->SetTag("2078");
    m_cmdDeleteAll->Move(5160, 1080, 1335, 375);
    Move(0, 0, 6765, 6015);

    m_chkCount->OnClick = [this] { chkCount_Click(); };
    m_chkDisplayFunctionName->OnClick = [this] { chkDisplayFunctionName_Click(); };
    m_cboFolder->OnClick = [this] { cboFolder_Click(); };
    m_cmdOK->OnClick = [this] { cmdOK_Click(); };
    m_cmdCancel->OnClick = [this] { cmdCancel_Click(); };
    m_cmdDeleteAll->OnClick = [this] { cmdDeleteAll_Click(); };
    auto& oEvents = fg().Events;
    oEvents.BeforeEdit = [this](int Row, int Col, bool& Cancel) {
        fg_BeforeEdit(Row, Col, Cancel);
    };
    oEvents.AfterEdit = [this](int Row, int Col) { fg_AfterEdit(Row, Col); };
}

pf::FlexGrid& frmCalc::fg() const
{
    return m_fg->Grid();
}

views::ViewSettings& frmCalc::ScratchView() const
{
    if (!m_oVs)
        rt::Raise(91, ModuleName(), "The dialog holds no view.");
    return *m_oVs;
}

void frmCalc::Form_Load()
{
    common::Logging(
        ModuleName(), "Form_Load",
        [&](int& nLine) {
            nLine = 1;
            auto& oGrid = fg();
            oGrid.SetCols(3);
            oGrid.SetRows(1);
            oGrid.SetFixedRows(1);
            oGrid.SetFixedCols(0);
            oGrid.SetEditable(true);
            nLine = 2;
            common::modLabelControls::LocalizeForm(*this);
            common::modLabelControls::LocalizeComboItems(*m_cboFolder);
            common::modLabelControls::LocalizeGridHeader(oGrid, m_fg->Tag());
            SetDialogFontSize();
            oGrid.SetColHidden(2, true);
            common::modLabelControls::LocalizeGridList(oGrid, 1, "0,2158,2159,2160,2161,2162,2163");
            nLine = 3;
            m_oVs = CopyOfEditedView();
            // Each value change runs the box's click handler, so the count box may add "Icon".
            m_chkCount->SetValue(m_oVs->CalculateItemsCount() ? 1 : 0);
            m_chkDisplayFunctionName->SetValue(m_oVs->DisplayFunctionName() ? 1 : 0);
            nLine = 4;
            if (m_cboFolder->ListCount() > 0)
                m_cboFolder->SetListIndex(0);
        },
        ShowError);
}

void frmCalc::cboFolder_Click()
{
    common::modMain::SuspendGridRedraw(&fg());
    try {
        FillFieldGrid();
    } catch (...) {
        // Shown, not logged.
        common::ErrorObject oError;
        bool bFlag = false;
        oError.CaptureError(common::SourceText(ModuleName(), "cboFolder_Click", 0), bFlag);
        rt::ResumeNext ignore;
        ignore([&] { fg().SetRedraw(true); });
        ShowError(oError);
        return;
    }
    fg().SetRedraw(true);
}

std::string frmCalc::CalcName(std::int32_t lCode) const
{
    const auto aNames = rt::Split(fg().ColComboList(1), "|");
    const auto lIndex = static_cast<std::size_t>(grid::Flexgrid2::SubtotalToCalcIndex(lCode));
    return lIndex < aNames.size() ? aNames[lIndex] : std::string(kBlank);
}

void frmCalc::FillFieldGrid()
{
    rt::ResumeNext ignore;
    auto& oGrid = fg();
    std::optional<FieldList> oSet;
    ignore([&] { oSet = FieldSetOf(m_cboFolder->ListIndex()); });
    ignore([&] { oGrid.SetRows(1); });
    if (oSet) {
        for (const auto& oField : *oSet) {
            if (!oField || oField->HiddenProperty() || oField->Key() == kIconKey)
                continue;
            ignore([&] {
                const int lRow = oGrid.AddItem(oField->Caption());
                oGrid.SetRowData(lRow, oField->Key());
                oGrid.SetTextMatrix(lRow, 1, kBlank);
            });
        }
    }
    std::shared_ptr<views::GridFields> oColumns;
    ignore([&] { oColumns = ScratchView().Fields(); });
    if (oColumns) {
        for (const auto& oColumn : *oColumns) {
            if (oColumn->Calculation() == 0 || oColumn->MappingValue() == kIconMapping)
                continue;
            ignore([&] {
                int lRow = -1;
                for (int r = oGrid.FixedRows(); r < oGrid.Rows() && lRow < 0; ++r)
                    if (KeyOfRow(oGrid, r) == oColumn->Key())
                        lRow = r;
                // Totals outside the shown set go to the top, the last one found first.
                if (lRow < 0) {
                    lRow = oGrid.AddItem(oColumn->Caption(), 1);
                    oGrid.SetRowData(lRow, oColumn->Key());
                }
                oGrid.SetTextMatrix(lRow, 1, CalcName(oColumn->Calculation()));
            });
        }
    }
    ignore([&] { oGrid.AutoSize(0, oGrid.Cols() - 1); });
}

void frmCalc::fg_BeforeEdit(int /*Row*/, int Col, bool& Cancel)
{
    if (Col == 0)
        Cancel = true;
}

void frmCalc::fg_AfterEdit(int Row, int Col)
{
    common::Logging(
        ModuleName(), "fg_AfterEdit",
        [&] {
            auto& oGrid = fg();
            const int lIndex = oGrid.ComboIndex();
            const std::string sKey = KeyOfRow(oGrid, Row);
            auto& oView = ScratchView();
            auto oColumn = oView.Fields()->Item(sKey);
            if (lIndex < 0) {
                // Text that is no entry of the list: the cell shows the stored function again.
                oGrid.SetTextMatrix(Row, Col, CalcName(oColumn ? oColumn->Calculation() : 0));
                return;
            }
            const std::int32_t lCode = grid::Flexgrid2::CalcIndexToSubtotal(lIndex);
            if (lIndex == 0) {
                if (oColumn)
                    oColumn->SetCalculation(0);
                return;
            }
            if (oColumn)
                oColumn->SetCalculation(lCode);
            else
                AddTotalColumn(oView, sKey, lCode, true);
        },
        ShowError);
}

void frmCalc::AddTotalColumn(views::ViewSettings& oView, const std::string& sKey,
                             std::int32_t lCode, bool bVisible)
{
    auto oField = MapiProps().FindField(sKey);
    if (!oField)
        return;
    oView.AddField(oField);
    if (auto oColumn = oView.Fields()->Item(oField->Key())) {
        oColumn->SetCalculation(lCode);
        oColumn->SetVisible(bVisible);
    }
}

void frmCalc::chkCount_Click()
{
    SetCountItemsCalculation();
}

void frmCalc::SetCountItemsCalculation()
{
    common::Logging(
        ModuleName(), "SetCountItemsCalculation",
        [&] {
            auto& oView = ScratchView();
            const int lValue = m_chkCount->Value();
            if (lValue != 0 && lValue != 1)
                return;
            oView.SetCalculateItemsCount(lValue == 1);
            auto oIcon = oView.Fields()->Item(kIconKey);
            if (lValue == 0) {
                if (oIcon)
                    oIcon->SetCalculation(0);
                return;
            }
            if (oIcon)
                oIcon->SetCalculation(kCount);
            else
                AddTotalColumn(oView, kIconKey, kCount, false);
        },
        ShowError);
}

void frmCalc::chkDisplayFunctionName_Click()
{
    common::Logging(
        ModuleName(), "chkDisplayFunctionName_Click",
        [&] { ScratchView().SetDisplayFunctionName(m_chkDisplayFunctionName->Value() != 0); },
        ShowError);
}

void frmCalc::cmdDeleteAll_Click()
{
    common::Logging(
        ModuleName(), "cmdDeleteAll_Click",
        [&] {
            auto& oGrid = fg();
            for (int r = oGrid.FixedRows(); r < oGrid.Rows(); ++r)
                oGrid.SetTextMatrix(r, 1, kBlank);
            for (const auto& oColumn : *ScratchView().Fields())
                oColumn->SetCalculation(0);
            m_chkCount->SetValue(0);
            m_chkDisplayFunctionName->SetValue(0);
        },
        ShowError);
}

void frmCalc::cmdOK_Click()
{
    common::Logging(
        ModuleName(), "cmdOK_Click",
        [&] {
            EditedView().Copy(ScratchView());
            Confirmed = true;
            Unload();
        },
        ShowError);
}

void frmCalc::cmdCancel_Click()
{
    rt::ResumeNext ignore;
    ignore([&] { Confirmed = false; });
    ignore([&] { Unload(); });
}

} // namespace dialogs
