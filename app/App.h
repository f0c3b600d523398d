#pragma once

#include "framework/Application.h"

namespace Quorvane {

// The system's application: shows the start message, then the logo window.
class App : public Application {
    QUORVANE_DESCRIBED_CLASS
public:
    // The application object that the start-up sequence registered, as an App (the global
    // accessor App, which C++ cannot name like its class).
    static Ref<App> Current();

    // Shows the start message and, once it is dismissed, the main window.
    virtual void Event_Open();
    // Does nothing.
    virtual void Constructor();

    // Declared and never given a value.
    String AdminPassword;

protected:
    App() = default;
    // Lets go of AdminPassword.
    void __Exit() noexcept override;
};

} // namespace Quorvane
