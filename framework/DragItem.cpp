#include "framework/DragItem.h"

#include <QByteArray>
#include <QSysInfo>
#include <QUrl>

namespace Quorvane {

namespace {

// True when the host of a file address is this machine: no host, "localhost", or the machine's
// own name, which file managers put in the addresses they send.
bool IsThisMachine(const QString& host)
{
    return host.isEmpty() || host.compare(QLatin1String("localhost"), Qt::CaseInsensitive) == 0 ||
           host.compare(QSysInfo::machineHostName(), Qt::CaseInsensitive) == 0;
}

// The item for one address. The path is decoded byte for byte: a name that is not UTF-8 keeps its
// bytes, which a QString would not. Another scheme, another machine, a path that is not absolute
// ("file:Projects", which would be read against some working folder) or one that holds a NUL byte
// (which no entry's path can) names no local entry.
DragItem::Item ItemOfAddress(const QByteArray& encoded)
{
    const QUrl address = QUrl::fromEncoded(encoded);
    if (!address.isLocalFile() || !IsThisMachine(address.host()))
        return {};
    const QByteArray path = QByteArray::fromPercentEncoding(address.path(QUrl::FullyEncoded).toLatin1());
    if (!path.startsWith('/') || path.contains('\0'))
        return {};
    return {true, String(path.constData(), static_cast<size_t>(path.size()))};
}

} // namespace

const ClassDescription& DragItem::Description()
{
    static const ClassDescription& description = RuntimeNewClass(
        {.Name = "DragItem", .Base = &Object::Description(), .Methods = {"FolderItemAvailable", "FolderItem"}});
    return description;
}

Ref<DragItem> DragItem::New(std::vector<Item> items)
{
    auto dragged = RuntimeNewObject<DragItem>();
    dragged->m_items = std::move(items);
    return dragged;
}

std::vector<DragItem::Item> DragItem::ItemsOfAddressList(const String& list)
{
    std::vector<Item> items;
    QByteArray bytes = QByteArray::fromRawData(list.data(), static_cast<qsizetype>(list.size()));
    // Some programs end the list with a NUL byte, as if it were a C string.
    if (bytes.endsWith('\0'))
        bytes.chop(1);
    for (const QByteArray& line : bytes.split('\n')) {
        const QByteArray address = line.trimmed();
        if (!address.isEmpty() && !address.startsWith('#'))
            items.push_back(ItemOfAddress(address));
    }
    return items;
}

Boolean DragItem::FolderItemAvailable() const
{
    return !m_items.empty() && m_items.front().IsLocalFile;
}

Ref<Quorvane::FolderItem> DragItem::FolderItem() const
{
    if (!FolderItemAvailable())
        return {};
    return Quorvane::FolderItem::TryNew(m_items.front().Path);
}

} // namespace Quorvane
