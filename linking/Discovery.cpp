#include "linking/Discovery.h"

#include "framework/Text.h"
#include "linking/Shell.h"

namespace Quorvane {

DiscoveryAnswer AskShellForSyncFolder()
{
    try {
        return {RunInNewShell(DiscoveryCommand)->Result(), {}};
    } catch (const IOException& failure) {
        // The shell could not be started, for a moment or for good: an answer the user is told.
        return {{}, failure.Message()};
    }
}

Ref<FolderItem> SyncFolderInReply(const String& reply)
{
    const std::vector<String> pieces = Split(reply, ":");
    if (pieces.size() != 3)
        return {};
    // A blank middle piece, or one that is no absolute path, names no folder: such a reply is as
    // unusable as one of another form.
    const String path = Trim(pieces[1]);
    if (!path.starts_with('/'))
        return {};
    return FolderItem::TryNew(path);
}

} // namespace Quorvane
