#pragma once

#include <chrono>
#include <optional>

#include "setup/run_plan.h"
#include "setup/setup_changes.h"
#include "setup/setup_outcome.h"
#include "setup/setup_platform.h"

namespace selvane {

inline constexpr char kAnswerFileContent[] = "y\r\n";
// Long enough for any disk, short enough that a lost file cannot hang the run.
inline constexpr std::chrono::milliseconds kAnswerFileWait{5000};
inline constexpr std::chrono::milliseconds kAnswerFilePoll{10};

// Writes the answer file yes.txt, waits until it can be seen, then starts
// acl.bat hidden, in the directory the program was started in.
std::optional<SetupFailure> RunAclBatch(SetupPlatform& platform, const RunPlan& plan, const SetupRequest& request,
                                        SetupChanges& changes, SetupObserver& observer);

// Starts service\install.exe hidden with the service folder as the current
// directory; afterwards the application folder is the current directory.
// Waited for, an installer that ends asking for a restart has done its work.
SetupOutcome RunServiceInstaller(SetupPlatform& platform, const RunPlan& plan, const SetupRequest& request,
                                 SetupObserver& observer);

}  // namespace selvane
