#pragma once

// The steps of a setup run, for the run itself (RunSetup) and nothing else.

#include <optional>
#include <string>

#include "setup/run_plan.h"
#include "setup/setup_changes.h"
#include "setup/setup_outcome.h"
#include "setup/setup_platform.h"

namespace selvane {

// Refuses an empty folder box, checks everything that can be checked,
// reads what stands where it will write, then writes orna_remote.ini in
// the chosen folder and the ORNA section of win.ini.
std::optional<SetupFailure> ValidateAndWriteSettings(SetupPlatform& platform, const SetupRequest& request,
                                                     const RunPlan& plan, SetupChanges& changes,
                                                     SetupObserver& observer);

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

// Writes the answer file yes.txt, waits until it can be seen, then starts
// acl.bat hidden, in the directory the program was started in.
std::optional<SetupFailure> RunAclBatch(SetupPlatform& platform, const RunPlan& plan, const SetupRequest& request,
                                        SetupChanges& changes, SetupObserver& observer);

// Starts service\install.exe hidden with the service folder as the current
// directory; afterwards the application folder is the current directory.
// Waited for, an installer that ends asking for a restart has done its work.
SetupOutcome RunServiceInstaller(SetupPlatform& platform, const RunPlan& plan, const SetupRequest& request,
                                 SetupChanges& changes, SetupObserver& observer);

}  // namespace selvane
