#include "win32/ShellOpen.h"

#include "shell/UnitGlobalParams.h"
#include "shell/UnitHelpLinks.h"

#include <shellapi.h>

namespace corvane::win32 {

bool OpenDocument(const std::string& target)
{
    SHELLEXECUTEINFOA info{};
    info.cbSize = sizeof info;
    info.lpFile = target.c_str();
    info.nShow = SW_SHOWDEFAULT;
    return ::ShellExecuteExA(&info) != FALSE;
}

void OpenHelpTopics(const TGlobalParams& paths) { OpenDocument(paths.ProgramDirFile(kHelpFile)); }

void OpenTutorials(const TGlobalParams& paths) { OpenDocument(paths.ProgramDirFile(kTutorialsFile)); }

void OpenTutorialMovie() { OpenDocument(WebPageAddress(WebPage::TutorialMovie, LinkSource::HelpMenu)); }

void OpenProductHomePage() { OpenDocument(WebPageAddress(WebPage::ProductHome, LinkSource::HelpMenu)); }

void OpenMakerHomePage() { OpenDocument(WebPageAddress(WebPage::MakerHome, LinkSource::HelpMenu)); }

} // namespace corvane::win32
