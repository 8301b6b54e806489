// At 144 dpi the window, its controls and its font are the layout's twips
// at 10 twips a pixel (1.5 times the 96-dpi pixels).
#include <gtest/gtest.h>

#include "driver.h"
#include "resources/layout.h"

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

int At144(int twips) { return MulDiv(twips, 144, 1440); }

TEST_F(At144Dpi, ClientAreaAndControlsScale) {
    ProductFolder folder(7, L"type2.mdb");
    RunningProgram program(folder.program());
    HWND window = FindSetupWindow(program.id());
    ASSERT_NE(window, nullptr);
    RECT client = {};
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, At144(layout::kClientWidth));
    EXPECT_EQ(client.bottom, At144(layout::kClientHeight));
    EXPECT_EQ(client.right, 681);  // 454 * 1.5

    for (const auto& control : layout::kControls) {
        HWND child = GetDlgItem(window, control.id);
        const RECT rect = RectIn(child, control.parentId ? GetDlgItem(window, control.parentId) : window);
        EXPECT_EQ(rect.left, At144(control.rect.left)) << control.id;
        EXPECT_EQ(rect.top, At144(control.rect.top)) << control.id;
        EXPECT_EQ(rect.right - rect.left, At144(control.rect.width)) << control.id;
        EXPECT_EQ(rect.bottom - rect.top, At144(control.rect.height)) << control.id;
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
