#include "setup/run_steps.h"

#include <algorithm>
#include <tuple>
#include <utility>
#include <vector>

#include "platform/folder_path.h"

namespace selvane {
namespace {

// A text and the length limit of its path; 0 for a text that is no path.
using Limited = std::pair<const std::string*, std::size_t>;

// What the profile functions and CreateProcess receive: Windows would write
// "?" for a character the code page lacks, and the path would name another
// file.
std::optional<SetupFailure> CheckTexts(SetupPlatform& platform, SetupStep step, const std::vector<Limited>& texts) {
    for (const auto& [text, limit] : texts) {
        if (!platform.FitsCodePage(*text)) return MakeFailure(step, FailureReason::NotInCodePage, *text);
    }
    for (const auto& [text, limit] : texts) {
        const std::size_t length = Utf16Length(*text);
        if (limit == 0 || length <= limit) continue;
        SetupFailure failure = MakeFailure(step, FailureReason::TooLong, *text);
        failure.number = length;
        failure.limit = limit;
        return failure;
    }
    return std::nullopt;
}

// The run refused for what another account can do to the path, named for the administrator.
SetupFailure Refusal(SetupPlatform& platform, RightsFinding finding, const std::string& path) {
    finding.path = path;
    std::tie(finding.name, finding.fullSid) = platform.AccountNames(finding.sid);
    SetupFailure failure = MakeFailure(SetupStep::CheckRights, FailureReason::OthersCanChange, path);
    failure.rights = std::move(finding);
    return failure;
}

}  // namespace

std::optional<SetupFailure> SetupRun::GuardTree(const std::string& folder, bool guardedFolder, bool wholly,
                                                std::vector<std::pair<std::string, Guarded>>& guarded) {
    const auto entries = platform_.FolderEntries(folder);
    if (!entries) return CallFailed(SetupStep::CheckRights, folder, *entries.failure);
    const std::string extensions = platform_.ProgramExtensions();
    const auto runs = [&](const FolderEntryInfo& entry) {
        const bool redirectsDlls = entry.isFolder && CaseFolded(entry.name).ends_with(".LOCAL");
        return wholly || redirectsDlls || IsRunOrLoaded(entry.name, extensions);
    };
    // A folder that holds what Windows runs or loads is guarded as the programs' folders are.
    guardedFolder = guardedFolder || std::any_of(entries.value.begin(), entries.value.end(), runs);
    guarded.emplace_back(folder, guardedFolder ? Guarded::Folder : Guarded::Entry);
    for (const FolderEntryInfo& entry : entries.value) {
        std::string path = JoinPath(folder, entry.name);
        if (!entry.isFolder || entry.isReparsePoint) {
            const Guarded kind = entry.isFolder ? Guarded::Folder : Guarded::Program;
            guarded.emplace_back(std::move(path), runs(entry) ? kind : Guarded::Entry);
            continue;
        }
        const auto isPath = [&](const PlannedProgram& program) { return CaseFolded(program.folder) == CaseFolded(path); };
        const bool programFolder = std::any_of(std::begin(plan_.programs), std::end(plan_.programs), isPath);
        if (auto failure = GuardTree(path, programFolder, wholly || programFolder, guarded)) return failure;
    }
    return std::nullopt;
}

std::optional<SetupFailure> SetupRun::CheckWhoCanChange() {
    // The folders above the program's own, up to the drive's, share's or
    // volume's root, then its whole folder, all the way down (links not followed).
    std::vector<std::pair<std::string, Guarded>> guarded;
    const auto addFoldersAbove = [&](std::string folder) {
        while (!IsRootFolder(folder) && folder.find('\\') != std::string::npos) {
            folder = FolderOfFile(folder);
            guarded.emplace_back(folder, Guarded::FolderAbove);
        }
    };
    addFoldersAbove(plan_.appFolder);
    if (auto failure = GuardTree(plan_.appFolder, true, false, guarded)) return failure;
    for (std::size_t at = 0; at < guarded.size(); ++at) {
        const auto [path, role] = guarded[at];  // a copy: the list grows below
        const auto descriptor = platform_.SecurityOf(path);
        if (!descriptor) return CallFailed(SetupStep::CheckRights, path, *descriptor.failure);
        if (auto finding = JudgeRights(descriptor.value, role, platform_)) {
            return Refusal(platform_, std::move(*finding), path);
        }
        // A link an administrator made is judged where it leads, with the folders above that place.
        if (!descriptor.value.isReparsePoint) continue;
        const auto target = platform_.FinalPathOf(path);
        if (!target) return CallFailed(SetupStep::CheckRights, path, *target.failure);
        guarded.emplace_back(target.value, role);
        addFoldersAbove(target.value);
    }
    // cmd.exe looks for a command that acl.bat names bare in its current folder first.
    const auto current = platform_.SecurityOf(".");
    othersFillCurrentFolder_ = !current || JudgeRights(current.value, Guarded::Folder, platform_);
    return std::nullopt;
}

std::optional<SetupFailure> SetupRun::HoldSettingsFile() {
    const SetupStep step = StepsOf(RunFile::Settings).write;
    // KEVA's folder may be a link or junction only where an administrator made it.
    const auto folder = platform_.SecurityOf(plan_.chosenFolder);
    if (folder && folder.value.isReparsePoint) {
        if (auto finding = JudgeRights(folder.value, Guarded::Entry, platform_)) {
            return Refusal(platform_, std::move(*finding), plan_.chosenFolder);
        }
    }
    const auto held = platform_.HoldToWrite(plan_.settingsFile, !request_.whatIf);
    if (!held) return CallFailed(step, plan_.settingsFile, *held.failure);
    if (held.value.created) changes_.Touched(RunFile::Settings);
    if (held.value.isReparsePoint) return MakeFailure(step, FailureReason::IsLink, plan_.settingsFile);
    if (held.value.links > 1) return MakeFailure(step, FailureReason::HasOtherNames, plan_.settingsFile);
    return std::nullopt;
}

std::optional<SetupFailure> SetupRun::Expect(SetupStep step, const std::string& path, PathKind kind) {
    const PathProbe probe = platform_.Probe(path);
    if (probe.kind == PathKind::Missing) return CallFailed(step, path, probe.why);
    if (probe.kind == kind) return std::nullopt;
    return MakeFailure(step, kind == PathKind::File ? FailureReason::IsFolder : FailureReason::NotFolder, path);
}

std::optional<SetupFailure> SetupRun::CheckBeforeWriting() {
    if (auto failure = CheckTexts(platform_, SetupStep::CheckChosenFolder,
                                  {{&plan_.settingsFile, kMaxPathLength}, {&plan_.chosenFolder, 0}})) {
        return failure;
    }
    // The folders first: a folder too long for a current directory is named, not the file in it.
    std::vector<Limited> productPaths = {{&plan_.appFolder, kMaxDirectoryLength}};
    for (const PlannedProgram& program : plan_.programs) productPaths.push_back({&program.folder, kMaxDirectoryLength});
    productPaths.insert(productPaths.end(), {{&plan_.backupFolder, 0}, {&plan_.profileFile, kMaxPathLength},
                                             {&plan_.answerFile, kMaxPathLength}});
    for (const PlannedProgram& program : plan_.programs) productPaths.push_back({&program.file, kMaxPathLength});
    productPaths.push_back({&plan_.commandInterpreter, kMaxPathLength});
    if (auto failure = CheckTexts(platform_, SetupStep::CheckProductFolder, productPaths)) return failure;
    for (const ProgramRow& row : kPrograms) {
        const PlannedProgram& program = plan_.ProgramOf(row.program);
        if (!program.commandLine) return MakeFailure(row.check, FailureReason::UnsafeCharacter, program.file);
        if (row.checkFolder) {
            if (auto failure = Expect(*row.checkFolder, program.folder, PathKind::Folder)) return failure;
        }
        if (auto failure = Expect(row.check, program.file, PathKind::File)) return failure;
        if (!row.isBatchFile && !platform_.IsProgram(program.file)) {
            return MakeFailure(row.check, FailureReason::NotAProgram, program.file);
        }
    }
    // What was checked is what starts: held, unchanged, until the run ends.
    for (const ProgramRow& row : kPrograms) {
        const std::string& file = plan_.ProgramOf(row.program).file;
        if (auto failure = platform_.HoldUnchanged(file)) return CallFailed(row.check, file, *failure);
    }
    return CheckWhoCanChange();
}

}  // namespace selvane
