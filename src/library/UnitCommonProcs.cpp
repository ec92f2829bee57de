#include "library/UnitCommonProcs.h"

#include "library/TextUtils.h"
#include "library/UnitConsts.h"
#include "platform/FileSystem.h"
#include "platform/MessageBoxes.h"

namespace corvane {

std::string FreeReplyNumber(const IFileSystem& fs, const std::string& dir)
{
    for (unsigned n = 1;; ++n) {
        std::string number = std::to_string(n);
        if (!fs.FileExists(dir + "\\" + number + kReplyExtension))
            return number;
    }
}

std::string FreeFolderNumber(const IFileSystem& fs, const std::string& dir)
{
    for (unsigned m = 1;; ++m) {
        std::string number = std::to_string(m);
        if (!fs.DirExists(dir + "\\" + number))
            return number;
    }
}

bool DeleteTree(IFileSystem& fs, const std::string& dir)
{
    if (fs.IsLink(dir))
        return fs.RemoveDir(dir) || fs.DeleteFile(dir);
    for (const DirEntry& entry : fs.List(dir)) {
        const std::string path = dir + "\\" + entry.name;
        if (entry.isDir) {
            // Past what cannot go: the last RemoveDir tells whether all went.
            (void)DeleteTree(fs, path);
        } else {
            (void)fs.SetNormalAttributes(path);
            (void)fs.DeleteFile(path);
        }
    }
    return fs.RemoveDir(dir);
}

bool CopyTree(IFileSystem& fs, const std::string& from, const std::string& to)
{
    for (const DirEntry& entry : fs.List(from)) {
        const std::string source = from + "\\" + entry.name;
        const std::string copy = to + "\\" + entry.name;
        if (fs.IsLink(source))
            return false;
        if (entry.isDir) {
            if (!fs.CreateDir(copy) || !CopyTree(fs, source, copy))
                return false;
            continue;
        }
        const std::optional<std::string> bytes = fs.ReadFile(source);
        if (!bytes || !fs.WriteFileReplacing(copy, *bytes))
            return false;
    }
    return true;
}

std::string MakeHotKeyCode(bool shift, char key)
{
    std::string code(1, shift ? '1' : '0');
    code += ToUpperAnsi(key);
    return code;
}

HotKeyParts SplitHotKeyCode(std::string_view code)
{
    HotKeyParts parts;
    parts.shift = !code.empty() && code[0] == '1';
    if (code.size() >= 2)
        parts.key = ToUpperAnsi(code[1]);
    return parts;
}

std::string HotKeyText(std::string_view code)
{
    const HotKeyParts parts = SplitHotKeyCode(code);
    std::string text = "<CTRL>+<ALT>+";
    if (parts.shift)
        text += "<SHIFT>+";
    if (parts.key != '\0')
        text += parts.key;
    return text;
}

bool IsValidHotKeyCode(std::string_view code)
{
    if (code.size() != 2 || (code[0] != '0' && code[0] != '1'))
        return false;
    const char key = ToUpperAnsi(code[1]);
    return kHotKeyChars.find(key) != std::string_view::npos;
}

std::string FormatMessageText(std::string_view format, std::string_view argument)
{
    std::string text(format);
    const size_t at = text.find("%s");
    if (at != std::string::npos)
        text.replace(at, 2, argument);
    return text;
}

namespace {

IMessageBoxes*& InstalledBoxes()
{
    static IMessageBoxes* boxes = nullptr;
    return boxes;
}

} // namespace

void SetMessageBoxes(IMessageBoxes* boxes) { InstalledBoxes() = boxes; }
IMessageBoxes* CurrentMessageBoxes() { return InstalledBoxes(); }

void ShowInfo(const std::string& text)
{
    if (IMessageBoxes* boxes = InstalledBoxes())
        boxes->Info(text);
}

void ShowWarning(const std::string& text)
{
    if (IMessageBoxes* boxes = InstalledBoxes())
        boxes->Warning(text);
}

void ShowError(const std::string& text)
{
    if (IMessageBoxes* boxes = InstalledBoxes())
        boxes->Error(text);
}

bool AskYesNo(const std::string& text)
{
    IMessageBoxes* boxes = InstalledBoxes();
    return boxes != nullptr && boxes->AskYesNo(text);
}

} // namespace corvane
