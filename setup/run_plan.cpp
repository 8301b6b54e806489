#include "setup/run_plan.h"

#include "platform/folder_path.h"

namespace selvane {
namespace {

// Every kind of value has its case: the compiler tells of one missing.
std::string ValueOf(SettingValue value, const RunPlan& plan) {
    switch (value) {
    case SettingValue::AppFolder: return plan.appFolder;
    case SettingValue::BackupFolder: return plan.backupFolder;
    case SettingValue::ChosenFolder: return plan.chosenFolder;
    case SettingValue::Off: return "0";
    }
    return {};
}

}  // namespace

RunPlan PlanSetupRun(std::string_view folderBoxText, std::string_view appFolder, std::string_view windowsDirectory,
                     std::string_view systemDirectory) {
    RunPlan plan;
    plan.appFolder = appFolder;
    plan.chosenFolder = RemoveOneTrailingBackslash(folderBoxText);
    plan.backupFolder = JoinPath(appFolder, "BACKUP");
    plan.settingsFile = JoinPath(plan.chosenFolder, kSettingsFileName);
    plan.profileFile = JoinPath(windowsDirectory, kProfileFileName);
    plan.answerFile = JoinPath(appFolder, kAnswerFileName);
    for (const SettingRow& row : kSettingRows) {
        plan.writes.push_back({row.file, plan.PathOf(row.file), row.section, row.key, ValueOf(row.value, plan),
                               row.value != SettingValue::Off});
    }
    plan.commandInterpreter = JoinPath(systemDirectory, "cmd.exe");
    for (const ProgramRow& row : kPrograms) {
        PlannedProgram& program = RowOf(plan.programs, row.program);
        program.folder = row.folder ? JoinPath(appFolder, row.folder) : std::string();
        // By its full path: a bare name would be searched for in the
        // application folder and on the PATH before its own folder.
        program.file = JoinPath(row.folder ? program.folder : plan.appFolder, row.fileName);
        program.executable = row.isBatchFile ? plan.commandInterpreter : program.file;
        program.commandLine =
            row.isBatchFile ? BatchCommandLine(systemDirectory, program.file) : QuoteArgument(program.file);
    }
    return plan;
}

std::size_t Utf16Length(std::string_view utf8) {
    std::size_t units = 0;
    for (unsigned char c : utf8) {
        if ((c & 0xC0) == 0x80) continue;  // continuation byte
        units += c >= 0xF0 ? 2 : 1;        // four-byte sequences need a surrogate pair
    }
    return units;
}

std::string QuoteArgument(std::string_view argument) {
    std::string quoted = "\"";
    size_t backslashes = 0;
    for (char c : argument) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        // Backslashes before a quote are doubled, and the quote escaped.
        quoted.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
        backslashes = 0;
        quoted += c;
    }
    // Those before the closing quote are doubled too.
    quoted.append(backslashes * 2, '\\');
    quoted += '"';
    return quoted;
}

std::optional<std::string> BatchCommandLine(std::string_view systemDirectory, std::string_view batchFile) {
    if (batchFile.find_first_of("%\"") != std::string_view::npos) return std::nullopt;
    return QuoteArgument(JoinPath(systemDirectory, "cmd.exe")) + " /d /s /c \"" + QuoteArgument(batchFile) + "\"";
}

}  // namespace selvane
