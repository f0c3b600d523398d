#pragma once

#include "framework/Menu.h"

namespace Quorvane {

// The application's menu bar: File with "Esci", Edit with the editing commands, all in Italian.
class MenuBar1 : public MenuBar {
    QUORVANE_DESCRIBED_CLASS
public:
    // The one menu bar: made and built on the first call, the same object afterwards.
    static Ref<MenuBar1> Implicit();

    // Builds the File menu, then the Edit menu.
    void Constructor() override;
    // Builds the File menu.
    virtual void Untitled0();
    // Builds the Edit menu.
    virtual void Untitled1();

protected:
    MenuBar1() = default;
};

// The one menu bar once made; emptied at the end of the run.
extern Ref<MenuBar1> MenuBar1_implicitInstance;

// Empties MenuBar1_implicitInstance, then lets go of the menu bar.
void MenuBar1_implicitInstance__Exit();

} // namespace Quorvane
