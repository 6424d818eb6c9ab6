#include "platform/mapi/Message.h"

#include "platform/mapi/Attachments.h"
#include "platform/mapi/Constants.h"
#include "platform/mapi/Folder.h"
#include "platform/mapi/Recipients.h"
#include "platform/mapi/RecurrencePattern.h"
#include "platform/mapi/detail/Context.h"
#include "platform/mapi/detail/MessageData.h"
#include "platform/mapi/detail/NamedLookup.h"
#include "platform/mapi/detail/ValueConversion.h"
#include "platform/runtime/Error.h"
#include "platform/runtime/Notices.h"
#include "platform/store/LocalTime.h"

#include <cmath>
#include <ctime>
#include <mutex>
#include <string_view>

namespace platform::mapi {

namespace {

using store::PropValue;

struct DisplaySetting
{
    std::mutex lock;
    DisplayHandler handler;
};

DisplaySetting& DisplayState()
{
    static DisplaySetting setting;
    return setting;
}

char FoldAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool StartsWithClass(std::string_view messageClass, std::string_view prefix)
{
    if (messageClass.size() < prefix.size())
        return false;
    for (std::size_t i = 0; i < prefix.size(); ++i)
        if (FoldAscii(messageClass[i]) != FoldAscii(prefix[i]))
            return false;
    return messageClass.size() == prefix.size() || messageClass[prefix.size()] == '.';
}

ItemKind KindOfClass(std::string_view cls)
{
    if (StartsWithClass(cls, "IPM.Appointment"))
        return ItemKind::Appointment;
    if (StartsWithClass(cls, "IPM.Task"))
        return ItemKind::Task;
    if (StartsWithClass(cls, "IPM.Activity"))
        return ItemKind::Journal;
    if (StartsWithClass(cls, "IPM.Contact"))
        return ItemKind::Contact;
    if (StartsWithClass(cls, "IPM.StickyNote"))
        return ItemKind::Note;
    if (StartsWithClass(cls, "IPM.Post"))
        return ItemKind::Post;
    if (StartsWithClass(cls, "IPM.Note") || StartsWithClass(cls, "IPM"))
        return ItemKind::Mail;
    return ItemKind::Other;
}

/// The client's "no date": 4501-01-01.
runtime::Date NoDate()
{
    return runtime::DateSerial(4501, 1, 1);
}

// A date beyond the calendar's ends in this zone (a task of the first morning of the year 100
// read west of where it was made) shows as the end it passed.
runtime::Date LocalDateOf(const std::optional<PropValue>& utc)
{
    const auto* t = utc ? std::get_if<store::SysTime>(&*utc) : nullptr;
    if (!t)
        return NoDate();
    return detail::ToDateWithinCalendar(store::UtcToLocal(*t).seconds);
}

// An appointment's start or end in local seconds: an occurrence's own, else the item's
// property; nothing when the item has none.
std::optional<std::int64_t> AppointmentSeconds(const detail::MessageData& data, long lid)
{
    if (const auto& o = data.Occurrence())
        return lid == LID_APPT_START ? o->start.seconds : o->end.seconds;
    const auto utc = data.GetNamed(PSETID_Appointment, lid, store::PT_SYSTIME);
    const auto* t = utc ? std::get_if<store::SysTime>(&*utc) : nullptr;
    if (!t)
        return std::nullopt;
    return store::UtcToLocal(*t).seconds;
}

// A PT_SYSTIME property's instant in local seconds; nothing when the item has no date there.
std::optional<std::int64_t> LocalSecondsOf(const detail::MessageData& data, std::int32_t tag)
{
    if (tag == 0)
        return std::nullopt;
    const auto value = data.Get(static_cast<store::PropTag>(tag));
    const auto* t = value ? std::get_if<store::SysTime>(&*value) : nullptr;
    if (!t)
        return std::nullopt;
    return store::UtcToLocal(*t).seconds;
}

long LongOf(const std::optional<PropValue>& v)
{
    if (!v)
        return 0;
    if (const auto* i = std::get_if<std::int32_t>(&*v))
        return *i;
    if (const auto* d = std::get_if<double>(&*v))
        return static_cast<long>(std::lround(*d));
    return 0;
}

bool BoolOf(const std::optional<PropValue>& v)
{
    if (!v)
        return false;
    if (const auto* b = std::get_if<bool>(&*v))
        return *b;
    if (const auto* i = std::get_if<std::int32_t>(&*v))
        return *i != 0;
    return false;
}

std::string TextOf(const std::optional<PropValue>& v)
{
    const auto* s = v ? std::get_if<std::string>(&*v) : nullptr;
    return s ? *s : std::string{};
}

constexpr store::PropTag kBodyFormatTag = 0x59090003; // PR_MSG_EDITOR_FORMAT

} // namespace

Message::Message(std::shared_ptr<detail::MessageData> data) : m_data(std::move(data)) {}

Message::~Message() = default;

ItemKind Message::Kind() const
{
    const auto generation = m_data->Context()->Generation();
    if (!m_kindKnown || m_kindGeneration != generation) {
        m_kind = KindOfClass(MessageClass());
        m_kindGeneration = generation;
        m_kindKnown = true;
    }
    return m_kind;
}

std::string Message::TypeName() const
{
    switch (Kind()) {
    case ItemKind::Appointment:
        return "AppointmentItem";
    case ItemKind::Task:
        return "TaskItem";
    case ItemKind::Journal:
        return "JournalItem";
    case ItemKind::Contact:
        return "ContactItem";
    case ItemKind::Note:
        return "NoteItem";
    case ItemKind::Post:
        return "PostItem";
    default:
        return "MailItem";
    }
}

void Message::RequireKind(ItemKind kind, const char* member) const
{
    if (Kind() != kind)
        runtime::Raise(runtime::errors::NotSupported, std::string("Message.") + member,
                       std::string("A ") + TypeName() + " has no " + member + ".");
}

std::string Message::EntryID() const
{
    return m_data->EntryId();
}

std::string Message::StoreID() const
{
    return m_data->StoreId();
}

std::string Message::MessageClass() const
{
    return m_data->MessageClass();
}

std::shared_ptr<Message> Message::MAPIOBJECT()
{
    return shared_from_this();
}

runtime::Variant Message::Fields(std::int32_t tag) const
{
    if (tag == 0)
        return {};
    const auto value = m_data->Get(static_cast<store::PropTag>(tag));
    return value ? detail::ToVariant(*value) : runtime::Variant{};
}

std::optional<runtime::Date> Message::LocalTimeField(std::int32_t tag) const
{
    const auto seconds = LocalSecondsOf(*m_data, tag);
    return seconds ? std::optional(detail::ToDateWithinCalendar(*seconds)) : std::nullopt;
}

bool Message::LocalTimeBeyondCalendar(std::int32_t tag) const
{
    const auto seconds = LocalSecondsOf(*m_data, tag);
    return seconds && !detail::TryToDate(*seconds);
}

void Message::SetFields(std::int32_t tag, const runtime::Variant& value)
{
    const auto t = static_cast<store::PropTag>(tag);
    if (value.IsEmpty()) {
        m_data->Remove(t);
        return;
    }
    m_data->Set(t, detail::ToPropValueOfType(value, store::PropTypeOf(t)));
}

std::int32_t Message::GetIDsFromNames(const std::string& propertySetGuid,
                                      const runtime::Variant& id) const
{
    const auto name = detail::ToNamedProperty(propertySetGuid, id, "Message.GetIDsFromNames");
    const auto found = m_data->Context()->CreateNamedId(m_data->NamingStore(), name);
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(found) << 16);
}

