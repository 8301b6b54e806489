#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/call_failure.h"
#include "setup/file_rights.h"
#include "setup/run_journal.h"

namespace selvane {

// What stands at a path; why nothing could be found there, if not.
enum class PathKind { Missing, File, Folder };
struct PathProbe {
    PathKind kind = PathKind::Missing;
    CallFailure why;
};

// An entry of a folder, as the folder lists it.
struct FolderEntryInfo {
    std::string name;
    bool isFolder = false;
    bool isReparsePoint = false;  // a link, junction or mount point, not followed
};

// The file held to be written, as it is on the disk.
struct HeldShape {
    bool created = false;  // by the run, just now
    unsigned long links = 1;  // its names: more than one where it is hard-linked
    bool isReparsePoint = false;
};

// A file as it stands: nothing there, or its bytes and attributes.
struct FileState {
    bool exists = false;
    std::string bytes;
    unsigned long attributes = 0;
};

// The operating-system operations of a setup run (MakeWindowsSetupPlatform, or a
// test's fake). Each failure names the call and the system's error code.
class SetupPlatform : public AccountPlacer {
public:
    virtual ~SetupPlatform() = default;

    virtual Checked<std::string> WindowsDirectory() = 0;
    virtual Checked<std::string> SystemDirectory() = 0;
    // True when the ANSI code page holds every character of the text.
    virtual bool FitsCodePage(const std::string& text) = 0;
    virtual PathProbe Probe(const std::string& path) = 0;
    // True for a normal file: folders, hidden and system files do not count.
    virtual bool NormalFileExists(const std::string& path) = 0;
    // Whether Windows can start the file as a program.
    virtual bool IsProgram(const std::string& path) = 0;
    // Whether two paths name one file or folder as Windows resolves them
    // (case, short names and one trailing backslash aside).
    virtual bool SamePath(const std::string& first, const std::string& second) = 0;

    // A file that is not there (nor its folder) reads as not existing; one
    // that cannot be read is a failure, never "not there".
    virtual Checked<FileState> ReadFile(const std::string& path) = 0;
    // Puts a file back as it stood (bytes written beside it, then put in its
    // place, and attributes), or deletes one that was not there. The journal
    // hears of the copy beside it from its making until it is gone.
    virtual CallResult RestoreFile(const std::string& path, const FileState& state, RunJournal& journal) = 0;
    // Deletes the file at the path if it is the one of that identity (what
    // the journal was told); true when it was, and is gone.
    virtual Checked<bool> RemoveIfIdentical(const std::string& path, const std::string& identity) = 0;
    // Writes one key through the profile functions; with no value deletes
    // the key, with no key the whole section.
    virtual CallResult WriteProfileEntry(const std::string& file, const std::string& section,
                                         const std::optional<std::string>& key,
                                         const std::optional<std::string>& value) = 0;
    // Writes the bytes to a new file of the run's own beside the path and
    // moves it over the path in one step: whatever stood there (another's
    // file, a link; hidden, system or read-only) is replaced, never written
    // through. Held, others reading only, until ReleaseHeld. The journal
    // hears of the new file until it has taken the path's place, or is gone.
    virtual CallResult WriteOwnFile(const std::string& path, std::string_view bytes, RunJournal& journal) = 0;
    // Opens the file the run will write through the profile functions, as
    // itself (a link is not followed), creating it new where it is missing
    // and createMissing, and holds it until ReleaseHeld: others may read and
    // write it, not delete or rename it.
    virtual Checked<HeldShape> HoldToWrite(const std::string& path, bool createMissing) = 0;
    // Starts a program hidden and gives its process id (an empty current
    // directory is this process's own); only one to be waited for is kept.
    // With skipCurrentFolder, cmd.exe looks for bare command names on PATH
    // only (NoDefaultCurrentDirectoryInExePath).
    virtual Checked<unsigned long> StartHidden(const std::string& program, const std::string& commandLine,
                                               const std::string& currentDirectory, bool willWait,
                                               bool skipCurrentFolder) = 0;
    // Keeps the file open to read, sharing only reading, until ReleaseHeld:
    // nobody can replace or write it meanwhile (a writer's hold fails it).
    virtual CallResult HoldUnchanged(const std::string& path) = 0;
    virtual void ReleaseHeld() = 0;
    // Whether the path still leads to the file held unchanged.
    virtual bool IsHeldFile(const std::string& path) = 0;
    // The owner and DACL of a file or folder ("." is the current directory):
    // of a link, junction or mount point itself, not of where it leads.
    virtual Checked<SecurityDescriptor> SecurityOf(const std::string& path) = 0;
    // Where the path leads, links and junctions followed to the end.
    virtual Checked<std::string> FinalPathOf(const std::string& path) = 0;
    virtual Checked<std::vector<FolderEntryInfo>> FolderEntries(const std::string& folder) = 0;
    // What PATHEXT names, ";"-separated.
    virtual std::string ProgramExtensions() = 0;
    // The account's name (empty where it has none) and its SID in full.
    virtual std::pair<std::string, std::string> AccountNames(const std::string& sid) = 0;
    // The exit code of a program started to be waited for.
    virtual Checked<unsigned long> WaitForExit(unsigned long processId) = 0;

    virtual void ProcessPendingEvents() = 0;
    virtual void Pause(std::chrono::milliseconds duration) = 0;
    virtual std::chrono::steady_clock::time_point Now() = 0;
};

}  // namespace selvane
