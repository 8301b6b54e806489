#pragma once

#include <string>

#include "app/run_records.h"
#include "app/server_type.h"
#include "app/switches.h"
#include "setup/setup_platform.h"

namespace selvane {

// A setup run without a window, with the folder from /DIR (with /VERIFY,
// only whether the server holds what such a run would write): the log tells
// what happens; the event returned, in the console line's words, carries the
// exit code. ORNA.mdb has been read, unless another instance runs.
RunEvent RunUnattended(const Switches& switches, bool anotherInstanceRuns, const ServerTypeReading& serverType,
                       SetupPlatform& platform, RunRecords& records);

// The event of a run with these switches: none where the mode records none
// (/WHATIF, /VERIFY), and naming the folder /DIR gives.
RunEvent EventOf(const Switches& switches, RunEvent event);

}  // namespace selvane
