#include "app/frm_init_win.h"

#include <commctrl.h>

#include <exception>

#include "app/app_title.h"
#include "app/exit_codes.h"
#include "app/failure_text.h"
#include "app/messages.h"
#include "app/program_end_win.h"
#include "platform/browse_folder_win.h"
#include "platform/dpi_win.h"
#include "platform/message_box_win.h"
#include "platform/system_menu_win.h"
#include "platform/wide_text_win.h"
#include "platform/win_error.h"
#include "resources/layout.h"
#include "setup/setup_platform_win.h"
#include "setup/setup_run.h"

namespace selvane {
namespace {

constexpr wchar_t kWindowClass[] = L"Selvane.frmInit";
constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
// An owned window gets no taskbar button of its own without WS_EX_APPWINDOW.
constexpr DWORD kWindowExStyle = WS_EX_APPWINDOW;
constexpr UINT_PTR kFolderBoxSubclass = 1;

// Marks a setup run in progress until its outcome has been shown, and asks
// Windows to hold a shutdown meanwhile.
class RunInProgress {
public:
    RunInProgress(bool& flag, HWND window) : flag_(flag), window_(window) {
        flag_ = true;
        ShutdownBlockReasonCreate(window_, Widen(messages::kSetupRunning).c_str());
    }
    ~RunInProgress() {
        ShutdownBlockReasonDestroy(window_);
        flag_ = false;
    }
    RunInProgress(const RunInProgress&) = delete;
    RunInProgress& operator=(const RunInProgress&) = delete;

private:
    bool& flag_;
    HWND window_;
};

const layout::ControlSpec* FindSpec(int id) {
    for (const auto& spec : layout::kControls) {
        if (spec.id == id) return &spec;
    }
    return nullptr;
}

// A control's rectangle in the window's client area, in twips.
layout::TwipRect ClientTwips(const layout::ControlSpec& spec) {
    layout::TwipRect rect = spec.rect;
    if (const auto* parent = FindSpec(spec.parentId)) {
        rect.left += parent->rect.left;
        rect.top += parent->rect.top;
    }
    return rect;
}

}  // namespace

FrmInit::FrmInit(HINSTANCE instance, const SingleInstance& single, ApplicationWindow& application,
                 std::string appFolder, AppLog& log)
    : instance_(instance), single_(single), application_(application), appFolder_(std::move(appFolder)),
      log_(log) {}

// No handler swallows an error: whatever escapes one ends the program with
// a message that names it.
template <typename Handler>
LRESULT FrmInit::Guarded(Handler&& handler) {
    std::string failure = messages::kUnexpectedFailure;
    try {
        return handler();
    } catch (const std::exception& error) {
        failure += std::string("\n\n") + error.what();
    } catch (...) {
    }
    log_.Error(failure);
    ShowFailure(hwnd(), kAppTitle, failure);
    EndProgram(log_, exit_codes::kWindowRunFailed);
}

void FrmInit::Load() {
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance_;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kWindowClass;
    if (!RegisterClassExW(&windowClass) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
        ThrowLastError("RegisterClassExW(frmInit)");
    }
    WIN32_CHECK(CreateWindowExW(kWindowExStyle, kWindowClass, Widen(layout::kWindowCaption).c_str(),
                                kWindowStyle, CW_USEDEFAULT, CW_USEDEFAULT, 0, 0,
                                application_.get(), nullptr, instance_, this));
    Form_Load();
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
                 work.top + (work.bottom - work.top - height) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(hwnd(), showCommand);
    SetForegroundWindow(hwnd());
    SetFocus(Control(IDC_CMD_COMMON));
}

std::string FrmInit::FolderText() const {
    HWND box = Control(IDC_TXT_COMMON);
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(box)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(box, text.data(), static_cast<int>(text.size()))));
    return Narrow(text);
}

void FrmInit::SetFolderText(const std::string& text) {
    WIN32_CHECK(SetWindowTextW(Control(IDC_TXT_COMMON), Widen(text).c_str()));
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
    return self->Guarded([&] { return self->HandleMessage(message, wParam, lParam); });
}

LRESULT CALLBACK FrmInit::FolderBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam,
                                        UINT_PTR, DWORD_PTR selfData) {
    auto* self = reinterpret_cast<FrmInit*>(selfData);
    return self->Guarded([&]() -> LRESULT {
        switch (message) {
        case WM_LBUTTONDOWN: self->txtCommon_MouseDown(1); break;
        case WM_MBUTTONDOWN: self->txtCommon_MouseDown(4); break;
        case WM_RBUTTONDOWN:
            self->txtCommon_MouseDown(2);
            return 0;
        case WM_CONTEXTMENU:
            // The right button is refused above; the keyboard's menu key still works.
            if (lParam != -1) return 0;
            break;
        case WM_NCDESTROY:
            RemoveWindowSubclass(box, FolderBoxProc, kFolderBoxSubclass);
            break;
        default: break;
        }
        return DefSubclassProc(box, message, wParam, lParam);
    });
}

LRESULT FrmInit::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        CreateControls();
        ApplyDpi(DpiForWindow(hwnd()));
        return 0;
    case WM_COMMAND:
        if (HIWORD(wParam) == BN_CLICKED) {
            if (LOWORD(wParam) == IDC_CMD_COMMON) cmdCommon_Click(layout::kBrowseIndex);
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
        ApplyDpi(HIWORD(wParam));
        const auto* suggested = reinterpret_cast<const RECT*>(lParam);
        SetWindowPos(hwnd(), nullptr, suggested->left, suggested->top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        return 0;
    }
    case WM_CLOSE:
        // A run in progress goes on to its end and shows its outcome; an idle
        // window closes as always.
        if (setupRunning_) return 0;
        return DefWindowProcW(hwnd(), message, wParam, lParam);
    case WM_QUERYENDSESSION:
        return setupRunning_ ? FALSE : TRUE;
    case WM_DESTROY:
        PostQuitMessage(exit_codes::kSuccess);
        return 0;
    default:
        return DefWindowProcW(hwnd(), message, wParam, lParam);
    }
}

