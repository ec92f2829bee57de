#include "shell/TreeImages.h"

namespace corvane {

TTreeNodeImages TreeNodeImages(bool hasChildren, bool expanded)
{
    if (!hasChildren)
        return {kImageReply, kImageReplySelected};
    const int folder = expanded ? kImageFolderOpen : kImageFolderClosed;
    return {folder, folder};
}

} // namespace corvane
