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

}  // namespace
}  // namespace selvane::testing
