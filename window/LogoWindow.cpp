#include "window/Window_main.h"

#include "framework/Application.h"
#include "framework/Base64.h"
#include "framework/PluginEntrypoints.h"
#include "framework/Runtime.h"
#include "framework/Text.h"
#include "resources/Logo.h"

namespace Quorvane {

namespace {

// The line drawn over the logo.
constexpr const char* Notice = "Trascina qui una cartella";

} // namespace

void Window_main::Event_Open()
{
    const String decoded =
        PluginOperation<DecodeBase64Operation>(DecodeBase64Entry)(LogoBase64(), nullptr);
    Ref<MemoryBlock> data = MemoryBlock::Operator_Convert(decoded);
    mPicture = Picture::FromData(data);
    Implicit()->Width(mPicture->Width());
    Implicit()->Height(mPicture->Height());
    Canvas1()->Width(mPicture->Width());
    Canvas1()->Height(mPicture->Height());
    Canvas1()->Backdrop(mPicture);
    ReadDropBoxDefaultFolder();
    const Ref<Application> app = _GetAppObject();
    Title("Quorvane V. " + Str(app->MajorVersion(), "") + "." + Str(app->MinorVersion(), "") + "." +
          Str(app->BugVersion(), ""));
}

void Window_main::Canvas1_Paint(Ref<Canvas> canvas, Ref<Graphics> g, std::vector<Ref<Rect>>)
{
    const Int32 height = canvas->Height();
    const Int32 width = canvas->Width();
    g->DrawString(Notice, height - 20, 15, width - 20, true);
}

void Window_main::Event_Close()
{
    Quit(0);
}

} // namespace Quorvane
