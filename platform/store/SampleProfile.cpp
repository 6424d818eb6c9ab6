#include "platform/store/SampleProfile.h"
#include "platform/store/SampleReports.h"

#include "platform/store/KnownProperties.h"
#include "platform/store/NamedProperty.h"
#include "platform/store/StoreBuilder.h"

#include <array>
#include <map>
#include <string>
#include <tuple>
#include <vector>

namespace platform::store {

namespace {

using Props = std::vector<std::pair<PropTag, PropValue>>;

// The message flag of a mail that has not been sent yet.
constexpr std::int32_t kMsgFlagUnsent = 0x8;

// SplitMix64: small, fast, and the same sequence on every platform.
class Rng
{
public:
    explicit Rng(std::uint64_t seed) : state_(seed) {}
    std::uint64_t Next()
    {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    /// A whole number in [lo, hi].
    int Between(int lo, int hi)
    {
        return lo + static_cast<int>(Next() % static_cast<std::uint64_t>(hi - lo + 1));
    }
    bool Chance(int percent) { return Between(1, 100) <= percent; }
    template <typename T, std::size_t N> const T& Pick(const std::array<T, N>& items)
    {
        return items[static_cast<std::size_t>(Between(0, static_cast<int>(N) - 1))];
    }

private:
    std::uint64_t state_;
};

constexpr std::array<const char*, 8> kCategories = {
    "Büro", "Privat", "Geschäftlich", "Kunden", "Urlaub", "Wichtig", "Familie", "Fortbildung"};

struct Person
{
    const char* name;
    const char* address;
};
constexpr std::array<Person, 8> kPeople = {{
    {"Jürgen Weiß", "juergen.weiss@kestrova.example"},
    {"Anna Schäfer", "anna.schaefer@kestrova.example"},
    {"Björn Köhler", "bjoern.koehler@mueller-gmbh.example"},
    {"Claudia Groß", "claudia.gross@nordwind.example"},
    {"Martin Lührs", "martin.luehrs@kestrova.example"},
    {"Sabine Fuß", "sabine.fuss@suederelbe.example"},
    {"Thomas Brückner", "thomas.brueckner@kestrova.example"},
    {"Eva Öztürk", "eva.oeztuerk@froehlich.example"},
}};
constexpr std::array<const char*, 6> kCompanies = {"Müller GmbH",         "Bäckerei Schön",
                                                   "Fröhlich & Söhne KG", "Kestrova AG",
                                                   "Nordwind Logistik",   "Süderelbe Consulting"};
constexpr std::array<const char*, 8> kLocations = {
    "Büro 3.14", "Besprechungsraum Süd", "Köln", "München", "Zürich", "Online",
    "Kantine",   "Großer Saal"};
constexpr std::array<const char*, 10> kAppointmentSubjects = {
    "Besprechung", "Kundentermin",     "Projektmeeting", "Zahnarzt", "Mittagessen",
    "Workshop",    "Telefonkonferenz", "Schulung",       "Übergabe", "Präsentation"};
constexpr std::array<const char*, 8> kTopics = {
    "Müller GmbH", "Vertrieb",      "Qualitätssicherung", "Budgetplanung",
    "Straßenfest", "Größenordnung", "Außendienst",        "Jahresabschluss"};
constexpr std::array<const char*, 8> kTaskSubjects = {
    "Angebot schreiben", "Rechnung prüfen", "Präsentation vorbereiten", "Bericht abschließen",
    "Kunden anrufen",    "Vertrag ändern",  "Reisekosten abrechnen",    "Überstunden eintragen"};
constexpr std::array<const char*, 7> kJournalTypes = {
    "Telefonanruf", "Besprechung", "E-Mail-Nachricht", "Aufgabe", "Brief", "Notiz", "Dokument"};
constexpr std::array<const char*, 6> kMailSubjects = {
    "Rückfrage zum Angebot", "Protokoll",         "Einladung",
    "Urlaubsübergabe",       "Grüße aus München", "Lieferverzögerung"};

// Named-property tags of one store, mapped on first use.
class Tags
{
public:
    explicit Tags(Store& store) : store_(store) {}
    PropTag operator()(std::string_view set, std::uint32_t lid, std::uint16_t type)
    {
        const auto key = std::make_tuple(std::string(set), lid, type);
        if (auto it = cache_.find(key); it != cache_.end())
            return it->second;
        const PropTag tag =
            MakeTag(store_.GetOrCreateIdFromName(NamedProperty::Lid(set, lid)), type);
        cache_.emplace(key, tag);
        return tag;
    }
    PropTag Named(std::string_view set, const std::string& name, std::uint16_t type)
    {
        return MakeTag(store_.GetOrCreateIdFromName(NamedProperty::Name(set, name)), type);
    }

private:
    Store& store_;
    std::map<std::tuple<std::string, std::uint32_t, std::uint16_t>, PropTag> cache_;
};

LocalTime AtMinute(std::int32_t day, int minute)
{
    return {StartOfDay(day).seconds + static_cast<std::int64_t>(minute) * 60};
}

// Fills the stores of the profile; one object per store.
class StoreWriter
{
public:
    StoreWriter(Store& store, Rng& rng, std::int32_t anchorDay)
        : store_(store), builder_(store), tags_(store), rng_(rng), anchor_(anchorDay),
          keywords_(tags_.Named(PS_PUBLIC_STRINGS, props::kKeywords, PT_MV_STRING8))
    {
    }

