#pragma once

#include "common/IChild.h"
#include "platform/runtime/Object.h"
#include "views/ISerializeString.h"

#include <cstdint>
#include <memory>
#include <string>

namespace platform::mapi {
class Message;
}

namespace actions {

class Action;

/// The send action of a view: mails the saved report file, from a template file or new.
class ActionSend : public platform::runtime::Object,
                   public common::ChildLink<Action>,
                   public views::ISerializeString
{
public:
    std::string TypeName() const override { return "ActionSend"; }

    /// Stored, copied and serialised with the view.
    bool Active() const { return m_bActive; }
    void SetActive(bool bValue) { m_bActive = bValue; }
    /// Run after a read.
    bool AutoExecute() const { return m_bAutoExecute; }
    void SetAutoExecute(bool bValue) { m_bAutoExecute = bValue; }
    /// 1 sends the mail at once, 0 shows it.
    std::int32_t MailAction() const { return m_lMailAction; }
    void SetMailAction(std::int32_t lValue) { m_lMailAction = lValue; }
    /// Full path of the template file; empty for none.
    const std::string& MailTemplate() const { return m_sMailTemplate; }
    void SetMailTemplate(const std::string& sValue) { m_sMailTemplate = sValue; }
    /// Stored with the view; cleared when a template file is picked.
    const std::string& TemplateEntryID() const { return m_sTemplateEntryID; }
    void SetTemplateEntryID(const std::string& sValue) { m_sTemplateEntryID = sValue; }
    /// Stored with the view.
    std::int32_t TemplateSource() const { return m_lTemplateSource; }
    void SetTemplateSource(std::int32_t lValue) { m_lTemplateSource = lValue; }
    /// Stored with the view; cleared when a template file is picked.
    const std::string& TemplateStoreID() const { return m_sTemplateStoreID; }
    void SetTemplateStoreID(const std::string& sValue) { m_sTemplateStoreID = sValue; }
    /// Subject of the picked template's message.
    const std::string& TemplateSubject() const { return m_sTemplateSubject; }
    void SetTemplateSubject(const std::string& sValue) { m_sTemplateSubject = sValue; }

    /// Mails the file the save action wrote last (nothing when none): from the template file
    /// when one is named and can be opened, else in a new mail in the Drafts folder, which is
    /// always shown, never sent at once. The file is attached by the body format of new mails
    /// (in a rich-text mail where the placeholder stood). A mail to be shown, or one without
    /// recipients, lies in Drafts (saved there) and is displayed; otherwise it is moved to the
    /// Outbox and sent. Errors are raised to the caller.
    void Execute();
    /// Lets the user pick a ".oft" or ".msg" template file; a picked file of either kind
    /// (extension in any case) becomes the template with its message's subject, and the
    /// template entry and store ids are cleared. Cancel or another file changes nothing.
    /// Errors are raised to the caller.
    void PickMailTemplateFromFile();

    /// The action as its parent link.
    common::IChild& AsIChild() { return *this; }
    /// Eight fields: Active, AutoExecute, MailAction, MailTemplate, TemplateEntryID,
    /// TemplateSource, TemplateStoreID, TemplateSubject.
    std::string ToString() const override;
    /// Reads the eight fields; raises 9 for fewer.
    void ToObject(std::string& sData) override;

private:
    /// The mail made from the template file, or null (the failure logged) when it cannot be
    /// opened.
    std::shared_ptr<platform::mapi::Message> GetTemplateFromFilesystem();
    /// A new mail in the Drafts folder.
    std::shared_ptr<platform::mapi::Message> GetTemplateNew();
    /// The body format of new mails: 1 plain, 2 HTML, 3 rich text; 0 when it cannot be read.
    long BodyFormat();
    /// Attaches the file where the placeholder stands in a rich-text mail. False when the mail
    /// holds no placeholder or placing the file failed (the failure is logged): the caller then
    /// attaches it without a position.
    bool AttachAtPlaceholder(platform::mapi::Message& oMail, const std::string& sFile);

    bool m_bActive = false;
    bool m_bAutoExecute = false;
    std::int32_t m_lMailAction = 0;
    std::int32_t m_lTemplateSource = 0;
    std::string m_sMailTemplate;
    std::string m_sTemplateEntryID;
    std::string m_sTemplateStoreID;
    std::string m_sTemplateSubject;
};

} // namespace actions
