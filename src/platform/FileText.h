#pragma once
// Whole files: reading one into memory with an upper bound on its size, and
// replacing one atomically and durably. The system's calls are in posix/ and
// win32/FileText.cpp. It keeps no state: any thread may call it.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <filesystem>
#include <limits>
#include <string>
#include <string_view>
#include <system_error>

namespace zeb2hart::platform {

enum class FileRead { Read, Unreadable, NotAFile, TooLarge };

// The bytes of the regular file `file` (a link is read through) into `content`:
// Unreadable for a missing file or a read error (the reason in `error` when
// given), NotAFile for a folder, a FIFO, a device or a socket (refused from the
// opened handle, without reading or waiting), TooLarge (nothing kept) above `cap`
// bytes; at most `cap` + 1 bytes are read, whatever the file claims.
FileRead readFileText(const std::filesystem::path& file, std::string& content,
                      std::size_t cap = std::numeric_limits<std::size_t>::max(), std::error_code* error = nullptr);

// The bounded read each system's readFileText ends in: `readSome(buffer, size)`
// reads at most `size` bytes into `buffer` and answers how many (0 at the end of
// the file) or -1 for an error (the system's reason kept by the caller).
// `reportedSize` is the size the system gives for the file; it may change while
// the file is read, so never more than `cap` + 1 bytes are read. Unreadable
// after an error, TooLarge above `cap` bytes (nothing kept), else Read.
using ReadSome = std::function<std::ptrdiff_t(char* buffer, std::size_t size)>;
FileRead readBounded(std::uint64_t reportedSize, std::size_t cap, const ReadSome& readSome, std::string& content);

// Writes `content` to `file` through a temporary file in the same folder and a
// rename, so that readers see either the old or the new file, never a part:
// - the temporary is created exclusively under a fresh name (savingName), never
//   through a link planted in the folder, and removed again on every failure;
// - it is flushed to disk before the rename, and the folder after it;
// - the previous file's permission bits are kept (Windows: its attributes);
//   a new file gets the system's default for new files (0666 less the umask);
// - a `file` that is a symbolic link is written through: its final target is
//   replaced and the link stays;
// - two saves of the same file at once both succeed (the later rename wins).
// Throws fdt::FileError naming the file and the system's reason.
void writeFileAtomically(const std::filesystem::path& file, const std::string& content);

// The name of the temporary a save of `file` writes first, in the same folder:
// "NAME.saving-" and eight random hexadecimal digits, so that one left behind by
// a killed process is recognisable.
std::filesystem::path savingName(const std::filesystem::path& file);
inline constexpr std::string_view kSavingMarker = ".saving-";

} // namespace zeb2hart::platform
