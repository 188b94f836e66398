// Every XMLHelp operation that reads a document given by a peer or the frame.
// Input: byte 0 picks the operation (bits 0-3) and whether the frame's and the
// component's schemas are loaded (bit 7); byte 1 picks the path and attribute
// of GetAttributeFromXML; the rest is the document. Each read runs twice: the
// second finds the first one's parse shared and must answer the same.
#include <cstdint>
#include <cstdlib>
#include <exception>
#include <string>
#include <utility>

#include "FuzzSupport.h"
#include "fdt/Variant.h"
#include "xml/XMLHelp.h"

namespace {

using namespace zeb2hart;

// The paths and attributes the gateway and the DTM read from peer documents.
const std::pair<const char*, const char*> kReads[] = {
    {"FDT/DataExchangeRequest", "commandNumber"},
    {"FDT/DataExchangeRequest/fdt:CommunicationData", "byteArray"},
    {"FDT/DataExchangeRequest", "communicationReference"},
    {"FDT/ConnectRequest/ShortAddress", "shortAddress"},
    {"FDT/ConnectRequest", "fdt:tag"},
    {"FDT/ConnectResponse", "CommunicationReference"},
    {"FDT/ConnectResponse", "fdt:tag"},
    {"FDT/DisconnectResponse", "CommunicationReference"},
    {"FDT/ZebCommError", "ZebActive"},
    {"FDT/ZebCommError", "ZebcommError"},
    {"FDT/ZebCommError", "CommunicationReference"},
    {"FDT/ZebCommError", "fdt:tag"},
    {"FDT/DataExchangeResponse/CommunicationHeader", "ObjectNo"},
    {"FDT/DataExchangeResponse/CommunicationHeader", "SubNo"},
    {"FDT/DataExchangeResponse/CommunicationHeader", "MessageType"},
    {"FDT/DataExchangeResponse/CommunicationHeader", "CommunicationData"},
    {"FDT/DataExchangeResponse", "Status"},
    {"FDT/DataExchangeResponse", "CommunicationReference"},
    {"FDT/DataExchangeResponse/fdt:CommunicationData", "byteArray"},
    {"FDT/DataExchangeRequest/CommunicationHeader", "ObjectNo"},
    {"FDT/FDTFunctionCall", "func:functionId"},
    {"FDT/FDTUserInformation", "userLevel"},
};
constexpr std::size_t kReadCount = sizeof kReads / sizeof kReads[0];

xml::XMLHelp& helper(bool withSchemas)
{
    static xml::XMLHelp without(fuzz::componentDir());
    static xml::XMLHelp with(fuzz::componentDir());
    static const bool loaded = [] {
        with.InitXMLSchemaCache(fuzz::frameSchemaDir().string());
        with.InitXMLSchemaCache((fuzz::componentDir() / "XMLSchemas").string());
        return true;
    }();
    (void)loaded;
    return withSchemas ? with : without;
}

// The answer of one read as text, or the kind of error it raised.
std::string read(xml::XMLHelp& help, unsigned operation, std::size_t which, const std::string& document)
{
    try {
        switch (operation) {
        case 0:
            return help.GetAttributeFromXML(document, kReads[which].first, kReads[which].second);
        case 1:
            return help.CheckInitInformation(document) ? "true" : "false";
        case 2:
            return help.GetUserLevel(document);
        case 3:
            return help.GetProgId(document);
        case 4: {
            const fdt::Variant id = help.DocFunctionID(document);
            return id.isEmpty() ? "<empty>" : id.is<std::string>() ? id.as<std::string>() : "<other>";
        }
        case 5:
            return help.ZEBToHARTCommunicationData(document);
        case 6:
            return help.ZEBToHARTCommunicationDataDelayed(document);
        default:
            return help.IsErrorProtocol(document) ? "true" : "false";
        }
    } catch (const std::exception& e) {
        // An error to the caller is specified behaviour (an absent attribute, a value that does not convert).
        return std::string("<error> ") + e.what();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2)
        return 0;
    fuzz::services().reset();
    const unsigned operation = data[0] & 0x0F;
    xml::XMLHelp& help = helper((data[0] & 0x80) != 0);
    const std::size_t which = data[1] % kReadCount;
    const std::string document = fuzz::text(data + 2, size - 2);
    const std::string first = read(help, operation, which, document);
    const std::string second = read(help, operation, which, document);
    if (first != second)
        std::abort(); // a shared parse answered otherwise than a fresh one
    return 0;
}
