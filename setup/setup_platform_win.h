#pragma once

#include <map>
#include <utility>
#include <vector>

#include "platform/unique_handle_win.h"
#include "setup/setup_platform.h"

namespace selvane {

class WindowsSetupPlatform : public SetupPlatform {
public:
    Checked<std::string> WindowsDirectory() override;
    Checked<std::string> SystemDirectory() override;
    bool FitsCodePage(const std::string& text) override;
    PathProbe Probe(const std::string& path) override;
    bool NormalFileExists(const std::string& path) override;
    bool IsProgram(const std::string& path) override;
    bool SamePath(const std::string& first, const std::string& second) override;
    Checked<FileState> ReadFile(const std::string& path) override;
    CallResult RestoreFile(const std::string& path, const FileState& state) override;
    CallResult WriteProfileEntry(const std::string& file, const std::string& section,
                                 const std::optional<std::string>& key,
                                 const std::optional<std::string>& value) override;
    CallResult WriteNewFile(const std::string& path, std::string_view bytes) override;
    Checked<unsigned long> StartHidden(const std::string& program, const std::string& commandLine,
                                       const std::string& currentDirectory, bool willWait,
                                       bool skipCurrentFolder) override;
    CallResult HoldUnchanged(const std::string& path) override;
    void ReleaseHeld() override { held_.clear(); }
    Checked<std::string> SecurityOf(const std::string& path) override;
    Checked<std::vector<std::string>> FolderEntries(const std::string& folder) override;
    // As the system's membership functions say; each account asked of once.
    Trust TrustOf(const std::string& sid) override;
    std::pair<std::string, std::string> AccountNames(const std::string& sid) override;
    Checked<unsigned long> WaitForExit(unsigned long processId) override;
    CallResult ChangeDirectory(const std::string& folder) override;
    void ProcessPendingEvents() override;
    void Pause(std::chrono::milliseconds duration) override;
    std::chrono::steady_clock::time_point Now() override;

private:
    std::vector<std::pair<unsigned long, UniqueHandle>> awaited_;  // processes the run will wait for
    std::vector<UniqueFile> held_;                                 // the programs it starts, checked
    std::map<std::string, Trust> placed_;
};

}  // namespace selvane
