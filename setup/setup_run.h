#pragma once

#include <optional>

#include "setup/post_setup.h"
#include "setup/setup_changes.h"
#include "setup/setup_outcome.h"
#include "setup/setup_platform.h"
#include "setup/setup_request.h"

namespace selvane {

// Every file, folder and command line of the run, with the Windows and
// system directories the platform gives.
std::optional<SetupFailure> PlanRun(SetupPlatform& platform, const SetupRequest& request, SetupPaths& paths);

// Refuses an empty folder box, checks everything that can be checked,
// reads what stands where it will write, then writes orna_remote.ini in
// the chosen folder and the ORNA section of win.ini.
std::optional<SetupFailure> ValidateAndWriteSettings(SetupPlatform& platform, const SetupRequest& request,
                                                     const SetupPaths& paths, SetupChanges& changes,
                                                     SetupObserver& observer);

// The whole setup run, as both the window and the unattended run make it:
// the settings, then acl.bat, then the service installer. Nothing when it
// succeeded; otherwise the step it stopped at, and what it left changed: a
// run that stops before acl.bat has started puts back what it changed.
// Shows nothing itself.
std::optional<SetupFailure> RunSetup(SetupPlatform& platform, const SetupRequest& request, SetupObserver& observer);

}  // namespace selvane
