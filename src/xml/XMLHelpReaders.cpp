// The reading half of XMLHelp: each document of the peers loaded once and read
// into its record, field by field from one table per kind of document, and the
// operations that answer from such a record.

#include <cstddef>
#include <string_view>

#include "dom/XmlDom.h"
#include "support/Conversions.h"
#include "xml/DocumentPaths.h"
#include "xml/XMLHelp.h"

namespace zeb2hart::xml {

using dom::XmlDocument;

namespace {

// The element's name as a path step matches it: the last step.
constexpr std::string_view lastStep(std::string_view path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

// Where a record's field comes from: the attribute of the element at the path.
template <class Record>
struct FieldSource {
    constexpr FieldSource(Field Record::*field, std::string_view path, const char* attribute)
        : field(field), path(path), element(lastStep(path)), attribute(attribute)
    {
    }
    Field Record::*field;
    std::string_view path;
    std::string_view element;
    const char* attribute;
};

constexpr FieldSource<HartConnectRequest> kHartConnectRequest[] = {
    {&HartConnectRequest::tag, paths::kConnectRequest, "fdt:tag"},
    {&HartConnectRequest::shortAddress, paths::kConnectRequestAddress, "shortAddress"},
};

constexpr FieldSource<ZebConnectResponse> kZebConnectResponse[] = {
    {&ZebConnectResponse::communicationReference, paths::kConnectResponse, "CommunicationReference"},
    {&ZebConnectResponse::tag, paths::kConnectResponse, "fdt:tag"},
};

constexpr FieldSource<ZebDisconnectResponse> kZebDisconnectResponse[] = {
    {&ZebDisconnectResponse::communicationReference, paths::kDisconnectResponse, "CommunicationReference"},
};

constexpr FieldSource<HartTransactionRequest> kHartTransactionRequest[] = {
    {&HartTransactionRequest::commandNumber, paths::kRequest, "commandNumber"},
    {&HartTransactionRequest::communicationReference, paths::kRequest, "communicationReference"},
    {&HartTransactionRequest::data, paths::kRequestData, "byteArray"},
};

constexpr FieldSource<ZebTransactionRequest> kZebTransactionRequest[] = {
    {&ZebTransactionRequest::control, paths::kRequest, "Control"},
    {&ZebTransactionRequest::objectNo, paths::kRequestHeader, "ObjectNo"},
    {&ZebTransactionRequest::subNo, paths::kRequestHeader, "SubNo"},
    {&ZebTransactionRequest::messageType, paths::kRequestHeader, "MessageType"},
    {&ZebTransactionRequest::communicationData, paths::kRequestHeader, "CommunicationData"},
};

constexpr FieldSource<ZebTransactionResponse> kZebTransactionResponse[] = {
    {&ZebTransactionResponse::status, paths::kResponse, "Status"},
    {&ZebTransactionResponse::communicationReference, paths::kResponse, "CommunicationReference"},
    {&ZebTransactionResponse::objectNo, paths::kResponseHeader, "ObjectNo"},
    {&ZebTransactionResponse::subNo, paths::kResponseHeader, "SubNo"},
    {&ZebTransactionResponse::noOfBytes, paths::kResponseHeader, "NoOfBytes"},
    {&ZebTransactionResponse::messageType, paths::kResponseHeader, "MessageType"},
    {&ZebTransactionResponse::communicationData, paths::kResponseHeader, "CommunicationData"},
};

constexpr FieldSource<ZebErrorAnswer> kZebErrorAnswer[] = {
    {&ZebErrorAnswer::zebActive, paths::kZebCommError, "ZebActive"},
    {&ZebErrorAnswer::zebCommError, paths::kZebCommError, "ZebcommError"},
    {&ZebErrorAnswer::communicationReference, paths::kZebCommError, "CommunicationReference"},
    {&ZebErrorAnswer::tag, paths::kZebCommError, "fdt:tag"},
};

constexpr FieldSource<HartTransactionResponse> kHartTransactionResponse[] = {
    {&HartTransactionResponse::data, paths::kResponseData, "byteArray"},
};

// The element at `path`, where `previous` is the element at `previousPath`. When
// that path leads to this one, the element is looked for below `previous` first:
// as the first match of its own path, `previous` holds the first match of this
// one whenever it holds any.
xmlNode* selectAfter(const XmlDocument& document, std::string_view path, xmlNode* previous,
                     std::string_view previousPath)
{
    if (previous != nullptr && path.size() > previousPath.size() && path.starts_with(previousPath) &&
        path[previousPath.size()] == '/')
        if (xmlNode* below = dom::selectSingleNode(previous, path.substr(previousPath.size() + 1)))
            return below;
    return document.selectSingleNode(path);
}

// The record's fields from the document; each element is selected once.
template <class Record, std::size_t N>
Record readRecord(const XmlDocument& document, const FieldSource<Record> (&sources)[N])
{
    Record record;
    std::string_view selected;
    xmlNode* element = nullptr;
    for (const FieldSource<Record>& source : sources) {
        if (source.path.data() != selected.data()) {
            element = selectAfter(document, source.path, element, selected);
            selected = source.path;
        }
        Field& field = record.*source.field;
        field.element = source.element;
        field.attribute = source.attribute;
        if (element == nullptr)
            continue;
        field.elementFound = true;
        if (const xmlAttr* attribute = dom::findAttribute(element, source.attribute)) {
            field.attributeFound = true;
            field.value = dom::attributeValue(attribute);
        }
    }
    return record;
}

} // namespace

// --- reading ------------------------------------------------------------------------

void XMLHelp::loadForReading(XmlDocument& document, const std::string& text) const
{
    PrepareDocument(document);
    if (!loadText(document, text))
        document.clear();
}

HartConnectRequest XMLHelp::ReadHartConnectRequest(const std::string& text)
{
    XmlDocument document;
    loadForReading(document, text);
    return readRecord(document, kHartConnectRequest);
}

ZebConnectResponse XMLHelp::ReadZebConnectResponse(const std::string& text)
{
    XmlDocument document;
    loadForReading(document, text);
    return readRecord(document, kZebConnectResponse);
}

ZebDisconnectResponse XMLHelp::ReadZebDisconnectResponse(const std::string& text)
{
    XmlDocument document;
    loadForReading(document, text);
    return readRecord(document, kZebDisconnectResponse);
}

HartTransactionRequest XMLHelp::ReadHartTransactionRequest(const std::string& text)
{
    XmlDocument document;
    loadForReading(document, text);
    return readRecord(document, kHartTransactionRequest);
}

ZebAnswer XMLHelp::ReadZebAnswer(const std::string& text)
{
    XmlDocument document;
    loadForReading(document, text);
    if (document.selectSingleNode(paths::kZebCommError) != nullptr)
        return readRecord(document, kZebErrorAnswer);
    return readRecord(document, kZebTransactionResponse);
}

ZebTransactionRequest XMLHelp::ReadZebTransactionRequest(const std::string& text)
{
    XmlDocument document;
    loadForReading(document, text);
    return readRecord(document, kZebTransactionRequest);
}

HartTransactionResponse XMLHelp::ReadHartTransactionResponse(const std::string& text)
{
    XmlDocument document;
    loadForReading(document, text);
    return readRecord(document, kHartTransactionResponse);
}

std::string XMLHelp::GetAttributeFromXML(const std::string& xmlString, const std::string& pathToAttr,
                                         const std::string& attrName)
{
    XmlDocument document;
    PrepareDocument(document);
    if (!loadText(document, xmlString))
        return {};
    const xmlNode* element = document.selectSingleNode(pathToAttr);
    if (element == nullptr)
        return {};
    std::optional<std::string> value = dom::attribute(element, attrName);
    if (!value)
        throw Field::missing(dom::qualifiedName(element), attrName);
    return *value;
}

// --- answering from a response ----------------------------------------------------------

bool XMLHelp::IsErrorProtocol(const std::string& response)
{
    return std::holds_alternative<ZebErrorAnswer>(ReadZebAnswer(response));
}

std::string XMLHelp::ZEBToHARTCommunicationData(const std::string& fieldbusFrame)
{
    XmlDocument document;
    PrepareDocument(document);
    if (!loadText(document, fieldbusFrame))
        return {};
    return ZEBToHARTCommunicationData(readRecord(document, kZebTransactionResponse));
}

std::string XMLHelp::ZEBToHARTCommunicationData(const ZebTransactionResponse& response)
{
    // Object (the last four of eight digits), sub-number, status, length, data;
    // the parts of an element that is not there are empty.
    std::string statusText;
    if (response.status.elementFound)
        statusText = support::HexByte(support::toByte(response.status.text()));
    if (!response.objectNo.elementFound)
        return statusText;
    std::string telegram = support::HexLong(support::toLong(response.objectNo.text())).substr(4);
    telegram += support::HexByte(support::toByte(response.subNo.text()));
    telegram += statusText;
    const std::int32_t noOfBytes = support::toLong(response.noOfBytes.text());
    telegram += support::HexByte(
        support::toByte(fdt::Variant(static_cast<std::int32_t>(noOfBytes - std::int64_t{4}))));
    telegram += response.communicationData.text();
    return telegram;
}

std::string XMLHelp::ZEBToHARTCommunicationDataDelayed(const std::string& fieldbusFrame)
{
    XmlDocument document;
    PrepareDocument(document);
    if (!loadText(document, fieldbusFrame))
        return {};
    return ZEBToHARTCommunicationDataDelayed(readRecord(document, kZebTransactionResponse));
}

std::string XMLHelp::ZEBToHARTCommunicationDataDelayed(const ZebTransactionResponse& response)
{
    // The status is not part of the result, but it must read as a byte.
    if (response.status.elementFound)
        (void)support::toByte(response.status.text());
    if (!response.communicationData.elementFound)
        throw fdt::NotFoundError(std::string("The document has no element ") + paths::kResponseHeader);
    return response.communicationData.text();
}

} // namespace zeb2hart::xml
