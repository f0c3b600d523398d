#pragma once

#include "framework/Types.h"

#include <functional>

namespace Quorvane {

// Shows the text in one modal message box and returns once the user has dismissed it.
void MsgBox(const String& text);

// Sees a message box's text once the box is on screen; the box is dismissed when it returns.
using MessageBoxWatcher = std::function<void(const String& text)>;

// Installs the watcher that sees and dismisses every message box from now on (an empty one leaves
// the boxes to the user) and returns the one it replaces.
MessageBoxWatcher SetMessageBoxWatcher(MessageBoxWatcher watcher);

} // namespace Quorvane
