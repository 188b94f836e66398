#include "dom/XmlDom.h"

#include <libxml/dict.h>
#include <libxml/parser.h>
#include <libxml/parserInternals.h>
#include <libxml/uri.h>
#include <libxml/xmlIO.h>
#include <libxml/xmlerror.h>

#include <climits>
#include <cstdint>
#include <cstring>
#include <mutex>
#include <system_error>
#include <utility>

#include "platform/FileText.h"
#include "dom/SchemaCollection.h"
#include "platform/Paths.h"
#include "platform/ThreadState.h"

namespace zeb2hart::dom {

namespace fs = std::filesystem;

void XmlCharDeleter::operator()(xmlChar* text) const noexcept
{
    xmlFree(text);
}

void XmlDocDeleter::operator()(xmlDoc* doc) const noexcept
{
    xmlFreeDoc(doc);
}

std::string toString(const xmlChar* text)
{
    return text ? std::string(reinterpret_cast<const char*>(text)) : std::string();
}

namespace {

// --- external entities ------------------------------------------------------

xmlExternalEntityLoader g_defaultLoader = nullptr;

// The parser's data of one thread (platform::ThreadState).
struct ParserState {
    ParserState() = default;
    ~ParserState() { xmlFreeParserCtxt(spareParser); }
    ParserState(const ParserState&) = delete;
    ParserState& operator=(const ParserState&) = delete;

