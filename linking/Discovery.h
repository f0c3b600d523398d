#pragma once

#include "framework/FolderItem.h"

namespace Quorvane {

// The command line that makes the shell name the sync folder: run as a command, a folder gets
// the complaint "<shell>: <path>: <reason>".
inline constexpr const char* DiscoveryCommand = "~/Dropbox/";

// What the shell answered the discovery command.
struct DiscoveryAnswer {
    // What the command printed, its error text included; empty when it printed nothing or could
    // not run.
    String Reply;
    // Why the command could not run (the shell could not be started); empty when it ran.
    String Failure;
};

// Runs the discovery command through a fresh shell in mode 0 and returns its answer; the exit
// status is not read.
DiscoveryAnswer AskShellForSyncFolder();

// The sync folder that a reply names: when the reply cut at every ":" gives exactly three pieces,
// the middle one without leading and trailing white space, as a POSIX path; nothing for a reply of
// any other form, or when that piece is no absolute path. The folder need not exist.
Ref<FolderItem> SyncFolderInReply(const String& reply);

} // namespace Quorvane
