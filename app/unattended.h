#pragma once

#include <string>

#include "app/app_log.h"
#include "app/server_type.h"
#include "app/switches.h"
#include "setup/setup_platform.h"

namespace selvane {

// The run's exit code, its one line for the console it was started from,
// and what the event log records of it.
struct UnattendedResult {
    int exitCode = 0;
    std::string summary;
    EventKind event = EventKind::None;
};

// A setup run without a window: every check a window run makes, with the
// folder from /DIR; what happens goes to the log, and the result is an exit
// code a deployment tool can read. Shows nothing. With /VERIFY, only tells
// whether the server already holds what such a run would write. The base
// request names the application folder; ORNA.mdb has been read, unless
// another instance runs.
UnattendedResult RunUnattended(const Switches& switches, const SetupRequest& base, bool anotherInstanceRuns,
                               const ServerTypeReading& serverType, SetupPlatform& platform, AppLog& log);

}  // namespace selvane
