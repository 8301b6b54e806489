#pragma once

#include <optional>
#include <string>
#include <vector>

#include "setup/run_plan.h"
#include "setup/setup_outcome.h"
#include "setup/setup_platform.h"

namespace selvane {

// What a run has changed so far, what stood there before, and how to put
// it back.
class SetupChanges {
public:
    explicit SetupChanges(const RunPlan& plan);

    // Reads the three files the run writes (orna_remote.ini, win.ini, the
    // answer file) before its first write. A folder in a file's place, or a
    // file that cannot be read, stops the run: it could not be put back.
    std::optional<SetupFailure> ReadBefore(SetupPlatform& platform, SetupObserver& observer);
    // The line the write's key had before the run, if it had one.
    std::optional<std::string> LineBefore(const ProfileWrite& write) const;

    // This write of the plan was tried. What it left in its file is read
    // back: a file that holds something else later was changed meanwhile.
    void SettingWriteTried(const ProfileWrite& write, SetupPlatform& platform, SetupObserver& observer);
    // The run may have changed the file (it is put back if the run fails).
    void Touched(RunFile which) { FileOf(which).touched = true; }
    // From acl.bat's start on, the batch file may act on the settings: they stay.
    void ProgramStarted() { ++programsStarted_; }
    std::size_t ProgramsStarted() const { return programsStarted_; }

    // Puts back every file the run touched, last first, and reads each back:
    // the saved bytes of a file that holds what the run left in it (or its
    // deletion, when the run created it); entry by entry in a file another
    // program changed meanwhile. Adds what could not be put back to left.
    LeftBehind PutBack(SetupPlatform& platform, SetupObserver& observer, RunJournal& journal,
                       std::vector<LeftChange>& left) const;

private:
    struct File {
        RunFile which;
        std::string path;
        FileState before;
        std::string textBefore;
        std::optional<FileState> leftByRun;  // as read back after the run's last write to it
        bool touched = false;
        std::vector<const ProfileWrite*> writesTried;  // in the order tried
    };
    File& FileOf(RunFile which) { return RowOf(files_, which); }
    const File& FileOf(RunFile which) const { return RowOf(files_, which); }
    void PutBackWhole(const File& file, SetupPlatform& platform, SetupObserver& observer, RunJournal& journal,
                      std::vector<LeftChange>& left) const;
    void PutBackEntries(const File& file, SetupPlatform& platform, SetupObserver& observer,
                        std::vector<LeftChange>& left) const;

    File files_[static_cast<std::size_t>(RunFile::Count)];  // by RunFile, the order the run touches them
    std::size_t programsStarted_ = 0;
};

}  // namespace selvane
