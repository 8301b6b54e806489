// After the settings: the answer file, acl.bat and service\install.exe, and
// the ways that part of the run can stop.
#include <filesystem>

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

// A failed step ends the program with a message naming it; no completion message.
class CompleteStops : public Complete {
protected:
    void ExpectEndedWith(const std::wstring& named) {
        Start();
        PressComplete(kKeva);
        const MessageBoxContent content = Outcome();
        EXPECT_NE(content.text.find(L"初期設定を中止しました。"), std::wstring::npos) << content.text;
        EXPECT_NE(content.text.find(named), std::wstring::npos) << content.text;
        EXPECT_NE(content.text.find(L"理由: "), std::wstring::npos) << content.text;
        EXPECT_EQ(content.caption, L"Selvane");
        Dismiss();
        EXPECT_EQ(program_->WaitForExit(), 1u);
        // The settings written before stay written.
        EXPECT_EQ(Profile(kKeva + L"\\orna_remote.ini", L"FILE", L"LOGIN"), product_.path());
        EXPECT_EQ(ReadBytes(product_.File(L"yes.txt")), "y\r\n");
    }
};

TEST_F(CompleteStops, WithoutAclBat) {
    fs::remove(product_.File(L"acl.bat"));
    ExpectEndedWith(product_.File(L"acl.bat"));
    EXPECT_FALSE(InstallerRan(1s));
}

TEST_F(CompleteStops, WithoutTheServiceFolderAfterAclBatHasStarted) {
    fs::remove_all(product_.File(L"service"));
    ExpectEndedWith(product_.File(L"service"));
    EXPECT_EQ(AclRecord(), Ansi(product_.path()) + "\r\ny\r\n");
}

TEST_F(CompleteStops, WithoutTheInstaller) {
    fs::remove(product_.File(L"service\\install.exe"));
    ExpectEndedWith(product_.File(L"service\\install.exe"));
    EXPECT_FALSE(InstallerRan(1s));
}

}  // namespace
}  // namespace selvane::testing
