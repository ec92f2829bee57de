#include "shell/UnitSettings.h"

#include <algorithm>
#include <memory>
#include <optional>

namespace corvane {

namespace {

std::vector<std::uint8_t> LittleEndian32(std::uint32_t v)
{
    return {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8), static_cast<std::uint8_t>(v >> 16),
        static_cast<std::uint8_t>(v >> 24)};
}

std::uint32_t FromLittleEndian(const std::vector<std::uint8_t>& bytes)
{
    std::uint32_t v = 0;
    for (std::size_t i = 0; i < bytes.size() && i < 4; ++i)
        v |= static_cast<std::uint32_t>(bytes[i]) << (8 * i);
    return v;
}

} // namespace

std::int32_t SettingsReadInt(IRegistry& reg, RegRoot root, const std::string& key, const std::string& name)
{
    const auto k = reg.Open(root, key, RegAccess::Read);
    if (!k)
        return 0;
    const auto value = k->Read(name);
    if (!value || (value->kind != RegKind::Dword && value->kind != RegKind::Binary))
        return 0;
    return static_cast<std::int32_t>(FromLittleEndian(value->data));
}

bool SettingsWriteInt(IRegistry& reg, RegRoot root, const std::string& key, const std::string& name, std::int32_t value)
{
    const auto k = reg.Open(root, key, RegAccess::Full);
    if (!k)
        return false;
    const auto existing = k->Read(name);
    const auto bits = static_cast<std::uint32_t>(value);
    if (!existing || existing->kind == RegKind::Dword)
        return k->WriteDword(name, bits);
    if (existing->kind == RegKind::Binary)
        return k->WriteBinary(name, LittleEndian32(bits));
    return false;
}

bool SettingsWriteString(
    IRegistry& reg, RegRoot root, const std::string& key, const std::string& name, const std::string& text)
{
    const auto k = reg.Open(root, key, RegAccess::Full);
    if (!k)
        return false;
    return k->WriteString(name, text);
}

bool SettingsDeleteValue(IRegistry& reg, RegRoot root, const std::string& key, const std::string& name)
{
    if (!SettingsValueExists(reg, root, key, name))
        return true;
    const auto k = reg.Open(root, key, RegAccess::Full);
    return k && k->DeleteValue(name);
}

bool SettingsValueExists(IRegistry& reg, RegRoot root, const std::string& key, const std::string& name)
{
    const auto k = reg.Open(root, key, RegAccess::Read);
    return k && k->ValueExists(name);
}

bool SettingsKeyExists(IRegistry& reg, RegRoot root, const std::string& key) { return reg.KeyExists(root, key); }

bool SettingsCreateKey(IRegistry& reg, RegRoot root, const std::string& key)
{
    if (reg.KeyExists(root, key))
        return true;
    return reg.Create(root, key) != nullptr;
}

bool ReadProgramFlag(IRegistry& reg, const std::string& name)
{
    return SettingsReadInt(reg, RegRoot::CurrentUser, kProgramKey, name) == 1;
}

std::string ReadProgramString(IRegistry& reg, const std::string& name)
{
    const auto k = reg.Open(RegRoot::CurrentUser, kProgramKey, RegAccess::Read);
    const auto value = k ? k->Read(name) : std::nullopt;
    if (!value || value->kind != RegKind::String)
        return {};
    std::string text(value->data.begin(), value->data.end());
    text.resize(text.find('\0') == std::string::npos ? text.size() : text.find('\0'));
    return text;
}

bool WriteProgramString(IRegistry& reg, const std::string& name, const std::string& text)
{
    return SettingsWriteString(reg, RegRoot::CurrentUser, kProgramKey, name, text);
}

bool ReadProgramFlagOr(IRegistry& reg, const std::string& name, bool missing)
{
    if (!SettingsValueExists(reg, RegRoot::CurrentUser, kProgramKey, name))
        return missing;
    return ReadProgramFlag(reg, name);
}