    StoreBuilder& Builder() { return builder_; }
    Tags& NamedTags() { return tags_; }

    // Properties every item carries, whatever its class.
    Props Envelope(std::string_view subject, LocalTime created, bool withRecipients)
    {
        const auto& from = rng_.Pick(kPeople);
        const auto& to = rng_.Pick(kPeople);
        const SysTime createdUtc = LocalToUtc(created);
        const SysTime modified{createdUtc.seconds + rng_.Between(0, 86400 * 20)};
        Props p = {
            {props::PR_SUBJECT, std::string(subject)},
            {props::PR_CONVERSATION_TOPIC, std::string(subject)},
            {props::PR_BODY, "Notiz zu „" + std::string(subject) + "“: bitte Unterlagen prüfen."},
            {props::PR_CREATION_TIME, createdUtc},
            {props::PR_LAST_MODIFICATION_TIME, modified},
            {props::PR_CLIENT_SUBMIT_TIME, createdUtc},
            {props::PR_MESSAGE_DELIVERY_TIME, SysTime{createdUtc.seconds + 60}},
            {props::PR_MESSAGE_SIZE, std::int32_t{rng_.Between(900, 60000)}},
            {props::PR_IMPORTANCE, std::int32_t{rng_.Between(0, 2)}},
            {props::PR_SENSITIVITY, std::int32_t{rng_.Chance(80) ? 0 : rng_.Between(1, 3)}},
            {props::PR_SENT_REPRESENTING_NAME, std::string(from.name)},
            {props::PR_SENT_REPRESENTING_EMAIL_ADDRESS, std::string(from.address)},
            {props::PR_CREATOR_NAME, std::string(from.name)},
            {props::PR_LAST_MODIFIER_NAME, std::string(rng_.Pick(kPeople).name)},
            {tags_(PSETID_Common, props::LID_Private, PT_BOOLEAN), rng_.Chance(15)},
            {tags_(PSETID_Common, props::LID_Companies, PT_MV_STRING8),
             MultiString{rng_.Pick(kCompanies)}},
            {tags_(PSETID_Common, props::LID_Contacts, PT_MV_STRING8),
             MultiString{to.name, rng_.Pick(kPeople).name}},
            {keywords_, Categories()},
        };
        if (withRecipients) {
            p.emplace_back(props::PR_DISPLAY_TO, std::string(to.name));
            p.emplace_back(props::PR_DISPLAY_CC, std::string(rng_.Pick(kPeople).name));
            p.emplace_back(props::PR_DISPLAY_BCC,
                           std::string(rng_.Chance(20) ? rng_.Pick(kPeople).name : ""));
        }
        return p;
    }

