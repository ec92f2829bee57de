#include "shell/TreeImages.h"

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

} // namespace corvane
