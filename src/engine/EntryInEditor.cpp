#include "engine/EntryInEditor.h"

#include "library/UnitCorvaneTypes.h"
#include "platform/ReplyEditor.h"

namespace corvane {

void ShowEntryInEditor(const TRepList& library, TreeNode node, IReplyEditor& editor)
{
    const TRep* rep = node ? library.RepOf(node) : nullptr;
    if (!rep || rep->IsFolder()) {
        editor.Clear();
        return;
    }
    std::string body;
    for (size_t i = 0; i < rep->Lines.size(); ++i) {
        if (i > 0)
            body += "\r\n";
        body += rep->Lines[i];
    }
    editor.LoadRtf(body);
    editor.SetModified(false);
}

} // namespace corvane
