#pragma once

#include <filesystem>
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

private:
    std::filesystem::path path_;
};

}  // namespace chokusho::test
