#pragma once

// The setup run as one object, for RunSetup and nothing else: its state,
// and its steps as members.

#include <optional>
#include <string>
#include <vector>

#include "setup/run_plan.h"
#include "setup/run_journal.h"
#include "setup/setup_changes.h"
#include "setup/setup_outcome.h"
#include "setup/setup_platform.h"

namespace selvane {

class SetupRun {
public:
    SetupRun(SetupPlatform& platform, const SetupRequest& request, RunPlan plan, SetupObserver& observer,
             RunJournal& journal)
        : platform_(platform), request_(request), plan_(std::move(plan)), changes_(plan_), observer_(observer),
          journal_(journal) {}

    // The settings, then each program in the order of kPrograms. A run that
    // stops before its first program has started puts back what it changed.
    SetupOutcome Run();

private:
    // Refuses an empty folder box, checks everything that can be checked,
    // reads what stands where it will write, then writes orna_remote.ini in
    // the chosen folder and the ORNA section of win.ini.
    std::optional<SetupFailure> ValidateAndWriteSettings();
    // Everything that can be known before the first write: the texts and
    // paths fit the code page and the length limits, the programs and their
    // folders are there and held unchanged until they start, and only the
    // administrators can change them. A run that fails one has changed nothing.
    std::optional<SetupFailure> CheckBeforeWriting();
    // Refuses a run where an account other than the administrators (or one
    // the system cannot place) could change or replace what the run starts
    // or loads: anything in the program's folder and below, the folders
    // above it, or plant an entry where Windows would run or load it.
    std::optional<SetupFailure> CheckWhoCanChange();
    // Lists the folder, its entries and every folder below with what each is
    // to the run: all of it guarded where wholly (a program's folder and below).
    std::optional<SetupFailure> GuardTree(const std::string& folder, bool guardedFolder, bool wholly,
                                          std::vector<std::pair<std::string, Guarded>>& guarded);
    // Holds orna_remote.ini from here through the run's last write to it,
    // and refuses one with another name (a hard link, whose other file
    // the writes would change too) or that is a link; creates it new where
    // it is missing.
    std::optional<SetupFailure> HoldSettingsFile();
    // A file (hidden and system files included) or a folder must stand at
    // the path; nothing there, or the other kind, fails at the step given.
    std::optional<SetupFailure> Expect(SetupStep step, const std::string& path, PathKind kind);
    // Writes the answer file yes.txt and waits until it can be seen.
    std::optional<SetupFailure> WriteAnswerFile();
    // Starts one program hidden in its folder (or this program's current
    // folder) and, where the run waits, collects its exit code.
    SetupOutcome StartProgram(const ProgramRow& row);
    SetupOutcome AwaitExit(const ProgramRow& row, unsigned long processId);

    SetupPlatform& platform_;
    const SetupRequest& request_;
    const RunPlan plan_;
    SetupChanges changes_;
    SetupObserver& observer_;
    RunJournal& journal_;
    std::vector<unsigned long> exitCodes_;  // of the programs waited for, in order
    bool othersFillCurrentFolder_ = false;  // others can add files to the current folder
};

}  // namespace selvane
