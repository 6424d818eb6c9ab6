#include "MapiFixture.h"

#include "platform/mapi/Constants.h"
#include "platform/mapi/Folder.h"
#include "platform/mapi/Items.h"
#include "platform/mapi/Message.h"
#include "platform/mapi/Restriction.h"
#include "platform/mapi/Table.h"
#include "platform/mapi/TableFilter.h"
#include "platform/store/LocalTime.h"

#include <functional>
#include <set>

namespace platform::mapi::test {

namespace rt = platform::runtime;

namespace {

rt::Date UtcDate(int y, int m, int d, int h = 0, int min = 0)
{
    const auto utc = st::LocalToUtc(st::MakeLocalTime(y, m, d, h, min));
    return rt::Date::FromLinear(static_cast<double>(utc.seconds) / 86400.0 + 25569.0);
}

} // namespace

/// Four tasks whose properties cover each kind of test; the third lacks every tested property.
class TableTest : public MapiFixture
{
protected:
    void SetUp() override
    {
        MapiFixture::SetUp();
        const auto tasks = Folder(st::FolderRole::Tasks).entryId;
        m_status = Named(st::PSETID_Task.data(), 0x8101, st::PT_LONG);
        m_recurring = Named(st::PSETID_Task.data(), 0x8126, st::PT_BOOLEAN);
        m_due = Named(st::PSETID_Task.data(), 0x8105, st::PT_SYSTIME);
        m_categories = static_cast<std::int32_t>(Builder().NamedTag(
            st::NamedProperty::Name(st::PS_PUBLIC_STRINGS, "Keywords"), st::PT_MV_STRING8));
        auto due = [](int m, int d) { return st::LocalToUtc(st::MakeLocalTime(2026, m, d)); };
        Builder()
            .Task(tasks, "Angebot für Müller GmbH")
            .Set(m_status, 0)
            .Set(m_recurring, false)
            .Set(m_due, due(3, 10))
            .Categories({"Büro", "Kunden"});
        Builder()
            .Task(tasks, "STRASSENBAU prüfen")
            .Set(m_status, 2)
            .Set(m_recurring, true)
            .Set(m_due, due(4, 1))
            .Categories({"Straße"});
        const auto third = Builder().Task(tasks, "Reisekosten").EntryId();
        for (auto tag : {m_status, m_recurring})
            Store().DeleteItemProperty(third, static_cast<st::PropTag>(tag));
        Builder()
            .Task(tasks, "müller anrufen")
            .Set(m_status, 2)
            .Set(m_recurring, false)
            .Set(m_due, due(3, 28))
            .Categories({"ÄRGER", "kunden"});
        m_folder = LoggedOnSession()->GetDefaultFolder(olFolderTasks);
    }

    /// The positions (1-4) of the tasks that pass the tree `build` makes under a root AND.
    std::set<int> Passing(const std::function<void(Restriction&)>& build)
    {
        Table table;
        table.SetItem(m_folder->GetItems());
        auto filter = table.Filter();
        filter->Clear();
        build(*filter->SetKind(RES_AND));
        filter->Apply();
        std::set<int> result;
        auto items = m_folder->GetItems();
        for (long i = 1; i <= items->Count(); ++i)
            result.insert(Position(items->Item(i)->Subject()));
        return result;
    }

    static int Position(const std::string& subject)
    {
        const char* subjects[] = {"Angebot für Müller GmbH", "STRASSENBAU prüfen", "Reisekosten",
                                  "müller anrufen"};
        for (int i = 0; i < 4; ++i)
            if (subject == subjects[i])
                return i + 1;
        return 0;
    }

