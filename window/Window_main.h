#pragma once

#include "framework/Control.h"
#include "framework/FolderItem.h"
#include "framework/Graphics.h"
#include "framework/Window.h"

#include <vector>

namespace Quorvane {

// The logo window: folders dropped on its canvas Canvas1 become links in the sync folder, and a
// click on it shows the sync folder's path. The framework knows the class as
// "Window_main.Window_main" and holds its one object in its list of implicit windows.
class Window_main : public Window {
    QUORVANE_DESCRIBED_CLASS
public:
    // The window's one object: the one the framework already holds, or else a new one,
    // constructed before it is returned.
    static Ref<Window_main> Implicit();

    // Applies the window's stored property list.
    virtual void Layout();
    // Makes the window's controls through _CreateControls0.
    virtual void CreateControls();
    // Makes Canvas1, applies its stored property list and attaches its four handlers.
    virtual void _CreateControls0();
    // The window's control named "Canvas1".
    virtual Ref<Canvas> Canvas1();
    // Makes the canvas accept drops of the file type "folders".
    virtual void Canvas1_Open(Ref<Canvas> canvas);
    // Turns the first item of a drop into a link in the sync folder, or says why not.
    virtual void Canvas1_DropObject(Ref<Canvas> canvas, Ref<DragItem> item, Int32 action);
    // Finds the sync folder anew and shows its path; never claims the click.
    virtual Boolean Canvas1_MouseDown(Ref<Canvas> canvas, Int32 x, Int32 y);
    // Draws the notice line over the logo.
    virtual void Canvas1_Paint(Ref<Canvas> canvas, Ref<Graphics> g, std::vector<Ref<Rect>> areas);
    // Shows the logo at its size, finds the sync folder and puts the version in the title.
    virtual void Event_Open();
    // Quits the application.
    virtual void Event_Close();

protected:
    // Finds the sync folder through the shell and keeps it in DropBoxFolder, or says it cannot.
    virtual void ReadDropBoxDefaultFolder();
    // Does nothing; returns the empty text.
    virtual String GetLoggedInUserName();
    // Does nothing; returns the empty text.
    virtual String GetHostName();
    // Does nothing.
    virtual void LaunchAsAdministrator(Ref<FolderItem> item, std::vector<String> parameters);

public:
    // Makes a link to folder in the sync folder, named after the folder, and tells the outcome.
    virtual void CreateSimLink(Ref<FolderItem> folder);
    // Does nothing; returns false.
    virtual Boolean CreateSymLinkWin32(Ref<FolderItem> source, Ref<FolderItem> target);

    // The logo picture, from the window's opening on.
    Ref<Picture> mPicture;
    // The sync folder that the last discovery found, or nothing.
    Ref<FolderItem> DropBoxFolder;
    // The file-system item of the drop being handled.
    Ref<FolderItem> mFolderCocoa;

protected:
    Window_main() = default;
    // Lets go of mPicture, DropBoxFolder and mFolderCocoa, in that order.
    void __Exit() noexcept override;
};

} // namespace Quorvane
