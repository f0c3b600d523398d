#include "linking/Discovery.h"

#include "framework/MsgBox.h"
#include "framework/Text.h"
#include "linking/Shell.h"
#include "messages/Module_Localization.h"
#include "window/Window_main.h"

namespace Quorvane {

String AskShellForSyncFolder()
{
    Ref<Shell> shell = RuntimeNewObject<Shell>();
    shell->Mode(0);
    shell->Execute(DiscoveryCommand);
    return shell->Result();
}

Ref<FolderItem> SyncFolderInReply(const String& reply)
{
    const std::vector<String> pieces = Split(reply, ":");
    if (pieces.size() != 3)
        return {};
    return FolderItem::New(Trim(pieces[1]), FolderItem::PathModePOSIX);
}

void Window_main::ReadDropBoxDefaultFolder()
{
    const String reply = AskShellForSyncFolder();
    if (Len(reply) > 0)
        DropBoxFolder = SyncFolderInReply(reply);
    else
        MsgBox(Module_Localization::ERROR("") + EndOfLine() +
               Module_Localization::NOT_DROPBOX_PATH(""));
}

} // namespace Quorvane