std::shared_ptr<Folder> Message::Parent()
{
    const auto info = m_data->Info();
    if (info.folderEntryId.empty())
        return nullptr;
    return std::make_shared<Folder>(m_data->Context(), m_data->StoreId(), info.folderEntryId);
}

std::string Message::Subject() const
{
    return TextOf(m_data->Get(PR_SUBJECT));
}

void Message::SetSubject(const std::string& subject)
{
    m_data->Set(PR_SUBJECT, PropValue{subject});
}

std::string Message::Categories() const
{
    const auto tag = m_data->Context()->NamedId(
        m_data->NamingStore(), store::NamedProperty::Name(PS_PUBLIC_STRINGS, "Keywords"));
    if (!tag)
        return {};
    const auto v = m_data->Get(store::MakeTag(*tag, store::PT_MV_STRING8));
    const auto* list = v ? std::get_if<store::MultiString>(&*v) : nullptr;
    std::string out;
    if (list)
        for (const auto& c : *list)
            out += (out.empty() ? "" : "; ") + c;
    return out;
}

void Message::Display(const runtime::Variant&)
{
    DisplayHandler handler;
    {
        std::lock_guard guard(DisplayState().lock);
        handler = DisplayState().handler;
    }
    if (!handler)
        runtime::Raise(runtime::errors::NotSupported, "Message.Display",
                       "No item window is available to display the item.");
    handler(shared_from_this());
}