    // Folders whose files the loader serves while a SchemaFolderAccess is open.
    std::vector<fs::path> openFolders;
    // The context that every parse uses in turn (ParserLease).
    xmlParserCtxt* spareParser = nullptr;
};

ParserState& parserState()
{
    return platform::ThreadState::current().part<ParserState>();
}

std::optional<fs::path> pathOfUrl(const char* url)
{
    std::string text(url);
    if (platform::startsWithDrive(text)) // "C:/x" would parse as a URI of scheme "C"
        return platform::pathFromUtf8(text);
    if (xmlURIPtr uri = xmlParseURI(url)) {
        std::optional<fs::path> path;
        const bool local = uri->scheme == nullptr || std::strcmp(uri->scheme, "file") == 0;
        if (local && uri->path != nullptr && (uri->server == nullptr || uri->server[0] == '\0'
                                              || std::strcmp(uri->server, "localhost") == 0))
            path = platform::pathOfUrlPath(uri->path);
        xmlFreeURI(uri);
        return path;
    }
    // Not a URI (a blank in a plain path, for instance): a plain path, if any.
    if (text.find("://") != std::string::npos)
        return std::nullopt;
    return platform::pathFromUtf8(text);
}

bool isInside(const fs::path& file, const fs::path& folder)
{
    auto f = file.begin();
    for (auto d = folder.begin(); d != folder.end(); ++d, ++f) {
        if (d->empty())
            continue; // trailing separator
        if (f == file.end() || !platform::sameName(*f, *d))
            return false;
    }
    return f != file.end();
}

bool isServed(const fs::path& file)
{
    std::error_code ec;
    const fs::path canonical = fs::weakly_canonical(file, ec);
    if (ec)
        return false;
    for (const fs::path& folder : parserState().openFolders)
        if (isInside(canonical, folder))
            return true;
    return false;
}

// Serves a file of an open schema folder from memory, after checking that it
// parses safely (no DOCTYPE); refuses everything else.
xmlParserInputPtr guardedLoader(const char* url, const char* /*id*/, xmlParserCtxtPtr context)
{
    if (url == nullptr || parserState().openFolders.empty())
        return nullptr;
    const std::optional<fs::path> file = pathOfUrl(url);
    if (!file || !isServed(*file))
        return nullptr;
    std::string content;
    if (platform::readFileText(*file, content, kMaxFileDocumentSize) != platform::FileRead::Read || content.size() > INT_MAX)
        return nullptr;
    XmlDocPtr checked;
    XmlParseError error;
    if (parseXml(content, platform::utf8Of(*file), false, checked, error) != LoadResult::Loaded)
        return nullptr;
    xmlParserInputBufferPtr buffer =
        xmlParserInputBufferCreateMem(content.data(), static_cast<int>(content.size()), XML_CHAR_ENCODING_NONE);
    if (buffer == nullptr)
        return nullptr;
    xmlParserInputPtr input = xmlNewIOInputStream(context, buffer, XML_CHAR_ENCODING_NONE);
    if (input == nullptr) {
        xmlFreeParserInputBuffer(buffer);
        return nullptr;
    }
    input->filename = reinterpret_cast<const char*>(xmlStrdup(xmlText(platform::utf8Of(*file))));
    return input;
}

void silentGenericError(void*, const char*, ...) {}

// --- parsing ------------------------------------------------------------------

struct ParseState {
    bool doctypeRefused = false;
    bool haveError = false;
    bool noMemory = false;
    long code = 0;
    std::string message;
    long line = 0;
    long column = 0;
};

ParseState& stateOf(void* userData)
{
    auto* context = static_cast<xmlParserCtxtPtr>(userData);
    return *static_cast<ParseState*>(context->_private);
}

void refuseDoctype(void* userData, const xmlChar*, const xmlChar*, const xmlChar*)
{
    stateOf(userData).doctypeRefused = true;
    xmlStopParser(static_cast<xmlParserCtxtPtr>(userData));
}

void recordParseError(void* userData, xmlErrorPtr error)
{
    ParseState& state = stateOf(userData);
    if (error == nullptr || error->level < XML_ERR_ERROR)
        return;
    if (error->code == XML_ERR_NO_MEMORY)
        state.noMemory = true;
    if (state.haveError)
        return;
    state.haveError = true;
    state.code = error->code;
    state.message = error->message ? error->message : "";
    state.line = error->line;
    state.column = error->int2;
}

// The line `line` (1-based) of `text` and the offset at which it starts.
std::string lineOf(std::string_view text, long line, long& lineStart)
{
    lineStart = 0;
    if (line <= 0)
        return {};
    std::size_t start = 0;
    for (long n = 1; n < line; ++n) {
        const std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            return {};
        start = end + 1;
    }
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos)
        end = text.size();
    std::string_view found = text.substr(start, end - start);
    if (!found.empty() && found.back() == '\r')
        found.remove_suffix(1);
    lineStart = static_cast<long>(start);
    return std::string(found);
}


// The parser context that every parse uses in turn: a new context with its
// dictionary costs about a quarter of parsing a small document. A parse that
// starts while another runs (a schema read during a compile) gets a context
// of its own; a context whose dictionary has grown large (the names of many
// different documents) is replaced rather than kept.
constexpr std::size_t kMaxDictionaryNames = 4096;

class ParserLease {
public:
    ParserLease() : m_context(std::exchange(parserState().spareParser, nullptr))
    {
        if (m_context == nullptr)
            m_context = xmlNewParserCtxt();
    }
    ~ParserLease()
    {
        if (m_context == nullptr)
            return;
        if (m_context->myDoc != nullptr) {
            xmlFreeDoc(m_context->myDoc);
            m_context->myDoc = nullptr;
        }
        xmlCtxtReset(m_context);
        m_context->_private = nullptr;
        xmlParserCtxt*& spare = parserState().spareParser;
        if (spare == nullptr && m_context->dict != nullptr
            && xmlDictSize(m_context->dict) < static_cast<int>(kMaxDictionaryNames))
            spare = m_context;
        else
            xmlFreeParserCtxt(m_context);
    }
    ParserLease(const ParserLease&) = delete;
    ParserLease& operator=(const ParserLease&) = delete;