bool ReadPickerEnabled(IRegistry& reg) { return ReadProgramFlagOr(reg, kPickerEnabled, true); }
bool ReadUndoWithBackspace(IRegistry& reg) { return ReadProgramFlagOr(reg, kUndoWithBackspace, true); }
bool ReadFollowMacroCase(IRegistry& reg) { return ReadProgramFlagOr(reg, kFollowMacroCase, true); }
bool ReadEndKeysTabEnter(IRegistry& reg) { return ReadProgramFlagOr(reg, kEndKeysTabEnter, false); }

bool WriteProgramFlag(IRegistry& reg, const std::string& name, bool on)
{
    return SettingsWriteInt(reg, RegRoot::CurrentUser, kProgramKey, name, on ? 1 : 0);
}

bool EnsureDefaultSettings(IRegistry& reg)
{
    struct Default {
        const char* name;
        std::int32_t value;
    };
    static constexpr Default kDefaults[]
        = {{kShowTips, 1}, {kShowMacroIns, 1}, {kKeepClipboard, 1}, {kAlwaysOnTop, 0}, {kEditMode, 1}};

    bool written = SettingsCreateKey(reg, RegRoot::CurrentUser, kProgramKey);
    for (const auto& d : kDefaults)
        if (!SettingsValueExists(reg, RegRoot::CurrentUser, kProgramKey, d.name))
            written = SettingsWriteInt(reg, RegRoot::CurrentUser, kProgramKey, d.name, d.value) && written;
    return written;
}

std::string SettingsReadString(IRegistry& reg, RegRoot root, const std::string& key, const std::string& name)
{
    const std::unique_ptr<IRegistryKey> k = reg.Open(root, key, RegAccess::Read);
    const std::optional<RegValue> value = k ? k->Read(name) : std::nullopt;
    if (!value || value->kind != RegKind::String)
        return {};
    std::string text(value->data.begin(), value->data.end());
    // Stored with its terminating zero, or not, by whoever wrote it.
    text.resize(std::min(text.size(), text.find('\0')));
    return text;
}

TSharedLibrarySetting ReadSharedLibrarySetting(IRegistry& reg)
{
    TSharedLibrarySetting setting;
    setting.folder = SettingsReadString(reg, RegRoot::CurrentUser, kProgramKey, kSharedLibrary);
    // "\\server\share\" and "\\server\share" name one folder.
    while (setting.folder.size() > 3 && (setting.folder.back() == '\\' || setting.folder.back() == '/'))
        setting.folder.pop_back();
    setting.name = SettingsReadString(reg, RegRoot::CurrentUser, kProgramKey, kSharedLibraryName);
    if (setting.name.empty())
        setting.name = kDefaultSharedLibraryName;
    return setting;
}

bool WriteSharedLibrarySetting(IRegistry& reg, const TSharedLibrarySetting& setting)
{
    const bool folder = SettingsWriteString(reg, RegRoot::CurrentUser, kProgramKey, kSharedLibrary, setting.folder);
    return SettingsWriteString(reg, RegRoot::CurrentUser, kProgramKey, kSharedLibraryName,
               setting.name.empty() ? std::string(kDefaultSharedLibraryName) : setting.name)
        && folder;
}

std::string AutorunCommandLine(const std::string& programPath) { return "\"" + programPath + "\" -hidden"; }

bool AutorunEnabled(IRegistry& reg) { return SettingsValueExists(reg, RegRoot::CurrentUser, kRunKey, kAutorunValue); }

bool SetAutorun(IRegistry& reg, bool on, const std::string& programPath)
{
    if (on)
        return SettingsWriteString(reg, RegRoot::CurrentUser, kRunKey, kAutorunValue, AutorunCommandLine(programPath));
    return SettingsDeleteValue(reg, RegRoot::CurrentUser, kRunKey, kAutorunValue);
}

} // namespace corvane
