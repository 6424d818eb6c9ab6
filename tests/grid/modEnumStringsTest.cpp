#include "GridFixture.h"

#include "common/modLanguage.h"
#include "grid/modEnumStrings.h"

#include <string>
#include <vector>

using grid::modEnumStrings::GetEnumString;

namespace {

const std::string kTask = "{00062003-0000-0000-C000-000000000046}/";
const std::string kMapi = "{00020328-0000-0000-C000-000000000046}/";
const std::string kAppt = "{00062002-0000-0000-C000-000000000046}/";

struct EnumCase
{
    std::string sKey;
    int lValue;
    std::string sGerman;
    std::string sEnglish;
};

class EnumStringsTest : public GridFixture
{
};

TEST_F(EnumStringsTest, EveryListGivesItsTextsInBothLanguages)
{
    const std::vector<EnumCase> aCases{
        {kTask + "Status", 0, "Nicht begonnen", "Not Started"},
        {kTask + "Status", 4, "Zurückgestellt", "Deferred"},
        {kTask + "OwnerShip", 2, "An mich übertragen", "Assigned to me"},
        {kTask + "DelegationState", 0, "", ""},
        {kTask + "DelegationState", 1, "Nicht geantwortet", "Not responded"},
        {kTask + "DelegationState", 3, "Abgelehnt", "Declined"},
        {kMapi + "PR_IMPORTANCE", 2, "Hoch", "High"},
        {kMapi + "PR_SENSITIVITY", 3, "Vertraulich", "Confidential"},
        {kAppt + "ResponseStatus", 0, "", ""},
        {kAppt + "ResponseStatus", 1, "Besprechungsorganisation", "Meeting Organizer"},
        {kAppt + "ResponseStatus", 5, "Noch nicht geantwortet", "Not yet responded"},
        {kAppt + "Label", 10, "Telefonanruf", "Phone Call"},
        {kAppt + "Label", 11, "", ""},
        {kAppt + "BusyStatus", 3, "Abwesend", "Out of Office"},
        {kTask + "Status", -1, "", ""},
        {"{00000000-0000-0000-0000-000000000000}/Nothing", 0, "", ""},
    };
    for (const auto& c : aCases) {
        EXPECT_EQ(GetEnumString(c.sKey, c.lValue), c.sGerman) << c.sKey << " " << c.lValue;
    }
    UseLanguage("en-US", common::modLanguage::LANG_ENGLISH);
    for (const auto& c : aCases) {
        EXPECT_EQ(GetEnumString(c.sKey, c.lValue), c.sEnglish) << c.sKey << " " << c.lValue;
    }
}

TEST_F(EnumStringsTest, KeysIgnoreLetterCase)
{
    EXPECT_EQ(GetEnumString("{00062003-0000-0000-c000-000000000046}/status", 2), "Erledigt");
}

TEST_F(EnumStringsTest, TableKeepsItsLanguageUntilRebuilt)
{
    common::modLanguage::SetLanguageID(common::modLanguage::LANG_ENGLISH);
    EXPECT_EQ(GetEnumString(kMapi + "PR_IMPORTANCE", 0), "Niedrig");
    grid::modEnumStrings::InitEnumStrings();
    EXPECT_EQ(GetEnumString(kMapi + "PR_IMPORTANCE", 0), "Low");
}

} // namespace
