#pragma once

#include <chrono>
#include <optional>
#include <vector>

#include "setup/run_journal.h"
#include "setup/run_plan.h"
#include "setup/setup_outcome.h"
#include "setup/setup_platform.h"

namespace selvane {

// Every file, folder and command line of the run, with the Windows and
// system directories the platform gives.
std::optional<SetupFailure> PlanRun(SetupPlatform& platform, const SetupRequest& request, RunPlan& plan);

// The whole setup run, as both the window and the unattended run make it:
// the settings, then acl.bat, then the service installer. A run that stops
// before acl.bat has started puts back what it changed; the failure says
// what it left behind. Shows nothing itself.
// The journal hears what a later start must know should the run be cut off.
SetupOutcome RunSetup(SetupPlatform& platform, const SetupRequest& request, SetupObserver& observer,
                      RunJournal& journal);
SetupOutcome RunSetup(SetupPlatform& platform, const SetupRequest& request, SetupObserver& observer);

// An entry that does not hold what a run would write.
struct SettingDifference {
    ProfileWrite expected;
    std::optional<std::string> found;  // the value as the profile functions read it; none: no such key
};

inline constexpr char kAnswerFileContent[] = "y\r\n";
// Long enough for any disk, short enough that a lost file cannot hang the run.
inline constexpr std::chrono::milliseconds kAnswerFileWait{5000};
inline constexpr std::chrono::milliseconds kAnswerFilePoll{10};

// Compares the twelve entries a run would write with what the INI files hold
// now: folders as Windows compares them, the services' "0" exactly. Keys
// and sections are found as the profile functions find them. A failure
// when a file is there but cannot be read.
std::optional<SetupFailure> CompareSettings(SetupPlatform& platform, const RunPlan& plan,
                                            std::vector<SettingDifference>& differences);

}  // namespace selvane
