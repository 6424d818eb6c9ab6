#include "actions/ExportExcel.h"

#include "actions/ActionSave.h"
#include "common/ErrorHandling.h"
#include "engine/ExportExcel.h"
#include "engine/Field.h"
#include "engine/Record.h"
#include "engine/Records.h"
#include "platform/forms/FlexGrid.h"
#include "platform/runtime/Array.h"
#include "platform/runtime/Conversion.h"
#include "platform/runtime/Error.h"
#include "platform/runtime/Strings.h"
#include "views/GridField.h"
#include "views/GridFields.h"

#include <vector>

namespace actions {

namespace rt = platform::runtime;
namespace forms = platform::forms;

namespace {

constexpr const char* kModule = "ExportExcel";
constexpr const char* kIconKey = "Icon";

// Durations and work hours: the workbook gets the numbers, not their display texts.
bool IsRawNumber(long lMapping)
{
    return lMapping == 5 || lMapping == 12 || lMapping == 13;
}

// The grid text as a value of the column's data type; a text that does not convert stays text.
rt::Variant Typed(const std::string& sText, int lDataType)
{
    if (sText.empty())
        return rt::Variant(sText);
    try {
        rt::Variant vText(sText);
        rt::Variant vValue;
        switch (lDataType) {
        case 3:
            vValue = rt::Variant(rt::CLng(vText));
            break;
        case 4:
            vValue = rt::Variant(rt::CSng(vText));
            break;
        case 5:
        case 14: // no decimal subtype here; a double keeps the value for the workbook
            vValue = rt::Variant(rt::CDbl(vText));
            break;
        case 6:
            vValue = rt::Variant(rt::CCur(vText));
            break;
        case 7:
            vValue = rt::Variant(rt::CDate(vText));
            break;
        case 11:
            vValue = rt::Variant(rt::CBool(vText));
            break;
        default:
            return vText;
        }
        return vValue.IsEmpty() ? vText : vValue;
    } catch (const rt::Error&) {
        return rt::Variant(sText);
    }
}

struct Layout
{
    bool bHeader;
    bool bSubtotals;
    bool bSubtotalsOnly;
};

bool Included(const forms::FlexGrid& fg, int r, const Layout& l)
{
    if (l.bHeader && r == 0)
        return true;
    if (l.bSubtotalsOnly)
        return fg.IsSubtotal(r);
    if (l.bSubtotals)
        return true;
    return !fg.IsSubtotal(r);
}

std::shared_ptr<views::GridField> ColumnOf(views::GridFields& oFields, const std::string& sKey)
{
    for (const auto& oField : oFields)
        if (oField->Key() == sKey)
            return oField;
    return nullptr;
}

// Reads one grid row into table cells: record values, typed texts or subtotal numbers.
class RowReader
{
public:
    RowReader(const forms::FlexGrid& fg, views::GridFields& oFields, engine::Records* oRecords,
              bool bBooleanGrouping, const Layout& l)
        : m_fg(fg), m_oFields(oFields), m_oRecords(oRecords), m_bBooleanGrouping(bBooleanGrouping),
          m_l(l), m_aGroupCols{fg.ColIndex("g1"), fg.ColIndex("g2"), fg.ColIndex("g3")}
    {
    }

    rt::Variant Cell(int r, int c)
    {
        const bool bSubtotal = m_fg.IsSubtotal(r);
        if (!m_l.bSubtotalsOnly && !bSubtotal && r > 0) {
            if (auto oField = RecordField(r, c); oField && IsRawNumber(oField->MappingValue()))
                return oField->Value();
        }
        if ((!m_l.bSubtotalsOnly || (r == 0 && m_l.bHeader)) && !bSubtotal)
            return Typed(m_fg.TextMatrix(r, c), m_fg.ColDataType(c));
        if (bSubtotal && c > 0) {
            auto oColumn = ColumnOf(m_oFields, m_fg.ColKey(c));
            if (oColumn && oColumn->Calculation() != 0 && IsRawNumber(oColumn->MappingValue())) {
                const int lLevel = LevelOf(r);
                std::string sKey = oColumn->CalculatedColKey();
                if (lLevel > 0)
                    sKey += "_" + std::to_string(lLevel - 1);
                const int lTotal = m_fg.ColIndex(sKey);
                if (lTotal >= 0)
                    return rt::Variant(m_fg.ValueMatrix(r, lTotal));
            }
        }
        return rt::Variant(rt::Trim(m_fg.TextMatrix(r, c)));
    }

private:
    std::shared_ptr<engine::Field> RecordField(int r, int c) const
    {
        const rt::Variant& vTag = m_fg.RowData(r);
        if (!m_oRecords || vTag.IsEmpty())
            return nullptr;
        auto oRecord = m_oRecords->Item(vTag);
        return oRecord ? oRecord->Fields(rt::Variant(m_fg.ColKey(c))) : nullptr;
    }

