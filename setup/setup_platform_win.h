#pragma once

#include <utility>
#include <vector>

#include "platform/unique_handle_win.h"
#include "setup/setup_platform.h"

namespace selvane {

// The setup run's operations, on Windows.
class WindowsSetupPlatform : public SetupPlatform {
public:
    std::string WindowsDirectory() override;
    std::string SystemDirectory() override;
    bool FitsCodePage(const std::string& text) override;
    PathProbe Probe(const std::string& path) override;
    bool NormalFileExists(const std::string& path) override;
    std::optional<std::string> WriteProfileEntry(const std::string& file, const std::string& section,
                                                  const std::string& key, const std::string& value) override;
    std::optional<std::string> MakePlainFile(const std::string& path) override;
    std::optional<std::string> WriteNewFile(const std::string& path, std::string_view bytes) override;
    StartedProgram StartHidden(const std::string& program, const std::string& commandLine,
                               const std::string& currentDirectory, bool willWait) override;
    ProgramExit WaitForExit(unsigned long processId) override;
    std::optional<std::string> ChangeDirectory(const std::string& folder) override;
    void ProcessPendingEvents() override;
    void Pause(std::chrono::milliseconds duration) override;
    std::chrono::steady_clock::time_point Now() override;

private:
    std::vector<std::pair<unsigned long, UniqueHandle>> awaited_;  // processes the run will wait for
};

}  // namespace selvane
