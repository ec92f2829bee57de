#include "hooks/HookLibrarySite.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

constexpr std::uint32_t FullControl = 0x001F01FF;
constexpr std::uint32_t Modify = 0x001301BF;
constexpr std::uint32_t ReadAndExecute = 0x001200A9;
constexpr std::uint32_t AppendData = 0x00000004; // "create folders" on a folder
constexpr std::uint32_t GenericAll = 0x10000000;
constexpr std::uint32_t GenericReadExecute = 0xA0000000;

using T = TTrustee;

// Program Files as the system ships it.
TPathSecurity ProgramFiles()
{
    return {true, false, T::TrustedInstaller,
        {{true, T::TrustedInstaller, FullControl, false}, {true, T::System, Modify, false},
            {true, T::System, GenericAll, true}, {true, T::Administrators, Modify, false},
            {true, T::Administrators, GenericAll, true}, {true, T::Other, ReadAndExecute, false},
            {true, T::Other, GenericReadExecute, true}, {true, T::CreatorOwner, GenericAll, true}}};
}

TEST(HookLibrarySite, OnlyAFolderNoNonAdministratorCanChangeIsTrusted)
{
    EXPECT_FALSE(WritableByNonAdministrators(ProgramFiles()));

    // A folder made at the drive's root: Authenticated Users may change it,
    // Users may add folders.
    TPathSecurity atRoot = ProgramFiles();
    atRoot.owner = T::Administrators;
    atRoot.entries = {{true, T::Administrators, FullControl, false}, {true, T::System, FullControl, false},
        {true, T::Other, ReadAndExecute, false}, {true, T::Other, AppendData, false}};
    EXPECT_TRUE(WritableByNonAdministrators(atRoot));
    atRoot.entries.pop_back();
    atRoot.entries.push_back({true, T::Other, Modify, false});
    EXPECT_TRUE(WritableByNonAdministrators(atRoot));

    // The user's own folder (%LOCALAPPDATA%\Programs): owned by the user,
    // who may rewrite its access list even without a writing entry.
    TPathSecurity ownFolder = ProgramFiles();
    ownFolder.owner = T::Other;
    EXPECT_TRUE(WritableByNonAdministrators(ownFolder));

    // Entries for what is created inside do not count for the folder itself;
    // a deny entry is not trusted to close what an allow entry opens.
    TPathSecurity inheritOnly = ProgramFiles();
    inheritOnly.entries.push_back({true, T::Other, GenericAll, true});
    EXPECT_FALSE(WritableByNonAdministrators(inheritOnly));
    TPathSecurity denied = ProgramFiles();
    denied.entries.insert(denied.entries.begin(), {false, T::Other, Modify, false});
    denied.entries.push_back({true, T::Other, Modify, false});
    EXPECT_TRUE(WritableByNonAdministrators(denied));

    // No access list (FAT drives keep none), a null one, one that cannot be read.
    EXPECT_TRUE(WritableByNonAdministrators(TPathSecurity{}));
    TPathSecurity nullDacl = ProgramFiles();
    nullDacl.nullDacl = true;
    EXPECT_TRUE(WritableByNonAdministrators(nullDacl));
}

constexpr TElevation Elevated{true, false};

TEST(HookLibrarySite, TheLibraryBesideTheProgramIsRefusedOnlyToAnElevatedProgramInAFolderOthersCanChange)
{
    TPathSecurity userWritable = ProgramFiles();
    userWritable.owner = T::Other;

    const THookLibrarySite normal = HookLibrarySite("C:\\Users\\ann\\Tools\\", {}, userWritable, userWritable);
    EXPECT_EQ(normal.path, "C:\\Users\\ann\\Tools\\Tolvar.dll");
    EXPECT_EQ(normal.refusal, "");

    const THookLibrarySite installed
        = HookLibrarySite("C:\\Program Files\\Corvane", Elevated, ProgramFiles(), ProgramFiles());
    EXPECT_EQ(installed.path, "C:\\Program Files\\Corvane\\Tolvar.dll");
    EXPECT_EQ(installed.refusal, "");

    const THookLibrarySite portable = HookLibrarySite("C:\\Users\\ann\\Tools", Elevated, userWritable, ProgramFiles());
    EXPECT_EQ(portable.refusal,
        "Corvane runs as administrator from \"C:\\Users\\ann\\Tools\", a folder that users without administrator "
        "rights can change, so it does not watch the keyboard: a file changed there would run with administrator "
        "rights. Install Corvane in Program Files, or run it without administrator rights.");

    // A library file others may change is refused in a safe folder too.
    EXPECT_NE(HookLibrarySite("C:\\Program Files\\Corvane", Elevated, ProgramFiles(), userWritable).refusal, "");
    // Wine says every program is elevated, but all run with the same rights.
    EXPECT_EQ(HookLibrarySite("C:\\Users\\ann\\Tools", {true, true}, userWritable, userWritable).refusal, "");
}

} // namespace
} // namespace corvane
