#include "platform/win/Registry.h"

#include "platform/runtime/Error.h"
#include "platform/win/FileIo.h"

#include "WinFixture.h"

#include <cerrno>
#include <sys/wait.h>

namespace platform::win {
namespace {

namespace rt = platform::runtime;
using Kind = RegistryValue::Kind;

constexpr std::string_view kSettings = "Software\\Kestrova\\Tallyman\\Settings\\";

class RegistryTest : public testing::WinFixture
{
protected:
    std::filesystem::path storeFile() const
    {
        return root() / "tallyman-registry" / "registry.txt";
    }

    static std::vector<std::uint8_t> bytes(std::string_view raw)
    {
        return {raw.begin(), raw.end()};
    }
};

TEST_F(RegistryTest, DefaultStoreLivesUnderTheDataFolder)
{
    EXPECT_EQ(Registry().storeFile(), storeFile());
    testing::ScopedEnv noConfig("XDG_CONFIG_HOME", nullptr);
    testing::ScopedEnv noHome("HOME", (root() / "home").c_str());
    EXPECT_EQ(Registry().storeFile(),
              root() / "home" / ".config" / "tallyman-registry" / "registry.txt");
}

TEST_F(RegistryTest, ValuesRoundTripInEveryKind)
{
    struct Case
    {
        const char* name;
        RegistryValue value;
    };
    const std::vector<Case> cases = {
        {"LastTemplate", RegistryValue::text("(Standard) Übersicht")},
        {"quotes and escapes", RegistryValue::text("a \"b\" c\\d\te\nf\r\x01")},
        {"empty text", RegistryValue::text("")},
        {"frmMain", RegistryValue::binary(bytes(std::string_view("0\0\t\0\xFF", 5)))},
        {"no bytes", RegistryValue::binary({})},
        {"Masterlist", RegistryValue()},
        {"", RegistryValue::text("default value")},
    };
    {
        Registry writer;
        for (const auto& c : cases) {
            writer.write(Hive::CurrentUser, kSettings, c.name, c.value);
        }
        // A second object sees the first one's writes at once.
        EXPECT_EQ(Registry().read(Hive::CurrentUser, kSettings, "LastTemplate"), cases[0].value);
    }
    // With every object gone, a new one has only the file to go by.
    Registry reader;
    for (const auto& c : cases) {
        EXPECT_EQ(reader.read(Hive::CurrentUser, kSettings, c.name), c.value) << c.name;
    }
    EXPECT_EQ(reader.read(Hive::CurrentUser, kSettings, "Masterlist")->kind(), Kind::Empty);
    EXPECT_EQ(reader.read(Hive::CurrentUser, kSettings, "no bytes")->kind(), Kind::Binary);
}

TEST_F(RegistryTest, PathsAndNamesIgnoreCaseAndStraySeparators)
{
    Registry registry;
    registry.write(Hive::CurrentUser, "Software\\Kestrova\\Größe", "Wert",
                   RegistryValue::text("1"));
    for (const char* path : {"SOFTWARE\\kestrova\\GRÖSSE", "\\software\\\\Kestrova\\größe\\",
                             "Software\\Kestrova\\Größe"}) {
        for (const char* name : {"Wert", "WERT", "wert"}) {
            const auto value = registry.read(Hive::CurrentUser, path, name);
            ASSERT_TRUE(value.has_value()) << path << " " << name;
            EXPECT_EQ(value->asText(), "1");
        }
    }
    // Rewriting under another spelling keeps the key's first spelling.
    registry.write(Hive::CurrentUser, "SOFTWARE\\KESTROVA\\GRÖSSE", "wert",
                   RegistryValue::text("2"));
    EXPECT_EQ(registry.subkeyNames(Hive::CurrentUser, "software\\kestrova"),
              std::vector<std::string>{"Größe"});
    EXPECT_EQ(registry.valueNames(Hive::CurrentUser, "software\\kestrova\\größe"),
              std::vector<std::string>{"wert"});
    EXPECT_EQ(registry.read(Hive::CurrentUser, "Software\\Kestrova\\Größe", "Wert")->asText(), "2");
}

TEST_F(RegistryTest, MissingKeysAndValuesReadAsNothing)
{
    Registry registry;
    EXPECT_EQ(registry.read(Hive::CurrentUser, kSettings, "frmMain"), std::nullopt);
    EXPECT_FALSE(std::filesystem::exists(storeFile())) << "a read must not create the store";
    registry.write(Hive::CurrentUser, kSettings, "frmMain", RegistryValue::text("x"));
    EXPECT_EQ(registry.read(Hive::CurrentUser, kSettings, "other"), std::nullopt);
    EXPECT_EQ(registry.read(Hive::CurrentUser, "Software\\Other", "frmMain"), std::nullopt);
    EXPECT_EQ(registry.read(Hive::LocalMachine, kSettings, "frmMain"), std::nullopt);
    EXPECT_TRUE(registry.keyExists(Hive::CurrentUser, "Software\\Kestrova"));
    EXPECT_TRUE(registry.keyExists(Hive::LocalMachine, ""));
    EXPECT_FALSE(registry.keyExists(Hive::LocalMachine, "Software"));
}

TEST_F(RegistryTest, HivesAreSeparate)
{
    Registry registry;
    registry.write(Hive::CurrentUser, "Software\\A", "v", RegistryValue::text("user"));
    registry.write(Hive::LocalMachine, "Software\\A", "v", RegistryValue::text("machine"));
    EXPECT_EQ(registry.read(Hive::CurrentUser, "Software\\A", "v")->asText(), "user");
    EXPECT_EQ(registry.read(Hive::LocalMachine, "Software\\A", "v")->asText(), "machine");
}

TEST_F(RegistryTest, DeleteValuesAndKeys)
{
    Registry registry;
    registry.write(Hive::CurrentUser, "Software\\A\\B", "v", RegistryValue::text("1"));
    registry.write(Hive::CurrentUser, "Software\\A", "w", RegistryValue::text("2"));
    EXPECT_TRUE(registry.deleteValue(Hive::CurrentUser, "software\\a", "W"));
    EXPECT_FALSE(registry.deleteValue(Hive::CurrentUser, "software\\a", "W"));
    EXPECT_EQ(registry.read(Hive::CurrentUser, "Software\\A", "w"), std::nullopt);
    EXPECT_TRUE(registry.keyExists(Hive::CurrentUser, "Software\\A"));

    EXPECT_TRUE(registry.deleteKey(Hive::CurrentUser, "SOFTWARE\\A"));
    EXPECT_FALSE(registry.keyExists(Hive::CurrentUser, "Software\\A\\B"));
    EXPECT_FALSE(registry.deleteKey(Hive::CurrentUser, "Software\\A"));
    EXPECT_TRUE(Registry().subkeyNames(Hive::CurrentUser, "Software").empty());
    EXPECT_EQ(errorNumberOf([&] { registry.deleteKey(Hive::CurrentUser, "\\"); }),
              rt::errors::InvalidProcedureCall);
}

TEST_F(RegistryTest, StoreFileHasTheDocumentedFormat)
{
    Registry registry;
    registry.write(Hive::CurrentUser, kSettings, "LastTemplate", RegistryValue::text("(Standard)"));
    registry.write(Hive::CurrentUser, kSettings, "frmMain", RegistryValue::binary({0x30, 0, 9, 0}));
    registry.writeEmpty(Hive::CurrentUser, kSettings, "Masterlist");
    EXPECT_EQ(readRaw(storeFile()), "Tallyman registry store 1\n"
                                    "\n"
                                    "[HKEY_CURRENT_USER\\Software\\Kestrova\\Tallyman\\Settings]\n"
                                    "\"frmMain\"=hex:30,00,09,00\n"
                                    "\"LastTemplate\"=\"(Standard)\"\n"
                                    "\"Masterlist\"=empty:\n");
}

TEST_F(RegistryTest, ChangesByAnotherProcessAreSeen)
{
    Registry registry;
    registry.write(Hive::CurrentUser, kSettings, "v", RegistryValue::text("before"));
    ASSERT_EQ(registry.read(Hive::CurrentUser, kSettings, "v")->asText(), "before");
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // The child's own store object shares nothing with the parent but the file.
        Registry(storeFile())
            .write(Hive::CurrentUser, kSettings, "v", RegistryValue::text("after"));
        ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(registry.read(Hive::CurrentUser, kSettings, "v")->asText(), "after");
}

TEST_F(RegistryTest, DamagedStoreRaisesAndIsNeverOverwritten)
{
    std::filesystem::create_directories(storeFile().parent_path());
    const std::vector<std::string> damaged = {
        "not a store\n",
        "Tallyman registry store 1\n\"v\"=\"orphan value\"\n",
        "Tallyman registry store 1\n[HKEY_NOWHERE\\A]\n",
        "Tallyman registry store 1\n[HKEY_CURRENT_USER\\A]\n\"v\"=hex:1\n",
        "Tallyman registry store 1\n[HKEY_CURRENT_USER\\A]\n\"v\"=\"open\n",
        "Tallyman registry store 1\n[HKEY_CURRENT_USER\\A]\n\"v\"=\"bad \\q escape\"\n",
    };
    for (const auto& text : damaged) {
        ASSERT_NO_THROW(replaceFileContents(storeFile(), text));
        Registry registry;
        EXPECT_EQ(errorNumberOf([&] { registry.read(Hive::CurrentUser, "A", "v"); }),
                  rt::errors::PathFileAccess)
            << text;
        EXPECT_EQ(errorNumberOf([&] {
                      registry.write(Hive::CurrentUser, "A", "v", RegistryValue::text("x"));
                  }),
                  rt::errors::PathFileAccess)
            << text;
        EXPECT_EQ(readRaw(storeFile()), text);
    }
}

TEST_F(RegistryTest, FailedWriteKeepsOldStoreAndMemory)
{
    Registry registry;
    registry.write(Hive::CurrentUser, kSettings, "v", RegistryValue::text("old"));
    const auto before = readRaw(storeFile());
    {
        ScopedWriteFault fault([](int, const char*, std::size_t) -> ssize_t {
            errno = ENOSPC;
            return -1;
        });
        EXPECT_EQ(errorNumberOf([&] {
                      registry.write(Hive::CurrentUser, kSettings, "v", RegistryValue::text("new"));
                  }),
                  rt::errors::DiskFull);
    }
    EXPECT_EQ(readRaw(storeFile()), before);
    EXPECT_EQ(registry.read(Hive::CurrentUser, kSettings, "v")->asText(), "old");
}

TEST_F(RegistryTest, ControlCharactersInKeyNamesAreRefused)
{
    Registry registry;
    EXPECT_EQ(errorNumberOf([&] {
                  registry.write(Hive::CurrentUser, "A\nB", "v", RegistryValue::text("x"));
              }),
              rt::errors::InvalidProcedureCall);
}

TEST_F(RegistryTest, HiveHandlesInBothSignednesses)
{
    EXPECT_EQ(hiveFromHandle(0x80000001), Hive::CurrentUser);
    EXPECT_EQ(hiveFromHandle(-2147483647), Hive::CurrentUser);
    EXPECT_EQ(hiveFromHandle(0x80000002), Hive::LocalMachine);
    EXPECT_EQ(hiveFromHandle(-2147483646), Hive::LocalMachine);
    EXPECT_EQ(hiveFromHandle(0x80000000), std::nullopt);
    EXPECT_EQ(hiveFromHandle(0x180000001), std::nullopt);
    EXPECT_EQ(hiveFromHandle(1), std::nullopt);
}

TEST(RegistryValueTest, ConversionsFollowTheRuntime)
{
    // Text written as its UTF-16LE bytes reads back as the same text (window placement).
    const std::string placement = std::string("0\0"
                                              "120\0"
                                              "ä",
                                              8);
    const auto asBytes = RegistryValue::text(placement).asBytes();
    EXPECT_EQ(asBytes.size(), 14u);
    EXPECT_EQ(RegistryValue::binary(asBytes).asText(), placement);
    // An odd last byte is a character of its own; a lone terminator is one NUL character.
    EXPECT_EQ(RegistryValue::binary({0x41, 0x00, 0x42}).asText(), "AB");
    EXPECT_EQ(RegistryValue::binary({0x00, 0x00}).asText(), std::string(1, '\0'));
    EXPECT_EQ(RegistryValue().asText(), "");
    EXPECT_TRUE(RegistryValue().asBytes().empty());

    const auto text = RegistryValue::text("Masterlist");
    EXPECT_EQ(RegistryValue::fromVariant(text.toVariant()), text);
    const auto binary = RegistryValue::binary({1, 2, 0xFF});
    const auto variant = binary.toVariant();
    ASSERT_TRUE(variant.IsArray());
    EXPECT_EQ(variant.AsArray().ElementType(), rt::VarType::Byte);
    EXPECT_EQ(variant.AsArray().UBound(), 2);
    EXPECT_EQ(RegistryValue::fromVariant(variant), binary);
    EXPECT_EQ(RegistryValue::fromVariant(rt::Variant()), RegistryValue());
    EXPECT_THROW(RegistryValue::fromVariant(rt::Variant(std::int32_t{5})), rt::Error);
}

} // namespace
} // namespace platform::win
