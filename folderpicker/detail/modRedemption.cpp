#include "folderpicker/detail/modRedemption.h"

#include "common/ErrorHandling.h"
#include "common/modMain.h"
#include "common/modRedemption.h"
#include "folderpicker/detail/modOLVersion.h"
#include "platform/mapi/Session.h"

namespace folderpicker::detail::modRedemption {
namespace {

std::shared_ptr<platform::mapi::Session>& TheSession()
{
    static std::shared_ptr<platform::mapi::Session> oSession;
    return oSession;
}

} // namespace

std::shared_ptr<platform::mapi::Session> g_Session()
{
    return common::Rethrowing("modRedemption", "g_Session", [] {
        common::modRedemption::Logon(TheSession(), common::modMain::G().g_oNameSpace,
                                     modOLVersion::GetOutlookVersion());
        return TheSession();
    });
}

void ReleaseSession(bool bRelease)
{
    if (bRelease)
        TheSession().reset();
}

} // namespace folderpicker::detail::modRedemption
