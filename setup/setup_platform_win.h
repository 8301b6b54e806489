#pragma once

#include <memory>

#include "setup/setup_platform.h"

namespace selvane {

// The run's operations on Windows itself.
std::unique_ptr<SetupPlatform> MakeWindowsSetupPlatform();

}  // namespace selvane
