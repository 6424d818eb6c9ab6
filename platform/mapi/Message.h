#pragma once

#include "platform/runtime/Date.h"
#include "platform/runtime/Object.h"
#include "platform/runtime/Variant.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace platform::mapi {

namespace detail {
class Context;
class MessageData;
} // namespace detail
class Attachments;
class Folder;
class Recipients;
class RecurrencePattern;

/// The client's kind of an item, from its message class.
enum class ItemKind
{
    Mail,
    Appointment,
    Contact,
    Task,
    Journal,
    Note,
    Post,
    Other
};

/// One item (message) of a store: a view over the store's item by entry id. Reads go to the
/// store each time; writes of a stored item go to the store at once; a new item (Items.Add,
/// a message file) lives in memory until Save, Move or Send writes it.
/// Dates of the typed accessors (Start, DueDate, ...) are local time; Fields gives PT_SYSTIME
/// values as stored, in UTC.
class Message : public runtime::Object, public std::enable_shared_from_this<Message>
{
public:
    /// Internal: made by collections, sessions and patterns.
    explicit Message(std::shared_ptr<detail::MessageData> data);
    ~Message() override;
    /// The client's type name of the item: "MailItem", "AppointmentItem", "TaskItem",
    /// "JournalItem", "ContactItem", "NoteItem", "PostItem" (else "MailItem").
    std::string TypeName() const override;

    // -- Every item --------------------------------------------------------------------
    /// The entry id; "" for an item not yet written.
    std::string EntryID() const;
    /// The store id of the item's store; "" for an item not yet in a folder.
    std::string StoreID() const;
    std::string MessageClass() const;
    ItemKind Kind() const;
    bool IsAppointment() const { return Kind() == ItemKind::Appointment; }
    bool IsTask() const { return Kind() == ItemKind::Task; }
    bool IsJournal() const { return Kind() == ItemKind::Journal; }
    bool IsMail() const { return Kind() == ItemKind::Mail; }
    /// Itself: the object the utils object and GetIDsFromNames resolve names against.
    std::shared_ptr<Message> MAPIOBJECT();
    /// A property by tag: Empty when missing; PT_SYSTIME as UTC dates; multi-valued ones as
    /// 0-based arrays. A tag whose type is PT_UNSPECIFIED matches a property of any type.
    runtime::Variant Fields(std::int32_t tag) const;
    /// A PT_SYSTIME property as local time, straight from the stored instant, so that one
    /// that UTC dates cannot show (the last evening of 9999 west of UTC) still reads; a local
    /// time beyond the calendar's ends answers the end it passed. Nothing when the property
    /// is missing or holds no date.
    std::optional<runtime::Date> LocalTimeField(std::int32_t tag) const;
    /// Whether a PT_SYSTIME property holds an instant whose local time lies beyond the
    /// calendar's ends in this zone (before 1 January 100 or after 31 December 9999 23:59:59),
    /// which LocalTimeField answers as the end it passed. False when the property is missing
    /// or holds no date.
    bool LocalTimeBeyondCalendar(std::int32_t tag) const;
    /// Writes a property by tag (Empty deletes it).
    void SetFields(std::int32_t tag, const runtime::Variant& value);
    /// The id (high 16 bits of a tag, type bits 0) of a named property of the item's store:
    /// by LID (a whole number; a negative 16-bit value stands for 0x8000 and up) or by name
    /// (a text). Unknown names are given an id, as a store does for a message's look-up.
    std::int32_t GetIDsFromNames(const std::string& propertySetGuid,
                                 const runtime::Variant& id) const;
    /// The folder the item lies in; no object for an item outside any folder.
    std::shared_ptr<Folder> Parent();

    std::string Subject() const;
    void SetSubject(const std::string& subject);
    /// The categories (the "Keywords" list) joined by "; ".
    std::string Categories() const;
    /// Opens the item in the client's item window: hands it to the display handler the host
    /// set (SetDisplayHandler); throws "not supported" without one.
    void Display(const runtime::Variant& modal = {});
    /// Writes a new or changed item to its folder.
    void Save();
    /// Removes the item from its store.
    void Delete();

    // -- Appointments (throws error 438 on other kinds) --------------------------------
    // A start or end (also a task's date) beyond the calendar's ends in this zone answers
    // the end it passed: 100-01-01 00:00:00 or 9999-12-31 23:59:59 (an all-day item on
    // 31 December 9999 ends there).
    runtime::Date Start() const;
    /// As Start, but nothing when local time cannot show it: an item beyond the calendar's
    /// ends in this zone (in the year 10000 or 99).
    std::optional<runtime::Date> TryStart() const;
    runtime::Date End() const;
    /// As End, but nothing when local time cannot show it (an item that ends in the year
    /// 10000 in this zone), rather than the calendar's last second.
    std::optional<runtime::Date> TryEnd() const;
    /// Duration in minutes. An occurrence's is the same in every zone: a plain one's is the
    /// pattern's Duration, a modified one's its own length on the series' clock, though across
    /// a change of offsets its End minus Start here may differ by an hour.
    long Duration() const;
    std::string Location() const;
    bool AllDayEvent() const;
    bool IsRecurring() const;
    /// 0 not recurring, 1 master, 2 occurrence, 3 exception (moved or changed occurrence).
    long RecurrenceState() const;
    /// The recurrence pattern of a recurring appointment or task; throws for other items.
    std::shared_ptr<RecurrencePattern> GetRecurrencePattern();

    // -- Tasks (throws error 438 on other kinds) ---------------------------------------
    /// Start date; the zero date ("none") when the task has none.
    runtime::Date StartDate() const;
    runtime::Date DueDate() const;
    runtime::Date DateCompleted() const;
    /// Work in minutes.
    long TotalWork() const;
    long ActualWork() const;
    long Status() const;
    double PercentComplete() const;
    bool Complete() const;

    // -- Mail and other messages -------------------------------------------------------
    std::string Body() const;
    void SetBody(const std::string& body);
    /// The rich-text body (RTF text); a plain body is returned wrapped as RTF.
    std::string RTFBody() const;
    void SetRTFBody(const std::string& rtf);
    std::string HTMLBody() const;
    void SetHTMLBody(const std::string& html);
    /// 0 unspecified, 1 plain, 2 HTML, 3 rich text.
    long BodyFormat() const;
    void SetBodyFormat(long format);
    std::shared_ptr<Attachments> GetAttachments();
    std::shared_ptr<Recipients> GetRecipients();
    bool Sent() const;
    /// Moves the item into a folder (writing it first when new) and returns the moved item;
    /// this view is then detached.
    std::shared_ptr<Message> Move(const std::shared_ptr<Folder>& folder);
    /// Sends the message: it needs at least one recipient (error otherwise); it is marked
    /// sent, given its submit time and lands in its store's sent items folder.
    void Send();

    /// Internal.
    const std::shared_ptr<detail::MessageData>& Data() const { return m_data; }

private:
    void RequireKind(ItemKind kind, const char* member) const;
    std::shared_ptr<detail::MessageData> m_data;
    /// The kind worked out from the class, valid while nothing changed through the library
    /// since (the class only changes that way): the typed accessors ask for it on every call.
    mutable ItemKind m_kind = ItemKind::Other;
    mutable std::uint64_t m_kindGeneration = 0;
    mutable bool m_kindKnown = false;
};

/// The host's way to show an item window; tests and the host set it. Without one Display
/// raises "not supported".
using DisplayHandler = std::function<void(const std::shared_ptr<Message>&)>;
/// Replaces the display handler (empty: none).
void SetDisplayHandler(DisplayHandler handler);

} // namespace platform::mapi
