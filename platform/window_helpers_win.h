#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "platform/unique_handle_win.h"

// windows.h maps WriteProfileString to the win.ini-only API; ours takes a file.
#undef WriteProfileString

namespace selvane {

// Deletes one command, or the separator, from a window's system menu.
void RemoveSystemMenuItem(HWND window, std::int16_t code);

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

// The hidden top-level window every instance keeps, captioned with the
// application title; the setup window is owned by it, and a second start
// finds the first instance through it.
class ApplicationWindow {
public:
    explicit ApplicationWindow(HINSTANCE instance);
    HWND get() const { return window_.get(); }
    void SetTitle(const std::string& title);

private:
    UniqueWindow window_;
};

// When another instance runs: brings its last active window to the front,
// restored, and ends this process. Otherwise returns at once.
void ActivatePreviousInstance(const SingleInstance& instance, ApplicationWindow& application);

// Writes one key of an INI file in the ANSI code page. False when the write
// failed, or when a text cannot be expressed in the code page; GetLastError
// then tells why.
bool WriteProfileString(const std::string& file, const std::string& section,
                        const std::string& key, const std::string& value);

}  // namespace selvane
