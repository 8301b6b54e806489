#pragma once

#include <cstddef>
#include <string>
#include <utility>

#include "setup/settings_plan.h"

namespace selvane {

// The steps of a setup run, in order. Those before WriteSettings change nothing.
enum class SetupStep {
    ReadFolderBox,
    FindWindowsDirectory,
    FindSystemDirectory,
    CheckText,
    CheckPathLength,
    CheckBatchFile,
    CheckServiceFolder,
    CheckInstaller,
    WriteSettings,
    WriteAnswerFile,
    FindAnswerFile,
    StartBatchFile,
    RunBatchFile,
    EnterServiceFolder,
    StartInstaller,
    RunInstaller,
    ReturnToAppFolder,
};

enum class FailureReason {
    System,           // systemText says why
    Empty,            // the folder box is empty
    NotInCodePage,    // the ANSI code page cannot hold a character of subject
    TooLong,          // length characters, more than limit
    UnsafeCharacter,  // '%' or '"' in a path cmd.exe would read
    Missing,          // nothing there; systemText says what the system found
    IsFolder,         // a folder where a file must be
    NotFolder,        // a file where a folder must be
    NotVisible,       // written, but not found within the wait
    ExitCode,         // the program ended with a code other than 0
};

// Why a setup run stopped: the step, the file, folder or text concerned,
// and the reason; never shown by the run itself.
struct SetupFailure {
    SetupStep step = SetupStep::ReadFolderBox;
    FailureReason reason = FailureReason::System;
    std::string subject;
    std::string systemText;
    unsigned long exitCode = 0;
    std::size_t length = 0;
    std::size_t limit = 0;
};

inline SetupFailure MakeFailure(SetupStep step, FailureReason reason, std::string subject,
                                std::string systemText = {}) {
    SetupFailure failure;
    failure.step = step;
    failure.reason = reason;
    failure.subject = std::move(subject);
    failure.systemText = std::move(systemText);
    return failure;
}

inline bool ChangedNothing(SetupStep step) { return step < SetupStep::WriteSettings; }

// What became of one effect of the run: made, failed, or (what-if run)
// only planned.
enum class EffectState { Done, Failed, Planned };
struct Effect {
    EffectState state = EffectState::Done;
    std::string reason;
};

// Told of every effect as the run makes it (or plans it); the log listens.
class SetupObserver {
public:
    virtual ~SetupObserver() = default;
    virtual void SettingWritten(const ProfileWrite&, const Effect&) {}
    virtual void AnswerFileWritten(const std::string& /*path*/, const Effect&) {}
    virtual void ProgramStarted(const std::string& /*commandLine*/, const std::string& /*directory*/,
                                unsigned long /*processId*/, const Effect&) {}
    virtual void WaitingFor(const std::string& /*program*/) {}
    virtual void ProgramEnded(const std::string& /*program*/, unsigned long /*exitCode*/) {}
};

}  // namespace selvane
