#include "xml/XMLHelp.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <new>
#include <system_error>

#include "fdt/Errors.h"
#include "dom/FileStamp.h"
#include "platform/FileText.h"
#include "dom/SchemaCollection.h"
#include "platform/Services.h"
#include "dom/XmlDom.h"
#include "support/Conversions.h"
#include "support/Trace.h"
#include "xml/DocumentPaths.h"
#include "xml/ProtocolIds.h"
#include "platform/Paths.h"

namespace zeb2hart::xml {

namespace fs = std::filesystem;
using dom::XmlDocument;
using support::toByte;
using support::toInteger;
using support::toLong;

namespace {

constexpr const char* kCrLf = "\r\n";
constexpr const char* kOwnDeviceTypeName = "ZEB to HART Gateway";
constexpr const char* kIconPlaceholder = "$(PathToDeviceIcon)";
constexpr std::int16_t kBroadcastCommand = 129;

using Node = xmlNode*;

Node requireNode(const XmlDocument& document, const char* path)
{
    Node node = document.selectSingleNode(path);
    if (node == nullptr)
        throw fdt::NotFoundError(std::string("The document has no element ") + path);
    return node;
}

std::string requireAttribute(const Node element, const char* name)
{
    std::optional<std::string> value = dom::attribute(element, name);
    if (!value)
        throw Field::missing(dom::qualifiedName(element), name);
    return *value;
}

// The value as attribute text (XMLHelp::ValueToText), in place of the attribute
// of that name or after the element's attributes (a prefix takes the namespace
// in scope). Texts and integers are written as ValueToText writes them.
void setAttribut(const char* name, const fdt::Variant& value, Node element)
{
    dom::setAttribute(element, name, XMLHelp::ValueToText(value));
}
void setAttribut(const char* name, const std::string& text, Node element)
{
    dom::setAttribute(element, name, text);
}
void setAttribut(const char* name, const char* text, Node element)
{
    dom::setAttribute(element, name, text);
}
void setAttribut(const char* name, std::int32_t number, Node element)
{
    dom::setAttribute(element, name, std::to_string(number));
}

// A new last child of `parent`, in the parent's namespace.
Node addNode(const char* name, Node parent)
{
    return dom::appendChild(parent, dom::createElement(parent->doc, parent, name, dom::namespaceUri(parent)));
}

std::string decimal(long long value)
{
    return std::to_string(value);
}

std::string upperCase(std::string text)
{
    for (char& c : text)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return text;
}

std::string floatingText(double value, int precision)
{
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, precision);
    std::string text(buffer, result.ptr);
    for (char& c : text)
        if (c == 'e')
            c = 'E';
    return text;
}

// Proleptic Gregorian date of a day count from 1970-01-01.
void civilFromDays(long long days, long long& year, unsigned& month, unsigned& day)
{
    days += 719468;
    const long long era = (days >= 0 ? days : days - 146096) / 146097;
    const unsigned dayOfEra = static_cast<unsigned>(days - era * 146097);
    const unsigned yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const unsigned dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const unsigned monthIndex = (5 * dayOfYear + 2) / 153;
    day = dayOfYear - (153 * monthIndex + 2) / 5 + 1;
    month = monthIndex < 10 ? monthIndex + 3 : monthIndex - 9;
    year = static_cast<long long>(yearOfEra) + era * 400 + (month <= 2 ? 1 : 0);
}

// "yyyy-mm-dd", and " hh:mm:ss" when the date has a time of day.
std::string dateText(double serial)
{
    if (!std::isfinite(serial))
        return {};
    double whole = std::trunc(serial);
    double fraction = std::fabs(serial - whole);
    long long seconds = std::llround(fraction * 86400.0);
    if (seconds >= 86400) { // rounds up to the next midnight
        seconds -= 86400;
        whole += serial < 0 ? -1 : 1;
    }
    long long year = 0;
    unsigned month = 0;
    unsigned day = 0;
    // Day 0 of the serial is 1899-12-30, which is 25569 days before 1970-01-01.
    civilFromDays(static_cast<long long>(whole) - 25569, year, month, day);
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, "%04lld-%02u-%02u", year, month, day);
    std::string text(buffer);
    if (fraction != 0.0) {
        std::snprintf(buffer, sizeof buffer, " %02lld:%02lld:%02lld", seconds / 3600, seconds / 60 % 60, seconds % 60);
        text += buffer;
    }
    return text;
}