    explicit operator bool() const { return m_context != nullptr; }
    xmlParserCtxt* get() const { return m_context; }
    xmlParserCtxt* operator->() const { return m_context; }

private:
    xmlParserCtxt* m_context;
};

// The qualified-name test of one path step against an element.
struct Step {
    std::string_view whole;
    std::string_view prefix;
    std::string_view local;
};

Step splitName(std::string_view name)
{
    const std::size_t colon = name.find(':');
    if (colon == std::string_view::npos)
        return {name, {}, name};
    return {name, name.substr(0, colon), name.substr(colon + 1)};
}

bool equals(const xmlChar* text, std::string_view expected)
{
    if (text == nullptr)
        return expected.empty();
    // The names a path step passes over mostly differ in their first byte.
    if (expected.empty() || text[0] != static_cast<xmlChar>(expected[0]))
        return expected.empty() && text[0] == 0;
    // Names are short: compared byte by byte, the text's end included.
    for (std::size_t i = 1; i < expected.size(); ++i)
        if (text[i] != static_cast<xmlChar>(expected[i]) || text[i] == 0)
            return false;
    return text[expected.size()] == 0;
}

bool matches(const xmlChar* name, const xmlNs* ns, const Step& step)
{
    const bool prefixed = ns != nullptr && ns->prefix != nullptr;
    if (step.prefix.empty())
        return !prefixed && equals(name, step.local);
    if (prefixed)
        return equals(ns->prefix, step.prefix) && equals(name, step.local);
    // An element or attribute created with a literal "prefix:local" name.
    return equals(name, step.whole);
}

bool isElement(const xmlNode* node)
{
    return node != nullptr && node->type == XML_ELEMENT_NODE;
}

// The first element at `path` below `context`, depth first in document order;
// `path` is the rest of the location path, its leading empty steps ignored.
xmlNode* selectPath(xmlNode* context, std::string_view path)
{
    while (!path.empty() && path.front() == '/')
        path.remove_prefix(1);
    if (path.empty())
        return context;
    const std::size_t end = path.find('/');
    const Step step = splitName(path.substr(0, end));
    const std::string_view rest = end == std::string_view::npos ? std::string_view() : path.substr(end);
    for (xmlNode* child = context->children; child != nullptr; child = child->next) {
        if (isElement(child) && matches(child->name, child->ns, step))
            if (xmlNode* found = selectPath(child, rest))
                return found;
    }
    return nullptr;
}

xmlNs* findNamespaceInScope(xmlDoc* document, xmlNode* scope, const std::string& prefix, const std::string& uri)
{
    if (scope == nullptr)
        return nullptr;
    xmlNs* ns = xmlSearchNs(document, scope, prefix.empty() ? nullptr : xmlText(prefix));
    if (ns != nullptr && equals(ns->href, uri))
        return ns;
    return nullptr;
}

void replaceValue(xmlAttr* attribute, const std::string& value)
{
    // Most values are one text node, which takes the new text in place.
    if (xmlNode* only = attribute->children;
        only != nullptr && only->next == nullptr && only->type == XML_TEXT_NODE) {
        xmlNodeSetContentLen(only, xmlText(value), static_cast<int>(value.size()));
        if (only->content == nullptr && !value.empty())
            throw std::bad_alloc();
        return;
    }
    if (attribute->children != nullptr)
        xmlFreeNodeList(attribute->children);
    attribute->children = nullptr;
    attribute->last = nullptr;
    xmlNode* text = xmlNewDocText(attribute->doc, xmlText(value));
    if (text == nullptr)
        throw std::bad_alloc();
    text->parent = reinterpret_cast<xmlNode*>(attribute);
    attribute->children = text;
    attribute->last = text;
}

} // namespace

// --- initialisation -----------------------------------------------------------

void fillErrorPosition(std::string_view text, XmlParseError& error)
{
    long lineStart = 0;
    error.sourceText = lineOf(text, error.line, lineStart);
    error.filePosition = error.line > 0 ? lineStart + error.linePosition : 0;
}

void initialiseXml()
{
    static std::once_flag once;
    std::call_once(once, [] {
        xmlInitParser();
        g_defaultLoader = xmlGetExternalEntityLoader();
        xmlSetExternalEntityLoader(&guardedLoader);
        // Messages the parser cannot route to a context of ours (I/O, schema
        // internals) are reported through the error records, never on stderr.
        xmlSetGenericErrorFunc(nullptr, &silentGenericError);
        // That setting is the calling thread's; later threads (other apartments) take this one.
        xmlThrDefSetGenericErrorFunc(nullptr, &silentGenericError);
    });
}

