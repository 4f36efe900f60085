#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace chokusho {

/**
 * The blocks last opened or saved, newest first, for ファイル › 最近使ったファイル. A path is kept
 * as the bytes the program opened it by (a name that is not UTF-8 included), so that choosing it
 * reaches that very file.
 */
class RecentFiles {
public:
    static constexpr std::size_t kMaxFiles = 8;

    const std::vector<std::string>& paths() const { return paths_; }
    /** Takes a remembered list: the first kMaxFiles different paths, empty ones left out. */
    void Set(const std::vector<std::string>& paths);
    /** A block was opened or saved: its path comes first, once. */
    void Add(const std::string& path);
    void Remove(const std::string& path);
    void Clear();

    /** Told after every change of the list, to remember it and rebuild the menu. */
    std::function<void()> changed;

private:
    void notify() const
    {
        if (changed)
            changed();
    }

    std::vector<std::string> paths_;
};

/** The menu text of the recent file `path` at `index` (0 = newest): "&1 name.csv  (folder)". */
[[nodiscard]] std::string RecentFileText(std::size_t index, const std::string& path);

/**
 * The folder the picker starts in: `dataPath` while it is there; when it is gone (a removed
 * folder, a drive unplugged), the folder of the newest recent file whose folder is there, with
 * its trailing separator; else `dataPath` all the same.
 */
[[nodiscard]] std::string PickerStartFolder(const std::string& dataPath, const std::vector<std::string>& recent);

}  // namespace chokusho
