#include "app/MenuBar1.h"

namespace Quorvane {

Ref<MenuBar1> MenuBar1_implicitInstance;

namespace {

// What to do with an item's shortcut: assign the text, or leave the item without an assignment.
struct Shortcut {
    Boolean assigned;
    const char* text;
};
constexpr Shortcut NoShortcut{false, ""};

// Builds one item, sets all of its properties, and only then appends it: to the bar for a top
// menu (no parent), or to the parent item, looked up anew by name.
template <class ItemClass>
void BuildItem(MenuBar& bar, const char* name, const char* caption, Shortcut shortcut,
               const char* parent)
{
    Ref<MenuItem> item = RuntimeNewObject<ItemClass>();
    item->Constructor();
    item->Name(name);
    item->AutoEnable(true);
    item->Text(caption);
    item->Visible(true);
    if (shortcut.assigned)
        item->KeyboardShortcut(shortcut.text);
    if (!parent) {
        bar.Append(item);
        return;
    }
    Ref<MenuItem> menu = bar.Child(parent);
    if (!menu)
        throw NilObjectException(String("The menu \"") + parent + "\" is missing.");
    menu->Append(item);
}

} // namespace

const ClassDescription& MenuBar1::Description()
{
    static const ClassDescription& description = RuntimeNewClass(
        {.Name = "MenuBar1.MenuBar1",
         .Base = &MenuBar::Description(),
         .Methods = {"Untitled0", "Untitled1"},
         .Members = {{MemberRecord::Kind::Method, "Constructor", "", "Public", {}},
                     {MemberRecord::Kind::Method, "Untitled0", "", "Public", {}},
                     {MemberRecord::Kind::Method, "Untitled1", "", "Public", {}}}});
    return description;
}

Ref<MenuBar1> MenuBar1::Implicit()
{
    if (!MenuBar1_implicitInstance) {
        Ref<MenuBar1> made = RuntimeNewObject<MenuBar1>();
        made->Constructor();
        MenuBar1_implicitInstance = made;
    }
    return MenuBar1_implicitInstance;
}

void MenuBar1::Constructor()
{
    Untitled0();
    Untitled1();
}

void MenuBar1::Untitled0()
{
    BuildItem<MenuItem>(*this, "FileMenu", "File", {true, ""}, nullptr);
    BuildItem<QuitMenuItem>(*this, "FileQuit", "Esci", {true, "Cmd+Q"}, "FileMenu");
}

void MenuBar1::Untitled1()
{
    BuildItem<MenuItem>(*this, "EditMenu", "Modifica", {true, ""}, nullptr);
    BuildItem<MenuItem>(*this, "EditUndo", "Annulla", {true, "Cmd+Z"}, "EditMenu");
    BuildItem<MenuItem>(*this, "UntitledMenu1", "-", NoShortcut, "EditMenu");
    BuildItem<MenuItem>(*this, "EditCut", "Taglia", {true, "Cmd+X"}, "EditMenu");
    BuildItem<MenuItem>(*this, "EditCopy", "Copia", {true, "Cmd+C"}, "EditMenu");
    BuildItem<MenuItem>(*this, "EditPaste", "Incolla", {true, "Cmd+V"}, "EditMenu");
    BuildItem<MenuItem>(*this, "EditClear", "Elimina", {true, ""}, "EditMenu");
    BuildItem<MenuItem>(*this, "UntitledMenu0", "-", NoShortcut, "EditMenu");
    BuildItem<MenuItem>(*this, "EditSelectAll", "Seleziona tutto", {true, "Cmd+A"}, "EditMenu");
}

void MenuBar1_implicitInstance__Exit()
{
    MenuBar1_implicitInstance.Clear();
}

} // namespace Quorvane
