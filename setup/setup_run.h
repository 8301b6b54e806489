#pragma once

#include <optional>
#include <string>

#include "setup/post_setup.h"
#include "setup/setup_outcome.h"
#include "setup/setup_platform.h"
#include "setup/setup_request.h"

namespace selvane {

// Refuses an empty folder box, checks everything that can be checked, then
// writes orna_remote.ini in the chosen folder and the ORNA section of win.ini.
std::optional<SetupFailure> ValidateAndWriteSettings(SetupPlatform& platform, const SetupRequest& request,
                                                     const SetupPaths& paths, SetupObserver& observer);

// The whole setup run, as both the window and the unattended run make it:
// the settings, then acl.bat, then the service installer. Nothing when it
// succeeded; otherwise the step it stopped at. Shows nothing itself.
std::optional<SetupFailure> RunSetup(SetupPlatform& platform, const SetupRequest& request, SetupObserver& observer);

}  // namespace selvane
