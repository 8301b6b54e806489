#include "setup/setup_run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <set>
#include <tuple>

#include "app/failure_text.h"
#include "fake_setup_platform.h"

namespace selvane {
namespace {

using testing::FakeSetupPlatform;
using namespace testing;  // the descriptors' accounts, rights and builders

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
    void ChangedMeanwhile(const std::string& file) override { lines.push_back("changed meanwhile " + file); }
    void WaitedForHold(const std::string& file, std::chrono::milliseconds waited, bool released) override {
        lines.push_back((released ? "waited " : "gave up ") + std::to_string(waited.count()) + " ms for " + file);
    }
    void RestorationMade(const Restoration& restoration, const Effect& effect) override {
        lines.push_back(State(effect) + " put back " + restoration.file);
    }
    std::vector<std::string> lines;

private:
    static std::string State(const Effect& effect) {
        return effect.state == EffectState::Done ? "done" : effect.state == EffectState::Failed ? "failed" : "planned";
    }
};

constexpr char kOrna[] = "D:\\pkg\\orna_remote.ini";
constexpr char kWinIni[] = "C:\\Windows\\win.ini";
constexpr char kAnswer[] = "C:\\app\\yes.txt";
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

TEST(SetupRun, WritesTheSettingsThenStartsBothProgramsInOrder) {
    FakeSetupPlatform platform;
    Recorder recorder;
    EXPECT_FALSE(RunSetup(platform, Request(), recorder).failure);
    const std::vector<std::string> expected = {
        "ini D:\\pkg\\orna_remote.ini [FILE] LOGIN=C:\\app",
        "ini D:\\pkg\\orna_remote.ini [FILE] DB=C:\\app",
        "ini D:\\pkg\\orna_remote.ini [FILE] BACKUP=C:\\app\\BACKUP",
        "ini D:\\pkg\\orna_remote.ini [SERVICE] DNS_SERVICE=0",
        "ini D:\\pkg\\orna_remote.ini [SERVICE] WEB_SERVICE=0",
        "ini D:\\pkg\\orna_remote.ini [SERVICE] POP3_SERVICE=0",
        "ini D:\\pkg\\orna_remote.ini [SERVICE] SMTP_SERVICE=0",
        "ini D:\\pkg\\orna_remote.ini [SERVICE] FTP_SERVICE=0",
        "ini D:\\pkg\\orna_remote.ini [SERVICE] OS=0",
        "ini D:\\pkg\\orna_remote.ini [SERVICE] OPTIMIZE=0",
        "ini C:\\Windows\\win.ini [ORNA] BASIC=C:\\app",
        "ini C:\\Windows\\win.ini [ORNA] CGI=D:\\pkg",
        "write C:\\app\\yes.txt",
        std::string("start ") + kBatchCommand + " | in E:\\started-here",
        std::string("start ") + kInstallerCommand + " | in C:\\app\\service",
    };
    EXPECT_EQ(platform.effects, expected);
    EXPECT_EQ(platform.files[kAnswer].bytes, "y\r\n");
    EXPECT_EQ(platform.files[kWinIni].bytes, "[windows]\r\nload=\r\n[ORNA]\r\nBASIC=C:\\app\r\nCGI=D:\\pkg\r\n");
    EXPECT_EQ(recorder.lines.size(), 15u);
    EXPECT_EQ(platform.cwd, "E:\\started-here") << "the run changes no current directory";
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
    const std::string longApp = "C:\\" + std::string(256, 'a');  // 259 characters, past the 258 of a folder made current
    const Case cases[] = {
        {"an empty box", none, "", "C:\\app", SetupStep::ReadFolderBox, FailureReason::Empty, ""},
        {"no acl.bat", [](auto& p) { p.files.erase("C:\\app\\acl.bat"); }, "D:\\pkg", "C:\\app",
         SetupStep::CheckBatchFile, FailureReason::System, "C:\\app\\acl.bat"},
        {"a folder for acl.bat", [](auto& p) { p.files.erase("C:\\app\\acl.bat"); p.folders.insert("C:\\app\\acl.bat"); },
         "D:\\pkg", "C:\\app", SetupStep::CheckBatchFile, FailureReason::IsFolder, "C:\\app\\acl.bat"},
        {"no service folder", [](auto& p) { p.folders.erase("C:\\app\\service"); }, "D:\\pkg", "C:\\app",
         SetupStep::CheckServiceFolder, FailureReason::System, "C:\\app\\service"},
        {"a file for the service folder", [](auto& p) { p.folders.erase("C:\\app\\service"); p.files["C:\\app\\service"]; },
         "D:\\pkg", "C:\\app", SetupStep::CheckServiceFolder, FailureReason::NotFolder, "C:\\app\\service"},
        {"no installer", [](auto& p) { p.files.erase("C:\\app\\service\\install.exe"); }, "D:\\pkg", "C:\\app",
         SetupStep::CheckInstaller, FailureReason::System, "C:\\app\\service\\install.exe"},
        {"'%' in the application folder", none, "D:\\pkg", "C:\\100%", SetupStep::CheckBatchFile,
         FailureReason::UnsafeCharacter, "C:\\100%\\acl.bat"},
        {"a folder the code page lacks", none, "D:\\caf\xC3\xA9", "C:\\app", SetupStep::CheckChosenFolder,
         FailureReason::NotInCodePage, "D:\\caf\xC3\xA9\\orna_remote.ini"},
        {"a settings file path too long", none, tooLong, "C:\\app", SetupStep::CheckChosenFolder, FailureReason::TooLong,
         tooLong + "\\orna_remote.ini"},
        {"a program folder the code page lacks", none, "D:\\pkg", "C:\\caf\xC3\xA9", SetupStep::CheckProductFolder,
         FailureReason::NotInCodePage, "C:\\caf\xC3\xA9"},
        {"a program folder too long", none, "D:\\pkg", longApp, SetupStep::CheckProductFolder, FailureReason::TooLong,
         longApp},
        {"an installer Windows cannot start", [](auto& p) { p.notPrograms.insert("C:\\app\\service\\install.exe"); },
         "D:\\pkg", "C:\\app", SetupStep::CheckInstaller, FailureReason::NotAProgram, "C:\\app\\service\\install.exe"},
        {"a folder for orna_remote.ini", [](auto& p) { p.folders.insert(kOrna); }, "D:\\pkg", "C:\\app",
         SetupStep::ReadSettingsFile, FailureReason::IsFolder, kOrna},
        {"a folder for the answer file", [](auto& p) { p.folders.insert(kAnswer); }, "D:\\pkg", "C:\\app",
         SetupStep::ReadAnswerFile, FailureReason::IsFolder, kAnswer},
        {"an orna_remote.ini that cannot be read", [](auto& p) { p.files[kOrna]; p.unreadable.insert(kOrna); }, "D:\\pkg",
         "C:\\app", SetupStep::ReadSettingsFile, FailureReason::System, kOrna},
        {"a win.ini that cannot be read", [](auto& p) { p.unreadable.insert(kWinIni); }, "D:\\pkg", "C:\\app",
         SetupStep::ReadProfileFile, FailureReason::System, kWinIni},
        {"an answer file that cannot be read", [](auto& p) { p.unreadable.insert(kAnswer); }, "D:\\pkg", "C:\\app",
         SetupStep::ReadAnswerFile, FailureReason::System, kAnswer},
    };
    for (const auto& c : cases) {
        FakeSetupPlatform platform;
        c.arrange(platform);
        const auto filesBefore = platform.files;
        Recorder recorder;
        // In a run and in a what-if run alike.
        for (const bool whatIf : {false, true}) {
            const auto failure = RunSetup(platform, Request(c.box, false, whatIf, c.appFolder), recorder).failure;
            ASSERT_TRUE(failure) << c.what;
            EXPECT_EQ(failure->step, c.step) << c.what;
            EXPECT_EQ(failure->reason, c.reason) << c.what;
            EXPECT_EQ(failure->subject, c.subject) << c.what;
            EXPECT_EQ(failure->left, LeftBehind::Nothing) << c.what;
            EXPECT_TRUE(platform.effects.empty()) << c.what;
            // Nothing but a wait for a file another program holds.
            EXPECT_TRUE(std::all_of(recorder.lines.begin(), recorder.lines.end(),
                                    [](const std::string& line) { return line.starts_with("gave up 2000 ms"); }))
                << c.what;
        }
        EXPECT_EQ(platform.files.size(), filesBefore.size()) << c.what;
    }
}

TEST(SetupRun, PathLengthLimitCountsCharactersNotBytes) {
    const std::string longest = "D:\\" + std::string(240, 'k');  // its settings file: 259 characters
    std::string japanese = "D:\\";
    for (int i = 0; i < 240; ++i) japanese += "\xE8\xA3\xBD";  // 製: three bytes, one character
    for (const std::string& box : {longest, japanese}) {
        FakeSetupPlatform platform;
        Recorder recorder;
        EXPECT_FALSE(RunSetup(platform, Request(box), recorder).failure) << box.size() << " bytes";
    }
    FakeSetupPlatform platform;
    Recorder recorder;
    const auto failure = RunSetup(platform, Request(longest + "k"), recorder).failure;
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->number, 260u);
    EXPECT_EQ(failure->limit, 259u);
}

