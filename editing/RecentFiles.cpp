#include "RecentFiles.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "FileNames.h"
#include "FileSystem.h"

namespace chokusho {

namespace {

bool IsFolder(const std::filesystem::path& folder)
{
    std::error_code error;
    return !folder.empty() && std::filesystem::is_directory(folder, error);
}

}  // namespace

void RecentFiles::Set(const std::vector<std::string>& paths)
{
    paths_.clear();
    for (const std::string& path : paths) {
        if (!path.empty() && paths_.size() < kMaxFiles && std::find(paths_.begin(), paths_.end(), path) == paths_.end())
            paths_.push_back(path);
    }
}

void RecentFiles::Add(const std::string& path)
{
    if (!paths_.empty() && paths_.front() == path)
        return;
    std::erase(paths_, path);
    paths_.insert(paths_.begin(), path);
    if (paths_.size() > kMaxFiles)
        paths_.resize(kMaxFiles);
    notify();
}

void RecentFiles::Remove(const std::string& path)
{
    if (std::erase(paths_, path) > 0)
        notify();
}

void RecentFiles::Clear()
{
    paths_.clear();
    notify();
}

std::string RecentFileText(std::size_t index, const std::string& path)
{
    const std::filesystem::path file = PathFromUtf8(path);
    return "&" + std::to_string(index + 1) + " " + DisplayFileName(PathToUtf8(file.filename())) + "  (" +
           DisplayFileName(PathToUtf8(file.parent_path())) + ")";
}

std::string PickerStartFolder(const std::string& dataPath, const std::vector<std::string>& recent)
{
    if (IsFolder(PathFromUtf8(dataPath)))
        return dataPath;
    for (const std::string& path : recent) {
        const std::filesystem::path folder = PathFromUtf8(path).parent_path();
        if (IsFolder(folder)) {
            const char separator = static_cast<char>(std::filesystem::path::preferred_separator);
            std::string start = PathToUtf8(folder);
            if (start.empty() || start.back() != separator)
                start += separator;
            return start;
        }
    }
    return dataPath;
}

}  // namespace chokusho
