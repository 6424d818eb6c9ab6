#include "folderpicker/detail/modOLVersion.h"

#include "common/modMain.h"
#include "platform/outlook/Application.h"

#include <array>
#include <string>
#include <utility>

namespace folderpicker::detail::modOLVersion {
namespace {

std::int32_t g_lOutlookVersion = 0;

std::int32_t VersionOf(const std::string& sMajor)
{
    static constexpr std::array<std::pair<const char*, std::int32_t>, 5> kKnown = {
        {{"8.", 8}, {"9.", 9}, {"10", 10}, {"11", 11}, {"12", 12}}};
    for (const auto& [sText, lVersion] : kKnown)
        if (sMajor == sText)
            return lVersion;
    return 0;
}

} // namespace

std::int32_t GetOutlookVersion()
{
    if (g_lOutlookVersion != 0)
        return g_lOutlookVersion;
    const auto& oApp = common::modMain::G().g_oOutlookApp;
    if (!oApp)
        return 0;
    g_lOutlookVersion = VersionOf(oApp->Version().substr(0, 2));
    return g_lOutlookVersion;
}

void ResetOutlookVersion()
{
    g_lOutlookVersion = 0;
}

} // namespace folderpicker::detail::modOLVersion
