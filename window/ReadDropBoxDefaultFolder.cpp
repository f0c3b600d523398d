#include "window/Window_main.h"

#include "framework/MsgBox.h"
#include "framework/Text.h"
#include "linking/Discovery.h"
#include "messages/Module_Localization.h"

namespace Quorvane {

void Window_main::ReadDropBoxDefaultFolder()
{
    const DiscoveryAnswer answer = AskShellForSyncFolder();
    // A command that could not run is told like an empty reply, with its reason, and the folder
    // known before stays known.
    if (!answer.Failure.empty())
        MsgBox(Module_Localization::ERROR("") + EndOfLine() + answer.Failure);
    // Any byte is a reply. Len would not do for this test: it counts only the first bytes of
    // characters, so a reply of stray UTF-8 continuation bytes ("\x80\xBF") counts 0 and would
    // pass for no reply at all.
    else if (!answer.Reply.empty())
        DropBoxFolder = SyncFolderInReply(answer.Reply);
    else
        MsgBox(Module_Localization::ERROR("") + EndOfLine() +
               Module_Localization::NOT_DROPBOX_PATH(""));
}

} // namespace Quorvane
