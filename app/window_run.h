#pragma once

#include <optional>
#include <string>

#include "app/run_records.h"
#include "app/server_type.h"
#include "platform/call_failure.h"
#include "setup/setup_outcome.h"
#include "setup/setup_platform.h"

namespace selvane {

enum class MessageIcon { Information, Warning, Error };

// What the window run asks of the window system: a modal message box
// captioned with the application title, over the setup window once it
// exists; it returns when the user has closed it.
class WindowRunHost {
public:
    virtual ~WindowRunHost() = default;
    virtual void ShowMessage(const std::string& text, MessageIcon icon) = 0;
};

// The setup window's run, from start-up to its end: for each outcome, what
// the user is told (through the host) and with which icon, what is recorded,
// and whether the window stays for another try or the program ends, how.
class WindowRun {
public:
    WindowRun(WindowRunHost& host, RunRecords& records) : host_(host), records_(records) {}

    // Whether the window may open once ORNA.mdb has been read. A refused
    // server has been told so, and the program has ended.
    bool ServerTypeRead(const ServerTypeReading& reading);
    // While loading, another instance was found: its window came forward,
    // or it runs without one (an unattended run). Ends the program.
    void AnotherInstanceRuns(bool itsWindowCameForward);
    void RightButtonPressed();
    // Before the window opens: a last run that was cut off is told of.
    void LastRunLooked(SetupPlatform& platform);

    // Complete: false while a run is under way, when the press does nothing.
    bool BeginSetup();
    // The setup run for the folder the box holds, once BeginSetup allowed it.
    void Complete(SetupPlatform& platform, const std::string& folderBoxText);
    // The run's outcome, for the folder the box named.
    void SetupFinished(const SetupOutcome& outcome, const std::string& kevaFolder);
    // A close or the end of the session waits for a run's outcome.
    bool SetupRunning() const { return setupRunning_; }

    // A Windows call failed where nothing can go on: named, and the program ends.
    void UnexpectedFailure(const CallFailure& failure);

private:
    void Tell(const std::string& text, MessageIcon icon, void (AppLog::*level)(std::string_view));

    WindowRunHost& host_;
    RunRecords& records_;
    bool setupRunning_ = false;
};

}  // namespace selvane
