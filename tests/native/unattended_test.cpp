// The unattended run's exit codes, log and event, on a fake system.
#include "app/unattended.h"

#include <gtest/gtest.h>

#include <functional>

#include "app/exit_codes.h"
#include "app/failure_text.h"
#include "fake_setup_platform.h"

namespace selvane {
namespace {

using testing::FakeSetupPlatform;
using namespace testing;  // the descriptors' accounts, rights and builders

struct FakeHost {
    bool another = false;
    ServerTypeReading reading{2, {}};
};

class Unattended : public ::testing::Test {
public:  // the cases below arrange it through lambdas
    RunEvent Run(Switches switches) {
        testing::FakeRecords records(
            AppLog(std::make_unique<testing::TextSink>(logText), [] { return LogTime{2026, 12, 7, 9, 5, 3, 42}; }, 4012));
        return RunUnattended(switches, host.another, host.reading, platform, records);
    }
    static Switches Silent(const std::string& dir) {
        Switches switches;
        switches.dir = dir;
        switches.mode = RunMode::Unattended;
        return switches;
    }
    bool Logged(const std::string& text) const { return logText.find(text) != std::string::npos; }

    FakeHost host;
    FakeSetupPlatform platform;
    std::string logText;
};

// Where others may add entries to the program's folder (the Windows Server
// default), the run is refused; the fix keeps their reading and running.
TEST_F(Unattended, WhatOthersCanAddToRefusesTheRunWithAFixThatKeepsReading) {
    platform.security["C:\\app"] = Owned(kAdministrators, {Allow(kAdministrators, kFullControl),
                                                           Allow(kUsers, kReadRun, kObjects | kContainers | kInherited),
                                                           Allow(kUsers, kAddFile | kAddFolder, kContainers | kInherited)});
    const RunEvent result = Run(Silent("D:\\pkg"));
    EXPECT_EQ(result.exitCode, 1603);
    EXPECT_EQ(result.kind, EventKind::Failed);
    const std::string reason =
        "BUILTIN\\Users (S-1-5-32-545) がファイルやフォルダを作成できます。"
        "直すコマンド: icacls \"C:\\app\" /inheritance:d /grant:r \"*S-1-5-32-545:(OI)(CI)(RX)\"";
    EXPECT_NE(result.outcome.find(reason), std::string::npos) << result.outcome;
    EXPECT_TRUE(Logged(reason)) << logText;
    EXPECT_TRUE(platform.effects.empty());
}

TEST_F(Unattended, EachOutcomeHasItsExitCodeItsLineAndItsEvent) {
    struct Case {
        const char* what;
        std::function<void(Unattended&)> arrange;
        std::string dir;
        int exitCode;
        std::string logged;
        EventKind event;
    };
    const auto none = [](Unattended&) {};
    const auto installerEnds = [](unsigned long code) {
        return [code](Unattended& t) { t.platform.exitCodeOf["C:\\app\\service\\install.exe"] = code; };
    };
    const Case cases[] = {
        {"a complete run", none, "D:\\pkg", 0, "INFO 初期設定が完了しました。\r\n", EventKind::Completed},
        {"another instance", [](Unattended& t) { t.host.another = true; }, "D:\\pkg", 1618,
         "ERROR このプログラムは既に実行中です。", EventKind::Refused},
        {"a type-1 server", [](Unattended& t) { t.host.reading = {1, {}}; }, "D:\\pkg", 1633,
         "ERROR このソフトウェアは既設サーバのみに対応しています。", EventKind::Failed},
        {"a relative /DIR", none, "pkg", 1639, "絶対パス", EventKind::Refused},
        {"a missing /DIR", none, "D:\\nowhere", 1639, "D:\\nowhere (理由: (2))", EventKind::Refused},
        {"a file as /DIR", [](Unattended& t) { t.platform.files["D:\\file"]; }, "D:\\file", 1639, "フォルダではありません",
         EventKind::Refused},
        {"a /DIR the code page lacks", none, "D:\\caf\xC3\xA9", 1639, "文字コード", EventKind::Refused},
        {"no acl.bat", [](Unattended& t) { t.platform.files.erase("C:\\app\\acl.bat"); }, "D:\\pkg", 1603,
         "C:\\app\\acl.bat", EventKind::Failed},
        {"an installer asking for a restart", installerEnds(3010), "D:\\pkg", 3010,
         "WARN 初期設定が完了しました。サーバを再起動してください。\r\n", EventKind::RestartNeeded},
        {"an installer that started a restart", installerEnds(1641), "D:\\pkg", 1641,
         "WARN 初期設定が完了しました。サービスインストーラがサーバの再起動を開始しました。\r\n", EventKind::RestartNeeded},
        {"an installer that failed", installerEnds(5), "D:\\pkg", 1603, "理由: 終了コード 5", EventKind::Failed},
    };
    for (const auto& c : cases) {
        Unattended& t = *this;
        t.host = FakeHost{};
        t.platform = FakeSetupPlatform{};
        t.logText.clear();
        c.arrange(t);
        Switches switches = Silent(c.dir);
        switches.wait = true;
        const RunEvent result = Run(switches);
        EXPECT_EQ(result.exitCode, c.exitCode) << c.what;
        EXPECT_EQ(result.kind, c.event) << c.what;
        EXPECT_EQ(result.kevaFolder, c.dir) << c.what;
        EXPECT_TRUE(Logged(c.logged)) << c.what << "\n" << logText;
        EXPECT_NE(logText.find(result.outcome), std::string::npos) << c.what << ": the console says what the log says";
        EXPECT_FALSE(Logged("[完了]")) << c.what << ": the window's advice, with no button to press";
        if (c.exitCode != 0 && c.exitCode != 3010 && c.exitCode != 1641 && c.exitCode != 1603) {
            EXPECT_TRUE(platform.effects.empty()) << c.what;
        }
    }
}

TEST_F(Unattended, AnUnreadableDatabaseIsLoggedWithItsReasonAndTheRunGoesOn) {
    host.reading = {std::nullopt, "SQLDriverConnect が失敗しました: SQLSTATE IM002: no driver (native 0)"};
    EXPECT_EQ(Run(Silent("D:\\pkg")).exitCode, exit_codes::kSuccess);
    EXPECT_TRUE(Logged("2026-12-07 09:05:03.042 [4012] WARN サーバ種別を読み取れませんでした。設定を続けます。"
                       "理由: SQLDriverConnect が失敗しました: SQLSTATE IM002: no driver (native 0)\r\n"));
}

TEST_F(Unattended, WhatIfAndVerifyRecordNoEvent) {
    Switches whatIf = Silent("D:\\pkg");
    whatIf.mode = RunMode::WhatIf;
    Switches verify;
    verify.mode = RunMode::Verify;
    verify.dir = "D:\\pkg";
    for (const Switches& switches : {whatIf, verify}) {
        for (const bool refused : {false, true}) {
            host.another = refused;
            EXPECT_EQ(Run(switches).kind, EventKind::None) << static_cast<int>(switches.mode) << refused;
        }
    }
}

// /VERIFY against what a run with the same /DIR would write: which entries
// count as set up, and that nothing is changed or started.
TEST_F(Unattended, VerifyTellsWhetherEveryEntryHoldsWhatARunWouldWrite) {
    const std::string orna = "D:\\pkg\\orna_remote.ini";
    const std::string win = "C:\\Windows\\win.ini";
    const std::string setUpOrna =
        "[FILE]\r\nLOGIN=C:\\app\r\nDB=C:\\app\r\nBACKUP=C:\\app\\BACKUP\r\n[SERVICE]\r\nDNS_SERVICE=0\r\n"
        "WEB_SERVICE=0\r\nPOP3_SERVICE=0\r\nSMTP_SERVICE=0\r\nFTP_SERVICE=0\r\nOS=0\r\nOPTIMIZE=0\r\n";
    const std::string setUpWin = "[windows]\r\n[ORNA]\r\nBASIC=C:\\app\r\nCGI=D:\\pkg\r\n";
    struct Case {
        const char* what;
        std::string orna, win;
        int exitCode;
        std::string logged;
    };
    const auto replaced = [](std::string text, const std::string& from, const std::string& to) {
        return text.replace(text.find(from), from.size(), to);
    };
    const auto bigEndian = [](std::string_view ascii) {
        std::string bytes = "\xFE\xFF";
        for (const char c : ascii) bytes += {'\0', c};
        return bytes;
    };
    const Case cases[] = {
        {"as a run leaves them", setUpOrna, setUpWin, 0, "INFO 設定済み"},
        {"folders in other case, quoted, with a trailing backslash",
         replaced(setUpOrna, "LOGIN=C:\\app", "login = \"c:\\APP\\\" "), replaced(setUpWin, "CGI=D:\\pkg", "CGI=d:\\PKG\\"), 0,
         "INFO 設定済み"},
        {"no orna_remote.ini", "", setUpWin, 1, "WARN 相違 " + orna + " [FILE] LOGIN: 実行した場合 \"C:\\app\"、現在 なし"},
        {"no SERVICE section", setUpOrna.substr(0, setUpOrna.find("[SERVICE]")), setUpWin, 1, "[SERVICE] OS:"},
        {"a service on", replaced(setUpOrna, "OS=0", "OS=1"), setUpWin, 1, "[SERVICE] OS: 実行した場合 \"0\"、現在 \"1\""},
        {"no CGI key", setUpOrna, replaced(setUpWin, "CGI=D:\\pkg\r\n", ""), 1, "[ORNA] CGI:"},
        {"an empty CGI", setUpOrna, replaced(setUpWin, "CGI=D:\\pkg", "CGI="), 1, "、現在 \"\""},
        {"another folder", setUpOrna, replaced(setUpWin, "CGI=D:\\pkg", "CGI=D:\\pkg2"), 1,
         "実行した場合 \"D:\\pkg\"、現在 \"D:\\pkg2\""},
        // Headers and encodings as Windows reads them, where Wine reads otherwise.
        {"[FILE]]: the name ends at the first ']'", replaced(setUpOrna, "[FILE]", "[FILE]]"), setUpWin, 0,
         "INFO 設定済み"},
        {"[FILE: the line's end ends the name", replaced(setUpOrna, "[FILE]", "[FILE"), setUpWin, 0, "INFO 設定済み"},
        {"UTF-16 big-endian: no encoding Windows reads", bigEndian(setUpOrna), setUpWin, 1,
         "[FILE] LOGIN: 実行した場合 \"C:\\app\"、現在 なし"},
    };
    for (const auto& c : cases) {
        platform = FakeSetupPlatform{};
        logText.clear();
        if (!c.orna.empty()) platform.files[orna] = {c.orna, 0};
        platform.files[win] = {c.win, 0};
        const auto filesBefore = platform.files;
        Switches switches;
        switches.mode = RunMode::Verify;
        switches.dir = "D:\\pkg";
        EXPECT_EQ(Run(switches).exitCode, c.exitCode) << c.what;
        EXPECT_TRUE(Logged(c.logged)) << c.what << "\n" << logText;
        EXPECT_TRUE(platform.effects.empty()) << c.what;
        EXPECT_EQ(platform.files.size(), filesBefore.size()) << c.what;
    }
    // A file it cannot read: said as a check that could not be made.
    platform.unreadable.insert(win);
    EXPECT_EQ(Run([] {
                  Switches switches;
                  switches.mode = RunMode::Verify;
                  switches.dir = "D:\\pkg";
                  return switches;
              }()).exitCode,
              1603);
    EXPECT_TRUE(Logged("ERROR 設定済みかどうかを確かめられませんでした。 C:\\Windows\\win.ini を読み取れませんでした。 理由: (32)\r\n"))
        << logText;
}

}  // namespace
}  // namespace selvane
