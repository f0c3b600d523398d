#pragma once

#include "framework/Types.h"

// The stored property lists of the logo window and of its canvas, in the framework's encoding:
// each entry is its key, a blank and the value's bytes.
namespace Quorvane::StoredPropertyLists {

inline constexpr char WindowBytes[] =
    "Placement " "\x00\x00\x00\x02"
    "Width " "\x00\x00\x01\xA7"
    "Height " "\x00\x00\x00\xA7"
    "MinWidth " "\x00\x00\x00\x40"
    "MinHeight " "\x00\x00\x00\x40"
    "MaxWidth " "\x00\x00\x7D\x00"
    "MaxHeight " "\x00\x00\x7D\x00"
    "Frame " "\x00\x00\x00\x00"
    "Composite " "\x00"
    "HasBackColor " "\x00"
    "BackColor " "\xFF\xFF\xFF"
    "Title " "\x00\x00\x00\x08" "Quorvane"
    "Visible " "\x01"
    "FullScreen " "\x00"
    "MenuBarVisible " "\x01"
    "CloseButton " "\x01"
    "Resizeable " "\x00"
    "LiveResize " "\x00"
    "MaximizeButton " "\x00"
    "MinimizeButton " "\x01"
    "FullScreenButton " "\x00"
    "MacProcID " "\x00\x00\x00\x00";

inline constexpr char Canvas1Bytes[] =
    "Name " "\x00\x00\x00\x07" "Canvas1"
    "Index " "\x80\x00\x00\x00"
    "Left " "\x00\x00\x00\x04"
    "Top " "\x00\x00\x00\x02"
    "Width " "\x00\x00\x01\xA1"
    "Height " "\x00\x00\x00\xA3"
    "LockLeft " "\x01"
    "LockTop " "\x01"
    "LockRight " "\x01"
    "LockBottom " "\x01"
    "TabPanelIndex " "\x00\x00\x00\x00"
    "TabIndex " "\x00\x00\x00\x00"
    "TabStop " "\x01"
    "Visible " "\x01"
    "HelpTag " "\x00\x00\x00\x00"
    "AutoDeactivate " "\x01"
    "Enabled " "\x01"
    "UseFocusRing " "\x01"
    "AcceptFocus " "\x00"
    "AcceptTabs " "\x00"
    "DoubleBuffer " "\x00"
    "EraseBackground " "\x01"
    "Transparent " "\x01"
    "InitialParent " "\x00\x00\x00\x00";

static_assert(sizeof WindowBytes - 1 == 293 && sizeof Canvas1Bytes - 1 == 293);

// The window's list, applied by Layout.
inline String Window() { return String(WindowBytes, sizeof WindowBytes - 1); }
// The canvas's list, applied by _CreateControls0.
inline String Canvas1() { return String(Canvas1Bytes, sizeof Canvas1Bytes - 1); }

} // namespace Quorvane::StoredPropertyLists
