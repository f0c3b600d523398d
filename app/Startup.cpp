#include "app/Startup.h"

#include "app/App.h"
#include "app/MenuBar1.h"
#include "app/PluginEntrypoints.h"
#include "framework/Runtime.h"
#include "window/Window_main.h"
#include "window/folder.h"

namespace Quorvane::Startup {

Int32 Main()
{
    RuntimeInit();
    Initialize();
    _Main();
    Finalize();
    return RuntimeExit();
}

void Initialize()
{
    RuntimeDescribeFrameworkClasses();
    (void)App::Description();
    (void)MenuBar1::Description();
    (void)Window_main::Description();
}

void _Main()
{
    try {
        _RuntimeSetExceptionHelper(&_CallFunctionWithExceptionHandling);
        _EarlyStartup();
        _RunFrameworkInitialization(&_LateStartup);
        _RuntimeRun();
    } catch (...) {
        _UnhandledException(std::current_exception());
    }
}

void _EarlyStartup()
{
    _RuntimeInitExternalClasses();
    _InitPluginEntrypoints();
    _InitFileTypes();
    _NewAppInstance();
    _ApplicationAddMenuHandlers();
}

void _InitFileTypes()
{
    folder::_Initialize();
}

void _NewAppInstance()
{
    Ref<App> app = RuntimeNewObject<App>();
    app->Constructor();
    app->MenuBar(MenuBar1::Implicit());
    _RuntimeRegisterAppObject(app);
}

void _ApplicationAddMenuHandlers() {}

void _LateStartup() {}

void Finalize()
{
    ReleaseFrameworkReferences();
    MenuBar1_implicitInstance__Exit();
    folder::pfolders__Exit();
    // Last, so that nothing released before it can find the outside operations gone.
    __plugin_entrypoints.Clear();
}

} // namespace Quorvane::Startup
