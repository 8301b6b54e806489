#pragma once

// The steps of a setup run, for the run itself (RunSetup) and nothing else.

#include <optional>
#include <string>
#include <vector>

#include "setup/run_plan.h"
#include "setup/setup_changes.h"
#include "setup/setup_outcome.h"
#include "setup/setup_platform.h"

namespace selvane {

// What the check of who can change the run's programs found that does not
// stop the run.
struct RightsCheck {
    std::vector<RightsFinding> warnings;
    bool othersFillCurrentFolder = false;  // others can add files to the current folder
};

// Refuses an empty folder box, checks everything that can be checked,
// reads what stands where it will write, then writes orna_remote.ini in
// the chosen folder and the ORNA section of win.ini.
std::optional<SetupFailure> ValidateAndWriteSettings(SetupPlatform& platform, const SetupRequest& request,
                                                     const RunPlan& plan, SetupChanges& changes, RightsCheck& rights,
                                                     SetupObserver& observer);

// Everything about a run that can be known before its first write: every
// text fits the ANSI code page and every path the length limit (those made
// from the folder box apart from those made from the program's folder),
// cmd.exe can take the batch path, and acl.bat, the service folder and a
// program Windows can start as its installer are there, and acl.bat and
// the installer can be held unchanged until they start, and nobody but the
// administrators can change them (CheckWhoCanChange). A run that fails one
// has changed nothing.
std::optional<SetupFailure> CheckBeforeWriting(SetupPlatform& platform, const RunPlan& plan, RightsCheck& rights,
                                               SetupObserver& observer);

// Refuses a run whose programs, the folders they lie in (and the entries of
// those) or a folder above them an account other than the administrators
// could change or replace; where others can only add entries, or the system
// cannot place an account, the run goes on and the observer is told.
std::optional<SetupFailure> CheckWhoCanChange(SetupPlatform& platform, const RunPlan& plan, RightsCheck& rights,
                                              SetupObserver& observer);

// A file (hidden and system files included) or a folder must stand at the
// path; nothing there, or the other kind, fails at the step given.
std::optional<SetupFailure> Expect(SetupPlatform& platform, SetupStep step, const std::string& path, PathKind kind);

// Writes the answer file yes.txt, waits until it can be seen, then starts
// acl.bat hidden, in the directory the program was started in (where others
// can add files there, cmd.exe does not look for commands in it).
std::optional<SetupFailure> RunAclBatch(SetupPlatform& platform, const RunPlan& plan, const SetupRequest& request,
                                        const RightsCheck& rights, SetupChanges& changes, SetupObserver& observer);

// Starts service\install.exe hidden with the service folder as the current
// directory; afterwards the application folder is the current directory.
// Waited for, an installer that ends asking for a restart has done its work.
SetupOutcome RunServiceInstaller(SetupPlatform& platform, const RunPlan& plan, const SetupRequest& request,
                                 SetupChanges& changes, SetupObserver& observer);

}  // namespace selvane