    MultiString Categories()
    {
        MultiString out;
        const int n = rng_.Between(0, 3);
        for (int i = 0; i < n; ++i) {
            std::string c = rng_.Pick(kCategories);
            if (std::find(out.begin(), out.end(), c) == out.end())
                out.push_back(std::move(c));
        }
        return out;
    }

    void Reminder(Props& p, LocalTime at)
    {
        const bool set = rng_.Chance(40);
        p.emplace_back(tags_(PSETID_Common, props::LID_ReminderSet, PT_BOOLEAN), set);
        p.emplace_back(tags_(PSETID_Common, props::LID_ReminderTime, PT_SYSTIME),
                       LocalToUtc({at.seconds - 15 * 60}));
    }

    void Billing(Props& p)
    {
        p.emplace_back(tags_(PSETID_Common, props::LID_Mileage, PT_STRING8),
                       std::to_string(rng_.Between(0, 450)) + " km");
        p.emplace_back(tags_(PSETID_Common, props::LID_BillingInformation, PT_STRING8),
                       std::string("Kostenstelle ") + std::to_string(rng_.Between(100, 999)));
    }

    // An appointment item from start to end; answers its builder for recurrence and extras.
    ItemBuilder Appointment(const std::string& folder, std::string_view subject, LocalTime start,
                            LocalTime end, bool allDay, Props extra = {})
    {
        Props p = Envelope(subject, {start.seconds - 86400 * rng_.Between(1, 30)}, true);
        Reminder(p, start);
        const int minutes = static_cast<int>((end.seconds - start.seconds) / 60);
        const std::array<std::pair<std::uint32_t, PropValue>, 13> named = {{
            {props::LID_Location, std::string(rng_.Pick(kLocations))},
            {props::LID_AllDayEvent, allDay},
            {props::LID_BusyStatus, std::int32_t{allDay ? 0 : rng_.Between(0, 3)}},
            {props::LID_Label, std::int32_t{rng_.Between(0, 10)}},
            {props::LID_MeetingStatus, std::int32_t{rng_.Pick(std::array<int, 4>{0, 1, 3, 5})}},
            {props::LID_ResponseStatus, std::int32_t{rng_.Between(0, 5)}},
            {props::LID_AppointmentStart, LocalToUtc(start)},
            {props::LID_AppointmentEnd, LocalToUtc(end)},
            {props::LID_AppointmentDuration, std::int32_t{minutes}},
            {props::LID_Recurring, false},
            {props::LID_ClipStart, LocalToUtc(StartOfDay(DayOf(start)))},
            {props::LID_ClipEnd, LocalToUtc(StartOfDay(DayOf(end)))},
            {0, false},
        }};
        for (const auto& [lid, value] : named)
            if (lid != 0)
                p.emplace_back(tags_(PSETID_Appointment, lid, NaturalType(value)), value);
        p.emplace_back(tags_(PSETID_Common, props::LID_CommonStart, PT_SYSTIME), LocalToUtc(start));
        p.emplace_back(tags_(PSETID_Common, props::LID_CommonEnd, PT_SYSTIME), LocalToUtc(end));
        p.insert(p.end(), extra.begin(), extra.end());
        return Write(folder, "IPM.Appointment", p);
    }

    ItemBuilder Write(const std::string& folder, std::string_view cls, const Props& p)
    {
        auto item = builder_.Item(folder, cls);
        store_.SetItemProperties(item.EntryId(), p);
        if (rng_.Chance(8)) {
            const std::string text =
                "Anlage zu " + item.EntryId().substr(item.EntryId().size() - 6);
            item.AttachFile("Unterlagen.txt", std::vector<std::uint8_t>(text.begin(), text.end()),
                            0);
        }
        return item;
    }

