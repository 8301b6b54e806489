// The window run's outcomes: what the user is told and with which icon, what
// the log and the event log record, and whether the window stays or which
// code ends the program; and the words every failure is told in.
#include "app/window_run.h"

#include <gtest/gtest.h>

#include <functional>

#include "app/failure_text.h"
#include "fake_setup_platform.h"

namespace selvane {
namespace {

class FakeWindowHost : public WindowRunHost {
public:
    void ShowMessage(const std::string& text, MessageIcon icon) override {
        shown += text;
        shownIcon = icon;
    }
    std::string shown;
    std::optional<MessageIcon> shownIcon;
};

// By default the system's "file not found" (2).
SetupFailure Failure(SetupStep step, FailureReason reason, std::string subject = "C:\\app\\acl.bat",
                     LeftBehind left = LeftBehind::Nothing, unsigned long code = 2) {
    SetupFailure failure = CallFailed(step, std::move(subject), {"CreateFileW", code});
    failure.reason = reason;
    failure.left = left;
    return failure;
}

constexpr char kRetry[] = "フォルダを確かめてから、もう一度 [完了] を押してください。";
constexpr char kCloseHolder[] =
    "ファイルを使用しているプログラム (バックアップやウイルス対策など) を閉じてから、もう一度 [完了] を押してください。";

TEST(WindowRun, EachOutcomeIsToldLoggedRecordedAndEndsOrWaits) {
    constexpr auto kInfo = MessageIcon::Information;
    constexpr auto kError = MessageIcon::Error;
    const std::optional<int> kStays;
    struct Case {
        const char* what;
        std::function<void(WindowRun&)> act;
        std::string shown;  // part of the message; empty when none is shown
        std::optional<MessageIcon> icon;
        std::string logged;  // part of the log; empty when nothing is logged
        std::optional<int> exitCode;
        EventKind event = EventKind::None;
    };
    const auto finished = [](SetupFailure failure) {
        return [failure](WindowRun& r) { r.SetupFinished(SetupOutcome(failure), "D:\\pkg"); };
    };
    const Case cases[] = {
        {"a type-2 server", [](WindowRun& r) { EXPECT_TRUE(r.ServerTypeRead({2, {}})); }, "", {}, "INFO サーバ種別: 2", kStays},
        {"an unreadable database", [](WindowRun& r) { EXPECT_TRUE(r.ServerTypeRead({std::nullopt, "なし"})); }, "", {},
         "WARN サーバ種別を読み取れませんでした。設定を続けます。理由: なし", kStays},
        {"a type-1 server", [](WindowRun& r) { EXPECT_FALSE(r.ServerTypeRead({1, {}})); },
         "このソフトウェアは既設サーバのみに対応しています。", kInfo, "ERROR このソフトウェア", 0},
        {"another instance with a window", [](WindowRun& r) { r.AnotherInstanceRuns(true); }, "", {}, "", 0},
        {"another instance without one", [](WindowRun& r) { r.AnotherInstanceRuns(false); },
         "このプログラムは既に実行中です。", kInfo, "ERROR このプログラムは既に実行中です。", 1},
        {"the right button", [](WindowRun& r) { r.RightButtonPressed(); }, "マウスの右ボタンは利用できません。", kInfo, "",
         kStays},
        {"a completed run", [](WindowRun& r) { r.SetupFinished(SetupOutcome(), "D:\\pkg"); }, "初期設定が完了しました。", kInfo,
         "INFO 初期設定が完了しました。", 0, EventKind::Completed},
        {"an empty folder box", finished(Failure(SetupStep::ReadFolderBox, FailureReason::Empty)),
         "KEVAのインストールフォルダを選択してください。", kInfo, "WARN KEVA", kStays, EventKind::Failed},
        {"a folder the code page lacks",
         finished(Failure(SetupStep::CheckChosenFolder, FailureReason::NotInCodePage, "D:\\caf\xC3\xA9")), kRetry, kInfo,
         "WARN 初期設定を中止しました。", kStays, EventKind::Failed},
        {"a folder that is not there",
         finished(Failure(SetupStep::WriteSettingsFile, FailureReason::System, "D:\\no\\orna_remote.ini")), kRetry,
         kInfo, "WARN 初期設定を中止しました。", kStays, EventKind::Failed},
        {"a program folder the code page lacks",
         finished(Failure(SetupStep::CheckProductFolder, FailureReason::NotInCodePage, "C:\\caf\xC3\xA9")),
         "製品のファイルを確かめて", kError, "ERROR 初期設定を中止しました。", kStays, EventKind::Failed},
        {"a missing acl.bat", finished(Failure(SetupStep::CheckBatchFile, FailureReason::System)),
         "設定は何も変更していません。\nプログラムのフォルダと製品のファイルを確かめてから", kError,
         "ERROR 初期設定を中止しました。", kStays, EventKind::Failed},
        {"a held win.ini, put back",
         finished(Failure(SetupStep::WriteProfileFile, FailureReason::System, "C:\\w.ini", LeftBehind::PutBack, 32)),
         std::string("変更した設定は元に戻しました。\n") + kCloseHolder, kError, "ERROR 初期設定を中止しました。", kStays,
         EventKind::Failed},
        // Held by another program, with or without read sharing, or refused:
        // no other folder would help.
        {"a held orna_remote.ini",
         finished(Failure(SetupStep::ReadSettingsFile, FailureReason::System, "D:\\orna_remote.ini", LeftBehind::Nothing, 32)),
         std::string("設定は何も変更していません。\n") + kCloseHolder, kError, "ERROR 初期設定を中止しました。", kStays,
         EventKind::Failed},
        {"an orna_remote.ini locked or refused",
         finished(Failure(SetupStep::WriteSettingsFile, FailureReason::System, "D:\\orna_remote.ini", LeftBehind::PutBack, 33)),
         kCloseHolder, kError, "ERROR 初期設定を中止しました。", kStays, EventKind::Failed},
        {"an orna_remote.ini refused",
         finished(Failure(SetupStep::WriteSettingsFile, FailureReason::System, "D:\\orna_remote.ini", LeftBehind::PutBack, 5)),
         kCloseHolder, kError, "ERROR 初期設定を中止しました。", kStays, EventKind::Failed},
        {"an installer that would not start",
         finished(Failure(SetupStep::StartInstaller, FailureReason::System, "C:\\i.exe", LeftBehind::SettingsKept)),
         "サービスインストーラ C:\\i.exe を起動できませんでした。", kError, "ERROR 初期設定を中止しました。", 1,
         EventKind::Failed},
        {"a Windows call that failed", [](WindowRun& r) { r.UnexpectedFailure({"SHBrowseForFolderW", 8}); },
         "予期しないエラーが発生したため、プログラムを終了します。\n\nSHBrowseForFolderW: (8)", kError,
         "ERROR 予期しないエラー", 1},
    };
    for (const auto& c : cases) {
        std::string logText;
        testing::FakeRecords records(AppLog(std::make_unique<testing::TextSink>(logText), [] { return LogTime{}; }, 1));
        FakeWindowHost host;
        WindowRun run(host, records);
        c.act(run);
        if (c.shown.empty()) {
            EXPECT_EQ(host.shown, "") << c.what;
        } else {
            EXPECT_NE(host.shown.find(c.shown), std::string::npos) << c.what << ": " << host.shown;
        }
        EXPECT_EQ(host.shownIcon, c.icon) << c.what;
        if (c.logged.empty()) {
            EXPECT_EQ(logText, "") << c.what;
        } else {
            EXPECT_NE(logText.find(c.logged), std::string::npos) << c.what << ": " << logText;
        }
        EXPECT_EQ(records.ended, c.exitCode) << c.what;
        // The retry advice only where another folder can mend what failed.
        EXPECT_EQ(host.shown.find(kRetry) != std::string::npos, c.shown == kRetry) << c.what;
        ASSERT_EQ(records.events.size(), c.event == EventKind::None ? 0u : 1u) << c.what;
        if (c.event != EventKind::None) {
            EXPECT_EQ(records.events[0].kind, c.event) << c.what;
            EXPECT_EQ(records.events[0].outcome, host.shown) << c.what << ": the event says what the window said";
            EXPECT_EQ(records.events[0].kevaFolder, "D:\\pkg") << c.what;
        }
    }
}

// Complete runs the setup for the program's folder and the box's text; the
// event names the folder without its one trailing backslash.
TEST(WindowRun, CompleteRunsTheSetupForTheFolderTheBoxNames) {
    testing::FakeSetupPlatform platform;
    testing::FakeRecords records;
    FakeWindowHost host;
    WindowRun run(host, records);
    ASSERT_TRUE(run.BeginSetup());
    run.Complete(platform, "D:\\pkg\\");
    EXPECT_EQ(host.shown, "初期設定が完了しました。");
    ASSERT_EQ(records.events.size(), 1u);
    EXPECT_EQ(records.events[0].kevaFolder, "D:\\pkg");
    EXPECT_NE(platform.files["C:\\Windows\\win.ini"].bytes.find("BASIC=C:\\app\r\nCGI=D:\\pkg\r\n"),
              std::string::npos);
}

// A last run cut off is told of before the window opens; the window's own
// run is recorded like an unattended one.
TEST(WindowRun, ALastRunCutOffIsToldBeforeTheWindowOpensAndCompleteIsRecorded) {
    testing::FakeSetupPlatform platform;
    testing::FakeRecords records;
    records.ownStore.record = RecordValues{{"State", "in progress"}, {"KevaFolder", "D:\\pkg"}, {"Started", "2026-12-08 10:00:00"}};
    FakeWindowHost host;
    WindowRun run(host, records);
    run.LastRunLooked(platform);
    EXPECT_EQ(host.shown, "前回の初期設定 (2026-12-08 10:00:00 に開始、KEVA のフォルダ D:\\pkg) は途中で中断されました。"
                          "今回の実行で設定し直してください。");
    EXPECT_EQ(host.shownIcon, MessageIcon::Warning);
    ASSERT_TRUE(run.BeginSetup());
    run.Complete(platform, "D:\\pkg");
    EXPECT_EQ(records.ownStore.ValueOf("State"), "completed");
    EXPECT_EQ(records.ownStore.ValueOf("ExitCode"), "0");
}

// A second press while a run goes on does nothing; once the run's outcome
// has been told, the next press runs again.
TEST(WindowRun, ARunHoldsOffASecondPressUntilItsOutcomeIsTold) {
    testing::FakeRecords records;
    FakeWindowHost host;
    WindowRun run(host, records);
    ASSERT_TRUE(run.BeginSetup());
    EXPECT_FALSE(run.BeginSetup()) << "a second press started a second run";
    run.SetupFinished(SetupOutcome(Failure(SetupStep::ReadFolderBox, FailureReason::Empty)), "");
    EXPECT_FALSE(run.SetupRunning());
    EXPECT_TRUE(run.BeginSetup()) << "the window no longer takes a press";
}

TEST(FailureText, NamesWhatFailedWhyWhatIsLeftAndWhatToDo) {
    SetupFailure missing = CallFailed(SetupStep::CheckInstaller, "C:\\app\\service\\install.exe", {"GetFileAttributesW", 2});
    EXPECT_EQ(DescribeFailure(missing, Telling::Unattended),
              "初期設定を中止しました。\n\nサービスインストーラ C:\\app\\service\\install.exe を起動できません。\n"
              "理由: (2)\n\n設定は何も変更していません。");
    SetupFailure tooLong = MakeFailure(SetupStep::CheckChosenFolder, FailureReason::TooLong, "D:\\long\\orna_remote.ini");
    tooLong.number = 262;
    tooLong.limit = 259;
    EXPECT_EQ(DescribeFailure(tooLong, Telling::Window),
              "初期設定を中止しました。\n\nパス D:\\long\\orna_remote.ini は使用できません。\n"
              "理由: 262 文字です (上限は 259 文字)\n\n設定は何も変更していません。\n"
              "フォルダを確かめてから、もう一度 [完了] を押してください。");
    SetupFailure started = CallFailed(SetupStep::RunInstaller, "C:\\i.exe", {});
    started.reason = FailureReason::ExitCode;
    started.number = 5;
    started.left = LeftBehind::SettingsKept;
    started.programsStarted = 2;
    EXPECT_EQ(DescribeFailure(started, Telling::Window),
              "初期設定を中止しました。\n\nサービスインストーラ C:\\i.exe が失敗しました。\n理由: 終了コード 5\n\n"
              "書き込んだ設定はそのままです (バッチファイルが既に使っている可能性があるため、元に戻していません)。\n"
              "バッチファイルは起動済みです。\nサービスインストーラは起動済みです。");
    SetupFailure partly = CallFailed(SetupStep::WriteAnswerFile, "C:\\app\\yes.txt", {"CreateFileW", 32});
    partly.left = LeftBehind::PartlyPutBack;
    partly.leftChanged = {
        {{RestorationKind::RestoreFile, "D:\\orna_remote.ini", "", "", "[FILE]\r\nLOGIN = \"C:\\old\""}, CallFailure{"ReplaceFileW", 32}},
        {{RestorationKind::RestoreLine, "C:\\win.ini", "ORNA", "CGI", "CGI=D:\\old"}, std::nullopt},
        {{RestorationKind::RemoveFile, "D:\\new.ini", "", "", ""}, CallFailure{"DeleteFileW", 5}}};
    EXPECT_TRUE(DescribeFailure(partly, Telling::Unattended)
                    .ends_with("次の変更は元に戻せませんでした。手作業で元に戻してください。\n"
                               "・D:\\orna_remote.ini を実行前の内容に戻してください (理由: (32))\n"
                               "    [FILE]\n    LOGIN = \"C:\\old\"\n"
                               "・C:\\win.ini の [ORNA] CGI の行を実行前の「CGI=D:\\old」に戻してください"
                               " (理由: 読み直した内容が実行前と一致しません)\n"
                               "・D:\\new.ini は実行前にはありませんでした。削除してください (理由: (5))"))
        << DescribeFailure(partly, Telling::Unattended);
    SetupFailure unread = CallFailed(SetupStep::ReadProfileFile, "C:\\Windows\\win.ini", {"CreateFileW", 32});
    EXPECT_EQ(DescribeFailure(unread, Telling::Verify),
              "設定済みかどうかを確かめられませんでした。\n\nC:\\Windows\\win.ini を読み取れませんでした。\n理由: (32)");
}

}  // namespace
}  // namespace selvane