    std::int32_t m_status = 0, m_recurring = 0, m_due = 0, m_categories = 0;
    std::shared_ptr<mapi::Folder> m_folder;
};

namespace {

std::function<void(Restriction&)> Exist(std::int32_t tag)
{
    return [tag](Restriction& root) { root.Add(RES_EXIST)->SetUlPropTag(tag); };
}

void AddProperty(Restriction& parent, long relop, std::int32_t tag, rt::Variant value)
{
    auto leaf = parent.Add(RES_PROPERTY);
    leaf->SetRelop(relop);
    leaf->SetUlPropTag(tag);
    leaf->SetLpProp(value);
}

void AddContent(Restriction& parent, long fuzzy, std::int32_t tag, const char* text)
{
    auto leaf = parent.Add(RES_CONTENT);
    leaf->SetUlFuzzyLevel(fuzzy);
    leaf->SetUlPropTag(tag);
    leaf->SetLpProp(rt::Variant(text));
}

} // namespace

TEST_F(TableTest, ExistLeavesAndTheTagZero)
{
    EXPECT_EQ(Passing(Exist(m_status)), (std::set<int>{1, 2, 4}));
    EXPECT_EQ(Passing(Exist(m_categories)), (std::set<int>{1, 2, 4}));
    EXPECT_EQ(Passing(Exist(PR_SUBJECT)), (std::set<int>{1, 2, 3, 4}));
    // A tag of 0 names no property: it never exists, and a test on it never passes.
    EXPECT_EQ(Passing(Exist(0)), (std::set<int>{}));
    EXPECT_EQ(Passing([](Restriction& r) { r.Add(RES_NOT)->SetKind(RES_EXIST)->SetUlPropTag(0); }),
              (std::set<int>{1, 2, 3, 4}));
    EXPECT_EQ(Passing([](Restriction& r) { AddProperty(r, RELOP_NE, 0, rt::Variant(1)); }),
              (std::set<int>{}));
    EXPECT_EQ(Passing([](Restriction& r) { AddContent(r, FL_SUBSTRING, 0, "a"); }),
              (std::set<int>{}));
}

TEST_F(TableTest, PropertyLeavesWithEveryOperator)
{
    struct Case
    {
        const char* name;
        long relop;
        rt::Variant value;
        std::set<int> expected;
    };
    const std::vector<Case> cases = {
        {"LT 2", RELOP_LT, rt::Variant(2), {1}},
        {"LE 0", RELOP_LE, rt::Variant(0), {1}},
        {"GT 0", RELOP_GT, rt::Variant(0), {2, 4}},
        {"GE 2", RELOP_GE, rt::Variant(2), {2, 4}},
        {"EQ 2", RELOP_EQ, rt::Variant(2), {2, 4}},
        // A missing property passes no property test, RELOP_NE included.
        {"NE 2", RELOP_NE, rt::Variant(2), {1}},
        {"EQ 2.0 (Double)", RELOP_EQ, rt::Variant(2.0), {2, 4}},
        // A text never equals a number.
        {"EQ \"2\"", RELOP_EQ, rt::Variant("2"), {}},
        {"NE \"2\"", RELOP_NE, rt::Variant("2"), {1, 2, 4}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Passing([&](Restriction& r) { AddProperty(r, c.relop, m_status, c.value); }),
                  c.expected);
    }
}

TEST_F(TableTest, PropertyLeavesOnBooleansAndDates)
{
    EXPECT_EQ(Passing([&](Restriction& r) { AddProperty(r, RELOP_EQ, m_recurring, true); }),
              (std::set<int>{2}));
    EXPECT_EQ(Passing([&](Restriction& r) { AddProperty(r, RELOP_EQ, m_recurring, false); }),
              (std::set<int>{1, 4}));
    EXPECT_EQ(Passing([&](Restriction& r) { AddProperty(r, RELOP_NE, m_recurring, true); }),
              (std::set<int>{1, 4}));
    // The number -1 is no Boolean: a flag never equals it.
    EXPECT_EQ(Passing([&](Restriction& r) { AddProperty(r, RELOP_EQ, m_recurring, -1); }),
              (std::set<int>{}));

    // Dates compare in UTC: the due date of the fourth task is local midnight of 28 March.
    const auto boundary = UtcDate(2026, 3, 28);
    EXPECT_EQ(Passing([&](Restriction& r) { AddProperty(r, RELOP_LE, m_due, boundary); }),
              (std::set<int>{1, 4}));
    EXPECT_EQ(Passing([&](Restriction& r) { AddProperty(r, RELOP_LT, m_due, boundary); }),
              (std::set<int>{1}));
    EXPECT_EQ(Passing([&](Restriction& r) { AddProperty(r, RELOP_GE, m_due, boundary); }),
              (std::set<int>{2, 4}));
    EXPECT_EQ(Passing([&](Restriction& r) { AddProperty(r, RELOP_GT, m_due, boundary); }),
              (std::set<int>{2}));
    EXPECT_EQ(Passing([&](Restriction& r) { AddProperty(r, RELOP_EQ, m_due, boundary); }),
              (std::set<int>{4}));
}

TEST_F(TableTest, ContentLeavesWithFuzzyLevelsAndGermanCaseFolding)
{
    struct Case
    {
        long fuzzy;
        bool onCategories;
        const char* text;
        std::set<int> expected;
    };
    const std::vector<Case> cases = {
        {FL_FULLSTRING, false, "Reisekosten", {3}},
        {FL_FULLSTRING, false, "reisekosten", {}},
        {FL_FULLSTRING | FL_IGNORECASE, false, "REISEKOSTEN", {3}},
        {FL_FULLSTRING, false, "Reise", {}},
        {FL_SUBSTRING, false, "müller", {4}},
        {FL_SUBSTRING | FL_IGNORECASE, false, "MÜLLER", {1, 4}},
        // Full case folding: "ß" folds to "ss", so "straße" is found in "STRASSENBAU".
        {FL_SUBSTRING | FL_IGNORECASE, false, "straße", {2}},
        {FL_SUBSTRING, false, "straße", {}},
        {FL_PREFIX, false, "Angebot", {1}},
        {FL_PREFIX | FL_IGNORECASE, false, "ANGEBOT FÜR", {1}},
        {FL_PREFIX, false, "GmbH", {}},
        // Lists: a leaf passes when any one value does.
        {FL_FULLSTRING, true, "Kunden", {1}},
        {FL_FULLSTRING | FL_IGNORECASE, true, "kunden", {1, 4}},
        {FL_FULLSTRING | FL_IGNORECASE, true, "ärger", {4}},
        {FL_SUBSTRING | FL_IGNORECASE, true, "STRASS", {2}},
        {FL_PREFIX | FL_IGNORECASE, true, "bü", {1}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.text) + " fuzzy " + std::to_string(c.fuzzy));
        const auto tag = c.onCategories ? m_categories : PR_SUBJECT;
        EXPECT_EQ(Passing([&](Restriction& r) { AddContent(r, c.fuzzy, tag, c.text); }),
                  c.expected);
    }
    // A content test on a number never passes.
    EXPECT_EQ(Passing([&](Restriction& r) { AddContent(r, FL_SUBSTRING, m_status, "2"); }),
              (std::set<int>{}));
}

