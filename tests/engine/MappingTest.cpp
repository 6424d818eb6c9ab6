#include "ReadFixture.h"

#include <gtest/gtest.h>

namespace engine::test {

namespace {

class MappingTest : public ReadFixture
{
protected:
    // One column per mapping code, plus a named and a missing date property.
    void AllCodeColumns(std::int16_t startLid, const char* startSet)
    {
        SubjectColumn();
        Column("NamedStart", 0, PT_SYSTIME, 0, rt::Variant(startLid), startSet);
        Column("Missing", 0x00390040, PT_SYSTIME);
        const char* names[] = {"",          "Folder", "Icon",      "Start",   "End",     "Duration",
                               "Recurring", "Code7",  "Code8",     "Owner",   "Creator", "Modifier",
                               "Total",     "Actual", "ClipStart", "ClipEnd", "Code16"};
        for (long code = 1; code <= 16; ++code)
            Column(names[code], 0, PT_LONG, code);
    }

    std::shared_ptr<Record> OnlyRecord(const st::FolderInfo& folder, const st::Store& store)
    {
        FolderDataList list;
        list.Add(Entry(folder, &store));
        Root().ReadRecords(list);
        EXPECT_EQ(Root().Records()->Count(), 1);
        return Root().Records()->Item(1);
    }

    static rt::Variant V(const std::shared_ptr<Record>& r, const char* key)
    {
        return r->Fields(rt::Variant(key))->Value();
    }

    static std::int16_t Lid(std::uint32_t lid) { return static_cast<std::int16_t>(lid); }
};

} // namespace

TEST_F(MappingTest, AppointmentCodes)
{
    for (st::Store* pStore : {&Store(), &ArchiveStore()}) {
        st::StoreBuilder b(*pStore);
        const auto folder = b.Folder("Termine", st::ItemType::Appointment);
        const auto item =
            b.Appointment(folder.entryId, "Termin", L(2024, 5, 20, 10), L(2024, 5, 20, 11, 30))
                .Set(st::props::PR_CREATOR_NAME, st::PropValue{"Anna Böhm"})
                .Set(st::props::PR_LAST_MODIFIER_NAME, st::PropValue{"Ömer Kaya"});
        m_root.reset();
        AllCodeColumns(Lid(st::props::LID_AppointmentStart), mapi::PSETID_Appointment);
        const auto r = OnlyRecord(folder, *pStore);
        ASSERT_NE(r, nullptr);
        EXPECT_EQ(r->Class(), 1);
        EXPECT_EQ(r->EntryID(), item.EntryId());
        EXPECT_EQ(r->StoreID(), pStore->EntryId());
        EXPECT_EQ(V(r, "Subject"), rt::Variant("Termin"));
        EXPECT_EQ(V(r, "NamedStart"), rt::Variant(At(2024, 5, 20, 10)));
        EXPECT_TRUE(V(r, "Missing").IsEmpty());
        EXPECT_EQ(V(r, "Folder"), rt::Variant("Termine"));
        EXPECT_EQ(V(r, "Icon"), rt::Variant(std::int16_t{1024}));
        EXPECT_EQ(V(r, "Start"), rt::Variant(At(2024, 5, 20, 10)));
        EXPECT_EQ(V(r, "End"), rt::Variant(At(2024, 5, 20, 11, 30)));
        EXPECT_EQ(V(r, "Duration"), rt::Variant(std::int32_t{90}));
        EXPECT_EQ(V(r, "Recurring"), rt::Variant(false));
        EXPECT_EQ(V(r, "Owner"),
                  rt::Variant(pStore == &Store() ? "Jörg Müller" : "Archiv Besitzer"));
        EXPECT_EQ(V(r, "Creator"), rt::Variant("Anna Böhm"));
        EXPECT_EQ(V(r, "Modifier"), rt::Variant("Ömer Kaya"));
        EXPECT_EQ(V(r, "ClipStart"), rt::Variant(rt::Date()));
        EXPECT_EQ(V(r, "ClipEnd"), rt::Variant(rt::Date()));
        for (const char* unset : {"Code7", "Code8", "Total", "Actual", "Code16"})
            EXPECT_TRUE(V(r, unset).IsEmpty()) << unset;
    }
}

TEST_F(MappingTest, TaskCodes)
{
    const auto utc = [](st::LocalTime t) { return st::PropValue{st::LocalToUtc(t)}; };
    const auto item =
        B().Task(m_tasks.entryId, "Bericht")
            .SetLid(st::PSETID_Task, st::props::LID_TaskStartDate, utc(L(2024, 5, 13)))
            .SetLid(st::PSETID_Common, st::props::LID_CommonStart, utc(L(2024, 5, 13)))
            .SetLid(st::PSETID_Task, st::props::LID_TaskDueDate, utc(L(2024, 5, 17)))
            .SetLid(st::PSETID_Task, st::props::LID_TaskDateCompleted, utc(L(2024, 5, 16)))
            .SetLid(st::PSETID_Task, st::props::LID_TaskTotalWork, st::PropValue{std::int32_t{120}})
            .SetLid(st::PSETID_Task, st::props::LID_TaskActualWork, st::PropValue{std::int32_t{90}})
            .Set(st::props::PR_CREATOR_NAME, st::PropValue{"Anna Böhm"});
    AllCodeColumns(Lid(st::props::LID_CommonStart), mapi::PSETID_Common);
    Column("Due", 0, PT_SYSTIME, 0, rt::Variant(Lid(st::props::LID_TaskDueDate)), mapi::PSETID_Task,
           "DueDate");
    const auto r = OnlyRecord(m_tasks, Store());
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->Class(), 3);
    EXPECT_EQ(r->EntryID(), item.EntryId());
    EXPECT_EQ(V(r, "NamedStart"), rt::Variant(At(2024, 5, 13)));
    EXPECT_EQ(V(r, "Due"), rt::Variant(At(2024, 5, 17)));
    EXPECT_EQ(V(r, "Folder"), rt::Variant(m_tasks.name));
    EXPECT_EQ(V(r, "Icon"), rt::Variant(std::int16_t{1280}));
    EXPECT_EQ(V(r, "Start"), rt::Variant(At(2024, 5, 13)));
    EXPECT_EQ(V(r, "End"), rt::Variant(At(2024, 5, 16)));
    EXPECT_EQ(V(r, "Duration"), rt::Variant(std::int32_t{120}));
    EXPECT_EQ(V(r, "Total"), rt::Variant(std::int32_t{120}));
    EXPECT_EQ(V(r, "Actual"), rt::Variant(std::int32_t{90}));
    EXPECT_EQ(V(r, "Recurring"), rt::Variant(false));
    EXPECT_EQ(V(r, "Owner"), rt::Variant("Jörg Müller"));
    EXPECT_EQ(V(r, "Creator"), rt::Variant("Anna Böhm"));
    EXPECT_TRUE(V(r, "Modifier").IsEmpty());
    for (const char* unset : {"Code7", "Code8", "ClipStart", "ClipEnd", "Code16", "Missing"})
        EXPECT_TRUE(V(r, unset).IsEmpty()) << unset;
}

