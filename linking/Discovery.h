#pragma once

#include "framework/FolderItem.h"

namespace Quorvane {

// The command line that makes the shell name the sync folder: run as a command, a folder gets
// the complaint "<shell>: <path>: <reason>".
inline constexpr const char* DiscoveryCommand = "~/Dropbox/";

// Runs the discovery command through a fresh shell in mode 0 and returns the reply, its error
// text included; the exit status is not read.
String AskShellForSyncFolder();

// The sync folder that a reply names: when the reply cut at every ":" gives exactly three pieces,
// the middle one without leading and trailing white space, as a POSIX path; nothing for a reply of
// any other form, or when that piece is no absolute path. The folder need not exist.
Ref<FolderItem> SyncFolderInReply(const String& reply);

} // namespace Quorvane