void SetDisplayHandler(DisplayHandler handler)
{
    std::lock_guard guard(DisplayState().lock);
    DisplayState().handler = std::move(handler);
}

void Message::Save()
{
    m_data->Write();
}

void Message::Delete()
{
    m_data->Delete();
}

// -- Appointments ---------------------------------------------------------------------------

runtime::Date Message::Start() const
{
    RequireKind(ItemKind::Appointment, "Start");
    const auto seconds = AppointmentSeconds(*m_data, LID_APPT_START);
    return seconds ? detail::ToDateWithinCalendar(*seconds) : NoDate();
}

std::optional<runtime::Date> Message::TryStart() const
{
    RequireKind(ItemKind::Appointment, "Start");
    const auto seconds = AppointmentSeconds(*m_data, LID_APPT_START);
    return seconds ? detail::TryToDate(*seconds) : NoDate();
}

runtime::Date Message::End() const
{
    RequireKind(ItemKind::Appointment, "End");
    // An item that runs into the year 10000 (an all-day item on 31 December 9999) ends, as
    // far as a date can tell, at the calendar's last second; its duration keeps the length.
    const auto seconds = AppointmentSeconds(*m_data, LID_APPT_END);
    return seconds ? detail::ToDateWithinCalendar(*seconds) : NoDate();
}

std::optional<runtime::Date> Message::TryEnd() const
{
    RequireKind(ItemKind::Appointment, "End");
    const auto seconds = AppointmentSeconds(*m_data, LID_APPT_END);
    return seconds ? detail::TryToDate(*seconds) : NoDate();
}

long Message::Duration() const
{
    RequireKind(ItemKind::Appointment, "Duration");
    if (const auto& o = m_data->Occurrence())
        return o->durationMinutes;
    if (auto d = m_data->GetNamed(PSETID_Appointment, LID_APPT_DURATION, store::PT_LONG))
        return LongOf(d);
    return static_cast<long>(std::lround((End().Linear() - Start().Linear()) * 1440.0));
}

std::string Message::Location() const
{
    RequireKind(ItemKind::Appointment, "Location");
    return TextOf(m_data->GetNamed(PSETID_Appointment, LID_APPT_LOCATION, store::PT_STRING8));
}

bool Message::AllDayEvent() const
{
    RequireKind(ItemKind::Appointment, "AllDayEvent");
    return BoolOf(m_data->GetNamed(PSETID_Appointment, 0x8215, store::PT_BOOLEAN));
}

