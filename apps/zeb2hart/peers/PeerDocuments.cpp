#include "peers/PeerDocuments.h"

#include <algorithm>
#include <functional>
#include <system_error>

#include "fdt/Errors.h"
#include "dom/SchemaCollection.h"
#include "dom/XmlDom.h"
#include "support/Conversions.h"

namespace zeb2hart::frame {

namespace fs = std::filesystem;

namespace {

constexpr const char* kZebNamespace = "x-schema:ZEBCommunicationSchema.xml";
constexpr const char* kHartNamespace = "x-schema:FDTHARTCommunicationSchema.xml";
constexpr const char* kDataTypesNamespace = "x-schema:FDTDataTypesSchema.xml";
constexpr const char* kDeviceTypeNamespace = "x-schema:DTMDeviceTypeSchema.xml";
constexpr const char* kUserInformationNamespace = "x-schema:FDTUserInformationSchema.xml";
constexpr const char* kFunctionCallNamespace = "x-schema:FDTFunctionCallSchema.xml";

// One document under construction: an FDT root element whose default
// namespace is the document's schema, with the fdt (or func) prefix declared.
class Builder {
public:
    Builder(const std::string& defaultNamespace, const std::string& prefix, const std::string& prefixNamespace)
        : m_defaultNamespace(defaultNamespace)
    {
        const std::string skeleton = "<FDT xmlns=\"" + defaultNamespace + "\" xmlns:" + prefix + "=\"" +
                                     prefixNamespace + "\"/>";
        m_document.loadXml(skeleton);
    }

    xmlNode* root() const { return m_document.documentElement(); }

    // A child element; an unprefixed name is in the document's namespace.
    xmlNode* add(xmlNode* parent, const std::string& name)
    {
        const bool prefixed = name.find(':') != std::string::npos;
        xmlNode* element = dom::createElement(m_document.get(), parent, name,
                                                   prefixed ? std::nullopt : std::optional<std::string>(m_defaultNamespace));
        return dom::appendChild(parent, element);
    }

    Builder& set(xmlNode* element, const std::string& name, const std::string& value)
    {
        dom::setAttribute(element, name, value);
        return *this;
    }

