#include "RecoveryFolder.h"

#include <algorithm>
#include <cerrno>
#include <optional>
#include <system_error>

#include "BlockFile.h"
#include "FileSystem.h"

namespace chokusho {

namespace {

constexpr const char* kNamePrefix = "chokusho-";
/** Larger than any block file or side file the program writes. */
constexpr std::size_t kReadLimit = 1 << 20;

}  // namespace

std::filesystem::path RecoveryFolder::blockFile(const std::string& name) const
{
    return folder_ / PathFromUtf8(name + ".csv");
}

std::filesystem::path RecoveryFolder::sideFile(const std::string& name) const
{
    return folder_ / PathFromUtf8(name + ".txt");
}

RecoveryFolder::~RecoveryFolder() { static_cast<void>(finishWrite()); }

std::optional<FileWriteError> RecoveryFolder::finishWrite()
{
    if (!writing_.valid())
        return std::nullopt;
    return writing_.get();
}

void RecoveryFolder::write(const std::string& name, const BlockData& record, const RecoveryInfo& info)
{
    if (std::optional<FileWriteError> failed = finishWrite())
        throw std::move(*failed);
    // Not WriteBlockFile: it refuses a name that cp932 cannot hold, and the work must be kept
    // all the same. The side file holds the exact texts and figures.
    std::string block = FormatBlockFile(record);
    std::string side = FormatRecoveryInfo(info, record, block);
    auto put = [folder = folder_, blockPath = PathToUtf8(blockFile(name)), sidePath = PathToUtf8(sideFile(name)),
                block = std::move(block), side = std::move(side)]() -> std::optional<FileWriteError> {
        try {
            std::error_code error;
            std::filesystem::create_directories(folder, error);
            if (error)
                throw FileWriteError(PathToUtf8(folder), FileErrorText(error.value()));
            WriteFileAtomically(blockPath, block);
            WriteFileAtomically(sidePath, side);
        } catch (const FileWriteError& failure) {
            return failure;
        }
        return std::nullopt;
    };
    if (writes_ == Writes::InBackground) {
        writing_ = std::async(std::launch::async, std::move(put));
        return;
    }
    if (std::optional<FileWriteError> failed = put())
        throw std::move(*failed);
}

bool RecoveryFolder::remove(const std::string& name)
{
    // A write still under way would bring the pair back.
    static_cast<void>(finishWrite());
    bool gone = true;
    for (const auto& file : {blockFile(name), sideFile(name)}) {
        std::error_code error;
        std::filesystem::remove(file, error);
        gone = gone && !std::filesystem::exists(file, error);
    }
    return gone;
}

std::vector<std::string> RecoveryFolder::names()
{
    std::vector<std::string> found;
    std::error_code error;
    for (std::filesystem::directory_iterator it(folder_, error), end; !error && it != end; it.increment(error)) {
        const std::filesystem::path& path = it->path();
        const std::string stem = PathToUtf8(path.stem());
        const std::string extension = PathToUtf8(path.extension());
        if (stem.rfind(kNamePrefix, 0) == 0 && (extension == ".csv" || extension == ".txt"))
            found.push_back(stem);
    }
    std::sort(found.begin(), found.end());
    found.erase(std::unique(found.begin(), found.end()), found.end());
    return found;
}

RecoveryRead RecoveryFolder::read(const std::string& name)
{
    RecoveryRead result;
    int error = 0;
    const std::optional<std::string> block = ReadWholeFile(blockFile(name), kReadLimit, &error);
    if (!block) {
        result.problem = FileReadErrorText(error);
        return result;
    }
    if (const BlockReadResult parsed = ParseBlockFile(result.record, *block); !parsed) {
        result.problem = BlockReadFailureText(parsed);
        return result;
    }
    const std::optional<std::string> side = ReadWholeFile(sideFile(name), kReadLimit, &error);
    if (!side || !ParseRecoveryInfo(*side, *block, result.info, result.record)) {
        result.problem = "復元情報 (" + name + ".txt) を読めません。";
        return result;
    }
    result.ok = true;
    return result;
}

}  // namespace chokusho
