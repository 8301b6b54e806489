#include "setup/setup_run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "fake_setup_platform.h"

namespace selvane {
namespace {

using testing::FakeSetupPlatform;

// What the run told its observer, one line an event.
class Recorder : public SetupObserver {
public:
    void SettingWritten(const ProfileWrite& write, const std::optional<std::string>& before,
                        const Effect& effect) override {
        lines.push_back(State(effect) + " " + write.key + (before ? " was " + *before : ""));
    }
    void AnswerFileWritten(const std::string&, const Effect& effect) override {
        lines.push_back(State(effect) + " answer");
    }
    void ProgramStarted(const std::string& commandLine, const std::string&, unsigned long,
                        const Effect& effect) override {
        lines.push_back(State(effect) + " start " + commandLine);
    }
    void ProgramEnded(const std::string& program, unsigned long exitCode) override {
        lines.push_back("ended " + program + " " + std::to_string(exitCode));
    }
    std::vector<std::string> lines;

private:
    static std::string State(const Effect& effect) {
        return effect.state == EffectState::Done ? "done" : effect.state == EffectState::Failed ? "failed" : "planned";
    }
};

constexpr char kBatchCommand[] = "\"C:\\Windows\\system32\\cmd.exe\" /d /s /c \"\"C:\\app\\acl.bat\"\"";
constexpr char kInstallerCommand[] = "\"C:\\app\\service\\install.exe\"";

SetupRequest Request(const std::string& box = "D:\\pkg\\", bool wait = false, bool whatIf = false,
                     const std::string& appFolder = "C:\\app") {
    SetupRequest request;
    request.folderBoxText = box;
    request.appFolder = appFolder;
    request.waitForPrograms = wait;
    request.whatIf = whatIf;
    return request;
}

std::vector<std::string> SettingsEffects(const std::string& box) {
    std::vector<std::string> effects;
    for (const auto& w : SettingsWrites(box, "C:\\app", "C:\\Windows")) {
        effects.push_back("ini " + w.file + " [" + w.section + "] " + w.key + "=" + w.value);
    }
    return effects;
}

TEST(SetupRun, WritesTheSettingsThenStartsBothProgramsInOrder) {
    FakeSetupPlatform platform;
    Recorder recorder;
    EXPECT_FALSE(RunSetup(platform, Request(), recorder));
    auto expected = SettingsEffects("D:\\pkg\\");
    expected.insert(expected.end(), {
        "write C:\\app\\yes.txt",
        std::string("start ") + kBatchCommand + " | in E:\\started-here",
        "cd C:\\app\\service",
        std::string("start ") + kInstallerCommand + " | in C:\\app\\service",
        "cd C:\\app",
    });
    EXPECT_EQ(platform.effects, expected);
    EXPECT_EQ(platform.written["C:\\app\\yes.txt"], "y\r\n");
    EXPECT_EQ(recorder.lines.size(), 15u);
}

TEST(SetupRun, EveryCheckFailsBeforeAnythingIsChanged) {
    struct Case {
        const char* what;
        std::function<void(FakeSetupPlatform&)> arrange;
        std::string box;
        std::string appFolder;
        SetupStep step;
        FailureReason reason;
        std::string subject;
    };
    const auto none = [](FakeSetupPlatform&) {};
    const std::string tooLong = "D:\\" + std::string(241, 'k');  // its settings file: 260 characters
    const Case cases[] = {
        {"an empty box", none, "", "C:\\app", SetupStep::ReadFolderBox, FailureReason::Empty, ""},
        {"no acl.bat", [](auto& p) { p.files.erase("C:\\app\\acl.bat"); }, "D:\\pkg", "C:\\app",
         SetupStep::CheckBatchFile, FailureReason::Missing, "C:\\app\\acl.bat"},
        {"a folder for acl.bat", [](auto& p) { p.files.erase("C:\\app\\acl.bat"); p.folders.insert("C:\\app\\acl.bat"); },
         "D:\\pkg", "C:\\app", SetupStep::CheckBatchFile, FailureReason::IsFolder, "C:\\app\\acl.bat"},
        {"no service folder", [](auto& p) { p.folders.erase("C:\\app\\service"); }, "D:\\pkg", "C:\\app",
         SetupStep::CheckServiceFolder, FailureReason::Missing, "C:\\app\\service"},
        {"a file for the service folder", [](auto& p) { p.folders.erase("C:\\app\\service"); p.files.insert("C:\\app\\service"); },
         "D:\\pkg", "C:\\app", SetupStep::CheckServiceFolder, FailureReason::NotFolder, "C:\\app\\service"},
        {"no installer", [](auto& p) { p.files.erase("C:\\app\\service\\install.exe"); }, "D:\\pkg", "C:\\app",
         SetupStep::CheckInstaller, FailureReason::Missing, "C:\\app\\service\\install.exe"},
        {"'%' in the application folder", none, "D:\\pkg", "C:\\100%", SetupStep::CheckBatchFile,
         FailureReason::UnsafeCharacter, "C:\\100%\\acl.bat"},
        {"a character the code page lacks", none, "D:\\caf\xC3\xA9", "C:\\app", SetupStep::CheckText,
         FailureReason::NotInCodePage, "D:\\caf\xC3\xA9\\orna_remote.ini"},
        {"a settings file path too long", none, tooLong, "C:\\app", SetupStep::CheckPathLength, FailureReason::TooLong,
         tooLong + "\\orna_remote.ini"},
        {"an installer Windows cannot start", [](auto& p) { p.notPrograms.insert("C:\\app\\service\\install.exe"); },
         "D:\\pkg", "C:\\app", SetupStep::CheckInstaller, FailureReason::NotAProgram, "C:\\app\\service\\install.exe"},
        {"a folder for the answer file", [](auto& p) { p.folders.insert("C:\\app\\yes.txt"); }, "D:\\pkg", "C:\\app",
         SetupStep::CheckAnswerFile, FailureReason::IsFolder, "C:\\app\\yes.txt"},
        {"a win.ini that cannot be read", [](auto& p) { p.unreadable.insert("C:\\Windows\\win.ini"); }, "D:\\pkg",
         "C:\\app", SetupStep::ReadSettings, FailureReason::System, "C:\\Windows\\win.ini"},
        {"an answer file that cannot be read", [](auto& p) { p.unreadable.insert("C:\\app\\yes.txt"); }, "D:\\pkg",
         "C:\\app", SetupStep::ReadSettings, FailureReason::System, "C:\\app\\yes.txt"},
    };
    for (const auto& c : cases) {
        FakeSetupPlatform platform;
        c.arrange(platform);
        Recorder recorder;
        // In a run and in a what-if run alike.
        for (const bool whatIf : {false, true}) {
            const auto failure = RunSetup(platform, Request(c.box, false, whatIf, c.appFolder), recorder);
            ASSERT_TRUE(failure) << c.what;
            EXPECT_EQ(failure->step, c.step) << c.what;
            EXPECT_EQ(failure->reason, c.reason) << c.what;
            EXPECT_EQ(failure->subject, c.subject) << c.what;
            EXPECT_EQ(failure->state, ServerState::Unchanged) << c.what;
            EXPECT_TRUE(platform.effects.empty()) << c.what;
            EXPECT_TRUE(recorder.lines.empty()) << c.what;
        }
    }
}

TEST(SetupRun, TheLogIsNoneOfTheRunsFiles) {
    for (const char* log : {"c:\\windows\\WIN.INI", "D:\\pkg\\orna_remote.ini", "C:\\app\\acl.bat", "C:\\app\\yes.txt",
                            "C:\\app\\service\\install.exe", "C:\\app\\ORNA.mdb", "C:\\app\\selvane-init.exe"}) {
        FakeSetupPlatform platform;
        Recorder recorder;
        SetupRequest request = Request();
        request.logFile = log;
        request.programFile = "C:\\app\\selvane-init.exe";
        const auto failure = RunSetup(platform, request, recorder);
        ASSERT_TRUE(failure) << log;
        EXPECT_EQ(failure->reason, FailureReason::IsRunFile) << log;
        EXPECT_TRUE(platform.effects.empty()) << log;
    }
}

TEST(SetupRun, PathLengthLimitCountsCharactersNotBytes) {
    const std::string longest = "D:\\" + std::string(240, 'k');  // its settings file: 259 characters
    std::string japanese = "D:\\";
    for (int i = 0; i < 240; ++i) japanese += "\xE8\xA3\xBD";  // 製: three bytes, one character
    for (const std::string& box : {longest, japanese}) {
        FakeSetupPlatform platform;
        Recorder recorder;
        EXPECT_FALSE(RunSetup(platform, Request(box), recorder)) << box.size() << " bytes";
    }
    FakeSetupPlatform platform;
    Recorder recorder;
    const auto failure = RunSetup(platform, Request(longest + "k"), recorder);
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->length, 260u);
    EXPECT_EQ(failure->limit, 259u);
}

TEST(SetupRun, HiddenFilesAreThere) {
    // acl.bat may be hidden: Windows starts it all the same.
    FakeSetupPlatform platform;
    platform.hidden.insert("C:\\app\\acl.bat");
    // An answer file an earlier run left hidden is made plain, then replaced.
    platform.files.insert("C:\\app\\yes.txt");
    platform.hidden.insert("C:\\app\\yes.txt");
    Recorder recorder;
    EXPECT_FALSE(RunSetup(platform, Request(), recorder));
    const auto plain = std::find(platform.effects.begin(), platform.effects.end(), "plain C:\\app\\yes.txt");
    ASSERT_NE(plain, platform.effects.end());
    EXPECT_EQ(*(plain + 1), "write C:\\app\\yes.txt");
    EXPECT_EQ(platform.eventRounds, 0) << "the answer file was seen at once";
}

TEST(SetupRun, WaitForTheAnswerFileProcessesEventsThenGivesUp) {
    FakeSetupPlatform seenLate;
    seenLate.stillHiddenFor = 4;
    Recorder recorder;
    EXPECT_FALSE(RunSetup(seenLate, Request(), recorder));
    EXPECT_EQ(seenLate.eventRounds, 3);
    EXPECT_EQ(seenLate.clock.time_since_epoch(), 3 * kAnswerFilePoll);

    FakeSetupPlatform neverSeen;
    neverSeen.stillHiddenFor = 1'000'000;
    const auto failure = RunSetup(neverSeen, Request(), recorder);
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->step, SetupStep::FindAnswerFile);
    EXPECT_GE(neverSeen.clock.time_since_epoch(), kAnswerFileWait);
    EXPECT_LT(neverSeen.clock.time_since_epoch(), kAnswerFileWait + 2 * kAnswerFilePoll);
    EXPECT_TRUE(std::none_of(neverSeen.effects.begin(), neverSeen.effects.end(),
                             [](const std::string& e) { return e.starts_with("start "); }))
        << "nothing was started";
}

