// Rows per record and the writing of one record into its grid rows.
#include "grid/cGrid.h"

#include "common/ErrorHandling.h"
#include "engine/Filter.h"
#include "engine/Records.h"
#include "grid/detail/TimeTexts.h"
#include "grid/modEnumStrings.h"
#include "platform/forms/FlexGrid.h"
#include "platform/runtime/Conversion.h"
#include "platform/runtime/Error.h"
#include "platform/runtime/Format.h"
#include "platform/runtime/ResumeNext.h"
#include "views/GridFields.h"
#include "views/GroupBy.h"
#include "views/SortBy.h"

#include <algorithm>
#include <cmath>

namespace grid {
namespace {

namespace rt = platform::runtime;
namespace forms = platform::forms;

constexpr const char* kModule = "cGrid";

std::vector<std::string> Texts(const rt::Array& aValues)
{
    std::vector<std::string> aTexts;
    for (std::int32_t j = aValues.LBound(); j <= aValues.UBound(); ++j) {
        aTexts.push_back(rt::CStr(aValues(j)));
    }
    return aTexts;
}
using detail::ListCondition;

std::optional<ListCondition> ConditionOf(const engine::Filter& oFilter, const std::string& sKey)
{
    if (sKey == detail::kKeywordsKey)
        return ListCondition{oFilter.CategoryCompare(), oFilter.CategoryAND(), oFilter.Category()};
    if (sKey == detail::kCompaniesKey)
        return ListCondition{oFilter.CompanyCompare(), oFilter.CompanyAND(), oFilter.Company()};
    if (sKey == detail::kContactsKey)
        return ListCondition{oFilter.ContactCompare(), oFilter.ContactAND(), oFilter.Contact()};
    return std::nullopt;
}

bool IsEmptyValue(const rt::Variant& v)
{
    return v.IsEmpty() || v.IsNull();
}

std::string ValueText(const rt::Variant& v)
{
    return IsEmptyValue(v) ? std::string() : rt::CStr(v);
}

} // namespace

std::int32_t cGrid::GetRowCount()
{
    return common::Rethrowing(kModule, "GetRowCount", [&](int& nLine) -> std::int32_t {
        nLine = 1;
        const std::int32_t n = m_oRecords->Count();
        if (n == 0) {
            return 0;
        }
        if (!HasKeywordsGroup) {
            return n;
        }
        nLine = 2;
        PreparePlans();
        // The plans are made again as each record is written: a large read's plans would take
        // fresh memory, which costs more to reach than the plans cost to make.
        std::int32_t lTotal = 0;
        for (const auto& oRecord : *m_oRecords) {
            nLine = 3;
            lTotal += PlanOf(*oRecord).RowCount;
        }
        return lTotal;
    });
}

void cGrid::PreparePlans()
{
    const auto oFilter = m_oView->Filter();
    m_PlanLevels.clear();
    for (int L = 0; L < 3; ++L) {
        const auto g = m_oView->GroupByLevel(L);
        if (!g || !g->Apply()) {
            break;
        }
        PlanLevel oLevel;
        oLevel.oField = m_oView->Fields()->Item(rt::Variant(g->ColKey));
        if (oLevel.oField) {
            oLevel.sKey = oLevel.oField->Key();
        }
        oLevel.bList = oLevel.oField && oLevel.oField->PropertyType() == 11;
        if (oLevel.bList && oFilter) {
            auto oCondition = ConditionOf(*oFilter, oLevel.oField->Key());
            // A list condition that is not set chooses nothing: every value counts.
            if (oCondition && oCondition->lCompare != 0 &&
                (oCondition->lCompare == 1 || oCondition->lCompare == 3 || oCondition->bAnd)) {
                oLevel.oCondition = std::move(oCondition);
            }
        }
        m_PlanLevels.push_back(std::move(oLevel));
    }
}

const engine::Field* cGrid::PlanField(const engine::Record& oRecord, PlanLevel& oLevel)
{
    // Found by its position in the record, by key only where a record has another field
    // there; the fields of one read share their key objects.
    if (const engine::Field* pField = oRecord.FieldPointer(oLevel.lAt)) {
        if (&pField->Key() == oLevel.pKeyObject || pField->Key() == oLevel.sKey) {
            oLevel.pKeyObject = &pField->Key();
            return pField;
        }
    }
    const auto oField = oRecord.Fields(rt::Variant(oLevel.sKey));
    for (long i = 1; oField && i <= oRecord.FieldsCount(); ++i) {
        if (oRecord.FieldPointer(i) == oField.get()) {
            oLevel.lAt = i;
            break;
        }
    }
    return oField.get();
}

const detail::RowInfo& cGrid::PlanOf(const engine::Record& oRecord)
{
    detail::RowInfo& oInfo = m_Plan;
    detail::ResetRecordState(oInfo);
    for (std::size_t L = 0; L < m_PlanLevels.size(); ++L) {
        PlanLevel& oLevel = m_PlanLevels[L];
        std::int32_t lCount = 1;
        if (oLevel.bList) {
            const engine::Field* pField = PlanField(oRecord, oLevel);
            if (pField && pField->Value().IsArray()) {
                const rt::Array& aValues = pField->Value().AsArray();
                if (const auto& oCondition = oLevel.oCondition) {
                    const detail::IndexListRef ref = detail::IndexListOf(oInfo, oLevel.sKey);
                    *ref.pIndex =
                        detail::BuildIndexList(Texts(aValues), oCondition->aValues,
                                               static_cast<std::int32_t>(oCondition->lCompare));
                    *ref.pIndexed = true;
                    lCount = static_cast<std::int32_t>(ref.pIndex->size());
                } else {
                    lCount = aValues.UBound() - aValues.LBound() + 1;
                }
            }
        }
        oInfo.LevelValueCount[L] = lCount;
    }
    oInfo.RowCount = detail::RowCountOf(oInfo.LevelValueCount, m_lGroupLevels);
    return oInfo;
}

const std::string& cGrid::GetFormattedTime(const rt::Variant& vValue, std::size_t nFormat,
                                           std::uint32_t& nId)
{
    return common::Rethrowing(kModule, "GetFormattedTime", [&]() -> const std::string& {
        return m_TimeTexts.Text(nFormat, vValue, nId);
    });
}

const cGrid::FieldSlot& cGrid::SlotOf(int i, const engine::Field& oField)
{
    if (m_FieldSlots.size() <= static_cast<std::size_t>(i)) {
        m_FieldSlots.resize(static_cast<std::size_t>(i) + 1);
    }
    FieldSlot& oSlot = m_FieldSlots[static_cast<std::size_t>(i)];
    const std::string& sKey = oField.Key();
    const long lMapiType = static_cast<long>(oField.MapiPropertyType());
    // The fields of one read share their keys: the same key object is the same column.
    if (oSlot.pKey == &sKey && oSlot.lMapiType == lMapiType) {
        return oSlot;
    }
    if (oSlot.pKey != nullptr && oSlot.sKey == sKey && oSlot.lMapiType == lMapiType) {
        oSlot.pKey = &sKey;
        return oSlot;
    }
    oSlot = FieldSlot{};
    oSlot.pKey = &sKey;
    oSlot.sKey = sKey;
    oSlot.lMapiType = lMapiType;
    ResolveSlot(oSlot);
    return oSlot;
}

void cGrid::ResolveSlot(FieldSlot& oSlot)
{
    forms::FlexGrid& fg = *m_oGrid;
    oSlot.oGridField = m_oFields->Item(rt::Variant(oSlot.sKey));
    if (!oSlot.oGridField) {
        return;
    }
    const views::GridField& gf = *oSlot.oGridField;
    oSlot.sGridKey = gf.Key();
    oSlot.lCol = fg.ColIndex(oSlot.sKey);
    const std::string& sValueKey = gf.CalculatedColKey();
    oSlot.lValueCol = fg.ColIndex(sValueKey);
    for (int L = 0; L < m_lGroupLevels && HasKeywordsGroup; ++L) {
        oSlot.aLevelValueCols[static_cast<std::size_t>(L)] =
            fg.ColIndex(sValueKey + "_" + std::to_string(L));
    }
    for (const GroupKeyLevel& oLevel : m_GroupKeyLevels) {
        if (oLevel.bAtInsert && oLevel.col == oSlot.lCol && oSlot.lCol >= 0) {
            oSlot.nKeyLevels |= static_cast<std::uint8_t>(1u << oLevel.lLevel);
        }
    }
    // The display text: the first rule that applies.
    const long t = oSlot.lMapiType;
    const std::int32_t lPropType = gf.PropertyType();
    oSlot.eText = gf.EnumValue()              ? TextRule::Enum
                  : t == 4126                 ? TextRule::MultiText
                  : t == 64                   ? TextRule::Date
                  : t == 3 && lPropType == 7  ? TextRule::Duration
                  : t == 5 && lPropType == 12 ? TextRule::Percent
                  : t == 6                    ? TextRule::Currency
                  : t == 11                   ? TextRule::Boolean
                  : t == 13                   ? TextRule::None
                                              : TextRule::Value;
    if (oSlot.eText == TextRule::Date) {
        oSlot.bDateOnly = gf.MappingValue() == 14 || gf.MappingValue() == 15;
        oSlot.aTimeFormats[0] = m_TimeTexts.FormatOf(false, gf.Format());
        oSlot.aTimeFormats[1] = m_TimeTexts.FormatOf(true, gf.Format());
    }
    // The value column's text.
    const std::int32_t lCalc = gf.Calculation();
    oSlot.eCalc = lCalc == 0                             ? CalcRule::None
                  : lCalc == 4 && gf.MappingValue() == 2 ? CalcRule::CountIcon
                  : lCalc == 4                           ? CalcRule::CountText
                  : lPropType == 5                       ? CalcRule::DateSerial
                  : lPropType == 6                       ? CalcRule::YesNo
                  : lPropType == 11                      ? CalcRule::Keywords
                                                         : CalcRule::Value;
}

void cGrid::InsertRow(const engine::Record& oRecord)
{
    forms::FlexGrid& fg = *m_oGrid;
    ++m_lCurrentRow;
    const int r0 = m_lCurrentRow;
    // Each failing step is logged on its own and the next step runs.
    auto step = [&](auto&& body) { common::Logging(kModule, "InsertRow", body); };
    bool bShowTime = true;
    step([&] { bShowTime = oRecord.Class() != 3 && !m_oView->DontShowTime(); });
    step([&] { fg.SetRowData(r0, rt::Variant(oRecord.Key())); });
    for (int i = 1; i <= m_lFieldCount; ++i) {
        // The records stay held for the fill: their fields need no shared ownership here.
        const engine::Field* pField = oRecord.FieldPointer(static_cast<long>(i));
        if (!pField) {
            continue;
        }
        const FieldSlot& oSlot = SlotOf(i, *pField);
        if (!oSlot.oGridField) {
            continue;
        }
        const rt::Variant& v = pField->Value();
        const std::string* pText = nullptr;
        bool bWritten = false;
        step([&] {
            pText = FieldText(oSlot, v, bShowTime);
            if (oSlot.lCol < 0) {
                rt::Raise(9, {}, "The grid has no column " + oSlot.sGridKey);
            }
            if (pText) {
                fg.SetTextMatrix(r0, oSlot.lCol, *pText);
                bWritten = true;
            }
        });
        if (bWritten && oSlot.nKeyLevels != 0) {
            WriteGroupKeys(oSlot, r0, *pText);
        }
        if (oSlot.eCalc == CalcRule::None) {
            continue;
        }
        const int vcol = oSlot.lValueCol;
        std::optional<std::string> sValue;
        step([&] {
            if (vcol < 0) {
                rt::Raise(9, {},
                          "The value column " + oSlot.oGridField->CalculatedColKey() +
                              " is missing");
            }
            // A value shown as it is has its value text already.
            sValue = oSlot.eCalc == CalcRule::Value && oSlot.eText == TextRule::Value && pText
                         ? *pText
                         : CalculatedValue(oSlot, v, bWritten ? pText : nullptr, r0, i);
            if (sValue) {
                fg.SetTextMatrix(r0, vcol, *sValue);
            } else {
                sValue = fg.TextMatrix(r0, vcol);
            }
        });
        if (HasKeywordsGroup) {
            // Only the run of applied levels from level 0 has value columns.
            for (int L = 0; L < m_lGroupLevels; ++L) {
                step([&] {
                    const int lLevelCol = oSlot.aLevelValueCols[static_cast<std::size_t>(L)];
                    fg.SetTextMatrix(r0, lLevelCol, sValue ? *sValue : fg.TextMatrix(r0, vcol));
                });
            }
        }
    }
    if (!HasKeywordsGroup) {
        WriteRowKeys(r0, 1);
        return;
    }
    const detail::RowInfo& oInfo = PlanOf(oRecord);
    const std::int32_t n = oInfo.RowCount;
    if (n > 1) {
        FillFurtherRows(oRecord, oInfo, r0);
    } else {
        ReduceSingleRow(oInfo, r0);
    }
    WriteRowKeys(r0, std::max(n, 1));
    if (n != 0) {
        m_lCurrentRow += n - 1;
    }
}

const std::string* cGrid::FieldText(const FieldSlot& oSlot, const rt::Variant& v, bool bShowTime)
{
    std::string& s = m_sText;
    switch (oSlot.eText) {
    case TextRule::Enum:
        if (IsEmptyValue(v))
            return nullptr;
        s = modEnumStrings::GetEnumString(oSlot.sGridKey, rt::CLng(v));
        return &s;
    case TextRule::MultiText:
        if (!v.IsArray())
            return nullptr;
        s.clear();
        {
            const rt::Array& a = v.AsArray();
            for (std::int32_t j = a.LBound(); j <= a.UBound(); ++j) {
                if (j != a.LBound())
                    s += ';';
                const rt::Variant& vItem = a(j);
                if (const auto* pItem = vItem.Get<std::string>()) {
                    s += *pItem;
                } else {
                    s += rt::CStr(vItem);
                }
            }
        }
        return &s;
    case TextRule::Date: {
        const std::size_t nFormat = oSlot.aTimeFormats[!oSlot.bDateOnly && bShowTime ? 1 : 0];
        m_nLastTimeFormat = nFormat;
        m_nLastTimeId = detail::TimeTextCache::kNoId;
        return &GetFormattedTime(v, nFormat, m_nLastTimeId);
    }
    case TextRule::Duration:
        if (IsEmptyValue(v))
            return nullptr;
        s = detail::FormatMinutes(rt::CLng(v));
        return &s;
    case TextRule::Percent:
        if (IsEmptyValue(v))
            return nullptr;
        s = rt::CStr(rt::Variant(rt::CDbl(v) * 100.0));
        s += '%';
        return &s;
    case TextRule::Currency:
        s = rt::Format(v, "#,##0.00");
        return &s;
    case TextRule::Boolean:
        s = IsEmptyValue(v) ? "0" : rt::CStr(rt::Variant(std::abs(rt::CDbl(v))));
        return &s;
    case TextRule::None:
        // An object (the item icon) has no text.
        return nullptr;
    case TextRule::Value:
        break;
    }
    if (const auto* pString = v.Get<std::string>()) {
        return pString;
    }
    if (const auto* pNumber = v.Get<double>()) {
        return &m_NumberTexts.Text(*pNumber);
    }
    s = ValueText(v);
    return &s;
}

std::optional<std::string> cGrid::CalculatedValue(const FieldSlot& oSlot, const rt::Variant& v,
                                                  const std::string* pFieldText, int r0, int i)
{
    switch (oSlot.eCalc) {
    case CalcRule::None:
        return std::nullopt;
    case CalcRule::CountIcon: {
        const bool bNone = IsEmptyValue(v) || (v.IsString() && v.Get<std::string>()->empty()) ||
                           (v.IsNumber() && rt::CDbl(v) == 0);
        return bNone ? std::nullopt : std::optional<std::string>("1");
    }
    case CalcRule::CountText: {
        // The count reads column i; that is the text just written when the field stands
        // there, as it does in a read made from the view's columns.
        std::string sRead;
        const std::string* pShown = pFieldText;
        if (!pShown || oSlot.lCol != i) {
            sRead = m_oGrid->TextMatrix(r0, i);
            pShown = &sRead;
        }
        return pShown->empty() || *pShown == "0" ? std::nullopt : std::optional<std::string>("1");
    }
    case CalcRule::DateSerial:
        if (IsEmptyValue(v))
            return std::nullopt;
        return rt::CStr(rt::Variant(rt::CDbl(rt::Variant(rt::CDate(v)))));
    case CalcRule::YesNo:
        return !IsEmptyValue(v) && rt::CBool(v) ? "1" : "0";
    case CalcRule::Keywords:
        return v.IsArray() && v.AsArray().Size() > 0 &&
                       !ValueText(v.AsArray()(v.AsArray().LBound())).empty()
                   ? "1"
                   : "0";
    case CalcRule::Value:
        break;
    }
    return ValueText(v);
}

} // namespace grid