SchemaFolderAccess::SchemaFolderAccess(std::vector<fs::path> folders)
{
    initialiseXml();
    std::vector<fs::path>& open = parserState().openFolders;
    m_previous = open;
    for (fs::path& folder : folders) {
        std::error_code ec;
        fs::path canonical = fs::weakly_canonical(folder, ec);
        if (!ec)
            open.push_back(std::move(canonical));
    }
}

SchemaFolderAccess::~SchemaFolderAccess()
{
    parserState().openFolders = std::move(m_previous);
}

// --- parsing ----------------------------------------------------------------------

LoadResult parseXml(std::string_view text, const std::string& url, bool ignoreDeclaredEncoding, XmlDocPtr& result,
                    XmlParseError& error)
{
    initialiseXml();
    result.reset();
    error = XmlParseError{};
    error.url = url;
    if (text.empty()) {
        error.code = xml_error::kEmptyDocument;
        error.reason = "The document is empty.\n";
        return LoadResult::NotLoaded;
    }
    if (text.size() > static_cast<std::size_t>(INT_MAX)) {
        error.code = xml_error::kTooLarge;
        error.reason = "The document is too large.\n";
        return LoadResult::NotLoaded;
    }
    // A UTF-8 byte order mark is no part of the text (the parser skips it only when it guesses the encoding).
    if (ignoreDeclaredEncoding && text.starts_with("\xEF\xBB\xBF"))
        text.remove_prefix(3);
    ParserLease context;
    if (!context) {
        error.code = xml_error::kNoMemory;
        error.reason = "The parser could not be created.\n";
        return LoadResult::CallFailed;
    }
    ParseState state;
    context->_private = &state;
    context->sax->internalSubset = &refuseDoctype;
    context->sax->externalSubset = nullptr;
    context->sax->serror = &recordParseError;
    context->vctxt.error = nullptr;
    context->vctxt.warning = nullptr;
    xmlParserInputBufferPtr buffer =
        xmlParserInputBufferCreateMem(text.data(), static_cast<int>(text.size()), XML_CHAR_ENCODING_NONE);
    xmlParserInputPtr input = buffer != nullptr ? xmlNewIOInputStream(context.get(), buffer, XML_CHAR_ENCODING_NONE)
                                                : nullptr;
    if (input == nullptr) {
        if (buffer != nullptr)
            xmlFreeParserInputBuffer(buffer);
        error.code = xml_error::kNoMemory;
        error.reason = "The parser could not be created.\n";
        return LoadResult::CallFailed;
    }
    if (!url.empty())
        input->filename = reinterpret_cast<const char*>(xmlStrdup(xmlText(url)));
    inputPush(context.get(), input);
    int options = XML_PARSE_NONET | XML_PARSE_NOBLANKS;
    if (ignoreDeclaredEncoding)
        options |= XML_PARSE_IGNORE_ENC;
    // An option once set stays set on a context; this one differs between parses.
    context->options &= ~XML_PARSE_IGNORE_ENC;
    xmlCtxtUseOptions(context.get(), options);
    context->linenumbers = 1;
    // Text is UTF-8 whatever its first bytes suggest: with an encoding given,
    // the parser does not guess one (UTF-16, UCS-4, EBCDIC) from a byte order
    // mark or the first characters, so text in another encoding does not load.
    if (ignoreDeclaredEncoding)
        context->encoding = xmlStrdup(reinterpret_cast<const xmlChar*>("UTF-8"));

    xmlParseDocument(context.get());

    if (state.noMemory) {
        error.code = xml_error::kNoMemory;
        error.reason = "Out of memory.\n";
        return LoadResult::CallFailed;
    }
    if (state.doctypeRefused) {
        error.code = xml_error::kDoctypeRefused;
        error.reason = "A document type declaration (DOCTYPE) is not allowed.\n";
        error.line = context->input != nullptr ? context->input->line : 0;
        error.linePosition = context->input != nullptr ? context->input->col : 0;
        fillErrorPosition(text, error);
        return LoadResult::NotLoaded;
    }
    if (!context->wellFormed || state.haveError || context->myDoc == nullptr
        || xmlDocGetRootElement(context->myDoc) == nullptr) {
        error.code = state.haveError ? state.code : static_cast<long>(XML_ERR_DOCUMENT_EMPTY);
        error.reason = state.haveError ? state.message : "The document has no root element.\n";
        error.line = state.line;
        error.linePosition = state.column;
        fillErrorPosition(text, error);
        return LoadResult::NotLoaded;
    }
    result.reset(context->myDoc);
    context->myDoc = nullptr;
    return LoadResult::Loaded;
}

