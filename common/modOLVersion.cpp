#include "common/modOLVersion.h"

#include "common/modMain.h"
#include "platform/outlook/Application.h"
#include "platform/runtime/Conversion.h"
#include "platform/runtime/Variant.h"

namespace common::modOLVersion {
namespace {

std::int32_t g_lOutlookVersion = 0;

} // namespace

std::int32_t GetOutlookVersion()
{
    if (g_lOutlookVersion != 0)
        return g_lOutlookVersion;
    // The root object's client application is the one the globals hold.
    const auto& oApp = modMain::G().g_oOutlookApp;
    if (!oApp)
        return 0;
    const std::string sMajor = oApp->Version().substr(0, 2);
    namespace rt = platform::runtime;
    if (sMajor == "8.")
        g_lOutlookVersion = 8;
    else if (sMajor == "9.")
        g_lOutlookVersion = 9;
    else if (rt::IsNumeric(rt::Variant(sMajor)))
        g_lOutlookVersion = static_cast<std::int32_t>(rt::Val(sMajor));
    return g_lOutlookVersion;
}

void ResetOutlookVersion()
{
    g_lOutlookVersion = 0;
}

} // namespace common::modOLVersion
