#include "setup/setup_checks.h"

#include <vector>

namespace selvane {
namespace {

std::optional<SetupFailure> TooLong(const std::string& path, std::size_t limit) {
    const std::size_t length = Utf16Length(path);
    if (length <= limit) return std::nullopt;
    SetupFailure failure = MakeFailure(SetupStep::CheckPathLength, FailureReason::TooLong, path);
    failure.length = length;
    failure.limit = limit;
    return failure;
}

}  // namespace

std::optional<SetupFailure> ExpectFile(SetupPlatform& platform, SetupStep step, const std::string& path) {
    const PathProbe probe = platform.Probe(path);
    if (probe.kind == PathKind::Missing) return MakeFailure(step, FailureReason::Missing, path, probe.reason);
    if (probe.kind == PathKind::Folder) return MakeFailure(step, FailureReason::IsFolder, path);
    return std::nullopt;
}

std::optional<SetupFailure> CheckLogFile(SetupPlatform& platform, const SetupRequest& request,
                                         const SetupPaths& paths) {
    if (request.logFile.empty()) return std::nullopt;
    std::vector<const std::string*> files = {&paths.answerFile, &paths.batchFile, &paths.installer, &paths.database,
                                             &request.programFile};
    // Each INI file once; orna_remote.ini only once there is a folder.
    const std::string& settingsFile = paths.writes.front().file;
    for (const auto& write : paths.writes) {
        if (write.file == settingsFile && request.folderBoxText.empty()) continue;
        if (files.back() != &write.file && *files.back() != write.file) files.push_back(&write.file);
    }
    for (const std::string* file : files) {
        if (!file->empty() && platform.SamePath(request.logFile, *file)) {
            return MakeFailure(SetupStep::CheckLogFile, FailureReason::IsRunFile, *file);
        }
    }
    return std::nullopt;
}

std::optional<SetupFailure> CheckBeforeWriting(SetupPlatform& platform, const SetupRequest& request,
                                               const SetupPaths& paths) {
    // What the profile functions receive first: Windows would write "?" for
    // a character the code page lacks, and the path would name another file.
    std::vector<const std::string*> texts;
    for (const auto& write : paths.writes) {
        texts.push_back(&write.file);
        texts.push_back(&write.value);
    }
    for (const std::string* path : {&paths.answerFile, &paths.batchFile, &paths.serviceFolder, &paths.installer}) {
        texts.push_back(path);
    }
    for (const std::string* text : texts) {
        if (!platform.FitsCodePage(*text)) return MakeFailure(SetupStep::CheckText, FailureReason::NotInCodePage, *text);
    }

    for (const auto& write : paths.writes) {
        if (auto failure = TooLong(write.file, kMaxPathLength)) return failure;
    }
    for (const std::string* file : {&paths.answerFile, &paths.batchFile, &paths.commandInterpreter, &paths.installer}) {
        if (auto failure = TooLong(*file, kMaxPathLength)) return failure;
    }
    for (const std::string* folder : {&paths.appFolder, &paths.serviceFolder}) {
        if (auto failure = TooLong(*folder, kMaxDirectoryLength)) return failure;
    }

    if (auto failure = CheckLogFile(platform, request, paths)) return failure;
    if (!paths.batchCommandLine) {
        return MakeFailure(SetupStep::CheckBatchFile, FailureReason::UnsafeCharacter, paths.batchFile);
    }
    if (auto failure = ExpectFile(platform, SetupStep::CheckBatchFile, paths.batchFile)) return failure;
    const PathProbe service = platform.Probe(paths.serviceFolder);
    if (service.kind == PathKind::Missing) {
        return MakeFailure(SetupStep::CheckServiceFolder, FailureReason::Missing, paths.serviceFolder, service.reason);
    }
    if (service.kind == PathKind::File) {
        return MakeFailure(SetupStep::CheckServiceFolder, FailureReason::NotFolder, paths.serviceFolder);
    }
    if (auto failure = ExpectFile(platform, SetupStep::CheckInstaller, paths.installer)) return failure;
    if (!platform.IsProgram(paths.installer)) {
        return MakeFailure(SetupStep::CheckInstaller, FailureReason::NotAProgram, paths.installer);
    }
    if (platform.Probe(paths.answerFile).kind == PathKind::Folder) {
        return MakeFailure(SetupStep::CheckAnswerFile, FailureReason::IsFolder, paths.answerFile);
    }
    return std::nullopt;
}

}  // namespace selvane