TEST_F(TableTest, CompoundNodes)
{
    // AND(EXIST(status), status = 2)
    EXPECT_EQ(Passing([&](Restriction& r) {
                  r.Add(RES_EXIST)->SetUlPropTag(m_status);
                  AddProperty(r, RELOP_EQ, m_status, 2);
              }),
              (std::set<int>{2, 4}));
    // OR(AND(EXIST(status), status <> 2), NOT(EXIST(status))): items without status pass.
    EXPECT_EQ(Passing([&](Restriction& r) {
                  auto any = r.Add(RES_OR);
                  auto both = any->Add(RES_AND);
                  both->Add(RES_EXIST)->SetUlPropTag(m_status);
                  AddProperty(*both, RELOP_NE, m_status, 2);
                  any->Add(RES_NOT)->SetKind(RES_EXIST)->SetUlPropTag(m_status);
              }),
              (std::set<int>{1, 3}));
    // Categories not containing both "kunden" and "büro", or none at all.
    EXPECT_EQ(Passing([&](Restriction& r) {
                  auto any = r.Add(RES_OR);
                  auto has = any->Add(RES_AND);
                  has->Add(RES_EXIST)->SetUlPropTag(m_categories);
                  auto group = has->Add(RES_NOT)->SetKind(RES_AND);
                  AddContent(*group, FL_FULLSTRING | FL_IGNORECASE, m_categories, "kunden");
                  AddContent(*group, FL_FULLSTRING | FL_IGNORECASE, m_categories, "büro");
                  any->Add(RES_NOT)->SetKind(RES_EXIST)->SetUlPropTag(m_categories);
              }),
              (std::set<int>{2, 3, 4}));
    // Empty nodes: AND passes everything, OR nothing, a NOT without child everything.
    EXPECT_EQ(Passing([](Restriction&) {}), (std::set<int>{1, 2, 3, 4}));
    EXPECT_EQ(Passing([](Restriction& r) { r.Add(RES_AND); }), (std::set<int>{1, 2, 3, 4}));
    EXPECT_EQ(Passing([](Restriction& r) { r.Add(RES_OR); }), (std::set<int>{}));
    EXPECT_EQ(Passing([](Restriction& r) { r.Add(RES_NOT); }), (std::set<int>{1, 2, 3, 4}));
}

TEST_F(TableTest, MembersOfAnotherKindAreRefused)
{
    Restriction leaf(RES_EXIST);
    EXPECT_EQ(RaisedNumber([&] { leaf.Add(RES_EXIST); }), rt::errors::NotSupported);
    EXPECT_EQ(RaisedNumber([&] { leaf.SetRelop(RELOP_EQ); }), rt::errors::NotSupported);
    Restriction node(RES_AND);
    EXPECT_EQ(RaisedNumber([&] { node.SetKind(RES_EXIST); }), rt::errors::NotSupported);
    EXPECT_EQ(RaisedNumber([&] { node.SetUlPropTag(PR_SUBJECT); }), rt::errors::NotSupported);
    EXPECT_EQ(RaisedNumber([&] { Restriction bad(7); }), rt::errors::InvalidProcedureCall);
    Restriction property(RES_PROPERTY);
    EXPECT_EQ(RaisedNumber([&] { property.SetRelop(6); }), rt::errors::InvalidProcedureCall);
}

