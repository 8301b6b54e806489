#pragma once

// A setup platform in memory: files, folders and INI files are maps and
// sets, and every effect is recorded in order; and a log kept in a string.
#include <algorithm>
#include <cctype>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "app/app_log.h"
#include "setup/setup_platform.h"

namespace selvane::testing {

// A log whose lines go into a string.
class TextSink : public LogSink {
public:
    explicit TextSink(std::string& text) : text_(text) {}
    void Append(std::string_view line) override { text_ += line; }

private:
    std::string& text_;
};

class FakeSetupPlatform : public SetupPlatform {
public:
    using Sections = std::map<std::string, std::map<std::string, std::string>>;

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
    bool IsProgram(const std::string& path) override { return !notPrograms.count(path); }
    bool SamePath(const std::string& first, const std::string& second) override {
        return std::equal(first.begin(), first.end(), second.begin(), second.end(),
                          [](char a, char b) { return std::toupper(a) == std::toupper(b); });
    }
    SystemResult<ProfileEntryState> ReadProfileEntry(const std::string& file, const std::string& section,
                                                     const std::string& key) override {
        if (unreadable.count(file)) return {{}, "held open"};
        const bool fileExisted = ini.count(file) > 0;
        const bool sectionExisted = fileExisted && ini.at(file).count(section);
        if (!sectionExisted || !ini.at(file).at(section).count(key)) return {{fileExisted, sectionExisted, {}}, {}};
        return {{true, true, ini.at(file).at(section).at(key)}, std::nullopt};
    }
    SystemError WriteProfileEntry(const std::string& file, const std::string& section, const std::string& key,
                                  const std::string& value) override {
        auto error = Effect("ini " + file + " [" + section + "] " + key + "=" + value, "ini " + file);
        if (!error) ini[file][section][key] = value;
        return error;
    }
    SystemError DeleteProfileEntry(const std::string& file, const std::string& section,
                                   const std::string& key) override {
        auto error = Effect("delete " + file + " [" + section + "]" + (key.empty() ? "" : " " + key), "delete " + file);
        if (!error && key.empty()) ini[file].erase(section);
        if (!error && !key.empty()) ini[file][section].erase(key);
        return error;
    }
    SystemError RemoveFile(const std::string& path) override {
        auto error = Effect("remove " + path, "remove " + path);
        if (!error) {
            ini.erase(path);
            files.erase(path);
            written.erase(path);
        }
        return error;
    }
    SystemResult<std::optional<SavedFile>> SaveFile(const std::string& path) override {
        if (unreadable.count(path)) return {{}, "held open"};
        if (!files.count(path)) return {};
        return {SavedFile{written[path], hidden.count(path) ? 2ul : 0ul}, std::nullopt};
    }
    SystemError RestoreFile(const std::string& path, const SavedFile& saved) override {
        auto error = Effect("restore " + path, "restore " + path);
        if (!error) written[path] = saved.bytes;
        return error;
    }
    SystemResult<bool> MakePlainFile(const std::string& path) override {
        if (!hidden.count(path)) return {false, std::nullopt};
        hidden.erase(path);
        return {true, Effect("plain " + path, "plain")};
    }
    SystemError WriteNewFile(const std::string& path, std::string_view bytes) override {
        auto error = Effect("write " + path, "write");
        if (!error) {
            files.insert(path);
            written[path] = std::string(bytes);
        }
        return error;
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
    std::map<std::string, Sections> ini = {{"C:\\Windows\\win.ini", {{"windows", {{"load", ""}}}}}};
    std::set<std::string> hidden;
    std::set<std::string> notPrograms;
    std::set<std::string> unreadable;
    // Effects that fail: by the kind and file ("ini F", "delete F", "write",
    // "start P", ...), or by the effect's whole record.
    std::set<std::string> failing;
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
        if (failing.count(key) || failing.count(record)) return "refused";
        return std::nullopt;
    }
    std::map<unsigned long, unsigned long> exitCodes;
    unsigned long nextProcessId = 100;
};

}  // namespace selvane::testing
