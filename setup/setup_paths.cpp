#include "setup/setup_paths.h"

#include "platform/folder_path.h"
#include "setup/command_line.h"

namespace selvane {

SetupPaths PlanSetupPaths(std::string_view folderBoxText, std::string_view appFolder,
                          std::string_view windowsDirectory, std::string_view systemDirectory) {
    SetupPaths paths;
    paths.appFolder = appFolder;
    paths.database = JoinPath(appFolder, "ORNA.mdb");
    paths.writes = SettingsWrites(folderBoxText, appFolder, windowsDirectory);
    paths.answerFile = JoinPath(appFolder, "yes.txt");
    paths.batchFile = JoinPath(appFolder, "acl.bat");
    paths.commandInterpreter = JoinPath(systemDirectory, "cmd.exe");
    paths.batchCommandLine = BatchCommandLine(systemDirectory, paths.batchFile);
    paths.serviceFolder = JoinPath(appFolder, "service");
    // By its full path: a bare "install.exe" would be searched for in the
    // application folder and on the PATH before the service folder.
    paths.installer = JoinPath(paths.serviceFolder, "install.exe");
    paths.installerCommandLine = QuoteArgument(paths.installer);
    return paths;
}

std::size_t Utf16Length(std::string_view utf8) {
    std::size_t units = 0;
    for (unsigned char c : utf8) {
        if ((c & 0xC0) == 0x80) continue;  // continuation byte
        units += c >= 0xF0 ? 2 : 1;        // four-byte sequences need a surrogate pair
    }
    return units;
}

}  // namespace selvane
