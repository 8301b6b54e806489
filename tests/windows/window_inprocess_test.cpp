// What another process cannot read under Wine (the system menu, the font
// object, the icon) is checked on a setup window made in this process.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <thread>
#include <vector>

#include "app/frm_init_win.h"
#include "app/records_win.h"
#include "app/program_names.h"
#include "driver.h"
#include "platform/system_menu_win.h"
#include "resources/resource_ids.h"

namespace selvane {
namespace {

class SetupWindowInProcess : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(form_.Load());
        form_.Show(SW_SHOWNORMAL);
    }
    WindowsRunRecords records_{{"C:\\selvane\\selvane-init.exe", "C:\\selvane", {}}};
    SetupWindowHost host_;
    WindowRun run_{host_, records_};
    SingleInstance single_ = SingleInstance::Claim(kInstanceMutexName).value;
    ApplicationWindow application_ =
        ApplicationWindow::Create(GetModuleHandleW(nullptr), kApplicationWindowClass, kAppTitle).value;
    FrmInit form_{GetModuleHandleW(nullptr), single_, application_, run_};
};

std::vector<UINT> MenuCommands(HMENU menu) {
    std::vector<UINT> commands;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) commands.push_back(GetMenuItemID(menu, i));
    return commands;
}

TEST_F(SetupWindowInProcess, SystemMenuLacksCloseAndTheSeparatorAboveIt) {
    // The platform's own menu for a window of the same kind, less the first
    // separator and Close; whatever else the platform adds stays.
    HWND plain = CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
                                 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
    auto expected = MenuCommands(GetSystemMenu(plain, FALSE));
    DestroyWindow(plain);
    const auto separator = std::find(expected.begin(), expected.end(), 0u);
    ASSERT_NE(separator, expected.end());
    ASSERT_EQ(*(separator + 1), static_cast<UINT>(SC_CLOSE)) << "the separator stands above Close";
    expected.erase(separator, separator + 2);

    EXPECT_EQ(MenuCommands(GetSystemMenu(form_.hwnd(), FALSE)), expected);
}

TEST_F(SetupWindowInProcess, RemovingCloseTwiceOrAnUnknownCodeChangesNothing) {
    HMENU menu = GetSystemMenu(form_.hwnd(), FALSE);
    const auto before = MenuCommands(menu);
    for (std::int16_t code : {0, 7, -1}) RemoveSystemMenuItem(form_.hwnd(), code);
    EXPECT_EQ(MenuCommands(menu), before);
}

// 9.75 points: 13 pixels at 96 dpi, 19.5 rounded to 20 at the 144 dpi a
// test may start this process at.
int ExpectedFontHeight() {
    wchar_t dpi[16] = {};
    return GetEnvironmentVariableW(L"SELVANE_EXPECTED_DPI", dpi, 16) && _wtoi(dpi) == 144 ? -20 : -13;
}

TEST_F(SetupWindowInProcess, EveryControlUsesMsUiGothic975PointShiftJis) {
    for (int id : {IDC_CMD_COMPLETE, IDC_FRA_COMMON, IDC_TXT_COMMON, IDC_CMD_COMMON}) {
        auto font = reinterpret_cast<HFONT>(SendMessageW(GetDlgItem(form_.hwnd(), id), WM_GETFONT, 0, 0));
        ASSERT_NE(font, nullptr) << id;
        LOGFONTW logFont = {};
        ASSERT_NE(GetObjectW(font, sizeof logFont, &logFont), 0);
        EXPECT_STREQ(logFont.lfFaceName, L"MS UI Gothic");
        EXPECT_EQ(logFont.lfHeight, ExpectedFontHeight());
        EXPECT_EQ(logFont.lfWeight, 400);
        EXPECT_EQ(logFont.lfCharSet, SHIFTJIS_CHARSET);
        EXPECT_FALSE(logFont.lfItalic || logFont.lfUnderline || logFont.lfStrikeOut);
    }
}

