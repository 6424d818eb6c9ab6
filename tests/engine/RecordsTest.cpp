#include "EngineFixture.h"

#include "engine/Field.h"
#include "engine/Record.h"
#include "engine/Records.h"
#include "engine/detail/RecordArena.h"

#include <gtest/gtest.h>

namespace engine::test {

namespace {

std::shared_ptr<Field> MakeField(const std::string& sKey, long lMapping = 0)
{
    auto oField = std::make_shared<Field>();
    oField->Init(sKey, 0x0037001E, PT_STRING8, {}, "", sKey, lMapping);
    return oField;
}

// A linked record set with n records ("0" .. n-1).
std::shared_ptr<Records> RecordSet(int n)
{
    auto oRecords = std::make_shared<Records>();
    oRecords->ToIChild().Init(nullptr, {});
    for (int i = 0; i < n; ++i)
        oRecords->Append(std::make_shared<Record>());
    return oRecords;
}

} // namespace

TEST_F(EngineFixture, FieldInitTakesEffectOnce)
{
    Field oField;
    oField.Init("Betreff", 0x0037001E, PT_STRING8, rt::Variant(std::int16_t{5}), "{G}", "Betreff",
                7);
    oField.Init("Anders", 1, PT_LONG, {}, "", "Anders", 0);
    EXPECT_EQ(oField.Key(), "Betreff");
    EXPECT_EQ(oField.PR(), 0x0037001E);
    EXPECT_EQ(oField.MapiPropertyType(), PT_STRING8);
    EXPECT_EQ(oField.ID(), rt::Variant(std::int16_t{5}));
    EXPECT_EQ(oField.GUID(), "{G}");
    EXPECT_EQ(oField.MappingValue(), 7);

    oField.SetFieldValue(rt::Variant("Wert"));
    const auto oClone = oField.CloneField();
    EXPECT_EQ(oClone->Key(), "Betreff");
    EXPECT_EQ(oClone->MappingValue(), 7);
    EXPECT_EQ(oClone->ID(), rt::Variant(std::int16_t{5}));
    EXPECT_TRUE(oClone->Value().IsEmpty());
}

TEST_F(EngineFixture, FieldCopiesKeepTheirDefinitionWhenTheColumnIsGone)
{
    auto oColumn = MakeField("Ort", 3);
    oColumn->SetFieldValue(rt::Variant("Köln"));
    Field oCopy(*oColumn);
    Field oAssigned;
    oAssigned = oCopy;
    auto oClone = oColumn->CloneField();
    Field oInPlace;
    oColumn->CloneInto(oInPlace);
    oColumn->CloneInto(oInPlace); // again: still one share of the same definition
    oColumn.reset();
    Field oMoved(std::move(oCopy));
    const Field& oSame = oMoved;
    oMoved = oSame;
    for (const Field* pField : {&oAssigned, oClone.get(), &oInPlace, &oMoved}) {
        EXPECT_EQ(pField->Key(), "Ort");
        EXPECT_EQ(pField->MappingValue(), 3);
    }
    EXPECT_EQ(oMoved.Value(), rt::Variant("Köln"));
    EXPECT_TRUE(oInPlace.Value().IsEmpty());
    Field oLast;
    oLast = *oClone;
    oClone.reset();
    oAssigned = Field();
    EXPECT_EQ(oLast.Key(), "Ort");
    EXPECT_EQ(oAssigned.Key(), "");
    // A copy is never initialised again, as a clone.
    oLast.Init("Anders", 1, PT_LONG, {}, "", "Anders", 0);
    EXPECT_EQ(oLast.Key(), "Ort");
}

TEST_F(EngineFixture, ColumnListKeepsTheFirstFieldOfAKey)
{
    auto oRecords = RecordSet(0);
    const auto oFirst = MakeField("Betreff");
    oRecords->AppendField(oFirst);
    oRecords->AppendField(MakeField("BETREFF"));
    oRecords->AppendField(nullptr);
    EXPECT_EQ(oRecords->FieldCount(), 1);
    EXPECT_EQ(oRecords->FieldItem(rt::Variant("betreff")), oFirst);
    oRecords->ClearFields();
    EXPECT_EQ(oRecords->FieldCount(), 0);
}

TEST_F(EngineFixture, LookupsThatFindNothingAnswerNoObject)
{
    auto oRecords = RecordSet(3);
    const rt::Variant misses[] = {rt::Variant(std::int32_t{0}),
                                  rt::Variant(std::int32_t{4}),
                                  rt::Variant(std::int32_t{-1}),
                                  rt::Variant("7"),
                                  rt::Variant(),
                                  rt::Variant(rt::Null{})};
    for (const auto& v : misses)
        EXPECT_EQ(oRecords->Item(v), nullptr) << v.TypeName();
    EXPECT_EQ(oRecords->Item(rt::Variant(2.0))->Key(), "1");
    EXPECT_EQ(oRecords->Item(rt::Variant("2"))->Key(), "2");

    Record oRecord;
    oRecord.AppendField(MakeField("a"));
    EXPECT_EQ(oRecord.Fields(0), nullptr);
    EXPECT_EQ(oRecord.Fields(2), nullptr);
    EXPECT_EQ(oRecord.Fields(rt::Variant("b")), nullptr);
    EXPECT_EQ(oRecord.Fields(rt::Variant("A"))->Key(), "a");
    EXPECT_EQ(RaisedNumber([&] { oRecord.AppendField(MakeField("A")); }), 457);
    EXPECT_EQ(oRecord.FieldsCount(), 1);
}

TEST_F(EngineFixture, RemoveUnlinksTheRecordAndKeepsOtherKeys)
{
    auto oRecords = RecordSet(3);
    const auto oSecond = oRecords->Item(2);
    ASSERT_EQ(oSecond->Parent(), oRecords.get());
    oRecords->Remove(rt::Variant("1"));
    EXPECT_EQ(oRecords->Count(), 2);
    EXPECT_EQ(oSecond->Parent(), nullptr);
    EXPECT_EQ(oRecords->Item(1)->Key(), "0");
    EXPECT_EQ(oRecords->Item(2)->Key(), "2");
    oRecords->Remove(rt::Variant(std::int32_t{9}));
    EXPECT_EQ(oRecords->Count(), 2);
}

TEST_F(EngineFixture, ResetKeepsTheCounterAndDestructionUnlinks)
{
    auto oRecords = RecordSet(2);
    const auto oOld = oRecords->Item(1);
    oRecords->ResetRecords();
    EXPECT_EQ(oRecords->Count(), 0);
    EXPECT_EQ(oOld->Parent(), nullptr);
    oRecords->ResetRecords();
    oRecords->Append(std::make_shared<Record>());
    EXPECT_EQ(oRecords->Item(1)->Key(), "2");
    const auto oKept = oRecords->Item(1);
    oRecords.reset();
    EXPECT_EQ(oKept->Parent(), nullptr);
}

TEST_F(EngineFixture, AKeyTextNamesOnlyTheRecordOfThatKey)
{
    auto oRecords = RecordSet(12);
    oRecords->Remove(rt::Variant("3"));
    oRecords->Remove(rt::Variant(std::int32_t{1}));
    struct Case
    {
        const char* sKey;
        bool bFound;
    };
    const Case cases[] = {{"11", true},  {"4", true},
                          {"1", true},   {"0", false},
                          {"3", false},  {"12", false},
                          {"04", false}, {"+4", false},
                          {" 4", false}, {"4 ", false},
                          {"", false},   {"-1", false},
                          {"4a", false}, {"99999999999999999999", false}};
    for (const auto& c : cases) {
        const auto oRecord = oRecords->Item(rt::Variant(c.sKey));
        EXPECT_EQ(oRecord != nullptr, c.bFound) << c.sKey;
        if (oRecord) {
            EXPECT_EQ(oRecord->Key(), c.sKey);
        }
    }
    // A text that names no record removes nothing.
    oRecords->Remove(rt::Variant("07"));
    EXPECT_EQ(oRecords->Count(), 10);
    oRecords->Remove(rt::Variant("7"));
    EXPECT_EQ(oRecords->Count(), 9);
    EXPECT_EQ(oRecords->Item(6)->Key(), "8");
}

TEST_F(EngineFixture, ARecordLinkedWithAnyKeyAnswersThatKeyText)
{
    auto oRecords = RecordSet(0);
    Field oNotARecordSet;
    for (const char* sKey : {"0", "17", "9223372036854775807", "007", "-3", "+3", "Termin", "",
                             "123456789012345678901", "12a"}) {
        Record oRecord;
        oRecord.ToIChild().Init(oRecords.get(), sKey);
        EXPECT_EQ(oRecord.Key(), sKey);
        EXPECT_EQ(oRecord.Parent(), oRecords.get()) << sKey;
        oRecord.ResetParentPtr();
        EXPECT_EQ(oRecord.Parent(), nullptr);
        EXPECT_EQ(oRecord.Key(), sKey);
        // Linked again under another key (the record set's own kind of key), it answers that.
        oRecord.ToIChild().Init(&oNotARecordSet, "5");
        EXPECT_EQ(oRecord.Key(), "5");
        EXPECT_EQ(oRecord.Parent(), nullptr);
    }
}

TEST_F(EngineFixture, FieldsMadeInPlaceAnswerAsAppendedOnes)
{
    const std::shared_ptr<Field> columns[] = {MakeField("Betreff"), MakeField("Ort")};
    std::shared_ptr<Record> oFirst;
    std::shared_ptr<Record> oSecond;
    {
        detail::RecordArena oArena;
        for (auto* pRecord : {&oFirst, &oSecond}) {
            auto slot = oArena.Next(2);
            for (int i = 0; i < 2; ++i) {
                columns[i]->CloneInto(slot.fields[i]);
                slot.fields[i].SetFieldValue(
                    rt::Variant(columns[i]->Key() + "-" + std::to_string(pRecord == &oSecond)));
            }
            slot.record->TakeFieldsInPlace(slot.fields, 2, slot.owner, oFirst.get());
            *pRecord = slot.record;
        }
    }
    ASSERT_EQ(oSecond->FieldsCount(), 2);
    EXPECT_EQ(oSecond->Fields(rt::Variant("ORT")), oSecond->Fields(2));
    EXPECT_EQ(oSecond->Fields(1)->Value(), rt::Variant("Betreff-1"));
    EXPECT_EQ(oFirst->Fields(rt::Variant("betreff"))->Value(), rt::Variant("Betreff-0"));
    EXPECT_EQ(oSecond->Fields(3), nullptr);
    EXPECT_EQ(oSecond->Fields(rt::Variant("Notiz")), nullptr);

    // A field handed out keeps its value after its record and the arena are gone.
    auto oKept = oSecond->Fields(rt::Variant("Ort"));
    oFirst.reset();
    oSecond.reset();
    EXPECT_EQ(oKept->Value(), rt::Variant("Ort-1"));
    EXPECT_EQ(oKept->Key(), "Ort");

    // Fields of other columns get their own keys; a repeated key is refused as on appending,
    // and appending after fields made in place keeps them.
    detail::RecordArena oArena;
    auto slot = oArena.Next(2);
    MakeField("Ort")->CloneInto(slot.fields[0]);
    MakeField("Notiz")->CloneInto(slot.fields[1]);
    slot.record->TakeFieldsInPlace(slot.fields, 2, slot.owner, nullptr);
    EXPECT_EQ(slot.record->Fields(rt::Variant("notiz")), slot.record->Fields(2));
    const auto oMadeInPlace = slot.record->Fields(1);
    slot.record->AppendField(MakeField("Betreff"));
    EXPECT_EQ(slot.record->FieldsCount(), 3);
    EXPECT_EQ(slot.record->Fields(rt::Variant("Ort")), oMadeInPlace);
    EXPECT_EQ(slot.record->Fields(3)->Key(), "Betreff");
    EXPECT_EQ(RaisedNumber([&] { slot.record->AppendField(MakeField("NOTIZ")); }), 457);
    auto twice = oArena.Next(2);
    MakeField("Ort")->CloneInto(twice.fields[0]);
    MakeField("ort")->CloneInto(twice.fields[1]);
    EXPECT_EQ(RaisedNumber([&] {
                  twice.record->TakeFieldsInPlace(twice.fields, 2, twice.owner, slot.record.get());
              }),
              457);
}

TEST_F(EngineFixture, RecordsOfLargeArenasKeepTheirFieldsApart)
{
    // Enough records of one and of three fields that the arena reaches its largest stretches,
    // one and several huge pages apart; a record kept alone keeps its stretch alive.
    for (const std::size_t nFields : {std::size_t{1}, std::size_t{3}}) {
        std::vector<std::shared_ptr<Field>> columns;
        for (std::size_t c = 0; c < nFields; ++c)
            columns.push_back(MakeField("Spalte" + std::to_string(c)));
        const long nRecords = 40000;
        std::vector<std::shared_ptr<Record>> records;
        std::shared_ptr<Record> oKept;
        {
            detail::RecordArena oArena;
            for (long r = 0; r < nRecords; ++r) {
                auto slot = oArena.Next(nFields);
                for (std::size_t c = 0; c < nFields; ++c) {
                    columns[c]->CloneInto(slot.fields[c]);
                    slot.fields[c].SetFieldValue(
                        rt::Variant(std::to_string(r) + "/" + std::to_string(c)));
                }
                slot.record->TakeFieldsInPlace(slot.fields, nFields, slot.owner,
                                               records.empty() ? nullptr : records.back().get());
                slot.record->SetEntryID("E" + std::to_string(r));
                records.push_back(std::move(slot.record));
            }
        }
        for (long r = 0; r < nRecords; r += 97) {
            const auto& oRecord = *records[static_cast<std::size_t>(r)];
            ASSERT_EQ(oRecord.FieldsCount(), static_cast<long>(nFields)) << r;
            EXPECT_EQ(oRecord.EntryID(), "E" + std::to_string(r));
            for (std::size_t c = 0; c < nFields; ++c)
                EXPECT_EQ(oRecord.Fields(rt::Variant("spalte" + std::to_string(c)))->Value(),
                          rt::Variant(std::to_string(r) + "/" + std::to_string(c)))
                    << r << " " << c;
        }
        oKept = records[nRecords - 1];
        records.clear();
        EXPECT_EQ(oKept->Fields(static_cast<long>(nFields))->Value(),
                  rt::Variant(std::to_string(nRecords - 1) + "/" + std::to_string(nFields - 1)));
    }
}

TEST_F(EngineFixture, LinkingTheRecordSetMakesAnEmptyLinkedFilter)
{
    Records oRecords;
    EXPECT_EQ(oRecords.Filter(), nullptr);
    oRecords.ToIChild().Init(nullptr, "ignored");
    ASSERT_NE(oRecords.Filter(), nullptr);
    EXPECT_EQ(oRecords.Filter()->Parent(), &oRecords);
    EXPECT_EQ(oRecords.Key(), "");
    auto oOther = std::make_shared<Filter>();
    oRecords.ApplyFilter(oOther);
    EXPECT_EQ(oRecords.Filter(), oOther);
    EXPECT_EQ(oOther->Parent(), &oRecords);
}

} // namespace engine::test
