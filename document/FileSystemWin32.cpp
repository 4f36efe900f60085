// The file functions on Windows: reading through the C library's wide-character open, atomic
// saving through the Win32 API (MoveFileExW), names counted in UTF-16 units.

#include <windows.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

#include "FileSystem.h"
#include "FileSystemInternal.h"

namespace chokusho {

namespace {

/** An open handle, closed when it goes. Both of Win32's "no handle" values count as none. */
class Handle {
public:
    explicit Handle(HANDLE handle) : handle_(handle) {}
    ~Handle() { close(); }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;

    bool isOpen() const { return handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return handle_; }

    /** Closes the handle now: a file must be closed before it can be renamed. */
    void close()
    {
        if (isOpen())
            CloseHandle(handle_);
        handle_ = nullptr;
    }

private:
    HANDLE handle_;
};

/** A file of the C library, closed when it goes. */
struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using CFile = std::unique_ptr<std::FILE, FileCloser>;

}  // namespace

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
    const CFile file(_wfopen(path.c_str(), L"rb"));
    if (!file)
        return fail(errno != 0 ? errno : EACCES);
    std::string bytes;
    char buffer[65536];
    for (;;) {
        const std::size_t got = std::fread(buffer, 1, sizeof buffer, file.get());
        bytes.append(buffer, got);
        if (bytes.size() > limit)
            return fail(EFBIG);
        if (got < sizeof buffer) {
            if (std::ferror(file.get()))
                return fail(EIO);
            return bytes;
        }
    }
}

namespace {

/** True while the process `pid` runs: its temporaries are its own. */
bool ProcessRuns(unsigned long pid)
{
    const Handle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(pid)));
    if (!process.isOpen())
        return GetLastError() == ERROR_ACCESS_DENIED;  // there, but another user's
    DWORD code = 0;
    return GetExitCodeProcess(process.get(), &code) && code == STILL_ACTIVE;
}

}  // namespace

namespace file_system {

NameLength MeasureFileName(const std::filesystem::path&, std::string_view name)
{
    return {PathFromUtf8(name).wstring().size(), 255, " 文字"};
}

void RemoveIfAbandoned(const std::filesystem::path& temporary, unsigned long pid)
{
    if (pid == GetCurrentProcessId() || ProcessRuns(pid))
        return;
    DeleteFileW(temporary.c_str());
}

}  // namespace file_system

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
    case ERROR_ACCESS_DENIED: return FileErrorText(EACCES);
    case ERROR_WRITE_PROTECT: return FileErrorText(EROFS);
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: return FileErrorText(ENOSPC);
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND: return FileErrorText(ENOENT);
    case ERROR_FILENAME_EXCED_RANGE: return FileErrorText(ENAMETOOLONG);
    case ERROR_FILE_TOO_LARGE: return FileErrorText(EFBIG);
    case ERROR_DIRECTORY: return FileErrorText(EISDIR);
    case ERROR_CRC:
    case ERROR_IO_DEVICE: return FileErrorText(EIO);
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
    const Handle probe(CreateFileW(target.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                   nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (probe.isOpen())
        return failure;
    return GetLastError() == ERROR_SHARING_VIOLATION ? ERROR_SHARING_VIOLATION : failure;
}

/** Opens a new temporary file in `folder`; not open, with the error set, when none can be made. */
Handle OpenTemporaryIn(const std::filesystem::path& folder, std::filesystem::path& temporary)
{
    static unsigned counter = 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary = file_system::TemporaryPath(folder, GetCurrentProcessId(), ++counter);
        HANDLE file = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                                  nullptr);
        if (file != INVALID_HANDLE_VALUE || GetLastError() != ERROR_FILE_EXISTS)
            return Handle(file);
    }
    return Handle(INVALID_HANDLE_VALUE);
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
            throw FileWriteError(path, FileErrorText(EISDIR));
        if (attributes & FILE_ATTRIBUTE_READONLY)
            throw FileWriteError(path, file_system::kTextReadOnlyFile);
    }

    const auto folder = target.has_parent_path() ? target.parent_path() : std::filesystem::path(L".");
    std::filesystem::path temporary;
    Handle file = OpenTemporaryIn(folder, temporary);
    if (!file.isOpen())
        throw FileWriteError(path, Win32ErrorText(GetLastError()));
    // The code is taken as soon as a call fails, before any other call can overwrite it.
    DWORD failure = ERROR_SUCCESS;
    std::size_t written = 0;
    while (failure == ERROR_SUCCESS && written < bytes.size()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - written, 1u << 20));
        DWORD done = 0;
        if (!WriteFile(file.get(), bytes.data() + written, chunk, &done, nullptr))
            failure = GetLastError();
        else if (done == 0)
            failure = ERROR_WRITE_FAULT;
        written += done;
    }
    if (failure == ERROR_SUCCESS && !FlushFileBuffers(file.get()))
        failure = GetLastError();
    file.close();
    if (failure == ERROR_SUCCESS &&
        !MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        failure = ReplaceFailure(target, GetLastError());
    if (failure != ERROR_SUCCESS) {
        DeleteFileW(temporary.c_str());
        throw FileWriteError(path, Win32ErrorText(failure));
    }
    file_system::RemoveAbandonedTemporaries(folder);
}

}  // namespace chokusho
