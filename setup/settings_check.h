#pragma once

#include <optional>
#include <string>
#include <vector>

#include "setup/setup_outcome.h"
#include "setup/setup_paths.h"
#include "setup/setup_platform.h"

namespace selvane {

// An entry that does not hold what a run would write.
struct SettingDifference {
    ProfileWrite expected;
    std::optional<std::string> found;  // none: no such key (or section, or file)
};

// Compares the twelve entries a run would write with what the INI files hold
// now. Keys and sections are found as the profile functions find them;
// values are compared exactly, case included, as the product reads them.
// A failure when a file is there but cannot be read.
std::optional<SetupFailure> CompareSettings(SetupPlatform& platform, const SetupPaths& paths,
                                            std::vector<SettingDifference>& differences);

}  // namespace selvane
