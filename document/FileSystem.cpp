#include "FileSystem.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace chokusho {

FileWriteError::FileWriteError(std::string path, std::string reason)
    : std::runtime_error(path + ": " + reason), path_(std::move(path)), reason_(std::move(reason))
{
}

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
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) { return lower(x) == lower(y); });
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

std::optional<std::string> ReadWholeFile(const std::filesystem::path& path, std::size_t limit, int* error)
{
    const auto fail = [error](int why) -> std::optional<std::string> {
        if (error)
            *error = why;
        return std::nullopt;
    };
    std::error_code statusError;
    const auto status = std::filesystem::status(path, statusError);
    if (status.type() == std::filesystem::file_type::not_found)
        return fail(ENOENT);
    if (status.type() == std::filesystem::file_type::directory)
        return fail(EISDIR);
    if (status.type() != std::filesystem::file_type::regular)
        return fail(statusError ? EACCES : kNotRegularFile);
    std::FILE* file = _wfopen(path.c_str(), L"rb");
    if (!file)
        return fail(errno != 0 ? errno : EACCES);
    std::string bytes;
    char buffer[65536];
    int failure = 0;
    for (;;) {
        const std::size_t got = std::fread(buffer, 1, sizeof buffer, file);
        bytes.append(buffer, got);
        if (bytes.size() > limit) {
            failure = EFBIG;
            break;
        }
        if (got < sizeof buffer) {
            failure = std::ferror(file) ? EIO : 0;
            break;
        }
    }
    std::fclose(file);
    if (failure != 0)
        return fail(failure);
    return bytes;
}

#else

std::optional<std::string> ReadWholeFile(const std::filesystem::path& path, std::size_t limit, int* error)
{
    const auto fail = [error](int why) -> std::optional<std::string> {
        if (error)
            *error = why;
        return std::nullopt;
    };
    // Non-blocking, so that a pipe or device with a block file's name cannot stall the reader;
    // anything but a regular file is refused once it is open.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return fail(errno);
    struct stat info {};
    int failure = 0;
    if (::fstat(fd, &info) != 0)
        failure = errno;
    else if (S_ISDIR(info.st_mode))
        failure = EISDIR;
    else if (!S_ISREG(info.st_mode))
        failure = kNotRegularFile;
    else if (static_cast<std::uintmax_t>(info.st_size) > limit)
        failure = EFBIG;
    if (failure != 0) {
        ::close(fd);
        return fail(failure);
    }
    // The file as it was when it was opened: its size then is what is read, in as few calls as
    // the system allows, and a file that shrank meanwhile ends early.
    std::string bytes(static_cast<std::size_t>(info.st_size), '\0');
    std::size_t got = 0;
    while (got < bytes.size()) {
        const ssize_t done = ::read(fd, bytes.data() + got, bytes.size() - got);
        if (done < 0) {
            if (errno == EINTR)
                continue;
            failure = errno;
            break;
        }
        if (done == 0)
            break;
        got += static_cast<std::size_t>(done);
    }
    ::close(fd);
    if (failure != 0)
        return fail(failure);
    bytes.resize(got);
    return bytes;
}

#endif

namespace {

/** Temporaries of saves begin with this name and end in ".tmp", after the writer's process id. */
constexpr std::string_view kTemporaryPrefix = ".chokusho-save-";

/** The process id in the name of a save's temporary, or 0 when the name is not one. */
unsigned long TemporaryOwner(const std::string& name)
{
    if (name.compare(0, kTemporaryPrefix.size(), kTemporaryPrefix) != 0 || !name.ends_with(".tmp"))
        return 0;
    return std::strtoul(name.c_str() + kTemporaryPrefix.size(), nullptr, 10);
}

// The reasons stand under "ファイル「…」に保存できませんでした。", which already names the file,
// so they say only what went wrong.
constexpr const char* kTextNoPermission = "書き込む権限がありません。";
constexpr const char* kTextReadOnlyFile = "読み取り専用のファイルです。";
constexpr const char* kTextReadOnlyFileSystem = "読み取り専用のファイルシステムです。";
constexpr const char* kTextNoSpace = "ディスクの空き容量が足りません。";
constexpr const char* kTextIsFolder = "フォルダーです。";
constexpr const char* kTextNotFound = "保存先のフォルダーが見つかりません。";
constexpr const char* kTextNameTooLong = "名前が長すぎます。";
constexpr const char* kTextIoError = "入出力エラーが発生しました。";
constexpr const char* kTextTooLarge = "ファイルが大きすぎます。";
constexpr const char* kTextLinkLoop = "シンボリックリンクが循環しています。";
// Reasons of a file that could not be read, under "ファイル「…」を開けませんでした。".
constexpr const char* kTextFileNotFound = "ファイルが見つかりません。";
constexpr const char* kTextNoReadPermission = "読み取る権限がありません。";
constexpr const char* kTextNotRegularFile = "通常のファイルではありません。";

}  // namespace

