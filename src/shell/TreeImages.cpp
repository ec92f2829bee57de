#include "shell/TreeImages.h"

#include "library/UnitCorvaneTypes.h"

#include <algorithm>

namespace corvane {

TTreeNodeImages TreeNodeImages(bool hasChildren, bool expanded, TNodeMark mark)
{
    switch (mark) {
    case TNodeMark::TeamLibrary:
        return {kImageTeamLibrary, kImageTeamLibrary};
    case TNodeMark::TeamOffline:
        return {kImageTeamOffline, kImageTeamOffline};
    case TNodeMark::Conflict:
        return {kImageReplyConflict, kImageReplyConflict};
    case TNodeMark::None:
        break;
    }
    if (!hasChildren)
        return {kImageReply, kImageReplySelected};
    const int folder = expanded ? kImageFolderOpen : kImageFolderClosed;
    return {folder, folder};
}

TNodeMark NodeMarkOf(const TRepList& library, const TRep* rep)
{
    if (!rep)
        return TNodeMark::None;
    if (rep->IsLibraryTop())
        return library.SharedAccess() == TSharedAccess::Writable ? TNodeMark::TeamLibrary : TNodeMark::TeamOffline;
    const auto& conflicts = library.Conflicts();
    const bool conflict
        = std::any_of(conflicts.begin(), conflicts.end(), [rep](const TKeyConflict& c) { return c.reply == rep; });
    return conflict ? TNodeMark::Conflict : TNodeMark::None;
}

} // namespace corvane
