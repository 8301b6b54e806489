#pragma once

#include <optional>
#include <vector>

#include "setup/setup_outcome.h"
#include "setup/setup_paths.h"
#include "setup/setup_platform.h"

namespace selvane {

// What a run has changed so far, what stood there before, and how to put
// it back.
class SetupChanges {
public:
    explicit SetupChanges(const SetupPaths& paths) : paths_(paths) {}

    // Reads what stands where the run will write, before its first write.
    // A file that is there but cannot be read stops the run: what it holds
    // could not be put back.
    std::optional<SetupFailure> ReadBefore(SetupPlatform& platform);
    // The value the entry of this write had, or none.
    const std::optional<std::string>& ValueBefore(std::size_t write) const { return entries_[write].value; }

    void SettingWritten() { ++settingsWritten_; }
    void AnswerFileTouched() { answerFileTouched_ = true; }
    bool Any() const { return settingsWritten_ > 0 || answerFileTouched_; }

    // Puts back what was changed, last change first: the answer file, then
    // the entries, each file and section as a whole where the run created
    // it. Returns what could not be put back, and why.
    std::vector<LeftChange> PutBack(SetupPlatform& platform, SetupObserver& observer) const;

private:
    const SetupPaths& paths_;
    std::vector<ProfileEntryState> entries_;  // one for each of paths_.writes
    std::optional<SavedFile> answerFile_;
    std::size_t settingsWritten_ = 0;
    bool answerFileTouched_ = false;
};

}  // namespace selvane
