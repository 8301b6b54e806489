#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/enum_table.h"
#include "setup/setup_step.h"

namespace selvane {

// The files a run writes or starts, by name.
inline constexpr char kSettingsFileName[] = "orna_remote.ini";
inline constexpr char kProfileFileName[] = "win.ini";
inline constexpr char kAnswerFileName[] = "yes.txt";

// The ANSI profile functions and CreateProcess take at most MAX_PATH (260)
// characters with the closing NUL; a current directory also needs room for
// the backslash Windows adds.
inline constexpr std::size_t kMaxPathLength = 259;
inline constexpr std::size_t kMaxDirectoryLength = 258;

// The files a run writes: the settings file in KEVA's folder, win.ini, and
// the answer file; each a row of the run's tables wherever they differ.
enum class RunFile { Settings, Profile, Answer, Count };

// The twelve settings, in the order a run writes them: orna_remote.ini in
// the chosen folder (FILE, then SERVICE), then the ORNA section of win.ini.
enum class SettingValue { AppFolder, BackupFolder, ChosenFolder, Off };
struct SettingRow {
    RunFile file;
    const char* section;
    const char* key;
    SettingValue value;
};
inline constexpr SettingRow kSettingRows[] = {
    {RunFile::Settings, "FILE", "LOGIN", SettingValue::AppFolder},
    {RunFile::Settings, "FILE", "DB", SettingValue::AppFolder},
    {RunFile::Settings, "FILE", "BACKUP", SettingValue::BackupFolder},
    // Every service starts switched off.
    {RunFile::Settings, "SERVICE", "DNS_SERVICE", SettingValue::Off},
    {RunFile::Settings, "SERVICE", "WEB_SERVICE", SettingValue::Off},
    {RunFile::Settings, "SERVICE", "POP3_SERVICE", SettingValue::Off},
    {RunFile::Settings, "SERVICE", "SMTP_SERVICE", SettingValue::Off},
    {RunFile::Settings, "SERVICE", "FTP_SERVICE", SettingValue::Off},
    {RunFile::Settings, "SERVICE", "OS", SettingValue::Off},
    {RunFile::Settings, "SERVICE", "OPTIMIZE", SettingValue::Off},
    {RunFile::Profile, "ORNA", "BASIC", SettingValue::AppFolder},
    {RunFile::Profile, "ORNA", "CGI", SettingValue::ChosenFolder},
};

// Putting back deletes a section the run created once, at its first write:
// the writes of one file, and of one section, must follow each other.
constexpr bool InOneGroup(const SettingRow& a, const SettingRow& b, bool bySection) {
    return a.file == b.file && (!bySection || std::string_view(a.section) == b.section);
}
constexpr bool EachFileAndSectionIsWrittenInOneGo() {
    for (const bool bySection : {false, true}) {
        for (std::size_t first = 0; first < std::size(kSettingRows); ++first) {
            for (std::size_t later = first + 2; later < std::size(kSettingRows); ++later) {
                if (InOneGroup(kSettingRows[first], kSettingRows[later], bySection) &&
                    !InOneGroup(kSettingRows[later - 1], kSettingRows[later], bySection)) {
                    return false;
                }
            }
        }
    }
    return true;
}
static_assert(EachFileAndSectionIsWrittenInOneGo());

// The programs a run starts, one after the other in this order, each
// hidden; a row is all the run needs to know of one.
enum class RunProgram { BatchFile, Installer, Count };
struct ProgramRow {
    RunProgram program;
    const char* name;    // as the record of the run names it
    const char* folder;  // its folder in the application folder, where it starts; null: the
                         // application folder itself, and it starts in this program's current folder
    const char* fileName;
    bool isBatchFile;      // started through cmd.exe, which reads the commands it names from its current folder
    bool readsAnswerFile;  // starts only once the answer file can be seen
    bool restartAllowed;   // waited for, a restart code (3010, 1641) means it has done its work
    SetupStep check;       // before the first write: it is there, can be started, and is held
    std::optional<SetupStep> checkFolder;  // its folder is there
    SetupStep start;
    SetupStep run;  // waited for: its exit code
};
inline constexpr ProgramRow kPrograms[] = {
    {RunProgram::BatchFile, "BatchFile", nullptr, "acl.bat", true, true, false, SetupStep::CheckBatchFile, std::nullopt,
     SetupStep::StartBatchFile, SetupStep::RunBatchFile},
    {RunProgram::Installer, "Installer", "service", "install.exe", false, false, true, SetupStep::CheckInstaller,
     SetupStep::CheckServiceFolder, SetupStep::StartInstaller, SetupStep::RunInstaller},
};
static_assert(RowsFollowEnum(kPrograms, &ProgramRow::program));

// A program of the run as this server's paths make it.
struct PlannedProgram {
    std::string file;        // what is checked and held until it starts
    std::string executable;  // what CreateProcess starts: cmd.exe for a batch file
    std::optional<std::string> commandLine;  // none when cmd.exe would misread the path
    std::string folder;      // the folder it lies and starts in; empty: starts in this program's current folder
};

struct ProfileWrite {
    RunFile runFile = RunFile::Settings;
    std::string file;  // its path
    std::string section;
    std::string key;
    std::string value;
    bool isFolder = false;  // a folder, which Windows names in more than one way
};

struct SetupRequest {
    std::string folderBoxText;  // KEVA's folder, as the folder box (or /DIR) holds it
    std::string appFolder;
    bool waitForPrograms = false;  // wait for each program; a code other than 0 fails the run
    bool whatIf = false;           // tell the observer what would be done, and do nothing
};

struct RunPlan {
    std::string appFolder;
    std::string chosenFolder;  // KEVA's, as the folder box names it
    std::string backupFolder;
    std::string settingsFile;  // orna_remote.ini in the chosen folder
    std::string profileFile;   // win.ini in the Windows directory
    std::string answerFile;
    std::vector<ProfileWrite> writes;
    std::string commandInterpreter;  // cmd.exe in the system directory
    PlannedProgram programs[static_cast<std::size_t>(RunProgram::Count)];  // by RunProgram

    const PlannedProgram& ProgramOf(RunProgram program) const { return RowOf(programs, program); }

    const std::string& PathOf(RunFile file) const {
        return file == RunFile::Settings ? settingsFile : file == RunFile::Profile ? profileFile : answerFile;
    }
};

// The chosen folder is the folder box text less one trailing backslash (a
// blank text stays as it is: only an empty one is refused).
RunPlan PlanSetupRun(std::string_view folderBoxText, std::string_view appFolder, std::string_view windowsDirectory,
                     std::string_view systemDirectory);

// The length of UTF-8 text in UTF-16 code units, as Windows counts a path.
std::size_t Utf16Length(std::string_view utf8);

// Quotes one argument so that the Windows command-line parser
// (CommandLineToArgvW, the C runtime) gives it back unchanged: always in
// double quotes, backslashes doubled where they precede a quote.
std::string QuoteArgument(std::string_view argument);

// The command line that runs a batch file through cmd.exe, named by its full
// path in the system directory. "/s /c" with an outer pair of quotes makes
// cmd keep the quoted batch path exactly, blanks and parentheses included
// ("C:\Program Files (x86)\..."). Nothing when the path holds '%' (cmd would
// expand it as a variable) or a quote, which no file name may contain.
std::optional<std::string> BatchCommandLine(std::string_view systemDirectory, std::string_view batchFile);

}  // namespace selvane
