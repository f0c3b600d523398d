#include "window/Window_main.h"

#include "framework/MsgBox.h"
#include "framework/Text.h"
#include "linking/Discovery.h"
#include "messages/Module_Localization.h"

namespace Quorvane {

void Window_main::ReadDropBoxDefaultFolder()
{
    const String reply = AskShellForSyncFolder();
    // Any byte is a reply. Len would not do for this test: it counts only the first bytes of
    // characters, so a reply of stray UTF-8 continuation bytes ("\x80\xBF") counts 0 and would
    // pass for no reply at all.
    if (!reply.empty())
        DropBoxFolder = SyncFolderInReply(reply);
    else
        MsgBox(Module_Localization::ERROR("") + EndOfLine() +
               Module_Localization::NOT_DROPBOX_PATH(""));
}

} // namespace Quorvane
