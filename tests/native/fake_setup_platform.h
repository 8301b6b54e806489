#pragma once

// A setup platform in memory: files and folders are sets, and every effect
// is recorded in order.
#include <map>
#include <set>
#include <string>
#include <vector>

#include "setup/setup_platform.h"

namespace selvane::testing {

class FakeSetupPlatform : public SetupPlatform {
public:
    SystemResult<std::string> WindowsDirectory() override { return {"C:\\Windows", windowsDirectoryError}; }
    SystemResult<std::string> SystemDirectory() override { return {"C:\\Windows\\system32", std::nullopt}; }
    bool FitsCodePage(const std::string& text) override { return text.find("\xC3\xA9") == std::string::npos; }  // é
    PathProbe Probe(const std::string& path) override {
        if (folders.count(path)) return {PathKind::Folder, {}};
        if (files.count(path)) return {PathKind::File, {}};
        return {PathKind::Missing, "not found"};
    }
    bool NormalFileExists(const std::string& path) override {
        if (stillHiddenFor > 0 && path == answerFile && --stillHiddenFor > 0) return false;
        return files.count(path) && !hidden.count(path);
    }
    SystemError WriteProfileEntry(const std::string& file, const std::string& section, const std::string& key,
                                  const std::string& value) override {
        return Effect("ini " + file + " [" + section + "] " + key + "=" + value, "ini " + file);
    }
    SystemError MakePlainFile(const std::string& path) override {
        if (!hidden.count(path)) return std::nullopt;
        hidden.erase(path);
        return Effect("plain " + path, "plain");
    }
    SystemError WriteNewFile(const std::string& path, std::string_view bytes) override {
        files.insert(path);
        written[path] = std::string(bytes);
        return Effect("write " + path, "write");
    }
    SystemResult<unsigned long> StartHidden(const std::string& program, const std::string& commandLine,
                                            const std::string& directory, bool) override {
        if (auto error = Effect("start " + commandLine + " | in " + (directory.empty() ? cwd : directory),
                                "start " + program)) {
            return {0, error};
        }
        exitCodes[nextProcessId] = exitCodeOf[program];
        return {nextProcessId++, std::nullopt};
    }
    SystemResult<unsigned long> WaitForExit(unsigned long processId) override {
        effects.push_back("wait " + std::to_string(processId));
        return {exitCodes[processId], std::nullopt};
    }
    SystemError ChangeDirectory(const std::string& folder) override {
        auto error = Effect("cd " + folder, "cd " + folder);
        if (!error) cwd = folder;
        return error;
    }
    void ProcessPendingEvents() override { ++eventRounds; }
    void Pause(std::chrono::milliseconds duration) override { clock += duration; }
    std::chrono::steady_clock::time_point Now() override { return clock; }

    // A product folder C:\app with acl.bat and service\install.exe, and KEVA's D:\pkg.
    std::set<std::string> files = {"C:\\app\\acl.bat", "C:\\app\\service\\install.exe"};
    std::set<std::string> folders = {"C:\\app", "C:\\app\\service", "D:\\pkg"};
    std::set<std::string> hidden;
    std::set<std::string> failing;  // effects that fail, by the second argument of Effect
    std::map<std::string, unsigned long> exitCodeOf;
    std::vector<std::string> effects;
    std::map<std::string, std::string> written;
    std::string answerFile = "C:\\app\\yes.txt";
    int stillHiddenFor = 0;
    int eventRounds = 0;
    std::string cwd = "E:\\started-here";
    SystemError windowsDirectoryError;
    std::chrono::steady_clock::time_point clock{};

private:
    SystemError Effect(const std::string& record, const std::string& key) {
        effects.push_back(record);
        if (failing.count(key)) return "refused";
        return std::nullopt;
    }
    std::map<unsigned long, unsigned long> exitCodes;
    unsigned long nextProcessId = 100;
};

}  // namespace selvane::testing
