#include "framework/MsgBox.h"
#include "framework/Text.h"
#include "linking/Shell.h"
#include "messages/Module_Localization.h"
#include "window/Window_main.h"

#include <filesystem>

namespace Quorvane {

namespace {

// The path with every symbolic link resolved, as far as the file system has it.
std::filesystem::path Resolved(const String& path)
{
    std::error_code unreadable;
    std::filesystem::path resolved = std::filesystem::weakly_canonical(path, unreadable);
    return unreadable ? std::filesystem::path(path).lexically_normal() : resolved;
}

// True when the folder is the sync folder or holds it: a link to it inside the sync folder would
// lead back into the sync folder, and the service would sync it without end.
bool HoldsTheSyncFolder(const FolderItem& folder, const FolderItem& syncFolder)
{
    const std::filesystem::path outer = Resolved(folder.POSIXPath());
    const std::filesystem::path inner = Resolved(syncFolder.POSIXPath());
    auto [outerPart, innerPart] = std::mismatch(outer.begin(), outer.end(), inner.begin(), inner.end());
    return outerPart == outer.end();
}

// The text as one word of a shell command line that stands for exactly that text: between single
// quotes, each single quote inside written as '\''.
String SingleQuoted(const String& text)
{
    return "'" + ReplaceAll(text, "'", "'\\''") + "'";
}

} // namespace

void Window_main::CreateSimLink(Ref<FolderItem> folder)
{
    if (HoldsTheSyncFolder(*folder, *DropBoxFolder)) {
        MsgBox(Module_Localization::DROPBOX_FAIL(""));
        return;
    }
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
    // Any byte is output, even one that Len would not count as a character.
    if (!output.empty())
        MsgBox(Module_Localization::ERROR("") + EndOfLine() + output);
    else
        MsgBox(Module_Localization::DROPBOX_SUCCESS(""));
}

} // namespace Quorvane
