#pragma once

namespace selvane {

// The steps of a setup run, in the order a run takes them. What each means
// to the administrator is the front ends' table of steps.
enum class SetupStep {
    ReadFolderBox, FindWindowsDirectory, FindSystemDirectory,
    // The paths made from the folder box, then from the program's own
    // folder; then the product's files beside the program.
    CheckChosenFolder, CheckProductFolder, CheckBatchFile, CheckServiceFolder, CheckInstaller,
    // Who besides the administrators can change what the run starts.
    CheckRights,
    // orna_remote.ini, win.ini and the answer file: read before the first write, then written.
    ReadSettingsFile, ReadProfileFile, ReadAnswerFile, WriteSettingsFile, WriteProfileFile, WriteAnswerFile,
    FindAnswerFile,
    // Each program the run starts: started, then (where the run waits) its exit code.
    StartBatchFile, RunBatchFile, StartInstaller, RunInstaller,
    Count
};

}  // namespace selvane
