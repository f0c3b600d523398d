// Runs the tests on the main thread of a running runtime, headless unless a display is chosen.

#include "app/PluginEntrypoints.h"
#include "framework/Runtime.h"

#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    Quorvane::RuntimeInit();
    Quorvane::_InitPluginEntrypoints();
    const int result = RUN_ALL_TESTS();
    Quorvane::__plugin_entrypoints.Clear();
    Quorvane::RuntimeExit();
    return result;
}