TEST(SetupRun, HiddenFilesAreThere) {
    // acl.bat may be hidden: Windows starts it all the same.
    FakeSetupPlatform platform;
    platform.files["C:\\app\\acl.bat"].attributes = 2;
    // An answer file an earlier run left hidden is replaced by a plain one.
    platform.files[kAnswer] = {"n\r\n", 2};
    Recorder recorder;
    EXPECT_FALSE(RunSetup(platform, Request(), recorder).failure);
    EXPECT_EQ(platform.files[kAnswer].bytes, "y\r\n");
    EXPECT_EQ(platform.eventRounds, 0) << "the answer file was seen at once";
}

TEST(SetupRun, WaitForTheAnswerFileProcessesEventsThenGivesUp) {
    FakeSetupPlatform seenLate;
    seenLate.stillHiddenFor = 4;
    Recorder recorder;
    EXPECT_FALSE(RunSetup(seenLate, Request(), recorder).failure);
    EXPECT_EQ(seenLate.eventRounds, 3);
    EXPECT_EQ(seenLate.clock.time_since_epoch(), 3 * kAnswerFilePoll);

    FakeSetupPlatform neverSeen;
    neverSeen.stillHiddenFor = 1'000'000;
    const auto failure = RunSetup(neverSeen, Request(), recorder).failure;
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->step, SetupStep::FindAnswerFile);
    EXPECT_GE(neverSeen.clock.time_since_epoch(), kAnswerFileWait);
    EXPECT_LT(neverSeen.clock.time_since_epoch(), kAnswerFileWait + 2 * kAnswerFilePoll);
    EXPECT_TRUE(std::none_of(neverSeen.effects.begin(), neverSeen.effects.end(),
                             [](const std::string& e) { return e.starts_with("start "); }))
        << "nothing was started";
}

// Settings files as administrators and other programs leave them: quoted,
// blank-padded, a key without '=', a comment, LF line ends, no last line end.
const std::string kHandEditedOrna = "; set by hand\n[FILE]\nLOGIN = \"C:\\old path\"  \nDB\n[MINE]\nX=y";
const std::string kWinIniWithOrna = "[windows]\r\nload=\r\n\r\n[ORNA]\r\nBASIC=  C:\\before\r\nOWN=1\r\n\r\n[mail]\r\nx=1\r\n";