    // The total level of a subtotal row; without Boolean grouping every total is level 0.
    int LevelOf(int r)
    {
        if (!m_bBooleanGrouping)
            return 0;
        const int lOutline = m_fg.RowOutlineLevel(r);
        if (lOutline == 0)
            m_lLevel = 0;
        for (int i = 0; i < 3; ++i)
            if (m_aGroupCols[i] >= 0 && lOutline == m_aGroupCols[i])
                m_lLevel = i + 1;
        return m_lLevel;
    }

    const forms::FlexGrid& m_fg;
    views::GridFields& m_oFields;
    engine::Records* m_oRecords;
    bool m_bBooleanGrouping;
    Layout m_l;
    int m_aGroupCols[3];
    int m_lLevel = 0;
};

} // namespace

void ExportExcel::Init(platform::runtime::Object* lParentPtr, const std::string&)
{
    common::ChildLink<ActionSave>::Init(lParentPtr);
}

void ExportExcel::SetColumns(std::shared_ptr<views::GridFields> oFields, bool bBooleanGrouping)
{
    m_oFields = std::move(oFields);
    m_bBooleanGrouping = bBooleanGrouping;
}

void ExportExcel::Export(forms::FlexGrid& fg, const std::string& File, const rt::Variant&)
{
    common::Rethrowing(kModule, "IExport_Export", [&](int& nLine) {
        nLine = 10;
        ActionSave* oSave = Parent();
        if (!oSave || !m_oFields)
            rt::Raise(rt::errors::ObjectNotSet);
        const Layout l{oSave->PrintHeader(), oSave->PrintSubtotals(), oSave->PrintSubtotalsOnly()};
        if (fg.Rows() < 2)
            return;

        nLine = 20;
        std::vector<int> aCols;
        for (int c = l.bSubtotals ? 0 : 1; c < fg.Cols(); ++c)
            if (!fg.ColHidden(c) && fg.ColKey(c) != kIconKey)
                aCols.push_back(c);
        std::vector<int> aRows;
        for (int r = l.bHeader ? 0 : 1; r < fg.Rows(); ++r)
            if (Included(fg, r, l))
                aRows.push_back(r);
        if (aCols.empty() || aRows.empty())
            return;

        nLine = 30;
        rt::Array aCells(rt::VarType::Variant,
                         {rt::ArrayBounds{0, std::int32_t(aRows.size()) - 1},
                          rt::ArrayBounds{0, std::int32_t(aCols.size()) - 1}});
        RowReader oReader(fg, *m_oFields, m_oRecords.get(), m_bBooleanGrouping, l);
        for (size_t i = 0; i < aRows.size(); ++i)
            for (size_t j = 0; j < aCols.size(); ++j)
                aCells(std::int32_t(i), std::int32_t(j)) = oReader.Cell(aRows[i], aCols[j]);

        nLine = 40;
        rt::Array aTexts(rt::VarType::Variant, {rt::ArrayBounds{0, 1}});
        aTexts(0) = rt::Variant(oSave->ReplacePlaceholders(oSave->ReportHeader(), false, false));
        aTexts(1) = rt::Variant(oSave->ReplacePlaceholders(oSave->ReportFooter(), false, false));
        rt::Array aData(rt::VarType::Variant, {rt::ArrayBounds{0, 1}});
        aData(0) = rt::Variant(std::move(aCells));
        aData(1) = rt::Variant(std::move(aTexts));
        rt::Variant vData(std::move(aData));
        std::string sFirstCell = oSave->TemplateExcelFirstCell();
        if (sFirstCell.empty())
            sFirstCell = "A1";

        nLine = 50;
        engine::ExportExcel oWriter;
        oWriter.Export(File, oSave->ReportTemplate(), vData, l.bHeader, l.bSubtotals, sFirstCell);
    });
}

} // namespace actions
