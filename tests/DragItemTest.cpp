#include "framework/DragItem.h"

#include <QSysInfo>
#include <QString>

#include <gtest/gtest.h>

namespace Quorvane {
namespace {

// One item as the test expects it: the local path it names, or nothing when it names no local
// entry.
using Expected = std::optional<String>;

std::vector<Expected> Named(const String& list)
{
    std::vector<Expected> named;
    for (const DragItem::Item& item : DragItem::ItemsOfAddressList(list))
        named.push_back(item.IsLocalFile ? Expected(item.Path) : std::nullopt);
    return named;
}

TEST(DragItem, EachAddressOfAListNamesALocalEntryOnlyWhenItIsOfThisMachineAndAbsolute)
{
    const String machine = QSysInfo::machineHostName().toStdString();
    struct Row {
        String address;
        Expected path;
    };
    const Row rows[] = {
        {"file:///home/u/Projects", "/home/u/Projects"},
        {"file:/home/u/Projects", "/home/u/Projects"},
        {"file://localhost/home/u/Projects", "/home/u/Projects"},
        {"file://LocalHost/home/u/Projects", "/home/u/Projects"},
        {"file://" + machine + "/home/u/Projects", "/home/u/Projects"},
        {"file:///home/u/My%20Projects", "/home/u/My Projects"},
        {"file:///home/u/caf%E9", "/home/u/caf\xE9"},
        {"file:///home/u/caf%C3%A9", "/home/u/caf\xC3\xA9"},
        {"file:///home/u/a%2Fb", "/home/u/a/b"},
        {"file:///", "/"},
        {"file://fileserver.example/home/u/Projects", std::nullopt},
        {"file://tmp/home/u/Projects", std::nullopt},
        {"file:Projects", std::nullopt},
        {"file:./Projects", std::nullopt},
        {"file:///home/u/a%00b", std::nullopt},
        {"https://example.org/home/u/Projects", std::nullopt},
        {"smb://fileserver.example/share", std::nullopt},
        {"/home/u/Projects", std::nullopt},
    };
    for (const Row& row : rows)
        EXPECT_EQ(Named(row.address + "\r\n"), std::vector<Expected>{row.path}) << row.address;
}

TEST(DragItem, AListKeepsItsAddressesInOrderWithoutBlankAndCommentLines)
{
    struct Row {
        const char* what;
        String list;
        std::vector<Expected> items;
    };
    const Row rows[] = {
        {"lines ended by CR LF", "file:///a\r\nfile:///b\r\n", {"/a", "/b"}},
        {"lines ended by LF alone", "file:///a\nfile:///b", {"/a", "/b"}},
        {"comments and blank lines", "# from a file manager\r\n\r\n  file:///a  \r\n#file:///b\r\n", {"/a"}},
        {"an address of another machine keeps its place", "https://example.org/\r\nfile:///a", {std::nullopt, "/a"}},
        {"a list ended by a NUL byte", String("file:///a\r\n\0", 12), {"/a"}},
        {"nothing but comments", "#file:///a\r\n", {}},
        {"an empty list", "", {}},
    };
    for (const Row& row : rows)
        EXPECT_EQ(Named(row.list), row.items) << row.what;
}

TEST(DragItem, TheFirstItemAloneDecidesWhatTheDropCarries)
{
    const Ref<DragItem> first = DragItem::New(DragItem::ItemsOfAddressList("file:///tmp\r\nhttps://example.org/"));
    EXPECT_TRUE(first->FolderItemAvailable());
    ASSERT_TRUE(first->FolderItem());
    EXPECT_EQ(first->FolderItem()->POSIXPath(), "/tmp");

    const Ref<DragItem> second = DragItem::New(DragItem::ItemsOfAddressList("https://example.org/\r\nfile:///tmp"));
    EXPECT_FALSE(second->FolderItemAvailable());
    EXPECT_TRUE(second->FolderItem().IsNil());

    const Ref<DragItem> none = DragItem::New({});
    EXPECT_FALSE(none->FolderItemAvailable());
    EXPECT_TRUE(none->FolderItem().IsNil());
}

} // namespace
} // namespace Quorvane