// Before acl.bat has started, what a run changed is put back, last change
// first; the files hold what they held before.
TEST(SetupRun, PutsBackWhatItChangedWhateverStoodThereBefore) {
    const std::string orna = "D:\\pkg\\orna_remote.ini";
    const std::string win = "C:\\Windows\\win.ini";
    struct Case {
        const char* what;
        std::function<void(FakeSetupPlatform&)> arrange;
        std::vector<std::string> putBack;  // the effects after the failed one
    };
    const Case cases[] = {
        {"nothing there before; the answer file never seen",
         [](FakeSetupPlatform& p) { p.stillHiddenFor = 1'000'000; },
         {"remove C:\\app\\yes.txt", "delete " + win + " [ORNA]", "remove " + orna}},
        {"a key with a value, one empty, one missing, a missing section, a replaced answer file; acl.bat refused",
         [&](FakeSetupPlatform& p) {
             p.ini[orna] = {{"FILE", {{"LOGIN", "old"}, {"DB", ""}}}, {"OWN", {{"X", "1"}}}};
             p.ini[win]["ORNA"] = {{"BASIC", "C:\\before"}};
             p.files.insert("C:\\app\\yes.txt");
             p.written["C:\\app\\yes.txt"] = "n\r\n";
             p.failing.insert("start C:\\Windows\\system32\\cmd.exe");
         },
         {"restore C:\\app\\yes.txt", "delete " + win + " [ORNA] CGI", "ini " + win + " [ORNA] BASIC=C:\\before",
          "delete " + orna + " [SERVICE]", "delete " + orna + " [FILE] BACKUP", "ini " + orna + " [FILE] DB=",
          "ini " + orna + " [FILE] LOGIN=old"}},
    };
    for (const auto& c : cases) {
        FakeSetupPlatform platform;
        c.arrange(platform);
        const auto iniBefore = platform.ini;
        const auto writtenBefore = platform.written;
        Recorder recorder;
        const auto failure = RunSetup(platform, Request(), recorder);
        ASSERT_TRUE(failure) << c.what;
        EXPECT_EQ(failure->state, ServerState::PutBack) << c.what;
        EXPECT_EQ(std::vector<std::string>(platform.effects.end() - static_cast<long>(c.putBack.size()),
                                           platform.effects.end()),
                  c.putBack)
            << c.what;
        EXPECT_EQ(platform.ini, iniBefore) << c.what;
        EXPECT_EQ(platform.written, writtenBefore) << c.what;
    }
}

