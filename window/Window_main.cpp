#include "window/Window_main.h"

#include "framework/PropertyList.h"
#include "window/StoredPropertyLists.h"
#include "window/folder.h"

namespace Quorvane {

namespace {

// A hook that runs one operation of the window on the object it is raised for.
template <void (Window_main::*Operation)()>
EventHook HookTo(const char* event)
{
    return {event, [](Object& window) { (dynamic_cast<Window_main&>(window).*Operation)(); }};
}

MemberRecord Method(const char* name, const char* result = "", const char* scope = "Public",
                    std::vector<String> attributes = {})
{
    return {MemberRecord::Kind::Method, name, result, scope, std::move(attributes)};
}

MemberRecord Property(const char* name, const char* type)
{
    return {MemberRecord::Kind::Property, name, type, "Public", {}};
}

} // namespace

const ClassDescription& Window_main::Description()
{
    static const ClassDescription& description = RuntimeNewClass(
        {.Name = "Window_main.Window_main",
         .Base = &Window::Description(),
         .Methods = {"Layout", "CreateControls", "_CreateControls0", "Canvas1", "Canvas1_Open",
                     "Canvas1_DropObject", "Canvas1_MouseDown", "Canvas1_Paint", "Event_Open",
                     "Event_Close", "ReadDropBoxDefaultFolder", "GetLoggedInUserName",
                     "GetHostName", "LaunchAsAdministrator", "CreateSimLink", "CreateSymLinkWin32"},
         .EventHooks = {HookTo<&Window_main::Layout>("Layout"),
                        HookTo<&Window_main::CreateControls>("CreateControls"),
                        HookTo<&Window_main::Event_Open>("Open"),
                        HookTo<&Window_main::Event_Close>("Close")},
         .Members = {Method("Layout"), Method("CreateControls"),
                     Method("_CreateControls0", "", "Public", {"Hidden"}),
                     Method("Canvas1", "Canvas"), Method("Canvas1_Open"),
                     Method("Canvas1_DropObject"), Method("Canvas1_MouseDown", "Boolean"),
                     Method("Canvas1_Paint"), Method("Event_Open"), Method("Event_Close"),
                     Method("ReadDropBoxDefaultFolder", "", "Protected"),
                     Method("GetLoggedInUserName", "String", "Protected"),
                     Method("GetHostName", "String", "Protected"),
                     Method("LaunchAsAdministrator", "", "Protected"), Method("CreateSimLink"),
                     Method("CreateSymLinkWin32", "Boolean"), Property("mPicture", "Picture"),
                     Property("DropBoxFolder", "FolderItem"), Property("mFolderCocoa", "FolderItem")}});
    return description;
}

Ref<Window_main> Window_main::Implicit()
{
    Ref<Window> window = _GetImplicitWindow("Window_main.Window_main");
    if (!window) {
        Ref<Window_main> made = RuntimeNewObject<Window_main>();
        made->Constructor();
        window = made;
    }
    return RuntimeCheckCast<Window_main>(window);
}

void Window_main::Layout()
{
    _SetProperties(RefTo(*this), StoredPropertyLists::Window());
}

void Window_main::CreateControls()
{
    _CreateControls0();
}

void Window_main::_CreateControls0()
{
    Ref<Canvas> made = __New<Canvas>();
    made->Constructor();
    _AddControl("Canvas1", made);
    made.Clear();
    _SetProperties(RuntimeCheckCast<Canvas>(_ControlByName("Canvas1")), StoredPropertyLists::Canvas1());

    const Ref<Window_main> self = RefTo(*this);
    RuntimeAddEventHandler(RuntimeCheckCast<Canvas>(_ControlByName("Canvas1")), CanvasEvent::Open,
                           &ForwardEvent<void, Ref<Canvas>>,
                           RuntimeCreateDelegate(&InvokeHandler<Window_main, void, Ref<Canvas>>,
                                                 &Window_main::Canvas1_Open, self, "( Canvas )",
                                                 DelegateModeWeakTarget));
    RuntimeAddEventHandler(
        RuntimeCheckCast<Canvas>(_ControlByName("Canvas1")), CanvasEvent::DropObject,
        &ForwardEvent<void, Ref<Canvas>, Ref<DragItem>, Int32>,
        RuntimeCreateDelegate(&InvokeHandler<Window_main, void, Ref<Canvas>, Ref<DragItem>, Int32>,
                              &Window_main::Canvas1_DropObject, self, "( Canvas, DragItem, Int32 )",
                              DelegateModeWeakTarget));
    RuntimeAddEventHandler(
        RuntimeCheckCast<Canvas>(_ControlByName("Canvas1")), CanvasEvent::MouseDown,
        &ForwardEvent<Boolean, Ref<Canvas>, Int32, Int32>,
        RuntimeCreateDelegate(&InvokeHandler<Window_main, Boolean, Ref<Canvas>, Int32, Int32>,
                              &Window_main::Canvas1_MouseDown, self,
                              "( Canvas, Int32, Int32 ) as Boolean", DelegateModeWeakTarget));
    RuntimeAddEventHandler(
        RuntimeCheckCast<Canvas>(_ControlByName("Canvas1")), CanvasEvent::Paint,
        &ForwardEvent<void, Ref<Canvas>, Ref<Graphics>, std::vector<Ref<Rect>>>,
        RuntimeCreateDelegate(
            &InvokeHandler<Window_main, void, Ref<Canvas>, Ref<Graphics>, std::vector<Ref<Rect>>>,
            &Window_main::Canvas1_Paint, self, "( Canvas, Graphics, Quorvane.Rect() )",
            DelegateModeWeakTarget));
}

Ref<Canvas> Window_main::Canvas1()
{
    return RuntimeCheckCast<Canvas>(_ControlByName("Canvas1"));
}

void Window_main::Canvas1_Open(Ref<Canvas> canvas)
{
    Ref<FileType> type = folder::folders();
    const String name = type->Operator_Convert();
    canvas->AcceptFileDrop(name);
}

String Window_main::GetLoggedInUserName()
{
    return {};
}

String Window_main::GetHostName()
{
    return {};
}

void Window_main::LaunchAsAdministrator(Ref<FolderItem>, std::vector<String>) {}

Boolean Window_main::CreateSymLinkWin32(Ref<FolderItem>, Ref<FolderItem>)
{
    return false;
}

void Window_main::__Exit() noexcept
{
    mPicture.Clear();
    DropBoxFolder.Clear();
    mFolderCocoa.Clear();
    Window::__Exit();
}

} // namespace Quorvane
