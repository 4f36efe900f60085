#include "BlockPicker.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <optional>
#include <system_error>
#include <utility>

#include "BlockFile.h"
#include "Cp932.h"
#include "FileNames.h"
#include "FileSystem.h"
#include "Numbers.h"

namespace chokusho {

namespace {

/** The same ceiling as the block file reader's: no block file comes near it. */
constexpr std::size_t kMaxListedFileBytes = 64u << 20;

constexpr std::string_view kExtension = ".csv";

/**
 * `text` with every character whose width on screen the cp932 count cannot tell replaced by "?":
 * U+FFFD (bytes that did not decode), control characters and the private-use area (where cp932's
 * single bytes 0xA0 and 0xFD..0xFF and its user-defined characters land). A font draws those as
 * boxes of its own width, or not at all, and would shift the columns after them.
 */
std::string ListText(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        const auto b0 = static_cast<unsigned char>(text[i]);
        std::size_t length = b0 < 0x80 ? 1 : b0 < 0xE0 ? 2 : b0 < 0xF0 ? 3 : 4;
        length = std::min(length, text.size() - i);
        char32_t c = length == 1 ? b0 : b0 & (0x7Fu >> length);
        for (std::size_t k = 1; k < length; ++k)
            c = (c << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3Fu);
        const bool unsure = c < 0x20 || (c >= 0x7F && c < 0xA0) || (c >= 0xE000 && c <= 0xF8FF) || c == 0xFFFD;
        if (unsure)
            out += '?';
        else
            out.append(text, i, length);
        i += length;
    }
    return out;
}

void AppendPadded(std::string& out, std::string_view text, std::size_t width)
{
    out += text;
    const std::size_t used = Cp932Width(text);
    if (used < width)
        out.append(width - used, ' ');
}

void AppendPaddedNumber(std::string& out, double value, std::size_t width)
{
    const std::string text = Format000(value);
    if (text.size() < width)
        out.append(width - text.size(), ' ');
    out += text;
}

bool EndsInSeparator(std::string_view path)
{
    if (path.empty())
        return false;
    const char last = path.back();
    return last == '/' || (std::filesystem::path::preferred_separator == '\\' && last == '\\');
}

struct FoundFile {
    std::string name;  // as on disk (UTF-8 where it is): the block's file and base name
    std::filesystem::path path;
};

/**
 * The UTF-8 text of a name; nullopt on Windows for a name that is not valid Unicode, which
 * could not be opened by its text anyway.
 */
std::optional<std::string> Utf8Name(const std::filesystem::path& path)
{
    try {
        return PathToUtf8(path);
    } catch (const std::system_error&) {
        return std::nullopt;
    }
}

/** The ".csv" regular files of `folder`, in no particular order; those met before a failure. */
std::vector<FoundFile> CsvFilesOf(const std::string& folder)
{
    std::vector<FoundFile> found;
    std::filesystem::path path;
    try {
        path = PathFromUtf8(folder);
    } catch (const std::system_error&) {
        return found;
    }
    std::error_code error;
    std::filesystem::directory_iterator it(path, error);
    for (; !error && it != std::filesystem::directory_iterator(); it.increment(error)) {
        auto name = Utf8Name(it->path().filename());
        if (!name || name->size() < kExtension.size() ||
            !EqualsIgnoringAsciiCase(std::string_view(*name).substr(name->size() - kExtension.size()), kExtension))
            continue;
        std::error_code typeError;
        if (!it->is_regular_file(typeError))
            continue;
        found.push_back({std::move(*name), it->path()});
    }
    return found;
}

/** A line of the picker's status about `fileName`, which was not read. */
std::string ProblemLine(const std::string& fileName, const BlockReadResult& read)
{
    return DisplayFileName(fileName) + ": " + BlockReadFailureText(read);
}

}  // namespace

std::string PadText(std::string_view text, std::size_t width)
{
    std::string out;
    AppendPadded(out, text, width);
    return out;
}

std::string PadNumber(double value, std::size_t width)
{
    std::string out;
    AppendPaddedNumber(out, value, width);
    return out;
}