// Before acl.bat has started, every file the run changed gets its bytes
// back, last change first; a file the run created is deleted.
TEST(SetupRun, PutsBackEveryFileByteForByte) {
    struct Case {
        const char* what;
        std::function<void(FakeSetupPlatform&)> arrange;
        std::vector<std::string> putBack;  // the effects after the failed one
    };
    const Case cases[] = {
        {"nothing there before; the answer file never seen",
         [](FakeSetupPlatform& p) { p.stillHiddenFor = 1'000'000; },
         {"remove C:\\app\\yes.txt", "restore C:\\Windows\\win.ini", "remove D:\\pkg\\orna_remote.ini"}},
        {"hand-edited files and a hidden answer file; acl.bat refused",
         [](FakeSetupPlatform& p) {
             p.files[kOrna] = {kHandEditedOrna, 0};
             p.files[kWinIni] = {kWinIniWithOrna, 0};
             p.files[kAnswer] = {"n\r\n", 2};
             p.failing.insert("start C:\\Windows\\system32\\cmd.exe");
         },
         {"restore C:\\app\\yes.txt", "restore C:\\Windows\\win.ini", "restore D:\\pkg\\orna_remote.ini"}},
        {"win.ini refused: orna_remote.ini alone",
         [](FakeSetupPlatform& p) {
             p.files[kOrna] = {kHandEditedOrna, 0};
             p.failing.insert("ini C:\\Windows\\win.ini");
         },
         {"restore D:\\pkg\\orna_remote.ini"}},
        {"the answer file's write refused: the older one stands as it was",
         [](FakeSetupPlatform& p) {
             p.files[kAnswer] = {"an older answer\r\n", 1};
             p.failing.insert("write");
         },
         {"restore C:\\Windows\\win.ini", "remove D:\\pkg\\orna_remote.ini"}},
    };
    for (const auto& c : cases) {
        FakeSetupPlatform platform;
        c.arrange(platform);
        const auto filesBefore = platform.files;
        Recorder recorder;
        const auto failure = RunSetup(platform, Request(), recorder).failure;
        ASSERT_TRUE(failure) << c.what;
        EXPECT_EQ(failure->left, LeftBehind::PutBack) << c.what;
        EXPECT_EQ(std::vector<std::string>(platform.effects.end() - static_cast<long>(c.putBack.size()),
                                           platform.effects.end()),
                  c.putBack)
            << c.what;
        for (const auto& [path, file] : filesBefore) {
            EXPECT_EQ(platform.files[path].bytes, file.bytes) << c.what << ": " << path;
            EXPECT_EQ(platform.files[path].attributes, file.attributes) << c.what << ": " << path;
        }
        EXPECT_EQ(platform.files.size(), filesBefore.size()) << c.what;
    }
}

TEST(SetupRun, WhatTheLogSaysWasReplacedIsTheLineAsItStood) {
    FakeSetupPlatform platform;
    platform.files[kOrna] = {kHandEditedOrna, 0};
    Recorder recorder;
    EXPECT_FALSE(RunSetup(platform, Request("D:\\pkg", false, true), recorder).failure);
    EXPECT_EQ(recorder.lines[0], "planned LOGIN was LOGIN = \"C:\\old path\"  ");
    EXPECT_EQ(recorder.lines[1], "planned DB was DB");
    EXPECT_EQ(recorder.lines[2], "planned BACKUP");
}

// Another program wrote to orna_remote.ini during the run: its change stays,
// and only the run's own entries are put back.
TEST(SetupRun, AFileChangedMeanwhileIsPutBackEntryByEntry) {
    FakeSetupPlatform platform;
    platform.files[kOrna] = {"[FILE]\r\nLOGIN=old\r\n", 0};
    platform.failing.insert("ini C:\\Windows\\win.ini");
    platform.meanwhile = [](FakeSetupPlatform& p, const std::string& effect) {
        if (effect.ends_with("BASIC=C:\\app")) p.files[kOrna].bytes += "[THEIRS]\r\nX=1\r\n";
    };
    Recorder recorder;
    const auto failure = RunSetup(platform, Request(), recorder).failure;
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->left, LeftBehind::PutBack);
    EXPECT_EQ(platform.files[kOrna].bytes, "[FILE]\r\nLOGIN=old\r\n[THEIRS]\r\nX=1\r\n");
    const std::vector<std::string> putBack = {
        "delete D:\\pkg\\orna_remote.ini [SERVICE]", "delete D:\\pkg\\orna_remote.ini [FILE] BACKUP",
        "delete D:\\pkg\\orna_remote.ini [FILE] DB", "ini D:\\pkg\\orna_remote.ini [FILE] LOGIN=old"};
    EXPECT_EQ(std::vector<std::string>(platform.effects.end() - 4, platform.effects.end()), putBack);
    EXPECT_NE(std::find(recorder.lines.begin(), recorder.lines.end(), "changed meanwhile D:\\pkg\\orna_remote.ini"),
              recorder.lines.end());
}

// "Put back" is said only of what reads back as it was.
TEST(SetupRun, WhatCouldNotBePutBackIsNamedWithWhatItHeld) {
    FakeSetupPlatform refused;
    refused.files[kOrna] = {kHandEditedOrna, 0};
    refused.failing = {"write", "restore D:\\pkg\\orna_remote.ini"};
    FakeSetupPlatform readBackDiffers;
    readBackDiffers.files[kOrna] = {kHandEditedOrna, 0};
    readBackDiffers.failing = {"write"};
    readBackDiffers.garbled = {kOrna};
    FakeSetupPlatform entryRefused;
    entryRefused.files[kOrna] = {"[FILE]\r\nLOGIN=old\r\n", 0};
    entryRefused.failing = {"write", "ini D:\\pkg\\orna_remote.ini [FILE] LOGIN=old"};
    entryRefused.meanwhile = [](FakeSetupPlatform& p, const std::string& effect) {
        if (effect == "write C:\\app\\yes.txt") p.files[kOrna].bytes += "[THEIRS]\r\n";
    };
    // The profile functions write "LOGIN= old" back: not the line as it stood.
    FakeSetupPlatform lineDiffers;
    lineDiffers.files[kOrna] = {"[FILE]\r\nLOGIN = old\r\n", 0};
    lineDiffers.failing = {"write"};
    lineDiffers.meanwhile = entryRefused.meanwhile;
    for (auto* platform : {&refused, &readBackDiffers, &entryRefused, &lineDiffers}) {
        Recorder recorder;
        const auto failure = RunSetup(*platform, Request(), recorder).failure;
        ASSERT_TRUE(failure);
        EXPECT_EQ(failure->step, SetupStep::WriteAnswerFile);
        EXPECT_EQ(failure->left, LeftBehind::PartlyPutBack);
        ASSERT_EQ(failure->leftChanged.size(), 1u);
        const LeftChange& left = failure->leftChanged[0];
        EXPECT_EQ(left.restoration.file, kOrna);
        if (platform == &entryRefused || platform == &lineDiffers) {
            EXPECT_EQ(left.restoration.kind, RestorationKind::RestoreLine);
            EXPECT_EQ(left.restoration.before, platform == &lineDiffers ? "LOGIN = old" : "LOGIN=old");
        } else {
            EXPECT_EQ(left.restoration.kind, RestorationKind::RestoreFile);
            EXPECT_EQ(left.restoration.before, kHandEditedOrna);
        }
        EXPECT_EQ(left.failure.has_value(), platform == &refused || platform == &entryRefused);
    }
}

