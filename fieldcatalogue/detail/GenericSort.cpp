#include "fieldcatalogue/detail/GenericSort.h"

#include "platform/runtime/Conversion.h"
#include "platform/runtime/Strings.h"

#include <algorithm>
#include <numeric>

namespace fieldcatalogue::detail {
namespace {

namespace rt = platform::runtime;

enum class TextClass
{
    Empty = 0,
    Number = 1,
    Text = 2,
};

struct SortKey
{
    TextClass eClass = TextClass::Empty;
    double dNumber = 0;
};

SortKey KeyOf(const std::string& sText)
{
    if (sText.empty())
        return {};
    const rt::Variant vText(sText);
    if (rt::IsNumeric(vText))
        return {TextClass::Number, rt::CDbl(vText)};
    return {TextClass::Text, 0};
}

} // namespace

std::vector<std::size_t> GenericAscendingOrder(const std::vector<std::string>& vTexts)
{
    std::vector<SortKey> vKeys;
    vKeys.reserve(vTexts.size());
    for (const std::string& sText : vTexts)
        vKeys.push_back(KeyOf(sText));
    std::vector<std::size_t> vOrder(vTexts.size());
    std::iota(vOrder.begin(), vOrder.end(), std::size_t{0});
    std::stable_sort(vOrder.begin(), vOrder.end(), [&](std::size_t a, std::size_t b) {
        const SortKey& oA = vKeys[a];
        const SortKey& oB = vKeys[b];
        if (oA.eClass != oB.eClass)
            return oA.eClass < oB.eClass;
        if (oA.eClass == TextClass::Number)
            return oA.dNumber < oB.dNumber;
        if (oA.eClass == TextClass::Text)
            return rt::StrComp(vTexts[a], vTexts[b], rt::CompareMethod::Text) < 0;
        return false;
    });
    return vOrder;
}

} // namespace fieldcatalogue::detail