void replaceAll(std::string& text, const std::string& what, const std::string& with)
{
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + with.size()))
        text.replace(at, what.size(), with);
}

// The FDT communication-error name of a ZEB error name.
std::string communicationErrorName(const std::string& zebCommError)
{
    if (zebCommError == "ChecksumError" || zebCommError == "StackOverflow" || zebCommError == "MemoryOverflow")
        return "unknownError";
    return zebCommError;
}

// The version information of the DTM itself, as the information template holds it.
struct OwnVersion {
    std::string name;
    std::string vendor;
    std::string version;
    std::string date;
    std::string descriptor;
};

OwnVersion readOwnVersion(const XmlDocument& information, bool withDescriptor)
{
    const Node element = requireNode(information, paths::kOwnVersion);
    OwnVersion own;
    own.name = requireAttribute(element, "name");
    own.vendor = requireAttribute(element, "vendor");
    own.version = requireAttribute(element, "version");
    own.date = requireAttribute(element, "date");
    if (withDescriptor)
        own.descriptor = requireAttribute(element, "descriptor");
    return own;
}

} // namespace

XMLHelp::XMLHelp(fs::path componentFolder)
    : m_componentFolder(std::move(componentFolder)), m_cache(std::make_shared<SchemaCollection>())
{
}

XMLHelp::~XMLHelp() = default;

// --- pipeline -------------------------------------------------------------------

fs::path XMLHelp::templatePath(const std::string& fileName) const
{
    const fs::path folder = m_componentFolder / "XMLData";
    fs::path exact = folder / fileName;
    std::error_code ec;
    if (fs::exists(exact, ec))
        return exact;
    const std::string wanted = upperCase(fileName);
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
        if (upperCase(platform::utf8Of(it->path().filename())) == wanted)
            return it->path();
    return exact;
}

void XMLHelp::PrepareDocument(XmlDocument& document) const
{
    // Synchronous, validating against the collection, no white space kept:
    // the only way the documents of this layer load.
    document.setSchemas(m_cache);
}

const fs::path& XMLHelp::templateFile(const std::string& fileName)
{
    for (const auto& [name, file] : m_templateFiles)
        if (name == fileName)
            return file;
    return m_templateFiles.emplace_back(fileName, m_componentFolder / "XMLData" / fileName).second;
}

bool XMLHelp::loadTemplate(XmlDocument& document, const std::string& fileName)
{
    return trapLoad(document, [&] {
        // The name as written is the common case; only a file that is not there
        // under it is looked up letter case aside.
        dom::LoadResult result = document.loadCopy(templateFile(fileName));
        if (result == dom::LoadResult::NotLoaded && document.parseError().code == dom::xml_error::kFileNotFound)
            result = document.loadCopy(templatePath(fileName));
        return result;
    });
}

bool XMLHelp::loadText(XmlDocument& document, const std::string& text) const
{
    return trapLoad(document, [&] { return document.loadShared(text); });
}

template <class Load>
bool XMLHelp::trapLoad(XmlDocument& document, Load load)
{
    try {
        if (load() != dom::LoadResult::CallFailed)
            return true;
    } catch (const std::exception& e) {
        dom::XmlParseError error = document.parseError();
        error.reason = e.what();
        ShowLoadError(error);
        return false;
    }
    ShowLoadError(document.parseError());
    return false;
}

