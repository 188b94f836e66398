#pragma once
// Reads a whole file into memory, with an upper bound on its size.
// It keeps no state: any thread may call it.

#include <cstddef>
#include <filesystem>
#include <limits>
#include <string>

namespace zeb2hart::platform {

enum class FileRead { Read, Unreadable, TooLarge };

// The bytes of the regular file `file` into `content`: Unreadable for a missing
// file, a folder or a read error, TooLarge (nothing read) above `cap` bytes.
FileRead readFileText(const std::filesystem::path& file, std::string& content,
                      std::size_t cap = std::numeric_limits<std::size_t>::max());

} // namespace zeb2hart::platform
