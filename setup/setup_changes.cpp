#include "setup/setup_changes.h"

namespace selvane {
namespace {

Restoration Undo(RestorationKind kind, const std::string& file, const std::string& section = {},
                 const std::string& key = {}, const std::string& value = {}) {
    return {kind, file, section, key, value};
}

}  // namespace

std::optional<SetupFailure> SetupChanges::ReadBefore(SetupPlatform& platform) {
    for (const auto& write : paths_.writes) {
        auto entry = platform.ReadProfileEntry(write.file, write.section, write.key);
        if (entry.error) return MakeFailure(SetupStep::ReadSettings, FailureReason::System, write.file, *entry.error);
        entries_.push_back(std::move(entry.value));
    }
    auto answer = platform.SaveFile(paths_.answerFile);
    if (answer.error) return MakeFailure(SetupStep::ReadSettings, FailureReason::System, paths_.answerFile, *answer.error);
    answerFile_ = std::move(answer.value);
    return std::nullopt;
}

std::vector<LeftChange> SetupChanges::PutBack(SetupPlatform& platform, SetupObserver& observer) const {
    std::vector<LeftChange> left;
    const auto undo = [&](const Restoration& restoration) {
        SystemError error;
        switch (restoration.kind) {
        case RestorationKind::RestoreValue:
            error = platform.WriteProfileEntry(restoration.file, restoration.section, restoration.key, restoration.value);
            break;
        case RestorationKind::DeleteKey:
        case RestorationKind::DeleteSection:
            error = platform.DeleteProfileEntry(restoration.file, restoration.section, restoration.key);
            break;
        case RestorationKind::RemoveFile:
        case RestorationKind::RemoveAnswerFile: error = platform.RemoveFile(restoration.file); break;
        case RestorationKind::RestoreAnswerFile: error = platform.RestoreFile(restoration.file, *answerFile_); break;
        }
        observer.PutBack(restoration, error ? Effect{EffectState::Failed, *error} : Effect{});
        if (error) left.push_back({restoration, *error});
    };

    if (answerFileTouched_) {
        undo(Undo(answerFile_ ? RestorationKind::RestoreAnswerFile : RestorationKind::RemoveAnswerFile,
                  paths_.answerFile));
    }
    for (std::size_t at = settingsWritten_; at-- > 0;) {
        const ProfileWrite& write = paths_.writes[at];
        const ProfileEntryState& before = entries_[at];
        // The writes of one file, and of one section, follow each other.
        const bool firstOfFile = at == 0 || paths_.writes[at - 1].file != write.file;
        const bool firstOfSection = firstOfFile || paths_.writes[at - 1].section != write.section;
        if (!before.fileExisted) {
            if (firstOfFile) undo(Undo(RestorationKind::RemoveFile, write.file));
        } else if (!before.sectionExisted) {
            if (firstOfSection) undo(Undo(RestorationKind::DeleteSection, write.file, write.section));
        } else if (before.value) {
            undo(Undo(RestorationKind::RestoreValue, write.file, write.section, write.key, *before.value));
        } else {
            undo(Undo(RestorationKind::DeleteKey, write.file, write.section, write.key));
        }
    }
    return left;
}

}  // namespace selvane
