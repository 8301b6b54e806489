#pragma once

#include "setup/post_setup.h"

namespace selvane {

// The post-setup steps' operations, on Windows.
class WindowsSetupPlatform : public SetupPlatform {
public:
    std::optional<std::string> WriteNewFile(const std::string& path, std::string_view bytes) override;
    bool NormalFileExists(const std::string& path) override;
    void ProcessPendingEvents() override;
    void Pause(std::chrono::milliseconds duration) override;
    std::chrono::steady_clock::time_point Now() override;
    std::string SystemDirectory() override;
    std::optional<std::string> StartHidden(const std::string& program, const std::string& commandLine,
                                           const std::string& currentDirectory) override;
    std::optional<std::string> ChangeDirectory(const std::string& folder) override;
};

}  // namespace selvane