TEST(SetupRun, OnceAclBatHasStartedNothingIsPutBack) {
    FakeSetupPlatform platform;
    platform.failing.insert("start C:\\app\\service\\install.exe");
    Recorder recorder;
    const auto failure = RunSetup(platform, Request(), recorder).failure;
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->left, LeftBehind::SettingsKept);
    EXPECT_EQ(platform.effects.back(), std::string("start ") + kInstallerCommand + " | in C:\\app\\service");
    EXPECT_TRUE(platform.files.count(kOrna));
}

// Each effect that fails stops the run at its step; the run says how far it
// got, and keeps the settings once acl.bat has started.
TEST(SetupRun, AFailedEffectStopsTheRunThere) {
    struct Case {
        std::string failing;
        SetupStep step;
        std::string subject;
        std::string lastEffect;
        std::size_t programsStarted;
    };
    const Case cases[] = {
        {"ini D:\\pkg\\orna_remote.ini", SetupStep::WriteSettingsFile, kOrna, "ini D:\\pkg\\orna_remote.ini [FILE] LOGIN=C:\\app",
         0},
        {"ini C:\\Windows\\win.ini", SetupStep::WriteProfileFile, kWinIni, "ini C:\\Windows\\win.ini [ORNA] BASIC=C:\\app",
         0},
        {"write", SetupStep::WriteAnswerFile, kAnswer, "write C:\\app\\yes.txt", 0},
        {"start C:\\Windows\\system32\\cmd.exe", SetupStep::StartBatchFile, "C:\\app\\acl.bat",
         std::string("start ") + kBatchCommand + " | in E:\\started-here", 0},
        {"start C:\\app\\service\\install.exe", SetupStep::StartInstaller, "C:\\app\\service\\install.exe",
         std::string("start ") + kInstallerCommand + " | in C:\\app\\service", 1},
    };
    for (const auto& c : cases) {
        FakeSetupPlatform platform;
        platform.failing.insert(c.failing);
        Recorder recorder;
        const auto failure = RunSetup(platform, Request(), recorder).failure;
        ASSERT_TRUE(failure) << c.failing;
        EXPECT_EQ(failure->step, c.step) << c.failing;
        EXPECT_EQ(failure->subject, c.subject) << c.failing;
        EXPECT_EQ(failure->call.code, 5u) << c.failing;
        EXPECT_EQ(failure->programsStarted, c.programsStarted) << c.failing;
        EXPECT_EQ(failure->left == LeftBehind::SettingsKept, c.programsStarted > 0) << c.failing;
        // Only putting back follows the failed effect.
        const auto failed = std::find(platform.effects.begin(), platform.effects.end(), c.lastEffect);
        ASSERT_NE(failed, platform.effects.end()) << c.failing;
        EXPECT_TRUE(std::none_of(failed + 1, platform.effects.end(), [](const std::string& e) {
            return e.starts_with("start ") || e.starts_with("write ") || e.starts_with("ini ");
        })) << c.failing;
    }
}

// A program file that another took the place of after its check is not started.
TEST(SetupRun, AProgramReplacedSinceItsCheckIsNotStarted) {
    for (const auto& [file, step, started] : {std::tuple{"C:\\app\\acl.bat", SetupStep::StartBatchFile, 0u},
                                              std::tuple{"C:\\app\\service\\install.exe", SetupStep::StartInstaller, 1u}}) {
        FakeSetupPlatform platform;
        platform.replaced.insert(file);
        Recorder recorder;
        const auto failure = RunSetup(platform, Request(), recorder).failure;
        ASSERT_TRUE(failure) << file;
        EXPECT_EQ(failure->step, step) << file;
        EXPECT_EQ(failure->reason, FailureReason::ReplacedSinceCheck) << file;
        EXPECT_EQ(failure->programsStarted, started) << file;
        EXPECT_EQ(std::count_if(platform.effects.begin(), platform.effects.end(),
                                [](const std::string& e) { return e.starts_with("start "); }),
                  started)
            << file;
    }
}

// A file another program holds for a moment (a scanner, the batch file of
// the run before) is waited for; one held for good fails the run, and soon.
TEST(SetupRun, ABriefHoldIsWaitedOutALastingOneFailsWithinTenSeconds) {
    using namespace std::chrono_literals;
    struct Case {
        const char* file;
        std::chrono::milliseconds held;
        std::optional<SetupStep> failedAt;
        const char* told;
    };
    const std::chrono::milliseconds forGood = 24h;
    const Case cases[] = {
        {kAnswer, 1000ms, std::nullopt, "waited 1000 ms for C:\\app\\yes.txt"},
        {kOrna, 300ms, std::nullopt, "waited 300 ms for D:\\pkg\\orna_remote.ini"},
        {kWinIni, 1950ms, std::nullopt, "waited 1950 ms for C:\\Windows\\win.ini"},
        {kAnswer, forGood, SetupStep::ReadAnswerFile, "gave up 2000 ms for C:\\app\\yes.txt"},
        {kWinIni, forGood, SetupStep::ReadProfileFile, "gave up 2000 ms for C:\\Windows\\win.ini"},
    };
    for (const auto& c : cases) {
        FakeSetupPlatform platform;
        platform.files[kAnswer] = {"y\r\n", 0};
        platform.heldUntil[c.file] = platform.clock + c.held;
        Recorder recorder;
        const auto failure = RunSetup(platform, Request(), recorder).failure;
        EXPECT_EQ(failure.has_value(), c.failedAt.has_value()) << c.file << " " << c.held.count();
        if (failure) {
            EXPECT_EQ(failure->step, *c.failedAt);
            EXPECT_EQ(failure->call.code, 32u);
            EXPECT_EQ(failure->left, LeftBehind::Nothing);
        }
        EXPECT_EQ(recorder.lines.front(), c.told);
        EXPECT_LE(platform.clock - std::chrono::steady_clock::time_point{}, 10s);
    }
    // Held from the moment after the run's last setting until for good:
    // the answer file is refused, both settings files are put back; the
    // answer file, which cannot even be read, is named as not put back.
    FakeSetupPlatform platform;
    const std::string winIniBefore = platform.files[kWinIni].bytes;
    platform.meanwhile = [](FakeSetupPlatform& p, const std::string& effect) {
        if (effect.find("[ORNA] CGI=") != std::string::npos) p.heldUntil[kAnswer] = p.clock + 24h;
    };
    Recorder recorder;
    const auto failure = RunSetup(platform, Request(), recorder).failure;
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->step, SetupStep::WriteAnswerFile);
    EXPECT_EQ(failure->left, LeftBehind::PartlyPutBack);
    ASSERT_EQ(failure->leftChanged.size(), 1u);
    EXPECT_EQ(failure->leftChanged[0].restoration.file, kAnswer);
    EXPECT_FALSE(platform.files.count(kOrna));
    EXPECT_EQ(platform.files[kWinIni].bytes, winIniBefore);
    EXPECT_LE(platform.clock - std::chrono::steady_clock::time_point{}, 10s);
}

