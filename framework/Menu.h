#pragma once

#include "framework/ClassDescription.h"

#include <vector>

namespace Quorvane {

// An item of a menu tree: a menu of its own when it holds items. A caption of "-" makes it a
// separator; a shortcut of "Cmd+" and a letter is the Ctrl key with that letter.
class MenuItem : public Object {
    QUORVANE_DESCRIBED_CLASS
public:
    // The framework's default construction of a new item: no name, no caption, no shortcut.
    virtual void Constructor();

    const String& Name() const noexcept { return m_name; }
    // Sets the name that Child finds the item by.
    void Name(const String& name) { m_name = name; }
    Boolean AutoEnable() const noexcept { return m_autoEnable; }
    // Leaves the item's enabling to the framework, which enables it, or not.
    void AutoEnable(Boolean autoEnable) { m_autoEnable = autoEnable; }
    const String& Text() const noexcept { return m_text; }
    // Sets the caption; "-" makes the item a separator.
    void Text(const String& text) { m_text = text; }
    Boolean Visible() const noexcept { return m_visible; }
    // Shows or hides the item.
    void Visible(Boolean visible) { m_visible = visible; }
    const String& KeyboardShortcut() const noexcept { return m_shortcut; }
    // Sets the shortcut; the empty text means none.
    void KeyboardShortcut(const String& shortcut);
    // True once a shortcut has been assigned, even the empty one.
    Boolean KeyboardShortcutAssigned() const noexcept { return m_shortcutAssigned; }

    // Adds the item as the last entry of this menu.
    void Append(const Ref<MenuItem>& item);
    // The item of that name anywhere under this one; nothing when there is none.
    Ref<MenuItem> Child(const String& name) const;
    // The items of this menu, in order.
    const std::vector<Ref<MenuItem>>& Items() const noexcept { return m_items; }
    // True when the item is shown as a separator line.
    Boolean IsSeparator() const noexcept { return m_text == "-"; }

    // What choosing the item does; a plain item does nothing and claims nothing.
    virtual Boolean Action();

protected:
    MenuItem() = default;
    // Lets go of the items.
    void __Exit() noexcept override;

private:
    String m_name;
    Boolean m_autoEnable = false;
    String m_text;
    Boolean m_visible = true;
    String m_shortcut;
    Boolean m_shortcutAssigned = false;
    std::vector<Ref<MenuItem>> m_items;
};

// The item that quits the application when chosen.
class QuitMenuItem : public MenuItem {
    QUORVANE_DESCRIBED_CLASS
public:
    // Quits the application with exit status 0.
    Boolean Action() override;

protected:
    QuitMenuItem() = default;
};

// The root of an application's menus, shown as the menu bar of its windows.
class MenuBar : public MenuItem {
    QUORVANE_DESCRIBED_CLASS
protected:
    MenuBar() = default;
};

} // namespace Quorvane