TEST_F(MappingTest, JournalCodes)
{
    const auto item =
        B().JournalEntry(m_journal.entryId, "Anruf Müller", "Telefonanruf", L(2024, 5, 16, 9), 25)
            .Set(st::props::PR_LAST_MODIFIER_NAME, st::PropValue{"Ömer Kaya"});
    AllCodeColumns(Lid(st::props::LID_LogStart), mapi::PSETID_Log);
    const auto r = OnlyRecord(m_journal, Store());
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->Class(), 4);
    EXPECT_EQ(r->EntryID(), item.EntryId());
    EXPECT_EQ(V(r, "NamedStart"), rt::Variant(At(2024, 5, 16, 9)));
    EXPECT_EQ(V(r, "Folder"), rt::Variant(m_journal.name));
    EXPECT_EQ(V(r, "Icon"), rt::Variant(std::int16_t{1989}));
    EXPECT_EQ(V(r, "Start"), rt::Variant(At(2024, 5, 16, 9)));
    EXPECT_EQ(V(r, "End"), rt::Variant(At(2024, 5, 16, 9, 25)));
    EXPECT_EQ(V(r, "Duration"), rt::Variant(std::int32_t{25}));
    EXPECT_EQ(V(r, "Owner"), rt::Variant("Jörg Müller"));
    EXPECT_EQ(V(r, "Modifier"), rt::Variant("Ömer Kaya"));
    EXPECT_TRUE(V(r, "Creator").IsEmpty());
    for (const char* unset : {"Recurring", "Code7", "Code8", "Total", "Actual", "ClipStart",
                              "ClipEnd", "Code16", "Missing"})
        EXPECT_TRUE(V(r, unset).IsEmpty()) << unset;
}

} // namespace engine::test
