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

class LinesSink : public LogSink {
public:
    explicit LinesSink(std::string& text) : text_(text) {}
    void Append(std::string_view line) override { text_ += line; }

private:
    std::string& text_;
};

class Unattended : public ::testing::Test {
public:  // the cases below arrange it through lambdas
    int Run(Switches switches) {
        AppLog log(std::make_unique<LinesSink>(logText), [] { return LogTime{2026, 12, 7, 9, 5, 3, 42}; }, 4012);
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
