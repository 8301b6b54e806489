#pragma once

#include "app/app_log.h"

namespace selvane {

// Ends the program at once with this exit code, which the log records last:
// the setup window closes and none of its handlers runs again.
[[noreturn]] void EndProgram(AppLog& log, int exitCode);

}  // namespace selvane