void XMLHelp::ShowLoadError(const dom::XmlParseError& error)
{
    std::string text = "Your XML Document failed to load due the following error:";
    text += kCrLf;
    text += kCrLf;
    text += "Error: ";
    text += kCrLf;
    text += decimal(error.code) + ": " + error.reason + kCrLf;
    text += "Line: " + decimal(error.line) + kCrLf;
    text += "Line Position: " + decimal(error.linePosition) + kCrLf;
    text += "Position In File: " + decimal(error.filePosition) + kCrLf;
    text += kCrLf;
    text += "Source Text: " + error.sourceText + kCrLf;
    text += kCrLf;
    text += "Document URL: " + error.url;
    if (auto box = platform::services().messageBox)
        box->show(text, platform::MessageBox::Icon::Exclamation);
}

// --- schema collection ------------------------------------------------------

void XMLHelp::fillSchemaCollection(SchemaCollection& collection, const std::string& schemaPath)
{
    AddSchemaFolder(collection, schemaPath, [](const std::string& name, const std::string& reason) {
        support::Trace("Cannot add the file " + name + " to schema" + kCrLf + reason, "DOMHelp::GetXMLSchemas");
    });
}

void XMLHelp::AddSchemaFolder(SchemaCollection& collection, const std::string& schemaPath,
                              const SchemaFileError& onError)
{
    std::string folder = schemaPath;
    if (folder.empty() || (folder.back() != '/' && folder.back() != '\\'))
        folder += '/';
    std::error_code ec;
    std::vector<fs::path> files;
    fs::directory_iterator it(platform::pathFromUtf8(folder), ec);
    if (ec)
        throw fdt::FileError("Cannot open the schema folder " + folder + ": " + ec.message());
    for (fs::directory_iterator end; !ec && it != end; it.increment(ec))
        if (it->is_regular_file(ec))
            files.push_back(it->path());
    if (ec)
        throw fdt::FileError("Cannot list the schema folder " + folder + ": " + ec.message());
    // The listing in name order, letter case aside, as the file system object gives it.
    std::sort(files.begin(), files.end(), [](const fs::path& a, const fs::path& b) {
        return upperCase(platform::utf8Of(a.filename())) < upperCase(platform::utf8Of(b.filename()));
    });
    // Collections of the same folder content share their compiled schemas.
    const std::string signature = dom::folderSignature(platform::pathFromUtf8(folder));
    for (const fs::path& file : files) {
        const std::string name = platform::utf8Of(file.filename());
        if (name.size() < 3 || upperCase(name.substr(name.size() - 3)) != "XML")
            continue;
        try {
            collection.add("x-schema:" + name, platform::pathFromUtf8(folder + name), signature);
        } catch (const std::exception& e) {
            onError(name, e.what());
        }
    }
}

void XMLHelp::InitXMLSchemaCache(const std::string& schemaPath)
{
    fillSchemaCollection(*m_cache, schemaPath);
}

std::shared_ptr<SchemaCollection> XMLHelp::GetXMLSchemas(const std::string& schemaPath) const
{
    auto collection = std::make_shared<SchemaCollection>();
    fillSchemaCollection(*collection, schemaPath);
    return collection;
}

const SchemaCollection& XMLHelp::Cache() const
{
    return *m_cache;
}

// --- values -------------------------------------------------------------------

std::string XMLHelp::ValueToText(const fdt::Variant& value)
{
    return std::visit(
        [](const auto& v) -> std::string {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, bool>)
                return v ? "1" : "0";
            else if constexpr (std::is_same_v<T, std::uint8_t> || std::is_same_v<T, std::int16_t>
                               || std::is_same_v<T, std::int32_t>)
                return std::to_string(v);
            else if constexpr (std::is_same_v<T, float>)
                return floatingText(v, 7);
            else if constexpr (std::is_same_v<T, double>)
                return floatingText(v, 15);
            else if constexpr (std::is_same_v<T, fdt::Date>)
                return dateText(v.serial);
            else if constexpr (std::is_same_v<T, std::string>)
                return v;
            else if constexpr (std::is_same_v<T, std::vector<std::uint8_t>>)
                return support::ByteArrayToHex(std::span<const std::uint8_t>(v));
            else if constexpr (std::is_same_v<T, std::vector<std::int16_t>>)
                return support::IntegerArrayToHex(std::span<const std::int16_t>(v));
            else if constexpr (std::is_same_v<T, std::vector<std::int32_t>>)
                return support::LongArrayToHex(std::span<const std::int32_t>(v));
            else if constexpr (std::is_same_v<T, fdt::VariantArray>) {
                std::string text;
                for (const fdt::Variant& element : v)
                    text += support::HexOfValue(element);
                return text;
            } else
                return {};
        },
        value.value());
}

