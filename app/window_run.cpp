#include "app/window_run.h"

#include "app/exit_codes.h"
#include "app/failure_text.h"
#include "app/messages.h"

namespace selvane {

void WindowRun::Tell(const std::string& text, MessageIcon icon, void (AppLog::*level)(std::string_view)) {
    (log_.*level)(text);
    host_.ShowMessage(text, icon);
}

bool WindowRun::ServerTypeRead(const ServerTypeReading& reading) {
    log_.ServerTypeRead(reading);
    if (PassesServerTypeCheck(reading)) return true;
    Tell(messages::kUnsupportedServer, MessageIcon::Information, &AppLog::Error);
    host_.EndProgram(exit_codes::kSuccess);
    return false;
}

void WindowRun::AnotherInstanceRuns(bool itsWindowCameForward) {
    // With nothing to bring forward, this start would vanish without a word.
    if (!itsWindowCameForward) {
        Tell(messages::kAnotherInstance, MessageIcon::Information, &AppLog::Error);
        host_.EndProgram(exit_codes::kWindowRunFailed);
        return;
    }
    host_.EndProgram(exit_codes::kSuccess);
}

void WindowRun::RightButtonPressed() { host_.ShowMessage(messages::kRightButtonUnusable, MessageIcon::Information); }

bool WindowRun::BeginSetup() {
    // The run lets window events through while it waits; a second press
    // meanwhile must not start a second run.
    if (setupRunning_) return false;
    setupRunning_ = true;
    return true;
}

void WindowRun::SetupFinished(const SetupOutcome& outcome, const std::string& kevaFolder) {
    const auto& failure = outcome.failure;
    std::string warnings;
    for (const RightsFinding& finding : outcome.warnings) (warnings += "\n\n") += DescribeRightsWarning(finding);
    // A run is under way until its message has been answered.
    if (!failure) {
        host_.RecordEvent(
            {EventKind::Completed, messages::kSetupComplete + warnings, exit_codes::kSuccess, kevaFolder});
        Tell(messages::kSetupComplete, MessageIcon::Information, &AppLog::Info);
        if (!warnings.empty()) host_.ShowMessage(warnings.substr(2), MessageIcon::Warning);
        host_.EndProgram(exit_codes::kSuccess);
        setupRunning_ = false;
        return;
    }
    const std::string text = DescribeFailure(*failure, Telling::Window);
    host_.RecordEvent({EventKind::Failed, text + warnings, exit_codes::kWindowRunFailed, kevaFolder});
    // What another folder can mend is the user's to mend; the rest is a failure.
    const bool mendable = FolderBoxMends(*failure);
    Tell(text, mendable ? MessageIcon::Information : MessageIcon::Error, mendable ? &AppLog::Warn : &AppLog::Error);
    // Once acl.bat has started, what was done stays done, and the program ends.
    if (failure->left == LeftBehind::SettingsKept) host_.EndProgram(exit_codes::kWindowRunFailed);
    setupRunning_ = false;
}

void WindowRun::UnexpectedFailure(const CallFailure& failure) {
    Tell(UnexpectedFailureText(failure), MessageIcon::Error, &AppLog::Error);
    host_.EndProgram(exit_codes::kWindowRunFailed);
}

}  // namespace selvane
