#include "TestFiles.h"

#include <fstream>
#include <iterator>
#include <random>
#include <system_error>

#include "FileSystem.h"

namespace chokusho::test {

TempFolder::TempFolder()
{
    std::random_device random;
    const auto base = std::filesystem::temp_directory_path();
    for (;;) {
        auto candidate = base / ("chokusho-test-" + std::to_string(random()));
        if (std::filesystem::create_directory(candidate)) {
            path_ = candidate;
            break;
        }
    }
}

TempFolder::~TempFolder()
{
    std::error_code ignored;
    // Tests may leave read-only folders behind; make them writable so they can be removed.
    for (auto it = std::filesystem::recursive_directory_iterator(path_, ignored);
         it != std::filesystem::recursive_directory_iterator(); it.increment(ignored)) {
        std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all, std::filesystem::perm_options::add,
                                     ignored);
    }
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(path_, ignored);
}

// Names and paths are the program's UTF-8 text on every system; Windows' narrow strings would
// be its ANSI code page instead.
std::string TempFolder::dataPath() const { return PathToUtf8(path_ / ""); }

std::string TempFolder::write(const std::string& name, const std::string& bytes) const
{
    const auto file = path_ / PathFromUtf8(name);
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return PathToUtf8(file);
}

std::string TempFolder::read(const std::string& name) const
{
    std::ifstream in(path_ / PathFromUtf8(name), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool TempFolder::caseSensitive() const
{
    const auto probe = path_ / "case-probe";
    {
        std::ofstream(probe) << "probe";
    }
    std::error_code error;
    const bool sensitive = !std::filesystem::exists(path_ / "CASE-PROBE", error);
    std::filesystem::remove(probe, error);
    return sensitive;
}

std::set<std::string> NamesIn(const std::filesystem::path& folder, const std::string& except)
{
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        std::string name = PathToUtf8(entry.path().filename());
        if (name != except)
            names.insert(std::move(name));
    }
    return names;
}

std::optional<std::string> SaveFailure(const std::function<void()>& save)
{
    try {
        save();
    } catch (const FileWriteError& error) {
        return error.reason();
    }
    return std::nullopt;
}

unsigned long TemporaryOwner(const std::string& name)
{
    const std::string prefix = ".chokusho-save-";
    if (name.rfind(prefix, 0) != 0 || !name.ends_with(".tmp"))
        return 0;
    const std::size_t dash = name.find('-', prefix.size());
    if (dash == std::string::npos || dash == prefix.size())
        return 0;
    unsigned long pid = 0;
    for (std::size_t i = prefix.size(); i < dash; ++i) {
        if (name[i] < '0' || name[i] > '9')
            return 0;
        pid = pid * 10 + static_cast<unsigned long>(name[i] - '0');
    }
    return pid;
}

}  // namespace chokusho::test
