// The file functions on POSIX systems (Linux): reading and atomic saving through file
// descriptors, the length limit the folder's file system states.

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

#include "FileSystem.h"
#include "FileSystemInternal.h"

namespace chokusho {

namespace {

/** An open file descriptor, closed when it goes. */
class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    bool isOpen() const { return fd_ >= 0; }
    int get() const { return fd_; }

    /**
     * Closes the descriptor now, for the writes whose last failure only the close reports (as
     * on a network file system); the errno of a failed close, or 0.
     */
    int close()
    {
        const int fd = fd_;
        fd_ = -1;
        return fd >= 0 && ::close(fd) != 0 ? errno : 0;
    }

private:
    int fd_;
};

}  // namespace

std::optional<std::string> ReadWholeFile(const std::filesystem::path& path, std::size_t limit, int* error)
{
    const auto fail = [error](int why) -> std::optional<std::string> {
        if (error)
            *error = why;
        return std::nullopt;
    };
    // Non-blocking, so that a pipe or device with a block file's name cannot stall the reader;
    // anything but a regular file is refused once it is open.
    const FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (!file.isOpen())
        return fail(errno);
    struct stat info {};
    if (::fstat(file.get(), &info) != 0)
        return fail(errno);
    if (S_ISDIR(info.st_mode))
        return fail(EISDIR);
    if (!S_ISREG(info.st_mode))
        return fail(kNotRegularFile);
    if (static_cast<std::uintmax_t>(info.st_size) > limit)
        return fail(EFBIG);
    // The file as it was when it was opened: its size then is what is read, in as few calls as
    // the system allows, and a file that shrank meanwhile ends early.
    std::string bytes(static_cast<std::size_t>(info.st_size), '\0');
    std::size_t got = 0;
    while (got < bytes.size()) {
        const ssize_t done = ::read(file.get(), bytes.data() + got, bytes.size() - got);
        if (done < 0) {
            if (errno == EINTR)
                continue;
            return fail(errno);
        }
        if (done == 0)
            break;
        got += static_cast<std::size_t>(done);
    }
    bytes.resize(got);
    return bytes;
}

namespace file_system {

NameLength MeasureFileName(const std::filesystem::path& folder, std::string_view name)
{
    // Where the folder cannot be asked (it is not there yet), the common limit stands.
    const long asked = ::pathconf(folder.empty() ? "." : folder.c_str(), _PC_NAME_MAX);
    return {name.size(), asked > 0 ? static_cast<std::size_t>(asked) : 255, " バイト"};
}

void RemoveIfAbandoned(const std::filesystem::path& temporary, unsigned long pid)
{
    if (pid > static_cast<unsigned long>(std::numeric_limits<pid_t>::max()) || static_cast<pid_t>(pid) == ::getpid() ||
        ::kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH)
        return;
    std::error_code ignored;
    std::filesystem::remove(temporary, ignored);
}

}  // namespace file_system

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
        return file_system::kTextReadOnlyFile;
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

/** Opens a new temporary file beside `target`; not open, with errno set, when none can be made. */
FileDescriptor OpenTemporaryBeside(const std::string& target, std::string& temporary)
{
    static unsigned counter = 0;
    const auto folder = std::filesystem::path(target).parent_path();
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary = file_system::TemporaryPath(folder, static_cast<unsigned long>(::getpid()), ++counter).string();
        const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return FileDescriptor(fd);
    }
    return FileDescriptor(-1);
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
 * Writes `bytes` to a temporary beside `target` and flushes it, then removes it: this shows the
 * disk has room for them while nothing is touched yet. The temporary holds the new content for a
 * moment, no more readable than the file itself (`mode`). An errno on a failure, else 0.
 */
int TryWriteBeside(const std::string& target, mode_t mode, std::string_view bytes)
{
    std::string temporary;
    FileDescriptor trial = OpenTemporaryBeside(target, temporary);
    if (!trial.isOpen())
        return errno;
    ::fchmod(trial.get(), mode);
    int failure = 0;
    if (!WriteAll(trial.get(), bytes) || ::fsync(trial.get()) != 0)
        failure = errno;
    if (const int closeFailure = trial.close(); closeFailure != 0 && failure == 0)
        failure = closeFailure;
    ::unlink(temporary.c_str());
    return failure;
}

/**
 * Rewrites `target`, a file with several hard links, in place. A rename would give only this
 * name the new content and leave the other names on the old file, so here the links win over
 * the rename's all-or-nothing: the new bytes are first written to a temporary beside it and
 * flushed (TryWriteBeside), and should the in-place write fail all the same, the old bytes read
 * beforehand are put back.
 */
void OverwriteInPlace(const std::string& path, const std::string& target, const struct stat& old,
                      std::string_view bytes)
{
    FileDescriptor file(::open(target.c_str(), O_RDWR | O_CLOEXEC));
    if (!file.isOpen())
        throw FileWriteError(path, FileErrorText(errno));
    std::string oldBytes;
    if (!ReadAll(file.get(), oldBytes))
        throw FileWriteError(path, FileErrorText(errno));

    int failure = TryWriteBeside(target, old.st_mode & 0777, bytes);
    if (failure == 0 && !RewriteWhole(file.get(), bytes)) {
        failure = errno;
        const bool restored = RewriteWhole(file.get(), oldBytes);
        throw FileWriteError(path,
                             FileErrorText(failure) +
                                 (restored ? ""
                                           : "元の内容にも戻せなかったため、ファイルが壊れている可能性があります。"));
    }
    if (const int closeFailure = file.close(); closeFailure != 0 && failure == 0)
        failure = closeFailure;
    if (failure != 0)
        throw FileWriteError(path, FileErrorText(failure));
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
    const FileDescriptor fd(::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.isOpen())
        ::fsync(fd.get());
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
            file_system::RemoveAbandonedTemporaries(folder);
            return;
        }
    }

    std::string temporary;
    FileDescriptor file = OpenTemporaryBeside(target, temporary);
    if (!file.isOpen())
        throw FileWriteError(path, CreateErrorText(target, errno));

    // Owner and mode go on before the content, so the content is never more open than the file.
    int failure = replacing ? KeepOwnerAndMode(file.get(), existing) : 0;
    if (failure == 0 && (!WriteAll(file.get(), bytes) || ::fsync(file.get()) != 0))
        failure = errno;
    if (const int closeFailure = file.close(); closeFailure != 0 && failure == 0)
        failure = closeFailure;
    if (failure == 0 && ::rename(temporary.c_str(), target.c_str()) != 0)
        failure = errno;
    if (failure != 0) {
        ::unlink(temporary.c_str());
        throw FileWriteError(path, FileErrorText(failure));
    }
    SyncFolderOf(target);
    file_system::RemoveAbandonedTemporaries(folder);
}

}  // namespace chokusho
