// Main window: the reply library bound to the tree and the two lists.
#include "win32/app/FormCorvane.h"

#include "library/LibraryTidy.h"
#include "library/UnitCorvaneTypes.h"
#include "shell/UnitGlobalParams.h"
#include "win32/ListBoxControl.h"
#include "win32/TreeViewControl.h"

namespace corvane::win32 {

void TFormCorvane::CreateReplyLibrary()
{
    tree_ = std::make_unique<TreeViewControl>(navigation_);
    hotKeyList_ = std::make_unique<ListBoxControl>(listHotKeys_);
    macroList_ = std::make_unique<ListBoxControl>(listMacros_);
    library_
        = std::make_unique<TRepList>(*tree_, *hotKeyList_, *macroList_, fs_, LibraryRootIn(GlobalParams().DataDir));
}

void TFormCorvane::LoadReplyLibrary()
{
    ShowTidyNotice(TidyLibrary(fs_, library_->Root()));
    HCURSOR previous = SetCursor(LoadCursor(nullptr, IDC_WAIT));
    library_->BeginBulkLoad();
    struct EndLoad {
        TFormCorvane& form;
        HCURSOR cursor;
        ~EndLoad()
        {
            SetCursor(cursor);
            form.library_->EndBulkLoad();
        }
    } endLoad{*this, previous};
    library_->ClearAll();
    library_->LoadFolderIndex(library_->RootIndexPath(), nullptr);
}

} // namespace corvane::win32
