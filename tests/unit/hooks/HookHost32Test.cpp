#include "hooks/HookHost32.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

THookLibrarySite SiteAt(const std::string& folder) { return THookLibrarySite{folder + "\\Tolvar.dll", {}}; }

TEST(HookHost32, StartedBesideTheLibraryOnlyWhenItsHooksRunOn64BitWindows)
{
    const THookLibrarySite site = SiteAt("C:\\Program Files\\Corvane");
    EXPECT_EQ(HookHost32Path(site, true, true), "C:\\Program Files\\Corvane\\Tolvar32Host.exe");
    EXPECT_EQ(HookHost32Path(site, true, false), ""); // 32-bit Windows: Tolvar.dll's own hooks serve all
    EXPECT_EQ(HookHost32Path(site, false, true), ""); // no hooks of its own, none for 32-bit programs
    THookLibrarySite refused = site;
    refused.refusal = "writable";
    EXPECT_EQ(HookHost32Path(refused, true, true), ""); // the same refusal holds for the host
    EXPECT_EQ(HookHost32Path(THookLibrarySite{"Tolvar.dll", {}}, true, true), ""); // never by bare name
}

TEST(HookHost32, TheHostReadsTheProcessItServesFromTheCommandLineItIsStartedWith)
{
    const std::string path = "C:\\Program Files\\Corvane\\Tolvar32Host.exe";
    EXPECT_EQ(OwnerOfHookHost32(HookHost32CommandLine(path, 4242)), 4242u);
    EXPECT_EQ(OwnerOfHookHost32(HookHost32CommandLine(path, 0xFFFFFFFFu)), 0xFFFFFFFFu);
    EXPECT_EQ(OwnerOfHookHost32("Tolvar32Host.exe  --owner\t17 "), 17u);
}

TEST(HookHost32, AnyOtherCommandLineStartsNoHost)
{
    for (const char* line : {"\"C:\\a b\\Tolvar32Host.exe\"", "\"C:\\a b\\Tolvar32Host.exe\" --owner",
             "\"C:\\a b\\Tolvar32Host.exe\" --owner 0", "\"C:\\a b\\Tolvar32Host.exe\" --owner 4294967296",
             "\"C:\\a b\\Tolvar32Host.exe\" --owner 12x", "\"C:\\a b\\Tolvar32Host.exe\" --owner 12 13",
             "\"C:\\a b\\Tolvar32Host.exe\" --owner12", "\"C:\\a b\\Tolvar32Host.exe\" --other 12",
             "\"C:\\a b\\Tolvar32Host.exe --owner 12", "--owner 12", ""})
        EXPECT_FALSE(OwnerOfHookHost32(line)) << line;
}

} // namespace
} // namespace corvane
