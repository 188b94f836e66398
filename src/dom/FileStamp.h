#pragma once
// Cheap change checks for the files the component caches (templates, the
// dictionary, schema folders): a file counts as unchanged while its size and
// modification time are. A file written within the last seconds may change
// again within the same tick of the file system's clock without either
// moving, so the caches compare the content of such a "recent" file.
// One thread calls it: the frame's apartment, through the caches (no locks).

#include <cstdint>
#include <filesystem>
#include <string>

namespace zeb2hart::dom {

struct FileStamp {
    bool exists = false;
    std::uintmax_t size = 0;
    std::int64_t modified = 0; // nanoseconds of the file clock
    friend bool operator==(const FileStamp&, const FileStamp&) = default;
};

// The stamp of a regular file; `exists` false for anything else or an error.
FileStamp stampOf(const std::filesystem::path& file);

// Modified so lately (or in the future) that size and time alone do not prove it unchanged.
bool isRecent(const FileStamp& stamp);

// A text that changes whenever a file below `folder` is added, removed,
// resized, touched or (while recent) rewritten: relative names, sizes, times
// and the content of recent files. "" when the folder cannot be listed. Links
// to folders are followed, each folder walked once; a folder with too many
// files, or too deep a tree, gets a new text each time.
std::string folderSignature(const std::filesystem::path& folder);

// A small number standing for `text` for the life of the process: equal texts
// get equal numbers, different texts different ones, never 0.
std::uint64_t internSignature(const std::string& text);

} // namespace zeb2hart::dom
