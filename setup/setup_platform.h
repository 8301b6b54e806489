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

// What one INI entry held: whether its file and section were there, and
// its value (none: there was no such key, which is not an empty value).
struct ProfileEntryState {
    bool fileExisted = false;
    bool sectionExisted = false;
    std::optional<std::string> value;
};

// A small file's bytes and attributes, to put it back as it was.
struct SavedFile {
    std::string bytes;
    unsigned long attributes = 0;
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

    // Whether Windows can start the file as a program.
    virtual bool IsProgram(const std::string& path) = 0;
    // Whether two paths name one file, as Windows compares them: made
    // absolute, without regard to case, or the same file on disk.
    virtual bool SamePath(const std::string& first, const std::string& second) = 0;

    // An error when the file is there but cannot be read: then what it
    // holds is not known, and could not be put back.
    virtual SystemResult<ProfileEntryState> ReadProfileEntry(const std::string& file, const std::string& section,
                                                             const std::string& key) = 0;
    virtual SystemError WriteProfileEntry(const std::string& file, const std::string& section, const std::string& key,
                                          const std::string& value) = 0;
    // Deletes a key, or with an empty key the whole section.
    virtual SystemError DeleteProfileEntry(const std::string& file, const std::string& section,
                                           const std::string& key) = 0;
    virtual SystemError RemoveFile(const std::string& path) = 0;
    // None when nothing stands at the path.
    virtual SystemResult<std::optional<SavedFile>> SaveFile(const std::string& path) = 0;
    virtual SystemError RestoreFile(const std::string& path, const SavedFile& saved) = 0;
    // Clears the hidden, system and read-only attributes of a file that
    // exists; true when there were any to clear.
    virtual SystemResult<bool> MakePlainFile(const std::string& path) = 0;
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
