#pragma once

#include <string>
#include <string_view>

namespace selvane {

// Paths here are Windows paths held as UTF-8. Names are joined with a single
// backslash and the folder's last character is deliberately not looked at:
// the product's other programs read these exact forms.
std::string JoinPath(std::string_view folder, std::string_view name);

// Removes one trailing backslash, never more ("D:\pkg\\" keeps one).
std::string RemoveOneTrailingBackslash(std::string_view path);

// Adds a backslash unless the path already ends with one ("C:\" stays);
// no path stays none. The folder dialog's answer, as the folder box takes it.
std::string EnsureTrailingBackslash(std::string_view path);

// The folder of a program file, as Windows programs report it: no trailing
// backslash except at a drive root ("C:\").
std::string FolderOfFile(std::string_view filePath);

// Whether the path is a drive's root ("C:\", "\\?\C:\"), a share's
// ("\\server\share", "\\?\UNC\server\share") or a volume's ("\\?\Volume{…}\"):
// there is no folder above it.
bool IsRootFolder(std::string_view path);

// A name as Windows compares names (of files, switches, INI sections and
// keys): its ASCII letters in upper case.
std::string CaseFolded(std::string_view name);

// The last name of a path ("D:\logs\setup.log" gives "setup.log").
std::string_view FileNameOf(std::string_view path);

}  // namespace selvane
