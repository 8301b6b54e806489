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

// What the check of who can change the run's programs found that goes on.
struct RightsCheck {
    std::vector<RightsFinding> warnings;
    bool othersFillCurrentFolder = false;  // others can add files to the current folder
};

// Everything that can be known before the first write: the texts and paths
// fit the code page and the length limits, acl.bat, the service folder and
// the installer are there and held unchanged until they start, and only the
// administrators can change them. A run that fails one has changed nothing.
std::optional<SetupFailure> CheckBeforeWriting(SetupPlatform& platform, const RunPlan& plan, RightsCheck& rights,
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
