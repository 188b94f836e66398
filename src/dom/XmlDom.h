#pragma once
// The component's small DOM over libxml2, in the place of the MSXML documents.
//
// Loading is safe for text from peers: a document with a DOCTYPE is refused
// (so no entity is ever declared, expanded or fetched), the network is never
// used, no external entity is loaded, and text from a peer is capped in size.
// A load that fails leaves the document empty and describes why in a parse
// error record; only a failure of the parser call itself (an unreadable file,
// no memory, a schema collection that cannot compile) is reported apart.
// One thread calls it: the frame's apartment, calling into the component; the
// caches of parsed documents behind it keep no locks.
//
// Queries are location paths of element names "A/B/fdt:C", evaluated from the
// document node by walking children; each step matches the qualified name as
// the document writes it (an unprefixed step matches unprefixed elements
// whatever default namespace is in force). The first match in document order wins.
//
//     dom::XmlDocument doc;
//     doc.setSchemas(schemas);                       // optional: validate on load
//     if (doc.load(folder / "Template.xml") == dom::LoadResult::Loaded)
//         if (xmlNode* e = doc.selectSingleNode("FDT/ConnectRequest"))
//             dom::setAttribute(e, "fdt:tag", "Tag1");
//     std::string text = doc.xml();                  // "" when nothing is loaded

#include <libxml/tree.h>

#include <cstddef>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dom/XmlFwd.h"

namespace zeb2hart::dom {

class SchemaCollection;

// Largest document text accepted from a peer (frame, parent or child DTM).
inline constexpr std::size_t kMaxPeerDocumentSize = std::size_t{1} << 20;
// Largest file loaded as a document (templates, dictionary, schemas).
inline constexpr std::size_t kMaxFileDocumentSize = std::size_t{16} << 20;

// Error codes of this layer, beside libxml2's own parser and schema codes.
namespace xml_error {
inline constexpr long kDoctypeRefused = 90001;  // the document declares a DOCTYPE
inline constexpr long kTooLarge = 90002;        // larger than the cap
inline constexpr long kFileNotFound = 90003;    // no such file
inline constexpr long kFileUnreadable = 90004;  // exists but cannot be read (a call failure)
inline constexpr long kEmptyDocument = 90005;   // no text at all
inline constexpr long kUnknownSchema = 90006;   // root in an "x-schema:" namespace the collection lacks
inline constexpr long kSchemaCompile = 90007;   // the schema collection does not compile (a call failure)
inline constexpr long kNoMemory = 90008;        // the parser could not allocate (a call failure)
} // namespace xml_error

// Frees libxml2 strings (xmlChar* from xmlGetProp, xmlNodeGetContent, ...).
struct XmlCharDeleter {
    void operator()(xmlChar* text) const noexcept;
};
using XmlText = std::unique_ptr<xmlChar, XmlCharDeleter>;

struct XmlDocDeleter {
    void operator()(xmlDoc* doc) const noexcept;
};
using XmlDocPtr = std::unique_ptr<xmlDoc, XmlDocDeleter>;

// libxml2 text as a std::string; "" for null.
std::string toString(const xmlChar* text);
inline const xmlChar* xmlText(const std::string& text)
{
    return reinterpret_cast<const xmlChar*>(text.c_str());
}

// Why a load failed, as the parser's parse-error object reports it. `code` 0: no error.
struct XmlParseError {
    long code = 0;
    std::string reason;
    long line = 0;
    long linePosition = 0;
    long filePosition = 0;
    std::string sourceText; // the text of the line the error is on
    std::string url;        // the file loaded; "" for text
};

enum class LoadResult {
    Loaded,     // parsed, and valid when validated
    NotLoaded,  // no such file, not well-formed, refused or not valid: the document is empty
    CallFailed, // the parser call itself failed: the document is empty, parseError() says why
};

// One document: empty, or loaded from text or file. Moves, does not copy.
//
// Two loads reuse earlier work where nobody can tell the difference:
// loadCopy() gives a private copy of a file's document that was parsed and
// validated once and is parsed again only when the file changes (its size,
// its time, or, while it was written moments ago, its content); loadShared()
// gives a read-only view of a text's document, shared with the other loads of
// the same text under the same schemas. A load that fails the parser call is
// never remembered.
class XmlDocument {
public:
    XmlDocument() = default;
    explicit XmlDocument(XmlDocPtr document) : m_document(std::move(document)) {}

    // Documents loaded from now on are validated against `schemas` (null: parsed only).
    void setSchemas(std::shared_ptr<SchemaCollection> schemas) { m_schemas = std::move(schemas); }

    // Replace the content with the text or the file's content. Text longer than
    // `maxSize` is not loaded. Text is taken as UTF-8 whatever its declaration says.
    LoadResult loadXml(std::string_view text, std::size_t maxSize = kMaxPeerDocumentSize);
    LoadResult load(const std::filesystem::path& file);
    // As load(), from the parsed documents of the process.
    LoadResult loadCopy(const std::filesystem::path& file);
    // As loadCopy() without the copy; the document must then only be read.
    LoadResult loadSharedFile(const std::filesystem::path& file);
    // As loadXml(); the document must then only be read.
    LoadResult loadShared(std::string_view text, std::size_t maxSize = kMaxPeerDocumentSize);

    bool isEmpty() const { return documentElement() == nullptr; }
    bool isShared() const { return m_shared != nullptr; }
    xmlDoc* get() const { return m_document ? m_document.get() : m_shared.get(); }
    xmlNode* documentElement() const;
    const XmlParseError& parseError() const { return m_parseError; }

