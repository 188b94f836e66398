// Whole-file reads and atomic replacement on Windows file handles.
#include "platform/FileText.h"

#include "platform/win32/WindowsApi.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <string>

#include "fdt/Errors.h"
#include "platform/Paths.h"

namespace zeb2hart::platform {

namespace fs = std::filesystem;

namespace {

// A file handle closed when it goes out of scope.
class Handle {
public:
    explicit Handle(HANDLE handle = INVALID_HANDLE_VALUE) : m_handle(handle) {}
    ~Handle() { reset(); }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    HANDLE get() const { return m_handle; }
    explicit operator bool() const { return m_handle != INVALID_HANDLE_VALUE; }
    void reset(HANDLE handle = INVALID_HANDLE_VALUE)
    {
        if (m_handle != INVALID_HANDLE_VALUE)
            CloseHandle(m_handle);
        m_handle = handle;
    }
    // Closes now and says whether the system took the close without error.
    bool close()
    {
        const HANDLE handle = m_handle;
        m_handle = INVALID_HANDLE_VALUE;
        return CloseHandle(handle) != 0;
    }

private:
    HANDLE m_handle;
};

std::error_code errorOf(DWORD code)
{
    return {static_cast<int>(code), std::system_category()};
}

[[noreturn]] void fail(const std::string& what, const fs::path& file, DWORD code)
{
    throw fdt::FileError(what + " " + utf8Of(file) + ": " + errorOf(code).message());
}

// The final target of `file` when it exists (links and junctions resolved by
// the system), else `file` itself.
fs::path finalTarget(const fs::path& file)
{
    Handle existing(CreateFileW(file.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!existing)
        return file;
    std::wstring name(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetFinalPathNameByHandleW(existing.get(), name.data(), static_cast<DWORD>(name.size()),
                                                       FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
        if (length == 0)
            return file;
        if (length < name.size()) {
            name.resize(length);
            return fs::path(name);
        }
        name.resize(length); // the length needed, terminator included
    }
}

bool writeAll(HANDLE handle, const std::string& content)
{
    const char* data = content.data();
    std::size_t left = content.size();
    while (left > 0) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(left, 1u << 30));
        DWORD written = 0;
        if (!WriteFile(handle, data, chunk, &written, nullptr) || written == 0)
            return false;
        data += written;
        left -= written;
    }
    return true;
}

} // namespace

FileRead readFileText(const fs::path& file, std::string& content, std::size_t cap, std::error_code* error)
{
    std::error_code ignored;
    std::error_code& reason = error != nullptr ? *error : ignored;
    reason.clear();
    // FILE_FLAG_BACKUP_SEMANTICS opens a folder too, so that it is refused as one below.
    Handle handle(CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!handle) {
        reason = errorOf(GetLastError());
        return FileRead::Unreadable;
    }
    BY_HANDLE_FILE_INFORMATION information{};
    if (GetFileType(handle.get()) != FILE_TYPE_DISK || !GetFileInformationByHandle(handle.get(), &information) ||
        (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return FileRead::NotAFile;
    const std::uint64_t size = (std::uint64_t{information.nFileSizeHigh} << 32) | information.nFileSizeLow;
    return readBounded(size, cap, [&](char* buffer, std::size_t wanted) {
        DWORD got = 0;
        if (!ReadFile(handle.get(), buffer, static_cast<DWORD>(std::min<std::size_t>(wanted, 1u << 30)), &got, nullptr)) {
            reason = errorOf(GetLastError());
            return std::ptrdiff_t{-1};
        }
        return static_cast<std::ptrdiff_t>(got);
    }, content);
}

void writeFileAtomically(const fs::path& file, const std::string& content)
{
    const fs::path target = finalTarget(file);
    const DWORD attributes = GetFileAttributesW(target.c_str());
    const bool replacing = attributes != INVALID_FILE_ATTRIBUTES;
    if (replacing && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        throw fdt::FileError("cannot write " + utf8Of(file) + ": not a regular file");
    // The previous file's attributes go to the new one (read-only stays read-only,
    // and then the replace below fails as the user asked for).
    const DWORD newAttributes =
        replacing ? (attributes & (FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED |
                                   FILE_ATTRIBUTE_SYSTEM)) | FILE_ATTRIBUTE_NORMAL
                  : FILE_ATTRIBUTE_NORMAL;

    // A fresh name, created exclusively: CREATE_NEW never opens a file or link planted under it.
    fs::path temporary;
    Handle handle;
    for (int attempt = 0; attempt < 100 && !handle; ++attempt) {
        temporary = savingName(target);
        handle.reset(CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, newAttributes, nullptr));
        if (!handle && GetLastError() != ERROR_FILE_EXISTS && GetLastError() != ERROR_ALREADY_EXISTS)
            fail("cannot write", temporary, GetLastError());
    }
    if (!handle)
        fail("cannot write", temporary, ERROR_FILE_EXISTS);

    const auto failAndRemove = [&](const std::string& what, const fs::path& path) {
        const DWORD code = GetLastError();
        handle.reset();
        DeleteFileW(temporary.c_str());
        fail(what, path, code);
    };
    if (!writeAll(handle.get(), content))
        failAndRemove("cannot write", temporary);
    if (!FlushFileBuffers(handle.get()))
        failAndRemove("cannot flush", temporary);
    if (!handle.close())
        failAndRemove("cannot write", temporary);
    // MOVEFILE_WRITE_THROUGH returns once the rename is on disk (Windows has no
    // flush of a folder). Another process that has the file open for a moment
    // (a second save, a virus scanner) makes the replace fail: a few more tries.
    for (int attempt = 0;; ++attempt) {
        if (MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return;
        const DWORD code = GetLastError();
        if (attempt == 20 || (code != ERROR_ACCESS_DENIED && code != ERROR_SHARING_VIOLATION))
            failAndRemove("cannot replace", file);
        Sleep(10);
    }
}

} // namespace zeb2hart::platform