    std::string text() const { return m_document.xml(); }

private:
    std::string m_defaultNamespace;
    dom::XmlDocument m_document;
};

void addSchemaFolder(dom::SchemaCollection& schemas, const fs::path& folder)
{
    std::error_code error;
    std::vector<fs::path> files;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        std::string extension = it->path().extension().string();
        std::transform(extension.begin(), extension.end(), extension.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        if (extension == ".xml")
            files.push_back(it->path());
    }
    std::sort(files.begin(), files.end());
    for (const auto& file : files) {
        try {
            schemas.add("x-schema:" + file.filename().string(), file);
        } catch (const dom::SchemaError&) {
            // A schema that does not compile leaves its documents unchecked.
        }
    }
}

} // namespace

struct PeerDocuments::Reader {
    std::shared_ptr<dom::SchemaCollection> schemas = std::make_shared<dom::SchemaCollection>();
};

PeerDocuments::PeerDocuments(const fs::path& componentFolder, const fs::path& frameSchemaFolder)
    : m_reader(std::make_unique<Reader>())
{
    addSchemaFolder(*m_reader->schemas, frameSchemaFolder);
    addSchemaFolder(*m_reader->schemas, componentFolder / "XMLSchemas");
}

PeerDocuments::~PeerDocuments() = default;

std::string PeerDocuments::hartConnectRequest(const std::string& tag, std::int16_t shortAddress) const
{
    Builder b(kHartNamespace, "fdt", kDataTypesNamespace);
    xmlNode* request = b.add(b.root(), "ConnectRequest");
    b.set(request, "fdt:tag", tag);
    b.set(b.add(request, "ShortAddress"), "shortAddress", std::to_string(shortAddress));
    return b.text();
}

std::string PeerDocuments::hartDisconnectRequest(const std::string& communicationReference) const
{
    Builder b(kHartNamespace, "fdt", kDataTypesNamespace);
    b.set(b.add(b.root(), "DisconnectRequest"), "communicationReference", communicationReference);
    return b.text();
}

std::string PeerDocuments::hartTransactionRequest(int commandNumber, const std::string& communicationReference,
                                                  const std::string& dataHex) const
{
    Builder b(kHartNamespace, "fdt", kDataTypesNamespace);
    xmlNode* request = b.add(b.root(), "DataExchangeRequest");
    b.set(request, "commandNumber", std::to_string(commandNumber));
    b.set(request, "communicationReference", communicationReference);
    b.set(b.add(request, "fdt:CommunicationData"), "byteArray", dataHex);
    return b.text();
}

std::string PeerDocuments::zebConnectResponse(const std::string& communicationReference, const std::string& tag) const
{
    Builder b(kZebNamespace, "fdt", kDataTypesNamespace);
    xmlNode* response = b.add(b.root(), "ConnectResponse");
    b.set(response, "CommunicationReference", communicationReference).set(response, "fdt:tag", tag);
    return b.text();
}

std::string PeerDocuments::zebDisconnectResponse(const std::string& communicationReference) const
{
    Builder b(kZebNamespace, "fdt", kDataTypesNamespace);
    b.set(b.add(b.root(), "DisconnectResponse"), "CommunicationReference", communicationReference);
    return b.text();
}

std::string PeerDocuments::zebDataExchangeResponse(const std::string& communicationReference, int status,
                                                   long objectNo, int subNo, int messageType,
                                                   const std::string& dataHex) const
{
    Builder b(kZebNamespace, "fdt", kDataTypesNamespace);
    xmlNode* response = b.add(b.root(), "DataExchangeResponse");
    b.set(response, "CommunicationReference", communicationReference).set(response, "Status", std::to_string(status));
    xmlNode* header = b.add(response, "CommunicationHeader");
    b.set(header, "MessageType", std::to_string(messageType))
        .set(header, "ObjectType", "2")
        .set(header, "NoOfBytes", std::to_string(dataHex.size() / 2 + 4))
        .set(header, "SubNo", std::to_string(subNo))
        .set(header, "ObjectNo", std::to_string(objectNo))
        .set(header, "CommunicationData", dataHex); // present even without data: the gateway reads it
    return b.text();
}

std::string PeerDocuments::zebCommError(const std::string& communicationReference, const std::string& tag,
                                        const std::string& error, const std::string& zebActive) const
{
    Builder b(kZebNamespace, "fdt", kDataTypesNamespace);
    xmlNode* element = b.add(b.root(), "ZebCommError");
    b.set(element, "ZebActive", zebActive)
        .set(element, "ZebcommError", error)
        .set(element, "CommunicationReference", communicationReference)
        .set(element, "fdt:tag", tag);
    return b.text();
}

std::string PeerDocuments::deviceType(const std::string& name, const std::string& busCategory) const
{
    Builder b(kDeviceTypeNamespace, "fdt", kDataTypesNamespace);
    xmlNode* type = b.add(b.root(), "fdt:DtmDeviceType");
    b.set(b.add(type, "fdt:VersionInformation"), "name", name);
    b.set(b.add(b.add(type, "fdt:BusCategories"), "fdt:BusCategory"), "busCategory", busCategory);
    return b.text();
}

std::string PeerDocuments::userInformation(const std::string& userLevel) const
{
    Builder b(kUserInformationNamespace, "fdt", kDataTypesNamespace);
    b.set(b.add(b.root(), "FDTUserInformation"), "userLevel", userLevel);
    return b.text();
}

std::string PeerDocuments::functionCall(const std::string& functionId) const
{
    Builder b(kFunctionCallNamespace, "func", kFunctionCallNamespace);
    b.set(b.add(b.root(), "FDTFunctionCall"), "func:functionId", functionId);
    return b.text();
}

std::optional<std::string> PeerDocuments::attribute(const std::string& document, const std::string& path,
                                                    const std::string& name) const
{
    dom::XmlDocument parsed;
    parsed.setSchemas(m_reader->schemas);
    if (parsed.loadXml(document) != dom::LoadResult::Loaded)
        return std::nullopt;
    xmlNode* element = parsed.selectSingleNode(path);
    if (element == nullptr)
        return std::nullopt;
    if (name.empty())
        return std::string();
    return dom::attribute(element, name);
}

long PeerDocuments::number(const std::string& document, const std::string& path, const std::string& name,
                           long fallback) const
{
    const std::optional<std::string> text = attribute(document, path, name);
    if (!text || text->empty())
        return fallback;
    try {
        return support::toLong(*text);
    } catch (const fdt::Error&) {
        return fallback;
    }
}

std::vector<DtmFunction> PeerDocuments::functions(const std::string& document) const
{
    std::vector<DtmFunction> found;
    dom::XmlDocument parsed;
    parsed.setSchemas(m_reader->schemas);
    if (parsed.loadXml(document) != dom::LoadResult::Loaded)
        return found;
    // Functions sit in groups (StandardFunctions, and further groups a DTM may add).
    const std::function<void(const xmlNode*)> walk = [&](const xmlNode* parent) {
        for (xmlNode* element : dom::childElements(parent)) {
            const std::optional<std::string> id = dom::attribute(element, "functionId");
            if (dom::qualifiedName(element) == "Function" && id) {
                found.push_back({*id, dom::attribute(element, "name").value_or(""),
                                 dom::attribute(element, "applicationId").value_or(""),
                                 dom::attribute(element, "userInterface").value_or("")});
            }
            walk(element);
        }
    };
    walk(parsed.documentElement());
    return found;
}

std::string PeerDocuments::problem(const std::string& document) const
{
    dom::XmlDocument parsed;
    parsed.setSchemas(m_reader->schemas);
    if (parsed.loadXml(document) == dom::LoadResult::Loaded)
        return {};
    std::string reason = parsed.parseError().reason;
    while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r'))
        reason.pop_back();
    return reason.empty() ? "the document does not load" : reason;
}

} // namespace zeb2hart::frame
