#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

namespace selvane {

// What stands at a path.
enum class PathKind { Missing, File, Folder };

struct PathProbe {
    PathKind kind = PathKind::Missing;
    std::string reason;  // the system's words, when nothing could be found there
};

struct StartedProgram {
    unsigned long processId = 0;
    std::optional<std::string> error;  // the system's reason, when it could not start
};

struct ProgramExit {
    unsigned long exitCode = 0;
    std::optional<std::string> error;  // the system's reason, when it could not be waited for
};

// The operating-system operations of a setup run. Effects return the
// system's reason when they fail, nothing when they succeed. Tests put a
// fake in its place; Windows has WindowsSetupPlatform.
class SetupPlatform {
public:
    virtual ~SetupPlatform() = default;

    virtual std::string WindowsDirectory() = 0;
    virtual std::string SystemDirectory() = 0;
    // True when the ANSI code page holds every character of the text.
    virtual bool FitsCodePage(const std::string& text) = 0;
    virtual PathProbe Probe(const std::string& path) = 0;
    // True for a normal file: folders, hidden and system files do not count.
    virtual bool NormalFileExists(const std::string& path) = 0;

    virtual std::optional<std::string> WriteProfileEntry(const std::string& file, const std::string& section,
                                                          const std::string& key, const std::string& value) = 0;
    // Clears the hidden, system and read-only attributes of a file that
    // exists; nothing to do for one that does not.
    virtual std::optional<std::string> MakePlainFile(const std::string& path) = 0;
    virtual std::optional<std::string> WriteNewFile(const std::string& path, std::string_view bytes) = 0;
    // Starts a program hidden. An empty current directory means this
    // process's own. Unless the run will wait for it, nothing of it is kept.
    virtual StartedProgram StartHidden(const std::string& program, const std::string& commandLine,
                                       const std::string& currentDirectory, bool willWait) = 0;
    virtual ProgramExit WaitForExit(unsigned long processId) = 0;
    virtual std::optional<std::string> ChangeDirectory(const std::string& folder) = 0;

    virtual void ProcessPendingEvents() = 0;
    virtual void Pause(std::chrono::milliseconds duration) = 0;
    virtual std::chrono::steady_clock::time_point Now() = 0;
};

}  // namespace selvane
