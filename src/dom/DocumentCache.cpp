// The parsed documents that XmlDocument::loadCopy(), loadSharedFile() and
// loadShared() reuse: every file's document as last parsed, with what each
// schema collection (by identity) said of it, and the last few texts parsed
// or built (takeXml()).
// One thread calls into the component, as everywhere in it.
//
// A file is looked at again (one stat call) when it is used more than
// kRecheckInterval after it was last looked at (on the monotonic time of the
// clock service), and on every use while it was written within the last
// seconds (FileStamp.h): a template that changes or goes is noticed by the
// first use a tenth of a second later. Checking on
// every use would cost a system call per document, which on a virtual machine
// is as much as parsing the document.

#include <libxml/tree.h>

#include <algorithm>
#include <chrono>
#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "dom/FileStamp.h"
#include "dom/SchemaCollection.h"
#include "dom/XmlDom.h"
#include "platform/FileText.h"
#include "platform/Services.h"
#include "platform/Paths.h"
#include "platform/ThreadState.h"

namespace zeb2hart::dom {

namespace fs = std::filesystem;

namespace {

constexpr auto kRecheckInterval = std::chrono::milliseconds(100);
// Files remembered before the cache starts afresh (tests make many folders).
constexpr std::size_t kMaxCachedFiles = 256;
// Schema collections whose verdict on one file is remembered.
constexpr std::size_t kMaxVerdicts = 8;
// Texts remembered, and the longest one worth remembering.
constexpr std::size_t kMemoEntries = 8;
constexpr std::size_t kMaxMemoText = std::size_t{64} << 10;

struct Verdict {
    std::uint64_t schemas = 0;
    LoadResult result = LoadResult::Loaded;
    XmlParseError error;
};

struct CachedFile {
    FileStamp stamp;
    platform::Clock::Monotonic checked; // when the stamp was last taken
    bool recent = false;                // the file was recent then
    std::string content;
    LoadResult parsed = LoadResult::NotLoaded;
    XmlParseError parseError;
    std::shared_ptr<xmlDoc> document; // read-only
    std::vector<Verdict> verdicts;
};

struct CachedFiles {
    std::unordered_map<fs::path::string_type, CachedFile> files;
};

// The thread's cache (platform::ThreadState), as the memo below.
std::unordered_map<fs::path::string_type, CachedFile>& cachedFiles()
{
    return platform::ThreadState::current().part<CachedFiles>().files;
}

struct MemoEntry {
    std::uint64_t schemas = 0;
    std::string text;
    LoadResult result = LoadResult::NotLoaded;
    XmlParseError error;
    std::shared_ptr<xmlDoc> document; // read-only; null when nothing loaded
    bool validated = true;            // false: a built document the schemas have not seen yet
};

// Newest first; a deque, so that the newest goes in front without moving the others.
struct Memo {
    std::deque<MemoEntry> entries;
};

std::deque<MemoEntry>& memo()
{
    return platform::ThreadState::current().part<Memo>().entries;
}

// The newest entry of the text under the schemas, if any.
std::deque<MemoEntry>::iterator findText(std::deque<MemoEntry>& entries, std::uint64_t schemas,
                                         std::string_view text)
{
    return std::find_if(entries.begin(), entries.end(),
                        [&](const MemoEntry& entry) { return entry.schemas == schemas && entry.text == text; });
}

void remember(std::deque<MemoEntry>& entries, MemoEntry entry)
{
    if (entries.size() >= kMemoEntries)
        entries.pop_back();
    entries.push_front(std::move(entry));
}

std::shared_ptr<xmlDoc> shareDocument(XmlDocPtr document)
{
    return std::shared_ptr<xmlDoc>(document.release(), XmlDocDeleter{});
}

std::uint64_t identityOf(const std::shared_ptr<SchemaCollection>& schemas)
{
    return schemas && !schemas->isEmpty() ? schemas->identity() : 0;
}

// The file's entry, parsed again when the file changed; null when the file
// cannot be read (the caller then loads it the plain way, which reports why).
CachedFile* parsedFile(const fs::path& file, XmlParseError& error)
{
    auto& files = cachedFiles();
    const fs::path::string_type& key = file.native();
    const auto now = platform::services().clock->monotonicNow();
    if (const auto known = files.find(key);
        known != files.end() && !known->second.recent && now - known->second.checked < kRecheckInterval)
        return &known->second;
    const FileStamp stamp = stampOf(file);
    if (!stamp.exists) {
        files.erase(key);
        return nullptr;
    }
    auto found = files.find(key);
    bool fresh = found != files.end() && found->second.stamp == stamp;
    std::string content;
    bool haveContent = false;
    if (fresh && isRecent(stamp)) {
        if (platform::readFileText(file, content, kMaxFileDocumentSize) != platform::FileRead::Read) {
            files.erase(found);
            return nullptr;
        }
        haveContent = true;
        fresh = content == found->second.content;
    }
    if (fresh) {
        found->second.checked = now;
        found->second.recent = isRecent(stamp);
        return &found->second;
    }
    if (!haveContent && platform::readFileText(file, content, kMaxFileDocumentSize) != platform::FileRead::Read) {
        if (found != files.end())
            files.erase(found);
        return nullptr;
    }
    CachedFile entry;
    entry.stamp = stamp;
    entry.checked = now;
    entry.recent = isRecent(stamp);
    XmlDocPtr parsed;
    entry.parsed = parseXml(content, platform::utf8Of(file), false, parsed, entry.parseError);
    if (entry.parsed == LoadResult::CallFailed) {
        if (found != files.end())
            files.erase(found);
        error = entry.parseError;
        return nullptr;
    }
    entry.document = shareDocument(std::move(parsed));
    entry.content = std::move(content);
    if (found == files.end() && files.size() >= kMaxCachedFiles)
        files.clear();
    return &files.insert_or_assign(key, std::move(entry)).first->second;
}

// What `schemas` say of the entry's document, asked once per collection identity.
// CallFailed is not remembered.
Verdict verdictOn(CachedFile& entry, const std::shared_ptr<SchemaCollection>& schemas, const std::string& url)
{
    const std::uint64_t identity = identityOf(schemas);
    if (identity == 0)
        return {};
    for (const Verdict& verdict : entry.verdicts)
        if (verdict.schemas == identity)
            return verdict;
    Verdict verdict;
    verdict.schemas = identity;
    verdict.result = schemas->validate(entry.document.get(), verdict.error);
    if (verdict.result != LoadResult::Loaded) {
        verdict.error.url = url;
        fillErrorPosition(entry.content, verdict.error);
    }
    if (verdict.result == LoadResult::CallFailed)
        return verdict;
    if (entry.verdicts.size() >= kMaxVerdicts)
        entry.verdicts.erase(entry.verdicts.begin());
    entry.verdicts.push_back(verdict);
    return verdict;
}

} // namespace

LoadResult XmlDocument::loadCopy(const fs::path& file)
{
    return loadCached(file, true);
}

LoadResult XmlDocument::loadSharedFile(const fs::path& file)
{
    return loadCached(file, false);
}

LoadResult XmlDocument::loadCached(const fs::path& file, bool privateCopy)
{
    clear();
    XmlParseError callError;
    CachedFile* entry = parsedFile(file, callError);
    if (entry == nullptr) {
        if (callError.code != 0) {
            m_parseError = callError;
            return LoadResult::CallFailed;
        }
        return load(file);
    }
    m_parseError.url = platform::utf8Of(file);
    if (entry->parsed != LoadResult::Loaded) {
        m_parseError = entry->parseError;
        return entry->parsed;
    }
    const Verdict verdict = verdictOn(*entry, m_schemas, m_parseError.url);
    if (verdict.result != LoadResult::Loaded) {
        m_parseError = verdict.error;
        return verdict.result;
    }
    if (!privateCopy) {
        m_shared = entry->document;
        return LoadResult::Loaded;
    }
    m_document.reset(xmlCopyDoc(entry->document.get(), 1));
    if (!m_document) {
        m_parseError.code = xml_error::kNoMemory;
        m_parseError.reason = "Out of memory.\n";
        return LoadResult::CallFailed;
    }
    return LoadResult::Loaded;
}

LoadResult XmlDocument::loadShared(std::string_view text, std::size_t maxSize)
{
    clear();
    if (text.size() > maxSize || text.size() > kMaxMemoText)
        return loadXml(text, maxSize);
    const std::uint64_t identity = identityOf(m_schemas);
    auto& entries = memo();
    if (auto found = findText(entries, identity, text); found != entries.end()) {
        std::rotate(entries.begin(), found, found + 1);
        MemoEntry& entry = entries.front();
        XmlParseError verdict;
        if (!entry.validated && m_schemas->validate(entry.document.get(), verdict) == LoadResult::Loaded)
            entry.validated = true;
        if (entry.validated) {
            m_shared = entry.document;
            m_parseError = entry.error;
            return entry.result;
        }
        // A built document the schemas refuse: the text reads as a fresh parse
        // of it does, with the error as the parser and validator place it.
        entries.erase(entries.begin());
    }
    const LoadResult result = loadXml(text, maxSize);
    if (result == LoadResult::CallFailed)
        return result;
    MemoEntry entry;
    entry.schemas = identity;
    entry.text = std::string(text);
    entry.result = result;
    entry.error = m_parseError;
    if (m_document)
        entry.document = shareDocument(std::move(m_document));
    m_shared = entry.document;
    remember(entries, std::move(entry));
    return result;
}

std::string XmlDocument::takeXml()
{
    std::string text = xml();
    XmlDocPtr document = m_shared ? nullptr : std::move(m_document);
    clear();
    if (!document || text.size() > kMaxMemoText || !readsBackAsItIs(document.get()))
        return text;
    // As a parse of the text would have it: no file behind it.
    xmlFree(const_cast<xmlChar*>(document->URL));
    document->URL = nullptr;
    MemoEntry entry;
    entry.schemas = identityOf(m_schemas);
    entry.text = text;
    entry.result = LoadResult::Loaded;
    entry.document = shareDocument(std::move(document));
    entry.validated = entry.schemas == 0;
    auto& entries = memo();
    if (auto older = findText(entries, entry.schemas, text); older != entries.end())
        entries.erase(older);
    remember(entries, std::move(entry));
    return text;
}

} // namespace zeb2hart::dom
