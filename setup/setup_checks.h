#pragma once

#include <optional>

#include "setup/setup_outcome.h"
#include "setup/setup_paths.h"
#include "setup/setup_platform.h"
#include "setup/setup_request.h"

namespace selvane {

// Everything about a run that can be known before its first write: every
// text fits the ANSI code page, every path the length limit, the log is none
// of the run's files, cmd.exe can take the batch path, acl.bat, the service
// folder and a program Windows can start as its installer are there, and no
// folder stands where the answer file goes. A run that fails one has
// changed nothing.
std::optional<SetupFailure> CheckBeforeWriting(SetupPlatform& platform, const SetupRequest& request,
                                               const SetupPaths& paths);

// The log must never be written into one of the run's own files: the INI
// files, the answer file, acl.bat, the installer, ORNA.mdb or the program.
// orna_remote.ini is known only once there is a folder.
std::optional<SetupFailure> CheckLogFile(SetupPlatform& platform, const SetupRequest& request,
                                         const SetupPaths& paths);

// A file must stand at the path, hidden and system files included; nothing
// there, or a folder, fails at the step given.
std::optional<SetupFailure> ExpectFile(SetupPlatform& platform, SetupStep step, const std::string& path);

}  // namespace selvane
