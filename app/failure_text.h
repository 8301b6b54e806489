#pragma once

#include <string>

#include "setup/setup_outcome.h"

namespace selvane {

// What the user is told when a setup run stops: what failed, naming the
// file or folder, and the reason.
std::string DescribeFailure(const SetupFailure& failure);

// Whether that message is a refusal of what the user entered (information
// icon) rather than a failure (error icon).
bool IsRefusalOfInput(const SetupFailure& failure);

}  // namespace selvane