// acl.bat and the installer are held, unchanged, from their check until the
// run ends: both are held as each starts; one that another program has open
// to change stops the run before its first write.
TEST(SetupRun, WhatStartsIsHeldFromItsCheckOn) {
    const std::set<std::string> both = {"C:\\app\\acl.bat", "C:\\app\\service\\install.exe"};
    // And what they read: the settings file, and the answer file from its writing on.
    const std::set<std::string> all = {"C:\\app\\acl.bat", "C:\\app\\service\\install.exe", kAnswer, kOrna};
    for (const bool wait : {false, true}) {
        FakeSetupPlatform platform;
        Recorder recorder;
        EXPECT_FALSE(RunSetup(platform, Request("D:\\pkg", wait), recorder).failure);
        ASSERT_EQ(platform.heldAtStart.size(), 2u);
        EXPECT_EQ(platform.heldAtStart[0], all);
        EXPECT_EQ(platform.heldAtStart[1], all);
        EXPECT_TRUE(platform.held.empty()) << "let go when the run ends";
    }
    for (const std::string& file : both) {
        FakeSetupPlatform platform;
        platform.inUse.insert(file);
        Recorder recorder;
        const auto failure = RunSetup(platform, Request(), recorder).failure;
        ASSERT_TRUE(failure) << file;
        EXPECT_EQ(failure->step, file.ends_with("acl.bat") ? SetupStep::CheckBatchFile : SetupStep::CheckInstaller);
        EXPECT_EQ(failure->call.code, 32u);
        EXPECT_EQ(failure->left, LeftBehind::Nothing);
        EXPECT_TRUE(platform.effects.empty()) << file;
        EXPECT_TRUE(platform.held.empty()) << file;
    }
}

