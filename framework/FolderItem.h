#pragma once

#include "framework/Object.h"

namespace Quorvane {

// An entry of the file system by its POSIX path; the entry need not exist. The item keeps only
// the path and asks the file system anew at every question.
class FolderItem : public Object {
public:
    // The path mode that says a path text is a POSIX path, the only mode offered.
    static constexpr Int32 PathModePOSIX = 1;

    // Makes the item for a path text read in the given path mode; another mode than
    // PathModePOSIX, or a text that is empty or holds a NUL byte, raises
    // UnsupportedFormatException. Trailing slashes are dropped ("/home/u/Dropbox/" names
    // /home/u/Dropbox).
    static Ref<FolderItem> New(const String& path, Int32 pathMode);
    // The item for a POSIX path, made by New; nothing for a path that New refuses, for callers
    // that take a path from outside and answer such a path with nothing.
    static Ref<FolderItem> TryNew(const String& path);

    // The POSIX path of the entry, as given but without trailing slashes.
    const String& POSIXPath() const noexcept { return m_path; }
    // The path written for the shell: every character that the shell reads specially, the
    // blank included, has a backslash before it; a line end, which no backslash can carry, is
    // written between single quotes.
    String ShellPath() const;
    // The entry's own name: the last part of its path ("/" for the root).
    String DisplayName() const;
    // True when the entry is a folder, or a symbolic link that leads to one.
    Boolean Directory() const;
    // True when the file system has an entry of this path, a symbolic link that points nowhere
    // included.
    Boolean Exists() const;
    // The item of that name inside this one, whether it exists or not; nothing when the name
    // cannot be an entry's name (empty, ".", "..", or holding "/" or a NUL byte).
    Ref<FolderItem> Child(const String& name) const;

protected:
    FolderItem() = default;

private:
    String m_path;
};

} // namespace Quorvane
