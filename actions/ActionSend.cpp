#include "actions/ActionSend.h"

#include "actions/Action.h"
#include "actions/ActionSave.h"
#include "actions/detail/NotDone.h"
#include "actions/detail/SavedReport.h"
#include "actions/detail/SettingsString.h"
#include "common/ErrorHandling.h"
#include "common/Options.h"
#include "common/modLanguage.h"
#include "common/modMain.h"
#include "common/modOLVersion.h"
#include "common/modRedemption.h"
#include "platform/forms/CommonDialogs.h"
#include "platform/mapi/Attachments.h"
#include "platform/mapi/Constants.h"
#include "platform/mapi/Folder.h"
#include "platform/mapi/Items.h"
#include "platform/mapi/Message.h"
#include "platform/mapi/Recipients.h"
#include "platform/mapi/Session.h"
#include "platform/outlook/Application.h"
#include "platform/outlook/MailItem.h"
#include "platform/runtime/ResumeNext.h"
#include "platform/runtime/Strings.h"
#include "platform/win/FileComponent.h"

namespace actions {

using namespace detail;

namespace {

namespace rt = platform::runtime;
namespace mapi = platform::mapi;
constexpr const char* kModule = "ActionSend";

bool IsTemplateFile(const std::string& sPath)
{
    const std::string sExt = rt::LCase(platform::win::FileComponent().extension(sPath));
    return sExt == "msg" || sExt == "oft";
}

std::string ReportPlaceholder()
{
    if (const auto& oOptions = common::modMain::G().g_oAddinOptions)
        return oOptions->RTFReportPlaceholder();
    common::Options oDefaults;
    oDefaults.SetDefaults();
    return oDefaults.RTFReportPlaceholder();
}

// The CR LF pairs in a text, each search going on two characters after the last hit.
long CountLineBreaks(const std::string& sText)
{
    long lCount = 0;
    for (auto lAt = sText.find("\r\n"); lAt != std::string::npos; lAt = sText.find("\r\n", lAt + 2))
        ++lCount;
    return lCount;
}

} // namespace

void ActionSend::Execute()
{
    TellingFailure([&] {
        common::Rethrowing(kModule, "Execute", [&](int& nLine) {
            nLine = 10;
            const ActionSave& oSave = SaveActionOf(Parent());
            const std::string sFile = oSave.SavedAs();
            if (sFile.empty())
                return;
            nLine = 20;
            std::shared_ptr<mapi::Message> oMail;
            if (!m_sMailTemplate.empty())
                oMail = GetTemplateFromFilesystem();
            const bool bFromTemplate = oMail != nullptr;
            bool bShow = m_lMailAction == 0;
            if (!oMail) {
                // A new mail is always shown, never sent at once.
                oMail = GetTemplateNew();
                bShow = true;
            }
            nLine = 30;
            switch (BodyFormat()) {
            case 2:
                if (!bFromTemplate && oMail->Body().empty() && oSave.ReportFormat() == 1)
                    oMail->SetHTMLBody(" ");
                oMail->GetAttachments()->Add(sFile);
                break;
            case 3:
                // Where the file cannot be placed at the placeholder it goes as a plain
                // attachment; a mail that cannot carry the report at all is not sent.
                if (!AttachAtPlaceholder(*oMail, sFile))
                    oMail->GetAttachments()->Add(sFile);
                break;
            default:
                oMail->GetAttachments()->Add(sFile);
                break;
            }
            nLine = 40;
            auto oSession = common::modRedemption::g_Session();
            if (oMail->GetRecipients()->Count() == 0 || bShow) {
                if (bFromTemplate)
                    oMail = oMail->Move(oSession->GetDefaultFolder(mapi::olFolderDrafts));
                else
                    oMail->Save(); // the new mail lies in Drafts with its attachment
                nLine = 50;
                oMail->Display();
            } else {
                nLine = 60;
                oMail = oMail->Move(oSession->GetDefaultFolder(mapi::olFolderOutbox));
                oMail->Send();
            }
        });
    });
}

std::shared_ptr<mapi::Message> ActionSend::GetTemplateFromFilesystem()
{
    std::shared_ptr<mapi::Message> oMail;
    common::Logging(kModule, "GetTemplateFromFilesystem", [&](int& nLine) {
        nLine = 10;
        oMail = common::modRedemption::g_Session()->GetMessageFromMsgFile(m_sMailTemplate, 0);
    });
    return oMail;
}

std::shared_ptr<mapi::Message> ActionSend::GetTemplateNew()
{
    return common::Rethrowing(kModule, "GetTemplateNew", [&](int& nLine) {
        nLine = 10;
        auto oDrafts = common::modRedemption::g_Session()->GetDefaultFolder(mapi::olFolderDrafts);
        nLine = 20;
        return oDrafts->GetItems()->Add();
    });
}

long ActionSend::BodyFormat()
{
    if (common::modOLVersion::GetOutlookVersion() == 9)
        return 2;
    long lFormat = 0;
    rt::ResumeNext ignore;
    ignore([&] {
        const auto& oApp = common::modMain::G().g_oOutlookApp;
        if (!oApp)
            rt::Raise(rt::errors::ObjectNotSet);
        // A throw-away mail tells the format; it is dropped unsaved.
        const auto oItem =
            std::dynamic_pointer_cast<platform::outlook::MailItem>(oApp->CreateItem(0));
        if (!oItem)
            rt::Raise(rt::errors::TypeMismatch);
        lFormat = oItem->BodyFormat();
    });
    return lFormat;
}

bool ActionSend::AttachAtPlaceholder(mapi::Message& oMail, const std::string& sFile)
{
    bool bAttached = false;
    common::Logging(kModule, "AttachAtPlaceholder", [&](int& nLine) {
        nLine = 10;
        const std::string sPlaceholder = ReportPlaceholder();
        std::int64_t lPosition = 0;
        if (!sPlaceholder.empty())
            lPosition = rt::InStr(1, oMail.Body(), sPlaceholder, rt::CompareMethod::Text);
        if (lPosition == 0)
            return;
        nLine = 30;
        oMail.SetRTFBody(
            rt::Replace(oMail.RTFBody(), sPlaceholder, " ", 1, -1, rt::CompareMethod::Text));
        nLine = 40;
        const long lBreaks = CountLineBreaks(rt::Left(oMail.Body(), lPosition));
        oMail.GetAttachments()->Add(
            sFile, {}, rt::Variant(static_cast<std::int32_t>(lPosition - (lBreaks + 1))));
        bAttached = true;
    });
    return bAttached;
}

void ActionSend::PickMailTemplateFromFile()
{
    common::Rethrowing(kModule, "PickMailTemplateFromFile", [&](int& nLine) {
        nLine = 10;
        namespace pf = platform::forms;
        pf::FileDialog::Request tRequest;
        tRequest.kind = pf::DialogKind::OpenFile;
        tRequest.filters = {{common::modLanguage::GetResString(2209), "*.oft"},
                            {common::modLanguage::GetResString(2210), "*.msg"}};
        if (IsTemplateFile(m_sMailTemplate)) {
            platform::win::FileComponent oFiles;
            tRequest.initialFolder = oFiles.parentFolder(m_sMailTemplate);
            tRequest.initialName = oFiles.fileName(m_sMailTemplate);
        }
        tRequest.languageId = common::modLanguage::GetLanguageID();
        tRequest.firstOption = true;
        nLine = 20;
        const std::string sPath = pf::ShowFileDialog(tRequest).path;
        if (sPath.empty() || !IsTemplateFile(sPath))
            return;
        nLine = 30;
        auto oMessage = common::modRedemption::g_Session()->GetMessageFromMsgFile(sPath, 0);
        m_sTemplateSubject = oMessage->Subject();
        m_sMailTemplate = sPath;
        m_sTemplateEntryID.clear();
        m_sTemplateStoreID.clear();
    });
}

std::string ActionSend::ToString() const
{
    return JoinFields({BoolField(m_bActive), BoolField(m_bAutoExecute), NumField(m_lMailAction),
                       m_sMailTemplate, m_sTemplateEntryID, NumField(m_lTemplateSource),
                       m_sTemplateStoreID, m_sTemplateSubject});
}

void ActionSend::ToObject(std::string& sData)
{
    common::Rethrowing("ActionSend", "ISerializeString_ToObject", [&] {
        const auto a = TakeFields(SplitFields(sData), 0, 8);
        m_bActive = ReadBool(a[0]);
        m_bAutoExecute = ReadBool(a[1]);
        m_lMailAction = ReadLong(a[2]);
        m_sMailTemplate = a[3];
        m_sTemplateEntryID = a[4];
        m_lTemplateSource = ReadLong(a[5]);
        m_sTemplateStoreID = a[6];
        m_sTemplateSubject = a[7];
    });
}

} // namespace actions
