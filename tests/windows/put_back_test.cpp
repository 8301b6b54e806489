// A run that fails after its first write puts both settings files back; one
// that can see a fault before it writes stops there.
#include <filesystem>

#include "complete_fixture.h"
#include "platform/wide_text_win.h"

namespace selvane::testing {
namespace {

namespace fs = std::filesystem;

const std::wstring kSettings = kKeva + L"\\orna_remote.ini";

TEST_F(Complete, WinIniHeldByAReaderPutsTheSettingsBackAndASecondTryCompletes) {
    {
        const HeldOpen scanner(WinIni(), FILE_SHARE_READ);
        Start();
        PressComplete(kKeva);
        const MessageBoxContent content = Outcome();
        EXPECT_NE(content.text.find(WinIni()), std::wstring::npos) << content.text;
        EXPECT_NE(content.text.find(L"変更した設定は元に戻しました。"), std::wstring::npos) << content.text;
        Dismiss();
        ExpectWindowStays();
        EXPECT_FALSE(fs::exists(kSettings)) << "written before win.ini refused, and left";
        EXPECT_EQ(ReadBytes(WinIni()), winIniBefore_);
    }
    PressComplete(kKeva);
    ExpectCompletion();
    ExpectWholeRunDone();
}

class SilentPutBack : public Complete {
protected:
    DWORD Run(const std::wstring& arguments = L"/VERYSILENT /DIR=" + kKeva) {
        RunningProgram program(product_.program(), product_.path(), arguments);
        return program.WaitForExit(Patience(60s)).value_or(~0u);
    }
    std::string Log() const { return ReadBytes(product_.File(L"selvane-init.log")); }
    // orna_remote.ini with keys and sections of its own, in the profile functions' form.
    const std::string own_ = "[FILE]\r\nLOGIN=C:\\old\r\nOWN=1\r\n[MINE]\r\nX=y\r\n";
};

TEST_F(SilentPutBack, WinIniHeldLeavesTheSettingsFileAsItWasAndTheLogSaysWhatItReplaced) {
    WriteBytes(kSettings, own_);
    for (const DWORD share : {DWORD{FILE_SHARE_READ}, DWORD{0}}) {
        {
            const HeldOpen holder(WinIni(), share);
            EXPECT_EQ(Run(), 1603u) << share;
        }
        EXPECT_EQ(ReadBytes(kSettings), own_) << share;
        EXPECT_EQ(ReadBytes(WinIni()), winIniBefore_) << share;
    }
    const std::string log = Log();
    EXPECT_NE(log.find("[FILE] LOGIN=" + Ansi(product_.path()) + " (変更前: \"C:\\old\"): 完了"), std::string::npos) << log;
    EXPECT_NE(log.find("INFO 元に戻す " + Ansi(kSettings) + " [FILE] LOGIN=C:\\old: 完了"), std::string::npos) << log;
    EXPECT_NE(log.find("INFO 削除 " + Ansi(kSettings) + " [SERVICE]: 完了"), std::string::npos) << log;
    // Held without sharing, win.ini cannot even be read: nothing is written.
    EXPECT_NE(log.find("書き込む前に " + Ansi(WinIni()) + " を読み取れませんでした。"), std::string::npos) << log;
}

TEST_F(SilentPutBack, AnswerFileHeldAfterTheTwelveWritesPutsBothFilesBack) {
    WriteBytes(product_.File(L"yes.txt"), "y\r\n");
    {
        const HeldOpen scanner(product_.File(L"yes.txt"), FILE_SHARE_READ);
        EXPECT_EQ(Run(), 1603u);
    }
    EXPECT_FALSE(fs::exists(kSettings));
    EXPECT_EQ(ReadBytes(WinIni()), winIniBefore_);
    EXPECT_FALSE(fs::exists(product_.File(L"acl-ran.txt")));
    EXPECT_NE(Log().find("変更した設定は元に戻しました。"), std::string::npos) << Log();
}

TEST_F(SilentPutBack, ALogThatIsOneOfTheRunsFilesIsRefusedUntouched) {
    for (const std::wstring& file : {WinIni(), kSettings, product_.File(L"yes.txt"), product_.File(L"acl.bat"),
                                     product_.File(L"service\\install.exe"), product_.program(),
                                     product_.File(L"ORNA.mdb")}) {
        WriteBytes(kSettings, own_);
        WriteBytes(product_.File(L"yes.txt"), "y\r\n");
        const std::string before = ReadBytes(file);
        EXPECT_EQ(Run(L"/VERYSILENT /DIR=" + kKeva + L" \"/LOG=" + file + L"\""), 1639u) << Narrow(file);
        EXPECT_EQ(ReadBytes(file), before) << Narrow(file);
    }
    EXPECT_FALSE(fs::exists(product_.File(L"acl-ran.txt")));
}

TEST_F(SilentPutBack, AFolderForTheAnswerFileOrATextForTheInstallerIsSeenBeforeWriting) {
    const std::wstring installer = product_.File(L"service\\install.exe");
    for (const bool textInstaller : {false, true}) {
        if (textInstaller) {
            fs::remove(product_.File(L"yes.txt"));
            WriteBytes(installer, "not a program\r\n");
        } else {
            fs::create_directories(product_.File(L"yes.txt"));
        }
        for (const wchar_t* whatIf : {L"", L" /WHATIF"}) {
            EXPECT_EQ(Run(L"/VERYSILENT /DIR=" + kKeva + whatIf), 1603u) << textInstaller << Narrow(whatIf);
        }
    }
    EXPECT_NE(Log().find("応答ファイル " + Ansi(product_.File(L"yes.txt")) + " を書き込めません。"), std::string::npos);
    EXPECT_NE(Log().find("理由: Windows で実行できるプログラムではありません"), std::string::npos) << Log();
    ExpectNothingWritten();
}

}  // namespace
}  // namespace selvane::testing
