// Complete writes the settings: orna_remote.ini and the ORNA section of win.ini.
#include <filesystem>

#include "complete_fixture.h"

namespace selvane::testing {
namespace {

namespace fs = std::filesystem;

TEST_F(Complete, EmptyFolderBoxIsRefusedAndNothingIsWritten) {
    Start();
    PressComplete(L"");
    const MessageBoxContent content = Outcome();
    EXPECT_EQ(content.text, L"KEVAのインストールフォルダを選択してください。");
    EXPECT_EQ(content.caption, L"Selvane");
    EXPECT_EQ(content.buttons, std::vector<std::wstring>{L"OK"});
    EXPECT_TRUE(content.informationIcon);
    Dismiss();
    ASSERT_TRUE(WaitFor([&] { return FindMessageBox(program_->id(), 0ms) == nullptr; }, 5s));
    EXPECT_TRUE(IsWindowVisible(window_));
    EXPECT_FALSE(fs::exists(product_.File(L"yes.txt")));
    EXPECT_TRUE(fs::is_empty(kKeva));
}

class CompleteWithFolder : public Complete, public ::testing::WithParamInterface<const wchar_t*> {};

TEST_P(CompleteWithFolder, WritesBothFilesRunsBothProgramsAndEnds) {
    WriteBytes(product_.File(L"yes.txt"), "an older answer file\r\nwith two lines\r\n");
    Start();
    PressComplete(GetParam());
    ExpectCompletion();
    ExpectWholeRunDone();
}

INSTANTIATE_TEST_SUITE_P(TrailingBackslashOrNot, CompleteWithFolder,
                         ::testing::Values(L"C:\\selvane-tests\\keva\\", L"C:\\selvane-tests\\keva"));

TEST_F(Complete, FolderBoxFormsGiveTheirPaths) {
    struct Case {
        std::wstring box, settingsFile, cgi;
    };
    const Case cases[] = {
        {L"C:\\", L"C:\\orna_remote.ini", L"C:"},
        {kKeva + L"\\\\", kKeva + L"\\orna_remote.ini", kKeva + L"\\"},
        // A lone backslash names the root of the current drive (the product's, C:).
        {L"\\", L"C:\\orna_remote.ini", L""},
    };
    for (const auto& c : cases) {
        DeleteFileW(c.settingsFile.c_str());
        Start();
        PressComplete(c.box);
        ExpectCompletion();
        Dismiss();
        EXPECT_EQ(program_->WaitForExit(), 0u);
        EXPECT_EQ(Profile(c.settingsFile, L"FILE", L"LOGIN"), product_.path()) << c.box;
        EXPECT_EQ(Profile(WinIni(), L"ORNA", L"CGI"), c.cgi) << c.box;
        DeleteFileW(c.settingsFile.c_str());
    }
}

TEST_F(Complete, RunningAgainReplacesTheValuesAndKeepsEverythingElse) {
    WriteBytes(kKeva + L"\\orna_remote.ini",
               "[FILE]\r\nLOGIN=old\r\nKEEP=file-value\r\n[OTHER]\r\nx=1\r\n[SERVICE]\r\nOS=1\r\nMINE=2\r\n");
    WritePrivateProfileStringW(L"ORNA", L"BASIC", L"old", WinIni().c_str());
    WritePrivateProfileStringW(L"ORNA", L"KEEP", L"win-value", WinIni().c_str());
    WritePrivateProfileStringW(L"SELVANE-TEST", L"x", L"y", WinIni().c_str());
    WritePrivateProfileStringW(nullptr, nullptr, nullptr, WinIni().c_str());
    Start();
    PressComplete(kKeva);
    ExpectCompletion();
    Dismiss();
    ASSERT_EQ(program_->WaitForExit(), 0u);

    const std::wstring settings = kKeva + L"\\orna_remote.ini";
    EXPECT_EQ(Profile(settings, L"FILE", L"LOGIN"), product_.path());
    EXPECT_EQ(Profile(settings, L"FILE", L"KEEP"), L"file-value");
    EXPECT_EQ(Profile(settings, L"OTHER", L"x"), L"1");
    EXPECT_EQ(Profile(settings, L"SERVICE", L"OS"), L"0");
    EXPECT_EQ(Profile(settings, L"SERVICE", L"MINE"), L"2");
    EXPECT_EQ(Profile(WinIni(), L"ORNA", L"BASIC"), product_.path());
    EXPECT_EQ(Profile(WinIni(), L"ORNA", L"KEEP"), L"win-value");
    EXPECT_EQ(Profile(WinIni(), L"SELVANE-TEST", L"x"), L"y");
}

class CompleteInJapaneseFolder : public Complete {
protected:
    CompleteInJapaneseFolder() : Complete(L"C:\\selvane-tests\\製品 フォルダ") {}
};

TEST_F(CompleteInJapaneseFolder, ApplicationFolderIsWrittenInCodePage932) {
    Start();
    PressComplete(kKeva);
    ExpectCompletion();
    const std::string expected = "LOGIN=C:\\selvane-tests\\\x90\xbb\x95\x69 \x83\x74\x83\x48\x83\x8b\x83\x5f\r\n";
    EXPECT_NE(ReadBytes(kKeva + L"\\orna_remote.ini").find(expected), std::string::npos);
    EXPECT_EQ(ReadBytes(kKeva + L"\\orna_remote.ini"), ExpectedSettingsFile(product_.path()));
    EXPECT_TRUE(InstallerRan()) << "the blank in the folder does not stop the installer";
    EXPECT_EQ(AclRecord(), Ansi(product_.path()) + "\r\ny\r\n");
}

// A write that fails stops the run with a message naming the file; the
// window stays. Another folder in the box may mend it (then the message
// advises a retry, with the information icon), or it may not.
constexpr wchar_t kRetry[] = L"フォルダを確かめてから、もう一度 [完了] を押してください。";
constexpr wchar_t kCloseHolder[] =
    L"ファイルを使用しているプログラム (バックアップやウイルス対策など) を閉じてから、もう一度 [完了] を押してください。";

class CompleteFails : public Complete {
protected:
    void ExpectStoppedAt(const std::wstring& what, const std::wstring& state, bool folderBoxMends) {
        const MessageBoxContent content = Outcome();
        EXPECT_NE(content.text.find(what), std::wstring::npos) << content.text;
        EXPECT_NE(content.text.find(state), std::wstring::npos) << content.text;
        EXPECT_EQ(content.text.find(kRetry) != std::wstring::npos, folderBoxMends) << content.text;
        EXPECT_EQ(content.informationIcon, folderBoxMends);
        EXPECT_EQ(content.errorIcon, !folderBoxMends);
        EXPECT_EQ(content.caption, L"Selvane");
        Dismiss();
        ASSERT_TRUE(WaitFor([&] { return FindMessageBox(program_->id(), 0ms) == nullptr; }, 5s));
        EXPECT_TRUE(IsWindowVisible(window_));
        EXPECT_TRUE(program_->Running());
        EXPECT_FALSE(fs::exists(product_.File(L"yes.txt")));
        EXPECT_FALSE(fs::exists(product_.File(L"acl-ran.txt")));
    }
};

TEST_F(CompleteFails, WhenTheFolderDoesNotExist) {
    Start();
    PressComplete(L"C:\\selvane-tests\\nowhere");
    ExpectStoppedAt(L"設定を書き込めませんでした。\nファイル: C:\\selvane-tests\\nowhere\\orna_remote.ini",
                    L"設定は何も変更していません。", true);
}

// Another folder would not help where another program holds the file, with
// read sharing (it can be read, not written) or without (not even read).
TEST_F(CompleteFails, WhenAnotherProgramHoldsTheSettingsFile) {
    const std::wstring settings = kKeva + L"\\orna_remote.ini";
    WriteBytes(settings, "[FILE]\r\nLOGIN=C:\\old\r\n");
    Start();
    for (const DWORD share : {DWORD{FILE_SHARE_READ}, DWORD{0}}) {
        const HeldOpen holder(settings, share);
        PressComplete(kKeva);
        ExpectStoppedAt(settings, kCloseHolder, false);
    }
    EXPECT_EQ(ReadBytes(settings), "[FILE]\r\nLOGIN=C:\\old\r\n");
}

TEST_F(CompleteFails, WhenAFolderStandsWhereTheSettingsFileGoes) {
    fs::create_directories(kKeva + L"\\orna_remote.ini");
    Start();
    PressComplete(kKeva);
    ExpectStoppedAt(kKeva + L"\\orna_remote.ini を読み取れませんでした。\n理由: ファイルではなくフォルダです",
                    L"設定は何も変更していません。", true);
}

// As when a backup agent or a scanner reads win.ini and lets others only
// read: the settings file, as an administrator left it, gets its bytes
// back, and once the scanner lets go a second Complete completes.
TEST_F(CompleteFails, WhenWinIniCannotBeWritten) {
    const std::string handEdited = "; by hand\n[FILE]\nLOGIN = \"C:\\old path\"  \nDB\n[MINE]\nX=y";
    WriteBytes(kKeva + L"\\orna_remote.ini", handEdited);
    {
        const HeldOpen scanner(WinIni(), FILE_SHARE_READ);
        Start();
        PressComplete(kKeva);
        ExpectStoppedAt(L"設定を書き込めませんでした。\nファイル: " + WinIni(),
                        std::wstring(L"変更した設定は元に戻しました。\n") + kCloseHolder, false);
        EXPECT_EQ(ReadBytes(kKeva + L"\\orna_remote.ini"), handEdited) << "the settings written before were not put back";
    }
    EXPECT_EQ(ReadBytes(WinIni()), winIniBefore_);
    fs::remove(kKeva + L"\\orna_remote.ini");
    PressComplete(kKeva);
    ExpectCompletion();
    ExpectWholeRunDone();
}

TEST_F(Complete, TextOutsideTheCodePageIsRefusedBeforeAnyWrite) {
    Start();
    PressComplete(kKeva + L"\\café");
    const MessageBoxContent content = Outcome();
    EXPECT_NE(content.text.find(L"文字コード"), std::wstring::npos) << content.text;
    EXPECT_NE(content.text.find(L"café"), std::wstring::npos) << content.text;
    Dismiss();
    ASSERT_TRUE(WaitFor([&] { return FindMessageBox(program_->id(), 0ms) == nullptr; }, 5s));
    EXPECT_TRUE(program_->Running());
    EXPECT_TRUE(fs::is_empty(kKeva));
}

}  // namespace
}  // namespace selvane::testing

