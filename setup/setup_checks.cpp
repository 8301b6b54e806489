#include "setup/run_steps.h"

#include <algorithm>
#include <initializer_list>
#include <tuple>
#include <utility>

#include "platform/folder_path.h"

namespace selvane {
namespace {

// A text and the length limit of its path; 0 for a text that is no path.
using Limited = std::pair<const std::string*, std::size_t>;

// What the profile functions and CreateProcess receive: Windows would write
// "?" for a character the code page lacks, and the path would name another
// file.
std::optional<SetupFailure> CheckTexts(SetupPlatform& platform, SetupStep step, std::initializer_list<Limited> texts) {
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

// Refuses a run whose programs, the folders they lie in (and the entries of
// those) or a folder above them an account other than the administrators
// could change or replace; where others can only add entries, or the system
// cannot place an account, the run goes on and the observer is told.
std::optional<SetupFailure> CheckWhoCanChange(SetupPlatform& platform, const RunPlan& plan, RightsCheck& rights,
                                              SetupObserver& observer) {
    std::vector<std::pair<std::string, Guarded>> guarded = {{plan.batchFile, Guarded::Program},
                                                            {plan.installer, Guarded::Program},
                                                            {plan.serviceFolder, Guarded::Folder},
                                                            {plan.appFolder, Guarded::Folder}};
    // Up to the drive's root, or a share's ("\\server\share").
    const auto isRoot = [](const std::string& path) {
        return path.starts_with("\\\\") ? std::count(path.begin(), path.end(), '\\') <= 3 : path.ends_with(":\\");
    };
    for (std::string folder = plan.appFolder; !isRoot(folder) && folder.find('\\') != std::string::npos;) {
        folder = FolderOfFile(folder);
        guarded.emplace_back(folder, Guarded::FolderAbove);
    }
    for (const std::string* folder : {&plan.appFolder, &plan.serviceFolder}) {
        const auto entries = platform.FolderEntries(*folder);
        if (!entries) return CallFailed(SetupStep::CheckRights, *folder, *entries.failure);
        for (const auto& name : entries.value) {
            std::string path = JoinPath(*folder, name);
            // Named as the plan names acl.bat, the installer and the service folder.
            const auto already = [&](const auto& checked) { return CaseFolded(checked.first) == CaseFolded(path); };
            if (std::none_of(guarded.begin(), guarded.end(), already)) {
                guarded.emplace_back(std::move(path), Guarded::Entry);
            }
        }
    }
    for (const auto& [path, role] : guarded) {
        const auto descriptor = platform.SecurityOf(path);
        if (!descriptor) return CallFailed(SetupStep::CheckRights, path, *descriptor.failure);
        auto finding = JudgeRights(descriptor.value, role, platform);
        if (!finding) continue;
        finding->path = path;
        std::tie(finding->name, finding->fullSid) = platform.AccountNames(finding->sid);
        if (finding->Refused()) {
            SetupFailure failure = MakeFailure(SetupStep::CheckRights, FailureReason::OthersCanChange, path);
            failure.rights = std::move(*finding);
            return failure;
        }
        observer.OthersCanChange(*finding);
        rights.warnings.push_back(std::move(*finding));
    }
    // cmd.exe looks for a command that acl.bat names bare in its current folder first.
    const auto current = platform.SecurityOf(".");
    rights.othersFillCurrentFolder = !current || JudgeRights(current.value, Guarded::Folder, platform);
    return std::nullopt;
}

}  // namespace

std::optional<SetupFailure> Expect(SetupPlatform& platform, SetupStep step, const std::string& path, PathKind kind) {
    const PathProbe probe = platform.Probe(path);
    if (probe.kind == PathKind::Missing) return CallFailed(step, path, probe.why);
    if (probe.kind == kind) return std::nullopt;
    return MakeFailure(step, kind == PathKind::File ? FailureReason::IsFolder : FailureReason::NotFolder, path);
}

std::optional<SetupFailure> CheckBeforeWriting(SetupPlatform& platform, const RunPlan& plan, RightsCheck& rights,
                                               SetupObserver& observer) {
    if (auto failure = CheckTexts(platform, SetupStep::CheckChosenFolder,
                                  {{&plan.settingsFile, kMaxPathLength}, {&plan.chosenFolder, 0}})) {
        return failure;
    }
    if (auto failure = CheckTexts(platform, SetupStep::CheckProductFolder,
                                  {{&plan.appFolder, kMaxDirectoryLength}, {&plan.serviceFolder, kMaxDirectoryLength},
                                   {&plan.backupFolder, 0}, {&plan.profileFile, kMaxPathLength},
                                   {&plan.answerFile, kMaxPathLength}, {&plan.batchFile, kMaxPathLength},
                                   {&plan.commandInterpreter, kMaxPathLength}, {&plan.installer, kMaxPathLength}})) {
        return failure;
    }
    if (!plan.batchCommandLine) {
        return MakeFailure(SetupStep::CheckBatchFile, FailureReason::UnsafeCharacter, plan.batchFile);
    }
    if (auto failure = Expect(platform, SetupStep::CheckBatchFile, plan.batchFile, PathKind::File)) return failure;
    if (auto failure = Expect(platform, SetupStep::CheckServiceFolder, plan.serviceFolder, PathKind::Folder)) return failure;
    if (auto failure = Expect(platform, SetupStep::CheckInstaller, plan.installer, PathKind::File)) return failure;
    if (!platform.IsProgram(plan.installer)) {
        return MakeFailure(SetupStep::CheckInstaller, FailureReason::NotAProgram, plan.installer);
    }
    // What was checked is what starts: held, unchanged, until the run ends.
    if (auto failure = platform.HoldUnchanged(plan.batchFile)) {
        return CallFailed(SetupStep::CheckBatchFile, plan.batchFile, *failure);
    }
    if (auto failure = platform.HoldUnchanged(plan.installer)) {
        return CallFailed(SetupStep::CheckInstaller, plan.installer, *failure);
    }
    return CheckWhoCanChange(platform, plan, rights, observer);
}

}  // namespace selvane
