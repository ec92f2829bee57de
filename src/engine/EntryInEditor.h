#pragma once
// What selecting a node shows in the editor.
#include "platform/TreeControl.h"

namespace corvane {

class IReplyEditor;
class TRepList;

// A reply's text is loaded unmodified; a folder or no node empties the editor.
void ShowEntryInEditor(const TRepList& library, TreeNode node, IReplyEditor& editor);

} // namespace corvane
