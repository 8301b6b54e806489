#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace selvane {

struct ProfileWrite {
    std::string file;
    std::string section;
    std::string key;
    std::string value;
};

// The KEVA folder as it is recorded: the folder box text less one trailing
// backslash (a blank text stays as it is: only an empty one is refused).
std::string ChosenFolder(std::string_view folderBoxText);

// The twelve writes of a setup run, in order: orna_remote.ini in the chosen
// folder (FILE, then SERVICE), then the ORNA section of win.ini.
std::vector<ProfileWrite> SettingsWrites(std::string_view folderBoxText, std::string_view appFolder,
                                         std::string_view windowsDirectory);

}  // namespace selvane
