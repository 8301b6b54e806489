#include "app/frm_init_win.h"

#include <commctrl.h>

#include "app/messages.h"
#include "app/program_names.h"
#include "platform/browse_folder_win.h"
#include "platform/dpi_win.h"
#include "platform/system_menu_win.h"
#include "platform/wide_text_win.h"
#include "platform/win_error.h"
#include "platform/window_class_win.h"
#include "resources/layout.h"
#include "setup/setup_platform_win.h"

namespace selvane {
namespace {

constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
// An owned window gets no taskbar button of its own without WS_EX_APPWINDOW.
constexpr DWORD kWindowExStyle = WS_EX_APPWINDOW;
constexpr UINT_PTR kFolderBoxSubclass = 1;

}  // namespace

void ShowAppMessage(HWND owner, std::string_view text, MessageIcon icon) {
    MessageBoxW(owner, Widen(text).c_str(), Widen(kAppTitle).c_str(),
                MB_OK | (icon == MessageIcon::Error     ? MB_ICONERROR
                         : icon == MessageIcon::Warning ? MB_ICONWARNING
                                                        : MB_ICONINFORMATION));
}

void FrmInit::EndOnFailure(const CallResult& failure) {
    if (failure) run_.UnexpectedFailure(*failure);
}

CallResult FrmInit::Load() {
    const std::wstring className = Widen(kSetupWindowClass);
    if (auto failure = RegisterWindowClass(instance_, className, WindowProc)) return failure;
    const auto window = CHECK_HANDLE(CreateWindowExW, kWindowExStyle, className.c_str(),
                                     Widen(layout::kWindowCaption).c_str(), kWindowStyle, CW_USEDEFAULT,
                                     CW_USEDEFAULT, 0, 0, application_.get(), nullptr, instance_, this);
    if (!window) return creationFailure_ ? creationFailure_ : window.failure;
    return Form_Load();
}

void FrmInit::Show(int showCommand) {
    // Centred on the work area of the primary monitor.
    RECT bounds = {};
    GetWindowRect(hwnd(), &bounds);
    RECT work = {};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const int width = bounds.right - bounds.left;
    const int height = bounds.bottom - bounds.top;
    SetWindowPos(hwnd(), nullptr, work.left + (work.right - work.left - width) / 2,
                 work.top + (work.bottom - work.top - height) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(hwnd(), showCommand);
    SetForegroundWindow(hwnd());
    SetFocus(Control(IDC_CMD_COMMON));
}

LRESULT CALLBACK FrmInit::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<FrmInit*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        self->window_.reset(window);
    }
    auto* self = reinterpret_cast<FrmInit*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self) return DefWindowProcW(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        self->window_.release();
        return DefWindowProcW(window, message, wParam, lParam);
    }
    return self->HandleMessage(message, wParam, lParam);
}

LRESULT CALLBACK FrmInit::FolderBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                        DWORD_PTR selfData) {
    auto* self = reinterpret_cast<FrmInit*>(selfData);
    // While a run goes on its waits let these through: the box offers no
    // menu and says nothing until the run has ended.
    const bool running = self->run_.SetupRunning();
    switch (message) {
    case WM_LBUTTONDOWN: self->txtCommon_MouseDown(1); break;
    case WM_MBUTTONDOWN: self->txtCommon_MouseDown(4); break;
    case WM_RBUTTONDOWN:
        if (!running) self->txtCommon_MouseDown(2);
        return 0;
    case WM_CONTEXTMENU:
        // The right button is refused above; the keyboard's menu key still works.
        if (lParam != -1 || running) return 0;
        break;
    case WM_NCDESTROY: RemoveWindowSubclass(box, FolderBoxProc, kFolderBoxSubclass); break;
    default: break;
    }
    return DefSubclassProc(box, message, wParam, lParam);
}

LRESULT FrmInit::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        creationFailure_ = CreateControls();
        if (!creationFailure_) creationFailure_ = ApplyDpi(DpiForWindow(hwnd()));
        return creationFailure_ ? -1 : 0;
    case WM_COMMAND:
        // Browse and Complete do nothing while a run goes on (its waits let clicks through).
        if (HIWORD(wParam) == BN_CLICKED && !run_.SetupRunning()) {
            if (LOWORD(wParam) == IDC_CMD_COMMON) EndOnFailure(cmdCommon_Click(layout::kBrowseIndex));
            if (LOWORD(wParam) == IDC_CMD_COMPLETE) cmdComplete_Click();
        }
        return 0;
    case WM_ACTIVATE:
        // Not a dialog: keep the focus on the control that had it.
        if (LOWORD(wParam) == WA_INACTIVE) {
            lastFocus_ = GetFocus();
        } else if (lastFocus_ && IsChild(hwnd(), lastFocus_)) {
            SetFocus(lastFocus_);
        }
        return 0;
    case WM_DPICHANGED: {
        EndOnFailure(ApplyDpi(HIWORD(wParam)));
        const auto* suggested = reinterpret_cast<const RECT*>(lParam);
        SetWindowPos(hwnd(), nullptr, suggested->left, suggested->top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        return 0;
    }
    case WM_CLOSE:
        // A run in progress goes on to its end and shows its outcome; an idle
        // window closes as always.
        if (run_.SetupRunning()) return 0;
        return DefWindowProcW(hwnd(), message, wParam, lParam);
    case WM_QUERYENDSESSION: return run_.SetupRunning() ? FALSE : TRUE;
    case WM_DESTROY: PostQuitMessage(0); return 0;
    default: return DefWindowProcW(hwnd(), message, wParam, lParam);
    }
}