// --- connect and disconnect documents -------------------------------------------

std::string XMLHelp::BuildHARTConnectRequest(const std::string& fdtTag)
{
    XmlDocument document;
    PrepareDocument(document);
    if (!loadTemplate(document, "ZEB2HARTConnectRequest.xml"))
        return {};
    if (Node request = document.selectSingleNode(paths::kConnectRequest))
        setAttribut("fdt:tag", fdtTag, request);
    return document.takeXml();
}

std::string XMLHelp::BuildHARTConnectResponse(const std::string& tag, const std::string& communicationReference,
                                              std::int16_t shortAddress)
{
    XmlDocument document;
    PrepareDocument(document);
    if (!loadTemplate(document, "ZEB2HARTConnectResponse.xml"))
        return {};
    if (Node response = document.selectSingleNode(paths::kConnectResponse)) {
        setAttribut("fdt:tag", tag, response);
        setAttribut("preambleCount", "0", response);
        setAttribut("primaryMaster", "1", response);
        setAttribut("communicationReference", communicationReference, response);
    }
    if (Node address = document.selectSingleNode(paths::kConnectResponseAddress))
        setAttribut("shortAddress", shortAddress, address);
    return document.takeXml();
}

std::string XMLHelp::disconnectResponse(const std::string& communicationReference)
{
    XmlDocument document;
    PrepareDocument(document);
    if (!loadTemplate(document, "ZEB2HARTDisconnectResponse.xml"))
        return {};
    if (Node response = document.selectSingleNode(paths::kDisconnectResponse))
        setAttribut("communicationReference", communicationReference, response);
    return document.takeXml();
}

std::string XMLHelp::BuildHARTDisconnectResponse(const std::string& communicationReference)
{
    return disconnectResponse(communicationReference);
}

std::string XMLHelp::XMLDisconnectResponse(const std::string& communicationReference)
{
    return disconnectResponse(communicationReference);
}

std::string XMLHelp::ZEBConnectResponseXML(const std::string& communicationReference)
{
    XmlDocument document;
    PrepareDocument(document);
    if (!loadTemplate(document, "ZEBConnectResponse.xml"))
        return {};
    setAttribut("CommunicationReference", communicationReference, requireNode(document, paths::kConnectResponse));
    return document.takeXml();
}

std::string XMLHelp::GetSupportedProtocols()
{
    XmlDocument document;
    PrepareDocument(document);
    if (!loadTemplate(document, "ZEBGetSupportedProtocols.xml"))
        return {};
    return document.takeXml();
}

// --- data-exchange documents ------------------------------------------------------

std::string XMLHelp::ZEBDataExchangeXML(std::int16_t msgType, const std::string& zebString,
                                        const std::string& communicationReference)
{
    XmlDocument document;
    PrepareDocument(document);
    if (!loadTemplate(document, "ZEB2HARTDataExchangeRequest.xml"))
        return {};
    const std::vector<std::uint8_t> bytes = support::HexToByteArray(zebString);
    if (bytes.size() < 5)
        throw fdt::NotFoundError("A ZEB telegram holds at least five bytes: \"" + zebString + "\"");
    const std::int32_t objectNo = bytes[0] * 256 + bytes[1];

    Node request = requireNode(document, paths::kRequest);
    setAttribut("CommunicationReference", communicationReference, request);
    setAttribut("Control", bytes[3], request);

    Node header = requireNode(document, paths::kRequestHeader);
    setAttribut("MessageType", msgType, header);
    setAttribut("ObjectType", std::int16_t{2}, header);
    setAttribut("NoOfBytes", static_cast<std::int16_t>(bytes[4] + 4), header);
    setAttribut("SubNo", bytes[2], header);
    setAttribut("ObjectNo", objectNo, header);
    if (bytes[4] > 0)
        setAttribut("CommunicationData", zebString.size() > 10 ? zebString.substr(10) : std::string(), header);
    return document.takeXml();
}

