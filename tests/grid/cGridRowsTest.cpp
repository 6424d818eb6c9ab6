#include "ReportFixture.h"

#include "common/ErrorObject.h"
#include "common/modLanguage.h"
#include "platform/forms/Driver.h"

#include "platform/runtime/Currency.h"
#include "platform/runtime/Date.h"
#include <fstream>
#include <sstream>

namespace rt = platform::runtime;
using namespace engine;

namespace {

const std::string kCategories = "{00020329-0000-0000-C000-000000000046}/Keywords";
const std::string kContacts = "{00062008-0000-0000-C000-000000000046}/Contacts";
const std::string kStatus = "{00062003-0000-0000-C000-000000000046}/Status";

class cGridRowsTest : public ReportFixture
{
protected:
    // Every display rule once: enum, list, date, duration, percent, double, currency, yes/no,
    // icon, text.
    void TextColumns()
    {
        oView.AddColumn(kStatus, "Status", 3, 20, 0, true);
        oView.AddColumn(kCategories, "Kategorien", 12, 11);
        oView.AddColumn("Start", "Beginn", 7, 5);
        // The two date-only kinds of the field catalogue.
        oView.AddColumn("Due", "Fällig", 7, 5, 0, false, 14);
        oView.AddColumn("DoneOn", "Erledigt am", 7, 5, 0, false, 15);
        oView.AddColumn("Duration", "Dauer", 3, 7);
        oView.AddColumn("Complete", "Prozent", 5, 12);
        oView.AddColumn("Amount", "Betrag", 5, 1);
        oView.AddColumn("Cost", "Kosten", 6, 1);
        oView.AddColumn("Done", "Erledigt", 11, 6);
        oView.AddColumn("Icon", "Symbol", 9, 0, 0, false, 2);
        oView.AddColumn("Subject", "Betreff", 8, 1);
    }
    void TextRecord(long lClass, const rt::Variant& vStatus, const rt::Variant& vList,
                    const rt::Variant& vDone)
    {
        const rt::Date dt(rt::DateSerial(2024, 3, 15).Serial() + 14.5 / 24);
        AddRecord({{kStatus, PT_LONG, vStatus},
                   {kCategories, PT_MV_STRING8, vList},
                   {"Start", PT_SYSTIME, rt::Variant(dt)},
                   {"Due", PT_SYSTIME, rt::Variant(dt)},
                   {"DoneOn", PT_SYSTIME, rt::Variant(dt)},
                   {"Duration", PT_LONG, rt::Variant(std::int32_t(75))},
                   {"Complete", PT_DOUBLE, rt::Variant(0.125)},
                   {"Amount", PT_DOUBLE, rt::Variant(2.5)},
                   {"Cost", PT_CURRENCY, rt::Variant(rt::CCur(rt::Variant(1234.5)))},
                   {"Done", PT_BOOLEAN, vDone},
                   {"Icon", PT_OBJECT, rt::Variant(std::int32_t(1))},
                   {"Subject", PT_STRING8, rt::Variant("Plan")}},
                  lClass);
    }
};

TEST_F(cGridRowsTest, DisplayTextsInGerman)
{
    TextColumns();
    TextRecord(1, rt::Variant(std::int32_t(2)), List({"Rot", "Blau"}), rt::Variant(true));
    TextRecord(3, rt::Variant(), rt::Variant(), rt::Variant());
    Fill();
    ASSERT_EQ(fg.Rows(), 3);
    EXPECT_EQ(Row(1), "D||Erledigt|Rot;Blau|15.03.2024 "
                      "14:30|15.03.2024|15.03.2024|01:15|12,5%|2,5|1.234,50|1||Plan");
    EXPECT_EQ(Row(2), "D||||15.03.2024|15.03.2024|15.03.2024|01:15|12,5%|2,5|1.234,50|0||Plan");
    EXPECT_EQ(fg.RowData(1), rt::Variant("0"));
    EXPECT_EQ(fg.RowData(2), rt::Variant("1"));
}

TEST_F(cGridRowsTest, DisplayTextsInEnglishAndWithoutTime)
{
    UseLanguage("en-US", common::modLanguage::LANG_ENGLISH);
    TextColumns();
    oView.bDontShowTime = true;
    TextRecord(1, rt::Variant(std::int32_t(4)), List({}), rt::Variant(false));
    Fill();
    EXPECT_EQ(Row(1),
              "D||Deferred||3/15/2024|3/15/2024|3/15/2024|01:15|12.5%|2.5|1,234.50|0||Plan");
}

TEST_F(cGridRowsTest, MissingColumnIsLoggedAndTheOtherCellsAreWritten)
{
    oView.AddColumn("Subject", "Betreff", 8, 1);
    oView.AddColumn("Location", "Ort", 8, 1);
    AddRecord({{"Subject", PT_STRING8, rt::Variant("A")},
               {"Location", PT_STRING8, rt::Variant("B")},
               {"Other", PT_STRING8, rt::Variant("C")}});
    Fill();
    EXPECT_EQ(Row(1), "D||A|B");
}

TEST_F(cGridRowsTest, CountMarksFollowTheShownTextOrTheIcon)
{
    oView.AddColumn("Subject", "Betreff", 8, 1, 4);
    oView.AddColumn("Icon", "Symbol", 9, 0, 4, false, 2);
    AddRecord({{"Subject", PT_STRING8, rt::Variant("0")},
               {"Icon", PT_OBJECT, rt::Variant(std::int32_t(1))}});
    AddRecord({{"Subject", PT_STRING8, rt::Variant("x")},
               {"Icon", PT_OBJECT, rt::Variant(std::int32_t(0))}});
    Fill();
    // The grand total comes first; the data rows follow.
    EXPECT_EQ(Column("c1"), (std::vector<std::string>{"1", "", "1"}));
    EXPECT_EQ(Column("c2"), (std::vector<std::string>{"1", "1", ""}));
}

// Each record is looked at by its own fields: a record whose fields stand in another order,
// or lack one, still puts every text into its field's column, and the count reads the column
// at the field's position, as written so far.
TEST_F(cGridRowsTest, RecordsWithTheirFieldsInAnotherOrderFillTheirFieldsColumns)
{
    oView.AddColumn("Subject", "Betreff", 8, 1, 4);
    oView.AddColumn("Location", "Ort", 8, 1);
    oView.AddColumn("Start", "Beginn", 7, 5);
    const rt::Variant vStart(rt::Date(rt::DateSerial(2024, 3, 15).Serial() + 9.0 / 24));
    AddRecord({{"Subject", PT_STRING8, rt::Variant("0")},
               {"Location", PT_STRING8, rt::Variant("B")},
               {"Start", PT_SYSTIME, vStart}});
    AddRecord({{"Location", PT_STRING8, rt::Variant("C")},
               {"Subject", PT_STRING8, rt::Variant("0")},
               {"Start", PT_SYSTIME, vStart}});
    AddRecord({{"Start", PT_SYSTIME, vStart}, {"Subject", PT_STRING8, rt::Variant("x")}});
    AddRecord({{"Subject", PT_STRING8, rt::Variant("")},
               {"Location", PT_STRING8, rt::Variant("D")},
               {"Start", PT_STRING8, rt::Variant("kein Datum")}});
    Fill();
    EXPECT_EQ(Rows(), (std::vector<std::string>{"S0|Total |1| | ", "D||0|B|15.03.2024 09:00",
                                                "D||0|C|15.03.2024 09:00", "D||x||15.03.2024 09:00",
                                                "D|||D|kein Datum"}));
    // Record 2's Subject is its second field: column 2 holds its Location by then. Record
    // 3's Subject is its second field too, and column 2 is still empty.
    EXPECT_EQ(Column("c1"), (std::vector<std::string>{"1", "", "1", "", ""}));
}

} // namespace

