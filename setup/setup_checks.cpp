#include "setup/run_steps.h"

#include <initializer_list>
#include <utility>

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

}  // namespace

std::optional<SetupFailure> Expect(SetupPlatform& platform, SetupStep step, const std::string& path, PathKind kind) {
    const PathProbe probe = platform.Probe(path);
    if (probe.kind == PathKind::Missing) return CallFailed(step, path, probe.why);
    if (probe.kind == kind) return std::nullopt;
    return MakeFailure(step, kind == PathKind::File ? FailureReason::IsFolder : FailureReason::NotFolder, path);
}

std::optional<SetupFailure> CheckBeforeWriting(SetupPlatform& platform, const RunPlan& plan) {
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
    return std::nullopt;
}

}  // namespace selvane
