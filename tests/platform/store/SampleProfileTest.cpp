#include "platform/store/SampleProfile.h"
#include "platform/store/KnownProperties.h"
#include "tests/platform/store/StoreFixture.h"

#include <gtest/gtest.h>

#include <fstream>

#include <map>
#include <set>
#include <sstream>

namespace platform::store::test {
namespace {

std::string Text(const PropValue& v)
{
    struct Printer
    {
        std::string operator()(std::int32_t x) { return "L" + std::to_string(x); }
        std::string operator()(double x) { return "D" + std::to_string(x); }
        std::string operator()(bool x) { return x ? "T" : "F"; }
        std::string operator()(const Currency& x) { return "C" + std::to_string(x.tenThousandths); }
        std::string operator()(const SysTime& x) { return "S" + std::to_string(x.seconds); }
        std::string operator()(const std::string& x) { return "\"" + x + "\""; }
        std::string operator()(const Binary& x) { return "B" + std::to_string(x.bytes.size()); }
        std::string operator()(const MultiString& x)
        {
            std::string s = "[";
            for (const auto& e : x)
                s += e + "|";
            return s + "]";
        }
    };
    return std::visit(Printer{}, v);
}

void DumpItem(Store& store, const std::string& id, std::ostream& out)
{
    const auto item = store.GetItem(id);
    out << " item " << item.entryId << " " << item.messageClass << " " << int(item.kind) << "\n";
    for (const auto& [tag, value] : store.ItemProperties(id))
        out << "  " << tag << "=" << Text(value) << "\n";
    for (const auto& a : store.Attachments(id)) {
        out << "  att " << a.number << " " << a.fileName << " " << a.data.size() << "\n";
        if (!a.embeddedEntryId.empty())
            DumpItem(store, a.embeddedEntryId, out);
    }
    for (const auto& r : store.Recipients(id))
        out << "  rcp " << int(r.type) << " " << r.name << " " << r.address << "\n";
    if (const auto p = store.GetRecurrence(id)) {
        out << "  rec " << int(p->type) << " " << p->interval << " " << p->dayOfWeekMask << " "
            << p->dayOfMonth << " " << p->monthOfYear << " " << p->instance << " "
            << p->patternStartDay << " " << p->startMinute << " " << p->durationMinutes << " "
            << int(p->end) << " " << p->patternEndDay << " " << p->occurrenceCount << "\n";
        for (const auto& e : p->exceptions) {
            out << "  exc " << e.originalDay << " " << e.deleted << " " << e.start.seconds << "\n";
            if (!e.itemEntryId.empty())
                DumpItem(store, e.itemEntryId, out);
        }
    }
}

// The whole logical content of a profile as text.
std::string Dump(Profile& profile)
{
    std::ostringstream out;
    out << "user " << profile.UserName() << "\n";
    for (const auto& info : profile.Stores()) {
        auto store = profile.OpenStore(info.entryId);
        out << "store " << info.entryId << " " << info.name << " " << int(info.kind) << " "
            << info.isDefault << "\n";
        for (const auto& [tag, value] : store->Properties())
            out << " prop " << tag << "=" << Text(value) << "\n";
        for (const auto& [id, name] : store->NamedProperties())
            out << " named " << id << " " << name.propertySet << " "
                << (name.id.index() == 0 ? std::to_string(std::get<0>(name.id))
                                         : std::get<1>(name.id))
                << "\n";
        for (const auto& f : store->AllFolders()) {
            out << "folder " << f.entryId << " " << f.parentEntryId << " " << f.name << " "
                << int(f.defaultItemType) << " " << f.containerClass << " " << int(f.role) << "\n";
            for (const auto& u : store->UserFields(f.entryId))
                out << " field " << u.propertySet << " " << u.type << " " << u.name << "\n";
            for (const auto& item : store->Items(f.entryId))
                DumpItem(*store, item.entryId, out);
        }
    }
    return out.str();
}

class SampleProfileTest : public StoreFixture
{
protected:
    static SampleProfileOptions Options(std::uint64_t seed)
    {
        SampleProfileOptions o;
        o.seed = seed;
        o.anchor = {2024, 2, 20};
        o.calendarItems = 300;
        return o;
    }
};

TEST_F(SampleProfileTest, SameSeedGivesTheSameProfileAndAnotherSeedDoesNot)
{
    auto a = GenerateSampleProfile(Dir() / "a", Options(7));
    auto b = GenerateSampleProfile(Dir() / "b", Options(7));
    auto c = GenerateSampleProfile(Dir() / "c", Options(8));
    const auto dumpA = Dump(*a);
    EXPECT_GT(dumpA.size(), 100000u);
    EXPECT_EQ(dumpA, Dump(*b));
    EXPECT_NE(dumpA, Dump(*c));
    // Reopening reads the same content.
    a.reset();
    EXPECT_EQ(Dump(*Profile::Open(Dir() / "a")), dumpA);
}

// A store of the sample whose items table is gone, or whose pages are overwritten, still
// opens: the checks of its kept counts and reaches cannot read them, and only the reads that
// need them fail.
TEST_F(SampleProfileTest, ADamagedStoreOfItStillOpens)
{
    for (const bool pages : {false, true}) {
        SCOPED_TRACE(pages ? "pages" : "table");
        const auto folder = Dir() / (pages ? "pages" : "table");
        std::filesystem::path file;
        std::string id;
        {
            auto profile = GenerateSampleProfile(folder, Options(7));
            id = profile->DefaultStore()->EntryId();
            file = profile->DefaultStore()->File();
        }
        if (pages) {
            const auto size = std::filesystem::file_size(file);
            std::fstream out(file, std::ios::in | std::ios::out | std::ios::binary);
            out.seekp(static_cast<std::streamoff>(size / 4096 / 3 * 4096));
            out << std::string(size / 4096 / 3 * 4096, '\x5A');
        } else {
            Exec(file, "DROP TABLE items");
        }
        std::shared_ptr<Store> store;
        ASSERT_NO_THROW(store = Profile::Open(folder)->OpenStore(id));
        EXPECT_FALSE(store->AllFolders().empty());
    }
}

TEST_F(SampleProfileTest, HoldsStoresFoldersAndItemsOfEveryKind)
{
    auto profile = GenerateSampleProfile(Dir() / "p", Options(1));
    const auto stores = profile->Stores();
    ASSERT_GE(stores.size(), 2u);
    EXPECT_EQ(stores[0].kind, StoreKind::UnicodePersonal);
    EXPECT_TRUE(stores[0].isDefault);
    std::set<StoreKind> kinds;
    std::size_t total = 0;
    for (const auto& s : stores) {
        kinds.insert(s.kind);
        auto store = profile->OpenStore(s.entryId);
        EXPECT_TRUE(store->GetProperty(props::PR_MAILBOX_OWNER_NAME).has_value());
        for (const auto& f : store->AllFolders())
            total += store->ItemCount(f.entryId);
    }
    EXPECT_GE(kinds.size(), 2u);
    EXPECT_GE(total, 2000u);

    auto store = profile->DefaultStore();
    const auto master = store->GetProperty(props::PR_MASTER_CATEGORY_LIST);
    ASSERT_TRUE(master);
    EXPECT_NE(std::get<std::string>(*master).find("Geschäftlich"), std::string::npos);
    for (const auto role :
         {FolderRole::Inbox, FolderRole::SentMail, FolderRole::Drafts, FolderRole::Outbox,
          FolderRole::DeletedItems, FolderRole::Calendar, FolderRole::Contacts, FolderRole::Journal,
          FolderRole::Notes, FolderRole::Tasks})
        EXPECT_TRUE(store->DefaultFolder(role).has_value()) << int(role);

    // Tasks in every status, with and without completion.
    const auto statusTag =
        MakeTag(*store->GetIdFromName(NamedProperty::Lid(PSETID_Task, 0x8101)), PT_LONG);
    const auto keywordsTag = MakeTag(
        *store->GetIdFromName(NamedProperty::Name(PS_PUBLIC_STRINGS, "Keywords")), PT_MV_STRING8);
    const PropTag cols[] = {statusTag, keywordsTag};
    std::set<std::int32_t> statuses;
    std::set<std::string> categories;
    for (const auto& row :
         store->ReadTable(store->DefaultFolder(FolderRole::Tasks)->entryId, cols)) {
        statuses.insert(std::get<std::int32_t>(row.values[0].value()));
        for (const auto& c : std::get<MultiString>(row.values[1].value()))
            categories.insert(c);
    }
    EXPECT_EQ(statuses, (std::set<std::int32_t>{0, 1, 2, 3, 4}));
    EXPECT_TRUE(categories.count("Büro"));
    EXPECT_TRUE(categories.count("Geschäftlich"));

    // Recurring appointments of every type, with deleted and modified occurrences.
    std::set<RecurrenceType> types;
    int deleted = 0, modified = 0;
    for (const auto& item : store->Items(store->DefaultFolder(FolderRole::Calendar)->entryId)) {
        if (const auto p = store->GetRecurrence(item.entryId)) {
            types.insert(p->type);
            for (const auto& e : p->exceptions)
                (e.deleted ? deleted : modified)++;
        }
    }
    EXPECT_EQ(types.size(), 6u);
    EXPECT_GT(deleted, 2);
    EXPECT_GT(modified, 2);
}

// Every property that a report column can show is on some item of its class.
TEST_F(SampleProfileTest, SentMailsWereSubmittedAndDraftsNot)
{
    auto profile = GenerateSampleProfile(Dir() / "p", Options(1));
    auto store = profile->DefaultStore();
    const PropTag cols[] = {props::PR_MESSAGE_FLAGS, props::PR_CLIENT_SUBMIT_TIME};
    for (const auto& [role, unsent] :
         {std::pair{FolderRole::SentMail, false}, std::pair{FolderRole::Drafts, true}}) {
        const auto rows = store->ReadTable(store->DefaultFolder(role)->entryId, cols);
        ASSERT_FALSE(rows.empty()) << int(role);
        for (const auto& row : rows) {
            const auto& flags = row.values[0];
            const bool flaggedUnsent = flags && (std::get<std::int32_t>(*flags) & 0x8) != 0;
            EXPECT_EQ(flaggedUnsent, unsent) << int(role);
            EXPECT_EQ(row.values[1].has_value(), !unsent) << int(role);
        }
    }
}

TEST_F(SampleProfileTest, EveryReportPropertyHasDataOnItsClass)
{
    struct Named
    {
        std::string_view set;
        std::uint32_t lid;
        std::uint16_t type;
    };
    const std::vector<PropTag> tagged = {props::PR_BODY,
                                         props::PR_CLIENT_SUBMIT_TIME,
                                         props::PR_CONVERSATION_TOPIC,
                                         props::PR_CREATION_TIME,
                                         props::PR_ENTRYID,
                                         props::PR_STORE_ENTRYID,
                                         props::PR_HASATTACH,
                                         props::PR_IMPORTANCE,
                                         props::PR_LAST_MODIFICATION_TIME,
                                         props::PR_MESSAGE_CLASS,
                                         props::PR_MESSAGE_DELIVERY_TIME,
                                         props::PR_MESSAGE_SIZE,
                                         props::PR_SENSITIVITY,
                                         props::PR_SENT_REPRESENTING_EMAIL_ADDRESS,
                                         props::PR_SENT_REPRESENTING_NAME,
                                         props::PR_SUBJECT,
                                         props::PR_CREATOR_NAME,
                                         props::PR_LAST_MODIFIER_NAME};
    const std::vector<PropTag> recipients = {props::PR_DISPLAY_BCC, props::PR_DISPLAY_CC,
                                             props::PR_DISPLAY_TO};
    const std::vector<PropTag> mailOnly = {
        props::PR_PRIORITY, props::PR_ORIGINATOR_DELIVERY_REPORT_REQUESTED,
        props::PR_READ_RECEIPT_REQUESTED, props::PR_RECEIVED_BY_EMAIL_ADDRESS,
        props::PR_RECEIVED_BY_NAME};
    const std::vector<Named> common = {{PSETID_Common, 0x8506, PT_BOOLEAN},
                                       {PSETID_Common, 0x8539, PT_MV_STRING8},
                                       {PSETID_Common, 0x853A, PT_MV_STRING8}};
    const std::vector<Named> reminder = {{PSETID_Common, 0x8503, PT_BOOLEAN},
                                         {PSETID_Common, 0x8502, PT_SYSTIME}};
    const std::vector<Named> billing = {{PSETID_Common, 0x8534, PT_STRING8},
                                        {PSETID_Common, 0x8535, PT_STRING8}};
    const std::vector<Named> appointment = {
        {PSETID_Appointment, 0x8208, PT_STRING8}, {PSETID_Appointment, 0x8215, PT_BOOLEAN},
        {PSETID_Appointment, 0x8205, PT_LONG},    {PSETID_Appointment, 0x8214, PT_LONG},
        {PSETID_Appointment, 0x8217, PT_LONG},    {PSETID_Appointment, 0x8218, PT_LONG},
        {PSETID_Appointment, 0x820D, PT_SYSTIME}, {PSETID_Appointment, 0x820E, PT_SYSTIME},
        {PSETID_Appointment, 0x8213, PT_LONG},    {PSETID_Appointment, 0x8223, PT_BOOLEAN},
        {PSETID_Appointment, 0x8235, PT_SYSTIME}, {PSETID_Appointment, 0x8236, PT_SYSTIME}};
    const std::vector<Named> task = {
        {PSETID_Task, 0x8101, PT_LONG},      {PSETID_Task, 0x8102, PT_DOUBLE},
        {PSETID_Task, 0x8105, PT_SYSTIME},   {PSETID_Task, 0x8110, PT_LONG},
        {PSETID_Task, 0x8111, PT_LONG},      {PSETID_Task, 0x811C, PT_BOOLEAN},
        {PSETID_Task, 0x8129, PT_LONG},      {PSETID_Task, 0x812A, PT_LONG},
        {PSETID_Task, 0x8127, PT_STRING8},   {PSETID_Task, 0x8121, PT_STRING8},
        {PSETID_Task, 0x811F, PT_STRING8},   {PSETID_Task, 0x8103, PT_BOOLEAN},
        {PSETID_Task, 0x8126, PT_BOOLEAN},   {PSETID_Task, 0x810F, PT_SYSTIME},
        {PSETID_Common, 0x8516, PT_SYSTIME}, {PSETID_Common, 0x8517, PT_SYSTIME}};
    const std::vector<Named> journal = {{PSETID_Log, 0x8712, PT_STRING8},
                                        {PSETID_Log, 0x8706, PT_SYSTIME},
                                        {PSETID_Log, 0x8708, PT_SYSTIME},
                                        {PSETID_Log, 0x8707, PT_LONG}};

    auto profile = GenerateSampleProfile(Dir() / "p", Options(3));
    auto store = profile->DefaultStore();
    auto check = [&](FolderRole role, std::vector<PropTag> tags,
                     std::initializer_list<const std::vector<Named>*> named) {
        for (const auto* list : named)
            for (const auto& n : *list) {
                const auto id = store->GetIdFromName(NamedProperty::Lid(n.set, n.lid));
                ASSERT_TRUE(id) << std::hex << n.lid;
                tags.push_back(MakeTag(*id, n.type));
            }
        tags.push_back(
            MakeTag(*store->GetIdFromName(NamedProperty::Name(PS_PUBLIC_STRINGS, "Keywords")),
                    PT_MV_STRING8));
        const auto rows = store->ReadTable(store->DefaultFolder(role)->entryId, tags);
        ASSERT_FALSE(rows.empty());
        for (std::size_t c = 0; c < tags.size(); ++c) {
            bool any = false;
            for (const auto& r : rows)
                any = any || r.values[c].has_value();
            EXPECT_TRUE(any) << "role " << int(role) << " tag 0x" << std::hex << tags[c];
        }
        if (role == FolderRole::Tasks || role == FolderRole::Calendar) {
            EXPECT_TRUE(std::any_of(rows.begin(), rows.end(), [&](const TableRow& r) {
                return std::get<bool>(*r.values[6]);
            })) << "no item with attachment";
        }
    };
    auto with = [](std::vector<PropTag> a, const std::vector<PropTag>& b) {
        a.insert(a.end(), b.begin(), b.end());
        return a;
    };
    check(FolderRole::Calendar, with(tagged, recipients), {&common, &reminder, &appointment});
    check(FolderRole::Tasks, with(tagged, recipients), {&common, &reminder, &billing, &task});
    check(FolderRole::Journal, tagged, {&common, &journal});
    check(FolderRole::Inbox, with(with(tagged, recipients), mailOnly),
          {&common, &reminder, &billing});
}

} // namespace
} // namespace platform::store::test
