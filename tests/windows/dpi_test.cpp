// At 144 dpi the window, its controls and its font are the layout's twips
// at 10 twips a pixel (1.5 times the 96-dpi pixels).
#include <gtest/gtest.h>

#include "driver.h"
#include "resources/resource_ids.h"

namespace selvane::testing {
namespace {

// Wine reads the DPI from the registry when a process starts.
class At144Dpi : public ::testing::Test {
protected:
    At144Dpi() { SetLogPixels(144); }
    ~At144Dpi() override { SetLogPixels(96); }
    static void SetLogPixels(DWORD dpi) {
        for (auto [root, path] : {std::pair{HKEY_CURRENT_USER, L"Control Panel\\Desktop"},
                                  std::pair{HKEY_CURRENT_CONFIG, L"Software\\Fonts"}}) {
            HKEY key = nullptr;
            RegCreateKeyExW(root, path, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr);
            RegSetValueExW(key, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi), sizeof dpi);
            RegCloseKey(key);
        }
    }
};

TEST_F(At144Dpi, ClientAreaAndControlsScale) {
    ProductFolder folder(7, L"type2.mdb");
    RunningProgram program(folder.program());
    HWND window = FindSetupWindow(program.id());
    ASSERT_NE(window, nullptr);
    RECT client = {};
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, 681);   // 6810 twips
    EXPECT_EQ(client.bottom, 149);  // 1485 twips: 148.5 pixels, rounded up

    struct Expected {
        int id;
        int parentId;
        RECT rect;  // left, top, width, height in pixels: 315 twips high make 31.5, rounded up
    };
    const Expected expected[] = {
        {IDC_CMD_COMMON, IDC_FRA_COMMON, {549, 30, 90, 32}},
        {IDC_CMD_COMPLETE, 0, {540, 105, 132, 32}},
        {IDC_FRA_COMMON, 0, {12, 12, 657, 81}},
        {IDC_TXT_COMMON, IDC_FRA_COMMON, {18, 30, 531, 32}},
    };
    for (const auto& control : expected) {
        const RECT rect = RectIn(GetDlgItem(window, control.id), control.parentId ? GetDlgItem(window, control.parentId) : window);
        EXPECT_EQ(rect.left, control.rect.left) << control.id;
        EXPECT_EQ(rect.top, control.rect.top) << control.id;
        EXPECT_EQ(rect.right - rect.left, control.rect.right) << control.id;
        EXPECT_EQ(rect.bottom - rect.top, control.rect.bottom) << control.id;
    }
}

TEST_F(At144Dpi, FontScales) {
    // The in-process font check, in a process started at 144 dpi.
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    SetEnvironmentVariableW(L"SELVANE_EXPECTED_DPI", L"144");
    RunningProgram child(std::wstring(self), L"", L"--gtest_filter=SetupWindowInProcess.EveryControlUsesMsUiGothic*");
    SetEnvironmentVariableW(L"SELVANE_EXPECTED_DPI", nullptr);
    EXPECT_EQ(child.WaitForExit(60s), 0u);
}

}  // namespace
}  // namespace selvane::testing
