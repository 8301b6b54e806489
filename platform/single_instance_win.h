#pragma once

#include <windows.h>

#include <string>

#include "platform/call_failure.h"
#include "platform/unique_handle_win.h"

namespace selvane {

// Knows, from the moment it is claimed, whether another instance of the
// program already runs. The named mutex is created once, so two starts
// cannot both believe they are first.
class SingleInstance {
public:
    SingleInstance() = default;
    static Checked<SingleInstance> Claim(const std::string& mutexName);
    bool AnotherIsRunning() const { return anotherIsRunning_; }

private:
    UniqueHandle mutex_;
    bool anotherIsRunning_ = false;
};

// The hidden top-level window every instance with a window keeps, captioned
// with the application title; the setup window is owned by it, and a second
// start finds the first instance through it.
class ApplicationWindow {
public:
    ApplicationWindow() = default;
    static Checked<ApplicationWindow> Create(HINSTANCE instance, const std::string& className,
                                             const std::string& title);
    HWND get() const { return window_.get(); }

private:
    UniqueWindow window_;
};

enum class PreviousInstance {
    None,            // no other instance runs
    BroughtForward,  // its last active window is in front now
    WithoutWindow,   // it runs, but shows no window to bring forward
};

// When another instance runs, brings its last active window to the front,
// restored; the caller then ends this process.
PreviousInstance ActivatePreviousInstance(const SingleInstance& instance, ApplicationWindow& application,
                                          const std::string& className, const std::string& title);

}  // namespace selvane
