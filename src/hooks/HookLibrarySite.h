#pragma once
// Where the hook library is loaded from, and whether it may be loaded at all.
// The library is mapped into every program the user runs, elevated ones
// included; an elevated Corvane therefore takes it only from a folder that
// nobody without administrator rights can change.
#include <cstdint>
#include <string>
#include <vector>

namespace corvane {

// Whom an access entry of a file or folder is for. Other: any account or
// group without administrator rights (Users, Authenticated Users, Everyone,
// INTERACTIVE, a user's own account, ...).
enum class TTrustee { Administrators, System, TrustedInstaller, CreatorOwner, Other };

struct TAccessEntry {
    bool allows = true; // false: a deny entry
    TTrustee trustee = TTrustee::Other;
    std::uint32_t mask = 0; // the system's access rights
    bool inheritOnly = false; // for what is created inside, not for the object itself
};

// A file's or folder's security as read from the system.
struct TPathSecurity {
    bool read = false; // false: it could not be read (or the drive keeps none)
    bool nullDacl = false; // no access list at all: everyone may do everything
    TTrustee owner = TTrustee::Other;
    std::vector<TAccessEntry> entries;
};

// Rights that let one change a folder's files or a file: write or add data,
// delete children, change the access list or the owner.
inline constexpr std::uint32_t WritingRights
    = 0x00000002u | 0x00000004u | 0x00000040u | 0x00040000u | 0x00080000u | 0x10000000u | 0x40000000u;

// True when someone without administrator rights can change it. Deny entries
// are not weighed: an access list that needs them to be safe counts as
// writable.
[[nodiscard]] bool WritableByNonAdministrators(const TPathSecurity& security);

struct THookLibrarySite {
    std::string path; // the library beside the program, by its full path
    std::string refusal; // not empty: the hooks are not started, and this says why
};

constexpr char HookLibraryFileName[] = "Tolvar.dll";

struct TElevation {
    bool elevated = false; // the process token says so
    // Wine reports every program as elevated, yet runs all of them with the
    // same rights of the one Unix account: there is nothing to rise to.
    bool onWine = false;
};

// `programFolder` holds Corvane.exe (with or without the trailing
// backslash); `folder` and `library` are the security of that folder and of
// the library file in it.
[[nodiscard]] THookLibrarySite HookLibrarySite(
    const std::string& programFolder, TElevation elevation, const TPathSecurity& folder, const TPathSecurity& library);

} // namespace corvane
