// The setup window as a user meets it, driven from outside the program.
#include <gtest/gtest.h>

#include "driver.h"
#include "resources/resource_ids.h"

namespace selvane::testing {
namespace {

class SetupWindow : public ::testing::Test {
protected:
    void SetUp() override {
        window_ = FindSetupWindow(program_.id());
        ASSERT_NE(window_, nullptr) << "the setup window did not appear";
    }
    HWND Control(int id) const { return GetDlgItem(window_, id); }
    // Once the window has handled all that was posted to it so far: a Tab
    // posted after it moves the focus from one control to the next (a
    // message box in between would hold the focus).
    bool HandledSoFar(int from, int to) const {
        PostMessageW(Control(from), WM_KEYDOWN, VK_TAB, 0x000F0001);
        PostMessageW(Control(from), WM_KEYUP, VK_TAB, static_cast<LPARAM>(0xC00F0001));
        return WaitFor([&] { return FocusOf(window_) == Control(to); }, Patience(5s));
    }
    void PressRightButtonOver(HWND window) const {
        PostMessageW(window, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 5));
        PostMessageW(window, WM_RBUTTONUP, 0, MAKELPARAM(5, 5));
    }

    ProductFolder folder_{1, L"type2.mdb"};
    RunningProgram program_{folder_.program()};
    HWND window_ = nullptr;
};

TEST_F(SetupWindow, HasItsCaptionClientSizeAndControls) {
    EXPECT_EQ(TextOf(window_), L"インストールフォルダの設定");
    RECT client = {};
    GetClientRect(window_, &client);
    EXPECT_EQ(client.right, 454);
    EXPECT_EQ(client.bottom, 99);

    struct Expected {
        int id;
        const wchar_t* text;
        RECT rect;  // left, top, right, bottom in pixels
        bool inFrame;
    };
    const Expected expected[] = {
        {IDC_CMD_COMPLETE, L"完了", {360, 70, 448, 91}, false},
        {IDC_FRA_COMMON, L"KEVAのインストールフォルダ", {8, 8, 446, 62}, false},
        {IDC_TXT_COMMON, L"", {12, 20, 366, 41}, true},
        {IDC_CMD_COMMON, L"参照(&R)", {366, 20, 426, 41}, true},
    };
    for (const auto& control : expected) {
        HWND hwnd = Control(control.id);
        ASSERT_NE(hwnd, nullptr) << control.id;
        EXPECT_TRUE(IsWindowVisible(hwnd) && IsWindowEnabled(hwnd)) << control.id;
        EXPECT_EQ(TextOf(hwnd), control.text) << control.id;
        const RECT rect = RectIn(hwnd, control.inFrame ? Control(IDC_FRA_COMMON) : window_);
        EXPECT_EQ(rect.left, control.rect.left) << control.id;
        EXPECT_EQ(rect.top, control.rect.top) << control.id;
        EXPECT_EQ(rect.right, control.rect.right) << control.id;
        EXPECT_EQ(rect.bottom, control.rect.bottom) << control.id;
    }
    EXPECT_EQ(ClassOf(Control(IDC_TXT_COMMON)), L"Edit");
    EXPECT_EQ(GetWindowLongW(Control(IDC_TXT_COMMON), GWL_STYLE) & ES_MULTILINE, 0);
    // Neither button is the default button.
    for (int id : {IDC_CMD_COMMON, IDC_CMD_COMPLETE}) {
        EXPECT_EQ(GetWindowLongW(Control(id), GWL_STYLE) & BS_DEFPUSHBUTTON, 0) << id;
    }
}

TEST_F(SetupWindow, FocusStartsOnBrowseAndTabGoesCompleteFolderBoxBrowse) {
    ASSERT_TRUE(WaitFor([&] { return FocusOf(window_) == Control(IDC_CMD_COMMON); }));
    for (int next : {IDC_CMD_COMPLETE, IDC_TXT_COMMON, IDC_CMD_COMMON}) {
        PostMessageW(FocusOf(window_), WM_KEYDOWN, VK_TAB, 0x000F0001);
        PostMessageW(FocusOf(window_), WM_KEYUP, VK_TAB, static_cast<LPARAM>(0xC00F0001));
        EXPECT_TRUE(WaitFor([&] { return FocusOf(window_) == Control(next); }, 5s))
            << "Tab did not reach control " << next;
    }
}

TEST_F(SetupWindow, RightButtonOverTheFolderBoxIsRefusedWithAMessage) {
    HWND box = Control(IDC_TXT_COMMON);
    SendMessageW(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"D:\\pkg"));
    for (int press = 0; press < 2; ++press) {
        PressRightButtonOver(box);
        HWND message = FindMessageBox(program_.id());
        ASSERT_NE(message, nullptr) << "press " << press;
        const MessageBoxContent content = ReadMessageBox(message);
        EXPECT_EQ(content.caption, L"Selvane");
        EXPECT_EQ(content.text, L"マウスの右ボタンは利用できません。");
        EXPECT_EQ(content.buttons, std::vector<std::wstring>{L"OK"});
        EXPECT_TRUE(content.informationIcon);
        CloseMessageBox(message);
        ASSERT_TRUE(WaitFor([&] { return !IsWindow(message); }, 5s));
    }
    EXPECT_EQ(TextOf(box), L"D:\\pkg");
    EXPECT_TRUE(HandledSoFar(IDC_CMD_COMMON, IDC_CMD_COMPLETE));
    EXPECT_EQ(FindMessageBox(program_.id(), 0ms), nullptr) << "one message per press";
}

TEST_F(SetupWindow, OtherButtonsAndOtherControlsShowNothing) {
    HWND box = Control(IDC_TXT_COMMON);
    PostMessageW(box, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    PostMessageW(box, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    PostMessageW(box, WM_MBUTTONDOWN, MK_MBUTTON, MAKELPARAM(5, 5));
    PostMessageW(box, WM_MBUTTONUP, 0, MAKELPARAM(5, 5));
    for (int id : {IDC_CMD_COMMON, IDC_CMD_COMPLETE, IDC_FRA_COMMON}) PressRightButtonOver(Control(id));
    PressRightButtonOver(window_);
    // The left button put the focus in the folder box; Tab goes on to Browse.
    EXPECT_TRUE(HandledSoFar(IDC_TXT_COMMON, IDC_CMD_COMMON));
    EXPECT_EQ(FindMessageBox(program_.id(), 0ms), nullptr);
    EXPECT_TRUE(program_.Running());
}

}  // namespace
}  // namespace selvane::testing
