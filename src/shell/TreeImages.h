#pragma once
// Which picture of the tree's image list a node shows.

namespace corvane {

class TRep;
class TRepList;

// The tree's image list holds its pictures in this order.
enum TreeImage : int {
    kImageFolderClosed = 0,
    kImageFolderOpen = 1,
    kImageReply = 2,
    kImageReplySelected = 3,
    kImageTeamLibrary = 4, // the team library's top-level folder
    kImageTeamOffline = 5, // the same while its folder cannot be changed
    kImageReplyConflict = 6, // a team reply whose macro or hot key a personal reply holds
    kTreeImageCount = 7,
};

enum class TNodeMark { None, TeamLibrary, TeamOffline, Conflict };

struct TTreeNodeImages {
    int normal = kImageReply;
    int selected = kImageReplySelected;
    bool operator==(const TTreeNodeImages&) const = default;
};

// A node with children is a folder, open or closed alike when selected; a node
// without children is a reply, with its own picture while selected.
TTreeNodeImages TreeNodeImages(bool hasChildren, bool expanded, TNodeMark mark = TNodeMark::None);
// The team library's top folder, by whether it can be changed now; a team
// reply whose macro or hot key a personal reply holds.
TNodeMark NodeMarkOf(const TRepList& library, const TRep* rep);

} // namespace corvane