    void SingleAppointments(const std::string& folder, int count, int fromDay, int toDay)
    {
        for (int i = 0; i < count; ++i) {
            const std::int32_t day = anchor_ + rng_.Between(fromDay, toDay);
            const std::string subject =
                std::string(rng_.Pick(kAppointmentSubjects)) + " " + rng_.Pick(kTopics);
            if (rng_.Chance(8)) {
                const int days = rng_.Between(1, 3);
                Appointment(folder, subject, StartOfDay(day), StartOfDay(day + days), true);
                continue;
            }
            const int startMinute = rng_.Between(7 * 4, 18 * 4) * 15;
            const int minutes = rng_.Pick(std::array<int, 8>{15, 30, 45, 60, 90, 120, 180, 480});
            Appointment(folder, subject, AtMinute(day, startMinute),
                        AtMinute(day, startMinute + minutes), false);
        }
    }

    // A recurring series whose master starts at its first occurrence; `exceptions` deletes the
    // occurrence at or after anchor + the first offset and moves the one after anchor + the
    // second offset by a day, to 14:00.
    void Series(const std::string& folder, std::string_view subject, RecurrencePattern p,
                bool allDay, int deleteOffset, int moveOffset)
    {
        const auto first = p.FirstOnOrAfter(p.patternStartDay);
        if (!first)
            return;
        const LocalTime start = AtMinute(*first, p.startMinute);
        const LocalTime end{start.seconds + static_cast<std::int64_t>(p.durationMinutes) * 60};
        auto item = Appointment(folder, subject, start, end, allDay);
        item.Recur(p);
        if (deleteOffset != 0)
            if (const auto d = p.FirstOnOrAfter(anchor_ + deleteOffset))
                item.DeleteOccurrence(CivilFromDay(*d));
        if (moveOffset != 0)
            if (const auto d = p.FirstOnOrAfter(anchor_ + moveOffset);
                d && p.FindException(*d) == nullptr &&
                !store_.GetRecurrence(item.EntryId())->FindException(*d)) {
                OccurrenceChange change;
                change.start = AtMinute(*d + 1, 14 * 60);
                change.end = AtMinute(*d + 1, 14 * 60 + p.durationMinutes);
                change.location = std::string("Verlegt: ") + rng_.Pick(kLocations);
                item.ModifyOccurrence(CivilFromDay(*d), change);
            }
    }