// Who besides the administrators can change what the run starts or loads,
// anywhere in the program's folder and the folders above: refused before
// the first write. Data that the product may share keeps the owner rule.
TEST(SetupRun, OnlyWhatAdministratorsAloneCanChangeIsStarted) {
    const auto usersModify = Owned(kAdministrators, {Allow(kAdministrators, kFullControl), Allow(kUsers, kModify)});
    const auto usersAdd = Owned(kAdministrators, {Allow(kAdministrators, kFullControl), Allow(kUsers, kReadRun),
                                                  Allow(kUsers, kAddFile | kAddFolder)});
    const auto usersOwn = Owned(kUsers, {Allow(kAdministrators, kFullControl)});
    const auto unplacedOwner = Owned(kUnplacedUser, {Allow(kAdministrators, kFullControl)});
    using Security = std::map<std::string, SecurityDescriptor>;
    struct Case {
        const char* what;
        Security security;
        std::map<std::string, std::string> links;
        Trust ownerTrust;  // of S-1-5-21-9-9-9-1107
        const char* verdict;
    };
    const Case cases[] = {
        {"acl.bat that Users may change", {{"C:\\app\\acl.bat", usersModify}}, {}, Trust::Untrusted,
         "refused C:\\app\\acl.bat S-1-5-32-545 2"},
        {"an installer that Users own", {{"C:\\app\\service\\install.exe", usersOwn}}, {}, Trust::Untrusted,
         "refused C:\\app\\service\\install.exe S-1-5-32-545 0"},
        {"a service folder Users may change", {{"C:\\app\\service", usersModify}}, {}, Trust::Untrusted,
         "refused C:\\app\\service S-1-5-32-545 2"},
        {"the Windows Server default", {{"C:\\app", usersAdd}, {"C:\\app\\service", usersAdd}}, {}, Trust::Untrusted,
         "refused C:\\app S-1-5-32-545 4"},
        {"a subfolder of service Users may add to", {{"C:\\app\\service\\lib", usersAdd}}, {}, Trust::Untrusted,
         "refused C:\\app\\service\\lib S-1-5-32-545 4"},
        {"a file Users own in service\\lib", {{"C:\\app\\service\\lib\\readme.txt", usersOwn}}, {}, Trust::Untrusted,
         "refused C:\\app\\service\\lib\\readme.txt S-1-5-32-545 0"},
        {"Administrators' DLL that Users may modify", {{"C:\\app\\service\\version.dll", usersModify}}, {},
         Trust::Untrusted, "refused C:\\app\\service\\version.dll S-1-5-32-545 2"},
        {"a folder of helpers Users may add to", {{"C:\\app\\tools", usersAdd}}, {}, Trust::Untrusted,
         "refused C:\\app\\tools S-1-5-32-545 4"},
        {"a folder of data Users share", {{"C:\\app\\data", usersAdd}, {"C:\\app\\data\\ORNA.mdb", usersModify}}, {},
         Trust::Untrusted, "ran"},
        {"a file Users planted among the data", {{"C:\\app\\data\\notes.txt", usersOwn}}, {}, Trust::Untrusted,
         "refused C:\\app\\data\\notes.txt S-1-5-32-545 0"},
        {"a folder above that Users may rename", {{"C:\\", Owned(kSystem, {Allow(kUsers, kDelete)})}}, {},
         Trust::Untrusted, "refused C:\\ S-1-5-32-545 2"},
        {"a drive root where Users may add folders", {{"C:\\", Owned(kSystem, {Allow(kUsers, kAddFolder)})}}, {},
         Trust::Untrusted, "ran"},
        {"a file Users planted beside acl.bat", {{"C:\\app\\icacls.exe", usersOwn}}, {}, Trust::Untrusted,
         "refused C:\\app\\icacls.exe S-1-5-32-545 0"},
        {"a junction a user made in service", {{"C:\\app\\service\\lib", usersOwn}},
         {{"C:\\app\\service\\lib", "C:\\Windows"}}, Trust::Untrusted,
         "refused C:\\app\\service\\lib S-1-5-32-545 0"},
        {"an administrator's junction to where Users may add", {{"E:\\shared", usersAdd}},
         {{"C:\\app\\service\\lib", "E:\\shared"}}, Trust::Untrusted, "refused E:\\shared S-1-5-32-545 4"},
        {"an administrator's junction to a folder below one Users may rename",
         {{"E:\\open", Owned(kAdministrators, {Allow(kUsers, kDelete)})}},
         {{"C:\\app\\service\\lib", "E:\\open\\lib"}}, Trust::Untrusted, "refused E:\\open S-1-5-32-545 2"},
        {"an administrator's junction to C:\\Windows", {}, {{"C:\\app\\service\\lib", "C:\\Windows"}},
         Trust::Untrusted, "ran"},
        // It may be anyone's: refused as any other account would be.
        {"an owner the domain cannot place", {{"C:\\app\\acl.bat", unplacedOwner}}, {}, Trust::Unknown,
         "refused C:\\app\\acl.bat S-1-5-21-9-9-9-1107 0"},
        {"a domain administrator's file", {{"C:\\app\\acl.bat", unplacedOwner}}, {}, Trust::Trusted, "ran"},
    };
    for (const Case& c : cases) {
        for (const bool whatIf : {false, true}) {
            FakeSetupPlatform platform;
            for (const char* file : {"C:\\app\\icacls.exe", "C:\\app\\service\\version.dll",
                                     "C:\\app\\service\\lib\\readme.txt", "C:\\app\\tools\\helper.exe",
                                     "C:\\app\\data\\ORNA.mdb", "C:\\app\\data\\notes.txt"}) {
                platform.files[file] = {};
            }
            platform.folders.insert({"C:\\app\\service\\lib", "C:\\app\\tools", "C:\\app\\data"});
            platform.security = c.security;
            platform.linkTargets = c.links;
            platform.accountTrust[kUnplacedUser] = c.ownerTrust;
            Recorder recorder;
            const SetupOutcome outcome = RunSetup(platform, Request("D:\\pkg", false, whatIf), recorder);
            const std::string verdict =
                outcome.failure ? "refused " + outcome.failure->subject + " " + outcome.failure->rights.sid + " " +
                                      std::to_string(static_cast<int>(outcome.failure->rights.exposure))
                                : "ran";
            EXPECT_EQ(verdict, c.verdict) << c.what;
            EXPECT_TRUE(!outcome.failure || platform.effects.empty()) << c.what;
            EXPECT_EQ(platform.accountsAsked.size(), std::string(c.what).find("domain") != std::string::npos ? 1u : 0u)
                << c.what << ": well-known accounts are placed without asking, each account once";
            for (const auto& [link, target] : c.links) {
                EXPECT_EQ(std::count(platform.listed.begin(), platform.listed.end(), link), 0) << "walked into " << link;
            }
        }
    }
}

// orna_remote.ini is written only where it is the one file of that name:
// a hard link's other file, or a link's target, would change too. KEVA's
// folder may be a link only where an administrator made it.
TEST(SetupRun, ASettingsFileWithAnotherNameOrALinkIsRefusedBeforeTheFirstWrite) {
    struct Case {
        const char* what;
        std::function<void(FakeSetupPlatform&)> arrange;
        const char* verdict;
    };
    const Case cases[] = {
        {"a hard link", [](FakeSetupPlatform& p) { p.files[kOrna] = {}; p.links[kOrna] = 2; }, "WriteSettingsFile HasOtherNames"},
        {"a symbolic link", [](FakeSetupPlatform& p) { p.files[kOrna] = {}; p.linkTargets[kOrna] = "C:\\x.ini"; },
         "WriteSettingsFile IsLink"},
        {"KEVA's folder a junction a user made",
         [](FakeSetupPlatform& p) {
             p.linkTargets["D:\\pkg"] = "E:\\theirs";
             p.security["D:\\pkg"] = Owned(kUsers, {});
         },
         "CheckRights OthersCanChange"},
        {"KEVA's folder a junction an administrator made",
         [](FakeSetupPlatform& p) { p.linkTargets["D:\\pkg"] = "E:\\keva"; }, "ran"},
    };
    for (const Case& c : cases) {
        for (const bool whatIf : {false, true}) {
            FakeSetupPlatform platform;
            c.arrange(platform);
            const bool stood = platform.files.count(kOrna) > 0;
            Recorder recorder;
            const auto failure = RunSetup(platform, Request("D:\\pkg", false, whatIf), recorder).failure;
            constexpr const char* kReasons[] = {"OthersCanChange", "HasOtherNames", "IsLink"};
            const auto reason = failure ? static_cast<int>(failure->reason) - static_cast<int>(FailureReason::OthersCanChange) : 0;
            EXPECT_EQ(failure ? std::string(StepName(failure->step)) + " " + kReasons[reason] : "ran", c.verdict)
                << c.what;
            EXPECT_TRUE(!failure || platform.effects.empty()) << c.what;
            EXPECT_EQ(platform.files.count(kOrna) > 0, stood || (!failure && !whatIf))
                << c.what << ": created only where the run writes";
        }
    }
}

