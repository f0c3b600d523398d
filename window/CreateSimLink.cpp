#include "window/Window_main.h"

#include "framework/MsgBox.h"
#include "framework/Text.h"
#include "linking/FolderLink.h"
#include "messages/Module_Localization.h"

namespace Quorvane {

void Window_main::CreateSimLink(Ref<FolderItem> folder)
{
    const LinkOutcome outcome = LinkFolder(*folder, *DropBoxFolder);
    switch (outcome.What) {
    case LinkOutcome::Kind::Linked:
        MsgBox(Module_Localization::DROPBOX_SUCCESS(""));
        break;
    case LinkOutcome::Kind::NameTaken:
        MsgBox(Module_Localization::DROPBOX_EXISTS(""));
        break;
    case LinkOutcome::Kind::HoldsSyncFolder:
        MsgBox(Module_Localization::DROPBOX_FAIL(""));
        break;
    case LinkOutcome::Kind::Unnamable:
        MsgBox(Module_Localization::ERROR(""));
        break;
    case LinkOutcome::Kind::Failed:
        MsgBox(Module_Localization::ERROR("") + EndOfLine() + outcome.Output);
        break;
    }
}

} // namespace Quorvane