    // The whole document as UTF-8 text with an XML declaration; "" when empty.
    std::string xml() const;
    // xml(), handing the document over to loadShared(): a later loadShared() of
    // the returned text under the same schemas reads this document (validated
    // then, once) instead of parsing the text again. A document whose text
    // would not read back as it is (readsBackAsItIs) is not handed over.
    // The document here is left empty either way.
    std::string takeXml();

    // The first element at `path` ("A/B/fdt:C"), or null.
    xmlNode* selectSingleNode(std::string_view path) const;

    void clear();
    // The document to own; a copy when it is shared.
    XmlDocPtr release();
    // The document to share, read-only from then on; the document here is left empty.
    std::shared_ptr<xmlDoc> share();

private:
    LoadResult finishLoad(LoadResult parsed, XmlDocPtr parsedDocument, std::string_view text);
    // loadCopy() and loadSharedFile(): the file's cached document, copied or shared.
    LoadResult loadCached(const std::filesystem::path& file, bool privateCopy);

    XmlDocPtr m_document;
    std::shared_ptr<xmlDoc> m_shared; // a read-only document of loadShared()
    XmlParseError m_parseError;
    std::shared_ptr<SchemaCollection> m_schemas;
};

// Fills the source text and position in file of `error` from its line and column in `text`.
void fillErrorPosition(std::string_view text, XmlParseError& error);

// Parses without validating; the parse error record is filled when it fails.
// `url` names the source in errors and is the document's base URL.
LoadResult parseXml(std::string_view text, const std::string& url, bool ignoreDeclaredEncoding,
                    XmlDocPtr& result, XmlParseError& error);

// --- nodes ------------------------------------------------------------------

// True when the text xml() writes of `document` parses into the same tree:
// every name well-formed and its prefix bound, no attribute twice, no blank
// text between elements, and every value made of characters XML can carry.
bool readsBackAsItIs(xmlDoc* document);

// "prefix:local" or "local", as the document writes the element or attribute.
std::string qualifiedName(const xmlNode* node);
std::string qualifiedName(const xmlAttr* attribute);
// The namespace URI of the element; "" when it has none.
std::string namespaceUri(const xmlNode* node);

// The first element at `path` below `context` (an element, or the document as
// xmlNode* via documentNode()). Empty steps are ignored; an empty path gives null.
xmlNode* selectSingleNode(xmlNode* context, std::string_view path);
inline xmlNode* documentNode(xmlDoc* document)
{
    return reinterpret_cast<xmlNode*>(document);
}
// An element as the layers above hold it (XmlFwd.h), and back.
inline Element* elementOf(xmlNode* node)
{
    return reinterpret_cast<Element*>(node);
}
inline xmlNode* nodeOf(Element* element)
{
    return reinterpret_cast<xmlNode*>(element);
}

// Child and sibling elements, optionally only those of one qualified name.
xmlNode* firstChildElement(const xmlNode* parent, std::string_view name = {});
xmlNode* nextSiblingElement(const xmlNode* node, std::string_view name = {});
std::vector<xmlNode*> childElements(const xmlNode* parent, std::string_view name = {});
// The first child element `name` whose attribute `attribute` equals `value`
// (the Language[@localeId = "0009"] lookup); null when none.
xmlNode* selectChildWithAttribute(const xmlNode* parent, std::string_view name, std::string_view attribute,
                                  std::string_view value);

// Attribute by qualified name as written ("fdt:tag", "name").
xmlAttr* findAttribute(const xmlNode* element, std::string_view name);
std::optional<std::string> attribute(const xmlNode* element, std::string_view name);
std::string attributeValue(const xmlAttr* attribute);
// Sets the value of an existing attribute in place, or adds it after the
// existing ones (a prefix resolves to the namespace in scope, if any).
xmlAttr* setAttribute(xmlNode* element, std::string_view name, std::string_view value);
// Adds an attribute in namespace `namespaceUri` (declared on the element if not in
// scope); an attribute of the same qualified name is replaced in its place.
xmlAttr* setAttributeNs(xmlNode* element, std::string_view name, std::string_view value,
                        const std::string& namespaceUri);
bool removeAttribute(xmlNode* element, std::string_view name);

// A new element not yet in the tree. With `namespaceUri`, the element is in that
// namespace (a declaration is added to it when `scope` has none in force);
// without, a prefixed name takes the namespace its prefix has in `scope`, and
// an unprefixed name has no namespace.
xmlNode* createElement(xmlDoc* document, xmlNode* scope, std::string_view name,
                       const std::optional<std::string>& namespaceUri = std::nullopt);
// Tree edits; the node is unlinked from where it was. `before` null appends.
xmlNode* appendChild(xmlNode* parent, xmlNode* child);
xmlNode* insertBefore(xmlNode* parent, xmlNode* child, xmlNode* before);
// Unlinks and frees the node and its subtree.
void removeNode(xmlNode* node);

// Installs the external-entity loader that refuses everything outside an open
// SchemaFolderAccess; idempotent, done by every load and schema compile.
void initialiseXml();

// While alive, the external-entity loader serves files under `folders` (schema
// compilation reads imported schemas this way); everything else stays refused.
class SchemaFolderAccess {
public:
    explicit SchemaFolderAccess(std::vector<std::filesystem::path> folders);
    ~SchemaFolderAccess();
    SchemaFolderAccess(const SchemaFolderAccess&) = delete;
    SchemaFolderAccess& operator=(const SchemaFolderAccess&) = delete;

private:
    std::vector<std::filesystem::path> m_previous;
};

} // namespace zeb2hart::dom
