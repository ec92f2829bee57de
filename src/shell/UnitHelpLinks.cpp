#include "shell/UnitHelpLinks.h"

namespace corvane {

namespace {

const char* PathOf(WebPage page)
{
    switch (page) {
    case WebPage::ProductHome:
        return "/corvane/";
    case WebPage::TutorialMovie:
        return "/corvane/tutorial_mov.html";
    case WebPage::MakerHome:
        return "/";
    }
    return "/";
}

const char* RefTag(LinkSource from) { return from == LinkSource::AboutBox ? "corvane2about" : "corvane2help"; }

} // namespace

std::string WebPageAddress(WebPage page, LinkSource from)
{
    return std::string(kMakerSite) + PathOf(page) + "?ref=" + RefTag(from);
}

std::string MakerSiteDisplayText()
{
    const std::string site = kMakerSite;
    const auto scheme = site.find("://");
    return scheme == std::string::npos ? site : site.substr(scheme + 3);
}

} // namespace corvane
