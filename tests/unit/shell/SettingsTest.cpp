#include "fakes/FakeRegistry.h"
#include "shell/UnitSettings.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

using test::Binary;
using test::Dword;
using test::FakeRegistry;
using test::String;

constexpr auto HKCU = RegRoot::CurrentUser;

TEST(SettingsReadInt, ReadsDwordAndFirstFourBinaryBytesAndZeroForAnythingElse)
{
    FakeRegistry reg;
    reg.Put(kProgramKey, "D", Dword(0xFFFFFFFF));
    reg.Put(kProgramKey, "B", Binary({1, 2, 0, 0, 9, 9}));
    reg.Put(kProgramKey, "S", String("1"));
    reg.Put(kProgramKey, "Short", Binary({0x34, 0x12}));
    reg.Put(kProgramKey, "Empty", Binary({}));

    EXPECT_EQ(SettingsReadInt(reg, HKCU, kProgramKey, "D"), -1);
    EXPECT_EQ(SettingsReadInt(reg, HKCU, kProgramKey, "B"), 0x0201);
    EXPECT_EQ(SettingsReadInt(reg, HKCU, kProgramKey, "S"), 0);
    EXPECT_EQ(SettingsReadInt(reg, HKCU, kProgramKey, "Short"), 0x1234);
    EXPECT_EQ(SettingsReadInt(reg, HKCU, kProgramKey, "Empty"), 0);
    EXPECT_EQ(SettingsReadInt(reg, HKCU, kProgramKey, "Missing"), 0);
    EXPECT_EQ(SettingsReadInt(reg, HKCU, "SOFTWARE\\Nowhere", "D"), 0);
    EXPECT_EQ(reg.OpenKeys(), 0);
}

TEST(SettingsWriteInt, KeepsTheKindOfAnExistingValue)
{
    FakeRegistry reg;
    reg.Put(kProgramKey, "Dw", Dword(7));
    reg.Put(kProgramKey, "Bin", Binary({1, 0, 0, 0, 0, 0}));
    reg.Put(kProgramKey, "Str", String("x"));

    EXPECT_TRUE(SettingsWriteInt(reg, HKCU, kProgramKey, "Dw", 0));
    EXPECT_TRUE(SettingsWriteInt(reg, HKCU, kProgramKey, "Bin", 0x01020304));
    EXPECT_FALSE(SettingsWriteInt(reg, HKCU, kProgramKey, "Str", 5)) << "left alone is not written";
    EXPECT_TRUE(SettingsWriteInt(reg, HKCU, kProgramKey, "New", 1));

    EXPECT_EQ(reg.Get(kProgramKey, "Dw"), Dword(0));
    EXPECT_EQ(reg.Get(kProgramKey, "Bin"), Binary({4, 3, 2, 1}));
    EXPECT_EQ(reg.Get(kProgramKey, "Str"), String("x"));
    EXPECT_EQ(reg.Get(kProgramKey, "New"), Dword(1));
}

TEST(SettingsWriteInt, NeverCreatesTheKey)
{
    FakeRegistry reg;
    EXPECT_FALSE(SettingsWriteInt(reg, HKCU, kProgramKey, kShowTips, 1));
    EXPECT_FALSE(SettingsWriteString(reg, HKCU, kProgramKey, "S", "t"));
    EXPECT_FALSE(reg.KeyExists(HKCU, kProgramKey));
    EXPECT_FALSE(reg.KeyExists(HKCU, "SOFTWARE\\Tarnwick"));
}

TEST(SettingsOperations, StringDeleteExistsAndKeys)
{
    FakeRegistry reg;
    EXPECT_FALSE(SettingsKeyExists(reg, HKCU, kProgramKey));
    EXPECT_TRUE(SettingsCreateKey(reg, HKCU, kProgramKey));
    EXPECT_TRUE(SettingsCreateKey(reg, HKCU, kProgramKey));
    EXPECT_TRUE(SettingsKeyExists(reg, HKCU, "software\\tarnwick\\corvane 2"));

    EXPECT_TRUE(SettingsWriteString(reg, HKCU, kProgramKey, "S", "text"));
    EXPECT_EQ(reg.Get(kProgramKey, "S"), String("text"));
    EXPECT_TRUE(SettingsValueExists(reg, HKCU, kProgramKey, "S"));

    EXPECT_TRUE(SettingsDeleteValue(reg, HKCU, kProgramKey, "S"));
    EXPECT_FALSE(SettingsValueExists(reg, HKCU, kProgramKey, "S"));
    EXPECT_TRUE(SettingsDeleteValue(reg, HKCU, kProgramKey, "S")) << "a missing value is as good as deleted";
    EXPECT_TRUE(SettingsDeleteValue(reg, HKCU, "SOFTWARE\\Nowhere", "S")) << "a missing key too";
    EXPECT_FALSE(SettingsValueExists(reg, HKCU, "SOFTWARE\\Nowhere", "S"));
    EXPECT_FALSE(reg.KeyExists(HKCU, "SOFTWARE\\Nowhere"));
    EXPECT_EQ(reg.OpenKeys(), 0);
}