std::string XMLHelp::ZEBSeqDataExchangeXML(std::int16_t msgType, const clsZEBSequence& seqElem,
                                           const std::string& communicationReference)
{
    XmlDocument document;
    PrepareDocument(document);
    if (!loadTemplate(document, "ZEB2HARTDataExchangeRequest.xml"))
        return {};
    Node request = requireNode(document, paths::kRequest);
    setAttribut("CommunicationReference", communicationReference, request);
    setAttribut("Control", std::int16_t{64}, request);

    Node header = requireNode(document, paths::kRequestHeader);
    setAttribut("MessageType", msgType, header);
    setAttribut("ObjectType", std::int16_t{2}, header);
    setAttribut("NoOfBytes", seqElem.NoOfBtes, header);
    setAttribut("SubNo", seqElem.SubNumber, header);
    setAttribut("ObjectNo", seqElem.ObjectNumber, header);
    return document.takeXml();
}

std::string XMLHelp::GetXMLDocumentDelayedData(const std::string& communicationReference,
                                               const std::optional<ComData>& communicationData,
                                               const fdt::Variant& control, const fdt::Variant& specFct,
                                               const fdt::Variant& filename)
{
    // Here the failure trap covers the whole build, not only the load.
    XmlDocument document;
    PrepareDocument(document);
    try {
        if (!loadTemplate(document, "ZEB2HARTDataExchangeRequest.xml"))
            return {};
        Node request = requireNode(document, paths::kRequest);
        setAttribut("CommunicationReference", communicationReference, request);
        setAttribut("Control", control, request);
        if (!filename.isEmpty())
            setAttribut("FilePath", filename, request);
        if (!specFct.isEmpty())
            setAttribut("SpecialFunction", specFct, request);

        Node header = requireNode(document, paths::kRequestHeader);
        if (!communicationData)
            throw fdt::NullObjectError("GetXMLDocumentDelayedData: no communication data record given");
        setAttribut("MessageType", communicationData->MessageType, header);
        setAttribut("ObjectType", communicationData->ObjectType, header);
        setAttribut("NoOfBytes", communicationData->NoOfBytes, header);
        setAttribut("SubNo", communicationData->SubNo, header);
        setAttribut("ObjectNo", communicationData->ObjectNo, header);
        if (communicationData->NoOfBytes > 4)
            setAttribut("CommunicationData", communicationData->Data, header);
        return document.takeXml();
    } catch (const std::exception&) {
        ShowLoadError(document.parseError());
        return {};
    }
}

std::string XMLHelp::HARTTransactionResponseXML(std::int16_t commandNumber, const std::string& communicationReference,
                                                const std::string& communicationData, std::uint8_t devStatus,
                                                std::uint8_t cmdResponse)
{
    XmlDocument document;
    PrepareDocument(document);
    if (!loadTemplate(document, "ZEB2HARTDataExchangeResponse.xml"))
        return {};
    Node response = document.selectSingleNode(paths::kResponse);
    if (response != nullptr) {
        setAttribut("commandNumber", commandNumber, response);
        setAttribut("communicationReference", communicationReference, response);
    }
    // The data go before Status; the element inserted does not change which Status is first.
    const Node status = document.selectSingleNode(paths::kResponseStatus);
    if (!communicationData.empty()) {
        if (response == nullptr)
            throw fdt::NotFoundError(std::string("The document has no element ") + paths::kResponse);
        Node data = dom::createElement(document.get(), response, "fdt:CommunicationData");
        dom::insertBefore(response, data, status);
        if (Node inserted = document.selectSingleNode(paths::kResponseData))
            setAttribut("byteArray", communicationData, inserted);
    }
    if (status != nullptr)
        setAttribut("deviceStatus", devStatus, status);
    if (Node commandResponse = document.selectSingleNode(paths::kCommandResponse))
        setAttribut("value", commandNumber == kBroadcastCommand ? std::uint8_t{0} : cmdResponse, commandResponse);
    return document.takeXml();
}

