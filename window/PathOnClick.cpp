#include "window/Window_main.h"

#include "framework/MsgBox.h"
#include "framework/Text.h"
#include "linking/Discovery.h"
#include "messages/Module_Localization.h"

namespace Quorvane {

Boolean Window_main::Canvas1_MouseDown(Ref<Canvas>, Int32, Int32)
{
    if (!DropBoxFolder)
        return false;
    const DiscoveryAnswer answer = AskShellForSyncFolder();
    if (!answer.Failure.empty()) {
        MsgBox(Module_Localization::ERROR("") + EndOfLine() + answer.Failure);
    } else if (!answer.Reply.empty()) {
        if (Ref<FolderItem> found = SyncFolderInReply(answer.Reply)) {
            DropBoxFolder = found;
            MsgBox(Module_Localization::DROPBOX_PATH("") + " " + DropBoxFolder->ShellPath());
        }
    } else {
        MsgBox(Module_Localization::ERROR("") + EndOfLine() + Module_Localization::PATH_NOT_FOUND(""));
    }
    return false;
}

} // namespace Quorvane
