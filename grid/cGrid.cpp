#include "grid/cGrid.h"

#include "grid/Flexgrid2.h"

#include "common/ErrorHandling.h"
#include "common/modMain.h"
#include "engine/Filter.h"
#include "engine/Records.h"
#include "grid/detail/ViewSettingsView.h"
#include "platform/forms/Driver.h"
#include "platform/forms/FlexGrid.h"
#include "platform/runtime/Error.h"
#include "platform/runtime/ResumeNext.h"
#include "views/GridFields.h"
#include "views/GroupBy.h"
#include "views/SortBy.h"

namespace grid {
namespace {

namespace rt = platform::runtime;
namespace forms = platform::forms;

constexpr const char* kModule = "cGrid";

} // namespace

void cGrid::InitGrid(forms::FlexGrid& fg, views::ViewSettings& oView)
{
    detail::ViewSettingsView oReading(oView);
    InitGrid(fg, oReading);
    m_oView = nullptr;
}

void cGrid::ShowItems(forms::FlexGrid& fg, std::shared_ptr<engine::Records> oRecords,
                      views::ViewSettings& oView)
{
    detail::ViewSettingsView oReading(oView);
    ShowItems(fg, std::move(oRecords), oReading);
    m_oView = nullptr;
}

void cGrid::InitGrid(forms::FlexGrid& fg, detail::IReportView& oView)
{
    m_oGrid = &fg;
    m_oView = &oView;
    HasKeywordsGroup = false;
    rt::ResumeNext ignore;
    ignore([&] { m_oFields = oView.Fields(); });
    common::modMain::SuspendGridRedraw(m_oGrid);
    SetupColumns();
    HideColumns();
    ignore([&] { m_oGrid->SetRedraw(true); });
}

void cGrid::ShowItems(forms::FlexGrid& fg, std::shared_ptr<engine::Records> oRecords,
                      detail::IReportView& oView)
{
    m_oGrid = &fg;
    m_oRecords = std::move(oRecords);
    m_oView = &oView;
    common::Logging(
        kModule, "ShowItems",
        [&](int& nLine) {
            nLine = 1;
            m_oFields = oView.Fields();
            if (!m_oFields) {
                rt::Raise(rt::errors::ObjectNotSet);
            }
            common::modMain::SuspendGridRedraw(m_oGrid);
            nLine = 2;
            InitGroupLevels();
            SetupColumns();
            PrepareGroupKeys();
            PrepareSortKeys();
            m_FieldSlots.clear();
            if (!m_oRecords) {
                m_oGrid->SetRows(m_oGrid->FixedRows());
            } else {
                nLine = 3;
                const std::int32_t r = GetRowCount();
                m_oGrid->SetRows(m_oGrid->FixedRows() + r);
                m_lCurrentRow = m_oGrid->FixedRows() - 1;
                m_lSortKeyCol = m_oGrid->ColIndex("s1");
                if (m_oRecords->Count() > 0) {
                    m_lFieldCount = m_oRecords->Item(1L)->FieldsCount();
                    nLine = 4;
                    for (const auto& oRecord : *m_oRecords) {
                        InsertRow(*oRecord);
                    }
                }
            }
            nLine = 5;
            GroupAndTotal();
            SortRows();
            HideColumns();
            nLine = 6;
            const int f = m_oGrid->FixedRows();
            AutoSizeColumns();
            m_oGrid->SetRedraw(true);
            if (f < m_oGrid->Rows()) {
                m_oGrid->SetRow(f);
                m_oGrid->SetCol(m_oGrid->FixedCols());
                m_oGrid->ShowCell(f, m_oGrid->Col());
            }
        },
        [&](common::ErrorObject& oError) {
            HideColumns();
            rt::ResumeNext ignore;
            ignore([&] { m_oGrid->SetRedraw(true); });
            forms::MsgBox(oError.Description(), 48);
        });
}

void cGrid::InitGroupLevels()
{
    m_lGroupLevels = 0;
    m_lKeywordLevels = 0;
    rt::ResumeNext ignore;
    for (int lLevel = 0; lLevel < 3; ++lLevel) {
        bool bStop = true;
        ignore([&] {
            const auto g = m_oView->GroupByLevel(lLevel);
            if (!g || !g->Apply()) {
                return;
            }
            bStop = false;
            const auto f = m_oView->Fields()->Item(rt::Variant(g->ColKey));
            m_GroupFields[static_cast<std::size_t>(m_lGroupLevels)] = f;
            ++m_lGroupLevels;
            if (f && f->PropertyType() == 11) {
                ++m_lKeywordLevels;
            }
        });
        if (bStop) {
            break;
        }
    }
    HasKeywordsGroup = m_lKeywordLevels >= 1;
}

void cGrid::SetupColumns()
{
    forms::FlexGrid& fg = *m_oGrid;
    rt::ResumeNext ignore;
    std::shared_ptr<views::GridFields> fields;
    ignore([&] { fields = m_oView->Fields(); });
    if (!fields) {
        return;
    }
    ignore([&] { fg.SetFixedCols(0); });
    ignore([&] { fg.SetRows(fg.FixedRows()); });
    ignore([&] { fg.SetCols(fg.FixedCols()); });
    const int n = fields->Count();
    ignore([&] { fg.SetCols(fg.Cols() + 1 + n + 3 + 3); });
    for (int i = 1; i <= n; ++i) {
        const auto f = fields->Item(rt::Variant(static_cast<std::int32_t>(i)));
        if (!f) {
            continue;
        }
        ignore([&] { fg.SetColKey(i, f->Key()); });
        ignore([&] { fg.SetColData(i, f); });
        ignore([&] { fg.SetTextMatrix(0, i, f->Caption()); });
        ignore([&] {
            fg.SetColDataType(i, f->EnumValue() || f->PropertyType() == 7 ? 8 : f->DataType());
        });
        ignore(
            [&] { fg.SetColAlignment(i, static_cast<forms::Alignment>(f->AlignmentSettings())); });
        ignore([&] {
            if (f->Width() == -1) {
                fg.AutoSize(i);
            } else {
                fg.SetColWidth(i, f->Width());
            }
        });
    }
    int k = 0;
    for (const auto& f : *fields) {
        if (!f || f->Calculation() == 0) {
            continue;
        }
        int col = fg.Cols();
        ignore([&] { fg.SetCols(col + 1); });
        ++k;
        const std::string sKey = "c" + std::to_string(k);
        ignore([&] { fg.SetColKey(col, sKey); });
        f->SetCalculatedColKey(sKey);
        int t = 0;
        if (f->PropertyType() == 7 || f->MappingValue() == 2 || f->Calculation() == 4 ||
            f->PropertyType() == 6) {
            t = 3;
        } else {
            ignore([&] { t = fg.ColDataType(fg.ColIndex(f->Key())); });
        }
        ignore([&] { fg.SetColDataType(col, t); });
        if (HasKeywordsGroup) {
            for (int L = 0; L < 3; ++L) {
                const auto g = m_oView->GroupByLevel(L);
                if (!g || !g->Apply()) {
                    break;
                }
                col = fg.Cols();
                ignore([&] { fg.SetCols(col + 1); });
                ignore([&] { fg.SetColKey(col, sKey + "_" + std::to_string(L)); });
                ignore([&] { fg.SetColDataType(col, t); });
            }
        }
    }
    const char* aKeys[] = {"s1", "s2", "s3", "g1", "g2", "g3"};
    for (int j = 0; j < 6; ++j) {
        ignore([&] { fg.SetColKey(n + 1 + j, aKeys[j]); });
    }
    for (int col = n + 1; col < fg.Cols(); ++col) {
        ignore([&] { fg.SetTextMatrix(0, col, fg.ColKey(col)); });
    }
    ignore([&] {
        fg.SetCellAlignment(forms::CellRange{0, 0, 0, fg.Cols() - 1}, forms::Alignment::LeftCenter);
    });
    ignore([&] { fg.SetColWidth(0, IndentWidth); });
}

void cGrid::HideColumns()
{
    rt::ResumeNext ignore;
    std::shared_ptr<views::GridFields> fields;
    ignore([&] { fields = m_oView->Fields(); });
    if (!fields || !m_oGrid) {
        return;
    }
    for (const auto& f : *fields) {
        ignore([&] {
            if (!f->Visible() || f->HiddenProperty()) {
                m_oGrid->SetColHidden(m_oGrid->ColIndex(f->Key()), true);
            }
        });
    }
    for (int col = fields->Count() + 1; col < m_oGrid->Cols(); ++col) {
        ignore([&] { m_oGrid->SetColHidden(col, true); });
    }
}

} // namespace grid

namespace grid::Flexgrid2 {

void CreateGrid(platform::forms::FlexGrid& fg, std::shared_ptr<engine::Records> oRecords,
                views::ViewSettings& oView)
{
    cGrid oGrid;
    oGrid.ShowItems(fg, std::move(oRecords), oView);
}

} // namespace grid::Flexgrid2
