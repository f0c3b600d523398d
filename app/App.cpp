#include "app/App.h"

#include "framework/MsgBox.h"
#include "messages/Module_Localization.h"
#include "window/Window_main.h"

namespace Quorvane {

const ClassDescription& App::Description()
{
    static const ClassDescription& description = RuntimeNewClass(
        {.Name = "App",
         .Base = &Application::Description(),
         .Methods = {"Event_Open", "Constructor"},
         .EventHooks = {{"Open", [](Object& app) { dynamic_cast<App&>(app).Event_Open(); }}},
         .Members = {{MemberRecord::Kind::Method, "Event_Open", "", "Public", {}},
                     {MemberRecord::Kind::Method, "Constructor", "", "Public", {}},
                     {MemberRecord::Kind::Property, "AdminPassword", "String", "Public", {}}}});
    return description;
}

void App::Event_Open()
{
    MsgBox(Module_Localization::START_MSGBOX(""));
    Ref<Window_main> window = Window_main::Implicit();
    if (!window)
        throw NilObjectException("The main window could not be had.");
    window->Show();
}

void App::Constructor() {}

void App::__Exit() noexcept
{
    String().swap(AdminPassword);
    Application::__Exit();
}

Ref<App> App::Current()
{
    return RuntimeCheckCast<App>(_GetAppObject());
}

} // namespace Quorvane