std::string XMLHelp::HARTErrorUndefinedXML(std::uint8_t commandNumber, const std::string& communicationReference)
{
    XmlDocument document;
    PrepareDocument(document);
    if (!loadTemplate(document, "ZEB2HARTDataExchangeResponse.xml"))
        return {};
    if (Node response = document.selectSingleNode(paths::kResponse)) {
        setAttribut("commandNumber", commandNumber, response);
        setAttribut("communicationReference", communicationReference, response);
    }
    if (Node data = document.selectSingleNode(paths::kResponseData))
        setAttribut("byteArray", std::string(), data);
    if (Node commandResponse = document.selectSingleNode(paths::kCommandResponse))
        setAttribut("value", std::uint8_t{commandNumber == kBroadcastCommand ? std::uint8_t{0} : std::uint8_t{1}},
                    commandResponse);
    return document.takeXml();
}

std::string XMLHelp::HARTErrorResponseXML(const std::string& zebCommError, const std::string& fdtTag)
{
    XmlDocument document;
    PrepareDocument(document);
    if (!loadTemplate(document, "ZEB2HARTCommunicationError.xml"))
        return {};
    if (Node error = document.selectSingleNode(paths::kCommunicationError)) {
        setAttribut("communicationError", communicationErrorName(zebCommError), error);
        setAttribut("tag", fdtTag, error);
    }
    return document.takeXml();
}

// --- description documents ----------------------------------------------------------

std::string XMLHelp::GetDTMInformationDoc(const std::string& /*pathToXmlSchemas*/)
{
    const std::string iconPath = platform::utf8Of(m_componentFolder / "Resources" / "device.ico");
    if (m_cache->isEmpty()) {
        // Without schemas the template goes out as text, only the icon path filled in.
        const fs::path file = templatePath("DTMInformation.xml");
        std::string text;
        if (platform::readFileText(file, text) != platform::FileRead::Read)
            throw fdt::FileError("Cannot read " + platform::utf8Of(file));
        replaceAll(text, kIconPlaceholder, iconPath);
        return text;
    }
    XmlDocument document;
    PrepareDocument(document);
    if (!loadTemplate(document, "DTMInformation.xml"))
        return {};
    setAttribut("path", iconPath, requireNode(document, paths::kOwnDeviceIcon));
    return document.takeXml();
}

bool XMLHelp::CheckInitInformation(const std::string& deviceType)
{
    XmlDocument document;
    PrepareDocument(document);
    if (!loadText(document, deviceType))
        return false;
    const std::string name =
        requireAttribute(requireNode(document, paths::kDeviceTypeVersion), "name");
    const std::string busCategory = requireAttribute(
        requireNode(document, paths::kDeviceTypeBusCategory), "busCategory");
    return name == kOwnDeviceTypeName || busCategory == kZebProtocolId;
}

std::string XMLHelp::GetUserLevel(const std::string& userInfo)
{
    XmlDocument document;
    PrepareDocument(document);
    if (!loadText(document, userInfo))
        return {};
    return requireAttribute(requireNode(document, paths::kUserInformation), "userLevel");
}

std::string XMLHelp::GetDTMFunctionsDoc(const std::string& /*pathToXmlSchemas*/, bool withPages)
{
    XmlDocument document;
    PrepareDocument(document);
    if (!loadTemplate(document, kFunctionsTemplate))
        return {};
    if (const Node functions = document.selectSingleNode(paths::kStandardFunctions); functions && !withPages)
        for (xmlNode* function : dom::childElements(functions, "Function"))
            if (dom::attribute(function, "userInterface") == "ActiveX")
                dom::removeNode(function);
    return document.takeXml();
}

