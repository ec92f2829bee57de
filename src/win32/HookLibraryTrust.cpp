#include "win32/HookLibraryTrust.h"

#include <windows.h>

#include <aclapi.h>
#include <sddl.h>

#include <cstring>

namespace corvane::win32 {
namespace {

// NT SERVICE\TrustedInstaller, the owner of the system's own folders.
constexpr char TrustedInstallerSid[] = "S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464";

struct LocalFreeOnExit {
    void* memory;
    ~LocalFreeOnExit()
    {
        if (memory)
            LocalFree(memory);
    }
};

TTrustee TrusteeOf(PSID sid)
{
    if (!sid || !IsValidSid(sid))
        return TTrustee::Other;
    if (IsWellKnownSid(sid, WinBuiltinAdministratorsSid))
        return TTrustee::Administrators;
    if (IsWellKnownSid(sid, WinLocalSystemSid))
        return TTrustee::System;
    if (IsWellKnownSid(sid, WinCreatorOwnerSid))
        return TTrustee::CreatorOwner;
    char* text = nullptr;
    if (!ConvertSidToStringSidA(sid, &text))
        return TTrustee::Other;
    const LocalFreeOnExit freeText{text};
    return std::strcmp(text, TrustedInstallerSid) == 0 ? TTrustee::TrustedInstaller : TTrustee::Other;
}

} // namespace

std::string ProgramFolder()
{
    char path[MAX_PATH] = {};
    const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path, n);
    const auto slash = folder.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : folder.substr(0, slash);
}

TElevation ElevationOfThisProcess()
{
    TElevation facts;
    facts.onWine = GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr;
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token))
        return facts;
    TOKEN_ELEVATION elevation{};
    DWORD size = 0;
    facts.elevated
        = GetTokenInformation(token, TokenElevation, &elevation, sizeof elevation, &size) && elevation.TokenIsElevated;
    CloseHandle(token);
    return facts;
}

TPathSecurity ReadPathSecurity(const std::string& path)
{
    TPathSecurity security;
    PSID owner = nullptr;
    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (GetNamedSecurityInfoA(path.c_str(), SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION,
            &owner, nullptr, &dacl, nullptr, &descriptor)
        != ERROR_SUCCESS)
        return security;
    const LocalFreeOnExit freeDescriptor{descriptor};
    security.read = true;
    security.owner = TrusteeOf(owner);
    security.nullDacl = dacl == nullptr;
    for (DWORD i = 0; dacl && i < dacl->AceCount; ++i) {
        void* ace = nullptr;
        if (!GetAce(dacl, i, &ace))
            continue;
        const auto* header = static_cast<const ACE_HEADER*>(ace);
        if (header->AceType != ACCESS_ALLOWED_ACE_TYPE && header->AceType != ACCESS_DENIED_ACE_TYPE)
            continue;
        // Allowed and denied entries share one layout.
        const auto* entry = static_cast<const ACCESS_ALLOWED_ACE*>(ace);
        security.entries.push_back({header->AceType == ACCESS_ALLOWED_ACE_TYPE,
            TrusteeOf(const_cast<DWORD*>(&entry->SidStart)), entry->Mask, (header->AceFlags & INHERIT_ONLY_ACE) != 0});
    }
    return security;
}

THookLibrarySite HookLibrarySiteOfThisProgram()
{
    const std::string folder = ProgramFolder();
    return HookLibrarySite(folder, ElevationOfThisProcess(), ReadPathSecurity(folder),
        ReadPathSecurity(folder + "\\" + HookLibraryFileName));
}

} // namespace corvane::win32
