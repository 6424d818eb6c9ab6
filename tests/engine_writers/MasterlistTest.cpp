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
    const std::pair<const char*, const char*> cases[] = {
        {"8.0.0.1", "acht"},       {"9.0.0.2", "neun"},          {"10.0.2627", "zehn"},
        {"11.0.5510", "elf"},      {"12.0.4518", "Büro;Privat"}, {"14.0.1", "Büro;Privat"},
        {"15.0.2", "Büro;Privat"}, {"16.0.4266", "Büro;Privat"},
    };
    for (const auto& [sVersion, sExpected] : cases) {
        UseClientVersion(sVersion);
        EXPECT_EQ(detail::modMasterlist::GetMasterlist(), sExpected) << sVersion;
        EXPECT_EQ(Root().GetMasterlist(), sExpected) << sVersion; // the public member
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
    std::string sList = "Kunden;Ärger";
    oList->WriteCategories(sList);
    const auto value = Store().GetProperty(st::props::PR_MASTER_CATEGORY_LIST);
    ASSERT_TRUE(value.has_value());
    EXPECT_EQ(std::get<std::string>(*value), "Kunden;Ärger");
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
    mapi::SetCurrentProfile(sFolder.string());
    UseClientVersion("16.0.1");
    const auto sList = detail::modMasterlist::GetMasterlist();
    EXPECT_EQ(sList, std::get<std::string>(*expected));
    EXPECT_NE(sList.find(';'), std::string::npos);
}

} // namespace engine::test
