#pragma once
// The settings store: the program's registry key, its values and the access
// operations every part of the program reads and writes settings through.
#include "library/Texts.h"
#include "platform/Registry.h"

#include <cstdint>
#include <string>

namespace corvane {

inline constexpr const char* kProgramKey = "SOFTWARE\\Tarnwick\\Corvane 2";
inline constexpr const char* kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr const char* kAutorunValue = "Corvane 2";

inline constexpr const char* kShowTips = "ShowTips";
inline constexpr const char* kShowMacroIns = "ShowMacroIns";
inline constexpr const char* kAlwaysOnTop = "AlwaysOnTop";
inline constexpr const char* kEditMode = "EditMode";
// Ctrl+Alt+Space opens the picker unless this is 0; missing means on.
inline constexpr const char* kPickerEnabled = "PickerEnabled";
// Program file names, separated by ";", where nothing is recognised.
inline constexpr const char* kExcludedPrograms = "ExcludedPrograms";
// The replies delivered lately, most recent first, separated by ";".
inline constexpr const char* kRecentReplies = "RecentReplies";
// Window classes of the user's own consoles and terminals, separated by commas.
inline constexpr const char* kConsoleClasses = "ConsoleClasses";
inline constexpr const char* kKeepClipboard = "KeepClipboard";
// How typed macros feel; missing means the default (on, on, off).
inline constexpr const char* kUndoWithBackspace = "UndoWithBackspace";
inline constexpr const char* kFollowMacroCase = "FollowMacroCase";
inline constexpr const char* kEndKeysTabEnter = "EndKeysTabEnter";
inline constexpr const char* kMainFormSettings = "MainFormSettings";
inline constexpr const char* kNavMainFormSettings = "NavMainFormSettings";
// The DPI each of the two records above was taken at; a record without one
// was taken at 96 DPI.
inline constexpr const char* kMainFormDpi = "MainFormDpi";
inline constexpr const char* kNavMainFormDpi = "NavMainFormDpi";
inline constexpr const char* kMacroInsFormSettings = "MacroInsFormSettings";
// The DPI the parameters dialog's stored size was taken at.
inline constexpr const char* kMacroInsFormDpi = "MacroInsFormDpi";
// The team library: its folder (REG_SZ, empty or missing for none), the name
// of its top-level folder, and the key conflicts the user was told about.
inline constexpr const char* kSharedLibrary = "SharedLibrary";
inline constexpr const char* kSharedLibraryName = "SharedLibraryName";
inline constexpr const char* kSharedLibraryConflicts = "SharedLibraryConflicts";
inline constexpr const char* kDefaultSharedLibraryName = "Team";

// A DWORD yields its value, a binary value its first 4 bytes little-endian
// (fewer bytes are zero-extended); anything else, or nothing, yields 0.
[[nodiscard]] std::int32_t SettingsReadInt(
    IRegistry& reg, RegRoot root, const std::string& key, const std::string& name);
// Never creates the key. DWORD and missing values are written as DWORD, binary
// ones as 4 bytes of binary; a value of another kind is left alone. Every
// write returns false when the value was not stored as asked.
[[nodiscard]] bool SettingsWriteInt(
    IRegistry& reg, RegRoot root, const std::string& key, const std::string& name, std::int32_t value);
// A string value's text; empty for anything else, or nothing.
[[nodiscard]] std::string SettingsReadString(
    IRegistry& reg, RegRoot root, const std::string& key, const std::string& name);
[[nodiscard]] bool SettingsWriteString(
    IRegistry& reg, RegRoot root, const std::string& key, const std::string& name, const std::string& text);
// True when the value is gone afterwards, also when there was none.
[[nodiscard]] bool SettingsDeleteValue(IRegistry& reg, RegRoot root, const std::string& key, const std::string& name);
[[nodiscard]] bool SettingsValueExists(IRegistry& reg, RegRoot root, const std::string& key, const std::string& name);
[[nodiscard]] bool SettingsKeyExists(IRegistry& reg, RegRoot root, const std::string& key);
[[nodiscard]] bool SettingsCreateKey(IRegistry& reg, RegRoot root, const std::string& key);

// The program's own boolean settings: true only when the value reads exactly 1.
[[nodiscard]] bool ReadProgramFlag(IRegistry& reg, const std::string& name);
[[nodiscard]] bool WriteProgramFlag(IRegistry& reg, const std::string& name, bool on);
[[nodiscard]] bool ReadPickerEnabled(IRegistry& reg);
// A flag of the program's key, `missing` when it has never been written.
[[nodiscard]] bool ReadProgramFlagOr(IRegistry& reg, const std::string& name, bool missing);
// The typing settings, with their defaults.
[[nodiscard]] bool ReadUndoWithBackspace(IRegistry& reg);
[[nodiscard]] bool ReadFollowMacroCase(IRegistry& reg);
[[nodiscard]] bool ReadEndKeysTabEnter(IRegistry& reg);

// A string value of the program key; empty when missing or of another kind.
[[nodiscard]] std::string ReadProgramString(IRegistry& reg, const std::string& name);
[[nodiscard]] bool WriteProgramString(IRegistry& reg, const std::string& name, const std::string& text);

// Creates the program key and writes the defaults of the missing values;
// existing values are never touched. False when something could not be written.
[[nodiscard]] bool EnsureDefaultSettings(IRegistry& reg);

// The team library's folder without a trailing separator (empty: none) and
// the name of its top-level folder ("Team" when none is set).
struct TSharedLibrarySetting {
    std::string folder;
    std::string name;
    bool operator==(const TSharedLibrarySetting&) const = default;
};
TSharedLibrarySetting ReadSharedLibrarySetting(IRegistry& reg);
[[nodiscard]] bool WriteSharedLibrarySetting(IRegistry& reg, const TSharedLibrarySetting& setting);

// Autorun: the presence of the Run value means on, whatever it holds. The
// path is quoted so that a path with blanks cannot start another program.
std::string AutorunCommandLine(const std::string& programPath);
[[nodiscard]] bool AutorunEnabled(IRegistry& reg);
[[nodiscard]] bool SetAutorun(IRegistry& reg, bool on, const std::string& programPath);

} // namespace corvane
