#pragma once
// The documents the fake peers and frames hand to the DTM, as text: the child's
// HART requests, the parent's ZEB answers and the frame's device type. Written
// out by hand, so that tests and fuzz targets can also write what no builder
// would; the heads of both document kinds live here only.

#include <optional>
#include <string>
#include <string_view>

#include "gateway/HartGateway.h"

namespace zeb2hart::test {

// The root elements that open a document of the child (HART) and of the parent (ZEB).
inline constexpr std::string_view kHartRoot =
    "<FDT xmlns=\"x-schema:FDTHARTCommunicationSchema.xml\" xmlns:fdt=\"x-schema:FDTDataTypesSchema.xml\">";
inline constexpr std::string_view kZebRoot =
    "<FDT xmlns=\"x-schema:ZEBCommunicationSchema.xml\" xmlns:fdt=\"x-schema:FDTDataTypesSchema.xml\">";
inline constexpr std::string_view kXmlDeclaration = "<?xml version=\"1.0\"?>";

// A document of the child (HART communication schema) or of the parent (ZEB).
inline std::string hartDocument(const std::string& body)
{
    return std::string(kXmlDeclaration) + std::string(kHartRoot) + body + "</FDT>";
}
inline std::string zebDocument(const std::string& body)
{
    return std::string(kXmlDeclaration) + std::string(kZebRoot) + body + "</FDT>";
}

// --- the child's requests --------------------------------------------------------

inline std::string hartConnectRequest(const std::string& tag, const std::string& shortAddress = "0")
{
    return hartDocument("<ConnectRequest fdt:tag=\"" + tag + "\"><ShortAddress shortAddress=\"" + shortAddress +
                        "\"/></ConnectRequest>");
}

inline std::string hartDisconnectRequest(const std::string& reference)
{
    return hartDocument("<DisconnectRequest communicationReference=\"" + reference + "\"/>");
}

// A data-exchange request; no CommunicationData element when `data` is nothing.
inline std::string hartRequest(const std::string& command, const std::optional<std::string>& data,
                               const std::string& reference = "REF-1")
{
    return hartDocument("<DataExchangeRequest commandNumber=\"" + command + "\" communicationReference=\"" +
                        reference + "\">" +
                        (data ? "<fdt:CommunicationData byteArray=\"" + *data + "\"/>" : std::string()) +
                        "</DataExchangeRequest>");
}

// --- the parent's answers ----------------------------------------------------------

inline std::string zebConnectResponse(const std::string& reference, const std::string& tag = "Parent")
{
    return zebDocument("<ConnectResponse CommunicationReference=\"" + reference + "\" fdt:tag=\"" + tag + "\"/>");
}

inline std::string zebDisconnectResponse(const std::string& reference)
{
    return zebDocument("<DisconnectResponse CommunicationReference=\"" + reference + "\"/>");
}

// A data-exchange answer with the byte count of its data; the parent writes
// CommunicationData="" for no data bytes, and nothing leaves the attribute out.
inline std::string zebResponse(const std::string& status = "0", const std::optional<std::string>& data = "",
                               const std::string& objectNo = "258", const std::string& subNo = "3",
                               const std::string& messageType = "5", const std::string& reference = "REF-1")
{
    return zebDocument("<DataExchangeResponse Status=\"" + status + "\" CommunicationReference=\"" + reference +
                       "\"><CommunicationHeader MessageType=\"" + messageType + "\" ObjectType=\"2\" NoOfBytes=\"" +
                       std::to_string(4 + data.value_or("").size() / 2) + "\" SubNo=\"" + subNo + "\" ObjectNo=\"" +
                       objectNo + "\"" + (data ? " CommunicationData=\"" + *data + "\"" : std::string()) +
                       "/></DataExchangeResponse>");
}

// A communication error; ZebActive is left out when given as nothing.
inline std::string zebError(const std::optional<std::string>& zebActive, const std::string& error,
                            const std::string& reference = "REF-1", const std::string& tag = "Parent")
{
    return zebDocument("<ZebCommError" + (zebActive ? " ZebActive=\"" + *zebActive + "\"" : std::string()) +
                       " ZebcommError=\"" + error + "\" CommunicationReference=\"" + reference + "\" fdt:tag=\"" +
                       tag + "\"/>");
}

// --- the frame's -----------------------------------------------------------------------

// The device type a frame hands to InitNew: the gateway's own, on the ZEB bus.
inline std::string gatewayDeviceType()
{
    return std::string("<FDT xmlns=\"x-schema:DTMDeviceTypeSchema.xml\" xmlns:fdt=\"x-schema:FDTDataTypesSchema.xml\">"
                       "<fdt:DtmDeviceType><fdt:VersionInformation name=\"ZEB to HART Gateway\" vendor=\"v\" "
                       "version=\"1\" date=\"2004-01-01\"/><fdt:BusCategories><fdt:BusCategory busCategory=\"") +
           gateway::kZebProtocolId + "\"/></fdt:BusCategories></fdt:DtmDeviceType></FDT>";
}

} // namespace zeb2hart::test
