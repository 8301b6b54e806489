#pragma once

#include <chrono>
#include <optional>

#include "setup/setup_changes.h"
#include "setup/setup_outcome.h"
#include "setup/setup_paths.h"
#include "setup/setup_platform.h"
#include "setup/setup_request.h"

namespace selvane {

inline constexpr char kAnswerFileContent[] = "y\r\n";
// Long enough for any disk, short enough that a lost file cannot hang the run.
inline constexpr std::chrono::milliseconds kAnswerFileWait{5000};
inline constexpr std::chrono::milliseconds kAnswerFilePoll{10};

// Writes the answer file yes.txt, waits until it can be seen, then starts
// acl.bat hidden, in the directory the program was started in.
std::optional<SetupFailure> RunAclBatch(SetupPlatform& platform, const SetupPaths& paths, const SetupRequest& request,
                                        SetupChanges& changes, SetupObserver& observer);

// Starts service\install.exe hidden with the service folder as the current
// directory; afterwards the application folder is the current directory.
std::optional<SetupFailure> RunServiceInstaller(SetupPlatform& platform, const SetupPaths& paths,
                                                const SetupRequest& request, SetupObserver& observer);

}  // namespace selvane