    void RecurringAppointments(const std::string& folder)
    {
        using T = RecurrenceType;
        auto make = [&](T type, int interval, std::int32_t start, int minute, int duration) {
            RecurrencePattern p;
            p.type = type;
            p.interval = interval;
            p.patternStartDay = start;
            p.startMinute = minute;
            p.durationMinutes = duration;
            return p;
        };
        auto daily = make(T::Daily, 2, anchor_ - 20, 7 * 60, 15);
        daily.end = RecurrenceEnd::ByCount;
        daily.occurrenceCount = 40;
        Series(folder, "Blutdruck messen", daily, false, 4, 10);

        auto weekly = make(T::Weekly, 1, anchor_ - 90, 8 * 60 + 30, 30);
        weekly.dayOfWeekMask = kMonday | kWednesday | kFriday;
        Series(folder, "Jour fixe", weekly, false, -3, 5);

        auto biweekly = make(T::Weekly, 2, anchor_ - 120, 10 * 60, 60);
        biweekly.dayOfWeekMask = kTuesday;
        biweekly.end = RecurrenceEnd::ByDate;
        biweekly.patternEndDay = anchor_ + 180;
        Series(folder, "Team-Meeting Vertrieb", biweekly, false, 7, -7);

        auto weekend = make(T::Weekly, 3, anchor_ - 60, 9 * 60, 240);
        weekend.dayOfWeekMask = kSaturday | kSunday;
        weekend.end = RecurrenceEnd::ByCount;
        weekend.occurrenceCount = 24;
        Series(folder, "Wochenenddienst", weekend, false, 0, 12);

        const CivilDate a = CivilFromDay(anchor_);
        auto monthly = make(T::Monthly, 1, DayFromCivil({a.year - 1, a.month, 1}), 16 * 60, 60);
        monthly.dayOfMonth = 31;
        Series(folder, "Monatsabschluss", monthly, false, -20, 25);

        auto lastFriday = make(T::MonthNth, 1, DayFromCivil({a.year - 1, 1, 1}), 18 * 60, 120);
        lastFriday.dayOfWeekMask = kFriday;
        lastFriday.instance = 5;
        Series(folder, "Stammtisch", lastFriday, false, 0, -25);

        const CivilDate birthday = CivilFromDay(anchor_ + 10);
        auto yearly = make(T::Yearly, 12, DayFromCivil({a.year - 5, 1, 1}), 0, 1440);
        yearly.dayOfMonth = birthday.day;
        yearly.monthOfYear = birthday.month;
        Series(folder, "Geburtstag Anna Schäfer", yearly, true, 0, 0);

        auto yearNth = make(T::YearNth, 12, DayFromCivil({a.year - 3, 1, 1}), 9 * 60, 180);
        yearNth.dayOfWeekMask = kTuesday;
        yearNth.instance = 2;
        yearNth.monthOfYear = a.month;
        yearNth.end = RecurrenceEnd::ByCount;
        yearNth.occurrenceCount = 8;
        Series(folder, "Betriebsversammlung", yearNth, false, 0, 0);
    }

    void Tasks(const std::string& folder, int count, int fromDay, int toDay)
    {
        for (int i = 0; i < count; ++i) {
            const int status = i % 5;
            const std::int32_t start = anchor_ + rng_.Between(fromDay, toDay);
            const std::int32_t due = start + rng_.Between(0, 30);
            const int total = rng_.Between(1, 40) * 30;
            const double percent = status == 2   ? 1.0
                                   : status == 0 ? 0.0
                                                 : rng_.Between(1, 3) * 0.25;
            const std::string subject = rng_.Pick(kTaskSubjects);
            Props p = Envelope(subject, StartOfDay(start - 2), true);
            Reminder(p, AtMinute(due, 9 * 60));
            Billing(p);
            const auto& owner = rng_.Pick(kPeople);
            const Props task = {
                {tags_(PSETID_Task, props::LID_TaskStatus, PT_LONG), std::int32_t{status}},
                {tags_(PSETID_Task, props::LID_PercentComplete, PT_DOUBLE), percent},
                {tags_(PSETID_Task, props::LID_TaskStartDate, PT_SYSTIME),
                 LocalToUtc(StartOfDay(start))},
                {tags_(PSETID_Task, props::LID_TaskDueDate, PT_SYSTIME),
                 LocalToUtc(StartOfDay(due))},
                {tags_(PSETID_Common, props::LID_CommonStart, PT_SYSTIME),
                 LocalToUtc(StartOfDay(start))},
                {tags_(PSETID_Common, props::LID_CommonEnd, PT_SYSTIME),
                 LocalToUtc(StartOfDay(due))},
                {tags_(PSETID_Task, props::LID_TaskTotalWork, PT_LONG), std::int32_t{total}},
                {tags_(PSETID_Task, props::LID_TaskActualWork, PT_LONG),
                 std::int32_t{static_cast<int>(total * percent) + rng_.Between(0, 3) * 15}},
                {tags_(PSETID_Task, props::LID_TaskComplete, PT_BOOLEAN), status == 2},
                {tags_(PSETID_Task, props::LID_TaskOwnership, PT_LONG),
                 std::int32_t{rng_.Between(0, 2)}},
                {tags_(PSETID_Task, props::LID_TaskDelegationState, PT_LONG),
                 std::int32_t{rng_.Between(0, 3)}},
                {tags_(PSETID_Task, props::LID_TaskRole, PT_STRING8),
                 std::string(rng_.Chance(50) ? "Prüfer" : "Bearbeiter")},
                {tags_(PSETID_Task, props::LID_TaskDelegator, PT_STRING8),
                 std::string(rng_.Pick(kPeople).name)},
                {tags_(PSETID_Task, props::LID_TaskOwner, PT_STRING8), std::string(owner.name)},
                {tags_(PSETID_Task, props::LID_TeamTask, PT_BOOLEAN), rng_.Chance(20)},
                {tags_(PSETID_Task, props::LID_TaskRecurring, PT_BOOLEAN), false},
            };
            p.insert(p.end(), task.begin(), task.end());
            if (status == 2)
                p.emplace_back(tags_(PSETID_Task, props::LID_TaskDateCompleted, PT_SYSTIME),
                               LocalToUtc(StartOfDay(due - rng_.Between(0, 3))));
            auto item = Write(folder, "IPM.Task", p);
            if (i % 97 == 3) {
                RecurrencePattern weekly;
                weekly.type = RecurrenceType::Weekly;
                weekly.dayOfWeekMask = kThursday;
                weekly.patternStartDay = start;
                weekly.end = RecurrenceEnd::ByCount;
                weekly.occurrenceCount = 10;
                item.Recur(weekly);
            }
        }
    }