TEST(SetupRun, TheRefusalNamesTheAccountTheRightAndTheCommand) {
    FakeSetupPlatform platform;
    platform.security["C:\\app\\acl.bat"] = Owned(kAdministrators, {Allow(kAdministrators, kFullControl), Allow(kUsers, kWrite)});
    Recorder recorder;
    const auto failure = RunSetup(platform, Request(), recorder).failure;
    ASSERT_TRUE(failure);
    EXPECT_EQ(DescribeFailure(*failure, Telling::Window),
              "初期設定を中止しました。\n\n"
              "C:\\app\\acl.bat を管理者以外のアカウントが変更できないことを、確かめられませんでした。\n"
              "理由: BUILTIN\\Users (S-1-5-32-545) が書き換えられます。"
              "直すコマンド: icacls \"C:\\app\\acl.bat\" /inheritance:d /remove:g *S-1-5-32-545\n\n"
              "設定は何も変更していません。\n"
              "アクセス許可を直してから (理由にあるコマンドは管理者のコマンド プロンプトで実行します)、"
              "プログラムを起動し直してください。");
}

// An account whose membership the system could not tell is refused, and
// told as such; a name that cmd or PowerShell would read inside quotes gets
// no command to paste.
TEST(SetupRun, TheRefusalOfAnUnknownAccountOrAnUnsafeNameSaysWhatToDo) {
    struct Case {
        std::string planted;  // owned by the account below, in the program's folder
        Trust trust;
        std::string reason;
    };
    const std::string unsafe =
        "名前にコマンド プロンプトや PowerShell が解釈する文字が含まれるため、直すコマンドは示しません。"
        "エクスプローラーで削除するか、名前を変更してください。";
    const Case cases[] = {
        {"C:\\app\\helper.dll", Trust::Unknown,
         "理由: S-1-5-21-9-9-9-1107 が所有しています (所有者はアクセス許可をいつでも変更できます)。"
         "このアカウントが管理者かどうかを確かめられませんでした (ドメイン コントローラに接続できないときなど)。"
         "確かめられるようになってから、もう一度実行してください。"
         "見覚えのないものなら削除してください。製品のものなら、直すコマンド: "
         "icacls \"C:\\app\\helper.dll\" /setowner *S-1-5-32-544 に続けて icacls \"C:\\app\\helper.dll\" /reset"},
        {"C:\\app\\$(iex(-join[char[]](99,97,108,99))).dll", Trust::Untrusted, "(所有者はアクセス許可をいつでも変更できます)。" + unsafe},
        {"C:\\app\\%PATH%.dll", Trust::Untrusted, "。" + unsafe},
        {"C:\\app\\a`b.dll", Trust::Untrusted, "。" + unsafe},
        {"C:\\app\\\xE2\x80\x9Dx.dll", Trust::Untrusted, "。" + unsafe},
    };
    for (const auto& c : cases) {
        FakeSetupPlatform platform;
        platform.files[c.planted] = {};
        platform.security[c.planted] = Owned(kUnplacedUser, {Allow(kAdministrators, kFullControl)});
        platform.accountTrust[kUnplacedUser] = c.trust;
        Recorder recorder;
        const auto failure = RunSetup(platform, Request(), recorder).failure;
        ASSERT_TRUE(failure) << c.planted;
        const std::string text = DescribeFailure(*failure, Telling::Unattended);
        EXPECT_NE(text.find(c.reason + "\n"), std::string::npos) << text;
        EXPECT_EQ(text.find("icacls") != std::string::npos, c.trust == Trust::Unknown) << text;
    }
}

// What the printed icacls commands do to a descriptor, as icacls documents
// them: /setowner gives the owner; /reset puts back what the folder passes
// on; /inheritance:d makes inherited entries the object's own; /grant:r
// replaces the account's own allow entries; /remove:g removes them.
SecurityDescriptor AfterIcacls(SecurityDescriptor d, const std::string& command, const SecurityDescriptor& folder) {
    std::vector<std::string> words;
    for (std::size_t at = 0; at < command.size();) {
        const bool quoted = command[at] == '"';
        const std::size_t end = quoted ? command.find('"', at + 1) + 1 : std::min(command.find(' ', at), command.size());
        words.push_back(command.substr(at + quoted, end - at - 2 * quoted));
        at = end + 1;
    }
    const auto withoutAllowsOf = [&](const std::string& sid) {
        std::erase_if(*d.dacl, [&](const AccessEntry& e) { return e.type == AceType::Allow && e.sid == sid; });
    };
    for (std::size_t at = 2; at < words.size(); ++at) {
        const std::string& word = words[at];
        if (word == "/setowner") d.owner = words[++at].substr(1);
        if (word == "/reset") {
            d.dacl.emplace();
            for (AccessEntry entry : *folder.dacl) d.dacl->push_back({entry.type, kInherited, entry.mask, entry.sid});
        }
        if (word == "/inheritance:d") {
            for (AccessEntry& entry : *d.dacl) entry.flags &= ~kInherited;
        }
        if (word == "/remove:g") withoutAllowsOf(words[++at].substr(1));
        if (word == "/grant:r") {
            const std::string grant = words[++at];
            const std::string sid = grant.substr(1, grant.find(':') - 1);
            withoutAllowsOf(sid);
            const bool passesOn = grant.find("(OI)(CI)") != std::string::npos;
            d.dacl->push_back(Allow(sid.c_str(), kReadRun, passesOn ? kObjects | kContainers : 0));
        }
    }
    return d;
}

