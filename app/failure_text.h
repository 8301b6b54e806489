#pragma once

#include <string>

#include "setup/setup_outcome.h"

namespace selvane {

// Whether another folder in the folder box can mend the failure: its step
// says so, unless another program holds or refuses one of the run's files
// (then that program must let go of it, whatever the folder).
bool FolderBoxMends(const SetupFailure& failure);

// Where a failure is told: the window adds its advice; /VERIFY only checked.
enum class Telling { Window, Unattended, Verify };

// What stopped a run, as the front ends tell it: what failed, naming the
// file or folder, the reason, what the run left behind and (in the window)
// what to do.
std::string DescribeFailure(const SetupFailure& failure, Telling telling);

// The step's name in the record of the run ("StartInstaller").
const char* StepName(SetupStep step);

// A Windows call failed where nothing can go on: the program ends.
std::string UnexpectedFailureText(const CallFailure& failure);

// One step of putting a run's changes back, for the log.
std::string DescribeRestoration(const Restoration& restoration);

}  // namespace selvane
