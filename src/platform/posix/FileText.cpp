// Whole-file reads and atomic replacement on POSIX descriptors.
#include "platform/FileText.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <limits>
#include <string>

#include "fdt/Errors.h"
#include "platform/Paths.h"

namespace zeb2hart::platform {

namespace fs = std::filesystem;

namespace {

// A descriptor closed when it goes out of scope.
class Descriptor {
public:
    explicit Descriptor(int fd = -1) : m_fd(fd) {}
    ~Descriptor() { reset(); }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return m_fd; }
    explicit operator bool() const { return m_fd >= 0; }
    void reset(int fd = -1)
    {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = fd;
    }
    // Closes now and says whether the system took the close without error.
    bool close()
    {
        const int fd = m_fd;
        m_fd = -1;
        return ::close(fd) == 0;
    }

private:
    int m_fd;
};

std::error_code lastError()
{
    return {errno, std::generic_category()};
}

[[noreturn]] void fail(const std::string& what, const fs::path& file, int error)
{
    throw fdt::FileError(what + " " + utf8Of(file) + ": " + std::generic_category().message(error));
}

// The final target of `file` when it is a symbolic link (the target need not
// exist yet), else `file` itself.
fs::path finalTarget(const fs::path& file)
{
    fs::path path = file;
    for (int hop = 0; hop < 40; ++hop) {
        std::error_code error;
        if (!fs::is_symlink(fs::symlink_status(path, error)))
            return path;
        const fs::path target = fs::read_symlink(path, error);
        if (error)
            fail("cannot follow the link", path, error.value());
        path = target.is_absolute() ? target : path.parent_path() / target;
    }
    fail("cannot follow the link", file, ELOOP);
}

bool writeAll(int fd, const std::string& content)
{
    const char* data = content.data();
    std::size_t left = content.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, data, left);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            if (written == 0)
                errno = EIO;
            return false;
        }
        data += written;
        left -= static_cast<std::size_t>(written);
    }
    return true;
}

} // namespace

FileRead readFileText(const fs::path& file, std::string& content, std::size_t cap, std::error_code* error)
{
    std::error_code ignored;
    std::error_code& reason = error != nullptr ? *error : ignored;
    reason.clear();
    // O_NONBLOCK: opening a FIFO without a writer does not wait; it is refused below.
    Descriptor fd(::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (!fd) {
        reason = lastError();
        return errno == EISDIR ? FileRead::NotAFile : FileRead::Unreadable;
    }
    struct stat status {};
    if (::fstat(fd.get(), &status) != 0) {
        reason = lastError();
        return FileRead::Unreadable;
    }
    if (!S_ISREG(status.st_mode))
        return FileRead::NotAFile;
    return readBounded(static_cast<std::uint64_t>(status.st_size), cap, [&](char* buffer, std::size_t size) {
        for (;;) {
            const ssize_t got = ::read(fd.get(), buffer, size);
            if (got >= 0)
                return static_cast<std::ptrdiff_t>(got);
            if (errno != EINTR) {
                reason = lastError();
                return std::ptrdiff_t{-1};
            }
        }
    }, content);
}

void writeFileAtomically(const fs::path& file, const std::string& content)
{
    const fs::path target = finalTarget(file);
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    Descriptor folderFd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!folderFd)
        fail("cannot write into the folder", folder, errno);

    const std::string name = target.filename().string();
    struct stat previous {};
    const bool replacing = ::fstatat(folderFd.get(), name.c_str(), &previous, AT_SYMLINK_NOFOLLOW) == 0;
    if (replacing && !S_ISREG(previous.st_mode))
        throw fdt::FileError("cannot write " + utf8Of(file) + ": not a regular file");

    // A fresh name, created exclusively: a file or link planted under it is never opened.
    fs::path temporary;
    Descriptor fd;
    for (int attempt = 0; attempt < 100 && !fd; ++attempt) {
        temporary = savingName(target);
        fd.reset(::openat(folderFd.get(), temporary.filename().c_str(),
                          O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, replacing ? 0600 : 0666));
        if (!fd && errno != EEXIST)
            fail("cannot write", temporary, errno);
    }
    if (!fd)
        fail("cannot write", temporary, EEXIST);

    const auto failAndRemove = [&](const std::string& what, const fs::path& path) {
        const int error = errno;
        fd.reset();
        ::unlinkat(folderFd.get(), temporary.filename().c_str(), 0);
        fail(what, path, error);
    };
    if (replacing && ::fchmod(fd.get(), previous.st_mode & 07777) != 0)
        failAndRemove("cannot keep the permissions of", file);
    if (!writeAll(fd.get(), content))
        failAndRemove("cannot write", temporary);
    if (::fsync(fd.get()) != 0)
        failAndRemove("cannot flush", temporary);
    if (!fd.close())
        failAndRemove("cannot write", temporary);
    if (::renameat(folderFd.get(), temporary.filename().c_str(), folderFd.get(), name.c_str()) != 0)
        failAndRemove("cannot replace", file);
    // The rename is durable once the folder is on disk; some file systems cannot flush a folder.
    if (::fsync(folderFd.get()) != 0 && errno != EINVAL && errno != EROFS)
        fail("cannot flush the folder of", file, errno);
}

} // namespace zeb2hart::platform
