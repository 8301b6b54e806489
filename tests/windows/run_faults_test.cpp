// A started setup run always ends with its outcome shown, whatever the
// administrator or an earlier run left behind.
#include <filesystem>

#include "complete_fixture.h"

namespace selvane::testing {
namespace {

namespace fs = std::filesystem;

TEST_F(Complete, CloseRequestDuringARunWaitsForItsOutcome) {
    Start();
    PressComplete(kKeva);
    // Alt+F4 as the run starts: it reaches the window while the run is going.
    PostMessageW(window_, WM_CLOSE, 0, 0);
    ExpectCompletion();
    WaitFor([] { return false; }, Patience(1s));
    EXPECT_TRUE(IsWindow(lastBox_)) << "the completion message went without being answered";
    ExpectWholeRunDone();
}

TEST_F(Complete, AnswerFileLeftHiddenSystemAndReadOnlyIsReplaced) {
    const std::wstring answer = product_.File(L"yes.txt");
    WriteBytes(answer, "n\r\n");
    ASSERT_TRUE(SetFileAttributesW(answer.c_str(),
                                   FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_READONLY));
    ASSERT_NE(GetFileAttributesW(answer.c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u) << "this file system keeps no hidden bit";
    Start();
    PressComplete(kKeva);
    ExpectCompletion();
    EXPECT_EQ(GetFileAttributesW(answer.c_str()) &
                  (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_READONLY), 0u);
    ExpectWholeRunDone();
}

TEST_F(Complete, FolderWhoseSettingsPathIsTooLongIsRefusedBeforeAnyWrite) {
    // The folder itself fits in 250 characters; its orna_remote.ini does not fit in 259.
    const std::wstring folder = kKeva + L"\\" + std::wstring(250 - kKeva.size() - 1, L'k');
    fs::create_directories(folder);
    Start();
    PressComplete(folder);
    const MessageBoxContent content = Outcome();
    EXPECT_NE(content.text.find(L"は使用できません。"), std::wstring::npos) << content.text;
    EXPECT_NE(content.text.find(folder + L"\\orna_remote.ini"), std::wstring::npos) << content.text;
    EXPECT_NE(content.text.find(L"266 文字です (上限は 259 文字)"), std::wstring::npos) << content.text;
    Dismiss();
    ExpectWindowStays();
    fs::remove_all(folder);
    ExpectNothingWritten();
}

TEST_F(Complete, HiddenAclBatIsStartedLikeAnyOther) {
    ASSERT_TRUE(SetFileAttributesW(product_.File(L"acl.bat").c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
    Start();
    PressComplete(kKeva);
    ExpectCompletion();
    ExpectWholeRunDone();
}

TEST_F(Complete, SecondPressDuringARunStartsNoSecondRun) {
    Start();
    PressComplete(kKeva);
    PostMessageW(window_, WM_COMMAND, MAKEWPARAM(IDC_CMD_COMPLETE, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(window_, IDC_CMD_COMPLETE)));
    ExpectCompletion();
    ExpectWholeRunDone();
    EXPECT_EQ(InstallerRuns(), 1u) << InstallerRecord();
}

// A box of blanks is a folder name like any other: it names a folder "   "
// under the current directory, which no Windows volume can hold.
TEST_F(Complete, BlankFolderBoxIsWrittenAsNamedAndRefusedByWindows) {
    Start();
    PressComplete(L"   ");
    const MessageBoxContent content = Outcome();
    EXPECT_NE(content.text.find(L"設定を書き込めませんでした。"), std::wstring::npos) << content.text;
    EXPECT_NE(content.text.find(L"ファイル:    \\orna_remote.ini"), std::wstring::npos) << content.text;
    Dismiss();
    ExpectWindowStays();
    ExpectNothingWritten();
}

TEST(SecondStart, WhileTheFirstHasOnlyItsHiddenWindowShowsNoStrayWindow) {
    // The first is still at its refusal message: its application window is
    // its only window, and is its own last active popup.
    ProductFolder refused(7, L"type1.mdb");
    RunningProgram first(refused.program());
    HWND message = FindMessageBox(first.id());
    ASSERT_NE(message, nullptr);
    ProductFolder supported(8, L"type2.mdb");
    RunningProgram second(supported.program());
    EXPECT_EQ(second.WaitForExit(), 0u);
    for (HWND window : TopLevelWindows(first.id())) {
        EXPECT_NE(ClassOf(window), L"ThunderRT6Main") << "the first instance's hidden window was shown";
    }
    CloseMessageBox(message);
    EXPECT_EQ(first.WaitForExit(), 0u);
}

TEST(UnexpectedFailure, InAHandlerIsNamedAndEndsTheProgram) {
    ProductFolder folder(9, L"type2.mdb");
    fs::copy_file(WindowsPath(SELVANE_FAILING_PROGRAM), folder.program(), fs::copy_options::overwrite_existing);
    RunningProgram program(folder.program());
    HWND window = FindSetupWindow(program.id());
    ASSERT_NE(window, nullptr);
    PostMessageW(window, WM_COMMAND, MAKEWPARAM(IDC_CMD_COMMON, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(window, IDC_CMD_COMMON)));
    HWND box = FindMessageBox(program.id());
    ASSERT_NE(box, nullptr);
    const MessageBoxContent content = ReadMessageBox(box);
    EXPECT_EQ(content.caption, L"Selvane");
    EXPECT_NE(content.text.find(L"予期しないエラーが発生したため、プログラムを終了します。"), std::wstring::npos);
    EXPECT_NE(content.text.find(L"SHBrowseForFolderW: "), std::wstring::npos) << content.text;
    EXPECT_TRUE(content.errorIcon);
    CloseMessageBox(box);
    EXPECT_EQ(program.WaitForExit(), 1u);
}

}  // namespace
}  // namespace selvane::testing