TEST(SetupRun, WhatCouldNotBePutBackIsNamedWithItsValueBefore) {
    FakeSetupPlatform platform;
    platform.ini["D:\\pkg\\orna_remote.ini"] = {{"FILE", {{"LOGIN", "old"}}}};
    platform.failing = {"write", "ini D:\\pkg\\orna_remote.ini [FILE] LOGIN=old", "delete C:\\Windows\\win.ini"};
    Recorder recorder;
    const auto failure = RunSetup(platform, Request(), recorder);
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->step, SetupStep::WriteAnswerFile);
    EXPECT_EQ(failure->state, ServerState::PartlyPutBack);
    ASSERT_EQ(failure->leftChanged.size(), 2u);
    EXPECT_EQ(failure->leftChanged[0].restoration.kind, RestorationKind::DeleteSection);
    EXPECT_EQ(failure->leftChanged[0].restoration.section, "ORNA");
    EXPECT_EQ(failure->leftChanged[1].restoration.kind, RestorationKind::RestoreValue);
    EXPECT_EQ(failure->leftChanged[1].restoration.value, "old");
    EXPECT_EQ(failure->leftChanged[1].reason, "refused");
}

TEST(SetupRun, OnceAclBatHasStartedNothingIsPutBack) {
    FakeSetupPlatform platform;
    platform.failing.insert("cd C:\\app\\service");
    Recorder recorder;
    const auto failure = RunSetup(platform, Request(), recorder);
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->state, ServerState::SettingsKept);
    EXPECT_EQ(platform.effects.back(), "cd C:\\app\\service");
    EXPECT_EQ(platform.ini["D:\\pkg\\orna_remote.ini"]["FILE"]["LOGIN"], "C:\\app");
}