std::string BlockListLine(const BlockData& record)
{
    std::string line;
    line.reserve(96);
    AppendPadded(line, ListText(record.Name), 20);
    line += ' ';
    AppendPadded(line, ListText(record.Kind), 16);
    const std::array<std::pair<double, std::size_t>, 6> numbers{
        {{record.B, 7}, {record.H, 7}, {record.L, 7}, {record.V, 9}, {record.Gx, 7}, {record.Gy, 7}}};
    for (const auto& [value, width] : numbers) {
        line += ' ';
        AppendPaddedNumber(line, value, width);
    }
    return line;
}

BlockFileList FillFileList(const std::string& dataPath, BlockData& scratch)
{
    std::vector<FoundFile> files = CsvFilesOf(dataPath);
    // Directory order differs between file systems; the order a Windows user sees in a folder
    // keeps the list the same everywhere. The base names are compared, so "A" comes before "A-1".
    const auto base = [](const std::string& name) {
        return std::string_view(name).substr(0, name.size() - kExtension.size());
    };
    std::sort(files.begin(), files.end(), [&](const FoundFile& a, const FoundFile& b) {
        const std::string_view x = base(a.name);
        const std::string_view y = base(b.name);
        return x == y ? a.name < b.name : NaturalLess(x, y);
    });

    BlockFileList list;
    list.FileNames.reserve(files.size());
    list.Files.reserve(files.size());
    list.Lines.reserve(files.size());
    for (FoundFile& file : files) {
        std::string baseName(base(file.name));
        if (baseName.empty())
            continue;
        // Read by path, not by name: the name lookup ignores case by scanning the folder, once
        // per file, which a large folder could not afford.
        int error = 0;
        const auto bytes = ReadWholeFile(file.path, kMaxListedFileBytes, &error);
        const BlockReadResult read = bytes ? ParseBlockFile(scratch, *bytes)
                                           : BlockReadResult{BlockReadFailure::CannotRead, error};
        if (!read) {
            // Other CSV files, a spreadsheet's, may well lie beside the blocks and are no news;
            // a file the picker cannot show for another reason is.
            if (read.failure != BlockReadFailure::NotBlockFile)
                list.Problems.push_back(ProblemLine(file.name, read));
            continue;
        }
        list.FileNames.push_back(std::move(baseName));
        list.Files.push_back(std::move(file.name));
        list.Lines.push_back(BlockListLine(scratch));
    }
    return list;
}

void BlockPicker::Load()
{
    label3_.clear();
    Refill();
}

void BlockPicker::DirChange(const std::string& path)
{
    // An empty path is no folder: it stays empty rather than becoming the root.
    state_.DataPath = path;
    if (!path.empty() && !EndsInSeparator(path))
        state_.DataPath += static_cast<char>(std::filesystem::path::preferred_separator);
    Refill();
}

void BlockPicker::Refill()
{
    list_ = FillFileList(state_.DataPath, state_.PreviewData);
    status_ = FolderStatus();
    selected_ = -1;
    // Nothing of the previous folder stays on show, even if the first file here fails to read.
    ClearBlock(shownData_);
    label3_.clear();
    if (!list_.FileNames.empty())
        ListClick(0);
}

std::string BlockPicker::FolderStatus() const
{
    if (list_.Problems.empty())
        return {};
    std::string status = list_.Problems.front();
    if (list_.Problems.size() > 1)
        status += "（ほかに " + FormatInteger(static_cast<long long>(list_.Problems.size() - 1)) + " 件）";
    return status;
}

bool BlockPicker::ListClick(int index)
{
    if (index < 0 || static_cast<std::size_t>(index) >= list_.FileNames.size())
        return false;
    selected_ = index;
    const auto at = static_cast<std::size_t>(index);
    // Through the scratch record, so that a file gone bad since the listing leaves the preview
    // alone; by its exact name, so that the file shown is the file listed.
    if (const BlockReadResult read = ReadBlockFileNamed(state_.PreviewData, state_.DataPath, list_.Files[at]); !read) {
        status_ = ProblemLine(list_.Files[at], read);
        return false;
    }
    shownData_ = state_.PreviewData;
    label3_ = DisplayFileName(list_.FileNames[at]);
    status_ = FolderStatus();
    return true;
}

bool BlockPicker::Select()
{
    if (selected_ < 0)
        return false;
    blkNm_ = list_.FileNames[selected_];
    fileName_ = list_.Files[selected_];
    return true;
}

}  // namespace chokusho
