#include "platform/folder_path.h"

#include <algorithm>

namespace selvane {

std::string JoinPath(std::string_view folder, std::string_view name) {
    std::string joined(folder);
    joined += '\\';
    joined += name;
    return joined;
}

std::string RemoveOneTrailingBackslash(std::string_view path) {
    if (path.ends_with('\\')) path.remove_suffix(1);
    return std::string(path);
}

std::string EnsureTrailingBackslash(std::string_view path) {
    std::string result(path);
    if (!result.empty() && !result.ends_with('\\')) result += '\\';
    return result;
}

std::string FolderOfFile(std::string_view filePath) {
    const auto slash = filePath.find_last_of('\\');
    if (slash == std::string_view::npos) return {};
    std::string folder(filePath.substr(0, slash));
    if (folder.ends_with(':') && (folder.size() == 2 || folder.starts_with("\\\\?\\"))) folder += '\\';
    if (folder.starts_with("\\\\?\\Volume{") && IsRootFolder(folder + '\\')) folder += '\\';
    return folder;
}

bool IsRootFolder(std::string_view path) {
    const auto backslashes = std::count(path.begin(), path.end(), '\\') - (path.ends_with('\\') ? 1 : 0);
    if (path.starts_with("\\\\?\\UNC\\")) return backslashes <= 5;
    if (path.starts_with("\\\\?\\") || path.starts_with("\\\\.\\")) return backslashes <= 3;
    if (path.starts_with("\\\\")) return backslashes <= 3;
    return path.ends_with(":\\") || path.ends_with(':');
}

std::string CaseFolded(std::string_view name) {
    std::string folded(name);
    for (char& c : folded) c = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
    return folded;
}

std::string_view FileNameOf(std::string_view path) {
    const auto slash = path.find_last_of("\\/");
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

}  // namespace selvane