TEST_F(SetupWindowInProcess, IconComesFromResource101InBothSizes) {
    for (auto [which, metric] : {std::pair{ICON_BIG, SM_CXICON}, std::pair{ICON_SMALL, SM_CXSMICON}}) {
        auto icon = reinterpret_cast<HICON>(SendMessageW(form_.hwnd(), WM_GETICON, which, 0));
        ASSERT_NE(icon, nullptr);
        ICONINFO info = {};
        ASSERT_TRUE(GetIconInfo(icon, &info));
        BITMAP bitmap = {};
        GetObjectW(info.hbmColor, sizeof bitmap, &bitmap);
        EXPECT_EQ(bitmap.bmWidth, GetSystemMetrics(metric));
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
    }
    // Both images are in the resource itself.
    for (int size : {16, 32}) {
        HANDLE image = LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_APPLICATION_ICON),
                                  IMAGE_ICON, size, size, 0);
        ASSERT_NE(image, nullptr) << size;
        DestroyIcon(static_cast<HICON>(image));
    }
}

// A dialog (a message box, the folder dialog) or a popup menu of this process.
int DialogsAndMenusShown() {
    struct Count {
        int shown = 0;
    } count;
    EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
            DWORD process = 0;
            GetWindowThreadProcessId(window, &process);
            const std::wstring kind = testing::ClassOf(window);
            if (process == GetCurrentProcessId() && IsWindowVisible(window) && (kind == L"#32770" || kind == L"#32768")) {
                ++reinterpret_cast<Count*>(data)->shown;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&count));
    return count.shown;
}

// The run's waits let window messages through: while it goes on (here,
// while the empty box's message is up), Browse, Complete and the box's
// right button and menu key open nothing.
TEST_F(SetupWindowInProcess, BrowseCompleteAndTheBoxMenuDoNothingWhileARunGoesOn) {
    HWND box = GetDlgItem(form_.hwnd(), IDC_TXT_COMMON);
    struct Press {
        const char* what;
        HWND to;
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };
    const Press presses[] = {
        {"Browse", form_.hwnd(), WM_COMMAND, MAKEWPARAM(IDC_CMD_COMMON, BN_CLICKED), 0},
        {"Complete", form_.hwnd(), WM_COMMAND, MAKEWPARAM(IDC_CMD_COMPLETE, BN_CLICKED), 0},
        {"the right button", box, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 5)},
        {"the menu key", box, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(box), -1},
    };
    std::vector<std::string> opened;
    std::thread user([&] {
        HWND message = testing::FindMessageBox(GetCurrentProcessId());
        for (const Press& press : presses) {
            PostMessageW(press.to, press.message, press.wParam, press.lParam);
            Sleep(500);
            if (DialogsAndMenusShown() <= 1) continue;
            opened.push_back(press.what);
            // Whatever it opened is closed, so that the run can end.
            keybd_event(VK_ESCAPE, 0, 0, 0);
            keybd_event(VK_ESCAPE, 0, KEYEVENTF_KEYUP, 0);
            Sleep(500);
        }
        testing::CloseMessageBox(message);
    });
    SendMessageW(form_.hwnd(), WM_COMMAND, MAKEWPARAM(IDC_CMD_COMPLETE, BN_CLICKED), 0);
    user.join();
    EXPECT_TRUE(opened.empty()) << "opened mid-run by " << opened.front();
}

// The reason given to Windows is the run's (checked natively): Wine has no
// ShutdownBlockReasonQuery to read it back.
TEST_F(SetupWindowInProcess, EndOfSessionWaitsForARun) {
    EXPECT_EQ(SendMessageW(form_.hwnd(), WM_QUERYENDSESSION, 0, 0), TRUE) << "an idle window let the session end";
    // A run is under way until its message is answered: here the empty
    // folder box's, answered from another thread.
    LRESULT answerDuringRun = TRUE;
    std::thread user([&] {
        HWND box = testing::FindMessageBox(GetCurrentProcessId());
        answerDuringRun = SendMessageW(form_.hwnd(), WM_QUERYENDSESSION, 0, 0);
        testing::CloseMessageBox(box);
    });
    SendMessageW(form_.hwnd(), WM_COMMAND, MAKEWPARAM(IDC_CMD_COMPLETE, BN_CLICKED), 0);
    user.join();
    EXPECT_EQ(answerDuringRun, FALSE);
    EXPECT_EQ(SendMessageW(form_.hwnd(), WM_QUERYENDSESSION, 0, 0), TRUE);
}

}  // namespace
}  // namespace selvane
