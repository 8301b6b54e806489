#include "setup/setup_changes.h"

#include <iterator>

#include "setup/held_files.h"
#include "setup/ini_text.h"

namespace selvane {
namespace {

// Read-only, hidden and system: what the run may clear on the answer file.
constexpr unsigned long kKeptAttributes = 0x7;

bool Same(const FileState& a, const FileState& b) {
    return a.exists == b.exists && a.bytes == b.bytes &&
           (a.attributes & kKeptAttributes) == (b.attributes & kKeptAttributes);
}

void Report(SetupObserver& observer, std::vector<LeftChange>& left, const Restoration& restoration,
            const CallResult& failure, bool holds) {
    const bool failed = failure || !holds;
    observer.RestorationMade(restoration, failed ? Effect{EffectState::Failed, failure} : Effect{});
    if (failed) left.push_back({restoration, failure});
}

}  // namespace

SetupChanges::SetupChanges(const RunPlan& plan) {
    for (const RunFileSteps& row : kRunFileSteps) {
        FileOf(row.file) = {row.file, plan.PathOf(row.file), {}, {}, {}, false, {}};
    }
}

std::optional<SetupFailure> SetupChanges::ReadBefore(SetupPlatform& platform, SetupObserver& observer) {
    for (File& file : files_) {
        const SetupStep readStep = StepsOf(file.which).read;
        if (platform.Probe(file.path).kind == PathKind::Folder) {
            return MakeFailure(readStep, FailureReason::IsFolder, file.path);
        }
        auto read = ReadOnceReleased(platform, &observer, file.path);
        if (!read) return CallFailed(readStep, file.path, *read.failure);
        file.before = std::move(read.value);
        file.textBefore = SettingsText(file.before.bytes);
    }
    return std::nullopt;
}

std::optional<std::string> SetupChanges::LineBefore(const ProfileWrite& write) const {
    return FindEntry(FileOf(write.runFile).textBefore, write.section, write.key).line;
}

void SetupChanges::SettingWriteTried(const ProfileWrite& write, SetupPlatform& platform, SetupObserver& observer) {
    File& file = FileOf(write.runFile);
    file.touched = true;
    file.writesTried.push_back(&write);
    auto now = ReadOnceReleased(platform, &observer, file.path);
    file.leftByRun = now ? std::optional(std::move(now.value)) : std::nullopt;
}

LeftBehind SetupChanges::PutBack(SetupPlatform& platform, SetupObserver& observer, RunJournal& journal,
                                 std::vector<LeftChange>& left) const {
    bool changed = false;
    for (auto file = std::rbegin(files_); file != std::rend(files_); ++file) {
        if (!file->touched) continue;
        const auto now = ReadOnceReleased(platform, &observer, file->path);
        if (now && Same(now.value, file->before)) continue;  // nothing of the run's stayed
        changed = true;
        if (now && file->leftByRun && !Same(now.value, *file->leftByRun)) {
            observer.ChangedMeanwhile(file->path);
            PutBackEntries(*file, platform, observer, left);
        } else {
            PutBackWhole(*file, platform, observer, journal, left);
        }
    }
    if (!changed) return LeftBehind::Nothing;
    return left.empty() ? LeftBehind::PutBack : LeftBehind::PartlyPutBack;
}

void SetupChanges::PutBackWhole(const File& file, SetupPlatform& platform, SetupObserver& observer, RunJournal& journal,
                                std::vector<LeftChange>& left) const {
    const Restoration restoration{file.before.exists ? RestorationKind::RestoreFile : RestorationKind::RemoveFile,
                                  file.path, {}, {}, file.textBefore};
    CallResult failure = WaitingOutHolds(platform, &observer, file.path,
                                         [&] { return platform.RestoreFile(file.path, file.before, journal); });
    bool holds = false;
    if (!failure) {
        const auto after = ReadOnceReleased(platform, &observer, file.path);
        failure = after.failure;
        holds = after && Same(after.value, file.before);
    }
    Report(observer, left, restoration, failure, holds);
}

void SetupChanges::PutBackEntries(const File& file, SetupPlatform& platform, SetupObserver& observer,
                                  std::vector<LeftChange>& left) const {
    std::vector<std::pair<Restoration, CallResult>> made;
    for (auto tried = file.writesTried.rbegin(); tried != file.writesTried.rend(); ++tried) {
        const ProfileWrite& write = **tried;
        const IniEntry before = FindEntry(file.textBefore, write.section, write.key);
        Restoration restoration{RestorationKind::RestoreLine, file.path, write.section, write.key,
                                before.line.value_or("")};
        std::optional<std::string> key = write.key;
        std::optional<std::string> value;
        if (before.line) {
            value = std::string(RawValue(*before.line));
        } else if (before.sectionFound) {
            restoration.kind = RestorationKind::DeleteKey;
        } else if (std::next(tried) == file.writesTried.rend() || (*std::next(tried))->section != write.section) {
            // The run created the section: deleted once, at its first write to it.
            restoration.kind = RestorationKind::DeleteSection;
            key.reset();
        } else {
            continue;
        }
        made.emplace_back(restoration, WaitingOutHolds(platform, &observer, file.path, [&] {
                              return platform.WriteProfileEntry(file.path, write.section, key, value);
                          }));
    }
    const auto after = ReadOnceReleased(platform, &observer, file.path);
    const std::string textAfter = after ? SettingsText(after.value.bytes) : std::string();
    for (const auto& [restoration, failure] : made) {
        const IniEntry now = FindEntry(textAfter, restoration.section, restoration.key);
        const bool holds = after && (restoration.kind == RestorationKind::DeleteSection
                                         ? !now.sectionFound
                                         : now.line == FindEntry(file.textBefore, restoration.section, restoration.key).line);
        Report(observer, left, restoration, failure ? failure : after.failure, holds);
    }
}

}  // namespace selvane