// Each command a refusal prints leaves an object that only the
// administrators can change, where its users keep reading and running it.
TEST(SetupRun, TheFixCommandsLeaveWhatOnlyAdministratorsCanChange) {
    const auto inherited = [](const char* sid, unsigned long mask) {
        return Allow(sid, mask, kObjects | kContainers | kInherited);
    };
    const SecurityDescriptor folder = Owned(kAdministrators, {inherited(kSystem, kFullControl),
                                                              inherited(kAdministrators, kFullControl),
                                                              inherited(kUsers, kReadRun)});
    struct Case {
        const char* path;
        SecurityDescriptor descriptor;
        Guarded guarded;
        bool usersRun;  // afterwards
    };
    const Case cases[] = {
        {"C:\\app", Owned(kAdministrators, {inherited(kAdministrators, kFullControl), inherited(kUsers, kReadRun),
                                            Allow(kUsers, kAddFile | kAddFolder, kContainers | kInherited)}),
         Guarded::Folder, true},
        {"C:\\app\\service\\version.dll", Owned(kAdministrators, {inherited(kAdministrators, kFullControl), inherited(kUsers, kModify)}),
         Guarded::Program, true},
        {"C:\\app\\acl.bat", Owned(kAdministrators, {inherited(kAdministrators, kFullControl), Allow(kDomainUser, kWrite)}),
         Guarded::Program, false},
        {"C:\\app\\service\\helper.dll", Owned(kUsers, {Allow(kUsers, kFullControl)}), Guarded::Program, true},
    };
    for (const Case& c : cases) {
        FakeSetupPlatform platform;
        platform.files[c.path] = {};
        platform.security[c.path] = c.descriptor;
        Recorder recorder;
        const auto failure = RunSetup(platform, Request(), recorder).failure;
        ASSERT_TRUE(failure) << c.path;
        const std::string text = DescribeFailure(*failure, Telling::Unattended);
        SecurityDescriptor after = c.descriptor;
        for (std::size_t at = text.find("icacls "); at != std::string::npos; at = text.find("icacls ", at + 1)) {
            const std::size_t end = std::min({text.find(" に続けて", at), text.find('\n', at), text.size()});
            after = AfterIcacls(after, text.substr(at, end - at), folder);
        }
        EXPECT_FALSE(JudgeRights(after, c.guarded, platform)) << c.path << "\n" << text;
        const bool usersRun = std::any_of(after.dacl->begin(), after.dacl->end(), [](const AccessEntry& e) {
            return e.type == AceType::Allow && e.sid == kUsers && (e.mask & kReadRun) == kReadRun;
        });
        EXPECT_EQ(usersRun, c.usersRun) << c.path << "\n" << text;
    }
}

TEST(SetupRun, OwnerAndPermissionsThatCannotBeReadStopTheRunWithTheSystemsReason) {
    FakeSetupPlatform platform;
    platform.unreadable.insert("C:\\app\\acl.bat");
    Recorder recorder;
    const auto failure = RunSetup(platform, Request(), recorder).failure;
    ASSERT_TRUE(failure);
    EXPECT_TRUE(DescribeFailure(*failure, Telling::Unattended)
                    .starts_with("初期設定を中止しました。\n\nC:\\app\\acl.bat を管理者以外のアカウントが変更できないことを、"
                                 "確かめられませんでした。\n理由: (5)"))
        << DescribeFailure(*failure, Telling::Unattended);
    EXPECT_TRUE(platform.effects.empty());
}

// cmd.exe looks in its current folder before PATH for a command acl.bat names bare.
TEST(SetupRun, WhereOthersCanAddToTheCurrentFolderCmdDoesNotSearchIt) {
    for (const bool othersAdd : {false, true}) {
        FakeSetupPlatform platform;
        if (othersAdd) platform.security[platform.cwd] = Owned(kAdministrators, {Allow(kAuthenticatedUsers, kAddFile)});
        Recorder recorder;
        ASSERT_FALSE(RunSetup(platform, Request(), recorder).failure);
        const auto started = [&](const std::string& command) {
            return std::find_if(platform.effects.begin(), platform.effects.end(),
                                [&](const std::string& e) { return e.starts_with("start " + command); });
        };
        ASSERT_NE(started(kBatchCommand), platform.effects.end());
        EXPECT_EQ(started(kBatchCommand)->ends_with(" | not searched"), othersAdd);
        EXPECT_FALSE(started(kInstallerCommand)->ends_with(" | not searched"));
    }
}

TEST(SetupRun, WhatIfChecksEverythingAndChangesNothing) {
    FakeSetupPlatform platform;
    Recorder recorder;
    EXPECT_FALSE(RunSetup(platform, Request("D:\\pkg", false, true), recorder).failure);
    EXPECT_TRUE(platform.effects.empty());
    ASSERT_EQ(recorder.lines.size(), 15u);
    EXPECT_EQ(recorder.lines[0], "planned LOGIN");
    EXPECT_EQ(recorder.lines[12], "planned answer");
    EXPECT_EQ(recorder.lines[13], std::string("planned start ") + kBatchCommand);
    EXPECT_EQ(recorder.lines[14], std::string("planned start ") + kInstallerCommand);
}

// With /WAIT: 0 is done; an installer's 3010 or 1641 is done with a restart;
// any other code, and any but 0 from acl.bat, fails the run where it ended.
TEST(SetupRun, WaitingCollectsExitCodes) {
    struct Case {
        const char* program;
        unsigned long exitCode;
        std::optional<SetupStep> failedAt;
        Restart restart;
    };
    const Case cases[] = {
        {"C:\\app\\service\\install.exe", 0, std::nullopt, Restart::None},
        {"C:\\app\\service\\install.exe", 3010, std::nullopt, Restart::Required},
        {"C:\\app\\service\\install.exe", 1641, std::nullopt, Restart::Started},
        {"C:\\app\\service\\install.exe", 5, SetupStep::RunInstaller, Restart::None},
        {"C:\\Windows\\system32\\cmd.exe", 2, SetupStep::RunBatchFile, Restart::None},
        {"C:\\Windows\\system32\\cmd.exe", 3010, SetupStep::RunBatchFile, Restart::None},
    };
    for (const auto& c : cases) {
        FakeSetupPlatform platform;
        platform.exitCodeOf[c.program] = c.exitCode;
        Recorder recorder;
        const SetupOutcome outcome = RunSetup(platform, Request("D:\\pkg", true, false), recorder);
        EXPECT_EQ(outcome.restart, c.restart) << c.program << " " << c.exitCode;
        ASSERT_EQ(outcome.failure.has_value(), c.failedAt.has_value()) << c.program << " " << c.exitCode;
        EXPECT_EQ(platform.effects[14], "wait 100");
        if (!outcome.failure) {
            EXPECT_EQ(platform.effects.back(), "wait 101");
            continue;
        }
        EXPECT_EQ(outcome.failure->step, *c.failedAt);
        EXPECT_EQ(outcome.failure->reason, FailureReason::ExitCode);
        EXPECT_EQ(outcome.failure->number, c.exitCode);
        EXPECT_EQ(outcome.failure->left, LeftBehind::SettingsKept);
    }
}

}  // namespace
}  // namespace selvane
