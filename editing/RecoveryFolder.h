#pragma once

#include <filesystem>
#include <future>
#include <optional>
#include <string>
#include <vector>

#include "FileSystem.h"

#include "Recovery.h"

namespace chokusho {

/**
 * Recovery pairs as files of one folder: NAME.csv, a block file of the usual format that the
 * picker also opens, and NAME.txt, its side file (FormatRecoveryInfo). Each is replaced as a
 * save replaces a block file, so a crash during a write leaves the last one whole. Whether an
 * instance still holds its pair is the window system's to tell (a lock file), so this leaves
 * isHeld to the program.
 *
 * Written in the background, a pair is formatted at once, from the record as it is, and put on
 * disk by a thread of its own, so that the flushes of two atomic writes never hold up editing.
 * A write that failed there is thrown by the next call of write() instead of that write; remove()
 * and the end of the folder wait for the write under way.
 */
class RecoveryFolder : public RecoveryStore {
public:
    enum class Writes { AtOnce, InBackground };

    explicit RecoveryFolder(std::filesystem::path folder, Writes writes = Writes::AtOnce)
        : folder_(std::move(folder)), writes_(writes)
    {
    }
    ~RecoveryFolder() override;
    RecoveryFolder(const RecoveryFolder&) = delete;
    RecoveryFolder& operator=(const RecoveryFolder&) = delete;

    const std::filesystem::path& folder() const { return folder_; }
    /** The block file of the pair `name`. */
    std::filesystem::path blockFile(const std::string& name) const;

    void write(const std::string& name, const BlockData& record, const RecoveryInfo& info) override;
    bool remove(const std::string& name) override;
    std::vector<std::string> names() override;
    RecoveryRead read(const std::string& name) override;

    /** Waits for the write under way; how it failed, if it did. */
    std::optional<FileWriteError> finishWrite();

private:
    std::filesystem::path sideFile(const std::string& name) const;

    std::filesystem::path folder_;
    Writes writes_;
    std::future<std::optional<FileWriteError>> writing_;
};

}  // namespace chokusho