namespace {

std::string ReadLog()
{
    std::ifstream oIn(common::ErrorObject().GetLogFileName(), std::ios::binary);
    std::ostringstream oOut;
    oOut << oIn.rdbuf();
    return oOut.str();
}

class cGridErrorTest : public ReportFixture
{
};

TEST_F(cGridErrorTest, AFieldThatIsNoViewColumnIsSkippedWithoutALogRecord)
{
    oView.AddColumn("Subject", "Betreff", 8, 1, 2);
    AddRecord({{"Subject", PT_STRING8, rt::Variant("A")}, {"Other", PT_STRING8, rt::Variant("B")}});
    Fill();
    EXPECT_EQ(Row(2), "D||A");
    EXPECT_EQ(ReadLog().find("InsertRow"), std::string::npos);
}

TEST_F(cGridErrorTest, AViewWithoutColumnsIsLoggedAndShown)
{
    platform::forms::Driver::current().Reset();
    oView.oFields = nullptr;
    AddRecord({{"Subject", PT_STRING8, rt::Variant("A")}});
    Fill();
    const auto& aBoxes = platform::forms::Driver::current().MessageBoxes();
    ASSERT_EQ(aBoxes.size(), 1u);
    EXPECT_EQ(aBoxes[0].buttons, 48);
    const std::string sLog = ReadLog();
    EXPECT_NE(sLog.find("Tolvane2.cGrid.ShowItems (1)"), std::string::npos) << sLog;
    EXPECT_TRUE(fg.Redraw());
}

} // namespace