std::string FileErrorText(int errorNumber)
{
    switch (errorNumber) {
    case EACCES:
    case EPERM: return kTextNoPermission;
    case EROFS: return kTextReadOnlyFileSystem;
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
        return kTextNoSpace;
    case EISDIR: return kTextIsFolder;
    case ENOENT:
    case ENOTDIR: return kTextNotFound;
    case ENAMETOOLONG: return kTextNameTooLong;
    case EIO: return kTextIoError;
    case EFBIG: return kTextTooLarge;
#ifdef ELOOP
    case ELOOP: return kTextLinkLoop;
#endif
    default: return std::generic_category().message(errorNumber);
    }
}

std::string FileNameLengthProblem(const std::filesystem::path& folder, std::string_view name)
{
#ifdef _WIN32
    static_cast<void>(folder);
    const std::size_t limit = 255;
    const std::size_t length = PathFromUtf8(name).wstring().size();
    const char* unit = " 文字";
#else
    // Where the folder cannot be asked (it is not there yet), the common limit stands.
    const long asked = ::pathconf(folder.empty() ? "." : folder.c_str(), _PC_NAME_MAX);
    const std::size_t limit = asked > 0 ? static_cast<std::size_t>(asked) : 255;
    const std::size_t length = name.size();
    const char* unit = " バイト";
#endif
    if (length <= limit)
        return {};
    return "ファイル名が長すぎます (" + std::to_string(limit) + unit + "まで)。";
}

std::string FileReadErrorText(int errorNumber)
{
    switch (errorNumber) {
    case ENOENT:
    case ENOTDIR: return kTextFileNotFound;
    case EACCES:
    case EPERM: return kTextNoReadPermission;
    case kNotRegularFile: return kTextNotRegularFile;
    default: return FileErrorText(errorNumber);
    }
}

#ifdef _WIN32

