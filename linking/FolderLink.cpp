#include "framework/MsgBox.h"
#include "framework/Text.h"
#include "linking/Shell.h"
#include "messages/Module_Localization.h"
#include "window/Window_main.h"

namespace Quorvane {

namespace {

// The text as one word of a shell command line that stands for exactly that text: between single
// quotes, each single quote inside written as '\''.
String SingleQuoted(const String& text)
{
    return "'" + ReplaceAll(text, "'", "'\\''") + "'";
}

} // namespace

void Window_main::CreateSimLink(Ref<FolderItem> folder)
{
    const String name = folder->DisplayName();
    Ref<FolderItem> link = DropBoxFolder->Child(name);
    if (!link) {
        // A name no entry can bear, such as the root folder's "/".
        MsgBox(Module_Localization::ERROR(""));
        return;
    }
    if (link->Exists()) {
        MsgBox(Module_Localization::DROPBOX_EXISTS(""));
        return;
    }
    Ref<Shell> shell = RuntimeNewObject<Shell>();
    // The source path and the name are quoted as words of their own, so the link points at
    // exactly the folder and bears exactly its name, and the shell runs nothing else.
    const String command = "ln -s " + SingleQuoted(folder->POSIXPath()) + " " +
                           DropBoxFolder->ShellPath() + "/" + SingleQuoted(name);
    shell->Execute(command);
    const String output = shell->Result();
    if (Len(output) > 0)
        MsgBox(Module_Localization::ERROR("") + EndOfLine() + output);
    else
        MsgBox(Module_Localization::DROPBOX_SUCCESS(""));
}

} // namespace Quorvane
