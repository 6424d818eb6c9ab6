#include "platform/mapi/detail/MessageData.h"

#include "platform/mapi/Constants.h"
#include "platform/mapi/detail/Context.h"
#include "platform/mapi/detail/Prefetch.h"
#include "platform/runtime/Error.h"
#include "platform/store/LocalTime.h"

namespace platform::mapi::detail {

namespace {

// Properties the store computes rather than keeps: entry ids, class, attachment flag.
bool IsComputedId(std::uint16_t id)
{
    return id == 0x0FFF || id == 0x0FFB || id == 0x001A || id == 0x0E1B;
}

} // namespace

MessageData::MessageData(std::shared_ptr<detail::Context> context, std::string storeId,
                         std::string entryId)
    : m_context(std::move(context)), m_storeId(std::move(storeId)), m_entryId(std::move(entryId))
{
}

std::shared_ptr<MessageData> MessageData::NewItem(std::shared_ptr<detail::Context> context,
                                                  std::string storeId, std::string folderEntryId,
                                                  std::string messageClass)
{
    auto data = std::make_shared<MessageData>(std::move(context), std::move(storeId), "");
    data->m_folderEntryId = std::move(folderEntryId);
    data->m_messageClass = std::move(messageClass);
    return data;
}

void MessageData::UsePrefetch(std::shared_ptr<const Prefetch> prefetch, std::size_t row)
{
    m_prefetch = std::move(prefetch);
    m_prefetchRow = row;
}

const Prefetch* MessageData::ValidPrefetch() const
{
    if (!m_prefetch || m_prefetch->generation != m_context->Generation())
        return nullptr;
    return m_prefetch.get();
}

const store::TableRow* MessageData::PrefetchedRow() const
{
    const auto* prefetch = m_ownItem ? nullptr : ValidPrefetch();
    return prefetch ? &prefetch->rows[m_prefetchRow] : nullptr;
}

std::string MessageData::MessageClass() const
{
    if (IsNew())
        return m_messageClass;
    if (m_ownItem && ValidPrefetch())
        return m_ownItem->messageClass;
    if (const auto* row = PrefetchedRow())
        return row->item.messageClass;
    return Info().messageClass;
}

store::ItemKind MessageData::Kind() const
{
    if (IsNew())
        return store::ItemKind::Normal;
    if (m_ownItem && ValidPrefetch())
        return m_ownItem->kind;
    if (const auto* row = PrefetchedRow())
        return row->item.kind;
    return Info().kind;
}

const store::RecurrencePattern* MessageData::Recurrence() const
{
    if (IsNew())
        return nullptr;
    if (m_ownItem)
        return nullptr; // a modified occurrence's own item is no series
    if (const auto* prefetch = ValidPrefetch())
        return prefetch->Pattern(Store(), m_entryId);
    if (!m_pattern || m_patternGeneration != m_context->Generation()) {
        m_pattern = Guard("RecurrencePattern", [&] { return Store().GetRecurrence(m_entryId); });
        m_patternGeneration = m_context->Generation();
    }
    return *m_pattern ? &**m_pattern : nullptr;
}

store::Store& MessageData::Store() const
{
    // The context keeps its stores for its whole life.
    if (m_store == nullptr)
        m_store = &m_context->GetStore(m_storeId);
    return *m_store;
}

store::ItemInfo MessageData::Info() const
{
    if (IsNew()) {
        store::ItemInfo info;
        info.folderEntryId = m_folderEntryId;
        info.messageClass = m_messageClass;
        return info;
    }
    if (m_ownItem && ValidPrefetch())
        return *m_ownItem;
    if (const auto* row = PrefetchedRow())
        return row->item;
    return Guard("Message", [&] { return Store().GetItem(m_entryId); });
}

std::optional<store::PropValue> MessageData::OccurrenceValue(store::PropTag tag) const
{
    const auto& o = *m_occurrence;
    const auto tagsNow = [&] {
        auto& st = Store();
        Prefetch::OccurrenceTags t;
        t.apptStart =
            m_context->NamedTag(st, PSETID_Appointment, LID_APPT_START, store::PT_SYSTIME);
        t.commonStart = m_context->NamedTag(st, PSETID_Common, LID_COMMON_START, store::PT_SYSTIME);
        t.apptEnd = m_context->NamedTag(st, PSETID_Appointment, LID_APPT_END, store::PT_SYSTIME);
        t.commonEnd = m_context->NamedTag(st, PSETID_Common, LID_COMMON_END, store::PT_SYSTIME);
        t.duration = m_context->NamedTag(st, PSETID_Appointment, LID_APPT_DURATION, store::PT_LONG);
        return t;
    };
    // The tags are the same for every occurrence of a read: found once.
    Prefetch::OccurrenceTags own;
    if (const auto* prefetch = ValidPrefetch()) {
        if (!prefetch->occurrenceTags)
            prefetch->occurrenceTags = tagsNow();
        own = *prefetch->occurrenceTags;
    } else {
        own = tagsNow();
    }
    if (tag == own.apptStart || tag == own.commonStart)
        return store::PropValue{store::LocalToUtc(o.start)};
    if (tag == own.apptEnd || tag == own.commonEnd)
        return store::PropValue{store::LocalToUtc(o.end)};
    if (tag == own.duration)
        return store::PropValue{o.durationMinutes};
    return std::nullopt;
}

std::optional<store::PropValue> MessageData::Get(store::PropTag tag) const
{
    tag = store::NormalizeTag(tag);
    if (m_occurrence && store::PropIdOf(tag) >= 0x8000)
        if (auto own = OccurrenceValue(tag))
            return own;
    const bool anyType = store::PropTypeOf(tag) == store::PT_UNSPECIFIED;
    const auto id = store::PropIdOf(tag);
    if (IsNew()) {
        if (tag == static_cast<store::PropTag>(PR_MESSAGE_CLASS))
            return store::PropValue{m_messageClass};
        for (const auto& [t, v] : m_pending)
            if (t == tag || (anyType && store::PropIdOf(t) == id))
                return v;
        return std::nullopt;
    }
    // A modified occurrence answers what its own item carries; everything else is the
    // series' own value, as the client shows it.
    if (m_series && m_entryId != m_series->EntryId()) {
        if (auto own = StoredValue(tag))
            return own;
        return m_series->Get(tag);
    }
    return StoredValue(tag);
}

std::optional<store::PropValue> MessageData::StoredValue(store::PropTag tag) const
{
    const bool anyType = store::PropTypeOf(tag) == store::PT_UNSPECIFIED;
    const auto id = store::PropIdOf(tag);
    // A modified occurrence's own item as the read found it: every stored property is there;
    // the computed ones (entry ids, class, attachments) come from the store.
    if (m_ownItem && ValidPrefetch() && !IsComputedId(id)) {
        if (!m_ownProps)
            m_ownProps = Guard("Message.Fields", [&] { return Store().ItemProperties(m_entryId); });
        for (const auto& [t, v] : *m_ownProps)
            if (t == tag || (anyType && store::PropIdOf(t) == id))
                return v;
        return std::nullopt;
    }
    if (const auto* row = anyType ? nullptr : PrefetchedRow()) {
        const auto& tags = m_prefetch->tags;
        for (std::size_t i = 0; i < tags.size(); ++i)
            if (tags[i] == tag)
                return row->values[i];
    }
    return Guard("Message.Fields", [&]() -> std::optional<store::PropValue> {
        if (!anyType)
            return Store().GetItemProperty(m_entryId, tag);
        for (const auto& [t, v] : Store().ItemProperties(m_entryId))
            if (store::PropIdOf(t) == id)
                return v;
        return std::nullopt;
    });
}

std::optional<store::PropValue> MessageData::GetNamed(const char* set, long lid,
                                                      std::uint16_t type) const
{
    const auto tag = m_context->NamedTag(Store(), set, lid, type);
    if (tag == 0)
        return std::nullopt;
    return Get(tag);
}

void MessageData::Set(store::PropTag tag, const store::PropValue& value)
{
    m_context->Touch();
    tag = store::NormalizeTag(tag);
    if (IsNew()) {
        if (tag == static_cast<store::PropTag>(PR_MESSAGE_CLASS)) {
            if (const auto* text = std::get_if<std::string>(&value))
                m_messageClass = *text;
            return;
        }
        if (!store::FitsType(value, store::PropTypeOf(tag)))
            runtime::Raise(runtime::errors::TypeMismatch, "Message.Fields",
                           "The value does not fit the property's type.");
        m_pending[tag] = value;
        return;
    }
    if (tag == static_cast<store::PropTag>(PR_MESSAGE_CLASS)) {
        if (const auto* text = std::get_if<std::string>(&value))
            SetMessageClass(*text);
        return;
    }
    Guard("Message.Fields", [&] { Store().SetItemProperty(m_entryId, tag, value); });
}

void MessageData::SetNamed(const char* set, long lid, const store::PropValue& value)
{
    const auto id = m_context->CreateNamedId(Store(), store::NamedProperty::Lid(set, lid));
    Set(store::MakeTag(id, store::NaturalType(value)), value);
}

void MessageData::Remove(store::PropTag tag)
{
    m_context->Touch();
    tag = store::NormalizeTag(tag);
    if (IsNew()) {
        m_pending.erase(tag);
        return;
    }
    Guard("Message.Fields", [&] { Store().DeleteItemProperty(m_entryId, tag); });
}

void MessageData::SetMessageClass(const std::string& messageClass)
{
    m_context->Touch();
    if (IsNew()) {
        m_messageClass = messageClass;
        return;
    }
    Guard("Message", [&] { Store().SetMessageClass(m_entryId, messageClass); });
}

std::vector<store::Recipient> MessageData::Recipients() const
{
    if (IsNew())
        return m_recipients;
    return Guard("Recipients", [&] { return Store().Recipients(m_entryId); });
}

void MessageData::AddRecipient(const store::Recipient& recipient)
{
    if (IsNew()) {
        m_recipients.push_back(recipient);
        return;
    }
    Guard("Recipients.Add", [&] { Store().AddRecipient(m_entryId, recipient); });
}

void MessageData::SetRecipient(std::size_t row, const store::Recipient& recipient)
{
    if (IsNew()) {
        m_recipients.at(row) = recipient;
        return;
    }
    Guard("Recipient", [&] { Store().SetRecipient(m_entryId, row, recipient); });
}

void MessageData::RemoveRecipient(std::size_t row)
{
    if (IsNew()) {
        m_recipients.erase(m_recipients.begin() + static_cast<std::ptrdiff_t>(row));
        return;
    }
    Guard("Recipients.Remove", [&] {
        auto& st = Store();
        auto recipients = st.Recipients(m_entryId);
        recipients.erase(recipients.begin() + static_cast<std::ptrdiff_t>(row));
        // The store keeps the rows in order: the others are written again after the gap.
        auto transaction = st.BeginTransaction();
        st.ClearRecipients(m_entryId);
        for (const auto& r : recipients)
            st.AddRecipient(m_entryId, r);
        transaction.Commit();
    });
}

std::vector<store::Attachment> MessageData::Attachments() const
{
    if (IsNew())
        return m_attachments;
    return Guard("Attachments", [&] { return Store().Attachments(m_entryId); });
}

void MessageData::AddAttachment(const std::string& fileName, std::vector<std::uint8_t> data,
                                std::int32_t position, const std::string& displayName)
{
    if (IsNew()) {
        store::Attachment a;
        a.number = static_cast<int>(m_attachments.size());
        a.fileName = fileName;
        a.displayName = displayName;
        a.position = position;
        a.data = std::move(data);
        m_attachments.push_back(std::move(a));
        return;
    }
    Guard("Attachments.Add",
          [&] { Store().AddFileAttachment(m_entryId, fileName, data, position, displayName); });
}

void MessageData::Write()
{
    m_context->Touch();
    if (!IsNew())
        return;
    Guard("Message.Save", [&] {
        auto& st = Store();
        auto transaction = st.BeginTransaction();
        const auto info = st.CreateItem(m_folderEntryId, m_messageClass);
        for (const auto& [tag, value] : m_pending)
            st.SetItemProperty(info.entryId, tag, value);
        for (const auto& r : m_recipients)
            st.AddRecipient(info.entryId, r);
        for (const auto& a : m_attachments)
            st.AddFileAttachment(info.entryId, a.fileName, a.data, a.position, a.displayName);
        transaction.Commit();
        m_entryId = info.entryId;
    });
    m_pending.clear();
    m_recipients.clear();
    m_attachments.clear();
}

std::shared_ptr<MessageData> MessageData::MoveTo(const std::string& storeId,
                                                 const std::string& folderEntryId)
{
    m_context->Touch();
    auto& target = m_context->GetStore(storeId);
    if (IsNew()) {
        m_storeId = storeId;
        m_store = &target;
        m_folderEntryId = folderEntryId;
        Write();
        return std::make_shared<MessageData>(m_context, m_storeId, m_entryId);
    }
    if (&target == &Store()) {
        Guard("Message.Move", [&] { Store().MoveItem(m_entryId, folderEntryId); });
        return std::make_shared<MessageData>(m_context, m_storeId, m_entryId);
    }
    // Across stores: copy into the target store under its own named-property ids, then
    // remove the item from its old store.
    auto copy = NewItem(m_context, storeId, folderEntryId, Info().messageClass);
    Guard("Message.Move", [&] {
        auto& source = Store();
        for (const auto& [tag, value] : source.ItemProperties(m_entryId)) {
            auto newTag = tag;
            if (store::PropIdOf(tag) >= 0x8000) {
                auto name = source.GetNameFromId(store::PropIdOf(tag));
                if (!name)
                    continue;
                newTag =
                    store::MakeTag(m_context->CreateNamedId(target, *name), store::PropTypeOf(tag));
            }
            copy->m_pending[newTag] = value;
        }
        copy->m_recipients = source.Recipients(m_entryId);
        copy->m_attachments = source.Attachments(m_entryId);
    });
    copy->Write();
    Delete();
    return std::make_shared<MessageData>(m_context, storeId, copy->EntryId());
}

void MessageData::Delete()
{
    m_context->Touch();
    if (IsNew())
        return;
    Guard("Message.Delete", [&] { Store().DeleteItem(m_entryId); });
}

std::shared_ptr<MessageData> MessageData::OccurrenceView(const store::Occurrence& occurrence) const
{
    // A modified occurrence shows its own item's properties where that item is of the
    // series' class; otherwise the series' properties with the occurrence's times.
    std::string entryId = m_entryId;
    const store::ItemInfo* ownItem = nullptr;
    if (!occurrence.itemEntryId.empty()) {
        if (const auto* prefetch = ValidPrefetch()) {
            ownItem = prefetch->ExceptionItem(Store(), occurrence.itemEntryId);
            if (ownItem && ownItem->messageClass == MessageClass())
                entryId = ownItem->entryId;
            else
                ownItem = nullptr;
        } else {
            const auto own = Guard("RecurrencePattern",
                                   [&] { return Store().FindItem(occurrence.itemEntryId); });
            if (own && own->messageClass == MessageClass())
                entryId = own->entryId;
        }
    }
    auto view = std::make_shared<MessageData>(m_context, m_storeId, entryId);
    if (ownItem) {
        view->m_prefetch = m_prefetch;
        view->m_ownItem = ownItem;
    }
    view->m_occurrence = occurrence;
    auto self = weak_from_this().lock();
    view->m_series = self ? std::shared_ptr<const MessageData>(std::move(self))
                          : std::make_shared<MessageData>(*this);
    if (entryId == m_entryId) {
        // A plain occurrence is the series' row: it reads what the series has read.
        view->m_prefetch = m_prefetch;
        view->m_prefetchRow = m_prefetchRow;
    }
    return view;
}

} // namespace platform::mapi::detail