namespace selvane::testing {
namespace {

// Odd but possible texts in the box: each is written as the rules say, or
// refused with its reason; never a crash, never a write somewhere else.
TEST_F(Complete, OddFolderBoxTextsHaveTheirOwnOutcomes) {
    const std::wstring odd = L"C:\\selvane-tests\\keva\\a=b;c";
    fs::create_directories(odd);
    struct Case {
        std::wstring box;
        const wchar_t* outcome;  // what the message says
    };
    const Case cases[] = {
        // Its orna_remote.ini cannot even be read: nothing is written.
        {L"\\\\no-such-server\\share\\keva", L"を読み取れませんでした。"},
        {kKeva + L"\\" + std::wstring(300, L'x'), L"は使用できません。\n理由: 338 文字です (上限は 259 文字)"},
        {odd, L"初期設定が完了しました。"},
    };
    for (const auto& c : cases) {
        Start();
        PressComplete(c.box);
        const MessageBoxContent content = Outcome();
        EXPECT_NE(content.text.find(c.outcome), std::wstring::npos) << content.text;
        Dismiss();
        if (c.outcome == cases[2].outcome) {
            EXPECT_EQ(program_->WaitForExit(), 0u);
            EXPECT_EQ(Profile(WinIni(), L"ORNA", L"CGI"), c.box);
            EXPECT_EQ(Profile(c.box + L"\\orna_remote.ini", L"FILE", L"DB"), product_.path());
        } else {
            ExpectWindowStays();
            EXPECT_EQ(ReadBytes(WinIni()), winIniBefore_);
            TerminateProcess(program_->handle(), 0);
            program_->WaitForExit();
        }
    }
}

}  // namespace
}  // namespace selvane::testing