std::string XMLHelp::GetProgId(const std::string& functionCall)
{
    XmlDocument document;
    PrepareDocument(document);
    if (!loadText(document, functionCall))
        return {};
    return requireAttribute(requireNode(document, paths::kFunctionCall), "func:functionId");
}

fdt::Variant XMLHelp::DocFunctionID(const std::string& functionCall)
{
    XmlDocument document;
    PrepareDocument(document);
    if (!loadText(document, functionCall))
        return {};
    const std::optional<std::string> id =
        dom::attribute(requireNode(document, paths::kFunctionCall), "func:functionId");
    if (!id)
        return fdt::Null{};
    return *id;
}

std::string XMLHelp::GetDTMDocumentationDoc(const std::vector<clsDataElement>& adapterParameter)
{
    XmlDocument document;
    PrepareDocument(document);
    if (!loadTemplate(document, "DtmInformation.xml"))
        return {};
    const OwnVersion own = readOwnVersion(document, true);
    // The device type must be complete, although nothing of it is documented.
    const Node deviceType = requireNode(document, paths::kOwnDeviceType);
    (void)toInteger(requireAttribute(deviceType, "manufacturerId"));
    (void)requireAttribute(deviceType, "classificationId");
    (void)requireAttribute(deviceType, "deviceTypeInformation");
    (void)requireAttribute(
        requireNode(document, paths::kOwnDeviceTypeVersion), "descriptor");

    if (!loadTemplate(document, "DTMDocumentation.xml"))
        return {};
    Node version = requireNode(document, paths::kDocumentationVersion);
    setAttribut("name", own.name, version);
    setAttribut("vendor", own.vendor, version);
    setAttribut("version", own.version, version);
    setAttribut("date", own.date, version);
    setAttribut("descriptor", own.descriptor, version);

    Node variables = requireNode(document, paths::kDocumentVariables);
    setAttribut("fdt:name", own.name, variables);
    for (const clsDataElement& entry : adapterParameter) {
        Node variable = addNode("DocumentVariable", variables);
        setAttribut("fdt:name", entry.name, variable);
        setAttribut("fdt:display", entry.display, variable);
    }
    setAttribut("path", platform::utf8Of(m_componentFolder / "Resources" / "device.gif"),
                requireNode(document, paths::kGraphicReference));
    return document.takeXml();
}

std::string XMLHelp::GetDTMParametersDoc(const std::string& /*pathToXmlSchemas*/)
{
    XmlDocument document;
    PrepareDocument(document);
    if (!loadTemplate(document, "DTMParameters.xml"))
        return {};
    return document.takeXml();
}

std::string XMLHelp::OnParameterChanged(const std::string& paramName, const std::string& newValue)
{
    XmlDocument document;
    PrepareDocument(document);
    if (!loadTemplate(document, "DTMOnParameterChanged.xml"))
        return {};
    Node changed = requireNode(document, paths::kChangedParameter);
    setAttribut("ParamName", paramName, changed);
    setAttribut("NewValue", newValue, changed);
    return document.takeXml();
}

std::string XMLHelp::FdtBasicChannelParameter(const std::string& systemTag, const std::string& channelUuid)
{
    XmlDocument document;
    PrepareDocument(document);
    if (!loadTemplate(document, "DTMInformation.xml"))
        return {};
    const OwnVersion own = readOwnVersion(document, false);

    if (!loadTemplate(document, "FDTBasicChannelParameter.xml"))
        return {};
    Node version = requireNode(document, paths::kChannelTypeVersion);
    setAttribut("name", own.name, version);
    setAttribut("vendor", own.vendor, version);
    setAttribut("version", own.version, version);
    setAttribut("date", own.date, version);
    Node channel = requireNode(document, paths::kBasicChannel);
    setAttribut("fdt:tag", systemTag, channel);
    setAttribut("fdt:id", channelUuid, channel);
    return document.takeXml();
}

} // namespace zeb2hart::xml