// --- XmlDocument ------------------------------------------------------------------

xmlNode* XmlDocument::documentElement() const
{
    xmlDoc* document = get();
    return document != nullptr ? xmlDocGetRootElement(document) : nullptr;
}

void XmlDocument::clear()
{
    m_document.reset();
    m_shared.reset();
    m_parseError = XmlParseError{};
}

std::shared_ptr<xmlDoc> XmlDocument::share()
{
    if (m_document)
        return std::shared_ptr<xmlDoc>(m_document.release(), XmlDocDeleter{});
    return std::move(m_shared);
}

XmlDocPtr XmlDocument::release()
{
    if (m_shared) {
        XmlDocPtr copy(xmlCopyDoc(m_shared.get(), 1));
        if (!copy)
            throw std::bad_alloc();
        m_shared.reset();
        return copy;
    }
    return std::move(m_document);
}

LoadResult XmlDocument::loadXml(std::string_view text, std::size_t maxSize)
{
    clear();
    if (text.size() > maxSize) {
        m_parseError.code = xml_error::kTooLarge;
        m_parseError.reason = "The document is larger than " + std::to_string(maxSize) + " bytes.\n";
        return LoadResult::NotLoaded;
    }
    XmlDocPtr parsed;
    const LoadResult result = parseXml(text, {}, true, parsed, m_parseError);
    return finishLoad(result, std::move(parsed), text);
}

LoadResult XmlDocument::load(const fs::path& file)
{
    clear();
    m_parseError.url = platform::utf8Of(file);
    std::error_code ec;
    const fs::file_status status = fs::status(file, ec);
    if (!fs::exists(status)) {
        m_parseError.code = xml_error::kFileNotFound;
        m_parseError.reason = "The system cannot locate the object specified.\n";
        return LoadResult::NotLoaded;
    }
    std::string content;
    const platform::FileRead read = platform::readFileText(file, content, kMaxFileDocumentSize);
    if (read != platform::FileRead::Read) {
        const bool tooLarge = read == platform::FileRead::TooLarge;
        m_parseError.code = tooLarge ? xml_error::kTooLarge : xml_error::kFileUnreadable;
        m_parseError.reason = tooLarge ? "The file is too large.\n" : "The file cannot be read.\n";
        return tooLarge ? LoadResult::NotLoaded : LoadResult::CallFailed;
    }
    XmlDocPtr parsed;
    const LoadResult result = parseXml(content, platform::utf8Of(file), false, parsed, m_parseError);
    return finishLoad(result, std::move(parsed), content);
}

LoadResult XmlDocument::finishLoad(LoadResult parsed, XmlDocPtr parsedDocument, std::string_view text)
{
    if (parsed != LoadResult::Loaded)
        return parsed;
    if (m_schemas && !m_schemas->isEmpty()) {
        const std::string url = m_parseError.url;
        const LoadResult checked = m_schemas->validate(parsedDocument.get(), m_parseError);
        m_parseError.url = url;
        if (checked != LoadResult::Loaded) {
            fillErrorPosition(text, m_parseError);
            return checked;
        }
    }
    m_document = std::move(parsedDocument);
    return LoadResult::Loaded;
}

std::string XmlDocument::xml() const
{
    if (isEmpty())
        return {};
    xmlChar* memory = nullptr;
    int size = 0;
    xmlDocDumpMemoryEnc(get(), &memory, &size, "UTF-8");
    XmlText owned(memory);
    if (memory == nullptr)
        throw std::bad_alloc();
    return std::string(reinterpret_cast<const char*>(memory), static_cast<std::size_t>(size));
}