TEST(SettingsOperations, AWriteTheRegistryRefusesIsReportedAsAFailure)
{
    FakeRegistry reg;
    reg.Put(kProgramKey, kShowTips, Dword(1));
    reg.Put(kProgramKey, kAlwaysOnTop, Binary({0, 0, 0, 0}));
    reg.Put(kProgramKey, "S", String("text"));
    reg.AddKey(kRunKey);
    reg.failValueWrites = true;
    EXPECT_FALSE(SettingsWriteInt(reg, HKCU, kProgramKey, kShowTips, 0));
    EXPECT_FALSE(SettingsWriteInt(reg, HKCU, kProgramKey, kAlwaysOnTop, 1));
    EXPECT_FALSE(SettingsWriteString(reg, HKCU, kProgramKey, "S", "other"));
    EXPECT_FALSE(WriteProgramFlag(reg, kShowTips, false));
    EXPECT_FALSE(SetAutorun(reg, true, "C:\\Corvane.exe"));
    EXPECT_FALSE(EnsureDefaultSettings(reg));
}

TEST(Flags, TrueOnlyWhenExactlyOne)
{
    FakeRegistry reg;
    reg.Put(kProgramKey, kShowTips, Dword(1));
    reg.Put(kProgramKey, kEditMode, Dword(2));
    reg.Put(kProgramKey, kAlwaysOnTop, Binary({1, 0, 0, 0}));
    EXPECT_TRUE(ReadProgramFlag(reg, kShowTips));
    EXPECT_FALSE(ReadProgramFlag(reg, kEditMode));
    EXPECT_TRUE(ReadProgramFlag(reg, kAlwaysOnTop));
    EXPECT_FALSE(ReadProgramFlag(reg, kShowMacroIns));
}

TEST(EnsureDefaultSettings, CleanAccountGetsTheFourDefaultsAndNoGeometry)
{
    FakeRegistry reg;
    EXPECT_TRUE(EnsureDefaultSettings(reg));
    EXPECT_EQ(reg.Get(kProgramKey, kShowTips), Dword(1));
    EXPECT_EQ(reg.Get(kProgramKey, kShowMacroIns), Dword(1));
    EXPECT_EQ(reg.Get(kProgramKey, kAlwaysOnTop), Dword(0));
    EXPECT_EQ(reg.Get(kProgramKey, kEditMode), Dword(1));
    EXPECT_FALSE(reg.Get(kProgramKey, kMainFormSettings));
    EXPECT_FALSE(reg.Get(kProgramKey, kNavMainFormSettings));
}

TEST(EnsureDefaultSettings, NeverChangesExistingValues)
{
    FakeRegistry reg;
    reg.Put(kProgramKey, kShowTips, Dword(0));
    reg.Put(kProgramKey, kShowMacroIns, String("odd"));
    reg.Put(kProgramKey, kAlwaysOnTop, Binary({1, 0, 0, 0}));
    reg.Put(kProgramKey, kEditMode, Dword(2));
    EXPECT_TRUE(EnsureDefaultSettings(reg));
    EXPECT_EQ(reg.Get(kProgramKey, kShowTips), Dword(0));
    EXPECT_EQ(reg.Get(kProgramKey, kShowMacroIns), String("odd"));
    EXPECT_EQ(reg.Get(kProgramKey, kAlwaysOnTop), Binary({1, 0, 0, 0}));
    EXPECT_EQ(reg.Get(kProgramKey, kEditMode), Dword(2));
}

TEST(Autorun, PathIsQuotedAndPresenceMeansOn)
{
    FakeRegistry reg;
    reg.AddKey(kRunKey);
    const std::string path = "C:\\Program Files\\Corvane\\Corvane.exe";
    EXPECT_EQ(AutorunCommandLine(path), "\"C:\\Program Files\\Corvane\\Corvane.exe\" -hidden");

    EXPECT_FALSE(AutorunEnabled(reg));
    EXPECT_TRUE(SetAutorun(reg, true, path));
    EXPECT_EQ(reg.Get(kRunKey, kAutorunValue), String(AutorunCommandLine(path)));
    EXPECT_TRUE(AutorunEnabled(reg));

    reg.Put(kRunKey, kAutorunValue, Dword(0)); // any data at all
    EXPECT_TRUE(AutorunEnabled(reg));
    EXPECT_TRUE(SetAutorun(reg, false, path));
    EXPECT_FALSE(AutorunEnabled(reg));
}

} // namespace
} // namespace corvane
