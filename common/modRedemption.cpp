#include "common/modRedemption.h"

#include "common/ErrorHandling.h"
#include "common/modMain.h"
#include "common/modOLVersion.h"
#include "platform/mapi/CreateObject.h"
#include "platform/mapi/Folder.h"
#include "platform/mapi/SafeItem.h"
#include "platform/mapi/Session.h"
#include "platform/mapi/Utils.h"
#include "platform/outlook/MAPIFolder.h"
#include "platform/outlook/NameSpace.h"
#include "platform/runtime/Error.h"
#include "platform/runtime/ResumeNext.h"
#include "platform/runtime/Strings.h"

#include <functional>

namespace common::modRedemption {
namespace {

namespace rt = platform::runtime;
namespace mapi = platform::mapi;

constexpr const char* kModule = "modRedemption";
constexpr const char* kProgIdPrefix = "ardex.";
// The messaging library's "not found" (0x8004010F).
constexpr std::int32_t kNotFound = -2147221233;

struct State
{
    std::shared_ptr<mapi::Session> oSession;
    bool bOwnLogon = false;
};

State& S()
{
    static State oState;
    return oState;
}

template <class T> std::shared_ptr<T> CreateAs(const std::string& sProgId)
{
    auto oObject = std::dynamic_pointer_cast<T>(mapi::CreateObject(sProgId));
    if (!oObject)
        rt::Raise(rt::errors::CannotCreateObject, {}, "Cannot create object " + sProgId);
    return oObject;
}

void LogonWith(std::shared_ptr<mapi::Session>& oSession,
               std::shared_ptr<platform::outlook::NameSpace>& oNameSpace,
               const std::function<std::int32_t()>& fnOutlookVersion)
{
    Rethrowing(kModule, "Logon", [&](int& nLine) {
        nLine = 1;
        if (!oSession)
            oSession = CreateAs<mapi::Session>(std::string(kProgIdPrefix) + "ardexsession");
        nLine = 2;
        if (oSession->LoggedOn())
            return;
        nLine = 3;
        if (fnOutlookVersion() < 10 || !oNameSpace) {
            nLine = 4;
            oSession->Logon({}, {}, {}, rt::Variant(false));
        } else {
            nLine = 5;
            oSession->SetMAPIOBJECT(oNameSpace->MAPIOBJECT());
        }
        // Neither way counts as a logon of our own (the session runs on the client's), so
        // release never logs off.
        S().bOwnLogon = false;
    });
}

} // namespace

std::shared_ptr<mapi::Session> g_Session()
{
    return Rethrowing(kModule, "g_Session", [] {
        auto oNameSpace = modMain::G().g_oNameSpace;
        Logon(S().oSession, oNameSpace);
        modMain::G().g_oNameSpace = oNameSpace;
        return S().oSession;
    });
}

void Logon(std::shared_ptr<mapi::Session>& oSession,
           std::shared_ptr<platform::outlook::NameSpace>& oNameSpace)
{
    LogonWith(oSession, oNameSpace, [] { return modOLVersion::GetOutlookVersion(); });
}

void Logon(std::shared_ptr<mapi::Session>& oSession,
           std::shared_ptr<platform::outlook::NameSpace>& oNameSpace, std::int32_t lOutlookVersion)
{
    LogonWith(oSession, oNameSpace, [lOutlookVersion] { return lOutlookVersion; });
}

void ReleaseSession(bool bRelease)
{
    auto& oState = S();
    if (!oState.oSession)
        return;
    rt::ResumeNext oResume;
    oResume([&] {
        if (oState.bOwnLogon)
            oState.oSession->Logoff();
    });
    oState.bOwnLogon = false;
    if (bRelease)
        oState.oSession.reset();
}

std::shared_ptr<mapi::Folder> OpenFolder(const std::string& sEntryID, const std::string& sStoreID)
{
    auto oSession = g_Session();
    try {
        return oSession->GetFolderFromID(sEntryID, rt::Variant(sStoreID));
    } catch (const rt::Error& oError) {
        // The store's own word that there is no such folder; anything else is a failure.
        if (oError.Number() == kNotFound)
            return nullptr;
        throw;
    }
}

std::shared_ptr<mapi::Folder> GetRdoFolder(std::shared_ptr<platform::outlook::MAPIFolder> oFolder)
{
    return Rethrowing(kModule, "GetRdoFolder", [&]() -> std::shared_ptr<mapi::Folder> {
        if (!oFolder)
            return nullptr;
        const std::string sEntryID = oFolder->EntryID();
        const std::string sStoreID = oFolder->StoreID();
        oFolder.reset();
        return g_Session()->GetFolderFromID(sEntryID, rt::Variant(sStoreID));
    });
}

std::shared_ptr<mapi::SafeItem> GetSafeItem(const std::shared_ptr<rt::Object>& oItem)
{
    if (!oItem)
        return nullptr;
    auto oSafe = CreateAs<mapi::SafeItem>(SafeItemProgId(oItem->TypeName()));
    oSafe->SetItem(rt::Variant(oItem));
    return oSafe;
}

std::string SafeItemProgId(const std::string& sTypeName)
{
    std::string sType = sTypeName;
    if (sType.size() >= 4 && rt::LCase(sType.substr(sType.size() - 4)) == "item")
        sType.resize(sType.size() - 4);
    return std::string(kProgIdPrefix) + "sf" + sType;
}

void ReleaseSafeItem(std::shared_ptr<mapi::SafeItem>& oSafeItem)
{
    if (!oSafeItem)
        return;
    rt::ResumeNext oResume;
    oResume([&] { oSafeItem->SetItem(rt::Variant(nullptr)); });
    oSafeItem.reset();
}

std::shared_ptr<mapi::Utils> GetSafeUtils()
{
    return CreateAs<mapi::Utils>(std::string(kProgIdPrefix) + "sfUtils");
}

bool OwnLogon()
{
    return S().bOwnLogon;
}

} // namespace common::modRedemption
