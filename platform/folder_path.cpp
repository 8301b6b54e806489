#include "platform/folder_path.h"

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
    if (!result.ends_with('\\')) result += '\\';
    return result;
}

std::string FolderOfFile(std::string_view filePath) {
    const auto slash = filePath.find_last_of('\\');
    if (slash == std::string_view::npos) return {};
    std::string folder(filePath.substr(0, slash));
    if (folder.size() == 2 && folder[1] == ':') folder += '\\';
    return folder;
}

}  // namespace selvane
