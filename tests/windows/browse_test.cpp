// Browse and the shell's folder dialog, driven on the real window.
#include <gtest/gtest.h>

#include <shlobj.h>

#include "driver.h"
#include "resources/resource_ids.h"

namespace selvane::testing {
namespace {

// Copies bytes into the program's memory, for messages that carry pointers.
class RemoteBytes {
public:
    RemoteBytes(HANDLE process, const void* bytes, size_t size) : process_(process) {
        address_ = VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
        WriteProcessMemory(process, address_, bytes, size, nullptr);
    }
    ~RemoteBytes() { VirtualFreeEx(process_, address_, 0, MEM_RELEASE); }
    RemoteBytes(const RemoteBytes&) = delete;
    RemoteBytes& operator=(const RemoteBytes&) = delete;
    LPARAM get() const { return reinterpret_cast<LPARAM>(address_); }

private:
    HANDLE process_;
    void* address_ = nullptr;
};

class Browse : public ::testing::Test {
protected:
    void SetUp() override {
        window_ = FindSetupWindow(program_.id());
        ASSERT_NE(window_, nullptr);
    }
    HWND Box() const { return GetDlgItem(window_, IDC_TXT_COMMON); }
    void Type(const wchar_t* text) const { SendMessageW(Box(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)); }
    HWND Open() {
        PostMessageW(window_, WM_COMMAND, MAKEWPARAM(IDC_CMD_COMMON, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(window_, IDC_CMD_COMMON)));
        dialog_ = FindMessageBox(program_.id());
        return dialog_;
    }
    void Select(const std::wstring& path) {
        RemoteBytes remote(program_.handle(), path.c_str(), (path.size() + 1) * sizeof(wchar_t));
        SendMessageW(dialog_, BFFM_SETSELECTIONW, TRUE, remote.get());
    }
    void Press(int button) { PostMessageW(dialog_, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0); }
    // The box's text once the dialog has closed.
    std::wstring BoxAfterDialog() {
        WaitFor([&] { return !IsWindow(dialog_); }, Patience(10s));
        WaitFor([] { return false; }, Patience(300ms));  // the handler has filled the box
        return TextOf(Box());
    }

    ProductFolder folder_{5, L"type2.mdb"};
    RunningProgram program_{folder_.program()};
    HWND window_ = nullptr;
    HWND dialog_ = nullptr;
};

TEST_F(Browse, OpensOwnedCentredWithItsTitleAndCDriveSelected) {
    ASSERT_NE(Open(), nullptr);
    EXPECT_EQ(GetWindow(dialog_, GW_OWNER), window_);
    // Centred on the tests' 1024 x 768 screen: this Wine's dialog is 291 x
    // 342, so its left edge stands at 366.5, which goes to the even 366.
    RECT rect = {};
    GetWindowRect(dialog_, &rect);
    ASSERT_EQ(GetSystemMetrics(SM_CXSCREEN), 1024);
    ASSERT_EQ(rect.right - rect.left, 291);
    ASSERT_EQ(rect.bottom - rect.top, 342);
    EXPECT_EQ(rect.left, 366);
    EXPECT_EQ(rect.top, 213);
    bool titleShown = false;
    for (HWND child = GetWindow(dialog_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        titleShown |= TextOf(child) == L"フォルダを選択してください。";
    }
    EXPECT_TRUE(titleShown);
    Press(IDOK);
    EXPECT_EQ(BoxAfterDialog(), L"C:\\") << "the drive root keeps its single backslash";
}

TEST_F(Browse, AltROpensTheDialog) {
    ASSERT_TRUE(WaitFor([&] { return FocusOf(window_) != nullptr; }));
    PostMessageW(FocusOf(window_), WM_SYSKEYDOWN, 'R', 0x20130001);
    PostMessageW(FocusOf(window_), WM_SYSKEYUP, 'R', static_cast<LPARAM>(0xE0130001));
    dialog_ = FindMessageBox(program_.id());
    ASSERT_NE(dialog_, nullptr);
    EXPECT_EQ(GetWindow(dialog_, GW_OWNER), window_);
    Press(IDCANCEL);
}

TEST_F(Browse, ChosenFolderGetsOneTrailingBackslash) {
    ASSERT_NE(Open(), nullptr);
    Select(L"C:\\Program Files");
    Press(IDOK);
    EXPECT_EQ(BoxAfterDialog(), L"C:\\Program Files\\");
}

TEST_F(Browse, CancelKeepsWhatWasTyped) {
    Type(L"D:\\typed by hand");
    ASSERT_NE(Open(), nullptr);
    Select(L"C:\\Program Files");
    Press(IDCANCEL);
    EXPECT_EQ(BoxAfterDialog(), L"D:\\typed by hand");
}

TEST_F(Browse, OpensAtCDriveWhateverTheBoxHolds) {
    Type(L"C:\\Program Files\\");
    ASSERT_NE(Open(), nullptr);
    Press(IDOK);
    EXPECT_EQ(BoxAfterDialog(), L"C:\\");
}

TEST_F(Browse, VirtualItemLeavesTheBoxUnchanged) {
    Type(L"D:\\typed by hand");
    ASSERT_NE(Open(), nullptr);
    // Control Panel closes the tree (under My Computer): End selects it, as a
    // user would. Any file-system folder chosen instead would change the box.
    HWND tree = FindWindowExW(dialog_, nullptr, L"SysTreeView32", nullptr);
    ASSERT_NE(tree, nullptr);
    PostMessageW(tree, WM_KEYDOWN, VK_END, 0x014F0001);
    PostMessageW(tree, WM_KEYUP, VK_END, static_cast<LPARAM>(0xC14F0001));
    WaitFor([] { return false; }, 500ms);
    Press(IDOK);
    EXPECT_EQ(BoxAfterDialog(), L"D:\\typed by hand");
}

}  // namespace
}  // namespace selvane::testing
