#include "platform/locale/detail/RegionCodes.h"

#include <phonenumbers/phonenumberutil.h>

#include <algorithm>
#include <array>
#include <string>

namespace platform::locale::detail {

int CallingCode(std::string_view region)
{
    if (region.empty()) {
        return 0;
    }
    return i18n::phonenumbers::PhoneNumberUtil::GetInstance()->GetCountryCodeForRegion(
        std::string(region));
}

namespace {

template <std::size_t N>
bool OneOf(std::string_view value, const std::array<std::string_view, N>& values)
{
    return std::find(values.begin(), values.end(), value) != values.end();
}

} // namespace

int OemCodePage(std::string_view language, std::string_view script, std::string_view region)
{
    // The system groups its OEM code pages by script, and the Latin one by language family.
    static constexpr std::array<std::string_view, 11> kCentralEuropean = {
        "cs", "sk", "pl", "hu", "hr", "sl", "ro", "sq", "bs", "sr", "hsb"};
    static constexpr std::array<std::string_view, 3> kBaltic = {"lt", "lv", "et"};
    static constexpr std::array<std::string_view, 3> kTurkic = {"tr", "az", "uz"};
    if (script == "Latn") {
        if (language == "en" && region == "US") {
            return 437;
        }
        if (OneOf(language, kCentralEuropean)) {
            return 852;
        }
        if (OneOf(language, kBaltic)) {
            return 775;
        }
        if (OneOf(language, kTurkic)) {
            return 857;
        }
        return language == "vi" ? 1258 : 850;
    }
    if (script == "Cyrl") {
        return 866;
    }
    if (script == "Grek") {
        return 737;
    }
    if (script == "Hebr") {
        return 862;
    }
    if (script == "Arab") {
        return 720;
    }
    if (script == "Thai") {
        return 874;
    }
    if (script == "Jpan") {
        return 932;
    }
    if (script == "Kore") {
        return 949;
    }
    if (script == "Hans") {
        return 936;
    }
    if (script == "Hant") {
        return 950;
    }
    return 1;
}

} // namespace platform::locale::detail
