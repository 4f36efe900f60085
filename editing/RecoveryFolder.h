#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "Recovery.h"

namespace chokusho {

/**
 * Recovery pairs as files of one folder: NAME.csv, a block file of the usual format that the
 * picker also opens, and NAME.txt, its side file (FormatRecoveryInfo). Each is replaced as a
 * save replaces a block file, so a crash during a write leaves the last one whole. Whether an
 * instance still holds its pair is the window system's to tell (a lock file), so this leaves
 * isHeld to the program.
 */
class RecoveryFolder : public RecoveryStore {
public:
    explicit RecoveryFolder(std::filesystem::path folder) : folder_(std::move(folder)) {}

    const std::filesystem::path& folder() const { return folder_; }
    /** The block file of the pair `name`. */
    std::filesystem::path blockFile(const std::string& name) const;

    void write(const std::string& name, const BlockData& record, const RecoveryInfo& info) override;
    bool remove(const std::string& name) override;
    std::vector<std::string> names() override;
    RecoveryRead read(const std::string& name) override;

private:
    std::filesystem::path sideFile(const std::string& name) const;

    std::filesystem::path folder_;
};

}  // namespace chokusho
