// DLLs planted in the product's folder under the names of DLLs the program
// uses must never be loaded.
#include <gtest/gtest.h>

#include <filesystem>

#include "driver.h"

namespace selvane::testing {
namespace {

namespace fs = std::filesystem;

class DllPlanting : public ::testing::Test {
protected:
    // As on Windows, a DLL that the search finds is used rather than Wine's own.
    DllPlanting() {
        HKEY key = nullptr;
        RegCreateKeyExW(HKEY_CURRENT_USER, kOverrides, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr);
        for (const wchar_t* dll : {L"odbc32", L"comctl32"}) {
            RegSetValueExW(key, dll, 0, REG_SZ, reinterpret_cast<const BYTE*>(L"native,builtin"),
                           sizeof L"native,builtin");
        }
        RegCloseKey(key);
    }
    ~DllPlanting() override { RegDeleteTreeW(HKEY_CURRENT_USER, kOverrides); }
    static constexpr wchar_t kOverrides[] = L"Software\\Wine\\AppDefaults\\selvane-init.exe\\DllOverrides";

    // Starts a program in a product folder holding planted DLLs; true when
    // one of them was loaded.
    bool PlantedDllLoaded(const std::wstring& program) {
        ProductFolder folder(6, L"type2.mdb");
        fs::copy_file(program, folder.program(), fs::copy_options::overwrite_existing);
        for (const wchar_t* name : {L"odbc32.dll", L"comctl32.dll"}) {
            fs::copy_file(WindowsPath(SELVANE_PLANTED_DLL), folder.File(name));
        }
        RunningProgram running(folder.program());
        const auto loaded = [&] {
            return fs::exists(folder.File(L"odbc32.dll.loaded")) || fs::exists(folder.File(L"comctl32.dll.loaded"));
        };
        // The hardened program gets as far as its window, having read the
        // database: one that ended before that loaded nothing, and proved nothing.
        bool windowShown = false;
        WaitFor([&] { return loaded() || (windowShown = FindSetupWindow(running.id(), 0ms) != nullptr); });
        EXPECT_TRUE(loaded() || windowShown) << "the program ended before it could load anything";
        return loaded();
    }
};

TEST_F(DllPlanting, TheTestCatchesAProgramWithoutHardening) {
    EXPECT_TRUE(PlantedDllLoaded(WindowsPath(SELVANE_UNHARDENED_PROGRAM)));
}

TEST_F(DllPlanting, TheProgramLoadsNoDllFromItsFolder) {
    EXPECT_FALSE(PlantedDllLoaded(ProgramUnderTest()));
}

}  // namespace
}  // namespace selvane::testing