bool Message::IsRecurring() const
{
    const auto kind = Kind();
    if (kind != ItemKind::Appointment && kind != ItemKind::Task)
        RequireKind(ItemKind::Appointment, "IsRecurring");
    if (m_data->Occurrence())
        return true;
    if (m_data->IsNew())
        return false;
    return m_data->Recurrence() != nullptr || m_data->Kind() == store::ItemKind::Exception;
}

long Message::RecurrenceState() const
{
    const auto kind = Kind();
    if (kind != ItemKind::Appointment && kind != ItemKind::Task)
        RequireKind(ItemKind::Appointment, "RecurrenceState");
    if (const auto& o = m_data->Occurrence())
        return static_cast<long>(o->state);
    if (m_data->Kind() == store::ItemKind::Exception)
        return static_cast<long>(store::RecurrenceState::Exception);
    return IsRecurring() ? static_cast<long>(store::RecurrenceState::Master) : 0;
}

std::shared_ptr<RecurrencePattern> Message::GetRecurrencePattern()
{
    if (!IsRecurring() || m_data->IsNew())
        runtime::Raise(runtime::errors::NotSupported, "Message.GetRecurrencePattern",
                       "The item does not recur.");
    if (m_data->Occurrence()) {
        // A modified occurrence's own item is no series: the pattern is the series' one.
        const auto& series = m_data->Series();
        return std::make_shared<RecurrencePattern>(std::make_shared<detail::MessageData>(
            m_data->Context(), m_data->StoreId(), series ? series->EntryId() : m_data->EntryId()));
    }
    const auto info = m_data->Info();
    if (info.kind == store::ItemKind::Exception)
        return std::make_shared<RecurrencePattern>(std::make_shared<detail::MessageData>(
            m_data->Context(), m_data->StoreId(), info.ownerEntryId));
    return std::make_shared<RecurrencePattern>(m_data);
}

// -- Tasks -------------------------------------------------------------------------------------

runtime::Date Message::StartDate() const
{
    RequireKind(ItemKind::Task, "StartDate");
    return LocalDateOf(m_data->GetNamed(PSETID_Task, LID_TASK_START, store::PT_SYSTIME));
}

runtime::Date Message::DueDate() const
{
    RequireKind(ItemKind::Task, "DueDate");
    return LocalDateOf(m_data->GetNamed(PSETID_Task, LID_TASK_DUE, store::PT_SYSTIME));
}

runtime::Date Message::DateCompleted() const
{
    RequireKind(ItemKind::Task, "DateCompleted");
    return LocalDateOf(m_data->GetNamed(PSETID_Task, LID_TASK_DATE_COMPLETED, store::PT_SYSTIME));
}

long Message::TotalWork() const
{
    RequireKind(ItemKind::Task, "TotalWork");
    return LongOf(m_data->GetNamed(PSETID_Task, LID_TASK_TOTAL_WORK, store::PT_LONG));
}

long Message::ActualWork() const
{
    RequireKind(ItemKind::Task, "ActualWork");
    return LongOf(m_data->GetNamed(PSETID_Task, LID_TASK_ACTUAL_WORK, store::PT_LONG));
}

long Message::Status() const
{
    RequireKind(ItemKind::Task, "Status");
    return LongOf(m_data->GetNamed(PSETID_Task, LID_TASK_STATUS, store::PT_LONG));
}

double Message::PercentComplete() const
{
    RequireKind(ItemKind::Task, "PercentComplete");
    const auto v = m_data->GetNamed(PSETID_Task, LID_TASK_PERCENT_COMPLETE, store::PT_DOUBLE);
    const auto* d = v ? std::get_if<double>(&*v) : nullptr;
    return d ? *d * 100.0 : 0.0;
}

bool Message::Complete() const
{
    RequireKind(ItemKind::Task, "Complete");
    return BoolOf(m_data->GetNamed(PSETID_Task, LID_TASK_COMPLETE, store::PT_BOOLEAN));
}

// -- Mail ----------------------------------------------------------------------------------------

std::string Message::Body() const
{
    return TextOf(m_data->Get(PR_BODY));
}

