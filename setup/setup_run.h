#pragma once

#include <optional>
#include <string>

#include "setup/post_setup.h"
#include "setup/setup_outcome.h"
#include "setup/setup_platform.h"

namespace selvane {

struct SetupRequest {
    std::string folderBoxText;  // KEVA's folder, as the folder box (or /DIR) holds it
    std::string appFolder;
    RunOptions options;
};

// Refuses an empty folder box, checks everything that can be checked, then
// writes orna_remote.ini in the chosen folder and the ORNA section of win.ini.
std::optional<SetupFailure> ValidateAndWriteSettings(SetupPlatform& platform, const SetupRequest& request,
                                                     const SetupPaths& paths, SetupObserver& observer);

// The whole setup run, as both the window and the unattended run make it:
// the settings, then acl.bat, then the service installer. Nothing when it
// succeeded; otherwise the step it stopped at. Shows nothing itself.
std::optional<SetupFailure> RunSetup(SetupPlatform& platform, const SetupRequest& request, SetupObserver& observer);

}  // namespace selvane
