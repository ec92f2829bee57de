#pragma once
// Handing files and web addresses to the shell, and the Help menu's commands.
#include <windows.h>

#include <string>

namespace corvane {
struct TGlobalParams;
}

namespace corvane::win32 {

// Opens the target with its default action; does not wait and keeps no
// handle. The shell reports a failure itself.
bool OpenDocument(const std::string& target);

void OpenHelpTopics(const TGlobalParams& paths); // "&Help Topics" (F1)
void OpenTutorials(const TGlobalParams& paths); // "&Tutorials"
void OpenTutorialMovie(); // "Watch the Tutorial Movie"
void OpenProductHomePage(); // "&Corvane Home Page"
void OpenMakerHomePage(); // "&Tarnwick Home Page"

} // namespace corvane::win32
