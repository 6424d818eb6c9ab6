#include "shell/basSupportRequest.h"

#include "common/ErrorObject.h"
#include "common/Options.h"
#include "common/modLanguage.h"
#include "common/modMain.h"
#include "common/modOLVersion.h"
#include "common/modOSVersionsInfo.h"
#include "common/modRedemption.h"
#include "platform/mapi/Account.h"
#include "platform/mapi/Attachments.h"
#include "platform/mapi/Folder.h"
#include "platform/mapi/Recipient.h"
#include "platform/mapi/Recipients.h"
#include "platform/mapi/SafeItem.h"
#include "platform/mapi/Session.h"
#include "platform/mapi/Store.h"
#include "platform/mapi/Stores.h"
#include "platform/mapi/Utils.h"
#include "platform/outlook/Application.h"
#include "platform/outlook/COMAddIn.h"
#include "platform/outlook/COMAddIns.h"
#include "platform/outlook/Folders.h"
#include "platform/outlook/LanguageSettings.h"
#include "platform/outlook/MAPIFolder.h"
#include "platform/outlook/MailItem.h"
#include "platform/outlook/NameSpace.h"
#include "platform/runtime/Conversion.h"
#include "platform/runtime/DoEvents.h"
#include "platform/runtime/ResumeNext.h"
#include "platform/win/ModuleFolder.h"
#include "platform/win/OsVersion.h"
#include "platform/win/Registry.h"
#include "shell/Application.h"
#include "shell/modFirmenInfo2.h"

#include <algorithm>
#include <filesystem>

