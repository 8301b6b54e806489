#include "setup/settings_check.h"

namespace selvane {

std::optional<SetupFailure> CompareSettings(SetupPlatform& platform, const SetupPaths& paths,
                                            std::vector<SettingDifference>& differences) {
    for (const auto& write : paths.writes) {
        auto entry = platform.ReadProfileEntry(write.file, write.section, write.key);
        if (entry.error) return MakeFailure(SetupStep::ReadSettings, FailureReason::System, write.file, *entry.error);
        if (entry.value.value != write.value) differences.push_back({write, std::move(entry.value.value)});
    }
    return std::nullopt;
}

}  // namespace selvane
