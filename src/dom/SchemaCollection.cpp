#include "dom/SchemaCollection.h"

#include "dom/FileStamp.h"
#include "platform/Paths.h"
#include "platform/ThreadState.h"

#include <libxml/schemasInternals.h>
#include <libxml/xmlerror.h>
#include <libxml/xmlschemas.h>

#include <algorithm>
#include <iterator>
#include <unordered_map>
#include <system_error>

namespace zeb2hart::dom {

namespace fs = std::filesystem;

namespace {

constexpr const char* kXsdNamespace = "http://www.w3.org/2001/XMLSchema";
constexpr std::string_view kXSchemaPrefix = "x-schema:";

// The first error a schema parser or validator reports.
struct FirstError {
    bool have = false;
    long code = 0;
    std::string message;
    long line = 0;
    long column = 0;
    std::string file;
};

void recordFirstError(void* userData, xmlErrorPtr error)
{
    auto& first = *static_cast<FirstError*>(userData);
    if (first.have || error == nullptr || error->level < XML_ERR_ERROR)
        return;
    first.have = true;
    first.code = error->code;
    first.message = error->message ? error->message : "";
    first.line = error->line;
    first.column = error->int2;
    first.file = error->file ? error->file : "";
}

struct SchemaParserDeleter {
    void operator()(xmlSchemaParserCtxt* context) const noexcept { xmlSchemaFreeParserCtxt(context); }
};
struct SchemaDeleter {
    void operator()(xmlSchema* schema) const noexcept { xmlSchemaFree(schema); }
};
struct ValidDeleter {
    void operator()(xmlSchemaValidCtxt* context) const noexcept { xmlSchemaFreeValidCtxt(context); }
};
using SchemaPtr = std::unique_ptr<xmlSchema, SchemaDeleter>;

fs::path absoluteFile(const fs::path& file)
{
    std::error_code ec;
    fs::path absolute = fs::weakly_canonical(file, ec);
    return ec ? fs::absolute(file) : absolute;
}

// Compiles the parser context's schema; null and `error` filled when it does not compile.
SchemaPtr compileWith(xmlSchemaParserCtxt* context, FirstError& error)
{
    if (context == nullptr) {
        error.have = true;
        error.message = "The schema parser could not be created.\n";
        return nullptr;
    }
    std::unique_ptr<xmlSchemaParserCtxt, SchemaParserDeleter> owned(context);
    xmlSchemaSetParserStructuredErrors(context, &recordFirstError, &error);
    SchemaPtr schema(xmlSchemaParse(context));
    if (schema && error.have)
        schema.reset();
    if (!schema && !error.have) {
        error.have = true;
        error.message = "The schema does not compile.\n";
    }
    return schema;
}

std::string describe(const FirstError& error)
{
    std::string text = error.message;
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
        text.pop_back();
    if (!error.file.empty() && error.line > 0)
        text += " (" + error.file + ", line " + std::to_string(error.line) + ")";
    return text;
}

} // namespace

// A compiled bundle, shared read-only by the collections of one content, with
// the one validation context they take turns on (calls never overlap).
struct SchemaBundle {
    SchemaPtr schema;
    std::unique_ptr<xmlSchemaValidCtxt, ValidDeleter> validator;
    std::string error; // why it does not compile; schema is then null
};

namespace {

// What checking one schema file found: its canonical path and, when it
// compiles on its own, its target namespace; otherwise why not.
struct FileCheck {
    fs::path file;
    bool compiles = false;
    std::string targetNamespace;
    std::string error;
};

// Checks by file and folder signature, and bundles by collection identity,
// kept per thread (platform::ThreadState).
constexpr std::size_t kMaxFileChecks = 1024;
struct FileChecks {
    std::unordered_map<std::string, FileCheck> checks;
};
std::unordered_map<std::string, FileCheck>& fileChecks()
{
    return platform::ThreadState::current().part<FileChecks>().checks;
}

struct BundleRegistry {
    std::unordered_map<std::uint64_t, std::weak_ptr<SchemaBundle>> bundles;
    // The bundle compiled last stays even when no collection holds it, so that a
    // frame that closes and reopens its project does not compile it again.
    std::shared_ptr<SchemaBundle> last;
    std::size_t compiled = 0;
    // Numbers the contents that are never shared.
    std::uint64_t unshared = 0;
};
BundleRegistry& bundleRegistry()
{
    return platform::ThreadState::current().part<BundleRegistry>();
}

FileCheck checkFile(const fs::path& absolute)
{
    FileCheck check;
    check.file = absolute;
    // The parser's own description when the file is no well-formed XML at all.
    XmlDocument probe;
    if (probe.load(absolute) != LoadResult::Loaded) {
        const XmlParseError& parse = probe.parseError();
        std::string reason = parse.reason;
        while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r'))
            reason.pop_back();
        check.error = reason + " (" + platform::utf8Of(absolute) + ", line " + std::to_string(parse.line) + ")";
        return check;
    }
    FirstError error;
    SchemaPtr schema;
    {
        SchemaFolderAccess access({absolute.parent_path()});
        schema = compileWith(xmlSchemaNewParserCtxt(platform::utf8Of(absolute).c_str()), error);
    }
    if (!schema) {
        check.error = describe(error);
        return check;
    }
    check.compiles = true;
    check.targetNamespace = toString(schema->targetNamespace);
    return check;
}

} // namespace

SchemaCollection::SchemaCollection() = default;
SchemaCollection::~SchemaCollection() = default;

std::size_t SchemaCollection::bundlesCompiled()
{
    return bundleRegistry().compiled;
}

bool SchemaCollection::contains(const std::string& namespaceUri) const
{
    return std::any_of(m_entries.begin(), m_entries.end(),
                       [&](const Entry& entry) { return entry.namespaceUri == namespaceUri; });
}

fs::path SchemaCollection::fileOf(const std::string& namespaceUri) const
{
    for (const Entry& entry : m_entries)
        if (entry.namespaceUri == namespaceUri)
            return entry.file;
    return {};
}

std::vector<std::string> SchemaCollection::namespaces() const
{
    std::vector<std::string> result;
    result.reserve(m_entries.size());
    for (const Entry& entry : m_entries)
        result.push_back(entry.namespaceUri);
    return result;
}

void SchemaCollection::add(const std::string& namespaceUri, const fs::path& file)
{
    add(namespaceUri, file, folderSignature(absoluteFile(file).parent_path()));
}

void SchemaCollection::add(const std::string& namespaceUri, const fs::path& file, const std::string& signature)
{
    initialiseXml();
    const std::uint64_t folder = signature.empty() ? 0 : internSignature(signature);
    const std::string key = std::to_string(folder) + '\n' + platform::utf8Of(fs::absolute(file));
    auto& checks = fileChecks();
    const FileCheck* found = nullptr;
    if (folder != 0)
        if (const auto cached = checks.find(key); cached != checks.end())
            found = &cached->second;
    FileCheck unshared;
    if (found == nullptr) {
        const fs::path absolute = absoluteFile(file);
        std::error_code ec;
        if (!fs::is_regular_file(absolute, ec))
            throw SchemaError("The system cannot locate the object specified: " + platform::utf8Of(absolute));
        FileCheck fresh = checkFile(absolute);
        if (folder == 0) {
            unshared = std::move(fresh);
            found = &unshared;
        } else {
            if (checks.size() >= kMaxFileChecks)
                checks.clear();
            found = &checks.emplace(key, std::move(fresh)).first->second;
        }
    }
    const FileCheck& check = *found;
    if (!check.compiles)
        throw SchemaError(check.error);
    if (check.targetNamespace != namespaceUri)
        throw SchemaError("The target namespace '" + check.targetNamespace + "' of " + platform::utf8Of(check.file.filename())
                          + " is not '" + namespaceUri + "'");

    auto existing = std::find_if(m_entries.begin(), m_entries.end(),
                                 [&](const Entry& entry) { return entry.namespaceUri == namespaceUri; });
    if (existing != m_entries.end()) {
        existing->file = check.file;
        existing->folder = folder;
    } else {
        m_entries.push_back({namespaceUri, check.file, folder});
    }
    changed();
}

void SchemaCollection::changed()
{
    m_bundle.reset();
    std::string content;
    for (const Entry& entry : m_entries) {
        if (entry.folder == 0) {
            // A folder without a signature: this content is never shared.
            content = "unshared " + std::to_string(++bundleRegistry().unshared);
            break;
        }
        content += entry.namespaceUri + '\n' + platform::utf8Of(entry.file) + '\n' + std::to_string(entry.folder) + '\n';
    }
    m_identity = m_entries.empty() ? 0 : internSignature("schemas\n" + content);
}

void SchemaCollection::compile()
{
    // A bundle that failed stays failed until the collection changes.
    if (m_bundle || m_entries.empty())
        return;
    initialiseXml();
    BundleRegistry& registry = bundleRegistry();
    if (const auto found = registry.bundles.find(m_identity); found != registry.bundles.end()) {
        if (std::shared_ptr<SchemaBundle> shared = found->second.lock()) {
            m_bundle = std::move(shared);
            ++m_compileCount;
            return;
        }
    }

    // One schema that imports every namespace of the collection.
    XmlDocPtr document(xmlNewDoc(reinterpret_cast<const xmlChar*>("1.0")));
    if (!document)
        throw std::bad_alloc();
    xmlNode* root = xmlNewDocNode(document.get(), nullptr, reinterpret_cast<const xmlChar*>("schema"), nullptr);
    xmlDocSetRootElement(document.get(), root);
    xmlNs* xs = xmlNewNs(root, reinterpret_cast<const xmlChar*>(kXsdNamespace), reinterpret_cast<const xmlChar*>("xs"));
    xmlSetNs(root, xs);
    std::vector<fs::path> folders;
    for (const Entry& entry : m_entries) {
        xmlNode* import = xmlNewChild(root, xs, reinterpret_cast<const xmlChar*>("import"), nullptr);
        xmlNewProp(import, reinterpret_cast<const xmlChar*>("namespace"), xmlText(entry.namespaceUri));
        xmlNewProp(import, reinterpret_cast<const xmlChar*>("schemaLocation"), xmlText(platform::fileUrl(entry.file)));
        if (std::find(folders.begin(), folders.end(), entry.file.parent_path()) == folders.end())
            folders.push_back(entry.file.parent_path());
    }
    FirstError error;
    auto bundle = std::make_shared<SchemaBundle>();
    ++m_compileCount;
    ++registry.compiled;
    {
        SchemaFolderAccess access(folders);
        bundle->schema = compileWith(xmlSchemaNewDocParserCtxt(document.get()), error);
    }
    if (!bundle->schema) {
        bundle->error = describe(error);
        if (bundle->error.empty())
            bundle->error = "The schema bundle does not compile.";
    } else {
        bundle->validator.reset(xmlSchemaNewValidCtxt(bundle->schema.get()));
        if (!bundle->validator)
            throw std::bad_alloc();
    }
    // Forget the bundles nobody holds any more.
    for (auto it = registry.bundles.begin(); it != registry.bundles.end();)
        it = it->second.expired() ? registry.bundles.erase(it) : std::next(it);
    registry.bundles[m_identity] = bundle;
    registry.last = bundle;
    m_bundle = std::move(bundle);
}

std::string SchemaCollection::compileError()
{
    compile();
    return m_bundle ? m_bundle->error : std::string();
}

LoadResult SchemaCollection::validate(xmlDoc* document, XmlParseError& error)
{
    const xmlNode* root = document != nullptr ? xmlDocGetRootElement(document) : nullptr;
    if (root == nullptr || m_entries.empty())
        return LoadResult::Loaded;
    const std::string rootNamespace = namespaceUri(root);
    if (!contains(rootNamespace)) {
        if (rootNamespace.rfind(kXSchemaPrefix, 0) != 0)
            return LoadResult::Loaded;
        error = XmlParseError{};
        error.code = xml_error::kUnknownSchema;
        error.reason = "The schema for the namespace '" + rootNamespace + "' is not available.\n";
        error.line = root->line;
        return LoadResult::NotLoaded;
    }
    compile();
    if (!m_bundle->schema) {
        error = XmlParseError{};
        error.code = xml_error::kSchemaCompile;
        error.reason = "The schema collection does not compile: " + m_bundle->error + "\n";
        return LoadResult::CallFailed;
    }
    FirstError first;
    xmlSchemaValidCtxt* validator = m_bundle->validator.get();
    xmlSchemaSetValidStructuredErrors(validator, &recordFirstError, &first);
    const int result = xmlSchemaValidateDoc(validator, document);
    xmlSchemaSetValidStructuredErrors(validator, nullptr, nullptr);
    if (result == 0 && !first.have)
        return LoadResult::Loaded;
    error = XmlParseError{};
    error.code = first.have ? first.code : result;
    error.reason = first.have ? first.message : "The document is not valid.\n";
    error.line = first.line;
    error.linePosition = first.column;
    if (result < 0)
        return LoadResult::CallFailed; // an internal error of the validator
    return LoadResult::NotLoaded;
}

} // namespace zeb2hart::dom
