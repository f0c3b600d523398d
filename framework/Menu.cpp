#include "framework/Menu.h"

#include "framework/Native.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>

namespace Quorvane {

const ClassDescription& MenuItem::Description()
{
    static const ClassDescription& description = RuntimeNewClass(
        {.Name = "MenuItem",
         .Base = &Object::Description(),
         .Methods = {"Constructor", "Name", "AutoEnable", "Text", "Visible", "KeyboardShortcut",
                     "Append", "Child", "Action"},
         .Events = {"Action", "EnableMenu"}});
    return description;
}

void MenuItem::Constructor()
{
    m_name.clear();
    m_text.clear();
    m_shortcut.clear();
    m_shortcutAssigned = false;
    m_autoEnable = false;
    m_visible = true;
}

void MenuItem::KeyboardShortcut(const String& shortcut)
{
    m_shortcut = shortcut;
    m_shortcutAssigned = true;
}

void MenuItem::Append(const Ref<MenuItem>& item)
{
    if (!item)
        throw NilObjectException("An empty menu item was appended.");
    m_items.push_back(item);
}

Ref<MenuItem> MenuItem::Child(const String& name) const
{
    for (const Ref<MenuItem>& item : m_items) {
        if (item->Name() == name)
            return item;
        if (Ref<MenuItem> deeper = item->Child(name))
            return deeper;
    }
    return {};
}

Boolean MenuItem::Action()
{
    return false;
}

void MenuItem::__Exit() noexcept
{
    m_items.clear();
    Object::__Exit();
}

const ClassDescription& QuitMenuItem::Description()
{
    static const ClassDescription& description =
        RuntimeNewClass({.Name = "QuitMenuItem", .Base = &MenuItem::Description()});
    return description;
}

Boolean QuitMenuItem::Action()
{
    Quit(0);
    return true;
}

const ClassDescription& MenuBar::Description()
{
    static const ClassDescription& description =
        RuntimeNewClass({.Name = "MenuBar", .Base = &MenuItem::Description()});
    return description;
}

namespace {

// "Cmd+Q" and the like name the Ctrl key on this platform.
QKeySequence ShortcutOf(const MenuItem& item)
{
    QString text = ToQString(item.KeyboardShortcut());
    text.replace(QStringLiteral("Cmd"), QStringLiteral("Ctrl"), Qt::CaseInsensitive);
    return QKeySequence(text, QKeySequence::PortableText);
}

void AddItem(QWidget& menu, const Ref<MenuItem>& item)
{
    if (!item->Visible())
        return;
    auto action = std::make_unique<QAction>(ToQString(item->Text()), &menu);
    action->setObjectName(ToQString(item->Name()));
    if (item->IsSeparator()) {
        action->setSeparator(true);
    } else {
        action->setShortcut(ShortcutOf(*item));
        QObject::connect(action.get(), &QAction::triggered, [item] {
            DispatchEvent([&] { item->Action(); });
        });
    }
    if (!item->Items().empty()) {
        auto submenu = std::make_unique<QMenu>(ToQString(item->Text()), &menu);
        for (const Ref<MenuItem>& inner : item->Items())
            AddItem(*submenu, inner);
        action->setMenu(submenu.release()); // owned by its parent menu
    }
    menu.addAction(action.release()); // owned by the menu
}

} // namespace

void InstallMenuBar(QMainWindow& window, const Ref<MenuBar>& menuBar)
{
    auto bar = std::make_unique<QMenuBar>();
    bar->setNativeMenuBar(false);
    for (const Ref<MenuItem>& item : menuBar->Items())
        AddItem(*bar, item);
    window.setMenuBar(bar.release()); // owned by the window from here on
}

} // namespace Quorvane
