#pragma once
// The plain records that pass between XMLHelp and its callers: what a caller
// hands to the document builders (a ZEB request built field by field, one read
// of the command 0 identity sequence, one documentation entry), and each
// document of the peers read once into the fields the gateway decides from.

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

#include "fdt/Errors.h"
#include "fdt/Variant.h"

namespace zeb2hart::xml {

// A ZEB request built field by field (the delayed-data read).
struct ComData {
    std::uint8_t MessageType = 0;
    std::uint8_t ObjectType = 0;
    std::uint8_t NoOfBytes = 0;
    std::uint8_t SubNo = 0;
    std::int32_t ObjectNo = 0;
    fdt::Variant Data;
};

// One ZEB read of the HART command 0 identity sequence.
struct clsZEBSequence {
    std::string invokeId;
    std::int32_t ObjectNumber = 0;
    std::uint8_t SubNumber = 0;
    std::uint8_t NoOfBtes = 0;
    std::uint8_t HARTResponseDataPos = 0;
};

// One documentation entry.
struct clsDataElement {
    std::string name;
    std::string descriptor;
    std::string display;
    std::string statusFlag;
};

// One attribute of a document read into a record. An element that is not there
// reads as empty (a document that does not load has no elements); an element
// that is there without the attribute is an error only where the field is used.
struct Field {
    bool elementFound = false;
    bool attributeFound = false;
    std::string value;
    std::string_view element;   // the element's qualified name, for the error
    std::string_view attribute; // the attribute's qualified name

    // The text: "" without the element; fdt::NotFoundError when the element lacks the attribute.
    const std::string& text() const
    {
        if (elementFound && !attributeFound)
            throw missing(element, attribute);
        return value;
    }
    // The text, "" also when the element lacks the attribute.
    const std::string& textOrEmpty() const { return value; }

    // The error of an element read for an attribute it does not carry.
    static fdt::NotFoundError missing(std::string_view element, std::string_view attribute)
    {
        return fdt::NotFoundError("The element " + std::string(element) + " has no attribute " +
                                  std::string(attribute));
    }
};

// The child's HART connect request.
struct HartConnectRequest {
    Field tag;          // FDT/ConnectRequest fdt:tag
    Field shortAddress; // FDT/ConnectRequest/ShortAddress shortAddress
};

// The parent's ZEB connect response.
struct ZebConnectResponse {
    Field communicationReference; // FDT/ConnectResponse CommunicationReference
    Field tag;                    // FDT/ConnectResponse fdt:tag
};

// The parent's ZEB disconnect response.
struct ZebDisconnectResponse {
    Field communicationReference; // FDT/DisconnectResponse CommunicationReference
};

// The child's HART data-exchange request.
struct HartTransactionRequest {
    Field commandNumber;          // FDT/DataExchangeRequest commandNumber
    Field communicationReference; // FDT/DataExchangeRequest communicationReference
    Field data;                   // FDT/DataExchangeRequest/fdt:CommunicationData byteArray
};

// A ZEB data-exchange request (the gateway reads back the ones it built).
struct ZebTransactionRequest {
    Field control;           // FDT/DataExchangeRequest Control
    Field objectNo;          // FDT/DataExchangeRequest/CommunicationHeader ...
    Field subNo;
    Field messageType;
    Field communicationData;
};

// The parent's ZEB data-exchange response.
struct ZebTransactionResponse {
    Field status;                 // FDT/DataExchangeResponse Status
    Field communicationReference; // FDT/DataExchangeResponse CommunicationReference
    Field objectNo;               // FDT/DataExchangeResponse/CommunicationHeader ...
    Field subNo;
    Field noOfBytes;
    Field messageType;
    Field communicationData;
};

// The parent's ZEB communication error, which comes instead of a response.
struct ZebErrorAnswer {
    Field zebActive; // FDT/ZebCommError ...
    Field zebCommError;
    Field communicationReference;
    Field tag; // fdt:tag
};

// The parent's answer to a ZEB request: an error answer when the document holds
// FDT/ZebCommError, else a response.
using ZebAnswer = std::variant<ZebTransactionResponse, ZebErrorAnswer>;

// A HART data-exchange response (the gateway reads back the ones it built).
struct HartTransactionResponse {
    Field data; // FDT/DataExchangeResponse/fdt:CommunicationData byteArray
};

} // namespace zeb2hart::xml
