#include "framework/FolderItem.h"

#include <sys/stat.h>

namespace Quorvane {

namespace {

bool NeedsNoEscape(unsigned char c)
{
    // Letters, digits, bytes of non-ASCII characters and a few marks that no shell reads
    // specially anywhere in a word; everything else gets its backslash.
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
           c >= 0x80 || c == '/' || c == '.' || c == '_' || c == '-' || c == '+' || c == ',' ||
           c == ':' || c == '@' || c == '%';
}

} // namespace

Ref<FolderItem> FolderItem::New(const String& path, Int32 pathMode)
{
    if (pathMode != PathModePOSIX)
        throw UnsupportedFormatException("A FolderItem is made only from a POSIX path (mode 1).");
    if (path.empty())
        throw UnsupportedFormatException("A FolderItem needs a path that is not empty.");
    if (path.find('\0') != String::npos)
        throw UnsupportedFormatException("A path cannot hold a NUL byte.");
    auto item = RuntimeNewObject<FolderItem>();
    item->m_path = path;
    while (item->m_path.size() > 1 && item->m_path.back() == '/')
        item->m_path.pop_back();
    return item;
}

Ref<FolderItem> FolderItem::TryNew(const String& path)
{
    try {
        return New(path, PathModePOSIX);
    } catch (const UnsupportedFormatException&) {
        return {};
    }
}

String FolderItem::ShellPath() const
{
    String escaped;
    escaped.reserve(m_path.size() * 2);
    for (char c : m_path) {
        if (c == '\n') {
            escaped += "'\n'";
        } else {
            if (!NeedsNoEscape(static_cast<unsigned char>(c)))
                escaped += '\\';
            escaped += c;
        }
    }
    return escaped;
}

String FolderItem::DisplayName() const
{
    if (m_path == "/")
        return m_path;
    auto slash = m_path.rfind('/');
    return slash == String::npos ? m_path : m_path.substr(slash + 1);
}

Boolean FolderItem::Directory() const
{
    struct stat status {};
    return ::stat(m_path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

Boolean FolderItem::Exists() const
{
    struct stat status {};
    return ::lstat(m_path.c_str(), &status) == 0;
}

Ref<FolderItem> FolderItem::Child(const String& name) const
{
    // An empty name would give this item's own path back, once New has dropped the slash.
    if (name.empty() || name == "." || name == ".." || name.find('/') != String::npos)
        return {};
    return TryNew(m_path == "/" ? "/" + name : m_path + "/" + name);
}

} // namespace Quorvane