TEST(SetupRun, AFailedEffectStopsTheRunThere) {
    struct Case {
        std::string failing;
        SetupStep step;
        std::string subject;
        std::string lastEffect;
    };
    const Case cases[] = {
        {"ini C:\\Windows\\win.ini", SetupStep::WriteSettings, "C:\\Windows\\win.ini",
         "ini C:\\Windows\\win.ini [ORNA] BASIC=C:\\app"},
        {"write", SetupStep::WriteAnswerFile, "C:\\app\\yes.txt", "write C:\\app\\yes.txt"},
        {"start C:\\Windows\\system32\\cmd.exe", SetupStep::StartBatchFile, "C:\\app\\acl.bat",
         std::string("start ") + kBatchCommand + " | in E:\\started-here"},
        {"cd C:\\app\\service", SetupStep::EnterServiceFolder, "C:\\app\\service", "cd C:\\app\\service"},
        {"start C:\\app\\service\\install.exe", SetupStep::StartInstaller, "C:\\app\\service\\install.exe",
         std::string("start ") + kInstallerCommand + " | in C:\\app\\service"},
    };
    for (const auto& c : cases) {
        FakeSetupPlatform platform;
        platform.failing.insert(c.failing);
        Recorder recorder;
        const auto failure = RunSetup(platform, Request(), recorder);
        ASSERT_TRUE(failure) << c.failing;
        EXPECT_EQ(failure->step, c.step) << c.failing;
        EXPECT_EQ(failure->subject, c.subject) << c.failing;
        EXPECT_EQ(failure->systemText, "refused") << c.failing;
        // Only putting back follows the failed effect.
        const auto failed = std::find(platform.effects.begin(), platform.effects.end(), c.lastEffect);
        ASSERT_NE(failed, platform.effects.end()) << c.failing;
        EXPECT_TRUE(std::none_of(failed + 1, platform.effects.end(), [](const std::string& e) {
            return e.starts_with("start ") || e.starts_with("cd ") || e.starts_with("write ");
        })) << c.failing;
    }
}

