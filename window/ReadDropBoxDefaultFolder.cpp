#include "window/Window_main.h"

#include "framework/MsgBox.h"
#include "framework/Text.h"
#include "linking/Discovery.h"
#include "messages/Module_Localization.h"

namespace Quorvane {

void Window_main::ReadDropBoxDefaultFolder()
{
    const String reply = AskShellForSyncFolder();
    // Any byte is a reply, even one that Len would not count as a character.
    if (!reply.empty())
        DropBoxFolder = SyncFolderInReply(reply);
    else
        MsgBox(Module_Localization::ERROR("") + EndOfLine() +
               Module_Localization::NOT_DROPBOX_PATH(""));
}

} // namespace Quorvane
