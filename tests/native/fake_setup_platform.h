#pragma once

// A setup platform in memory: files are bytes with attributes, as on a
// disk, and the profile functions edit them in place as Windows' do; every
// effect is recorded in order. And records kept in memory.
#include <algorithm>
#include <cctype>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "app/run_records.h"
#include "setup/setup_platform.h"
#include "tests/native/descriptors.h"

namespace selvane::testing {

// A log whose lines go into a string.
class TextSink : public LogSink {
public:
    explicit TextSink(std::string& text) : text_(text) {}
    void Append(std::string_view line) override { text_ += line; }

private:
    std::string& text_;
};

// The records of a program in C:\app: its events, and the code it would have ended with.
// The registry's record of runs: one record, written whole.
class FakeRecordStore : public RecordStore {
public:
    Checked<std::optional<RecordValues>> Read() override { return {record, std::nullopt}; }
    CallResult Write(const RecordValues& values) override {
        if (failing) return CallFailure{"RegSetValueExW", 5};
        record = values;
        writes.push_back(values);
        return std::nullopt;
    }
    RecordValues Stamp() override { return {{"Version", "1.0.0"}, {"ProcessId", "4012"}, {"Started", "2026-12-09 09:05:03"}}; }
    std::string ValueOf(const std::string& name) const {
        for (const auto& [key, value] : record.value_or(RecordValues{})) {
            if (key == name) return value;
        }
        return "(none)";
    }
    std::optional<RecordValues> record;
    std::vector<RecordValues> writes;
    bool failing = false;
};

class FakeRecords : public RunRecords {
public:
    explicit FakeRecords(AppLog log = {}) : RunRecords({"C:\\app\\selvane-init.exe", "C:\\app", {}}) {
        log_ = std::move(log);
    }
    void RecordEvent(const RunEvent& event) override { events.push_back(event); }
    void EndProgram(int exitCode) override { ended = exitCode; }
    RecordStore& RunRecord() override { return *store; }
    std::vector<RunEvent> events;
    std::optional<int> ended;
    FakeRecordStore ownStore;
    FakeRecordStore* store = &ownStore;
};

inline std::string Folded(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::toupper(c); });
    return text;
}

inline std::string Trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t");
    return first == std::string::npos ? std::string() : text.substr(first, text.find_last_not_of(" \t") + 1 - first);
}

// What WritePrivateProfileString does to a file: the key's line replaced, a
// new key after its section's last line, a new section at the end, a
// deleted key's line or section's lines gone; every other byte kept.
inline std::string EditProfile(std::string bytes, const std::string& section, const std::optional<std::string>& key,
                               const std::optional<std::string>& value) {
    struct Line {
        std::size_t start, end;  // end: before the line end
    };
    std::vector<Line> lines;
    for (std::size_t at = 0; at < bytes.size();) {
        const std::size_t newline = std::min(bytes.find('\n', at), bytes.size());
        lines.push_back({at, newline > at && bytes[newline - 1] == '\r' ? newline - 1 : newline});
        at = newline + 1;
    }
    const auto text = [&](std::size_t i) { return Trimmed(bytes.substr(lines[i].start, lines[i].end - lines[i].start)); };
    const auto startOf = [&](std::size_t i) { return i < lines.size() ? lines[i].start : bytes.size(); };
    std::size_t header = lines.size();
    std::size_t end = lines.size();
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (!text(i).starts_with('[')) continue;
        if (header < lines.size()) {
            end = i;
            break;
        }
        if (Folded(Trimmed(text(i).substr(1, text(i).find(']') - 1))) == Folded(section)) header = i;
    }
    const std::string entry = key && value ? *key + "=" + *value : "";
    const auto newLine = [&] { return bytes.empty() || bytes.ends_with('\n') ? "" : "\r\n"; };
    if (header == lines.size()) return entry.empty() ? bytes : bytes + newLine() + "[" + section + "]\r\n" + entry + "\r\n";
    if (!key) return bytes.erase(startOf(header), startOf(end) - startOf(header));
    for (std::size_t i = header + 1; i < end; ++i) {
        if (Folded(Trimmed(text(i).substr(0, text(i).find('=')))) != Folded(*key)) continue;
        if (!value) return bytes.erase(startOf(i), startOf(i + 1) - startOf(i));
        return bytes.replace(lines[i].start, lines[i].end - lines[i].start, entry);
    }
    if (!value) return bytes;
    std::size_t after = end;
    while (after > header + 1 && text(after - 1).empty()) --after;
    if (startOf(after) == bytes.size()) return bytes + newLine() + entry + "\r\n";
    return bytes.insert(startOf(after), entry + "\r\n");
}

class FakeSetupPlatform : public SetupPlatform {
public:
    struct File {
        std::string bytes;
        unsigned long attributes = 0;
    };

