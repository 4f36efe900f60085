#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <set>
#include <string>

namespace chokusho::test {

/** A fresh, empty folder under the system's temporary folder, removed with everything in it. */
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    /** The folder as a DataPath: ending in the platform's separator. */
    std::string dataPath() const;
    /** Writes `bytes` to the file `name` in the folder and returns its full path. */
    std::string write(const std::string& name, const std::string& bytes) const;
    /** The bytes of the file `name` in the folder. */
    std::string read(const std::string& name) const;
    /**
     * Whether the folder's file system tells names apart by letter case (Linux does, Windows
     * does not): "x.csv" and "X.CSV" are then two files.
     */
    bool caseSensitive() const;

private:
    std::filesystem::path path_;
};

/** The names of the entries of `folder`, apart from `except`. */
std::set<std::string> NamesIn(const std::filesystem::path& folder, const std::string& except = "");

/** The reason `save` failed with, as its FileWriteError gives it, or nullopt when it did not fail. */
std::optional<std::string> SaveFailure(const std::function<void()>& save);

/** The process id in the name of a save's temporary, ".chokusho-save-PID-N.tmp"; 0 for any other name. */
unsigned long TemporaryOwner(const std::string& name);

}  // namespace chokusho::test
