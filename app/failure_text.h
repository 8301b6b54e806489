#pragma once

#include <string>

#include "setup/setup_outcome.h"

namespace selvane {

// What stopped a setup run, as both front ends tell it: what failed, naming
// the file or folder, the reason, and what the run left changed.
std::string DescribeFailure(const SetupFailure& failure);

// Whether that is a refusal of what the user entered (information icon)
// rather than a failure (error icon).
bool IsRefusalOfInput(const SetupFailure& failure);

// One step of putting a run's changes back, for the log.
std::string DescribeRestoration(const Restoration& restoration);

}  // namespace selvane
