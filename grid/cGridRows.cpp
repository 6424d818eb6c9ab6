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
struct ListCondition
{
    long lCompare = 0;
    bool bAnd = false;
    std::vector<std::string> aValues;
};

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
        const auto oFilter = m_oView->Filter();
        // Filled plan by plan: a large read's plans take their memory once, written once.
        m_RecordStates.clear();
        m_RecordStates.reserve(static_cast<std::size_t>(n));
        // The applied levels' columns, looked up once; each level's field is found by its
        // position in the record, by key only where a record has another field there.
        std::vector<std::shared_ptr<views::GridField>> aLevelFields;
        for (int L = 0; L < 3; ++L) {
            const auto g = m_oView->GroupByLevel(L);
            if (!g || !g->Apply()) {
                break;
            }
            aLevelFields.push_back(m_oView->Fields()->Item(rt::Variant(g->ColKey)));
        }
        std::array<long, 3> aPositions{0, 0, 0};
        auto fieldOf = [&](const engine::Record& oRecord, std::size_t L,
                           const std::string& sKey) {
            long& lAt = aPositions[L];
            if (lAt > 0 && lAt <= oRecord.FieldsCount()) {
                auto oField = oRecord.Fields(lAt);
                if (oField && oField->Key() == sKey) {
                    return oField;
                }
            }
            auto oField = oRecord.Fields(rt::Variant(sKey));
            for (long i = 1; oField && i <= oRecord.FieldsCount(); ++i) {
                if (oRecord.Fields(i) == oField) {
                    lAt = i;
                    break;
                }
            }
            return oField;
        };
        std::int32_t lTotal = 0;
        for (const auto& oRecord : *m_oRecords) {
            nLine = 3;
            detail::RowInfo oInfo;
            detail::ResetRecordState(oInfo);
            for (std::size_t L = 0; L < aLevelFields.size(); ++L) {
                const auto& gf = aLevelFields[L];
                std::int32_t lCount = 1;
                if (gf && gf->PropertyType() == 11) {
                    const auto oField = fieldOf(*oRecord, L, gf->Key());
                    if (oField && oField->Value().IsArray()) {
                        const auto aTexts = Texts(oField->Value().AsArray());
                        const auto oCondition =
                            oFilter ? ConditionOf(*oFilter, gf->Key()) : std::nullopt;
                        // A list condition that is not set chooses nothing: every value counts.
                        const bool bApplies = oCondition && oCondition->lCompare != 0 &&
                                              (oCondition->lCompare == 1 ||
                                               oCondition->lCompare == 3 || oCondition->bAnd);
                        if (bApplies) {
                            nLine = 4;
                            const detail::IndexListRef ref = detail::IndexListOf(oInfo, gf->Key());
                            *ref.pIndex = detail::BuildIndexList(
                                aTexts, oCondition->aValues,
                                static_cast<std::int32_t>(oCondition->lCompare));
                            *ref.pIndexed = true;
                            lCount = static_cast<std::int32_t>(ref.pIndex->size());
                        } else {
                            lCount = static_cast<std::int32_t>(aTexts.size());
                        }
                    }
                }
                oInfo.LevelValueCount[L] = lCount;
            }
            oInfo.RowCount = detail::RowCountOf(oInfo.LevelValueCount, m_lGroupLevels);
            lTotal += oInfo.RowCount;
            m_RecordStates.push_back(std::move(oInfo));
        }
        return lTotal;
    });
}

std::string cGrid::GetFormattedTime(const rt::Variant& vValue, bool bShowTime,
                                    const std::string& sFormat)
{
    return common::Rethrowing(kModule, "GetFormattedTime",
                              [&] { return m_TimeTexts.Text(vValue, bShowTime, sFormat); });
}