    Checked<std::string> WindowsDirectory() override { return {"C:\\Windows", windowsDirectoryFailure}; }
    Checked<std::string> SystemDirectory() override { return {"C:\\Windows\\system32", std::nullopt}; }
    bool FitsCodePage(const std::string& text) override { return text.find("\xC3\xA9") == std::string::npos; }  // é
    PathProbe Probe(const std::string& path) override {
        if (folders.count(path)) return {PathKind::Folder, {}};
        if (files.count(path)) return {PathKind::File, {}};
        return {PathKind::Missing, {"GetFileAttributesW", 2}};
    }
    bool NormalFileExists(const std::string& path) override {
        if (stillHiddenFor > 0 && path == kAnswerFile && --stillHiddenFor > 0) return false;
        return files.count(path) && !(files[path].attributes & 6);
    }
    bool IsProgram(const std::string& path) override { return !notPrograms.count(path); }
    bool SamePath(const std::string& first, const std::string& second) override {
        const auto comparable = [](std::string path) {
            if (path.ends_with('\\')) path.pop_back();
            return Folded(path);
        };
        return comparable(first) == comparable(second);
    }
    Checked<FileState> ReadFile(const std::string& path) override {
        if (Held(path)) return {{}, CallFailure{"CreateFileW", 32}};
        if (unreadable.count(path)) return {{}, CallFailure{"CreateFileW", 32}};  // a sharing violation
        if (!files.count(path)) return {};
        return {{true, files[path].bytes, files[path].attributes}, std::nullopt};
    }
    CallResult RestoreFile(const std::string& path, const FileState& state, RunJournal& journal) override {
        if (Held(path)) return CallFailure{"ReplaceFileW", 32};
        auto failure = Effect((state.exists ? "restore " : "remove ") + path, "");
        if (failure) return failure;
        if (!state.exists) {
            files.erase(path);
        } else {
            // As Windows does it: a copy beside the file, then put in its place.
            journal.CopyMade(path + "~", "copy of " + path);
            files[path] = {garbled.count(path) ? state.bytes + "?" : state.bytes, state.attributes};
            journal.CopyGone(path + "~");
        }
        return std::nullopt;
    }
    Checked<bool> RemoveIfIdentical(const std::string& path, const std::string& identity) override {
        if (failing.count("remove " + path)) return {false, CallFailure{"SetFileInformationByHandle", 5}};
        const auto found = identities.find(path);
        if (!files.count(path) || found == identities.end() || found->second != identity) return {false, std::nullopt};
        files.erase(path);
        effects.push_back("remove " + path);
        return {true, std::nullopt};
    }
    CallResult WriteProfileEntry(const std::string& file, const std::string& section, const std::optional<std::string>& key,
                                 const std::optional<std::string>& value) override {
        if (Held(file)) return CallFailure{"WritePrivateProfileStringA", 32};
        const std::string record = !key     ? "delete " + file + " [" + section + "]"
                                   : !value ? "delete " + file + " [" + section + "] " + *key
                                            : "ini " + file + " [" + section + "] " + *key + "=" + *value;
        if (auto failure = Effect(record, (value ? "ini " : "delete ") + file)) return failure;
        files[file].bytes = EditProfile(files[file].bytes, section, key, value);
        return std::nullopt;
    }
    // A new file moved over whatever stood there (a link too): what stood there is never written.
    CallResult WriteOwnFile(const std::string& path, std::string_view bytes, RunJournal& journal) override {
        if (Held(path)) return CallFailure{"SetFileInformationByHandle", 32};
        // As Windows does it: a new file beside it, then renamed to the path, or deleted.
        journal.CopyMade(path + "~", "new " + path);
        const CallResult failure = Effect("write " + path, "write");
        journal.CopyGone(path + "~");
        if (failure) return failure;
        files[path] = {std::string(bytes), 0};
        linkTargets.erase(path);
        held.insert(path);
        return std::nullopt;
    }
    Checked<HeldShape> HoldToWrite(const std::string& path, bool createMissing) override {
        if (inUse.count(path)) return {{}, CallFailure{"CreateFileW", 32}};
        const bool exists = files.count(path) > 0;
        HeldShape shape{false, links.count(path) ? links[path] : 1, linkTargets.count(path) > 0};
        if (!exists && createMissing) {
            files[path] = {};
            shape = {true};
        }
        if (exists || shape.created) held.insert(path);
        return {shape, std::nullopt};
    }
    Checked<unsigned long> StartHidden(const std::string& program, const std::string& commandLine,
                                       const std::string& directory, bool, bool skipCurrentFolder) override {
        if (auto failure = Effect("start " + commandLine + " | in " + (directory.empty() ? cwd : directory) +
                                      (skipCurrentFolder ? " | not searched" : ""),
                                  "start " + program)) {
            return {0, failure};
        }
        exitCodes[nextProcessId] = exitCodeOf[program];
        heldAtStart.push_back(held);
        return {nextProcessId++, std::nullopt};
    }
    CallResult HoldUnchanged(const std::string& path) override {
        if (inUse.count(path)) return CallFailure{"CreateFileW", 32};
        held.insert(path);
        return std::nullopt;
    }
    void ReleaseHeld() override { held.clear(); }
    bool IsHeldFile(const std::string& path) override { return held.count(path) && !replaced.count(path); }
    Checked<SecurityDescriptor> SecurityOf(const std::string& path) override {
        if (unreadable.count(path)) return {{}, CallFailure{"CreateFileW", 5}};
        const auto found = security.find(path == "." ? cwd : path);
        SecurityDescriptor descriptor = found != security.end() ? found->second : AdministratorsOnly();
        descriptor.isReparsePoint = linkTargets.count(path) > 0;
        return {descriptor, std::nullopt};
    }
    Checked<std::string> FinalPathOf(const std::string& path) override {
        return {linkTargets.count(path) ? linkTargets[path] : path, std::nullopt};
    }
    // Files and folders directly in the folder; a link is listed as the link.
    Checked<std::vector<FolderEntryInfo>> FolderEntries(const std::string& folder) override {
        std::vector<FolderEntryInfo> entries;
        const auto direct = [&](const std::string& path) {
            return path.starts_with(folder + "\\") && path.find('\\', folder.size() + 1) == std::string::npos;
        };
        for (const auto& [path, file] : files) {
            if (direct(path)) entries.push_back({path.substr(folder.size() + 1), false, linkTargets.count(path) > 0});
        }
        for (const std::string& path : folders) {
            if (direct(path)) entries.push_back({path.substr(folder.size() + 1), true, linkTargets.count(path) > 0});
        }
        listed.push_back(folder);
        return {entries, std::nullopt};
    }
    std::string ProgramExtensions() override { return ".COM;.EXE;.BAT;.CMD;.VBS;.JS;.WSF;.MSC"; }
    Trust TrustOf(const std::string& sid) override {
        accountsAsked.push_back(sid);
        return accountTrust.count(sid) ? accountTrust[sid] : Trust::Untrusted;
    }
    std::pair<std::string, std::string> AccountNames(const std::string& sid) override {
        return {sid == kUsers ? "BUILTIN\\Users" : "", sid};
    }
    Checked<unsigned long> WaitForExit(unsigned long processId) override {
        effects.push_back("wait " + std::to_string(processId));
        return {exitCodes[processId], std::nullopt};
    }
    void ProcessPendingEvents() override { ++eventRounds; }
    void Pause(std::chrono::milliseconds duration) override { clock += duration; }
    std::chrono::steady_clock::time_point Now() override { return clock; }