    void Journal(const std::string& folder, int count, int fromDay, int toDay)
    {
        for (int i = 0; i < count; ++i) {
            const std::string type = rng_.Pick(kJournalTypes);
            const LocalTime start =
                AtMinute(anchor_ + rng_.Between(fromDay, toDay), rng_.Between(32, 72) * 15);
            const int minutes = rng_.Between(1, 24) * 5;
            Props p = Envelope(type + " mit " + rng_.Pick(kPeople).name, start, false);
            const Props log = {
                {tags_(PSETID_Log, props::LID_LogType, PT_STRING8), type},
                {tags_(PSETID_Log, props::LID_LogTypeDesc, PT_STRING8), type},
                {tags_(PSETID_Log, props::LID_LogStart, PT_SYSTIME), LocalToUtc(start)},
                {tags_(PSETID_Log, props::LID_LogEnd, PT_SYSTIME),
                 LocalToUtc({start.seconds + minutes * 60})},
                {tags_(PSETID_Log, props::LID_LogDuration, PT_LONG), std::int32_t{minutes}},
                {tags_(PSETID_Common, props::LID_CommonStart, PT_SYSTIME), LocalToUtc(start)},
                {tags_(PSETID_Common, props::LID_CommonEnd, PT_SYSTIME),
                 LocalToUtc({start.seconds + minutes * 60})},
            };
            p.insert(p.end(), log.begin(), log.end());
            Write(folder, "IPM.Activity", p);
        }
    }

    // Mails of a folder; unsent ones (drafts) have no submit or delivery time and carry the
    // unsent flag.
    void Mail(const std::string& folder, int count, int fromDay, int toDay, bool unsent = false)
    {
        for (int i = 0; i < count; ++i) {
            const LocalTime sent =
                AtMinute(anchor_ + rng_.Between(fromDay, toDay), rng_.Between(0, 24 * 60 - 1));
            Props p = Envelope(rng_.Pick(kMailSubjects), sent, true);
            Reminder(p, sent);
            Billing(p);
            const auto& to = rng_.Pick(kPeople);
            const Props mail = {
                {props::PR_PRIORITY, std::int32_t{rng_.Between(-1, 1)}},
                {props::PR_ORIGINATOR_DELIVERY_REPORT_REQUESTED, rng_.Chance(10)},
                {props::PR_READ_RECEIPT_REQUESTED, rng_.Chance(10)},
                {props::PR_RECEIVED_BY_NAME, std::string(to.name)},
                {props::PR_RECEIVED_BY_EMAIL_ADDRESS, std::string(to.address)},
            };
            p.insert(p.end(), mail.begin(), mail.end());
            if (unsent) {
                std::erase_if(p, [](const auto& prop) {
                    return prop.first == props::PR_CLIENT_SUBMIT_TIME ||
                           prop.first == props::PR_MESSAGE_DELIVERY_TIME;
                });
                p.emplace_back(props::PR_MESSAGE_FLAGS, kMsgFlagUnsent);
            }
            auto item = Write(folder, "IPM.Note", p);
            item.AddRecipient(RecipientType::To, to.name, to.address);
        }
    }

