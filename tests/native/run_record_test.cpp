// The record of each run that detection reads, on a fake system: what a
// run records, what /VERIFY makes of it, and what the next start does with
// a run that was cut off.
#include <gtest/gtest.h>

#include "app/program_names.h"
#include "app/unattended.h"
#include "fake_setup_platform.h"

namespace selvane {
namespace {

using testing::FakeRecordStore;
using testing::FakeSetupPlatform;

class RunRecord : public ::testing::Test {
public:  // the cases below arrange it through lambdas
    RunEvent Run(RunMode mode, bool wait = false) {
        testing::FakeRecords records(
            AppLog(std::make_unique<testing::TextSink>(logText), [] { return LogTime{2026, 12, 9, 9, 5, 3, 42}; }, 4012));
        records.store = &store;
        Switches switches;
        switches.mode = mode;
        switches.dir = "D:\\pkg";
        switches.wait = wait;
        return RunUnattended(switches, false, {2, {}}, platform, records);
    }
    bool Logged(const std::string& text) const { return logText.find(text) != std::string::npos; }

    FakeSetupPlatform platform;
    FakeRecordStore store;
    std::string logText;
};

TEST_F(RunRecord, SaysHowEachRunEnded) {
    struct Case {
        const char* what;
        std::function<void(RunRecord&)> arrange;
        bool wait;
        // The record's values after the run; "(none)" for a value not there.
        const char *state, *exitCode, *failedStep, *restart, *batchFile, *installer;
    };
    const auto installerEnds = [](unsigned long code) {
        return [code](RunRecord& t) { t.platform.exitCodeOf["C:\\app\\service\\install.exe"] = code; };
    };
    const Case cases[] = {
        {"a run that does not wait", [](RunRecord&) {}, false, "completed", "0", "(none)", "0", "started", "started"},
        {"a run that waits", installerEnds(0), true, "completed", "0", "(none)", "0", "0", "0"},
        {"an installer asking for a restart", installerEnds(3010), true, "completed", "3010", "(none)", "1", "0", "3010"},
        {"an installer that fails", installerEnds(1603), true, "failed", "1603", "RunInstaller", "0", "0", "1603"},
        {"the installer not started", [](RunRecord& t) { t.platform.failing.insert("start C:\\app\\service\\install.exe"); },
         false, "failed", "1603", "StartInstaller", "0", "started", "(none)"},
        {"a write that fails, put back",
         [](RunRecord& t) {
             t.platform.files["D:\\pkg\\orna_remote.ini"] = {"[FILE]\r\nLOGIN=C:\\old\r\n", 0};
             t.platform.failing.insert("ini C:\\Windows\\win.ini");
         },
         false, "failed", "1603", "WriteProfileFile", "0", "(none)", "(none)"},
    };
    for (const auto& c : cases) {
        platform = FakeSetupPlatform{};
        store = FakeRecordStore{};
        c.arrange(*this);
        Run(RunMode::Unattended, c.wait);
        ASSERT_FALSE(store.writes.empty()) << c.what;
        // Before the first write: in progress, as the first value, with the run's folder and stamp.
        const RecordValues& begun = store.writes.front();
        EXPECT_EQ(begun.front(), (std::pair<std::string, std::string>{"State", "in progress"})) << c.what;
        EXPECT_EQ(store.ValueOf("KevaFolder"), "D:\\pkg") << c.what;
        EXPECT_EQ(store.ValueOf("ProcessId"), "4012") << c.what;
        // At the end: how it ended, the state last.
        EXPECT_EQ(store.record->back().first, "State") << c.what;
        EXPECT_EQ(store.ValueOf("State"), c.state) << c.what;
        EXPECT_EQ(store.ValueOf("ExitCode"), c.exitCode) << c.what;
        EXPECT_EQ(store.ValueOf("FailedStep"), c.failedStep) << c.what;
        EXPECT_EQ(store.ValueOf("RestartRequested"), c.restart) << c.what;
        EXPECT_EQ(store.ValueOf("BatchFile"), c.batchFile) << c.what;
        EXPECT_EQ(store.ValueOf("Installer"), c.installer) << c.what;
        EXPECT_EQ(store.ValueOf("Copies"), "(none)") << c.what << ": every copy is gone at the end";
        // So is the answer file's new file, until it has taken the answer file's place.
        const std::pair<std::string, std::string> answer{"Copies", "new C:\\app\\yes.txt|C:\\app\\yes.txt~"};
        const bool recorded = std::any_of(store.writes.begin(), store.writes.end(), [&](const RecordValues& values) {
            return std::find(values.begin(), values.end(), answer) != values.end();
        });
        EXPECT_EQ(recorded, std::string(c.failedStep) != "WriteProfileFile") << c.what;
    }
    // The put-back's copies are on record while they stand.
    EXPECT_TRUE(std::any_of(store.writes.begin(), store.writes.end(), [](const RecordValues& values) {
        return std::find(values.begin(), values.end(),
                         std::pair<std::string, std::string>{"Copies", "copy of D:\\pkg\\orna_remote.ini|D:\\pkg\\orna_remote.ini~"}) !=
               values.end();
    }));
}

// A run refused before its first write, and one that only says what it
// would do, leave the last run's record as it was.
TEST_F(RunRecord, IsLeftAsItWasByARunThatWritesNothing) {
    const RecordValues last = {{"KevaFolder", "D:\\pkg"}, {"ExitCode", "0"}, {"State", "completed"}};
    for (const bool refused : {true, false}) {
        platform = FakeSetupPlatform{};
        store.record = last;
        if (refused) platform.files.erase("C:\\app\\acl.bat");
        EXPECT_EQ(Run(refused ? RunMode::Unattended : RunMode::WhatIf).exitCode, refused ? 1603 : 0);
        EXPECT_TRUE(store.writes.empty()) << refused;
        EXPECT_EQ(store.record, last) << refused;
    }
}

TEST_F(RunRecord, ThatCannotBeWrittenIsLoggedAndFailsNoRun) {
    store.failing = true;
    EXPECT_EQ(Run(RunMode::Unattended).exitCode, 0);
    EXPECT_TRUE(Logged("WARN 実行の記録を書き込めませんでした: RegSetValueExW: (5)")) << logText;
}

// The twelve entries hold in every case: the record decides.
TEST_F(RunRecord, DecidesWithTheEntriesWhatVerifySays) {
    const auto record = [](const char* folder, const char* state, const char* exitCode, const char* step) {
        RecordValues values = {{"KevaFolder", folder}, {"Started", "2026-12-08 10:00:00"}, {"ExitCode", exitCode}};
        if (*step) values.emplace_back("FailedStep", step);
        values.emplace_back("State", state);
        return std::optional<RecordValues>(values);
    };
    struct Case {
        const char* what;
        std::optional<RecordValues> record;
        int exitCode;
        std::string logged;
    };
    const Case cases[] = {
        {"no record (set up before records, or by hand)", std::nullopt, 0, "INFO 実行の記録がありません"},
        {"completed", record("D:\\pkg", "completed", "0", ""), 0, "INFO 前回の初期設定は完了しています (終了コード 0)"},
        {"completed, with a restart", record("d:\\PKG\\", "completed", "3010", ""), 0, "(終了コード 3010)"},
        {"another folder's", record("E:\\other", "completed", "0", ""), 0, "別の KEVA のフォルダ E:\\other"},
        {"failed", record("D:\\pkg", "failed", "1603", "RunInstaller"), 1,
         "INFO 前回の初期設定は失敗しました (終了コード 1603、失敗した手順 RunInstaller)。"},
        {"cut off", record("D:\\pkg", "in progress", "", ""), 1, "2026-12-08 10:00:00 に開始"},
    };
    for (const auto& c : cases) {
        Run(RunMode::Unattended);  // sets the server up
        store.writes.clear();
        store.record = c.record;
        logText.clear();
        EXPECT_EQ(Run(RunMode::Verify).exitCode, c.exitCode) << c.what;
        EXPECT_TRUE(Logged(c.logged)) << c.what << "\n" << logText;
        EXPECT_TRUE(store.writes.empty()) << c.what << ": /VERIFY records nothing";
    }
}

// A run cut off (a restart, a time limit) leaves "in progress" and perhaps a
// put-back copy: the next start says so, removes the copies that are still
// the run's own, and runs as usual.
TEST_F(RunRecord, OfARunCutOffIsFoundAtTheNextStart) {
    const std::string ours = "D:\\pkg\\orna_remote.in~";
    const std::string replaced = "C:\\Windows\\win.in~";  // another file stands there now
    const std::string denied = "C:\\app\\yes.tx~";
    store.record = RecordValues{{"State", "in progress"},
                                {"Copies", "id-1|" + ours + "|id-2|" + replaced + "|id-4|" + denied},
                                {"KevaFolder", "D:\\pkg"},
                                {"Started", "2026-12-08 10:00:00"}};
    for (const auto& path : {ours, replaced}) platform.files[path] = {"saved", 0};
    platform.identities = {{ours, "id-1"}, {replaced, "id-3"}, {denied, "id-4"}};
    platform.files[denied] = {"y\r\n", 0};
    platform.failing.insert("remove " + denied);
    EXPECT_EQ(Run(RunMode::Verify).exitCode, 1);
    EXPECT_EQ(platform.files.count(ours), 1u) << "/VERIFY changes nothing";

    const RunEvent event = Run(RunMode::Unattended);
    const std::string told =
        "前回の初期設定 (2026-12-08 10:00:00 に開始、KEVA のフォルダ D:\\pkg) は途中で中断されました。今回の実行で設定し直してください。";
    EXPECT_TRUE(Logged("WARN " + told)) << logText;
    EXPECT_EQ(event.outcome, told + " 初期設定が完了しました。");
    EXPECT_EQ(platform.files.count(ours), 0u);
    EXPECT_TRUE(Logged("中断された実行が残した " + ours + " を削除しました。"));
    EXPECT_EQ(platform.files.count(replaced), 1u) << "a file of the same name, but not the one the run made";
    EXPECT_TRUE(Logged(replaced + " は中断された実行が残したファイルではないため、そのままにしました。"));
    EXPECT_TRUE(Logged("WARN 中断された実行が残した " + denied + " を削除できませんでした: SetFileInformationByHandle: (5)"))
        << logText;
    EXPECT_EQ(store.ValueOf("State"), "completed");
    EXPECT_EQ(Run(RunMode::Verify).exitCode, 0);
}

// Two logon sessions (Remote Desktop, a deployment tool's session 0) cannot
// be made under Wine: the name is what makes the mutex one for the machine.
TEST(InstanceMutex, IsOneForTheWholeMachine) {
    EXPECT_EQ(std::string_view(kInstanceMutexName), "Global\\Selvane.InitialSetup");
}

}  // namespace
}  // namespace selvane
