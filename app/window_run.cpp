#include "app/window_run.h"

#include "app/exit_codes.h"
#include "app/failure_text.h"
#include "app/messages.h"

namespace selvane {
namespace {

// Stopped with nothing changed, or with the changes put back (or listed for
// putting back by hand): the window waits for another try. Once acl.bat has
// started, what was done stays done, and the program ends.
bool WindowStaysAfter(const SetupFailure& failure) { return failure.state != ServerState::SettingsKept; }

}  // namespace

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

void WindowRun::SetupFinished(const std::optional<SetupFailure>& failure) {
    if (!failure) {
        Tell(messages::kSetupComplete, MessageIcon::Information, &AppLog::Info);
        host_.EndProgram(exit_codes::kSuccess);
        setupRunning_ = false;
        return;
    }
    std::string text = DescribeFailure(*failure);
    const bool stays = WindowStaysAfter(*failure);
    if (IsRefusalOfInput(*failure)) {
        Tell(text, MessageIcon::Information, &AppLog::Warn);
    } else {
        if (stays) text += std::string("\n") + messages::kCheckFolderAndRetry;
        Tell(text, MessageIcon::Error, &AppLog::Error);
    }
    if (!stays) host_.EndProgram(exit_codes::kWindowRunFailed);
    setupRunning_ = false;
}

const char* WindowRun::ShutdownBlockReason() { return messages::kSetupRunning; }

void WindowRun::UnexpectedFailure(const CallFailure& failure) {
    Tell(std::string(messages::kUnexpectedFailure) + "\n\n" + failure.function + ": " + failure.reason,
         MessageIcon::Error, &AppLog::Error);
    host_.EndProgram(exit_codes::kWindowRunFailed);
}

}  // namespace selvane
