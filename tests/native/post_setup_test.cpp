#include "setup/post_setup.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace selvane {
namespace {

// Records every operation; files and failures are set up by each test.
class FakePlatform : public SetupPlatform {
public:
    std::optional<std::string> WriteNewFile(const std::string& path, std::string_view bytes) override {
        log.push_back("write " + path);
        if (failing.count("write")) return "disk full";
        written[path] = std::string(bytes);
        if (!answerFileHidesFor) visible.insert(path);
        return std::nullopt;
    }
    bool NormalFileExists(const std::string& path) override {
        ++lookups;
        if (answerFileHidesFor && written.count(path) && --answerFileHidesFor == 0) visible.insert(path);
        return visible.count(path) > 0;
    }
    void ProcessPendingEvents() override { log.push_back("events"); }
    void Pause(std::chrono::milliseconds duration) override { clock += duration; }
    std::chrono::steady_clock::time_point Now() override { return clock; }
    std::string SystemDirectory() override { return "C:\\Windows\\system32"; }
    std::optional<std::string> StartHidden(const std::string& program, const std::string& commandLine,
                                           const std::string& directory) override {
        log.push_back("start " + program + " | " + commandLine + " | in " + (directory.empty() ? cwd : directory));
        if (failing.count("start " + program)) return "not found";
        return std::nullopt;
    }
    std::optional<std::string> ChangeDirectory(const std::string& folder) override {
        log.push_back("cd " + folder);
        if (failing.count("cd " + folder)) return "no such folder";
        cwd = folder;
        return std::nullopt;
    }

    std::vector<std::string> log;
    std::map<std::string, std::string> written;
    std::set<std::string> visible = {"C:\\app\\acl.bat"};
    std::set<std::string> failing;
    int answerFileHidesFor = 0;
    int lookups = 0;
    std::string cwd = "E:\\started-here";
    std::chrono::steady_clock::time_point clock{};
};

TEST(PostSetup, AnswerFileThenBatchFileInTheStartingDirectory) {
    FakePlatform platform;
    EXPECT_FALSE(RunAclBatch(platform, "C:\\app"));
    EXPECT_EQ(platform.written["C:\\app\\yes.txt"], std::string("y\r\n"));
    const std::vector<std::string> expected = {
        "write C:\\app\\yes.txt",
        "start C:\\Windows\\system32\\cmd.exe | \"C:\\Windows\\system32\\cmd.exe\" /d /s /c "
        "\"\"C:\\app\\acl.bat\"\" | in E:\\started-here",
    };
    EXPECT_EQ(platform.log, expected);
}

TEST(PostSetup, WaitForTheAnswerFileProcessesEventsAndPauses) {
    FakePlatform platform;
    platform.answerFileHidesFor = 4;
    EXPECT_FALSE(RunAclBatch(platform, "C:\\app"));
    EXPECT_EQ(std::count(platform.log.begin(), platform.log.end(), "events"), 3);
    EXPECT_EQ(platform.clock.time_since_epoch(), 3 * kAnswerFilePoll);
}

TEST(PostSetup, AnswerFileThatNeverAppearsFailsAfterTheBound) {
    FakePlatform platform;
    platform.answerFileHidesFor = 1'000'000;
    const auto failure = RunAclBatch(platform, "C:\\app");
    ASSERT_TRUE(failure);
    EXPECT_NE(failure->what.find("C:\\app\\yes.txt"), std::string::npos);
    EXPECT_GE(platform.clock.time_since_epoch(), kAnswerFileWait);
    EXPECT_LT(platform.clock.time_since_epoch(), kAnswerFileWait + 2 * kAnswerFilePoll);
    EXPECT_EQ(platform.log.back(), "events");  // nothing was started
}

TEST(PostSetup, FailedAnswerFileOrMissingBatchStartsNothing) {
    FakePlatform unwritable;
    unwritable.failing.insert("write");
    auto failure = RunAclBatch(unwritable, "C:\\app");
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->reason, "disk full");
    EXPECT_EQ(unwritable.log.size(), 1u);

    FakePlatform noBatch;
    noBatch.visible.clear();
    failure = RunAclBatch(noBatch, "C:\\app");
    ASSERT_TRUE(failure);
    EXPECT_NE(failure->what.find("C:\\app\\acl.bat"), std::string::npos);
    EXPECT_EQ(noBatch.log, std::vector<std::string>{"write C:\\app\\yes.txt"});
}

TEST(PostSetup, InstallerStartsByFullPathInTheServiceFolderThenBackToTheAppFolder) {
    FakePlatform platform;
    EXPECT_FALSE(RunServiceInstaller(platform, "C:\\my app"));
    const std::vector<std::string> expected = {
        "cd C:\\my app\\service",
        "start C:\\my app\\service\\install.exe | \"C:\\my app\\service\\install.exe\" | in C:\\my app\\service",
        "cd C:\\my app",
    };
    EXPECT_EQ(platform.log, expected);
    EXPECT_EQ(platform.cwd, "C:\\my app");
}

TEST(PostSetup, MissingServiceFolderOrInstallerStopsTheStep) {
    FakePlatform noFolder;
    noFolder.failing.insert("cd C:\\app\\service");
    auto failure = RunServiceInstaller(noFolder, "C:\\app");
    ASSERT_TRUE(failure);
    EXPECT_NE(failure->what.find("C:\\app\\service"), std::string::npos);
    EXPECT_EQ(noFolder.log.size(), 1u);

    FakePlatform noInstaller;
    noInstaller.failing.insert("start C:\\app\\service\\install.exe");
    failure = RunServiceInstaller(noInstaller, "C:\\app");
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->reason, "not found");
    EXPECT_NE(failure->what.find("install.exe"), std::string::npos);
}

}  // namespace
}  // namespace selvane
