#include "linking/FolderLink.h"

#include "framework/Text.h"
#include "linking/Shell.h"

#include <filesystem>

namespace Quorvane {

namespace {

// The text as one word of a shell command line that stands for exactly that text: between single
// quotes, each single quote inside written as '\''.
String SingleQuoted(const String& text)
{
    return "'" + ReplaceAll(text, "'", "'\\''") + "'";
}

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

} // namespace

String LinkCommand(const FolderItem& folder, const FolderItem& syncFolder, const String& name)
{
    // The source path and the name are quoted as words of their own, so the link points at
    // exactly the folder and bears exactly its name, and the shell runs nothing else.
    return "ln -s " + SingleQuoted(folder.POSIXPath()) + " " + syncFolder.ShellPath() + "/" +
           SingleQuoted(name);
}

LinkOutcome LinkFolder(const FolderItem& folder, const FolderItem& syncFolder)
{
    if (HoldsTheSyncFolder(folder, syncFolder))
        return {LinkOutcome::Kind::HoldsSyncFolder, {}};
    const String name = folder.DisplayName();
    Ref<FolderItem> link = syncFolder.Child(name);
    if (!link)
        return {LinkOutcome::Kind::Unnamable, {}};
    if (link->Exists())
        return {LinkOutcome::Kind::NameTaken, {}};
    Ref<Shell> shell = RuntimeNewObject<Shell>();
    shell->Execute(LinkCommand(folder, syncFolder, name));
    const String& output = shell->Result();
    // Any byte is output. Len would not do for this test: it counts only the first bytes of
    // characters, so output of stray UTF-8 continuation bytes counts 0 and would pass for success.
    if (!output.empty())
        return {LinkOutcome::Kind::Failed, output};
    return {LinkOutcome::Kind::Linked, {}};
}

} // namespace Quorvane
