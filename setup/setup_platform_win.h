#pragma once

#include <utility>
#include <vector>

#include "platform/unique_handle_win.h"
#include "setup/setup_platform.h"

namespace selvane {

// The setup run's operations, on Windows.
class WindowsSetupPlatform : public SetupPlatform {
public:
    SystemResult<std::string> WindowsDirectory() override;
    SystemResult<std::string> SystemDirectory() override;
    bool FitsCodePage(const std::string& text) override;
    PathProbe Probe(const std::string& path) override;
    bool NormalFileExists(const std::string& path) override;
    bool IsProgram(const std::string& path) override;
    bool SamePath(const std::string& first, const std::string& second) override;
    SystemResult<ProfileEntryState> ReadProfileEntry(const std::string& file, const std::string& section,
                                                     const std::string& key) override;
    SystemError WriteProfileEntry(const std::string& file, const std::string& section, const std::string& key,
                                  const std::string& value) override;
    SystemError DeleteProfileEntry(const std::string& file, const std::string& section,
                                   const std::string& key) override;
    SystemError RemoveFile(const std::string& path) override;
    SystemResult<std::optional<SavedFile>> SaveFile(const std::string& path) override;
    SystemError RestoreFile(const std::string& path, const SavedFile& saved) override;
    SystemResult<bool> MakePlainFile(const std::string& path) override;
    SystemError WriteNewFile(const std::string& path, std::string_view bytes) override;
    SystemResult<unsigned long> StartHidden(const std::string& program, const std::string& commandLine,
                                            const std::string& currentDirectory, bool willWait) override;
    SystemResult<unsigned long> WaitForExit(unsigned long processId) override;
    SystemError ChangeDirectory(const std::string& folder) override;
    void ProcessPendingEvents() override;
    void Pause(std::chrono::milliseconds duration) override;
    std::chrono::steady_clock::time_point Now() override;

private:
    std::vector<std::pair<unsigned long, UniqueHandle>> awaited_;  // processes the run will wait for
};

}  // namespace selvane