const cGrid::FieldSlot& cGrid::SlotOf(int i, const std::string& sKey)
{
    if (m_FieldSlots.size() <= static_cast<std::size_t>(i)) {
        m_FieldSlots.resize(static_cast<std::size_t>(i) + 1);
    }
    FieldSlot& oSlot = m_FieldSlots[static_cast<std::size_t>(i)];
    if (oSlot.oGridField && oSlot.sKey == sKey) {
        return oSlot;
    }
    forms::FlexGrid& fg = *m_oGrid;
    oSlot = FieldSlot{};
    oSlot.sKey = sKey;
    oSlot.oGridField = m_oFields->Item(rt::Variant(sKey));
    if (!oSlot.oGridField) {
        return oSlot;
    }
    oSlot.lCol = fg.ColIndex(sKey);
    const std::string& sValueKey = oSlot.oGridField->CalculatedColKey();
    oSlot.lValueCol = fg.ColIndex(sValueKey);
    for (int L = 0; L < m_lGroupLevels && HasKeywordsGroup; ++L) {
        oSlot.aLevelValueCols[static_cast<std::size_t>(L)] =
            fg.ColIndex(sValueKey + "_" + std::to_string(L));
    }
    return oSlot;
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
        const auto oField = oRecord.Fields(static_cast<long>(i));
        if (!oField) {
            continue;
        }
        const FieldSlot& oSlot = SlotOf(i, oField->Key());
        const auto& gf = oSlot.oGridField;
        if (!gf) {
            continue;
        }
        const rt::Variant& v = oField->Value();
        const long lMapiType = static_cast<long>(oField->MapiPropertyType());
        step([&] { WriteFieldText(*gf, v, lMapiType, r0, oSlot.lCol, bShowTime); });
        if (gf->Calculation() == 0) {
            continue;
        }
        const int vcol = oSlot.lValueCol;
        step([&] {
            if (vcol < 0) {
                rt::Raise(9, {}, "The value column " + gf->CalculatedColKey() + " is missing");
            }
            std::optional<std::string> sValue;
            if (gf->Calculation() == 4) {
                if (gf->MappingValue() == 2) {
                    const bool bNone = IsEmptyValue(v) ||
                                       (v.IsString() && v.Get<std::string>()->empty()) ||
                                       (v.IsNumber() && rt::CDbl(v) == 0);
                    if (!bNone)
                        sValue = "1";
                } else {
                    const std::string t = fg.TextMatrix(r0, i);
                    if (!t.empty() && t != "0")
                        sValue = "1";
                }
            } else if (gf->PropertyType() == 5) {
                if (!IsEmptyValue(v))
                    sValue = rt::CStr(rt::Variant(rt::CDbl(rt::Variant(rt::CDate(v)))));
            } else if (gf->PropertyType() == 6) {
                sValue = !IsEmptyValue(v) && rt::CBool(v) ? "1" : "0";
            } else if (gf->PropertyType() == 11) {
                sValue = v.IsArray() && v.AsArray().Size() > 0 &&
                                 !ValueText(v.AsArray()(v.AsArray().LBound())).empty()
                             ? "1"
                             : "0";
            } else {
                sValue = ValueText(v);
            }
            if (sValue) {
                fg.SetTextMatrix(r0, vcol, *sValue);
            }
        });
        if (HasKeywordsGroup) {
            // Only the run of applied levels from level 0 has value columns.
            for (int L = 0; L < m_lGroupLevels; ++L) {
                step([&] {
                    fg.SetTextMatrix(r0, oSlot.aLevelValueCols[static_cast<std::size_t>(L)],
                                     fg.TextMatrix(r0, vcol));
                });
            }
        }
    }
    if (!HasKeywordsGroup) {
        return;
    }
    const detail::RowInfo& oInfo = m_RecordStates.at(static_cast<std::size_t>(m_lRecordIndex));
    const std::int32_t n = oInfo.RowCount;
    if (n > 1) {
        FillFurtherRows(oRecord, oInfo, r0);
    } else {
        ReduceSingleRow(oInfo, r0);
    }
    if (n != 0) {
        m_lCurrentRow += n - 1;
    }
}

void cGrid::WriteFieldText(const views::GridField& oField, const rt::Variant& v, long lMapiType,
                           int lRow, int lCol, bool bShowTime)
{
    forms::FlexGrid& fg = *m_oGrid;
    std::optional<std::string> sText;
    const std::int32_t lPropType = oField.PropertyType();
    if (oField.EnumValue()) {
        if (!IsEmptyValue(v))
            sText = modEnumStrings::GetEnumString(oField.Key(), rt::CLng(v));
    } else if (lMapiType == 4126) {
        if (v.IsArray()) {
            std::string s;
            const auto aTexts = Texts(v.AsArray());
            for (std::size_t j = 0; j < aTexts.size(); ++j) {
                s += (j ? ";" : "") + aTexts[j];
            }
            sText = s;
        }
    } else if (lMapiType == 64) {
        const bool bTime =
            oField.MappingValue() == 14 || oField.MappingValue() == 15 ? false : bShowTime;
        sText = GetFormattedTime(v, bTime, oField.Format());
    } else if (lMapiType == 3 && lPropType == 7) {
        if (!IsEmptyValue(v))
            sText = detail::FormatMinutes(rt::CLng(v));
    } else if (lMapiType == 5 && lPropType == 12) {
        if (!IsEmptyValue(v))
            sText = rt::CStr(rt::Variant(rt::CDbl(v) * 100.0)) + "%";
    } else if (lMapiType == 6) {
        sText = rt::Format(v, "#,##0.00");
    } else if (lMapiType == 11) {
        sText = IsEmptyValue(v) ? "0" : rt::CStr(rt::Variant(std::abs(rt::CDbl(v))));
    } else if (lMapiType == 13) {
        // An object (the item icon) has no text.
    } else {
        sText = ValueText(v);
    }
    if (lCol < 0) {
        rt::Raise(9, {}, "The grid has no column " + oField.Key());
    }
    if (sText) {
        fg.SetTextMatrix(lRow, lCol, *sText);
    }
}

} // namespace grid
