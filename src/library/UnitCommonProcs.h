#pragma once
// Helpers shared by the library and the main window: free file numbers,
// directory deletion, hot-key codes and the modal message boxes.
#include <string>
#include <string_view>

namespace corvane {

class IFileSystem;
class IMessageBoxes;

// The 36 keys a hot key can use, in the order the key list shows them.
inline constexpr std::string_view kHotKeyChars = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";

// The characters the keystroke recogniser produces, one row per Shift state,
// position by position the same key of a US keyboard; they are also all a
// macro may hold, so every macro can be typed.
inline constexpr std::string_view kKeyCharsUnshifted = "1234567890abcdefghijklmnopqrstuvwxyz,.;=-/`[\\]'";
inline constexpr std::string_view kKeyCharsShifted = "!@#$%^&*()ABCDEFGHIJKLMNOPQRSTUVWXYZ<>:+_?~{|}\"";
static_assert(kKeyCharsUnshifted.size() == 47 && kKeyCharsShifted.size() == 47);

// First n from 1 up for which <dir>\<n>.rep does not exist.
std::string FreeReplyNumber(const IFileSystem& fs, const std::string& dir);
// First m from 1 up for which <dir>\<m> is not an existing directory.
std::string FreeFolderNumber(const IFileSystem& fs, const std::string& dir);

// Deletes everything in `dir` and then `dir` itself, going on past entries
// that cannot be deleted. A linked directory (junction, symbolic link) is
// removed as a link; what it points to is left alone. Returns true when the
// directory is gone.
bool DeleteTree(IFileSystem& fs, const std::string& dir);
// Copies everything in `from` into the existing directory `to`. Refuses a
// linked directory (junction, symbolic link) rather than copying what it
// points to; false at the first entry that cannot be copied.
[[nodiscard]] bool CopyTree(IFileSystem& fs, const std::string& from, const std::string& to);

// Hot-key codes: the Shift flag "1" or "0", then the key character upper-cased.
std::string MakeHotKeyCode(bool shift, char key);
struct HotKeyParts {
    bool shift = false;
    char key = '\0'; // '\0' when the code is too short to hold one
};
HotKeyParts SplitHotKeyCode(std::string_view code);
// "<CTRL>+<ALT>+", "<SHIFT>+" when shifted, then the key.
std::string HotKeyText(std::string_view code);
// A code the hot-key index accepts: "0" or "1", then A-Z or 0-9 (either case).
bool IsValidHotKeyCode(std::string_view code);

// Replaces the first "%s" of `format` by `argument`.
std::string FormatMessageText(std::string_view format, std::string_view argument);

// The program's message boxes. Until SetMessageBoxes installs an
// implementation they show nothing and AskYesNo answers No.
void SetMessageBoxes(IMessageBoxes* boxes);
IMessageBoxes* CurrentMessageBoxes();
void ShowInfo(const std::string& text);
void ShowWarning(const std::string& text);
void ShowError(const std::string& text);
bool AskYesNo(const std::string& text);

} // namespace corvane