namespace {

constexpr const char* kTextInUse = "ほかのプログラムが使用中です。";

std::string SystemMessage(DWORD code)
{
    wchar_t* text = nullptr;
    FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                   code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
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

/** The same reasons as FileErrorText gives on other systems, for the Win32 error codes. */
std::string Win32ErrorText(DWORD code)
{
    switch (code) {
    case ERROR_ACCESS_DENIED: return kTextNoPermission;
    case ERROR_WRITE_PROTECT: return kTextReadOnlyFileSystem;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: return kTextNoSpace;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND: return kTextNotFound;
    case ERROR_FILENAME_EXCED_RANGE: return kTextNameTooLong;
    case ERROR_FILE_TOO_LARGE: return kTextTooLarge;
    case ERROR_DIRECTORY: return kTextIsFolder;
    case ERROR_CRC:
    case ERROR_IO_DEVICE: return kTextIoError;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION: return kTextInUse;
    default: return SystemMessage(code);
    }
}

/**
 * Why `target` could not be replaced by a rename that failed with `failure`. Windows refuses
 * with "access denied" also when another program holds the file open, as spreadsheets do; a
 * probe for the same access tells that case apart from a missing permission.
 */
DWORD ReplaceFailure(const std::filesystem::path& target, DWORD failure)
{
    if (failure != ERROR_ACCESS_DENIED)
        return failure;
    HANDLE probe = CreateFileW(target.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (probe != INVALID_HANDLE_VALUE) {
        CloseHandle(probe);
        return failure;
    }
    return GetLastError() == ERROR_SHARING_VIOLATION ? ERROR_SHARING_VIOLATION : failure;
}

/** Opens a new temporary file in `folder`; INVALID_HANDLE_VALUE, with the error set, when none can be made. */
HANDLE OpenTemporaryIn(const std::filesystem::path& folder, std::filesystem::path& temporary)
{
    static unsigned counter = 0;
    // The same short names as on other systems, so that a target near the length limit has one too.
    const std::wstring prefix = PathFromUtf8(kTemporaryPrefix).wstring() + std::to_wstring(GetCurrentProcessId()) +
                                L"-";
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary = folder / (prefix + std::to_wstring(++counter) + L".tmp");
        HANDLE file = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                                  nullptr);
        if (file != INVALID_HANDLE_VALUE || GetLastError() != ERROR_FILE_EXISTS)
            return file;
    }
    return INVALID_HANDLE_VALUE;
}

/** True while the process `pid` runs: its temporaries are its own. */
bool ProcessRuns(unsigned long pid)
{
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(pid));
    if (process == nullptr)
        return GetLastError() == ERROR_ACCESS_DENIED;  // there, but another user's
    DWORD code = 0;
    const bool running = GetExitCodeProcess(process, &code) && code == STILL_ACTIVE;
    CloseHandle(process);
    return running;
}

/**
 * Removes the temporaries that saves killed before their rename left in `folder`: those whose
 * writing process is gone. A save still running in another instance keeps its own.
 */
void RemoveAbandonedTemporaries(const std::filesystem::path& folder)
{
    std::error_code error;
    for (std::filesystem::directory_iterator it(folder, error); !error && it != std::filesystem::directory_iterator();
         it.increment(error)) {
        const unsigned long pid = TemporaryOwner(PathToUtf8(it->path().filename()));
        if (pid == 0 || pid == GetCurrentProcessId() || ProcessRuns(pid))
            continue;
        DeleteFileW(it->path().c_str());
    }
}

}  // namespace

void WriteFileAtomically(const std::string& path, std::string_view bytes)
{
    const auto target = PathFromUtf8(path);

    // Checked before anything is made: a folder would only fail at the rename with a vaguer
    // reason, and a read-only file would be replaced, as the rename does not look at the flag.
    const DWORD attributes = GetFileAttributesW(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        if (attributes & FILE_ATTRIBUTE_DIRECTORY)
            throw FileWriteError(path, kTextIsFolder);
        if (attributes & FILE_ATTRIBUTE_READONLY)
            throw FileWriteError(path, kTextReadOnlyFile);
    }

    const auto folder = target.has_parent_path() ? target.parent_path() : std::filesystem::path(L".");
    std::filesystem::path temporary;
    HANDLE file = OpenTemporaryIn(folder, temporary);
    if (file == INVALID_HANDLE_VALUE)
        throw FileWriteError(path, Win32ErrorText(GetLastError()));
    // The code is taken as soon as a call fails, before any other call can overwrite it.
    DWORD failure = ERROR_SUCCESS;
    std::size_t written = 0;
    while (failure == ERROR_SUCCESS && written < bytes.size()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - written, 1u << 20));
        DWORD done = 0;
        if (!WriteFile(file, bytes.data() + written, chunk, &done, nullptr))
            failure = GetLastError();
        else if (done == 0)
            failure = ERROR_WRITE_FAULT;
        written += done;
    }
    if (failure == ERROR_SUCCESS && !FlushFileBuffers(file))
        failure = GetLastError();
    CloseHandle(file);
    if (failure == ERROR_SUCCESS &&
        !MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        failure = ReplaceFailure(target, GetLastError());
    if (failure != ERROR_SUCCESS) {
        DeleteFileW(temporary.c_str());
        throw FileWriteError(path, Win32ErrorText(failure));
    }
    RemoveAbandonedTemporaries(folder);
}

#else