xmlNode* XmlDocument::selectSingleNode(std::string_view path) const
{
    xmlDoc* document = get();
    if (document == nullptr)
        return nullptr;
    return dom::selectSingleNode(documentNode(document), path);
}

// --- nodes --------------------------------------------------------------------

std::string qualifiedName(const xmlNode* node)
{
    if (node == nullptr)
        return {};
    if (node->ns != nullptr && node->ns->prefix != nullptr)
        return toString(node->ns->prefix) + ":" + toString(node->name);
    return toString(node->name);
}

std::string qualifiedName(const xmlAttr* attribute)
{
    if (attribute == nullptr)
        return {};
    if (attribute->ns != nullptr && attribute->ns->prefix != nullptr)
        return toString(attribute->ns->prefix) + ":" + toString(attribute->name);
    return toString(attribute->name);
}

std::string namespaceUri(const xmlNode* node)
{
    return node != nullptr && node->ns != nullptr ? toString(node->ns->href) : std::string();
}

xmlNode* selectSingleNode(xmlNode* context, std::string_view path)
{
    if (context == nullptr || path.find_first_not_of('/') == std::string_view::npos)
        return nullptr;
    return selectPath(context, path);
}

xmlNode* firstChildElement(const xmlNode* parent, std::string_view name)
{
    if (parent == nullptr)
        return nullptr;
    const Step step = splitName(name);
    for (xmlNode* child = parent->children; child != nullptr; child = child->next)
        if (isElement(child) && (name.empty() || matches(child->name, child->ns, step)))
            return child;
    return nullptr;
}

xmlNode* nextSiblingElement(const xmlNode* node, std::string_view name)
{
    if (node == nullptr)
        return nullptr;
    const Step step = splitName(name);
    for (xmlNode* sibling = node->next; sibling != nullptr; sibling = sibling->next)
        if (isElement(sibling) && (name.empty() || matches(sibling->name, sibling->ns, step)))
            return sibling;
    return nullptr;
}

std::vector<xmlNode*> childElements(const xmlNode* parent, std::string_view name)
{
    std::vector<xmlNode*> found;
    for (xmlNode* child = firstChildElement(parent, name); child != nullptr; child = nextSiblingElement(child, name))
        found.push_back(child);
    return found;
}

xmlNode* selectChildWithAttribute(const xmlNode* parent, std::string_view name, std::string_view attributeName,
                                  std::string_view value)
{
    for (xmlNode* child = firstChildElement(parent, name); child != nullptr; child = nextSiblingElement(child, name)) {
        const xmlAttr* found = findAttribute(child, attributeName);
        if (found != nullptr && attributeValue(found) == value)
            return child;
    }
    return nullptr;
}

xmlAttr* findAttribute(const xmlNode* element, std::string_view name)
{
    if (!isElement(element))
        return nullptr;
    const Step step = splitName(name);
    for (xmlAttr* attribute = element->properties; attribute != nullptr; attribute = attribute->next)
        if (matches(attribute->name, attribute->ns, step))
            return attribute;
    return nullptr;
}

std::string attributeValue(const xmlAttr* attribute)
{
    if (attribute == nullptr)
        return {};
    // A value is one text node unless entity references were kept.
    const xmlNode* children = attribute->children;
    if (children == nullptr)
        return {};
    if (children->next == nullptr && children->type == XML_TEXT_NODE)
        return toString(children->content);
    XmlText text(xmlNodeListGetString(attribute->doc, attribute->children, 1));
    return toString(text.get());
}

std::optional<std::string> attribute(const xmlNode* element, std::string_view name)
{
    const xmlAttr* found = findAttribute(element, name);
    if (found == nullptr)
        return std::nullopt;
    return attributeValue(found);
}

xmlAttr* setAttribute(xmlNode* element, std::string_view name, std::string_view value)
{
    if (!isElement(element))
        return nullptr;
    const std::string text(value);
    if (xmlAttr* existing = findAttribute(element, name)) {
        replaceValue(existing, text);
        return existing;
    }
    const Step step = splitName(name);
    xmlAttr* added = nullptr;
    if (!step.prefix.empty()) {
        const std::string prefix(step.prefix);
        if (xmlNs* ns = xmlSearchNs(element->doc, element, xmlText(prefix)))
            added = xmlNewNsProp(element, ns, xmlText(std::string(step.local)), xmlText(text));
    }
    if (added == nullptr)
        added = xmlNewProp(element, xmlText(std::string(name)), xmlText(text));
    if (added == nullptr)
        throw std::bad_alloc();
    return added;
}

