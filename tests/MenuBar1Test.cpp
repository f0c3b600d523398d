#include "app/MenuBar1.h"

#include "framework/Native.h"
#include "framework/Runtime.h"
#include "tests/support/OpenedWindow.h"
#include "tests/support/Support.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include <gtest/gtest.h>

namespace Quorvane {
namespace {

using namespace Testing;

struct Row {
    const char* name;
    const char* caption;
    bool shortcutAssigned;
    const char* shortcut;
};

const Row File[] = {{"FileQuit", "Esci", true, "Cmd+Q"}};
const Row Edit[] = {
    {"EditUndo", "Annulla", true, "Cmd+Z"},      {"UntitledMenu1", "-", false, ""},
    {"EditCut", "Taglia", true, "Cmd+X"},        {"EditCopy", "Copia", true, "Cmd+C"},
    {"EditPaste", "Incolla", true, "Cmd+V"},     {"EditClear", "Elimina", true, ""},
    {"UntitledMenu0", "-", false, ""},           {"EditSelectAll", "Seleziona tutto", true, "Cmd+A"},
};

void ExpectItems(const Ref<MenuItem>& menu, const Row* rows, size_t count)
{
    ASSERT_EQ(menu->Items().size(), count) << menu->Name();
    for (size_t index = 0; index < count; ++index) {
        const Ref<MenuItem>& item = menu->Items()[index];
        EXPECT_EQ(item->Name(), rows[index].name);
        EXPECT_EQ(item->Text(), rows[index].caption);
        EXPECT_EQ(item->KeyboardShortcutAssigned(), rows[index].shortcutAssigned) << rows[index].name;
        EXPECT_EQ(item->KeyboardShortcut(), rows[index].shortcut) << rows[index].name;
        EXPECT_TRUE(item->AutoEnable());
        EXPECT_TRUE(item->Visible());
        EXPECT_TRUE(item->Items().empty());
    }
}

class MenuBar1Test : public ::testing::Test {
protected:
    void TearDown() override { MenuBar1_implicitInstance__Exit(); }
};

TEST_F(MenuBar1Test, TheBarHoldsFileThenEditWithTheirItemsInOrder)
{
    Ref<MenuBar1> bar = MenuBar1::Implicit();
    ASSERT_EQ(bar->Items().size(), 2u);
    const Ref<MenuItem>& file = bar->Items()[0];
    const Ref<MenuItem>& edit = bar->Items()[1];
    for (const auto& [menu, name, caption] : {std::tuple{file, "FileMenu", "File"}, std::tuple{edit, "EditMenu", "Modifica"}}) {
        EXPECT_EQ(menu->Name(), name);
        EXPECT_EQ(menu->Text(), caption);
        EXPECT_TRUE(menu->KeyboardShortcutAssigned());
        EXPECT_EQ(menu->KeyboardShortcut(), "");
        EXPECT_TRUE(menu->AutoEnable());
        EXPECT_TRUE(menu->Visible());
    }
    ExpectItems(file, File, std::size(File));
    ExpectItems(edit, Edit, std::size(Edit));
    EXPECT_TRUE(dynamic_cast<QuitMenuItem*>(&*file->Items()[0]));
    EXPECT_TRUE(edit->Items()[1]->IsSeparator());
    EXPECT_TRUE(edit->Items()[6]->IsSeparator());
}

TEST_F(MenuBar1Test, TheBarIsBuiltOnceHoweverOftenItIsAskedFor)
{
    Ref<MenuBar1> first = MenuBar1::Implicit();
    EXPECT_TRUE(MenuBar1::Implicit() == first);
    EXPECT_EQ(first->Items().size(), 2u);
    EXPECT_EQ(first->Items()[1]->Items().size(), 8u);
    MenuBar1_implicitInstance__Exit();
    EXPECT_TRUE(MenuBar1_implicitInstance.IsNil());
    EXPECT_FALSE(MenuBar1::Implicit() == first);
}

TEST_F(MenuBar1Test, TheWindowShowsTheBarAsAQtMenuBarWithCtrlShortcuts)
{
    TemporaryHome home;
    OpenedWindow opened(true);
    QMenuBar* bar = NativeAccess::TopLevel(*opened.Window()).menuBar();
    ASSERT_TRUE(bar);
    const QList<QAction*> menus = bar->actions();
    ASSERT_EQ(menus.size(), 2);
    EXPECT_EQ(menus[0]->text(), "File");
    EXPECT_EQ(menus[1]->text(), "Modifica");
    const QList<QAction*> edit = menus[1]->menu()->actions();
    ASSERT_EQ(edit.size(), 8);
    EXPECT_TRUE(edit[1]->isSeparator());
    EXPECT_TRUE(edit[6]->isSeparator());
    EXPECT_EQ(edit[0]->shortcut(), QKeySequence("Ctrl+Z"));
    EXPECT_EQ(edit[7]->shortcut(), QKeySequence("Ctrl+A"));
    EXPECT_TRUE(edit[5]->shortcut().isEmpty());
    QAction* quit = menus[0]->menu()->actions().value(0);
    ASSERT_TRUE(quit);
    EXPECT_EQ(quit->text(), "Esci");
    EXPECT_EQ(quit->shortcut(), QKeySequence("Ctrl+Q"));

    for (QAction* item : edit)
        item->trigger();
    EXPECT_FALSE(QuitRequested());
    quit->trigger();
    EXPECT_TRUE(QuitRequested());
    EXPECT_EQ(RuntimeExitStatus(), 0);
}

} // namespace
} // namespace Quorvane
