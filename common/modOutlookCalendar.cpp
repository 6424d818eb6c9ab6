#include "common/modOutlookCalendar.h"

#include "common/ErrorHandling.h"
#include "common/modMain.h"
#include "platform/outlook/Application.h"
#include "platform/runtime/Conversion.h"
#include "platform/runtime/Error.h"
#include "platform/runtime/ResumeNext.h"
#include "platform/win/Registry.h"

namespace common::modOutlookCalendar {
namespace {

namespace rt = platform::runtime;
namespace win = platform::win;

// The client's version key: "9.0\" for version text "9.x", "12.0\" for "12.x".
std::string VersionKey(const std::string& sVersion)
{
    const std::string sMajor = sVersion.substr(0, 2);
    if (sMajor == "8." || sMajor == "9.")
        return sMajor + "0\\";
    return sMajor + ".0\\";
}

} // namespace

std::string GetRegValueText(const std::optional<win::RegistryValue>& oValue)
{
    std::string sText;
    if (!oValue)
        return sText;
    rt::ResumeNext oResume;
    oResume([&] { sText = oValue->asText(); });
    return sText;
}

std::int32_t GetFirstDayOfWeek()
{
    std::int32_t lResult = -1;
    try {
        const auto& oApp = modMain::G().g_oOutlookApp;
        if (!oApp)
            rt::Raise(rt::errors::ObjectNotSet);
        const std::string sKey = "Software\\Microsoft\\Office\\" + VersionKey(oApp->Version()) +
                                 "Outlook\\Options\\Calendar";
        const std::string sText =
            GetRegValueText(win::Registry().read(win::Hive::CurrentUser, sKey, "FirstDOW"));
        if (rt::IsNumeric(rt::Variant(sText))) {
            lResult = rt::CLng(rt::Variant(sText));
            if (lResult < 0 || lResult > 6)
                lResult = -1;
        }
    } catch (...) {
        // Captured and dropped: the caller gets the result as it stands.
        ErrorObject oError;
        bool bFlag = false;
        oError.CaptureError(SourceText("modOutlookCalendar", "GetFirstDayOfWeek", 0), bFlag);
    }
    return lResult;
}

std::int32_t FirstDayOfWeek()
{
    std::int32_t lResult = 0;
    if (!Logging("modOutlookCalendar", "FirstDayOfWeek",
                 [&] { lResult = GetFirstDayOfWeek() + 1; }))
        lResult = 0;
    return lResult;
}

} // namespace common::modOutlookCalendar
