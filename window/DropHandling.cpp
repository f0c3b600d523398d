#include "window/Window_main.h"

#include "framework/MsgBox.h"
#include "messages/Module_Localization.h"

namespace Quorvane {

void Window_main::Canvas1_DropObject(Ref<Canvas>, Ref<DragItem> item, Int32)
{
    if (!item->FolderItemAvailable())
        return;
    mFolderCocoa = item->FolderItem();
    if (!mFolderCocoa) {
        // The item said it carried a file-system entry, yet its address names none.
        MsgBox(Module_Localization::ERROR(""));
        return;
    }
    if (!mFolderCocoa->Directory()) {
        MsgBox(Module_Localization::ONLY_FOLDERS(""));
        return;
    }
    ReadDropBoxDefaultFolder();
    if (DropBoxFolder && mFolderCocoa)
        CreateSimLink(mFolderCocoa);
    else
        MsgBox(Module_Localization::ERROR(""));
}

} // namespace Quorvane
