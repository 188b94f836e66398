#pragma once
// Paths as the component holds them: UTF-8 text everywhere inside, converted to
// and from std::filesystem::path only through these functions, so that a folder
// named "Gerät" is the same folder on every system (under mingw,
// path(std::string) would read the ANSI code page). Also the file URL of a path,
// the form libxml2 takes for schema imports, and path parts compared the way the
// file system compares them. Pure functions: any thread may call them.

#include <filesystem>
#include <string>
#include <string_view>

namespace zeb2hart::platform {

// A text holding a NUL character names no path: fdt::FileError.
std::filesystem::path pathFromUtf8(std::string_view text);
std::string utf8Of(const std::filesystem::path& path);

// file:///work/x.xsd, file:///C:/Program%20Files/x.xsd: an absolute path as a
// file URL, with '/' separators and every byte outside the unreserved set escaped.
std::string fileUrl(const std::filesystem::path& absolutePath);

// The path a URL's path part names: "/C:/x" is "C:/x" on Windows, unchanged elsewhere.
std::filesystem::path pathOfUrlPath(std::string_view urlPath);

// The text starts with a drive letter ("C:/", "C:\\"): a Windows path, never a URL.
bool startsWithDrive(std::string_view text);

// Two path parts (folder or file names) name the same entry: without regard to
// case on Windows, byte for byte elsewhere.
bool sameName(const std::filesystem::path& a, const std::filesystem::path& b);

} // namespace zeb2hart::platform
