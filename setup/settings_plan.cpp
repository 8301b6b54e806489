#include "setup/settings_plan.h"

#include "platform/folder_path.h"

namespace selvane {

std::string ChosenFolder(std::string_view folderBoxText) {
    return RemoveOneTrailingBackslash(folderBoxText);
}

std::vector<ProfileWrite> SettingsWrites(std::string_view folderBoxText, std::string_view appFolder,
                                         std::string_view windowsDirectory) {
    const std::string chosen = ChosenFolder(folderBoxText);
    const std::string settings = JoinPath(chosen, "orna_remote.ini");
    const std::string app(appFolder);
    const std::string winIni = JoinPath(windowsDirectory, "win.ini");

    std::vector<ProfileWrite> writes = {
        {settings, "FILE", "LOGIN", app},
        {settings, "FILE", "DB", app},
        {settings, "FILE", "BACKUP", JoinPath(app, "BACKUP")},
    };
    // Every service starts switched off.
    for (const char* key : {"DNS_SERVICE", "WEB_SERVICE", "POP3_SERVICE", "SMTP_SERVICE",
                            "FTP_SERVICE", "OS", "OPTIMIZE"}) {
        writes.push_back({settings, "SERVICE", key, "0"});
    }
    writes.push_back({winIni, "ORNA", "BASIC", app});
    writes.push_back({winIni, "ORNA", "CGI", chosen});
    return writes;
}

}  // namespace selvane
