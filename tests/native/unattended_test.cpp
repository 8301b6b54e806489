// The unattended run's exit codes and log, on a fake system.
#include "app/unattended.h"

#include <gtest/gtest.h>

#include <functional>

#include "app/exit_codes.h"
#include "app/failure_text.h"
#include "fake_setup_platform.h"

namespace selvane {
namespace {

using testing::FakeSetupPlatform;

class FakeHost : public UnattendedHost {
public:
    bool AnotherInstanceRunning() override { return another; }
    ServerTypeReading ReadServerType() override { return reading; }
    bool another = false;
    ServerTypeReading reading{2, {}};
};

class Unattended : public ::testing::Test {
public:  // the cases below arrange it through lambdas
    int Run(Switches switches) {
        AppLog log(std::make_unique<testing::TextSink>(logText), [] { return LogTime{2026, 12, 7, 9, 5, 3, 42}; }, 4012);
        SetupRequest base;
        base.appFolder = "C:\\app";
        return RunUnattended(switches, base, host, platform, log).exitCode;
    }
    static Switches Silent(const std::string& dir) {
        Switches switches;
        switches.silent = true;
        switches.dir = dir;
        return switches;
    }
    bool Logged(const std::string& text) const { return logText.find(text) != std::string::npos; }

    FakeHost host;
    FakeSetupPlatform platform;
    std::string logText;
};

TEST_F(Unattended, EachRefusalHasItsExitCodeAndChangesNothing) {
    struct Case {
        const char* what;
        std::function<void(Unattended&)> arrange;
        std::string dir;
        int exitCode;
        std::string logged;
    };
    const auto none = [](Unattended&) {};
    const Case cases[] = {
        {"another instance", [](Unattended& t) { t.host.another = true; }, "D:\\pkg", exit_codes::kAnotherInstance,
         "ERROR このプログラムは既に実行中です。"},
        {"a type-1 server", [](Unattended& t) { t.host.reading = {1, {}}; }, "D:\\pkg", exit_codes::kServerRefused,
         "ERROR このソフトウェアは既設サーバのみに対応しています。"},
        {"a relative /DIR", none, "pkg", exit_codes::kInvalidCommandLine, "絶対パス"},
        {"a missing /DIR", none, "D:\\nowhere", exit_codes::kInvalidCommandLine, "D:\\nowhere (理由: not found)"},
        {"a file as /DIR", [](Unattended& t) { t.platform.files.insert("D:\\file"); }, "D:\\file",
         exit_codes::kInvalidCommandLine, "フォルダではありません"},
        {"a /DIR the code page lacks", none, "D:\\caf\xC3\xA9", exit_codes::kInvalidCommandLine, "文字コード"},
        {"no acl.bat", [](Unattended& t) { t.platform.files.erase("C:\\app\\acl.bat"); }, "D:\\pkg",
         exit_codes::kRunFailed, "C:\\app\\acl.bat"},
    };
    for (const auto& c : cases) {
        Unattended& t = *this;
        t.host = FakeHost{};
        t.platform = FakeSetupPlatform{};
        t.logText.clear();
        c.arrange(t);
        EXPECT_EQ(Run(Silent(c.dir)), c.exitCode) << c.what;
        EXPECT_TRUE(platform.effects.empty()) << c.what;
        EXPECT_TRUE(Logged(c.logged)) << c.what << "\n" << logText;
        EXPECT_FALSE(Logged("[完了]")) << c.what << ": the window's advice, with no button to press";
    }
}

TEST_F(Unattended, AnUnreadableDatabaseIsLoggedWithItsReasonAndTheRunGoesOn) {
    host.reading = {std::nullopt, "SQLDriverConnect が失敗しました: SQLSTATE IM002: no driver (native 0)"};
    EXPECT_EQ(Run(Silent("D:\\pkg")), exit_codes::kSuccess);
    EXPECT_TRUE(Logged("2026-12-07 09:05:03.042 [4012] WARN サーバ種別を読み取れませんでした。設定を続けます。"
                       "理由: SQLDriverConnect が失敗しました: SQLSTATE IM002: no driver (native 0)\r\n"));
}

// /VERIFY against what a run with the same /DIR would write: which entries
// count as set up, and that nothing is changed or started.
TEST_F(Unattended, VerifyTellsWhetherEveryEntryHoldsWhatARunWouldWrite) {
    const std::string orna = "D:\\pkg\\orna_remote.ini";
    const std::string win = "C:\\Windows\\win.ini";
    struct Case {
        const char* what;
        std::function<void(FakeSetupPlatform::Sections&, FakeSetupPlatform::Sections&)> change;
        int exitCode;
        std::string logged;
    };
    const Case cases[] = {
        {"as a run leaves them", [](auto&, auto&) {}, exit_codes::kSuccess, "INFO 設定済み"},
        {"no orna_remote.ini", [&](auto&, auto&) { platform.ini.erase(orna); }, exit_codes::kNotSetUp,
         "WARN 相違 " + orna + " [FILE] LOGIN: 実行した場合 \"C:\\app\"、現在 なし"},
        {"no SERVICE section", [](auto& o, auto&) { o.erase("SERVICE"); }, exit_codes::kNotSetUp, "[SERVICE] OS:"},
        {"no CGI key", [](auto&, auto& w) { w["ORNA"].erase("CGI"); }, exit_codes::kNotSetUp, "[ORNA] CGI:"},
        {"an empty CGI", [](auto&, auto& w) { w["ORNA"]["CGI"] = ""; }, exit_codes::kNotSetUp, "、現在 \"\""},
        {"a CGI in other case", [](auto&, auto& w) { w["ORNA"]["CGI"] = "d:\\PKG"; }, exit_codes::kNotSetUp,
         "実行した場合 \"D:\\pkg\"、現在 \"d:\\PKG\""},
    };
    for (const auto& c : cases) {
        platform = FakeSetupPlatform{};
        logText.clear();
        for (const auto& write : SettingsWrites("D:\\pkg", "C:\\app", "C:\\Windows")) {
            platform.ini[write.file][write.section][write.key] = write.value;
        }
        c.change(platform.ini[orna], platform.ini[win]);
        Switches switches;
        switches.verify = true;
        switches.dir = "D:\\pkg";
        EXPECT_EQ(Run(switches), c.exitCode) << c.what;
        EXPECT_TRUE(Logged(c.logged)) << c.what << "\n" << logText;
        EXPECT_TRUE(platform.effects.empty()) << c.what;
    }
}

TEST(FailureText, NamesWhatFailedWhyAndWhetherAnythingChanged) {
    SetupFailure missing = MakeFailure(SetupStep::CheckInstaller, FailureReason::Missing, "C:\\app\\service\\install.exe",
                                       "指定されたファイルが見つかりません。 (2)");
    EXPECT_EQ(DescribeFailure(missing),
              "初期設定を中止しました。\n\nサービスインストーラ C:\\app\\service\\install.exe を起動できません。\n"
              "理由: 指定されたファイルが見つかりません。 (2)\n\n設定は何も変更していません。");
    SetupFailure tooLong = MakeFailure(SetupStep::CheckPathLength, FailureReason::TooLong, "D:\\long\\orna_remote.ini");
    tooLong.length = 262;
    tooLong.limit = 259;
    EXPECT_EQ(DescribeFailure(tooLong), "次のパスが長すぎるため、設定を書き込めません。\n\nD:\\long\\orna_remote.ini\n"
                                        "理由: 262 文字です (上限は 259 文字)");
    SetupFailure started = MakeFailure(SetupStep::StartInstaller, FailureReason::System, "C:\\i.exe", "拒否");
    started.state = ServerState::SettingsKept;
    EXPECT_EQ(DescribeFailure(started),
              "初期設定を中止しました。\n\nサービスインストーラ C:\\i.exe を起動できませんでした。\n理由: 拒否\n\n"
              "書き込んだ設定はそのままです (バッチファイルが既に使っている可能性があるため、元に戻していません)。\n"
              "バッチファイルは起動済みです。\nサービスインストーラは起動していません。");
    SetupFailure partly = MakeFailure(SetupStep::WriteAnswerFile, FailureReason::System, "C:\\app\\yes.txt", "拒否");
    partly.state = ServerState::PartlyPutBack;
    partly.leftChanged = {{{RestorationKind::RestoreValue, "D:\\orna_remote.ini", "FILE", "LOGIN", "C:\\old"}, "使用中"},
                          {{RestorationKind::RemoveFile, "D:\\new.ini", "", "", ""}, "使用中"}};
    EXPECT_TRUE(DescribeFailure(partly).ends_with(
        "次の変更は元に戻せませんでした。手作業で元に戻してください。\n"
        "・D:\\orna_remote.ini の [FILE] LOGIN を元の値 \"C:\\old\" に戻してください (理由: 使用中)\n"
        "・D:\\new.ini は実行前にはありませんでした。削除してください (理由: 使用中)"));
}

}  // namespace
}  // namespace selvane
