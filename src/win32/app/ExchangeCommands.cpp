#include "win32/app/ExchangeCommands.h"

#include "exchange/ImportFormats.h"
#include "exchange/UsageStats.h"
#include "library/UnitCorvaneTypes.h"
#include "platform/Clock.h"
#include "platform/FileSystem.h"
#include "platform/MessageBoxes.h"
#include "shell/CommandTable.h"
#include "shell/UnitGlobalParams.h"
#include "win32/ExchangeDialogs.h"
#include "win32/app/LibraryPanel.h"

namespace corvane::win32 {

namespace {

std::string Convert(std::string_view text, UINT from, UINT to)
{
    if (text.empty())
        return {};
    const int wide = ::MultiByteToWideChar(from, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring w(static_cast<size_t>(wide), L'\0');
    ::MultiByteToWideChar(from, 0, text.data(), static_cast<int>(text.size()), w.data(), wide);
    const char* fallback = to == CP_UTF8 ? nullptr : "?";
    const int narrow = ::WideCharToMultiByte(to, 0, w.data(), wide, nullptr, 0, fallback, nullptr);
    std::string out(static_cast<size_t>(narrow), '\0');
    ::WideCharToMultiByte(to, 0, w.data(), wide, out.data(), narrow, fallback, nullptr);
    return out;
}

// The system's ANSI code page, the one the library's files are in.
TCodePage SystemCodePage()
{
    TCodePage page;
    page.toUtf8 = [](std::string_view ansi) { return Convert(ansi, CP_ACP, CP_UTF8); };
    page.fromUtf8 = [](std::string_view utf8) { return Convert(utf8, CP_UTF8, CP_ACP); };
    return page;
}

TLocalTime LocalNow()
{
    SYSTEMTIME t{};
    ::GetLocalTime(&t);
    return {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
}

void ImportReplies(HWND owner, LibraryPanel& library, IMessageBoxes& boxes)
{
    library.CommitEdits();
    const auto path = ChooseImportFile(owner);
    if (!path)
        return;
    const TCodePage codePage = SystemCodePage();
    const auto bytes = library.Files().ReadFile(*path);
    if (!bytes) {
        boxes.Error("File \"" + *path + "\" can't be opened.");
        return;
    }
    TImportSet set = ReadImport(ImportFormatOf(*path), *bytes, codePage);
    if (!set.error.empty()) {
        boxes.Error(set.error);
        return;
    }
    ResolveAgainstLibrary(set, *library.Library());
    const std::string folder = ImportFolderName(*path);
    if (!ShowImportPreview(owner, folder, set))
        return;
    const std::string error = WriteImport(*library.Library(), library.Files(), set, folder);
    if (!error.empty())
        boxes.Error(error);
}

void ExportReplies(HWND owner, LibraryPanel& library, IMessageBoxes& boxes)
{
    library.CommitEdits();
    const TRep* selected = library.SelectedRep();
    const TRep* folder = selected && selected->IsFolder() ? selected : nullptr;
    const std::string name = folder ? library.Library()->Tree().Label(folder->Node) : "Corvane replies";
    const auto path = ChooseExportFile(owner, name + ".csv");
    if (!path)
        return;
    if (!library.Files().WriteFileReplacing(*path, WriteCsvExport(*library.Library(), folder, SystemCodePage())))
        boxes.Error("File \"" + *path + "\" can't be written.");
}

struct TStatisticsContext {
    LibraryPanel* library;
    std::string file;
};

TStatisticsView Rebuild(void* context, int wordsPerMinute, bool clear)
{
    auto& c = *static_cast<TStatisticsContext*>(context);
    if (clear)
        (void)c.library->Files().WriteFileReplacing(c.file, "");
    const TUsageStats stats(c.library->Files().ReadFile(c.file).value_or(""));
    return BuildStatisticsView(*c.library->Library(), stats, LocalNow(), wordsPerMinute);
}

} // namespace

void ShowStatisticsWindow(HWND owner, LibraryPanel& library, IRegistry& registry)
{
    TStatisticsContext context{&library, GlobalParams().DataDirFile(kUsageFileName)};
    const TStatisticsChoice choice
        = ShowStatistics(owner, {UsageCountingOn(registry), TypingSpeed(registry), false}, &Rebuild, &context);
    (void)WriteUsageSettings(registry, choice.countingOn, choice.wordsPerMinute);
}

bool RunExchangeCommand(int id, HWND owner, LibraryPanel& library, IRegistry& registry, IMessageBoxes& boxes)
{
    switch (id) {
    case CmdImport:
        ImportReplies(owner, library, boxes);
        return true;
    case CmdExport:
        ExportReplies(owner, library, boxes);
        return true;
    default:
        return false;
    }
}

} // namespace corvane::win32