void Message::SetBody(const std::string& body)
{
    m_data->Set(PR_BODY, PropValue{body});
}

std::string Message::RTFBody() const
{
    if (auto rtf = m_data->Get(PR_RTF_BODY))
        return TextOf(rtf);
    // A plain body as the minimal rich text that shows the same text.
    std::string out = "{\\rtf1\\ansi\\ansicpg65001 ";
    for (char c : Body()) {
        if (c == '\\' || c == '{' || c == '}')
            out += '\\';
        if (c == '\n') {
            out += "\\par ";
            continue;
        }
        if (c != '\r')
            out += c;
    }
    return out + "}";
}

void Message::SetRTFBody(const std::string& rtf)
{
    m_data->Set(PR_RTF_BODY, PropValue{rtf});
}

std::string Message::HTMLBody() const
{
    return TextOf(m_data->Get(PR_HTML_BODY));
}

void Message::SetHTMLBody(const std::string& html)
{
    m_data->Set(PR_HTML_BODY, PropValue{html});
}

long Message::BodyFormat() const
{
    if (auto v = m_data->Get(kBodyFormatTag))
        return LongOf(v);
    if (m_data->Get(PR_HTML_BODY))
        return 2;
    if (m_data->Get(PR_RTF_BODY))
        return 3;
    return 1;
}

void Message::SetBodyFormat(long format)
{
    if (format < 0 || format > 3)
        runtime::Raise(runtime::errors::InvalidProcedureCall, "Message.BodyFormat");
    m_data->Set(kBodyFormatTag, PropValue{static_cast<std::int32_t>(format)});
}

std::shared_ptr<Attachments> Message::GetAttachments()
{
    return std::make_shared<Attachments>(m_data);
}

std::shared_ptr<Recipients> Message::GetRecipients()
{
    return std::make_shared<Recipients>(m_data);
}

bool Message::Sent() const
{
    return (LongOf(m_data->Get(PR_MESSAGE_FLAGS)) & MSGFLAG_UNSENT) == 0 && !m_data->IsNew() &&
           m_data->Get(PR_CLIENT_SUBMIT_TIME).has_value();
}

std::shared_ptr<Message> Message::Move(const std::shared_ptr<Folder>& folder)
{
    if (!folder)
        runtime::Raise(runtime::errors::ObjectNotSet, "Message.Move");
    auto moved = m_data->MoveTo(folder->StoreID(), folder->EntryID());
    return std::make_shared<Message>(std::move(moved));
}

void Message::Send()
{
    const auto recipients = m_data->Recipients();
    if (recipients.empty())
        runtime::Raise(detail::MAPI_E_NO_RECIPIENTS, "Message.Send",
                       "The message has no recipients.");
    for (const auto& r : recipients)
        if (!r.resolved)
            runtime::Raise(detail::MAPI_E_NO_RECIPIENTS, "Message.Send",
                           "The recipient \"" + r.name + "\" is not resolved.");
    const auto sentFolder = detail::Guard(
        "Message.Send", [&] { return m_data->Store().DefaultFolder(store::FolderRole::SentMail); });
    if (!sentFolder)
        runtime::Raise(detail::MAPI_E_NOT_FOUND, "Message.Send",
                       "The store has no sent items folder.");
    const auto now = store::SysTime{static_cast<std::int64_t>(std::time(nullptr))};
    m_data->Set(PR_CLIENT_SUBMIT_TIME, PropValue{now});
    m_data->Set(PR_MESSAGE_FLAGS, PropValue{static_cast<std::int32_t>(MSGFLAG_READ)});
    m_data = m_data->MoveTo(m_data->StoreId(), sentFolder->entryId);
    std::string names;
    for (const auto& r : recipients)
        names += (names.empty() ? "" : "; ") + (r.address.empty() ? r.name : r.address);
    runtime::Notify({runtime::Notice::Kind::Mailed, Subject(), names});
}

} // namespace platform::mapi
