#include "framework/DragItem.h"

namespace Quorvane {

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