    static constexpr char kAnswerFile[] = "C:\\app\\yes.txt";
    // A product folder C:\app with acl.bat and service\install.exe, and KEVA's D:\pkg.
    std::map<std::string, File> files = {{"C:\\app\\acl.bat", {}},
                                         {"C:\\app\\service\\install.exe", {}},
                                         {"C:\\Windows\\win.ini", {"[windows]\r\nload=\r\n", 0}}};
    std::set<std::string> folders = {"C:\\app", "C:\\app\\service", "D:\\pkg"};
    std::set<std::string> notPrograms;
    std::set<std::string> unreadable;
    std::set<std::string> inUse;  // files another program has open to change
    std::set<std::string> held;   // held unchanged by the run
    std::set<std::string> replaced;  // another file at the path than the one held
    // Files another program holds (no sharing) until the clock reaches the time given.
    std::map<std::string, std::chrono::steady_clock::time_point> heldUntil;
    // Owners and DACLs by path; by default only administrators may change a thing.
    std::map<std::string, SecurityDescriptor> security;
    std::map<std::string, std::string> linkTargets;  // links, junctions and mount points, and where each leads
    std::vector<std::string> listed;                 // the folders listed, in order
    std::map<std::string, unsigned long> links;      // files with more names than one: how many
    std::map<std::string, Trust> accountTrust;
    std::vector<std::string> accountsAsked;
    std::set<std::string> garbled;  // files whose restoration writes something else
    // Effects that fail: by the kind and file ("ini F", "delete F", "write",
    // "start P", ...), or by the effect's whole record.
    std::set<std::string> failing;
    // Another program at work: told of each effect as it is tried.
    std::function<void(FakeSetupPlatform&, const std::string& effect)> meanwhile;
    std::map<std::string, unsigned long> exitCodeOf;
    std::vector<std::string> effects;
    std::vector<std::set<std::string>> heldAtStart;  // what was held as each program started
    int stillHiddenFor = 0;
    int eventRounds = 0;
    std::string cwd = "E:\\started-here";
    std::map<std::string, std::string> identities;  // of the files that have one to compare
    CallResult windowsDirectoryFailure;
    std::chrono::steady_clock::time_point clock{};

private:
    bool Held(const std::string& path) const {
        const auto held = heldUntil.find(path);
        return held != heldUntil.end() && clock < held->second;
    }
    CallResult Effect(const std::string& record, const std::string& key) {
        if (meanwhile) meanwhile(*this, record);
        effects.push_back(record);
        if (failing.count(key) || failing.count(record)) return CallFailure{"Fake", 5};
        return std::nullopt;
    }
    std::map<unsigned long, unsigned long> exitCodes;
    unsigned long nextProcessId = 100;
};

}  // namespace selvane::testing
