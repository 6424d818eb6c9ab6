#include "grid/detail/RowPlan.h"

#include "platform/runtime/Strings.h"

#include <algorithm>
#include <charconv>
#include <set>

namespace grid::detail {
namespace rt = platform::runtime;

namespace {

// The list property a column key names: 0 categories, 1 companies, 2 contacts; -1 for others.
int ListPropertyOf(const std::string& sKey)
{
    if (sKey == kKeywordsKey)
        return 0;
    if (sKey == kCompaniesKey)
        return 1;
    if (sKey == kContactsKey)
        return 2;
    return -1;
}

template <class Lists> auto ListOf(Lists& oLists, int lProperty)
{
    switch (lProperty) {
    case 0:
        return std::make_pair(&oLists.KeywordsIndexed, &oLists.KeywordsIndex);
    case 1:
        return std::make_pair(&oLists.CompaniesIndexed, &oLists.CompaniesIndex);
    default:
        return std::make_pair(&oLists.ContactsIndexed, &oLists.ContactsIndex);
    }
}

} // namespace

IndexListRef IndexListOf(RowInfo& oInfo, const std::string& sKey)
{
    const int lProperty = ListPropertyOf(sKey);
    if (lProperty < 0) {
        return {};
    }
    if (!oInfo.Lists) {
        oInfo.Lists = std::make_unique<IndexLists>();
    }
    const auto [pIndexed, pIndex] = ListOf(*oInfo.Lists, lProperty);
    return {pIndexed, pIndex};
}

std::pair<bool, const std::vector<std::int32_t>*> IndexListOf(const RowInfo& oInfo,
                                                              const std::string& sKey)
{
    const int lProperty = ListPropertyOf(sKey);
    if (lProperty < 0 || !oInfo.Lists) {
        return {false, nullptr};
    }
    const auto [pIndexed, pIndex] = ListOf(*oInfo.Lists, lProperty);
    return {*pIndexed, pIndex};
}

void ResetRecordState(RowInfo& oState)
{
    oState = RowInfo{};
}

namespace {

std::string Lower(const std::string& s)
{
    return rt::LCase(s);
}

void AddUniqueIndex(std::vector<std::int32_t>& aList, std::int32_t lValue)
{
    if (std::find(aList.begin(), aList.end(), lValue) == aList.end()) {
        aList.push_back(lValue);
    }
}

std::int32_t Effective(std::int32_t lCount)
{
    return std::max<std::int32_t>(lCount, 1);
}

} // namespace

std::vector<std::int32_t> BuildIndexList(const std::vector<std::string>& aValues,
                                         const std::vector<std::string>& aConditions,
                                         std::int32_t lCompare)
{
    std::vector<std::int32_t> aList;
    std::set<std::int32_t> oExcluded;
    std::vector<std::string> aLower;
    aLower.reserve(aValues.size());
    for (const auto& s : aValues) {
        aLower.push_back(Lower(s));
    }
    for (const auto& sCondition : aConditions) {
        const std::string c = Lower(sCondition);
        for (std::size_t j = 0; j < aLower.size(); ++j) {
            const auto lj = static_cast<std::int32_t>(j);
            const std::string& t = aLower[j];
            const bool bExcluded = oExcluded.count(lj) != 0;
            switch (lCompare) {
            case 1:
                if (t == c) {
                    AddUniqueIndex(aList, lj);
                }
                break;
            case 2:
                if (t != c) {
                    if (!bExcluded) {
                        AddUniqueIndex(aList, lj);
                    }
                } else {
                    oExcluded.insert(lj);
                }
                break;
            case 3:
                if (t.find(c) != std::string::npos) {
                    AddUniqueIndex(aList, lj);
                }
                break;
            case 4:
                if (t.find(c) != std::string::npos) {
                    oExcluded.insert(lj);
                } else if (!bExcluded) {
                    AddUniqueIndex(aList, lj);
                }
                break;
            default:
                break;
            }
        }
    }
    return aList;
}

std::int32_t RowCountOf(const std::array<std::int32_t, 3>& aCounts, std::int32_t lLevels)
{
    std::int32_t lProduct = 1;
    for (std::int32_t l = 0; l < std::min<std::int32_t>(lLevels, 3); ++l) {
        lProduct *= Effective(aCounts[static_cast<std::size_t>(l)]);
    }
    return lProduct;
}

std::int32_t LevelValueIndex(const std::array<std::int32_t, 3>& aCounts, std::int32_t lLevel,
                             std::int32_t m)
{
    const std::int32_t e0 = Effective(aCounts[0]);
    const std::int32_t e1 = Effective(aCounts[1]);
    const std::int32_t e2 = Effective(aCounts[2]);
    std::int32_t lIndex = 0;
    switch (lLevel) {
    case 0:
        lIndex = m % e0;
        break;
    case 1:
        lIndex = (m / (e0 * e2)) % e1;
        break;
    case 2:
        lIndex = (m / e0) % e2;
        break;
    default:
        return -1;
    }
    return aCounts[static_cast<std::size_t>(lLevel)] == 0 ? -1 : lIndex;
}

bool FirstRowOfLevelGroup(const std::array<std::int32_t, 3>& aCounts, std::int32_t lLevel,
                          std::int32_t m)
{
    for (std::int32_t k = 0; k < m; ++k) {
        bool bSame = true;
        for (std::int32_t l = 0; l <= lLevel && bSame; ++l) {
            bSame = LevelValueIndex(aCounts, l, k) == LevelValueIndex(aCounts, l, m);
        }
        if (bSame) {
            return false;
        }
    }
    return true;
}

bool TryParseMinutes(const std::string& sText, std::int64_t& lMinutes)
{
    const auto nColon = sText.find(':');
    if (sText.empty() || nColon == std::string::npos) {
        return false;
    }
    const bool bNegative = sText.front() == '-';
    const char* pBegin = sText.data() + (bNegative ? 1 : 0);
    std::int64_t lHours = 0, lRest = 0;
    const auto r1 = std::from_chars(pBegin, sText.data() + nColon, lHours);
    const auto r2 = std::from_chars(sText.data() + nColon + 1, sText.data() + sText.size(), lRest);
    if (r1.ec != std::errc{} || r1.ptr != sText.data() + nColon || r2.ec != std::errc{} ||
        r2.ptr != sText.data() + sText.size() || pBegin == sText.data() + nColon) {
        return false;
    }
    lMinutes = lHours * 60 + lRest;
    if (bNegative) {
        lMinutes = -lMinutes;
    }
    return true;
}

} // namespace grid::detail
