#pragma once

#include <string>

#include "app/app_log.h"
#include "app/server_type.h"
#include "app/switches.h"
#include "setup/setup_platform.h"
#include "setup/setup_request.h"

namespace selvane {

// What an unattended run asks of the system besides the setup run's own
// operations.
class UnattendedHost {
public:
    virtual ~UnattendedHost() = default;
    virtual bool AnotherInstanceRunning() = 0;
    virtual ServerTypeReading ReadServerType() = 0;
};

struct UnattendedResult {
    int exitCode = 0;
    std::string summary;  // one line for the console it was started from
};

// A setup run without a window: every check a window run makes, with the
// folder from /DIR; what happens goes to the log, and the result is an exit
// code a deployment tool can read. Shows nothing. With /VERIFY, only tells
// whether the server already holds what such a run would write.
// The base request names the application folder, the log and the program.
UnattendedResult RunUnattended(const Switches& switches, const SetupRequest& base, UnattendedHost& host,
                               SetupPlatform& platform, AppLog& log);

}  // namespace selvane
