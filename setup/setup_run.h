#pragma once

#include <chrono>
#include <optional>
#include <vector>

#include "setup/run_plan.h"
#include "setup/setup_changes.h"
#include "setup/setup_outcome.h"
#include "setup/setup_platform.h"

namespace selvane {

// Every file, folder and command line of the run, with the Windows and
// system directories the platform gives.
std::optional<SetupFailure> PlanRun(SetupPlatform& platform, const SetupRequest& request, RunPlan& plan);

// Refuses an empty folder box, checks everything that can be checked,
// reads what stands where it will write, then writes orna_remote.ini in
// the chosen folder and the ORNA section of win.ini.
std::optional<SetupFailure> ValidateAndWriteSettings(SetupPlatform& platform, const SetupRequest& request,
                                                     const RunPlan& plan, SetupChanges& changes,
                                                     SetupObserver& observer);

// The whole setup run, as both the window and the unattended run make it:
// the settings, then acl.bat, then the service installer. A run that stops
// before acl.bat has started puts back what it changed; the failure says
// what it left behind. Shows nothing itself.
SetupOutcome RunSetup(SetupPlatform& platform, const SetupRequest& request, SetupObserver& observer);

// An entry that does not hold what a run would write.
struct SettingDifference {
    ProfileWrite expected;
    std::optional<std::string> found;  // the value as the profile functions read it; none: no such key
};

// Everything about a run that can be known before its first write: every
// text fits the ANSI code page and every path the length limit (those made
// from the folder box apart from those made from the program's folder),
// cmd.exe can take the batch path, and acl.bat, the service folder and a
// program Windows can start as its installer are there, and acl.bat and
// the installer can be held unchanged until they start. A run that fails
// one has changed nothing.
std::optional<SetupFailure> CheckBeforeWriting(SetupPlatform& platform, const RunPlan& plan);

// A file (hidden and system files included) or a folder must stand at the
// path; nothing there, or the other kind, fails at the step given.
std::optional<SetupFailure> Expect(SetupPlatform& platform, SetupStep step, const std::string& path, PathKind kind);

inline constexpr char kAnswerFileContent[] = "y\r\n";
// Long enough for any disk, short enough that a lost file cannot hang the run.
inline constexpr std::chrono::milliseconds kAnswerFileWait{5000};
inline constexpr std::chrono::milliseconds kAnswerFilePoll{10};

// Writes the answer file yes.txt, waits until it can be seen, then starts
// acl.bat hidden, in the directory the program was started in.
std::optional<SetupFailure> RunAclBatch(SetupPlatform& platform, const RunPlan& plan, const SetupRequest& request,
                                        SetupChanges& changes, SetupObserver& observer);

// Starts service\install.exe hidden with the service folder as the current
// directory; afterwards the application folder is the current directory.
// Waited for, an installer that ends asking for a restart has done its work.
SetupOutcome RunServiceInstaller(SetupPlatform& platform, const RunPlan& plan, const SetupRequest& request,
                                 SetupObserver& observer);

// Compares the twelve entries a run would write with what the INI files hold
// now: folders as Windows compares them, the services' "0" exactly. Keys
// and sections are found as the profile functions find them. A failure
// when a file is there but cannot be read.
std::optional<SetupFailure> CompareSettings(SetupPlatform& platform, const RunPlan& plan,
                                            std::vector<SettingDifference>& differences);

}  // namespace selvane
