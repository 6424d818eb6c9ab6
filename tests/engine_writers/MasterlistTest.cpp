#include "WritersFixture.h"

#include "engine/detail/Masterlist00.h"
#include "engine/detail/Masterlist02.h"
#include "engine/detail/Masterlist03.h"
#include "engine/detail/Masterlist07.h"
#include "engine/detail/Masterlist97.h"
#include "engine/detail/modMasterlist.h"

#include "platform/mapi/CategoryList.h"
#include "platform/mapi/MasterCategoryList.h"
#include "platform/store/SampleProfile.h"
#include "platform/win/Registry.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <vector>

namespace engine::test {

namespace win = platform::win;
using detail::IMasterlist;

namespace {

class MasterlistTest : public WritersFixture
{
protected:
    // The client reports this version to a new engine root.
    void UseClientVersion(const std::string& sVersion)
    {
        if (m_root)
            m_root->Terminate();
        m_root.reset();
        common::modOLVersion::ResetOutlookVersion();
        m_olApp->SetVersion(sVersion);
        Root();
    }

    static std::optional<win::RegistryValue> Stored(const std::string& sVersion)
    {
        return win::Registry().read(
            win::Hive::CurrentUser,
            "Software\\Microsoft\\Office\\" + sVersion + "\\Outlook\\Categories", "Masterlist");
    }
    static void PutValue(const std::string& sVersion, const win::RegistryValue& value)
    {
        win::Registry().write(win::Hive::CurrentUser,
                              "Software\\Microsoft\\Office\\" + sVersion + "\\Outlook\\Categories",
                              "Masterlist", value);
    }
};

struct RegistryCase
{
    const char* sVersion;
    std::function<std::unique_ptr<IMasterlist>()> make;
    bool bBinary;
};

const RegistryCase kRegistryCases[] = {
    {"8.0", [] { return std::make_unique<detail::Masterlist97>(); }, false},
    {"9.0", [] { return std::make_unique<detail::Masterlist00>(); }, false},
    {"10.0", [] { return std::make_unique<detail::Masterlist02>(); }, true},
    {"11.0", [] { return std::make_unique<detail::Masterlist03>(); }, true},
};

std::vector<std::uint8_t> Utf16Le(const std::u16string& s, bool bTerminator)
{
    std::vector<std::uint8_t> bytes;
    for (const char16_t c : s) {
        bytes.push_back(static_cast<std::uint8_t>(c & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(c >> 8));
    }
    if (bTerminator)
        bytes.insert(bytes.end(), {0, 0});
    return bytes;
}

std::vector<std::string> SplitAtSemicolons(const std::string& sText)
{
    std::vector<std::string> vFields;
    std::string::size_type start = 0;
    for (;;) {
        const auto end = sText.find(';', start);
        vFields.push_back(sText.substr(start, end - start));
        if (end == std::string::npos)
            return vFields;
        start = end + 1;
    }
}

// The category names in a master list text as the category dialog takes them: a plain list
// before client version 12, from 12 on groups of four fields with the name second and whole
// numbers third and fourth.
std::vector<std::string> OfferedNames(const std::string& sList, int lMajor)
{
    std::vector<std::string> vNames;
    if (sList.empty())
        return vNames;
    const auto vFields = SplitAtSemicolons(sList);
    if (lMajor < 12) {
        for (const auto& s : vFields)
            if (!s.empty())
                vNames.push_back(s);
        return vNames;
    }
    EXPECT_EQ(vFields.size() % 4, 0u) << sList;
    for (std::size_t i = 0; i + 3 < vFields.size(); i += 4) {
        for (const std::size_t n : {i + 2, i + 3})
            EXPECT_NO_THROW((void)std::stoi(vFields[n])) << "field " << n << " of " << sList;
        if (!vFields[i + 1].empty())
            vNames.push_back(vFields[i + 1]);
    }
    return vNames;
}

} // namespace

TEST_F(MasterlistTest, EachRegistryVersionStoresItsOwnByteFormat)
{
    const std::string sList = "Büro;Privat;Geschäft";
    for (const auto& c : kRegistryCases) {
        auto oList = c.make();
        EXPECT_EQ(oList->SECTION(), std::string("Software\\Microsoft\\Office\\") + c.sVersion +
                                        "\\Outlook\\Categories");
        EXPECT_EQ(oList->Setting(), "Masterlist");
        EXPECT_EQ(oList->Format(), c.bBinary ? "hex" : "");
        EXPECT_EQ(oList->ReadCategories(), "") << "nothing stored yet for " << c.sVersion;

        std::string sWrite = sList;
        oList->WriteCategories(sWrite);
        const auto stored = Stored(c.sVersion);
        ASSERT_TRUE(stored.has_value()) << c.sVersion;
        if (c.bBinary) {
            EXPECT_EQ(stored->kind(), win::RegistryValue::Kind::Binary);
            EXPECT_EQ(stored->asBytes(), Utf16Le(u"Büro;Privat;Geschäft", true)) << c.sVersion;
        } else {
            EXPECT_EQ(stored->kind(), win::RegistryValue::Kind::Text);
            EXPECT_EQ(stored->asText(), sList) << c.sVersion;
        }
        EXPECT_EQ(c.make()->ReadCategories(), sList) << c.sVersion;
    }
}

TEST_F(MasterlistTest, BinaryValuesAndTheirTerminator)
{
    struct Case
    {
        std::vector<std::uint8_t> bytes;
        std::string sExpected;
    };
    const Case cases[] = {
        {{0, 0}, ""},               // the terminator alone: an empty list
        {{0x41, 0, 0, 0}, "A"},     // one character and the terminator
        {{0x41, 0, 0x42, 0}, "AB"}, // no terminator: nothing is cut
        {Utf16Le(u"ä;ö", true), "ä;ö"},
        {{}, ""},
    };
    for (const auto* sVersion : {"10.0", "11.0"}) {
        for (const auto& c : cases) {
            PutValue(sVersion, win::RegistryValue::binary(c.bytes));
            auto oList = std::string(sVersion) == "10.0"
                             ? std::unique_ptr<IMasterlist>(new detail::Masterlist02)
                             : std::unique_ptr<IMasterlist>(new detail::Masterlist03);
            EXPECT_EQ(oList->ReadCategories(), c.sExpected) << sVersion << " " << c.bytes.size();
        }
    }
}

TEST_F(MasterlistTest, EmptyListOnBinaryVersionsWritesAnEmptyValue)
{
    for (const auto& c : kRegistryCases) {
        auto oList = c.make();
        std::string sFull = "X";
        oList->WriteCategories(sFull);
        std::string sEmpty;
        oList->WriteCategories(sEmpty);
        const auto stored = Stored(c.sVersion);
        ASSERT_TRUE(stored.has_value());
        EXPECT_EQ(stored->kind(),
                  c.bBinary ? win::RegistryValue::Kind::Empty : win::RegistryValue::Kind::Text)
            << c.sVersion;
        EXPECT_EQ(oList->ReadCategories(), "") << c.sVersion;
    }
}

TEST_F(MasterlistTest, ConvertGivesTheStoredNotation)
{
    for (const auto& c : kRegistryCases) {
        auto oList = c.make();
        std::string sA = "A";
        std::string sAB = "AB";
        std::string sNone;
        std::string sUmlaut = "ü";
        EXPECT_EQ(oList->Convert(sA), c.bBinary ? "41,00,00,00" : "A");
        EXPECT_EQ(oList->Convert(sAB), c.bBinary ? "41,00,42,00,00,00" : "AB");
        EXPECT_EQ(oList->Convert(sUmlaut), c.bBinary ? "fc,00,00,00" : "ü");
        EXPECT_EQ(oList->Convert(sNone), "");
    }
    detail::Masterlist07 oNew;
    std::string sA = "A";
    EXPECT_EQ(oNew.Convert(sA), "A");
    EXPECT_EQ(oNew.SECTION(), "");
    EXPECT_EQ(oNew.Setting(), "");
}

TEST_F(MasterlistTest, ClientVersionChoosesTheImplementation)
{
    PutValue("8.0", win::RegistryValue::text("acht"));
    PutValue("9.0", win::RegistryValue::text("neun"));
    PutValue("10.0", win::RegistryValue::binary(Utf16Le(u"zehn", true)));
    PutValue("11.0", win::RegistryValue::binary(Utf16Le(u"elf", true)));
    Store().SetProperty(st::props::PR_MASTER_CATEGORY_LIST, st::PropValue{"Büro;Privat"});
    using Names = std::vector<std::string>;
    const std::pair<const char*, Names> cases[] = {
        {"8.0.0.1", {"acht"}},
        {"9.0.0.2", {"neun"}},
        {"10.0.2627", {"zehn"}},
        {"11.0.5510", {"elf"}},
        {"12.0.4518", {"Büro", "Privat"}},
        {"14.0.1", {"Büro", "Privat"}},
        {"15.0.2", {"Büro", "Privat"}},
        {"16.0.4266", {"Büro", "Privat"}},
    };
    for (const auto& [sVersion, vExpected] : cases) {
        UseClientVersion(sVersion);
        const int lMajor = std::stoi(sVersion);
        const std::string sList = detail::modMasterlist::GetMasterlist();
        EXPECT_EQ(OfferedNames(sList, lMajor), vExpected) << sVersion << ": " << sList;
        EXPECT_EQ(Root().GetMasterlist(), sList) << sVersion; // the public member
    }
    for (const char* sVersion : {"7.0", "Outlook"}) {
        UseClientVersion(sVersion);
        EXPECT_EQ(detail::modMasterlist::CreateMasterlist(), nullptr) << sVersion;
        EXPECT_EQ(RaisedNumber([] { detail::modMasterlist::GetMasterlist(); }), 91) << sVersion;
    }
    Root().Terminate();
    EXPECT_EQ(RaisedNumber([] { detail::modMasterlist::GetMasterlist(); }), 91);
}

TEST_F(MasterlistTest, CategoryListComponentWorksOnTheDefaultStore)
{
    UseClientVersion("16.0.1");
    auto oList = detail::modMasterlist::CreateMasterlist();
    ASSERT_NE(dynamic_cast<detail::Masterlist07*>(oList.get()), nullptr);
    EXPECT_EQ(oList->Format(), "");
    EXPECT_EQ(oList->ReadCategories(), "");
    std::string sList = "{1};Kunden;3;0;{2};;0;0;{3};Ärger;0;5";
    oList->WriteCategories(sList);
    const auto value = Store().GetProperty(st::props::PR_MASTER_CATEGORY_LIST);
    ASSERT_TRUE(value.has_value());
    EXPECT_EQ(std::get<std::string>(*value), "Kunden;Ärger");
    const std::string sRead = oList->ReadCategories();
    EXPECT_EQ(OfferedNames(sRead, 16), (std::vector<std::string>{"Kunden", "Ärger"})) << sRead;
    // What a client 12 cannot read is refused, and the stored list stays.
    for (std::string sBad : {std::string("Kunden;Ärger"), std::string("{1};Kunden;rot;0")}) {
        EXPECT_EQ(RaisedNumber([&] { oList->WriteCategories(sBad); }), 5) << sBad;
        EXPECT_EQ(oList->ReadCategories(), sRead) << sBad;
    }
    std::string sEmpty;
    oList->WriteCategories(sEmpty);
    EXPECT_FALSE(Store().GetProperty(st::props::PR_MASTER_CATEGORY_LIST).has_value());

    platform::mapi::CategoryList oComponent;
    EXPECT_EQ(RaisedNumber([&] { oComponent.GetMasterlist(nullptr); }), 91);
    mapi::SetCurrentProfile("");
    EXPECT_EQ(RaisedNumber([&] { oComponent.GetMasterlist(m_olApp); }), -2147221231);
}

TEST_F(MasterlistTest, SampleProfileOffersItsCategories)
{
    platform::store::SampleProfileOptions options;
    options.calendarItems = 20;
    const auto sFolder = DataDir() / "sample";
    auto oProfile = platform::store::GenerateSampleProfile(sFolder, options);
    const auto expected = oProfile->DefaultStore()->GetProperty(st::props::PR_MASTER_CATEGORY_LIST);
    ASSERT_TRUE(expected.has_value());
    const auto vExpected = SplitAtSemicolons(std::get<std::string>(*expected));
    ASSERT_EQ(vExpected.size(), 8u);
    EXPECT_EQ(vExpected.front(), "Büro");
    mapi::SetCurrentProfile(sFolder.string());
    // Every client version offers every category of the profile: the stand-in client of an
    // old version keeps the list in its registry value, one from version 12 on hands it out in
    // groups of four.
    struct Case
    {
        const char* sVersion;
        std::optional<win::RegistryValue::Kind> kStored;
    };
    const Case cases[] = {
        {"8.0.0.1", win::RegistryValue::Kind::Text},
        {"9.0.0.2", win::RegistryValue::Kind::Text},
        {"10.0.2627", win::RegistryValue::Kind::Binary},
        {"11.0.5510", win::RegistryValue::Kind::Binary},
        {"12.0.4518", std::nullopt},
        {"16.0.4266", std::nullopt},
    };
    for (const auto& c : cases) {
        const int lMajor = std::stoi(c.sVersion);
        const std::string sKey = std::to_string(lMajor) + ".0";
        ASSERT_FALSE(Stored(sKey).has_value()) << c.sVersion;
        // The client starts, then the add-in reads the list through its engine.
        m_olApp = std::make_shared<platform::outlook::Application>(c.sVersion);
        UseClientVersion(c.sVersion);
        const auto sList = detail::modMasterlist::GetMasterlist();
        EXPECT_EQ(OfferedNames(sList, lMajor), vExpected) << c.sVersion << ": " << sList;
        const auto stored = Stored(sKey);
        EXPECT_EQ(stored.has_value(), c.kStored.has_value()) << c.sVersion;
        if (stored && c.kStored) {
            EXPECT_EQ(stored->kind(), *c.kStored) << c.sVersion;
        }
    }
    // A list the user keeps in the registry is theirs: a new start does not replace it.
    PutValue("11.0", win::RegistryValue::binary(Utf16Le(u"Eigenes", true)));
    m_olApp = std::make_shared<platform::outlook::Application>("11.0.5510");
    UseClientVersion("11.0.5510");
    EXPECT_EQ(detail::modMasterlist::GetMasterlist(), "Eigenes");
}

} // namespace engine::test