xmlAttr* setAttributeNs(xmlNode* element, std::string_view name, std::string_view value,
                        const std::string& namespaceUriText)
{
    if (!isElement(element))
        return nullptr;
    const Step step = splitName(name);
    if (step.prefix.empty() || namespaceUriText.empty())
        return setAttribute(element, name, value); // an unprefixed attribute has no namespace
    const std::string text(value);
    const std::string prefix(step.prefix);
    xmlNs* ns = findNamespaceInScope(element->doc, element, prefix, namespaceUriText);
    if (ns == nullptr)
        ns = xmlNewNs(element, xmlText(namespaceUriText), xmlText(prefix));
    if (xmlAttr* existing = findAttribute(element, name)) {
        replaceValue(existing, text);
        if (ns != nullptr)
            existing->ns = ns;
        return existing;
    }
    if (ns == nullptr) // the prefix is bound to another namespace on this very element
        return setAttribute(element, name, value);
    xmlAttr* added = xmlNewNsProp(element, ns, xmlText(std::string(step.local)), xmlText(text));
    if (added == nullptr)
        throw std::bad_alloc();
    return added;
}

bool removeAttribute(xmlNode* element, std::string_view name)
{
    xmlAttr* found = findAttribute(element, name);
    if (found == nullptr)
        return false;
    xmlRemoveProp(found);
    return true;
}

xmlNode* createElement(xmlDoc* document, xmlNode* scope, std::string_view name,
                       const std::optional<std::string>& namespaceUriText)
{
    const Step step = splitName(name);
    const std::string prefix(step.prefix);
    xmlNode* element = nullptr;
    if (!namespaceUriText) {
        xmlNs* ns = prefix.empty() ? nullptr : xmlSearchNs(document, scope, xmlText(prefix));
        element = ns != nullptr ? xmlNewDocNode(document, ns, xmlText(std::string(step.local)), nullptr)
                                : xmlNewDocNode(document, nullptr, xmlText(std::string(name)), nullptr);
        if (element == nullptr)
            throw std::bad_alloc();
        return element;
    }
    if (namespaceUriText->empty()) {
        element = xmlNewDocNode(document, nullptr, xmlText(std::string(name)), nullptr);
        if (element == nullptr)
            throw std::bad_alloc();
        // Keep the element out of a default namespace in force where it goes.
        xmlNs* inForce = prefix.empty() && scope != nullptr ? xmlSearchNs(document, scope, nullptr) : nullptr;
        if (inForce != nullptr && inForce->href != nullptr && inForce->href[0] != '\0')
            xmlNewNs(element, reinterpret_cast<const xmlChar*>(""), nullptr);
        return element;
    }
    xmlNs* ns = findNamespaceInScope(document, scope, prefix, *namespaceUriText);
    element = xmlNewDocNode(document, ns, xmlText(std::string(step.local)), nullptr);
    if (element == nullptr)
        throw std::bad_alloc();
    if (ns == nullptr) {
        ns = xmlNewNs(element, xmlText(*namespaceUriText), prefix.empty() ? nullptr : xmlText(prefix));
        xmlSetNs(element, ns);
    }
    return element;
}

xmlNode* appendChild(xmlNode* parent, xmlNode* child)
{
    xmlUnlinkNode(child);
    return xmlAddChild(parent, child);
}

xmlNode* insertBefore(xmlNode* parent, xmlNode* child, xmlNode* before)
{
    if (before == nullptr || before->parent != parent)
        return appendChild(parent, child);
    xmlUnlinkNode(child);
    return xmlAddPrevSibling(before, child);
}

void removeNode(xmlNode* node)
{
    if (node == nullptr)
        return;
    xmlUnlinkNode(node);
    xmlFreeNode(node);
}

} // namespace zeb2hart::dom