    void Contacts(const std::string& folder)
    {
        for (const auto& person : kPeople) {
            Props p = Envelope(person.name, StartOfDay(anchor_ - 400), false);
            p.emplace_back(props::PR_DISPLAY_NAME, std::string(person.name));
            p.emplace_back(tags_(PSETID_Address, 0x8083, PT_STRING8), std::string(person.address));
            Write(folder, "IPM.Contact", p);
        }
    }

    void Notes(const std::string& folder, int count)
    {
        for (int i = 0; i < count; ++i)
            Write(folder, "IPM.StickyNote",
                  Envelope(std::string("Notiz: ") + rng_.Pick(kTopics),
                           StartOfDay(anchor_ - rng_.Between(0, 200)), false));
    }

private:
    Store& store_;
    StoreBuilder builder_;
    Tags tags_;
    Rng& rng_;
    std::int32_t anchor_;
    PropTag keywords_;
};

std::string Uid(Rng& rng)
{
    static const char* kHex = "0123456789ABCDEF";
    std::string uid;
    for (int half = 0; half < 2; ++half) {
        const std::uint64_t v = rng.Next();
        for (int shift = 60; shift >= 0; shift -= 4)
            uid += kHex[(v >> shift) & 15];
    }
    return uid;
}

std::string MasterCategoryList()
{
    std::string list;
    for (const char* c : kCategories)
        list += (list.empty() ? "" : ";") + std::string(c);
    return list;
}

void Personal(Store& store, Rng& rng, std::int32_t anchor, const SampleProfileOptions& options)
{
    StoreWriter w(store, rng, anchor);
    auto& b = w.Builder();
    auto tx = store.BeginTransaction();
    store.SetProperty(props::PR_MAILBOX_OWNER_NAME, std::string("Jürgen Weiß"));
    store.SetProperty(props::PR_MASTER_CATEGORY_LIST, MasterCategoryList());
    for (const auto role :
         {FolderRole::Inbox, FolderRole::Outbox, FolderRole::SentMail, FolderRole::DeletedItems,
          FolderRole::Drafts, FolderRole::Calendar, FolderRole::Contacts, FolderRole::Journal,
          FolderRole::Notes, FolderRole::Tasks})
        b.DefaultFolder(role);
    const auto calendar = b.DefaultFolder(FolderRole::Calendar).entryId;
    w.SingleAppointments(calendar, options.calendarItems, -180, 180);
    w.RecurringAppointments(calendar);

    const auto projects = b.Folder("Projekte", ItemType::Appointment, FolderRole::None, calendar);
    store.AddUserField(projects.entryId, {std::string(PS_PUBLIC_STRINGS), 1, "Projekt"});
    store.AddUserField(projects.entryId, {std::string(PS_PUBLIC_STRINGS), 3, "Stunden"});
    store.AddUserField(projects.entryId, {std::string(PS_PUBLIC_STRINGS), 6, "Abrechenbar"});
    auto& tags = w.NamedTags();
    for (int i = 0; i < 200; ++i) {
        const std::int32_t day = anchor + rng.Between(-60, 90);
        const int minute = rng.Between(32, 64) * 15;
        const Props extra = {
            {tags.Named(PS_PUBLIC_STRINGS, "Projekt", PT_STRING8),
             std::string("Projekt ") + rng.Pick(kTopics)},
            {tags.Named(PS_PUBLIC_STRINGS, "Stunden", PT_DOUBLE), rng.Between(1, 16) * 0.5},
            {tags.Named(PS_PUBLIC_STRINGS, "Abrechenbar", PT_BOOLEAN), rng.Chance(60)},
        };
        w.Appointment(projects.entryId, std::string("Projektarbeit ") + rng.Pick(kTopics),
                      AtMinute(day, minute), AtMinute(day, minute + 120), false, extra);
    }

    const auto tasks = b.DefaultFolder(FolderRole::Tasks).entryId;
    w.Tasks(tasks, 500, -120, 60);
    const auto privateTasks = b.Folder("Privat", ItemType::Task, FolderRole::None, tasks);
    store.AddUserField(privateTasks.entryId, {std::string(PS_PUBLIC_STRINGS), 14, "Budget"});
    store.AddUserField(privateTasks.entryId, {std::string(PS_PUBLIC_STRINGS), 11, "Themen"});
    w.Tasks(privateTasks.entryId, 100, -30, 30);

    w.Journal(b.DefaultFolder(FolderRole::Journal).entryId, 800, -150, 10);
    w.Mail(b.DefaultFolder(FolderRole::Inbox).entryId, 300, -90, 0);
    w.Mail(b.DefaultFolder(FolderRole::SentMail).entryId, 150, -90, 0);
    w.Mail(b.DefaultFolder(FolderRole::Drafts).entryId, 10, -5, 0, true);
    w.Contacts(b.DefaultFolder(FolderRole::Contacts).entryId);
    w.Notes(b.DefaultFolder(FolderRole::Notes).entryId, 40);
    tx.Commit();
}

void Archive(Store& store, Rng& rng, std::int32_t anchor)
{
    StoreWriter w(store, rng, anchor);
    auto& b = w.Builder();
    auto tx = store.BeginTransaction();
    store.SetProperty(props::PR_MAILBOX_OWNER_NAME, std::string("Jürgen Weiß"));
    w.SingleAppointments(b.Folder("Kalender", ItemType::Appointment).entryId, 300, -1100, -365);
    w.Tasks(b.Folder("Aufgaben", ItemType::Task).entryId, 150, -1100, -365);
    w.Journal(b.Folder("Journal", ItemType::Journal).entryId, 150, -1100, -365);
    tx.Commit();
}

void Public(Store& store, Rng& rng, std::int32_t anchor)
{
    StoreWriter w(store, rng, anchor);
    auto& b = w.Builder();
    auto tx = store.BeginTransaction();
    store.SetProperty(props::PR_MAILBOX_OWNER_NAME, std::string("Öffentliche Ordner"));
    const auto calendar = b.Folder("Firmenkalender", ItemType::Appointment).entryId;
    w.SingleAppointments(calendar, 150, -60, 120);
    w.RecurringAppointments(calendar);
    w.Tasks(b.Folder("Gemeinsame Aufgaben", ItemType::Task).entryId, 50, -30, 30);
    tx.Commit();
}

} // namespace

std::shared_ptr<Profile> GenerateSampleProfile(const std::filesystem::path& folder,
                                               const SampleProfileOptions& options)
{
    Rng rng(options.seed);
    const std::int32_t anchor = DayFromCivil(options.anchor);
    auto profile = Profile::Create(folder);
    profile->SetUserName("Jürgen Weiß");
    Personal(
        *profile->CreateStore("Persönliche Ordner", StoreKind::UnicodePersonal, true, Uid(rng)),
        rng, anchor, options);
    Archive(*profile->CreateStore("Archiv", StoreKind::AnsiPersonal, false, Uid(rng)), rng, anchor);
    Public(*profile->CreateStore("Öffentliche Ordner", StoreKind::PublicFolders, false, Uid(rng)),
           rng, anchor);
    if (!options.dataFolder.empty() && !options.reportsXml.empty())
        WriteSampleReports(*profile, options.anchor, options.dataFolder, options.reportsXml,
                           options.language);
    return profile;
}

} // namespace platform::store
