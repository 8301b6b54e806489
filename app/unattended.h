#pragma once

#include <string>

#include "app/run_records.h"
#include "app/server_type.h"
#include "app/switches.h"
#include "setup/setup_platform.h"

namespace selvane {

// A setup run without a window: every check a window run makes, with the
// folder from /DIR; what happens goes to the log, and the result is an exit
// code a deployment tool can read. Shows nothing. With /VERIFY, only tells
// whether the server already holds what such a run would write. ORNA.mdb
// has been read, unless another instance runs. The event it returns (its
// outcome in the words of the console line) is the one to record.
RunEvent RunUnattended(const Switches& switches, bool anotherInstanceRuns, const ServerTypeReading& serverType,
                       SetupPlatform& platform, RunRecords& records);

// The event of a run with these switches: none where the mode records none
// (/WHATIF, /VERIFY), and naming the folder /DIR gives.
RunEvent EventOf(const Switches& switches, RunEvent event);

}  // namespace selvane
