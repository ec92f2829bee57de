#pragma once
// The import preview, the file choosers of import and export, and the
// Statistics window.
#include <windows.h>

#include <optional>
#include <string>

namespace corvane {
struct TImportSet;
struct TStatisticsView;
} // namespace corvane

namespace corvane::win32 {

// True when the user accepts what the preview lists.
bool ShowImportPreview(HWND owner, const std::string& fileName, const TImportSet& set);
std::optional<std::string> ChooseImportFile(HWND owner);
std::optional<std::string> ChooseExportFile(HWND owner, const std::string& suggestedName);

// What the Statistics window leaves changed.
struct TStatisticsChoice {
    bool countingOn = true;
    int wordsPerMinute = 40;
    bool cleared = false;
};
// `rebuild` gives the figures again at another typing speed.
TStatisticsChoice ShowStatistics(HWND owner, TStatisticsChoice settings,
    TStatisticsView (*rebuild)(void* context, int wordsPerMinute, bool clear), void* context);

} // namespace corvane::win32
