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
std::filesystem::path Resolved(const std::filesystem::path& path)
{
    std::error_code unreadable;
    std::filesystem::path resolved = std::filesystem::weakly_canonical(path, unreadable);
    return unreadable ? path.lexically_normal() : resolved;
}

// True when outer is inner or a folder above it, part by part ("/home/u" holds "/home/u/Dropbox"
// but not "/home/u2").
bool Holds(const std::filesystem::path& outer, const std::filesystem::path& inner)
{
    auto [outerPart, innerPart] = std::mismatch(outer.begin(), outer.end(), inner.begin(), inner.end());
    return outerPart == outer.end();
}

// True when the folder is the sync folder or holds it: a link to it inside the sync folder would
// lead back into the sync folder, and the service would sync it without end. The sync folder is
// reached both where its links lead and through the path by which the shell named it: when
// ~/Dropbox is a link to another disk, the home folder holds it as much as the other disk does.
bool HoldsTheSyncFolder(const FolderItem& folder, const FolderItem& syncFolder)
{
    const std::filesystem::path outer = Resolved(folder.POSIXPath());
    const std::filesystem::path named(syncFolder.POSIXPath());
    return Holds(outer, Resolved(named)) ||
           Holds(outer, Resolved(named.parent_path()) / named.filename());
}

} // namespace

String LinkCommand(const FolderItem& folder, const FolderItem& syncFolder, const String& name)
{
    // The source path and the name are quoted as words of their own, so the link points at
    // exactly the folder and bears exactly its name, and the shell runs nothing else. -T makes
    // the name the link's own: should a folder of that name, or a link to one, appear in the sync
    // folder after the check for it, ln refuses ("File exists") instead of making the link inside.
    return "ln -sT " + SingleQuoted(folder.POSIXPath()) + " " + syncFolder.ShellPath() + "/" +
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
    try {
        shell->Execute(LinkCommand(folder, syncFolder, name));
    } catch (const IOException& failure) {
        // The shell could not be started: nothing was made, and the user is told why.
        return {LinkOutcome::Kind::Failed, failure.Message()};
    }
    const String& output = shell->Result();
    // Any byte is output. Len would not do for this test: it counts only the first bytes of
    // characters, so output of stray UTF-8 continuation bytes counts 0 and would pass for success.
    if (!output.empty())
        return {LinkOutcome::Kind::Failed, output};
    return {LinkOutcome::Kind::Linked, {}};
}

} // namespace Quorvane
