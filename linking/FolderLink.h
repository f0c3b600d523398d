#pragma once

#include "framework/FolderItem.h"

namespace Quorvane {

// How an attempt to link a folder into the sync folder ended.
struct LinkOutcome {
    enum class Kind {
        // The command printed nothing: the link is made.
        Linked,
        // The sync folder already holds an entry of the folder's name; no command ran.
        NameTaken,
        // The folder is the sync folder or holds it; no command ran.
        HoldsSyncFolder,
        // The folder's name cannot name an entry of the sync folder ("/"); no command ran.
        Unnamable,
        // The command printed something, or could not run; what it printed, or why it could not
        // run, is kept in Output.
        Failed,
    };
    Kind What = Kind::Linked;
    // What the link command printed, or why it could not run; empty unless the outcome is Failed.
    String Output;
};

// Makes a symbolic link to folder inside syncFolder, named after the folder's display name, with
// one "ln -sT" command through a fresh shell, unless an entry of that name is already there or the
// link would lead back into the sync folder. The outcome is judged by the command's output alone.
LinkOutcome LinkFolder(const FolderItem& folder, const FolderItem& syncFolder);

// The "ln -sT" command line that links the folder into the sync folder under the name: the
// folder's path and the name each quoted as one word that stands for exactly that text, the sync
// folder's shell path as it is.
String LinkCommand(const FolderItem& folder, const FolderItem& syncFolder, const String& name);

} // namespace Quorvane
