#pragma once

#include "framework/PropertyList.h"

#include <limits>
#include <vector>

// The stored property lists of the logo window and of its canvas: each a table of properties by
// name, in the order they are applied, kept in the framework's encoding.
namespace Quorvane::StoredPropertyLists {

// The window's entries, in order.
inline const std::vector<PropertyEntry>& WindowEntries()
{
    static const std::vector<PropertyEntry> entries = {
        {"Placement", Int32{2}},
        {"Width", Int32{423}},
        {"Height", Int32{167}},
        {"MinWidth", Int32{64}},
        {"MinHeight", Int32{64}},
        {"MaxWidth", Int32{32000}},
        {"MaxHeight", Int32{32000}},
        {"Frame", Int32{0}},
        {"Composite", false},
        {"HasBackColor", false},
        {"BackColor", Color{0xFF, 0xFF, 0xFF}},
        {"Title", String("Quorvane")},
        {"Visible", true},
        {"FullScreen", false},
        {"MenuBarVisible", true},
        {"CloseButton", true},
        {"Resizeable", false},
        {"LiveResize", false},
        {"MaximizeButton", false},
        {"MinimizeButton", true},
        {"FullScreenButton", false},
        {"MacProcID", Int32{0}},
};
    return entries;
}

// The canvas's entries, in order.
inline const std::vector<PropertyEntry>& Canvas1Entries()
{
    static const std::vector<PropertyEntry> entries = {
        {"Name", String("Canvas1")},
        {"Index", std::numeric_limits<Int32>::min()},
        {"Left", Int32{4}},
        {"Top", Int32{2}},
        {"Width", Int32{417}},
        {"Height", Int32{163}},
        {"LockLeft", true},
        {"LockTop", true},
        {"LockRight", true},
        {"LockBottom", true},
        {"TabPanelIndex", Int32{0}},
        {"TabIndex", Int32{0}},
        {"TabStop", true},
        {"Visible", true},
        {"HelpTag", String()},
        {"AutoDeactivate", true},
        {"Enabled", true},
        {"UseFocusRing", true},
        {"AcceptFocus", false},
        {"AcceptTabs", false},
        {"DoubleBuffer", false},
        {"EraseBackground", true},
        {"Transparent", true},
        {"InitialParent", String()},
};
    return entries;
}

// The window's list, applied by Layout.
inline const String& Window()
{
    static const String list = EncodePropertyList(WindowEntries());
    return list;
}

// The canvas's list, applied by _CreateControls0.
inline const String& Canvas1()
{
    static const String list = EncodePropertyList(Canvas1Entries());
    return list;
}

} // namespace Quorvane::StoredPropertyLists
