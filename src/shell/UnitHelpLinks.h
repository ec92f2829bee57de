#pragma once
// The help files and the product's web pages, all addresses in one place.
#include <string>

#include "CorvaneVersion.h"
#include "library/Texts.h"

namespace corvane {

inline constexpr const char* kMakerSite = "https://www.tarnwick.com";
inline constexpr const char* kHelpFile = "Corvane.chm";
inline constexpr const char* kTutorialsFile = "CorvaneTutors.chm";

enum class WebPage { ProductHome, TutorialMovie, MakerHome };
enum class LinkSource { HelpMenu, AboutBox };

std::string WebPageAddress(WebPage page, LinkSource from);
// The link line of the about box shows the bare site address.
std::string MakerSiteDisplayText();

} // namespace corvane
