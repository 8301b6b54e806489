#pragma once

#include <optional>

#include "setup/setup_outcome.h"
#include "setup/setup_paths.h"
#include "setup/setup_platform.h"

namespace selvane {

// Everything about a run that can be known before its first write: every
// text fits the ANSI code page, every path the length limit, cmd.exe can
// take the batch path, and acl.bat, the service folder and its installer are
// there. A run that fails one has changed nothing.
std::optional<SetupFailure> CheckBeforeWriting(SetupPlatform& platform, const SetupPaths& paths);

// A file must stand at the path, hidden and system files included; nothing
// there, or a folder, fails at the step given.
std::optional<SetupFailure> ExpectFile(SetupPlatform& platform, SetupStep step, const std::string& path);

}  // namespace selvane
