#pragma once
// The two transactions the benchmarks measure, through a connected DTM and as
// their floor: what libxml2 alone needs to parse and validate each distinct
// incoming document once and to parse, validate and serialise each built
// document once, with the same compiled schemas. Command 128: child request
// in, ZEB request out, parent answer in, HART answer out. Command 0: one
// request, six ZEB reads out, six answers in, one HART answer out.
//
// Each transaction is one function of its own (runCommand128, floorCommand128,
// runCommand0, floorCommand0), so that callgrind can count its instructions.

#include <libxml/parser.h>
#include <libxml/tree.h>
#include <libxml/xmlschemas.h>

#include <algorithm>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "BenchPeers.h"
#include "dom/XmlDom.h"

namespace zeb2hart::bench {

// --- the floor: libxml2 alone --------------------------------------------------------

// Every schema of the frame's and the component's folder compiled into one
// bundle, as the DTM's collection holds them (a namespace of the component's
// folder replaces the frame's).
class CompiledSchemas {
public:
    CompiledSchemas()
    {
        std::vector<std::pair<std::string, fs::path>> entries;
        for (const fs::path& folder : {frameSchemaDir(), componentDir() / "XMLSchemas"}) {
            std::vector<fs::path> files;
            for (const auto& entry : fs::directory_iterator(folder))
                files.push_back(entry.path());
            std::sort(files.begin(), files.end());
            for (const fs::path& file : files) {
                const std::string ns = "x-schema:" + file.filename().string();
                auto same = std::find_if(entries.begin(), entries.end(), [&](const auto& e) { return e.first == ns; });
                if (same != entries.end())
                    same->second = file;
                else
                    entries.emplace_back(ns, file);
            }
        }
        xmlDocPtr bundle = xmlNewDoc(BAD_CAST "1.0");
        xmlNodePtr root = xmlNewDocNode(bundle, nullptr, BAD_CAST "schema", nullptr);
        xmlDocSetRootElement(bundle, root);
        xmlNsPtr xs = xmlNewNs(root, BAD_CAST "http://www.w3.org/2001/XMLSchema", BAD_CAST "xs");
        xmlSetNs(root, xs);
        for (const auto& [ns, file] : entries) {
            xmlNodePtr import = xmlNewChild(root, xs, BAD_CAST "import", nullptr);
            xmlNewProp(import, BAD_CAST "namespace", BAD_CAST ns.c_str());
            xmlNewProp(import, BAD_CAST "schemaLocation", BAD_CAST file.string().c_str());
        }
        {
            // The component keeps the parser away from every file outside the schema folders.
            dom::SchemaFolderAccess access({frameSchemaDir(), componentDir() / "XMLSchemas"});
            xmlSchemaParserCtxtPtr parser = xmlSchemaNewDocParserCtxt(bundle);
            m_schema = xmlSchemaParse(parser);
            xmlSchemaFreeParserCtxt(parser);
        }
        xmlFreeDoc(bundle);
        if (m_schema == nullptr)
            throw std::runtime_error("the schemas do not compile");
        m_validator = xmlSchemaNewValidCtxt(m_schema);
    }
    ~CompiledSchemas()
    {
        xmlSchemaFreeValidCtxt(m_validator);
        xmlSchemaFree(m_schema);
    }
    CompiledSchemas(const CompiledSchemas&) = delete;
    CompiledSchemas& operator=(const CompiledSchemas&) = delete;

