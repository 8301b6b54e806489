#pragma once

#include <windows.h>

#include <string>

#include "platform/unique_handle_win.h"

namespace selvane {

// Knows, from the moment it is created, whether another instance of the
// program already runs. The named mutex is created once, so two starts
// cannot both believe they are first.
class SingleInstance {
public:
    SingleInstance();
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
    ApplicationWindow(HINSTANCE instance, const std::string& title);
    HWND get() const { return window_.get(); }
    void SetTitle(const std::string& title);

private:
    UniqueWindow window_;
};

// When another instance runs: brings its last active window to the front,
// restored, and returns true; the caller then ends this process. Otherwise
// returns false at once.
bool ActivatePreviousInstance(const SingleInstance& instance, ApplicationWindow& application,
                              const std::string& title);

}  // namespace selvane