CallResult FrmInit::CreateControls() {
    for (const auto& control : layout::kControls) {
        const wchar_t* className = L"BUTTON";
        // No WS_CLIPSIBLINGS: the folder box lies below the frame in tab (and so
        // Z) order, and the frame would clip it away.
        DWORD style = WS_CHILD | WS_VISIBLE;
        DWORD exStyle = 0;
        switch (control.kind) {
        case layout::ControlKind::PushButton: style |= WS_TABSTOP | BS_PUSHBUTTON; break;
        case layout::ControlKind::Frame: style |= BS_GROUPBOX; break;
        case layout::ControlKind::FolderBox:
            className = L"EDIT";
            style |= WS_TABSTOP | ES_AUTOHSCROLL;
            exStyle = WS_EX_CLIENTEDGE;
            break;
        }
        const auto created = CHECK_HANDLE(CreateWindowExW, exStyle, className, Widen(control.caption).c_str(), style,
                                          0, 0, 0, 0, hwnd(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(control.id)),
                                          instance_, nullptr);
        if (!created) return created.failure;
    }
    return CHECK_BOOL(SetWindowSubclass, Control(IDC_TXT_COMMON), FolderBoxProc, kFolderBoxSubclass,
                      reinterpret_cast<DWORD_PTR>(this));
}

// Sizes the window, places the controls and makes the font for a DPI, from
// the layout's twips.
CallResult FrmInit::ApplyDpi(int dpi) {
    LOGFONTW logFont = {};
    logFont.lfHeight = -MulDiv(layout::kFontHundredthsOfPoint, dpi, 7200);
    logFont.lfWeight = layout::kFontWeight;
    logFont.lfCharSet = layout::kFontCharset;
    lstrcpynW(logFont.lfFaceName, Widen(layout::kFontFace).c_str(), LF_FACESIZE);
    const auto font = CHECK_HANDLE(CreateFontIndirectW, &logFont);
    if (!font) return font.failure;
    UniqueFont owned(font.value);

    for (const auto& control : layout::kControls) {
        // Every control is a child of the window: one in the frame stands where the frame puts it.
        layout::TwipRect rect = control.rect;
        for (const auto& parent : layout::kControls) {
            if (parent.id != control.parentId) continue;
            rect.left += parent.rect.left;
            rect.top += parent.rect.top;
        }
        HWND child = Control(control.id);
        SetWindowPos(child, nullptr, TwipsToPixels(rect.left, dpi), TwipsToPixels(rect.top, dpi),
                     TwipsToPixels(rect.width, dpi), TwipsToPixels(rect.height, dpi), SWP_NOZORDER | SWP_NOACTIVATE);
        SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(owned.get()), TRUE);
    }
    font_ = std::move(owned);

    const RECT frame = WindowRectForClient(TwipsToPixels(layout::kClientWidth, dpi),
                                           TwipsToPixels(layout::kClientHeight, dpi), kWindowStyle, kWindowExStyle,
                                           dpi);
    SetWindowPos(hwnd(), nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    return std::nullopt;
}

CallResult FrmInit::Form_Load() {
    RemoveSystemMenuItem(hwnd(), kMenuSeparator);
    RemoveSystemMenuItem(hwnd(), kMenuClose);

    for (auto [icon, size, metricX, metricY] : {std::tuple{&bigIcon_, ICON_BIG, SM_CXICON, SM_CYICON},
                                                std::tuple{&smallIcon_, ICON_SMALL, SM_CXSMICON, SM_CYSMICON}}) {
        const auto loaded = CHECK_HANDLE(LoadImageW, instance_, MAKEINTRESOURCEW(IDI_APPLICATION_ICON), IMAGE_ICON,
                                         GetSystemMetrics(metricX), GetSystemMetrics(metricY), LR_DEFAULTCOLOR);
        if (!loaded) return loaded.failure;
        icon->reset(static_cast<HICON>(loaded.value));
        SendMessageW(hwnd(), WM_SETICON, size, reinterpret_cast<LPARAM>(icon->get()));
    }

    const PreviousInstance previous =
        ActivatePreviousInstance(single_, application_, kApplicationWindowClass, kAppTitle);
    if (previous != PreviousInstance::None) run_.AnotherInstanceRuns(previous == PreviousInstance::BroughtForward);
    return std::nullopt;
}

void FrmInit::txtCommon_MouseDown(int button) {
    if (button == 2) run_.RightButtonPressed();
}

CallResult FrmInit::cmdCommon_Click(int index) {
    if (index == layout::kBrowseIndex) return set_RemoteControl();
    return std::nullopt;
}

CallResult FrmInit::set_RemoteControl() {
    // Always opens at the dialog's own start, whatever the box holds.
    const auto folder = BrowseForFolder(hwnd(), "", messages::kBrowseTitle);
    if (!folder) return folder.failure;
    if (folder.value.empty()) return std::nullopt;
    return CHECK_BOOL(SetWindowTextW, Control(IDC_TXT_COMMON), Widen(folder.value).c_str());
}

void FrmInit::cmdComplete_Click() {
    if (!run_.BeginSetup()) return;
    // Windows holds a shutdown while the run goes on, and says why.
    ShutdownBlockReasonCreate(hwnd(), Widen(messages::kSetupRunning).c_str());
    HWND box = Control(IDC_TXT_COMMON);
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(box)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(box, text.data(), static_cast<int>(text.size()))));
    run_.Complete(*MakeWindowsSetupPlatform(), Narrow(text));
    ShutdownBlockReasonDestroy(hwnd());
}

}  // namespace selvane
