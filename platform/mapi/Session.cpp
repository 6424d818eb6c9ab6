#include "platform/mapi/Session.h"

#include "platform/mapi/AddressEntry.h"
#include "platform/mapi/Constants.h"
#include "platform/mapi/CurrentProfile.h"
#include "platform/mapi/Folder.h"
#include "platform/mapi/Message.h"
#include "platform/mapi/SessionHandle.h"
#include "platform/mapi/Store.h"
#include "platform/mapi/Stores.h"
#include "platform/mapi/detail/Context.h"
#include "platform/mapi/detail/MessageData.h"
#include "platform/mapi/detail/MsgFile.h"
#include "platform/runtime/Error.h"
#include "platform/runtime/Strings.h"
#include "platform/store/LocalTime.h"
#include "platform/store/RecurrencePattern.h"
#include "platform/store/SeriesClock.h"

#include <filesystem>

namespace platform::mapi {

struct Session::Impl
{
    std::shared_ptr<detail::Context> context;
    bool ownLogon = false;
};

Session::Session() : m_impl(std::make_unique<Impl>()) {}

Session::~Session() = default;

std::string Session::TypeName() const
{
    return "Session";
}

bool Session::LoggedOn() const
{
    return m_impl->context != nullptr;
}

namespace {

std::shared_ptr<detail::Context> Require(const std::shared_ptr<detail::Context>& context,
                                         const char* source)
{
    if (!context)
        runtime::Raise(detail::MAPI_E_LOGON_FAILED, source, "The session is not logged on.");
    return context;
}

std::string StoreIdText(const runtime::Variant& storeId, const char* source)
{
    if (storeId.IsEmpty() || storeId.IsNull())
        return {};
    if (const auto* text = storeId.Get<std::string>())
        return *text;
    runtime::Raise(runtime::errors::TypeMismatch, source, "A store id is a text.");
}

// A modified occurrence's own item holds only what the occurrence changed: opened by its
// entry id, it is the occurrence of its series, which answers everything else.
std::shared_ptr<detail::MessageData> OpenedItem(const std::shared_ptr<detail::Context>& context,
                                                const std::string& storeId,
                                                const store::ItemInfo& item)
{
    auto data = std::make_shared<detail::MessageData>(context, storeId, item.entryId);
    if (item.kind != store::ItemKind::Exception || item.ownerEntryId.empty())
        return data;
    auto& st = context->GetStore(storeId);
    const auto pattern = detail::Guard("Session.GetMessageFromID",
                                       [&] { return st.GetRecurrence(item.ownerEntryId); });
    if (!pattern)
        return data;
    for (const auto& exception : pattern->exceptions) {
        if (exception.deleted || exception.itemEntryId != item.entryId)
            continue;
        const store::LocalTime from{exception.start.seconds - store::kSecondsPerDay};
        const store::LocalTime to{exception.end.seconds + store::kSecondsPerDay};
        for (const auto& occurrence : pattern->OccurrencesBetween(from, to))
            if (occurrence.itemEntryId == item.entryId)
                return std::make_shared<detail::MessageData>(context, storeId, item.ownerEntryId)
                    ->OccurrenceView(store::SeriesClock(pattern->timeZone).ToLocal(occurrence));
    }
    return data;
}

} // namespace

void Session::Logon(const runtime::Variant&, const runtime::Variant&, const runtime::Variant&,
                    const runtime::Variant&, const runtime::Variant&, const runtime::Variant&)
{
    if (LoggedOn())
        return;
    const auto profile = CurrentProfile();
    if (profile.empty())
        runtime::Raise(detail::MAPI_E_LOGON_FAILED, "Session.Logon",
                       "No profile is set for this process.");
    m_impl->context = std::make_shared<detail::Context>(profile);
    m_impl->ownLogon = true;
}

void Session::SetMAPIOBJECT(const runtime::Variant& mapiObject)
{
    const auto* object = mapiObject.Get<std::shared_ptr<runtime::Object>>();
    auto handle = object ? std::dynamic_pointer_cast<SessionHandle>(*object) : nullptr;
    if (!handle)
        runtime::Raise(runtime::errors::TypeMismatch, "Session.MAPIOBJECT",
                       "The value is not the MAPI object of a session.");
    m_impl->context = std::make_shared<detail::Context>(handle->ProfilePath());
    m_impl->ownLogon = false;
}

runtime::Variant Session::MAPIOBJECT() const
{
    auto context = Require(m_impl->context, "Session.MAPIOBJECT");
    return std::make_shared<SessionHandle>(context->ProfilePath());
}

void Session::Logoff()
{
    // After a take-over only this session's own views go: the client's session is not ours
    // to end, and it has nothing open on our side.
    m_impl->context.reset();
    m_impl->ownLogon = false;
}

std::shared_ptr<Folder> Session::GetFolderFromID(const std::string& entryId,
                                                 const runtime::Variant& storeId,
                                                 const runtime::Variant&)
{
    auto context = Require(m_impl->context, "Session.GetFolderFromID");
    const auto wanted = StoreIdText(storeId, "Session.GetFolderFromID");
    for (const auto& id : context->StoreIds()) {
        if (!wanted.empty() && !CompareEntryIDs(id, wanted))
            continue;
        auto& st = context->GetStore(id);
        if (auto found =
                detail::Guard("Session.GetFolderFromID", [&] { return st.FindFolder(entryId); }))
            return std::make_shared<Folder>(context, id, found->entryId);
    }
    return nullptr;
}

std::shared_ptr<Message> Session::GetMessageFromID(const std::string& entryId,
                                                   const runtime::Variant& storeId,
                                                   const runtime::Variant&)
{
    auto context = Require(m_impl->context, "Session.GetMessageFromID");
    const auto wanted = StoreIdText(storeId, "Session.GetMessageFromID");
    for (const auto& id : context->StoreIds()) {
        if (!wanted.empty() && !CompareEntryIDs(id, wanted))
            continue;
        auto& st = context->GetStore(id);
        if (auto found =
                detail::Guard("Session.GetMessageFromID", [&] { return st.FindItem(entryId); }))
            return std::make_shared<Message>(OpenedItem(context, id, *found));
    }
    return nullptr;
}

std::shared_ptr<Folder> Session::GetDefaultFolder(long folderType)
{
    return GetStores()->DefaultStore()->GetDefaultFolder(folderType);
}

std::shared_ptr<Stores> Session::GetStores()
{
    auto context = Require(m_impl->context, "Session.Stores");
    std::vector<std::shared_ptr<Store>> stores;
    for (const auto& id : context->StoreIds())
        stores.push_back(std::make_shared<Store>(context, id));
    return std::make_shared<Stores>(std::move(stores));
}

std::shared_ptr<Store> Session::GetStoreFromID(const std::string& storeId)
{
    auto context = Require(m_impl->context, "Session.GetStoreFromID");
    for (const auto& id : context->StoreIds())
        if (CompareEntryIDs(id, storeId))
            return std::make_shared<Store>(context, id);
    runtime::Raise(detail::MAPI_E_NOT_FOUND, "Session.GetStoreFromID",
                   "The session has no store with this id.");
}

bool Session::CompareEntryIDs(const std::string& first, const std::string& second) const
{
    return runtime::TextEquals(first, second);
}

std::shared_ptr<AddressEntry> Session::CurrentUser()
{
    auto context = Require(m_impl->context, "Session.CurrentUser");
    auto name = context->UserName();
    if (name.empty()) {
        auto owner = GetStores()->DefaultStore()->Fields(PR_MAILBOX_OWNER_NAME);
        if (const auto* text = owner.Get<std::string>())
            name = *text;
    }
    return std::make_shared<AddressEntry>(name, "");
}

std::string Session::CurrentUserName()
{
    return CurrentUser()->Name();
}

std::string Session::ProfileName() const
{
    return Require(m_impl->context, "Session.ProfileName")->ProfileName();
}

std::string Session::ExchangeMailboxServerVersion()
{
    Require(m_impl->context, "Session.ExchangeMailboxServerVersion");
    return {};
}

std::shared_ptr<Message> Session::GetMessageFromMsgFile(const std::string& path,
                                                        const runtime::Variant&)
{
    auto context = Require(m_impl->context, "Session.GetMessageFromMsgFile");
    auto content = detail::ReadMsgFile(path);
    // The message belongs to no folder until it is moved; saved as it is, it goes to the
    // default store's drafts, where the client keeps unsent messages.
    auto& st = context->GetStore(context->DefaultStoreId());
    const auto drafts = detail::Guard("Session.GetMessageFromMsgFile",
                                      [&] { return st.DefaultFolder(store::FolderRole::Drafts); });
    const auto folder = drafts ? drafts->entryId : st.RootFolder().entryId;
    auto data = detail::MessageData::NewItem(context, context->DefaultStoreId(), folder,
                                             content.messageClass);
    for (const auto& [tag, value] : content.properties)
        if (store::FitsType(value, store::PropTypeOf(tag)))
            data->Set(tag, value);
    for (const auto& r : content.recipients)
        data->AddRecipient(r);
    for (auto& a : content.attachments)
        data->AddAttachment(a.fileName, std::move(a.data), a.position, a.displayName);
    return std::make_shared<Message>(std::move(data));
}

} // namespace platform::mapi
