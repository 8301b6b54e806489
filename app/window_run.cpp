#include "app/window_run.h"

#include "app/exit_codes.h"
#include "app/failure_text.h"
#include "app/messages.h"
#include "platform/folder_path.h"
#include "setup/setup_run.h"

namespace selvane {

void WindowRun::Tell(const std::string& text, MessageIcon icon, void (AppLog::*level)(std::string_view)) {
    (records_.Log().*level)(text);
    host_.ShowMessage(text, icon);
}

bool WindowRun::ServerTypeRead(const ServerTypeReading& reading) {
    records_.Log().ServerTypeRead(reading);
    if (PassesServerTypeCheck(reading)) return true;
    Tell(messages::kUnsupportedServer, MessageIcon::Information, &AppLog::Error);
    records_.EndProgram(exit_codes::kSuccess);
    return false;
}

void WindowRun::AnotherInstanceRuns(bool itsWindowCameForward) {
    // With nothing to bring forward, this start would vanish without a word.
    if (!itsWindowCameForward) {
        Tell(messages::kAnotherInstance, MessageIcon::Information, &AppLog::Error);
        records_.EndProgram(exit_codes::kWindowRunFailed);
        return;
    }
    records_.EndProgram(exit_codes::kSuccess);
}

void WindowRun::LastRunLooked(SetupPlatform& platform) {
    if (auto interrupted = FindInterruptedRun(records_.RunRecord(), platform, records_.Log())) {
        Tell(*interrupted, MessageIcon::Warning, &AppLog::Warn);
    }
}

void WindowRun::RightButtonPressed() { host_.ShowMessage(messages::kRightButtonUnusable, MessageIcon::Information); }

bool WindowRun::BeginSetup() {
    // The run lets window events through while it waits; a second press
    // meanwhile must not start a second run.
    if (setupRunning_) return false;
    setupRunning_ = true;
    return true;
}

void WindowRun::Complete(SetupPlatform& platform, const std::string& folderBoxText) {
    SetupRequest request;
    request.appFolder = records_.Files().appFolder;
    request.folderBoxText = folderBoxText;
    RunLedger ledger(records_.RunRecord(), records_.Log());
    const SetupOutcome outcome = RunSetup(platform, request, records_.Log(), ledger);
    ledger.Ended(outcome, outcome.failure ? exit_codes::kWindowRunFailed : exit_codes::kSuccess);
    SetupFinished(outcome, RemoveOneTrailingBackslash(folderBoxText));
}

void WindowRun::SetupFinished(const SetupOutcome& outcome, const std::string& kevaFolder) {
    const auto& failure = outcome.failure;
    // A run is under way until its message has been answered.
    if (!failure) {
        records_.RecordEvent(
            {EventKind::Completed, messages::kSetupComplete, exit_codes::kSuccess, kevaFolder});
        Tell(messages::kSetupComplete, MessageIcon::Information, &AppLog::Info);
        records_.EndProgram(exit_codes::kSuccess);
        setupRunning_ = false;
        return;
    }
    const std::string text = DescribeFailure(*failure, Telling::Window);
    records_.RecordEvent({EventKind::Failed, text, exit_codes::kWindowRunFailed, kevaFolder});
    // What another folder can mend is the user's to mend; the rest is a failure.
    const bool mendable = FolderBoxMends(*failure);
    Tell(text, mendable ? MessageIcon::Information : MessageIcon::Error, mendable ? &AppLog::Warn : &AppLog::Error);
    // Once acl.bat has started, what was done stays done, and the program ends.
    if (failure->left == LeftBehind::SettingsKept) records_.EndProgram(exit_codes::kWindowRunFailed);
    setupRunning_ = false;
}

void WindowRun::UnexpectedFailure(const CallFailure& failure) {
    Tell(UnexpectedFailureText(failure), MessageIcon::Error, &AppLog::Error);
    records_.EndProgram(exit_codes::kWindowRunFailed);
}

}  // namespace selvane