TEST_F(TableTest, ItemCollectionSeesTheRestrictionUntilCleared)
{
    Table table;
    auto items = m_folder->GetItems();
    table.SetItem(rt::Variant(items));
    auto filter = table.Filter();
    auto root = filter->SetKind(RES_AND);
    AddProperty(*root, RELOP_EQ, m_status, 2);
    EXPECT_EQ(items->Count(), 4); // not before Apply
    filter->Apply();
    EXPECT_EQ(items->Count(), 2);
    EXPECT_EQ(table.RowCount(), 2);
    EXPECT_EQ(items->GetFirst()->Subject(), "STRASSENBAU prüfen");
    EXPECT_EQ(items->GetNext()->Subject(), "müller anrufen");
    EXPECT_FALSE(items->GetNext());
    filter->Clear();
    EXPECT_EQ(items->Count(), 4);
    filter->SetKind(RES_AND)->Add(RES_OR);
    filter->Apply();
    EXPECT_EQ(items->Count(), 0);
    // Another source lifts the restriction from the old one.
    table.SetItem(rt::Variant(nullptr));
    EXPECT_EQ(items->Count(), 4);
    EXPECT_EQ(RaisedNumber([&] { table.SetItem(rt::Variant(5)); }), rt::errors::TypeMismatch);
}

TEST_F(TableTest, GetRowsReadsInChunksWithEmptyWhereMissing)
{
    const auto calendar = Folder(st::FolderRole::Journal).entryId;
    const int n = 250;
    for (int i = 0; i < n; ++i) {
        auto item =
            Builder().Item(calendar, "IPM.Activity").Subject("Eintrag " + std::to_string(i));
        if (i % 3 != 0)
            item.Set(m_status, i);
    }
    auto items = LoggedOnSession()->GetDefaultFolder(olFolderJournal)->GetItems();
    auto table = items->RawTable();
    rt::Array columns(rt::VarType::Variant, {{0, 2}});
    columns(0) = PR_SUBJECT;
    columns(1) = m_status;
    columns(2) = 0;
    table->SetColumns(rt::Variant(columns));
    int seen = 0;
    std::vector<int> chunkSizes;
    for (;;) {
        auto rows = table->GetRows(100);
        if (rows.IsEmpty())
            break;
        const auto& array = rows.AsArray();
        ASSERT_EQ(array.Dimensions(), 2);
        ASSERT_EQ(array.UBound(2), 2);
        chunkSizes.push_back(array.UBound(1) + 1);
        for (std::int32_t r = 0; r <= array.UBound(1); ++r, ++seen) {
            EXPECT_EQ(array(r, 0), rt::Variant("Eintrag " + std::to_string(seen)));
            if (seen % 3 == 0)
                EXPECT_TRUE(array(r, 1).IsEmpty());
            else
                EXPECT_EQ(array(r, 1), rt::Variant(seen));
            EXPECT_TRUE(array(r, 2).IsEmpty());
        }
    }
    EXPECT_EQ(seen, n);
    EXPECT_EQ(chunkSizes, (std::vector<int>{100, 100, 50}));
    EXPECT_TRUE(table->GetRows(100).IsEmpty());
    table->GoToFirst();
    EXPECT_EQ(table->GetRows(1).AsArray()(0, 0), rt::Variant("Eintrag 0"));
}

TEST_F(TableTest, ItemsReadThroughTheColumnsStayCurrentAfterWrites)
{
    auto items = m_folder->GetItems();
    std::vector<std::int32_t> columns = {PR_SUBJECT, m_status, m_categories};
    items->RawTable()->SetColumns(columns);
    auto first = items->Item(1);
    auto fourth = items->Item(4);
    EXPECT_EQ(first->Subject(), "Angebot für Müller GmbH");
    EXPECT_EQ(fourth->Fields(m_status), rt::Variant(2));
    EXPECT_TRUE(items->Item(3)->Fields(m_status).IsEmpty());
    EXPECT_EQ(first->Fields(m_categories).AsArray()(1), rt::Variant("Kunden"));
    // A property outside the columns is read from the store.
    EXPECT_EQ(fourth->Fields(m_recurring), rt::Variant(false));

    // A write through the library is seen by views taken before it.
    items->Item(4)->SetFields(m_status, 1);
    EXPECT_EQ(fourth->Fields(m_status), rt::Variant(1));
    first->SetSubject("Angebot (neu)");
    EXPECT_EQ(items->Item(1)->Subject(), "Angebot (neu)");
    EXPECT_EQ(first->Subject(), "Angebot (neu)");
}

} // namespace platform::mapi::test
