#include "actions/detail/SettingsString.h"

#include "platform/runtime/Conversion.h"
#include "platform/runtime/Error.h"

namespace actions::detail {

namespace rt = platform::runtime;

std::string JoinFields(const std::vector<std::string>& aFields)
{
    std::string sResult;
    for (std::size_t i = 0; i < aFields.size(); ++i) {
        if (i > 0)
            sResult.push_back('\0');
        sResult += aFields[i];
    }
    return sResult;
}

std::vector<std::string> SplitFields(const std::string& sData)
{
    std::vector<std::string> aFields;
    std::size_t lStart = 0;
    for (;;) {
        const std::size_t lAt = sData.find('\0', lStart);
        if (lAt == std::string::npos) {
            aFields.push_back(sData.substr(lStart));
            return aFields;
        }
        aFields.push_back(sData.substr(lStart, lAt - lStart));
        lStart = lAt + 1;
    }
}

std::vector<std::string> TakeFields(const std::vector<std::string>& aFields, std::size_t lFrom,
                                    std::size_t lCount)
{
    if (lFrom + lCount > aFields.size())
        rt::Raise(rt::errors::SubscriptOutOfRange);
    return {aFields.begin() + static_cast<std::ptrdiff_t>(lFrom),
            aFields.begin() + static_cast<std::ptrdiff_t>(lFrom + lCount)};
}

std::string BoolField(bool bValue)
{
    return bValue ? "1" : "0";
}

std::string NumField(std::int64_t lValue)
{
    return std::to_string(lValue);
}

bool ReadBool(const std::string& sField)
{
    return rt::Val(sField) != 0.0;
}

std::int32_t ReadLong(const std::string& sField)
{
    return rt::CLng(rt::Variant(rt::Val(sField)));
}

} // namespace actions::detail
