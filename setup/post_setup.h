#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

namespace selvane {

inline constexpr char kAnswerFileContent[] = "y\r\n";
// Long enough for any disk, short enough that a lost file cannot hang the run.
inline constexpr std::chrono::milliseconds kAnswerFileWait{5000};
inline constexpr std::chrono::milliseconds kAnswerFilePoll{10};

// The operating-system operations the post-setup steps use. Each returns the
// system's reason when it fails, nothing when it succeeds.
class SetupPlatform {
public:
    virtual ~SetupPlatform() = default;
    virtual std::optional<std::string> WriteNewFile(const std::string& path, std::string_view bytes) = 0;
    // True for a normal file: folders, hidden and system files do not count.
    virtual bool NormalFileExists(const std::string& path) = 0;
    virtual void ProcessPendingEvents() = 0;
    virtual void Pause(std::chrono::milliseconds duration) = 0;
    virtual std::chrono::steady_clock::time_point Now() = 0;
    virtual std::string SystemDirectory() = 0;
    // Starts a program hidden and does not wait for it. An empty current
    // directory means this process's own.
    virtual std::optional<std::string> StartHidden(const std::string& program,
                                                   const std::string& commandLine,
                                                   const std::string& currentDirectory) = 0;
    virtual std::optional<std::string> ChangeDirectory(const std::string& folder) = 0;
};

// A step that failed: what it was doing (Japanese, naming the file) and the
// system's reason.
struct StepFailure {
    std::string what;
    std::string reason;
};

// Writes the answer file yes.txt, waits until it can be seen, then starts
// acl.bat hidden, in the directory the program was started in.
std::optional<StepFailure> RunAclBatch(SetupPlatform& platform, const std::string& appFolder);

// Starts service\install.exe hidden with the service folder as the current
// directory; afterwards the application folder is the current directory.
std::optional<StepFailure> RunServiceInstaller(SetupPlatform& platform, const std::string& appFolder);

}  // namespace selvane
