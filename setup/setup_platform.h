#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

namespace selvane {

// The system's own words for why an operation failed; nothing when it succeeded.
using SystemError = std::optional<std::string>;

// What the system gave, or why it could not.
template <typename T>
struct SystemResult {
    T value{};
    SystemError error;
};

// What stands at a path.
enum class PathKind { Missing, File, Folder };

struct PathProbe {
    PathKind kind = PathKind::Missing;
    std::string reason;  // the system's words, when nothing could be found there
};

// The operating-system operations of a setup run. Tests put a fake in its
// place; Windows has WindowsSetupPlatform.
class SetupPlatform {
public:
    virtual ~SetupPlatform() = default;

    virtual SystemResult<std::string> WindowsDirectory() = 0;
    virtual SystemResult<std::string> SystemDirectory() = 0;
    // True when the ANSI code page holds every character of the text.
    virtual bool FitsCodePage(const std::string& text) = 0;
    virtual PathProbe Probe(const std::string& path) = 0;
    // True for a normal file: folders, hidden and system files do not count.
    virtual bool NormalFileExists(const std::string& path) = 0;

    virtual SystemError WriteProfileEntry(const std::string& file, const std::string& section, const std::string& key,
                                          const std::string& value) = 0;
    // Clears the hidden, system and read-only attributes of a file that
    // exists; nothing to do for one that does not.
    virtual SystemError MakePlainFile(const std::string& path) = 0;
    virtual SystemError WriteNewFile(const std::string& path, std::string_view bytes) = 0;
    // Starts a program hidden and gives its process id. An empty current
    // directory means this process's own. Unless the run will wait for it,
    // nothing of it is kept.
    virtual SystemResult<unsigned long> StartHidden(const std::string& program, const std::string& commandLine,
                                                    const std::string& currentDirectory, bool willWait) = 0;
    // The exit code of a program started to be waited for.
    virtual SystemResult<unsigned long> WaitForExit(unsigned long processId) = 0;
    virtual SystemError ChangeDirectory(const std::string& folder) = 0;

    virtual void ProcessPendingEvents() = 0;
    virtual void Pause(std::chrono::milliseconds duration) = 0;
    virtual std::chrono::steady_clock::time_point Now() = 0;
};

}  // namespace selvane
