#pragma once

#include "window/Window_main.h"

namespace Quorvane::Testing {

// The main window with its protected operations opened to the tests.
class TestWindow : public Window_main {
public:
    using Window_main::ReadDropBoxDefaultFolder;
};

// A main window object that has not been constructed: no widgets, no Open, nothing discovered.
inline Ref<TestWindow> BareWindow()
{
    return RuntimeNewObject<TestWindow>();
}

} // namespace Quorvane::Testing
