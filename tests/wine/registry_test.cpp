// The settings store on the real registry: value kinds, no key created by a
// write, a binary value rewritten as binary, and a flushed close.
#include "shell/UnitSettings.h"
#include "win32/Win32Registry.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace corvane {
namespace {

constexpr auto HKCU = RegRoot::CurrentUser;
const std::string kScratchParent = "Software\\CorvaneRegistryTest";
const std::string kScratch = kScratchParent + "\\Settings";

class RealRegistry : public ::testing::Test {
protected:
    void SetUp() override { ::RegDeleteTreeA(HKEY_CURRENT_USER, kScratchParent.c_str()); }
    void TearDown() override { ::RegDeleteTreeA(HKEY_CURRENT_USER, kScratchParent.c_str()); }

    static void PutRaw(const std::string& name, DWORD type, const void* data, DWORD size)
    {
        HKEY key = nullptr;
        ASSERT_EQ(::RegCreateKeyExA(
                      HKEY_CURRENT_USER, kScratch.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
            ERROR_SUCCESS);
        ASSERT_EQ(::RegSetValueExA(key, name.c_str(), 0, type, static_cast<const BYTE*>(data), size), ERROR_SUCCESS);
        ::RegCloseKey(key);
    }

    static DWORD RawType(const std::string& name, std::vector<BYTE>* bytes = nullptr)
    {
        HKEY key = nullptr;
        if (::RegOpenKeyExA(HKEY_CURRENT_USER, kScratch.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
            return REG_NONE;
        DWORD type = REG_NONE;
        BYTE buf[64] = {};
        DWORD size = sizeof buf;
        const LONG rc = ::RegQueryValueExA(key, name.c_str(), nullptr, &type, buf, &size);
        ::RegCloseKey(key);
        if (rc != ERROR_SUCCESS)
            return REG_NONE;
        if (bytes)
            bytes->assign(buf, buf + size);
        return type;
    }

    win32::Win32Registry reg;
};

TEST_F(RealRegistry, WritesNeverCreateTheKey)
{
    EXPECT_FALSE(SettingsWriteInt(reg, HKCU, kScratch, "ShowTips", 1));
    EXPECT_FALSE(SettingsWriteString(reg, HKCU, kScratch, "S", "x"));
    EXPECT_FALSE(SettingsKeyExists(reg, HKCU, kScratch));
    EXPECT_FALSE(SettingsKeyExists(reg, HKCU, kScratchParent));
    EXPECT_FALSE(SettingsValueExists(reg, HKCU, kScratch, "ShowTips"));
    EXPECT_EQ(SettingsReadInt(reg, HKCU, kScratch, "ShowTips"), 0);
}

TEST_F(RealRegistry, CreateKeyMakesParentsAndIntWritesAsDword)
{
    EXPECT_TRUE(SettingsCreateKey(reg, HKCU, kScratch));
    EXPECT_TRUE(SettingsKeyExists(reg, HKCU, kScratchParent));
    EXPECT_TRUE(SettingsWriteInt(reg, HKCU, kScratch, "ShowTips", -2));
    std::vector<BYTE> bytes;
    EXPECT_EQ(RawType("ShowTips", &bytes), static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(bytes, (std::vector<BYTE>{0xFE, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(SettingsReadInt(reg, HKCU, kScratch, "ShowTips"), -2);
}

TEST_F(RealRegistry, BinaryValueIsReadAndRewrittenAsBinary)
{
    const BYTE one[4] = {1, 0, 0, 0};
    PutRaw("AlwaysOnTop", REG_BINARY, one, sizeof one);
    const BYTE shortValue[2] = {0x34, 0x12};
    PutRaw("Short", REG_BINARY, shortValue, sizeof shortValue);

    EXPECT_EQ(SettingsReadInt(reg, HKCU, kScratch, "AlwaysOnTop"), 1);
    EXPECT_EQ(SettingsReadInt(reg, HKCU, kScratch, "Short"), 0x1234);
    EXPECT_TRUE(SettingsWriteInt(reg, HKCU, kScratch, "AlwaysOnTop", 0x01020304));
    std::vector<BYTE> bytes;
    EXPECT_EQ(RawType("AlwaysOnTop", &bytes), static_cast<DWORD>(REG_BINARY));
    EXPECT_EQ(bytes, (std::vector<BYTE>{4, 3, 2, 1}));
}

TEST_F(RealRegistry, OtherKindsReadAsZeroAndAreNotOverwritten)
{
    PutRaw("Text", REG_SZ, "1", 2);
    PutRaw("Expand", REG_EXPAND_SZ, "1", 2);
    EXPECT_EQ(SettingsReadInt(reg, HKCU, kScratch, "Text"), 0);
    EXPECT_EQ(SettingsReadInt(reg, HKCU, kScratch, "Expand"), 0);
    EXPECT_TRUE(SettingsWriteInt(reg, HKCU, kScratch, "Text", 5));
    std::vector<BYTE> bytes;
    EXPECT_EQ(RawType("Text", &bytes), static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(bytes, (std::vector<BYTE>{'1', 0}));
}

TEST_F(RealRegistry, StringValueAndDelete)
{
    ASSERT_TRUE(SettingsCreateKey(reg, HKCU, kScratch));
    const std::string line = "\"C:\\Program Files\\Corvane\\Corvane.exe\" -hidden";
    EXPECT_TRUE(SettingsWriteString(reg, HKCU, kScratch, "Corvane 2", line));
    std::vector<BYTE> bytes;
    EXPECT_EQ(RawType("Corvane 2", &bytes), static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), line + '\0');
    EXPECT_TRUE(SettingsValueExists(reg, HKCU, kScratch, "Corvane 2"));
    EXPECT_TRUE(SettingsDeleteValue(reg, HKCU, kScratch, "Corvane 2"));
    EXPECT_FALSE(SettingsValueExists(reg, HKCU, kScratch, "Corvane 2"));
    EXPECT_TRUE(SettingsDeleteValue(reg, HKCU, kScratch, "Corvane 2")) << "nothing left to delete";
}

TEST_F(RealRegistry, LongBinaryValueReadsWhole)
{
    ASSERT_TRUE(SettingsCreateKey(reg, HKCU, kScratch));
    std::vector<std::uint8_t> big(5000);
    for (std::size_t i = 0; i < big.size(); ++i)
        big[i] = static_cast<std::uint8_t>(i * 7);
    {
        const auto key = reg.Open(HKCU, kScratch, RegAccess::Full);
        ASSERT_TRUE(key);
        ASSERT_TRUE(key->WriteBinary("Big", big));
    }
    const auto key = reg.Open(HKCU, kScratch, RegAccess::Read);
    ASSERT_TRUE(key);
    const auto value = key->Read("Big");
    ASSERT_TRUE(value);
    EXPECT_EQ(value->kind, RegKind::Binary);
    EXPECT_EQ(value->data, big);
    EXPECT_FALSE(key->WriteDword("Big", 1)); // read access only
}

} // namespace
} // namespace corvane