TEST(SetupRun, WhatIfChecksEverythingAndChangesNothing) {
    FakeSetupPlatform platform;
    Recorder recorder;
    EXPECT_FALSE(RunSetup(platform, Request("D:\\pkg", false, true), recorder));
    EXPECT_TRUE(platform.effects.empty());
    ASSERT_EQ(recorder.lines.size(), 15u);
    EXPECT_EQ(recorder.lines[0], "planned LOGIN");
    EXPECT_EQ(recorder.lines[12], "planned answer");
    EXPECT_EQ(recorder.lines[13], std::string("planned start ") + kBatchCommand);
    EXPECT_EQ(recorder.lines[14], std::string("planned start ") + kInstallerCommand);

    platform.files.erase("C:\\app\\service\\install.exe");
    const auto failure = RunSetup(platform, Request("D:\\pkg", false, true), recorder);
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->step, SetupStep::CheckInstaller);
}

TEST(SetupRun, WaitingCollectsExitCodesAndANonZeroOneFails) {
    FakeSetupPlatform platform;
    Recorder recorder;
    EXPECT_FALSE(RunSetup(platform, Request("D:\\pkg", true, false), recorder));
    EXPECT_EQ(platform.effects[14], "wait 100");
    EXPECT_EQ(platform.effects.back(), "wait 101");
    EXPECT_EQ(recorder.lines.back(), "ended C:\\app\\service\\install.exe 0");

    FakeSetupPlatform failingBatch;
    failingBatch.exitCodeOf["C:\\Windows\\system32\\cmd.exe"] = 2;
    auto failure = RunSetup(failingBatch, Request("D:\\pkg", true, false), recorder);
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->step, SetupStep::RunBatchFile);
    EXPECT_EQ(failure->exitCode, 2u);
    EXPECT_EQ(failingBatch.effects.back(), "wait 100") << "the installer was not started";

    FakeSetupPlatform failingInstaller;
    failingInstaller.exitCodeOf["C:\\app\\service\\install.exe"] = 3;
    failure = RunSetup(failingInstaller, Request("D:\\pkg", true, false), recorder);
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->step, SetupStep::RunInstaller);
    EXPECT_EQ(failure->reason, FailureReason::ExitCode);
    EXPECT_EQ(failure->exitCode, 3u);
}

}  // namespace
}  // namespace selvane
