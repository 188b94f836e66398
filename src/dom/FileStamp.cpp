#include "dom/FileStamp.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#if defined(__unix__)
#include <sys/stat.h>
#endif
#include <functional>
#include <set>
#include <system_error>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/FileText.h"
#include "platform/ThreadState.h"

namespace zeb2hart::dom {

namespace fs = std::filesystem;

namespace {

// Longer than the coarsest clock tick of the file systems in use.
constexpr auto kRecentWindow = std::chrono::seconds(2);
// A folder with more files than this, or with files more folders deep than
// this, is not worth a signature: it gets a new one each time.
constexpr std::size_t kMaxSignedFiles = 4096;
constexpr int kMaxSignedDepth = 32;
// Interned texts kept before the table starts afresh (numbers are never reused).
constexpr std::size_t kMaxInterned = 4096;

std::uint64_t contentHash(const fs::path& file)
{
    std::string content;
    if (platform::readFileText(file, content) != platform::FileRead::Read)
        return 0;
    return std::hash<std::string>{}(content);
}

} // namespace

#if defined(__unix__)
// One stat call gives all three, where std::filesystem makes one call for each;
// a template is checked on every use.
FileStamp stampOf(const fs::path& file)
{
    struct stat status {};
    if (::stat(file.c_str(), &status) != 0 || !S_ISREG(status.st_mode))
        return {};
    FileStamp stamp;
    stamp.exists = true;
    stamp.size = static_cast<std::uintmax_t>(status.st_size);
    stamp.modified = std::int64_t{status.st_mtim.tv_sec} * 1'000'000'000 + status.st_mtim.tv_nsec;
    return stamp;
}

bool isRecent(const FileStamp& stamp)
{
    // st_mtim counts from the same epoch as the system clock.
    const auto now = std::chrono::duration_cast<std::chrono::nanoseconds>(
                         std::chrono::system_clock::now().time_since_epoch())
                         .count();
    return stamp.modified > now - std::chrono::nanoseconds(kRecentWindow).count();
}
#else
FileStamp stampOf(const fs::path& file)
{
    FileStamp stamp;
    std::error_code ec;
    if (!fs::is_regular_file(file, ec))
        return stamp;
    stamp.size = fs::file_size(file, ec);
    if (ec)
        return {};
    const fs::file_time_type modified = fs::last_write_time(file, ec);
    if (ec)
        return {};
    stamp.modified = std::chrono::duration_cast<std::chrono::nanoseconds>(modified.time_since_epoch()).count();
    stamp.exists = true;
    return stamp;
}

bool isRecent(const FileStamp& stamp)
{
    const auto now = std::chrono::duration_cast<std::chrono::nanoseconds>(
                         fs::file_time_type::clock::now().time_since_epoch())
                         .count();
    return stamp.modified > now - std::chrono::nanoseconds(kRecentWindow).count();
}
#endif

std::string folderSignature(const fs::path& given)
{
    // "a/b/" and "a/b" are one folder.
    const fs::path folder = given.has_filename() || !given.has_parent_path() ? given : given.parent_path();
    const auto unsignedFolder = [] {
        static std::atomic<std::uint64_t> unique{0}; // shared by the apartments
        return "unsigned folder " + std::to_string(++unique);
    };
    std::error_code ec;
    std::vector<std::pair<std::string, FileStamp>> files;
    // Links to folders are followed, as the schema reader follows them. Each
    // folder is walked once, by its real path: a link back up the tree, or an
    // entry that names the folder itself, is not entered again.
    fs::recursive_directory_iterator it(
        folder, fs::directory_options::skip_permission_denied | fs::directory_options::follow_directory_symlink, ec);
    if (ec)
        return {};
    std::set<fs::path> walked = {fs::canonical(folder, ec)};
    if (ec)
        return {};
    for (fs::recursive_directory_iterator end; it != end; it.increment(ec)) {
        if (ec)
            return {};
        if (it->is_directory(ec)) {
            const fs::path real = fs::canonical(it->path(), ec);
            if (ec || !walked.insert(real).second)
                it.disable_recursion_pending();
            else if (it.depth() + 1 >= kMaxSignedDepth)
                return unsignedFolder();
            continue;
        }
        if (!it->is_regular_file(ec))
            continue;
        if (files.size() == kMaxSignedFiles)
            return unsignedFolder();
        files.emplace_back(it->path().lexically_relative(folder).generic_string(), stampOf(it->path()));
    }
    std::sort(files.begin(), files.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    std::string signature = folder.generic_string();
    signature += '\n';
    for (const auto& [name, stamp] : files) {
        signature += name;
        signature += '\t' + std::to_string(stamp.size) + '\t' + std::to_string(stamp.modified);
        if (isRecent(stamp))
            signature += '\t' + std::to_string(contentHash(folder / name));
        signature += '\n';
    }
    return signature;
}

namespace {

// The thread's interned signatures (platform::ThreadState).
struct InternedSignatures {
    std::unordered_map<std::string, std::uint64_t> numbers;
    std::uint64_t last = 0;
};

} // namespace

std::uint64_t internSignature(const std::string& text)
{
    auto& [interned, next] = platform::ThreadState::current().part<InternedSignatures>();
    if (const auto found = interned.find(text); found != interned.end())
        return found->second;
    if (interned.size() >= kMaxInterned)
        interned.clear();
    interned.emplace(text, ++next);
    return next;
}

} // namespace zeb2hart::dom
