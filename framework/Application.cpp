#include "framework/Application.h"

#include "framework/Control.h"
#include "framework/DragItem.h"
#include "framework/FileType.h"
#include "framework/Localization.h"
#include "framework/MsgBox.h"
#include "framework/Native.h"
#include "framework/Version.h"

#include <QApplication>
#include <QTimer>

#include <cstdio>

namespace Quorvane {

namespace {

Ref<Application>& ApplicationObject()
{
    static Ref<Application> application;
    return application;
}

struct Report {
    String className;
    String message;
};

Report Describe(std::exception_ptr exception)
{
    try {
        std::rethrow_exception(exception);
    } catch (const RuntimeException& raised) {
        return {raised.ClassName(), raised.Message()};
    } catch (const std::exception& raised) {
        return {"std::exception", raised.what()};
    } catch (...) {
        return {"an unknown exception", ""};
    }
}

} // namespace

const ClassDescription& Application::Description()
{
    static const ClassDescription& description = RuntimeNewClass(
        {.Name = "Application",
         .Base = &Object::Description(),
         .Methods = {"AddTrayItem", "DoEvents", "NewDocument", "OpenDocument", "RemoveTrayItem",
                     "SleepCurrentThread", "YieldToNextThread", "_AddMenuHandler",
                     "_AddPollableObject", "_CallOpen", "_DoSingleEvent", "_EnableMenuItems",
                     "_HandleMenuCommand", "_LoadBundleSound", "_LoadPictureFromBundle",
                     "_RemovePollableObject", "__DependencyList"},
         .Events = {"Activate", "CancelClose", "Close", "Deactivate", "EnableMenuItems",
                    "HandleAppleEvent", "NewDocument", "Open", "OpenDocument",
                    "UnhandledException"}});
    return description;
}

Int32 Application::MajorVersion() const noexcept
{
    return QUORVANE_VERSION_MAJOR;
}

Int32 Application::MinorVersion() const noexcept
{
    return QUORVANE_VERSION_MINOR;
}

Int32 Application::BugVersion() const noexcept
{
    return QUORVANE_VERSION_BUG;
}

void Application::_CallOpen()
{
    RuntimeRaiseHook(*this, "Open");
}

void Application::__Exit() noexcept
{
    m_menuBar.Clear();
    Object::__Exit();
}

void _RuntimeRegisterAppObject(const Ref<Application>& application)
{
    ApplicationObject() = application;
}

Ref<Application> _GetAppObject()
{
    return ApplicationObject();
}

void _RunFrameworkInitialization(void (*lateStartup)())
{
    RequireMainThread();
    lateStartup();
}

void _RuntimeInitExternalClasses()
{
    // The outside operations offer themselves under their signature texts as the program loads;
    // the table of entry points binds them next, so nothing is left to ready here.
}

void _RuntimeRun()
{
    RequireMainThread();
    Ref<Application> application = _GetAppObject();
    if (!application)
        throw NilObjectException("The event loop runs only for a registered application object.");
    QTimer::singleShot(0, QCoreApplication::instance(), [application] {
        DispatchEvent([&] { application->_CallOpen(); });
    });
    QApplication::exec();
    if (std::exception_ptr carried = TakeCarriedException())
        std::rethrow_exception(carried);
}

void _UnhandledException(std::exception_ptr exception)
{
    const Report report = Describe(exception);
    const String text = "The program met " + report.className + " and must end." +
                        (report.message.empty() ? String() : "\n" + report.message);
    std::fprintf(stderr, "%s: unhandled %s: %s\n", QUORVANE_PROGRAM_NAME, report.className.c_str(),
                 report.message.c_str());
    std::fflush(stderr);
    RuntimeSetExitStatus(1);
    if (QCoreApplication::instance())
        MsgBox(text);
}

void RuntimeDescribeFrameworkClasses()
{
    for (auto describe : {&Object::Description, &Application::Description, &MenuItem::Description,
                          &MenuBar::Description, &QuitMenuItem::Description, &Window::Description,
                          &Control::Description, &RectControl::Description, &Canvas::Description,
                          &DragItem::Description, &FileType::Description, &Graphics::Description,
                          &MemoryBlock::Description, &Picture::Description, &Rect::Description})
        (void)describe();
}

void ReleaseFrameworkReferences()
{
    ApplicationObject().Clear();
    ReleaseSystemObject();
    ReleaseImplicitWindows();
}

} // namespace Quorvane
