// After the settings: the answer file, acl.bat and service\install.exe, and
// the ways that part of the run can stop.
#include <filesystem>
#include <tuple>

#include "complete_fixture.h"

namespace selvane::testing {
namespace {

namespace fs = std::filesystem;

class CompleteInFolderWithBlank : public Complete {
protected:
    CompleteInFolderWithBlank() : Complete(L"C:\\selvane-tests\\my app") {
        // What an unquoted or searched-for command line would run instead.
        fs::copy_file(WindowsPath(SELVANE_INSTALL_STAND_IN), L"C:\\selvane-tests\\my.exe");
        fs::copy_file(WindowsPath(SELVANE_INSTALL_STAND_IN), product_.File(L"install.exe"));
    }
    ~CompleteInFolderWithBlank() override {
        fs::remove(L"C:\\selvane-tests\\my.exe");
        fs::remove(L"C:\\selvane-tests\\install-ran.txt");
    }
};

TEST_F(CompleteInFolderWithBlank, BothProgramsStartAndNoDecoyDoes) {
    Start();
    PressComplete(kKeva);
    ExpectCompletion();
    EXPECT_EQ(AclRecord(), Ansi(product_.path()) + "\r\ny\r\n");
    ASSERT_TRUE(InstallerRan());
    EXPECT_EQ(InstallerDirectory(), product_.File(L"service"));
    EXPECT_FALSE(fs::exists(L"C:\\selvane-tests\\install-ran.txt")) << "C:\\selvane-tests\\my.exe ran";
    EXPECT_FALSE(fs::exists(product_.File(L"install-ran.txt"))) << "the application folder's install.exe ran";
}

TEST_F(Complete, StartedOnAnotherDriveTheInstallerStillGetsTheServiceFolder) {
    Start(L"Z:\\tmp");
    PressComplete(kKeva);
    ExpectCompletion();
    ASSERT_TRUE(InstallerRan());
    EXPECT_EQ(InstallerDirectory(), product_.File(L"service"));
    // acl.bat starts in the directory the program was started in.
    EXPECT_EQ(AclRecord(), "Z:\\tmp\r\ny\r\n");
    Dismiss();
    EXPECT_EQ(program_->WaitForExit(), 0u);
}

// What the run needs beside the program is checked before anything is
// written: a run without it changes nothing and says what is missing; the
// window stays, but pressing Complete again would fail the same way, so it
// gives no such advice and shows the error icon.
class CompleteRefused : public Complete {
protected:
    explicit CompleteRefused(const std::wstring& appFolder = L"C:\\selvane-tests\\p4") : Complete(appFolder) {}
    void ExpectRefusedNaming(const std::wstring& named) {
        Start();
        PressComplete(kKeva);
        const MessageBoxContent content = Outcome();
        EXPECT_NE(content.text.find(L"初期設定を中止しました。"), std::wstring::npos) << content.text;
        EXPECT_NE(content.text.find(named), std::wstring::npos) << content.text;
        EXPECT_NE(content.text.find(L"理由: "), std::wstring::npos) << content.text;
        EXPECT_NE(content.text.find(L"設定は何も変更していません。\nプログラムのフォルダと製品のファイルを確かめてから、"
                                    L"プログラムを起動し直してください。"),
                  std::wstring::npos) << content.text;
        EXPECT_EQ(content.text.find(L"もう一度 [完了]"), std::wstring::npos) << content.text;
        EXPECT_TRUE(content.errorIcon);
        EXPECT_EQ(content.caption, L"Selvane");
        Dismiss();
        ExpectWindowStays();
        ExpectNothingWritten();
    }
};

TEST_F(CompleteRefused, WithoutAclBat) {
    fs::remove(product_.File(L"acl.bat"));
    ExpectRefusedNaming(product_.File(L"acl.bat"));
}

TEST_F(CompleteRefused, WithoutTheServiceFolder) {
    fs::remove_all(product_.File(L"service"));
    ExpectRefusedNaming(product_.File(L"service"));
}

TEST_F(CompleteRefused, WithoutTheInstaller) {
    fs::remove(product_.File(L"service\\install.exe"));
    ExpectRefusedNaming(product_.File(L"service\\install.exe"));
}

// One window, refused while another account could change acl.bat or owns a
// file planted beside it; once that is closed, Complete completes.
TEST_F(Complete, WhatOthersCouldChangeIsRefusedInTheWindow) {
    WriteBytes(product_.File(L"icacls.bat"), "");
    Start();
    for (const auto& [change, path, undo] : {std::tuple{L"chmod o+w", product_.File(L"acl.bat"), L"chmod o-w"},
                                             std::tuple{L"chown 1234", product_.File(L"icacls.bat"), L"chown 0"}}) {
        ASSERT_TRUE(ChangeOnUnixSide(change, path));
        PressComplete(kKeva);
        const MessageBoxContent content = Outcome();
        EXPECT_NE(content.text.find(path + L" を管理者以外のアカウントが変更できないことを、確かめられませんでした。"),
                  std::wstring::npos) << content.text;
        EXPECT_NE(content.text.find(L"直すコマンド: icacls \"" + path + L"\" /"), std::wstring::npos) << content.text;
        EXPECT_NE(content.text.find(L"設定は何も変更していません。"), std::wstring::npos) << content.text;
        EXPECT_EQ(content.text.find(L"もう一度 [完了]"), std::wstring::npos) << content.text;
        EXPECT_TRUE(content.errorIcon);
        Dismiss();
        ExpectWindowStays();
        ExpectNothingWritten();
        ASSERT_TRUE(ChangeOnUnixSide(undo, path));
    }
    PressComplete(kKeva);
    ExpectCompletion();
    ExpectWholeRunDone();
}

// cmd.exe would read the '%' of the batch file's path as a variable.
class CompleteRefusedInPercentFolder : public CompleteRefused {
protected:
    CompleteRefusedInPercentFolder() : CompleteRefused(L"C:\\selvane-tests\\100%") {}
};

TEST_F(CompleteRefusedInPercentFolder, BeforeAnyWrite) { ExpectRefusedNaming(product_.File(L"acl.bat")); }

}  // namespace
}  // namespace selvane::testing