    xmlDocPtr parse(const std::string& text) const
    {
        return xmlReadMemory(text.data(), static_cast<int>(text.size()), nullptr, nullptr,
                             XML_PARSE_NONET | XML_PARSE_NOBLANKS);
    }
    bool valid(xmlDocPtr document) const { return xmlSchemaValidateDoc(m_validator, document) == 0; }

private:
    xmlSchemaPtr m_schema = nullptr;
    xmlSchemaValidCtxtPtr m_validator = nullptr;
};

// An incoming document: parsed and validated once.
inline bool floorIncoming(const CompiledSchemas& schemas, const std::string& text)
{
    xmlDocPtr document = schemas.parse(text);
    const bool ok = document != nullptr && schemas.valid(document);
    xmlFreeDoc(document);
    return ok;
}

// A built document: parsed, validated and serialised once.
inline bool floorBuilt(const CompiledSchemas& schemas, const std::string& text)
{
    xmlDocPtr document = schemas.parse(text);
    bool ok = document != nullptr && schemas.valid(document);
    if (ok) {
        xmlChar* out = nullptr;
        int size = 0;
        xmlDocDumpMemoryEnc(document, &out, &size, "UTF-8");
        ok = out != nullptr && size > 0;
        xmlFree(out);
    }
    xmlFreeDoc(document);
    return ok;
}

// --- the documents of the transactions ------------------------------------------------

// Each transaction of a run carries other data bytes, so that no document
// repeats within kVariants transactions: a document met again (a cache hit)
// would make the gateway look cheaper than it is on a bus.
inline constexpr std::size_t kVariants = 64;

inline std::string hexByte(std::size_t value)
{
    static constexpr char digits[] = "0123456789ABCDEF";
    return {digits[(value >> 4) & 15], digits[value & 15]};
}

struct Command128Documents {
    std::string childRequest;
    std::string parentAnswer;
    std::string zebRequest; // as the gateway builds it
    std::string hartAnswer; // as the gateway builds it
};

struct Command0Documents {
    std::string childRequest = hartRequest("0", "");
    std::vector<std::string> parentAnswers;
    std::vector<std::string> zebRequests; // as the gateway builds them
    std::string hartAnswer;               // as the gateway builds it
};

// --- the transactions through the DTM -------------------------------------------------

__attribute__((noinline)) inline bool runCommand128(ConnectedDtm& instance, const Command128Documents& documents)
{
    instance.dtm->TransactionRequest("child-128", documents.childRequest);
    instance.dtm->OnTransactionResponse("child-128", documents.parentAnswer);
    const bool answered = instance.child->calls.size() == 1 && !instance.child->calls[0].document.empty();
    instance.parent->calls.clear();
    instance.child->calls.clear();
    return answered;
}

__attribute__((noinline)) inline bool runCommand0(ConnectedDtm& instance, const Command0Documents& documents)
{
    instance.dtm->TransactionRequest("child-0", documents.childRequest);
    if (instance.parent->calls.size() != documents.parentAnswers.size())
        return false;
    for (std::size_t i = 0; i < documents.parentAnswers.size(); ++i)
        instance.dtm->OnTransactionResponse(instance.parent->calls[i].invokeId, documents.parentAnswers[i]);
    const bool answered = instance.child->calls.size() == 1 && !instance.child->calls[0].document.empty();
    instance.parent->calls.clear();
    instance.child->calls.clear();
    return answered;
}

__attribute__((noinline)) inline bool floorCommand128(const CompiledSchemas& schemas, const Command128Documents& documents)
{
    return floorIncoming(schemas, documents.childRequest) & floorBuilt(schemas, documents.zebRequest) &
           floorIncoming(schemas, documents.parentAnswer) & floorBuilt(schemas, documents.hartAnswer);
}

__attribute__((noinline)) inline bool floorCommand0(const CompiledSchemas& schemas, const Command0Documents& documents)
{
    bool ok = floorIncoming(schemas, documents.childRequest);
    for (const std::string& request : documents.zebRequests)
        ok &= floorBuilt(schemas, request);
    for (const std::string& answer : documents.parentAnswers)
        ok &= floorIncoming(schemas, answer);
    return ok & floorBuilt(schemas, documents.hartAnswer);
}

// kVariants transactions with their built documents, taken from one run of the gateway.
inline std::vector<Command128Documents> command128Documents()
{
    BenchServices services;
    ConnectedDtm instance;
    std::vector<Command128Documents> variants(kVariants);
    for (std::size_t n = 0; n < kVariants; ++n) {
        Command128Documents& documents = variants[n];
        documents.childRequest = hartRequest("128", "0102030002" + hexByte(n) + "AB");
        documents.parentAnswer = zebAnswer(258, 3, hexByte(n) + "CD");
        instance.dtm->TransactionRequest("child-128", documents.childRequest);
        instance.dtm->OnTransactionResponse("child-128", documents.parentAnswer);
        if (instance.parent->calls.size() != 1 || instance.child->calls.size() != 1)
            throw std::runtime_error("command 128 did not go through");
        documents.zebRequest = instance.parent->calls[0].document;
        documents.hartAnswer = instance.child->calls[0].document;
        instance.parent->calls.clear();
        instance.child->calls.clear();
    }
    return variants;
}

inline std::vector<Command0Documents> command0Documents()
{
    BenchServices services;
    ConnectedDtm instance;
    std::vector<Command0Documents> variants(kVariants);
    for (std::size_t n = 0; n < kVariants; ++n) {
        Command0Documents& documents = variants[n];
        for (const IdentityRead& read : kIdentityReads)
            documents.parentAnswers.push_back(
                zebAnswer(read.objectNo, read.subNo, hexByte(n + read.objectNo) + read.data.substr(2)));
        instance.dtm->TransactionRequest("child-0", documents.childRequest);
        for (const fakes::PeerCall& request : instance.parent->calls)
            documents.zebRequests.push_back(request.document);
        if (documents.zebRequests.size() != documents.parentAnswers.size())
            throw std::runtime_error("command 0 did not send six reads");
        for (std::size_t i = 0; i < documents.parentAnswers.size(); ++i)
            instance.dtm->OnTransactionResponse(instance.parent->calls[i].invokeId, documents.parentAnswers[i]);
        if (instance.child->calls.size() != 1)
            throw std::runtime_error("command 0 was not answered");
        documents.hartAnswer = instance.child->calls[0].document;
        instance.parent->calls.clear();
        instance.child->calls.clear();
    }
    return variants;
}

} // namespace zeb2hart::bench
