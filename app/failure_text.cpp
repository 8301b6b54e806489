#include "app/failure_text.h"

#include "app/messages.h"
#include "app/text_fill.h"

namespace selvane {
namespace {

const char* StepText(SetupStep step) {
    switch (step) {
    case SetupStep::FindWindowsDirectory: return messages::kWindowsDirectoryUnknown;
    case SetupStep::FindSystemDirectory: return messages::kSystemDirectoryUnknown;
    case SetupStep::CheckBatchFile: return messages::kBatchFileUnusable;
    case SetupStep::CheckServiceFolder: return messages::kServiceFolderUnusable;
    case SetupStep::CheckInstaller: return messages::kInstallerUnusable;
    case SetupStep::CheckAnswerFile: return messages::kAnswerFileUnusable;
    case SetupStep::ReadSettings: return messages::kNotReadBeforeWriting;
    case SetupStep::WriteAnswerFile: return messages::kAnswerFileNotWritten;
    case SetupStep::FindAnswerFile: return messages::kAnswerFileNotFound;
    case SetupStep::StartBatchFile: return messages::kBatchFileNotStarted;
    case SetupStep::RunBatchFile: return messages::kBatchFileFailed;
    case SetupStep::EnterServiceFolder: return messages::kServiceFolderNotEntered;
    case SetupStep::StartInstaller: return messages::kInstallerNotStarted;
    case SetupStep::RunInstaller: return messages::kInstallerFailed;
    case SetupStep::ReturnToAppFolder: return messages::kAppFolderNotEntered;
    default: return "{}";
    }
}

std::string ReasonText(const SetupFailure& failure) {
    switch (failure.reason) {
    case FailureReason::Missing:
        return failure.systemText.empty() ? messages::kReasonMissing : failure.systemText;
    case FailureReason::IsFolder: return messages::kReasonIsFolder;
    case FailureReason::NotFolder: return messages::kReasonNotFolder;
    case FailureReason::NotAProgram: return messages::kReasonNotAProgram;
    case FailureReason::UnsafeCharacter: return messages::kReasonUnsafeCharacter;
    case FailureReason::NotVisible: return messages::kReasonNotVisible;
    case FailureReason::ExitCode: return Fill(messages::kReasonExitCode, {std::to_string(failure.exitCode)});
    case FailureReason::TooLong:
        return Fill(messages::kReasonTooLong, {std::to_string(failure.length), std::to_string(failure.limit)});
    default: return failure.systemText;
    }
}

std::string LeftChangeLine(const LeftChange& left) {
    const Restoration& r = left.restoration;
    switch (r.kind) {
    case RestorationKind::RestoreValue: return Fill(messages::kLeftValue, {r.file, r.section, r.key, r.value, left.reason});
    case RestorationKind::DeleteKey: return Fill(messages::kLeftKey, {r.file, r.section, r.key, left.reason});
    case RestorationKind::DeleteSection: return Fill(messages::kLeftSection, {r.file, r.section, left.reason});
    case RestorationKind::RemoveFile:
    case RestorationKind::RemoveAnswerFile: return Fill(messages::kLeftFile, {r.file, left.reason});
    case RestorationKind::RestoreAnswerFile: return Fill(messages::kLeftAnswerFile, {r.file, left.reason});
    }
    return {};
}

// What the run leaves behind it, as a last paragraph.
std::string StateText(const SetupFailure& failure) {
    switch (failure.state) {
    case ServerState::Unchanged: return messages::kNothingChanged;
    case ServerState::PutBack: return messages::kPutBack;
    case ServerState::PartlyPutBack: {
        std::string text = messages::kPartlyPutBack;
        for (const auto& left : failure.leftChanged) {
            text += '\n';
            text += LeftChangeLine(left);
        }
        return text;
    }
    case ServerState::SettingsKept: break;
    }
    std::string text = messages::kSettingsKept;
    text += '\n';
    text += messages::kBatchFileStarted;
    text += '\n';
    text += failure.step >= SetupStep::RunInstaller ? messages::kInstallerStarted : messages::kInstallerNotStartedYet;
    return text;
}

}  // namespace

std::string DescribeRestoration(const Restoration& r) {
    switch (r.kind) {
    case RestorationKind::RestoreValue: return Fill(messages::kLogRestoreValue, {r.file, r.section, r.key, r.value});
    case RestorationKind::DeleteKey: return Fill(messages::kLogDeleteKey, {r.file, r.section, r.key});
    case RestorationKind::DeleteSection: return Fill(messages::kLogDeleteSection, {r.file, r.section});
    case RestorationKind::RemoveFile: return Fill(messages::kLogRemoveFile, {r.file});
    case RestorationKind::RestoreAnswerFile: return Fill(messages::kLogRestoreAnswerFile, {r.file});
    case RestorationKind::RemoveAnswerFile: return Fill(messages::kLogRemoveAnswerFile, {r.file});
    }
    return {};
}

bool IsRefusalOfInput(const SetupFailure& failure) {
    return failure.reason == FailureReason::Empty || failure.reason == FailureReason::NotInCodePage ||
           failure.reason == FailureReason::TooLong || failure.reason == FailureReason::IsRunFile;
}

std::string DescribeFailure(const SetupFailure& failure) {
    switch (failure.reason) {
    case FailureReason::Empty: return messages::kChooseKevaFolder;
    case FailureReason::IsRunFile: return Fill(messages::kLogIsRunFile, {failure.subject});
    case FailureReason::NotInCodePage: return std::string(messages::kNotInCodePage) + "\n\n" + failure.subject;
    case FailureReason::TooLong:
        return std::string(messages::kPathTooLong) + "\n\n" + failure.subject + "\n" + messages::kReasonLabel +
               ReasonText(failure);
    default: break;
    }
    std::string text;
    if (failure.step == SetupStep::WriteSettings) {
        text = std::string(messages::kSettingsNotWritten) + "\n\n" + messages::kFileLabel + failure.subject;
    } else {
        text = std::string(messages::kSetupStopped) + "\n\n" + Fill(StepText(failure.step), {failure.subject});
    }
    text += '\n';
    text += messages::kReasonLabel;
    text += ReasonText(failure);
    text += "\n\n";
    text += StateText(failure);
    return text;
}

}  // namespace selvane