void FrmInit::CreateControls() {
    for (const auto& spec : layout::kControls) {
        const wchar_t* className = L"BUTTON";
        // No WS_CLIPSIBLINGS: the folder box lies below the frame in tab (and so
        // Z) order, and the frame would clip it away.
        DWORD style = WS_CHILD | WS_VISIBLE;
        DWORD exStyle = 0;
        switch (spec.kind) {
        case layout::ControlKind::PushButton: style |= WS_TABSTOP | BS_PUSHBUTTON; break;
        case layout::ControlKind::Frame: style |= BS_GROUPBOX; break;
        case layout::ControlKind::FolderBox:
            className = L"EDIT";
            style |= WS_TABSTOP | ES_AUTOHSCROLL;
            exStyle = WS_EX_CLIENTEDGE;
            break;
        }
        WIN32_CHECK(CreateWindowExW(exStyle, className, Widen(spec.caption).c_str(), style, 0, 0,
                                    0, 0, hwnd(),
                                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(spec.id)),
                                    instance_, nullptr));
    }
    WIN32_CHECK(SetWindowSubclass(Control(IDC_TXT_COMMON), FolderBoxProc, kFolderBoxSubclass,
                                  reinterpret_cast<DWORD_PTR>(this)));
}

// Sizes the window, places the controls and makes the font for a DPI, from
// the layout's twips.
void FrmInit::ApplyDpi(int dpi) {
    LOGFONTW logFont = {};
    logFont.lfHeight = -MulDiv(layout::kFontHundredthsOfPoint, dpi, 7200);
    logFont.lfWeight = layout::kFontWeight;
    logFont.lfCharSet = layout::kFontCharset;
    lstrcpynW(logFont.lfFaceName, Widen(layout::kFontFace).c_str(), LF_FACESIZE);
    UniqueFont font(WIN32_CHECK(CreateFontIndirectW(&logFont)));

    for (const auto& spec : layout::kControls) {
        const layout::TwipRect rect = ClientTwips(spec);
        HWND control = Control(spec.id);
        SetWindowPos(control, nullptr, TwipsToPixels(rect.left, dpi), TwipsToPixels(rect.top, dpi),
                     TwipsToPixels(rect.width, dpi), TwipsToPixels(rect.height, dpi),
                     SWP_NOZORDER | SWP_NOACTIVATE);
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
    }
    font_ = std::move(font);

    const RECT frame = WindowRectForClient(TwipsToPixels(layout::kClientWidth, dpi),
                                           TwipsToPixels(layout::kClientHeight, dpi),
                                           kWindowStyle, kWindowExStyle, dpi);
    SetWindowPos(hwnd(), nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void FrmInit::Form_Load() {
    RemoveSystemMenuItem(hwnd(), kMenuSeparator);
    RemoveSystemMenuItem(hwnd(), kMenuClose);

    const auto loadIcon = [this](int metricX, int metricY) {
        return UniqueIcon(static_cast<HICON>(WIN32_CHECK(LoadImageW(
            instance_, MAKEINTRESOURCEW(IDI_APPLICATION_ICON), IMAGE_ICON,
            GetSystemMetrics(metricX), GetSystemMetrics(metricY), LR_DEFAULTCOLOR))));
    };
    bigIcon_ = loadIcon(SM_CXICON, SM_CYICON);
    smallIcon_ = loadIcon(SM_CXSMICON, SM_CYSMICON);
    SendMessageW(hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon_.get()));
    SendMessageW(hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_.get()));

    if (ActivatePreviousInstance(single_, application_, kAppTitle)) EndProgram(log_, exit_codes::kSuccess);
}

void FrmInit::txtCommon_MouseDown(int button) {
    if (button == 2) ShowInformation(hwnd(), kAppTitle, messages::kRightButtonUnusable);
}

void FrmInit::cmdCommon_Click(int index) {
    if (index == layout::kBrowseIndex) set_RemoteControl();
}

void FrmInit::set_RemoteControl() {
    // Always opens at the dialog's own start, whatever the box holds.
    const std::string folder = BrowseForFolder(hwnd(), "", messages::kBrowseTitle);
    if (!folder.empty()) SetFolderText(folder);
}

void FrmInit::cmdComplete_Click() {
    // The run lets window events through while it waits; a second press
    // meanwhile must not start a second run.
    if (setupRunning_) return;
    const RunInProgress running(setupRunning_, hwnd());
    WindowsSetupPlatform platform;
    const auto failure = RunSetup(platform, {FolderText(), appFolder_, {}}, log_);
    if (!failure) {
        log_.Info(messages::kSetupComplete);
        ShowInformation(hwnd(), kAppTitle, messages::kSetupComplete);
        EndProgram(log_, exit_codes::kSuccess);
    }
    const std::string text = DescribeFailure(*failure);
    if (IsRefusalOfInput(*failure)) {
        log_.Warn(text);
        ShowInformation(hwnd(), kAppTitle, text);
    } else {
        log_.Error(text);
        ShowFailure(hwnd(), kAppTitle, text);
    }
    // Stopped before any change, or at a settings write: the window stays
    // for another try. Later, what earlier steps did stays done, and the
    // program ends.
    if (ChangedNothing(failure->step) || failure->step == SetupStep::WriteSettings) return;
    EndProgram(log_, exit_codes::kWindowRunFailed);
}

}  // namespace selvane
