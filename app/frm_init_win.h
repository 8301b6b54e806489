#pragma once

#include <windows.h>

#include <string>

#include "app/app_log.h"
#include "platform/single_instance_win.h"
#include "platform/unique_handle_win.h"

namespace selvane {

// The setup window: the administrator names KEVA's installation folder here
// and presses Complete.
class FrmInit {
public:
    FrmInit(HINSTANCE instance, const SingleInstance& single, ApplicationWindow& application,
            std::string appFolder, AppLog& log);
    FrmInit(const FrmInit&) = delete;
    FrmInit& operator=(const FrmInit&) = delete;

    // Creates the window and its controls and runs the load handling; the
    // window stays hidden. Ends the process when another instance runs.
    void Load();
    void Show(int showCommand);

    HWND hwnd() const { return window_.get(); }
    std::string FolderText() const;
    void SetFolderText(const std::string& text);

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK FolderBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam,
                                          UINT_PTR id, DWORD_PTR self);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // Runs a handler; whatever escapes it ends the program with a message naming it.
    template <typename Handler>
    LRESULT Guarded(Handler&& handler);

    void CreateControls();
    void ApplyDpi(int dpi);
    HWND Control(int id) const { return GetDlgItem(hwnd(), id); }

    void Form_Load();
    void txtCommon_MouseDown(int button);
    void cmdCommon_Click(int index);
    void cmdComplete_Click();
    void set_RemoteControl();

    HINSTANCE instance_;
    const SingleInstance& single_;
    ApplicationWindow& application_;
    std::string appFolder_;
    AppLog& log_;
    HWND lastFocus_ = nullptr;
    // From Complete until its outcome has been shown: a second press does
    // nothing, and a close request waits for the run.
    bool setupRunning_ = false;
    UniqueFont font_;
    UniqueIcon bigIcon_;
    UniqueIcon smallIcon_;
    UniqueWindow window_;  // last: destroyed before the font and icons it uses
};

}  // namespace selvane
