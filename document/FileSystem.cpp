#include "FileSystem.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <system_error>
#include <vector>

#include "BlockFile.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace chokusho {

std::filesystem::path PathFromUtf8(std::string_view utf8)
{
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string PathToUtf8(const std::filesystem::path& path)
{
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b)
{
    auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [&](char x, char y) { return lower(x) == lower(y); });
}

std::optional<std::filesystem::path> FindFileIgnoringCase(const std::filesystem::path& folder,
                                                          std::string_view fileName)
{
    std::error_code error;
    const auto exact = folder / PathFromUtf8(fileName);
    if (std::filesystem::is_regular_file(exact, error))
        return exact;

    std::optional<std::filesystem::path> found;
    std::filesystem::directory_iterator it(folder, error);
    for (; !error && it != std::filesystem::directory_iterator(); it.increment(error)) {
        const auto name = PathToUtf8(it->path().filename());
        if (!EqualsIgnoringAsciiCase(name, fileName))
            continue;
        std::error_code typeError;
        if (!it->is_regular_file(typeError))
            continue;
        if (!found || it->path() < *found)
            found = it->path();
    }
    return found;
}

#ifdef _WIN32

std::optional<std::string> ReadWholeFile(const std::filesystem::path& path, std::size_t limit)
{
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error))
        return std::nullopt;
    std::FILE* file = _wfopen(path.c_str(), L"rb");
    if (!file)
        return std::nullopt;
    std::string bytes;
    char buffer[65536];
    bool ok = true;
    for (;;) {
        const std::size_t got = std::fread(buffer, 1, sizeof buffer, file);
        bytes.append(buffer, got);
        if (bytes.size() > limit) {
            ok = false;
            break;
        }
        if (got < sizeof buffer) {
            ok = !std::ferror(file);
            break;
        }
    }
    std::fclose(file);
    if (!ok)
        return std::nullopt;
    return bytes;
}

#else

std::optional<std::string> ReadWholeFile(const std::filesystem::path& path, std::size_t limit)
{
    // Non-blocking, so that a pipe or device with a block file's name cannot stall the reader;
    // anything but a regular file is refused once it is open.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return std::nullopt;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || static_cast<std::uintmax_t>(info.st_size) > limit) {
        ::close(fd);
        return std::nullopt;
    }
    // The file as it was when it was opened: its size then is what is read, in as few calls as
    // the system allows, and a file that shrank meanwhile ends early.
    std::string bytes(static_cast<std::size_t>(info.st_size), '\0');
    std::size_t got = 0;
    bool ok = true;
    while (got < bytes.size()) {
        const ssize_t done = ::read(fd, bytes.data() + got, bytes.size() - got);
        if (done < 0) {
            if (errno == EINTR)
                continue;
            ok = false;
            break;
        }
        if (done == 0)
            break;
        got += static_cast<std::size_t>(done);
    }
    ::close(fd);
    if (!ok || got > limit)
        return std::nullopt;
    bytes.resize(got);
    return bytes;
}

#endif

#ifdef _WIN32

namespace {

std::string LastErrorText()
{
    const DWORD code = GetLastError();
    wchar_t* text = nullptr;
    FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                   nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::string reason;
    if (text) {
        const int length = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
        if (length > 1) {
            reason.resize(static_cast<std::size_t>(length - 1));
            WideCharToMultiByte(CP_UTF8, 0, text, -1, reason.data(), length, nullptr, nullptr);
        }
        LocalFree(text);
    }
    while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r' || reason.back() == ' '))
        reason.pop_back();
    return reason.empty() ? "error " + std::to_string(code) : reason;
}

}  // namespace

void WriteFileAtomically(const std::string& path, std::string_view bytes)
{
    const auto target = PathFromUtf8(path);
    auto temporary = target;
    temporary += L"." + std::to_wstring(GetCurrentProcessId()) + L".tmp";

    HANDLE file = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        throw FileWriteError(path, LastErrorText());
    std::size_t written = 0;
    bool ok = true;
    while (ok && written < bytes.size()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - written, 1u << 20));
        DWORD done = 0;
        ok = WriteFile(file, bytes.data() + written, chunk, &done, nullptr) && done > 0;
        written += done;
    }
    ok = ok && FlushFileBuffers(file);
    std::string reason = ok ? std::string() : LastErrorText();
    CloseHandle(file);
    if (ok && !MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        ok = false;
        reason = LastErrorText();
    }
    if (!ok) {
        DeleteFileW(temporary.c_str());
        throw FileWriteError(path, reason);
    }
}

#else

namespace {

std::string ErrnoText(int code)
{
    return std::generic_category().message(code);
}

/** Temporaries of saves begin with this name and end in ".tmp", after the writer's process id. */
constexpr std::string_view kTemporaryPrefix = ".chokusho-save-";

/** Opens a new temporary file beside `target`; -1 with errno set when none can be made. */
int OpenTemporaryBeside(const std::string& target, std::string& temporary)
{
    static unsigned counter = 0;
    // A short name of its own, so that a target name near the length limit still has a temporary.
    const auto folder = std::filesystem::path(target).parent_path();
    const std::string prefix = (folder.empty() ? std::string(".") : folder.string()) + "/" + std::string(kTemporaryPrefix);
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary = prefix + std::to_string(::getpid()) + "-" + std::to_string(++counter) + ".tmp";
        const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

bool WriteAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t done = ::write(fd, bytes.data(), bytes.size());
        if (done < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(done));
    }
    return true;
}

/**
 * Removes the temporaries that saves killed before their rename left in `folder`: those whose
 * writing process is gone. A save still running in another instance keeps its own.
 */
void RemoveAbandonedTemporaries(const std::filesystem::path& folder)
{
    std::error_code error;
    std::filesystem::directory_iterator it(folder.empty() ? std::filesystem::path(".") : folder, error);
    for (; !error && it != std::filesystem::directory_iterator(); it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (name.compare(0, kTemporaryPrefix.size(), kTemporaryPrefix) != 0 || !name.ends_with(".tmp"))
            continue;
        const long pid = std::strtol(name.c_str() + kTemporaryPrefix.size(), nullptr, 10);
        if (pid <= 0 || pid == ::getpid() || ::kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH)
            continue;
        std::error_code ignored;
        std::filesystem::remove(it->path(), ignored);
    }
}

/** Makes a completed rename durable; a folder that cannot be synced does not undo the save. */
void SyncFolderOf(const std::string& path)
{
    const auto folder = std::filesystem::path(path).parent_path();
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

}  // namespace

void WriteFileAtomically(const std::string& path, std::string_view bytes)
{
    struct stat existing {};
    if (::stat(path.c_str(), &existing) == 0 && S_ISDIR(existing.st_mode))
        throw FileWriteError(path, ErrnoText(EISDIR));

    std::string temporary;
    const int fd = OpenTemporaryBeside(path, temporary);
    if (fd < 0)
        throw FileWriteError(path, ErrnoText(errno));

    int failure = 0;
    if (!WriteAll(fd, bytes) || ::fsync(fd) != 0)
        failure = errno;
    if (::close(fd) != 0 && failure == 0)
        failure = errno;
    if (failure == 0 && ::rename(temporary.c_str(), path.c_str()) != 0)
        failure = errno;
    if (failure != 0) {
        ::unlink(temporary.c_str());
        throw FileWriteError(path, ErrnoText(failure));
    }
    SyncFolderOf(path);
    RemoveAbandonedTemporaries(std::filesystem::path(path).parent_path());
}

#endif

}  // namespace chokusho
