#pragma once

#include "framework/ClassDescription.h"
#include "framework/FolderItem.h"

#include <vector>

namespace Quorvane {

// What one drop carried, copied when it was dropped: its items in order, each a local path or
// something else (text, a web address).
class DragItem : public Object {
    QUORVANE_DESCRIBED_CLASS
public:
    // One carried item: its local path, or nothing for an item that is not a local file.
    struct Item {
        Boolean IsLocalFile = false;
        String Path;
    };

    // A drag item over the carried items; the first is the current one.
    static Ref<DragItem> New(std::vector<Item> items);
    // The items that a dropped address list (text/uri-list) names, one for each address in order;
    // blank lines and comment lines (starting with "#") are no addresses. An item is a local file
    // when its address is a file: address of this machine (no host, "localhost" or the machine's
    // own name) whose path, decoded byte for byte, is absolute and holds no NUL byte.
    static std::vector<Item> ItemsOfAddressList(const String& list);

    // True when the current item carries a file or a folder.
    Boolean FolderItemAvailable() const;
    // The current item's file-system item; nothing when it carries none or its path cannot name
    // one.
    Ref<Quorvane::FolderItem> FolderItem() const;
    // Every carried item, in order.
    const std::vector<Item>& Items() const noexcept { return m_items; }

protected:
    DragItem() = default;

private:
    std::vector<Item> m_items;
};

} // namespace Quorvane
