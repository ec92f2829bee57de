#include "hooks/HookLibrarySite.h"

#include "library/Texts.h"
#include "library/UnitCommonProcs.h"

namespace corvane {

bool WritableByNonAdministrators(const TPathSecurity& security)
{
    if (!security.read || security.nullDacl || security.owner == TTrustee::Other)
        return true; // an owner may rewrite the access list at will
    for (const TAccessEntry& entry : security.entries) {
        if (entry.allows && !entry.inheritOnly && entry.trustee == TTrustee::Other && (entry.mask & WritingRights) != 0)
            return true;
    }
    return false;
}

THookLibrarySite HookLibrarySite(
    const std::string& programFolder, TElevation elevation, const TPathSecurity& folder, const TPathSecurity& library)
{
    std::string base = programFolder;
    while (!base.empty() && (base.back() == '\\' || base.back() == '/'))
        base.pop_back();
    THookLibrarySite site{base + "\\" + HookLibraryFileName, {}};
    if (elevation.elevated && !elevation.onWine
        && (WritableByNonAdministrators(folder) || WritableByNonAdministrators(library)))
        site.refusal = FormatMessageText(ElevatedWritableFolderText, base);
    return site;
}

} // namespace corvane
