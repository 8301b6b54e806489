// Start-up as an administrator meets it: the server-type check and a second start.
#include <gtest/gtest.h>

#include "driver.h"

namespace selvane::testing {
namespace {

TEST(Startup, UnsupportedServerIsRefusedWithoutAWindow) {
    ProductFolder folder(1, L"type1.mdb");
    RunningProgram program(folder.program());
    HWND message = FindMessageBox(program.id());
    ASSERT_NE(message, nullptr);
    const MessageBoxContent content = ReadMessageBox(message);
    EXPECT_EQ(content.caption, L"Selvane");
    EXPECT_EQ(content.text, L"このソフトウェアは既設サーバのみに対応しています。");
    EXPECT_EQ(content.buttons, std::vector<std::wstring>{L"OK"});
    EXPECT_TRUE(content.informationIcon);
    EXPECT_EQ(FindSetupWindow(program.id(), 0ms), nullptr);

    CloseMessageBox(message);
    EXPECT_EQ(program.WaitForExit(), 0u);
}

class ReadableOrNot : public ::testing::TestWithParam<const wchar_t*> {};

// Type 2, and every database that cannot be read, open the window with no message.
TEST_P(ReadableOrNot, OpensTheSetupWindowWithoutAMessage) {
    ProductFolder folder(2, GetParam());
    RunningProgram program(folder.program());
    EXPECT_NE(FindSetupWindow(program.id()), nullptr);
    EXPECT_EQ(FindMessageBox(program.id(), 1s), nullptr);
}

INSTANTIATE_TEST_SUITE_P(Databases, ReadableOrNot,
                         ::testing::Values(L"type2.mdb", L"", L"not-a-database.mdb",
                                           L"empty-file.mdb", L"null-type.mdb",
                                           L"no-type-table.mdb"),
                         [](const auto& info) {
                             const std::wstring name = info.param;
                             std::string id = name.empty() ? "missing" : "";
                             for (wchar_t c : name) id += std::isalnum(c) ? static_cast<char>(c) : '_';
                             return id;
                         });

TEST(Startup, SecondStartGivesWayToTheFirst) {
    ProductFolder folder(3, L"type2.mdb");
    RunningProgram first(folder.program());
    HWND window = MinimisedSetupWindow(first.id());
    ASSERT_NE(window, nullptr);

    RunningProgram second(folder.program());
    bool secondShowedAWindow = false;
    WaitFor([&] {
        secondShowedAWindow |= !TopLevelWindows(second.id()).empty();
        return !second.Running();
    });
    EXPECT_EQ(second.WaitForExit(0ms), 0u);
    EXPECT_FALSE(secondShowedAWindow);
    EXPECT_TRUE(WaitFor([&] { return !IsIconic(window); }, 5s)) << "the first window stays minimised";
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_TRUE(first.Running());
}

TEST(Startup, TwoStartsAtTheSameInstantGiveOneWindow) {
    ProductFolder folder(10, L"type2.mdb");
    RunningProgram first(folder.program());
    RunningProgram second(folder.program());
    ASSERT_TRUE(WaitFor([&] { return !first.Running() || !second.Running(); }));
    RunningProgram& stays = first.Running() ? first : second;
    RunningProgram& gives = first.Running() ? second : first;
    EXPECT_EQ(gives.WaitForExit(0ms), 0u);
    EXPECT_TRUE(TopLevelWindows(gives.id()).empty());
    EXPECT_NE(FindSetupWindow(stays.id()), nullptr);
}

// Event Viewer makes each event's text from the program's message table, in
// whatever language it asks: every identifier the program reports has one.
TEST(EventTexts, EveryIdentifierFormatsToItsText) {
    const HMODULE program = LoadLibraryExW(ProgramUnderTest().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(program, nullptr);
    const DWORD_PTR strings[] = {reinterpret_cast<DWORD_PTR>(L"結果"), reinterpret_cast<DWORD_PTR>(L"1603"),
                                 reinterpret_cast<DWORD_PTR>(L"D:\\pkg"), reinterpret_cast<DWORD_PTR>(L"C:\\app"),
                                 reinterpret_cast<DWORD_PTR>(L"1.0.0"), reinterpret_cast<DWORD_PTR>(L"C:\\app\\x.log")};
    const std::pair<DWORD, std::wstring> headlines[] = {{1000, L"Selvane 初期設定: 完了"},
                                                       {1001, L"Selvane 初期設定: 完了 (再起動が必要)"},
                                                       {1002, L"Selvane 初期設定: 失敗"},
                                                       {1003, L"Selvane 初期設定: 開始前に中止"}};
    for (const auto& [id, headline] : headlines) {
        wchar_t text[512] = {};
        const DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_HMODULE | FORMAT_MESSAGE_ARGUMENT_ARRAY, program, id, 0,
                                            text, 512, reinterpret_cast<va_list*>(const_cast<DWORD_PTR*>(strings)));
        EXPECT_EQ(std::wstring(text, length), headline + L"\r\n結果\r\n終了コード: 1603\r\nKEVA のフォルダ: D:\\pkg\r\n"
                                                         L"アプリケーションフォルダ: C:\\app\r\nバージョン: 1.0.0\r\n"
                                                         L"ログ: C:\\app\\x.log")
            << id;
    }
    FreeLibrary(program);
}

}  // namespace
}  // namespace selvane::testing