namespace shell::basSupportRequest {

namespace mapi = platform::mapi;
namespace ol = platform::outlook;
namespace rt = platform::runtime;

namespace {

constexpr const char* kCrLf = "\r\n";
constexpr const char* kAppTitle = "Tallyman";

// One run's view of its surroundings; dropped when the run ends.
struct Run
{
    std::shared_ptr<mapi::Session> oSession;
    std::shared_ptr<mapi::Utils> oUtils;
    std::shared_ptr<ol::Application> oApp;
    bool bExchange = false;
    long olConnectMode = 1;
};

std::shared_ptr<mapi::Session> SessionOf(Run& r)
{
    if (!r.oSession)
        rt::ResumeNext{}([&] { r.oSession = common::modRedemption::g_Session(); });
    return r.oSession;
}

std::string GetSupportAddress()
{
    auto* pApp = common::modMain::G().g_oApplication;
    if (pApp && pApp->AddinOptions() && !pApp->AddinOptions()->SupportMailAddress().empty())
        return pApp->AddinOptions()->SupportMailAddress();
    common::Options oDefaults;
    oDefaults.SetDefaults();
    return oDefaults.SupportMailAddress();
}

std::string GetAddinVersion()
{
    return modFirmenInfo2::GetVersionFull();
}

std::string GetWindowsVersionText()
{
    common::modOSVersionsInfo::InitOSVersionInfo();
    return common::modOSVersionsInfo::GetOSName() + ", " + std::to_string(common::modOSVersionsInfo::GetOSMajorVersion()) + "." +
           std::to_string(common::modOSVersionsInfo::GetOSMinorVersion()) + "." +
           std::to_string(common::modOSVersionsInfo::GetOSBuild());
}

bool IsStoreInSession(Run& r, const std::string& sStoreId)
{
    auto oSession = SessionOf(r);
    if (!oSession)
        return false;
    auto oStores = oSession->GetStores();
    for (long i = 1; i <= oStores->Count(); ++i)
        if (oSession->CompareEntryIDs(oStores->Item(i)->EntryID(), sStoreId))
            return true;
    return false;
}

std::string GetLoadedStores(Run& r)
{
    std::string s;
    rt::ResumeNext ignore;
    std::string sDefaultId;
    ignore([&] {
        auto oDefault = r.oSession->GetStores()->DefaultStore();
        sDefaultId = oDefault->EntryID();
        s += "Default store: " + oDefault->Name() + ": " + StoreKindText(oDefault->StoreKind()) +
             kCrLf;
    });
    ignore([&] {
        bool bLeaveOut = false;
        const auto oFolders = r.oApp->GetNamespace("MAPI")->Folders();
        for (const auto& oFolder : *oFolders) {
            const auto sStoreId = oFolder->StoreID();
            if (!r.oSession->CompareEntryIDs(sStoreId, sDefaultId) &&
                IsStoreInSession(r, sStoreId)) {
                auto oStore = r.oSession->GetStoreFromID(sStoreId);
                const long kind = oStore->StoreKind();
                bLeaveOut = false;
                if ((kind == 1 || kind == 2) && common::modOLVersion::GetOutlookVersion() >= 10) {
                    // Stores of mail accounts that are not Exchange ones are not listed.
                    if (auto oAccount = oStore->StoreAccount()) {
                        const long type = oAccount->AccountType();
                        bLeaveOut = type == 1 || type == 2 || type == 5;
                    }
                }
                if (!bLeaveOut)
                    s += oStore->Name() + ": " + StoreKindText(kind);
            }
            if (!bLeaveOut)
                s += kCrLf;
        }
    });
    return s;
}

std::string GetExchangeServerVersion(Run& r)
{
    auto oSession = SessionOf(r);
    if (!oSession)
        return {};
    auto oInbox = oSession->GetStores()->DefaultStore()->GetDefaultFolder(6);
    const auto v = oInbox->Fields(0x664B0014);
    if (v.IsEmpty())
        return "0.0.0.0";
    std::int64_t value = 0;
    rt::ResumeNext{}([&] {
        if (const auto* c = v.Get<rt::Currency>())
            value = c->Scaled();
        else
            value = static_cast<std::int64_t>(rt::CDbl(v));
    });
    return ExchangeVersionText(value);
}

bool IsUserOnline(Run& r)
{
    r.olConnectMode = 1;
    r.bExchange = false;
    bool bOffline = false;
    std::string sExchange;
    rt::ResumeNext ignore;
    ignore([&] {
        auto oStores = r.oSession->GetStores();
        for (long i = 1; i <= oStores->Count(); ++i) {
            const long kind = oStores->Item(i)->StoreKind();
            if (kind >= 3 && kind <= 5) {
                r.bExchange = true;
                break;
            }
        }
    });
    if (r.bExchange)
        ignore([&] { sExchange = GetExchangeServerVersion(r); });
    ignore([&] {
        const auto v = common::modOLVersion::GetOutlookVersion();
        const auto outlookOffline = [&] { return r.oApp->Session()->Offline(); };
        if (v == 9) {
            auto oDefault = r.oSession->GetStores()->DefaultStore();
            bOffline = oDefault->StoreKind() == 3 && rt::CBool(oDefault->Fields(0x6632000B));
            if (bOffline)
                r.olConnectMode = 0;
        } else if (v == 10) {
            bOffline = outlookOffline();
            r.olConnectMode = bOffline && r.bExchange ? 0 : 1;
        } else if (v < 9) {
            bOffline = true;
            r.olConnectMode = 3;
        } else if (!r.bExchange) {
            bOffline = outlookOffline();
            r.olConnectMode = 1;
        } else if (sExchange == "0.0.0.0") {
            bOffline = outlookOffline();
            r.olConnectMode = bOffline ? 0 : 2;
        } else {
            bOffline = outlookOffline();
            r.olConnectMode = bOffline ? 3 : 1;
        }
    });
    return !bOffline;
}

std::string GetOutlookMode(Run& r)
{
    const bool bOnline = IsUserOnline(r);
    return std::string("User Online = ") + rt::CStr(rt::Variant(bOnline)) +
           "\tm_olConnectMode = " + std::to_string(r.olConnectMode);
}

std::string GetOutlookPath()
{
    std::string s;
    rt::ResumeNext{}([&] {
        if (auto v = platform::win::Registry{}.read(
                platform::win::Hive::LocalMachine,
                "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\OUTLOOK.EXE", "Path"))
            s = v->asText();
    });
    return s;
}

std::string GetConnectedComAddins(Run& r)
{
    std::string s;
    rt::ResumeNext{}([&] {
        auto oAddIns = r.oApp->COMAddIns();
        for (long i = 1; i <= oAddIns->Count(); ++i)
            if (auto o = oAddIns->Item(i); o->Connect())
                s += kCrLf + o->Description();
    });
    return s + kCrLf;
}

// The folder the add-in library was loaded from, which is not the host program's folder.
std::string AddinFolder()
{
    return platform::win::moduleFolder(reinterpret_cast<const void*>(&AddinFolder)).string();
}

std::string BuildBody(Run& r, const std::string& sLogFile)
{
    const std::string kLine29(29, '-');
    std::string s = kLine29 + GetSupportText(1) + kLine29;
    for (int i = 0; i < 6; ++i)
        s += kCrLf;
    s += std::string(78, '-') + kCrLf;
    s += std::string("System Info:") + kCrLf;
    s += "Windows User Name: " + platform::win::userName() + kCrLf;
    rt::ResumeNext ignore;
    // Lines read straight from the library are left out whole when the read fails.
    ignore([&] { s += "Outlook User Name: " + r.oSession->CurrentUserName() + kCrLf; });
    s += std::string(kAppTitle) + " Version: " + GetAddinVersion() + kCrLf;
    std::string sOutlookVersion;
    ignore([&] { sOutlookVersion = r.oApp->Version(); });
    s += "Outlook Version: " + sOutlookVersion + kCrLf;
    std::string sLibVersion;
    ignore([&] { sLibVersion = r.oUtils->Version(); });
    s += "STSMAPI Version: " + sLibVersion + kCrLf;
    std::string sWindows;
    ignore([&] { sWindows = GetWindowsVersionText(); });
    s += "Windows Version: " + sWindows + kCrLf + kCrLf;
    s += std::string("Loaded stores: ") + kCrLf + GetLoadedStores(r) + kCrLf;
    ignore([&] { s += "Outlook Profile: " + r.oUtils->ProfileName() + kCrLf; });
    s += "Outlook Mode: " + GetOutlookMode(r) + kCrLf;
    ignore([&] {
        s += "Exchange Version: " + r.oSession->ExchangeMailboxServerVersion() + kCrLf;
    });
    std::string sUiLanguage;
    ignore([&] { sUiLanguage = std::to_string(r.oApp->LanguageSettings()->LanguageID(2)); });
    s += "UI Language ID: " + sUiLanguage + kCrLf + kCrLf;
    s += "Addin Installation Folder: " + AddinFolder() + kCrLf + kCrLf;
    s += "Outlook Installation Folder: " + GetOutlookPath() + kCrLf + kCrLf;
    s += "Error Log File Location: " + sLogFile + kCrLf + kCrLf;
    s += "Connected COM Addins: " + GetConnectedComAddins(r) + kCrLf + kCrLf;
    std::erase(s, '\0');
    return s;
}

} // namespace

std::string GetSupportText(int index)
{
    const bool bGerman = common::modLanguage::GetLanguageID() == 1031;
    switch (index) {
    case 1:
        return bGerman ? "Problembeschreibung:" : "Description to reproduce the problem:";
    case 2:
        return std::string(kAppTitle) + (bGerman ? " Support Anfrage" : " Support Request");
    default:
        return {};
    }
}

std::string StoreKindText(long kind)
{
    switch (kind) {
    case 1: return "ANSI PST file";
    case 2: return "Unicode PST file";
    case 3: return "primary Exchange mailbox";
    case 4: return "delegate Exchange mailbox";
    case 5: return "Exchange Public Folders store";
    default: return "unknown store type";
    }
}

std::string ExchangeVersionText(std::int64_t value)
{
    const auto u = static_cast<std::uint64_t>(value);
    std::string s;
    for (int shift = 48; shift >= 0; shift -= 16) {
        const auto word = static_cast<std::int16_t>(static_cast<std::uint16_t>(u >> shift));
        s += (shift == 48 ? "" : ".") + std::to_string(word);
    }
    return s;
}

void CreateSupportRequest()
{
    Run r;
    rt::ResumeNext ignore;
    ignore([&] { r.oSession = common::modRedemption::g_Session(); });
    ignore([&] { r.oUtils = common::modRedemption::GetSafeUtils(); });
    if (auto* pApp = common::modMain::G().g_oApplication)
        r.oApp = pApp->OutlookApp();
    common::ErrorObject oError;
    std::string sLogFile;
    ignore([&] { sLogFile = oError.GetLogFileName(); });
    std::shared_ptr<ol::MailItem> oMail;
    ignore([&] { oMail = std::dynamic_pointer_cast<ol::MailItem>(r.oApp->CreateItem(0)); });
    const std::string sBody = BuildBody(r, sLogFile);
    if (!oMail)
        return;
    ignore([&] {
        if (oError.LogFileExists()) {
            oMail->Attachments()->Add(sLogFile);
            rt::DoEvents();
        }
    });
    std::shared_ptr<mapi::SafeItem> oSafe;
    ignore([&] { oSafe = common::modRedemption::GetSafeItem(oMail); });
    ignore([&] { oSafe->GetRecipients()->Add(GetSupportAddress())->Resolve(); });
    ignore([&] { oMail->SetSubject(GetSupportText(2)); });
    ignore([&] { oMail->Display(rt::Variant(false)); });
    ignore([&] {
        if (common::modOLVersion::GetOutlookVersion() > 10)
            oSafe->SetBodyFormat(1);
    });
    ignore([&] { oMail->SetBody(sBody); });
    common::modRedemption::ReleaseSafeItem(oSafe);
    ignore([&] {
        if (r.oUtils)
            r.oUtils->Cleanup();
    });
}

} // namespace shell::basSupportRequest
