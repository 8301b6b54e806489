#pragma once

#include <optional>
#include <string>

#include "setup/run_plan.h"
#include "setup/setup_outcome.h"
#include "setup/setup_platform.h"

namespace selvane {

// Everything about a run that can be known before its first write: every
// text fits the ANSI code page and every path the length limit (those made
// from the folder box apart from those made from the program's folder),
// cmd.exe can take the batch path, and acl.bat, the service folder and a
// program Windows can start as its installer are there. A run that fails
// one has changed nothing.
std::optional<SetupFailure> CheckBeforeWriting(SetupPlatform& platform, const RunPlan& plan);

// A file must stand at the path, hidden and system files included; nothing
// there, or a folder, fails at the step given.
std::optional<SetupFailure> ExpectFile(SetupPlatform& platform, SetupStep step, const std::string& path);

}  // namespace selvane
