// The window run's outcomes: what the user is told and with which icon, what
// the log records, and whether the window stays or which code ends the program.
#include "app/window_run.h"

#include <gtest/gtest.h>

#include <functional>

#include "app/exit_codes.h"
#include "fake_setup_platform.h"

namespace selvane {
namespace {

class FakeWindowHost : public WindowRunHost {
public:
    void ShowMessage(const std::string& text, MessageIcon icon) override {
        shown += text;
        shownIcon = icon;
    }
    void EndProgram(int exitCode) override { ended = exitCode; }
    std::string shown;
    MessageIcon shownIcon = MessageIcon::Information;
    std::optional<int> ended;
};

SetupFailure Failure(SetupStep step, FailureReason reason, std::string subject = "C:\\app\\acl.bat",
                     ServerState state = ServerState::Unchanged) {
    SetupFailure failure = MakeFailure(step, reason, std::move(subject), "拒否");
    failure.state = state;
    return failure;
}

TEST(WindowRun, EachOutcomeIsToldLoggedAndEndsOrWaits) {
    constexpr auto kInfo = MessageIcon::Information;
    constexpr auto kError = MessageIcon::Error;
    const std::optional<int> kStays;
    struct Case {
        const char* what;
        std::function<void(WindowRun&)> act;
        std::string shown;  // part of the message, empty when none is shown
        MessageIcon icon;
        std::string logged;  // part of the log
        std::optional<int> exitCode;
        bool advisesRetry = false;
    };
    const Case cases[] = {
        {"a type-2 server", [](WindowRun& r) { EXPECT_TRUE(r.ServerTypeRead({2, {}})); }, "", kInfo, "INFO サーバ種別: 2",
         kStays},
        {"an unreadable database", [](WindowRun& r) { EXPECT_TRUE(r.ServerTypeRead({std::nullopt, "なし"})); }, "", kInfo,
         "WARN サーバ種別を読み取れませんでした。設定を続けます。理由: なし", kStays},
        {"a type-1 server", [](WindowRun& r) { EXPECT_FALSE(r.ServerTypeRead({1, {}})); },
         "このソフトウェアは既設サーバのみに対応しています。", kInfo, "ERROR このソフトウェア", exit_codes::kSuccess},
        {"another instance with a window", [](WindowRun& r) { r.AnotherInstanceRuns(true); }, "", kInfo, "",
         exit_codes::kSuccess},
        {"another instance without one", [](WindowRun& r) { r.AnotherInstanceRuns(false); },
         "このプログラムは既に実行中です。", kInfo, "ERROR このプログラムは既に実行中です。",
         exit_codes::kWindowRunFailed},
        {"the right button", [](WindowRun& r) { r.RightButtonPressed(); }, "マウスの右ボタンは利用できません。", kInfo, "",
         kStays},
        {"a completed run", [](WindowRun& r) { r.SetupFinished(std::nullopt); }, "初期設定が完了しました。", kInfo,
         "INFO 初期設定が完了しました。", exit_codes::kSuccess},
        {"an empty folder box", [](WindowRun& r) { r.SetupFinished(Failure(SetupStep::ReadFolderBox, FailureReason::Empty)); },
         "KEVAのインストールフォルダを選択してください。", kInfo, "WARN KEVA", kStays},
        {"a folder the code page lacks",
         [](WindowRun& r) { r.SetupFinished(Failure(SetupStep::CheckText, FailureReason::NotInCodePage, "D:\\caf\xC3\xA9")); },
         "D:\\caf\xC3\xA9", kInfo, "WARN 次の文字列には", kStays},
        {"a missing acl.bat",
         [](WindowRun& r) { r.SetupFinished(Failure(SetupStep::CheckBatchFile, FailureReason::Missing)); },
         "設定は何も変更していません。", kError, "ERROR 初期設定を中止しました。", kStays, true},
        {"a refused settings write, put back",
         [](WindowRun& r) {
             r.SetupFinished(Failure(SetupStep::WriteSettings, FailureReason::System, "C:\\w.ini", ServerState::PutBack));
         },
         "設定を書き込めませんでした。\n\nファイル: C:\\w.ini\n理由: 拒否\n\n変更した設定は元に戻しました。", kError,
         "ERROR 設定を書き込めませんでした。", kStays, true},
        {"a log that names a file of the run",
         [](WindowRun& r) {
             r.SetupFinished(Failure(SetupStep::CheckLogFile, FailureReason::IsRunFile, "D:\\pkg\\orna_remote.ini"));
         },
         "ログファイルに、初期設定が書き込むか起動するファイル D:\\pkg\\orna_remote.ini が指定されています。", kInfo,
         "WARN ログファイル", kStays},
        {"an installer that would not start",
         [](WindowRun& r) {
             r.SetupFinished(Failure(SetupStep::StartInstaller, FailureReason::System, "C:\\i.exe", ServerState::SettingsKept));
         },
         "サービスインストーラ C:\\i.exe を起動できませんでした。", kError, "ERROR 初期設定を中止しました。",
         exit_codes::kWindowRunFailed},
        {"a Windows call that failed",
         [](WindowRun& r) { r.UnexpectedFailure({"SHBrowseForFolderW", "拒否 (8)"}); },
         "予期しないエラーが発生したため、プログラムを終了します。\n\nSHBrowseForFolderW: 拒否 (8)", kError,
         "ERROR 予期しないエラー", exit_codes::kWindowRunFailed},
    };
    for (const auto& c : cases) {
        std::string logText;
        AppLog log(std::make_unique<testing::TextSink>(logText), [] { return LogTime{}; }, 1);
        FakeWindowHost host;
        WindowRun run(host, log);
        c.act(run);
        if (c.shown.empty()) {
            EXPECT_EQ(host.shown, "") << c.what;
        } else {
            EXPECT_NE(host.shown.find(c.shown), std::string::npos) << c.what << ": " << host.shown;
            EXPECT_EQ(host.shownIcon, c.icon) << c.what;
        }
        EXPECT_NE(logText.find(c.logged), std::string::npos) << c.what << ": " << logText;
        EXPECT_EQ(host.ended, c.exitCode) << c.what;
        EXPECT_EQ(host.shown.find("もう一度 [完了] を押してください") != std::string::npos, c.advisesRetry) << c.what;
    }
}

TEST(WindowRun, ARunHoldsOffASecondPressAClosingAndTheEndOfTheSession) {
    AppLog log;
    FakeWindowHost host;
    WindowRun run(host, log);
    EXPECT_FALSE(run.SetupRunning());
    ASSERT_TRUE(run.BeginSetup());
    EXPECT_TRUE(run.SetupRunning());
    EXPECT_FALSE(run.BeginSetup()) << "a second press started a second run";
    run.SetupFinished(MakeFailure(SetupStep::ReadFolderBox, FailureReason::Empty, {}));
    EXPECT_FALSE(run.SetupRunning());
    EXPECT_STREQ(WindowRun::ShutdownBlockReason(), "初期設定を実行中です。");
}

}  // namespace
}  // namespace selvane