namespace {

/** As many links as the kernel itself follows in one path before it calls it a loop. */
constexpr int kMaxLinkHops = 40;

/**
 * The file a save to `path` replaces: the final target of the symbolic link, or chain of links,
 * that `path` names, else `path` itself. The link is the user's way to keep the file elsewhere,
 * so the save goes where reading goes. Throws FileWriteError on a loop.
 */
std::string ResolveLinks(const std::string& path)
{
    std::filesystem::path current = path;
    for (int hops = 0;; ++hops) {
        struct stat info {};
        if (::lstat(current.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
            return current.string();
        if (hops == kMaxLinkHops)
            throw FileWriteError(path, FileErrorText(ELOOP));
        std::error_code error;
        const auto next = std::filesystem::read_symlink(current, error);
        if (error)
            throw FileWriteError(path, FileErrorText(error.value()));
        // A relative target counts from the link's own folder. The path is joined, not
        // normalized: a ".." after a linked folder is the kernel's to resolve, as on reading.
        current = current.parent_path() / next;
    }
}

/**
 * The reason the existing file `target` may not be rewritten, or "" when it may. A file with no
 * write bit at all was made read-only on purpose, and that holds for the superuser too, whom
 * the system itself would let write it.
 */
std::string RefusalOf(const std::string& target, const struct stat& info)
{
    if ((info.st_mode & 0222) == 0)
        return kTextReadOnlyFile;
    // Without this a file of someone else's in a folder open to all would be replaced by rename.
    if (::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0)
        return FileErrorText(errno);
    return {};
}

/**
 * Gives the new file `fd` the old file's permission bits and group, and as the superuser its
 * owner too: a save changes the content, not who may use the file. Set-id bits are left behind,
 * as they were granted to the old content. What the file system cannot record (EPERM on a
 * system without owners, EINVAL for an id it cannot store) is let go; returns an errno else.
 */
int KeepOwnerAndMode(int fd, const struct stat& old)
{
    const uid_t owner = ::geteuid() == 0 ? old.st_uid : static_cast<uid_t>(-1);
    if (::fchown(fd, owner, old.st_gid) != 0 && errno != EPERM && errno != EINVAL)
        return errno;
    if (::fchmod(fd, old.st_mode & 0777) != 0 && errno != EPERM && errno != EOPNOTSUPP)
        return errno;
    return 0;
}

/** Opens a new temporary file beside `target`; -1 with errno set when none can be made. */
int OpenTemporaryBeside(const std::string& target, std::string& temporary)
{
    static unsigned counter = 0;
    // A short name of its own, so that a target name near the length limit still has a temporary.
    const auto folder = std::filesystem::path(target).parent_path();
    const std::string prefix = (folder.empty() ? std::string(".") : folder.string()) + "/" +
                               std::string(kTemporaryPrefix);
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

/** Makes the file `fd` hold exactly `bytes`, on disk; false with errno set on a failure. */
bool RewriteWhole(int fd, std::string_view bytes)
{
    for (std::size_t offset = 0; offset < bytes.size();) {
        const ssize_t done = ::pwrite(fd, bytes.data() + offset, bytes.size() - offset, static_cast<off_t>(offset));
        if (done < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        offset += static_cast<std::size_t>(done);
    }
    return ::ftruncate(fd, static_cast<off_t>(bytes.size())) == 0 && ::fsync(fd) == 0;
}

/** The whole content of the open file `fd`; false with errno set on a failure. */
bool ReadAll(int fd, std::string& bytes)
{
    char buffer[65536];
    for (off_t offset = 0;;) {
        const ssize_t done = ::pread(fd, buffer, sizeof buffer, offset);
        if (done < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (done == 0)
            return true;
        bytes.append(buffer, static_cast<std::size_t>(done));
        offset += done;
    }
}

/**
 * Rewrites `target`, a file with several hard links, in place. A rename would give only this
 * name the new content and leave the other names on the old file, so here the links win over
 * the rename's all-or-nothing: the new bytes are first written to a temporary beside it and
 * flushed, which shows the disk has room for them while nothing is touched yet, and should the
 * in-place write fail all the same, the old bytes read beforehand are put back.
 */
void OverwriteInPlace(const std::string& path, const std::string& target, const struct stat& old,
                      std::string_view bytes)
{
    const int fd = ::open(target.c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0)
        throw FileWriteError(path, FileErrorText(errno));
    std::string oldBytes;
    if (!ReadAll(fd, oldBytes)) {
        const int failure = errno;
        ::close(fd);
        throw FileWriteError(path, FileErrorText(failure));
    }

    std::string temporary;
    const int trial = OpenTemporaryBeside(target, temporary);
    int failure = trial < 0 ? errno : 0;
    if (trial >= 0) {
        // The trial holds the new content for a moment: no more readable than the file itself.
        ::fchmod(trial, old.st_mode & 0777);
        if (!WriteAll(trial, bytes) || ::fsync(trial) != 0)
            failure = errno;
        if (::close(trial) != 0 && failure == 0)
            failure = errno;
        ::unlink(temporary.c_str());
    }
    if (failure == 0 && !RewriteWhole(fd, bytes)) {
        failure = errno;
        const bool restored = RewriteWhole(fd, oldBytes);
        ::close(fd);
        throw FileWriteError(path,
                             FileErrorText(failure) +
                                 (restored ? ""
                                           : "元の内容にも戻せなかったため、ファイルが壊れている可能性があります。"));
    }
    if (::close(fd) != 0 && failure == 0)
        failure = errno;
    if (failure != 0)
        throw FileWriteError(path, FileErrorText(failure));
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
        const unsigned long pid = TemporaryOwner(it->path().filename().string());
        if (pid == 0 || pid > static_cast<unsigned long>(std::numeric_limits<pid_t>::max()) ||
            static_cast<pid_t>(pid) == ::getpid() || ::kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH)
            continue;
        std::error_code ignored;
        std::filesystem::remove(it->path(), ignored);
    }
}

/**
 * Why no new file can be made beside `target` after the system said `errorNumber`. "Not found"
 * means a missing folder, unless the folder is there: a folder of the system such as /proc takes
 * no new file and answers so, and then the system's own words say what happened.
 */
std::string CreateErrorText(const std::string& target, int errorNumber)
{
    if (errorNumber == ENOENT || errorNumber == ENOTDIR) {
        const auto folder = std::filesystem::path(target).parent_path();
        struct stat info {};
        if (::stat(folder.empty() ? "." : folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode))
            return "フォルダーはありますが、その中にファイルを作れません（" +
                   std::generic_category().message(errorNumber) + "、errno " + std::to_string(errorNumber) + "）。";
    }
    return FileErrorText(errorNumber);
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
    const std::string target = ResolveLinks(path);
    const auto folder = std::filesystem::path(target).parent_path();

    struct stat existing {};
    const bool replacing = ::stat(target.c_str(), &existing) == 0;
    if (replacing) {
        if (S_ISDIR(existing.st_mode))
            throw FileWriteError(path, FileErrorText(EISDIR));
        if (const std::string refusal = RefusalOf(target, existing); !refusal.empty())
            throw FileWriteError(path, refusal);
        if (S_ISREG(existing.st_mode) && existing.st_nlink > 1) {
            OverwriteInPlace(path, target, existing, bytes);
            RemoveAbandonedTemporaries(folder);
            return;
        }
    }

    std::string temporary;
    const int fd = OpenTemporaryBeside(target, temporary);
    if (fd < 0)
        throw FileWriteError(path, CreateErrorText(target, errno));

    // Owner and mode go on before the content, so the content is never more open than the file.
    int failure = replacing ? KeepOwnerAndMode(fd, existing) : 0;
    if (failure == 0 && (!WriteAll(fd, bytes) || ::fsync(fd) != 0))
        failure = errno;
    if (::close(fd) != 0 && failure == 0)
        failure = errno;
    if (failure == 0 && ::rename(temporary.c_str(), target.c_str()) != 0)
        failure = errno;
    if (failure != 0) {
        ::unlink(temporary.c_str());
        throw FileWriteError(path, FileErrorText(failure));
    }
    SyncFolderOf(target);
    RemoveAbandonedTemporaries(folder);
}

#endif

}  // namespace chokusho
