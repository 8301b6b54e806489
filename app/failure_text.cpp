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
    case FailureReason::UnsafeCharacter: return messages::kReasonUnsafeCharacter;
    case FailureReason::NotVisible: return messages::kReasonNotVisible;
    case FailureReason::ExitCode: return Fill(messages::kReasonExitCode, {std::to_string(failure.exitCode)});
    case FailureReason::TooLong:
        return Fill(messages::kReasonTooLong, {std::to_string(failure.length), std::to_string(failure.limit)});
    default: return failure.systemText;
    }
}

}  // namespace

bool IsRefusalOfInput(const SetupFailure& failure) {
    return failure.reason == FailureReason::Empty || failure.reason == FailureReason::NotInCodePage ||
           failure.reason == FailureReason::TooLong;
}

std::string DescribeFailure(const SetupFailure& failure) {
    switch (failure.reason) {
    case FailureReason::Empty: return messages::kChooseKevaFolder;
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
    text += std::string("\n") + messages::kReasonLabel + ReasonText(failure);
    if (ChangedNothing(failure.step)) text += std::string("\n\n") + messages::kNothingChanged;
    return text;
}

}  // namespace selvane
