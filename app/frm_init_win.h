#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "app/window_run.h"
#include "platform/call_failure.h"
#include "platform/single_instance_win.h"
#include "platform/unique_handle_win.h"

namespace selvane {

// The program's one kind of message box: its title as caption, OK only,
// owned by the given window (none before the setup window shows).
void ShowAppMessage(HWND owner, std::string_view text, MessageIcon icon);

// The window run's message boxes, over the setup window once it is made.
class SetupWindowHost : public WindowRunHost {
public:
    void SetOwner(HWND owner) { owner_ = owner; }
    void ShowMessage(const std::string& text, MessageIcon icon) override { ShowAppMessage(owner_, text, icon); }

private:
    HWND owner_ = nullptr;
};

// The setup window: the administrator names KEVA's installation folder here
// and presses Complete. What each outcome means is the run's to decide.
class FrmInit {
public:
    FrmInit(HINSTANCE instance, const SingleInstance& single, ApplicationWindow& application, WindowRun& run)
        : instance_(instance), single_(single), application_(application), run_(run) {}
    FrmInit(const FrmInit&) = delete;
    FrmInit& operator=(const FrmInit&) = delete;

    // Creates the window and its controls and runs the load handling; the
    // window stays hidden. Another instance found ends the program.
    CallResult Load();
    void Show(int showCommand);

    HWND hwnd() const { return window_.get(); }

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK FolderBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                          DWORD_PTR self);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // A handler that failed ends the program with a message naming the failed call.
    void EndOnFailure(const CallResult& failure);

    CallResult CreateControls();
    CallResult ApplyDpi(int dpi);
    HWND Control(int id) const { return GetDlgItem(hwnd(), id); }

    CallResult Form_Load();
    void txtCommon_MouseDown(int button);
    CallResult cmdCommon_Click(int index);
    void cmdComplete_Click();
    CallResult set_RemoteControl();

    HINSTANCE instance_;
    const SingleInstance& single_;
    ApplicationWindow& application_;
    WindowRun& run_;
    HWND lastFocus_ = nullptr;
    CallResult creationFailure_;  // why WM_CREATE refused the window
    UniqueFont font_;
    UniqueIcon bigIcon_;
    UniqueIcon smallIcon_;
    UniqueWindow window_;  // last: destroyed before the font and icons it uses
};

}  // namespace selvane
