#pragma once

#include <string>

namespace selvane {

// What a setup run is asked to do.
struct SetupRequest {
    std::string folderBoxText;  // KEVA's folder, as the folder box (or /DIR) holds it
    std::string appFolder;
    bool waitForPrograms = false;  // wait for each program; a code other than 0 fails the run
    bool whatIf = false;           // tell the observer what would be done, and do nothing
    std::string logFile;           // where the run's log goes, if anywhere: never one of the run's files
    std::string programFile;       // this program, which the log must not overwrite either
};

}  // namespace selvane
