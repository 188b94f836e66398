#pragma once
// A collection of XML schemas keyed by target namespace, in the place of the
// MSXML schema cache. Each schema is an XSD file whose targetNamespace is
// "x-schema:" + its file name. The collection compiles one bundle schema that
// imports every namespace, once after each change, and validates documents
// against it. What costs (checking a schema file, compiling a bundle) is
// shared by every collection of the process with the same content: the same
// namespaces from the same files, whose folders hold the same files (names,
// sizes, times). Shared bundles are read-only.
//   - the root element's namespace is in the collection: the document must be valid;
//   - it starts with "x-schema:" but is not in the collection: the document fails;
//   - any other namespace, or none, and an empty collection: nothing is checked.
// One thread calls it: the frame's apartment, calling into the component (no locks).

#include <libxml/tree.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "dom/XmlDom.h"

namespace zeb2hart::dom {

// A schema file that cannot be added; what() is the parser's description.
class SchemaError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A compiled bundle of schemas, shared by the collections of one content.
struct SchemaBundle;

class SchemaCollection {
public:
    SchemaCollection();
    ~SchemaCollection();
    SchemaCollection(const SchemaCollection&) = delete;
    SchemaCollection& operator=(const SchemaCollection&) = delete;

    // Adds the schema of `file` under `namespaceUri`, replacing a schema the
    // namespace already has. The file must compile on its own (with the files it
    // imports from its folder); otherwise SchemaError and the collection is unchanged.
    void add(const std::string& namespaceUri, const std::filesystem::path& file);
    // The same for a caller that lists the folder once for all its files:
    // `folderSignature` is folderSignature() of the file's folder.
    void add(const std::string& namespaceUri, const std::filesystem::path& file, const std::string& folderSignature);

    bool isEmpty() const { return m_entries.empty(); }
    std::size_t size() const { return m_entries.size(); }
    bool contains(const std::string& namespaceUri) const;
    std::filesystem::path fileOf(const std::string& namespaceUri) const;
    // The namespaces in the order they were first added.
    std::vector<std::string> namespaces() const;

    // Checks a parsed document by the rules above. NotLoaded: the document is
    // not valid (`error` says why); CallFailed: the bundle does not compile.
    LoadResult validate(xmlDoc* document, XmlParseError& error);

    // Compiles the bundle now if a change is pending (validate does it when needed).
    void compile();
    // Why the bundle does not compile (compiled first if needed); "" when it does or the collection is empty.
    std::string compileError();
    // How often this collection took a bundle since it was created (compiled or shared).
    std::size_t compileCount() const { return m_compileCount; }
    // How often a bundle was really compiled in this process.
    static std::size_t bundlesCompiled();

    // Stands for the content: collections with the same identity validate
    // alike, for as long as the schema files stay as they are. 0 when empty.
    std::uint64_t identity() const { return m_identity; }

private:
    struct Entry {
        std::string namespaceUri;
        std::filesystem::path file;
        std::uint64_t folder = 0; // the interned signature of the file's folder; 0: unknown
    };
    void changed();

    std::vector<Entry> m_entries;
    std::shared_ptr<SchemaBundle> m_bundle; // null: not taken since the last change
    std::uint64_t m_identity = 0;
    std::size_t m_compileCount = 0;
};

} // namespace zeb2hart::dom
