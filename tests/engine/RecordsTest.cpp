#include "EngineFixture.h"

#include "engine/Field.h"
#include "engine/Record.h"
#include "engine/Records.h"

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
