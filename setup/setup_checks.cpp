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

}  // namespace

std::optional<SetupFailure> SetupRun::CheckWhoCanChange() {
    // The programs, the folders they lie in, and the entries of those.
    std::vector<std::pair<std::string, Guarded>> guarded;
    std::vector<const std::string*> folders = {&plan_.appFolder};
    for (const PlannedProgram& program : plan_.programs) guarded.emplace_back(program.file, Guarded::Program);
    for (const PlannedProgram& program : plan_.programs) {
        if (program.folder.empty()) continue;
        guarded.emplace_back(program.folder, Guarded::Folder);
        folders.push_back(&program.folder);
    }
    guarded.emplace_back(plan_.appFolder, Guarded::Folder);
    // Up to the drive's root, or a share's ("\\\\server\\share").
    const auto isRoot = [](const std::string& path) {
        return path.starts_with("\\\\") ? std::count(path.begin(), path.end(), '\\') <= 3 : path.ends_with(":\\");
    };
    for (std::string folder = plan_.appFolder; !isRoot(folder) && folder.find('\\') != std::string::npos;) {
        folder = FolderOfFile(folder);
        guarded.emplace_back(folder, Guarded::FolderAbove);
    }
    for (const std::string* folder : folders) {
        const auto entries = platform_.FolderEntries(*folder);
        if (!entries) return CallFailed(SetupStep::CheckRights, *folder, *entries.failure);
        for (const auto& name : entries.value) {
            std::string path = JoinPath(*folder, name);
            // Named as the plan names the programs and their folders.
            const auto already = [&](const auto& checked) { return CaseFolded(checked.first) == CaseFolded(path); };
            if (std::none_of(guarded.begin(), guarded.end(), already)) {
                guarded.emplace_back(std::move(path), Guarded::Entry);
            }
        }
    }
    for (const auto& [path, role] : guarded) {
        const auto descriptor = platform_.SecurityOf(path);
        if (!descriptor) return CallFailed(SetupStep::CheckRights, path, *descriptor.failure);
        auto finding = JudgeRights(descriptor.value, role, platform_);
        if (!finding) continue;
        finding->path = path;
        std::tie(finding->name, finding->fullSid) = platform_.AccountNames(finding->sid);
        if (finding->Refused()) {
            SetupFailure failure = MakeFailure(SetupStep::CheckRights, FailureReason::OthersCanChange, path);
            failure.rights = std::move(*finding);
            return failure;
        }
        observer_.OthersCanChange(*finding);
        warnings_.push_back(std::move(*finding));
    }
    // cmd.exe looks for a command that acl.bat names bare in its current folder first.
    const auto current = platform_.SecurityOf(".");
    othersFillCurrentFolder_ = !current || JudgeRights(current.value, Guarded::Folder, platform_);
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
