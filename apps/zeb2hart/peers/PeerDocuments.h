#pragma once
// The FDT documents the peers and the frame write and read: the HART requests
// of the child device DTM, the ZEB answers of the communication DTM, and the
// frame's device type, user information and function call documents. Built
// with the xml layer's DOM helpers in the namespaces of the schemas they
// validate against; read through an XMLHelp that knows the frame's and the
// component's schemas.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace zeb2hart::frame {

// One function a DTM offers, as its functions document lists it.
struct DtmFunction {
    std::string id;            // functionId
    std::string name;          // as the DTM translated it
    std::string applicationId; // "offlineParameterize", "diagnosis", ...
    std::string userInterface; // "ActiveX" for a function with a page
};

class PeerDocuments {
public:
    // `componentFolder` holds XMLSchemas/ (the ZEB documents' schemas); `frameSchemaFolder`
    // the FDT schemas of the frame. Folders that cannot be read leave the reader without
    // those schemas.
    PeerDocuments(const std::filesystem::path& componentFolder, const std::filesystem::path& frameSchemaFolder);
    ~PeerDocuments();
    PeerDocuments(const PeerDocuments&) = delete;
    PeerDocuments& operator=(const PeerDocuments&) = delete;

    // --- the child device DTM's requests (HART protocol) ---------------------------
    std::string hartConnectRequest(const std::string& tag, std::int16_t shortAddress) const;
    std::string hartDisconnectRequest(const std::string& communicationReference) const;
    std::string hartTransactionRequest(int commandNumber, const std::string& communicationReference,
                                       const std::string& dataHex) const;

    // --- the communication DTM's answers (ZEB protocol) -------------------------------
    std::string zebConnectResponse(const std::string& communicationReference, const std::string& tag) const;
    std::string zebDisconnectResponse(const std::string& communicationReference) const;
    std::string zebDataExchangeResponse(const std::string& communicationReference, int status, long objectNo,
                                        int subNo, int messageType, const std::string& dataHex) const;
    std::string zebCommError(const std::string& communicationReference, const std::string& tag,
                             const std::string& error, const std::string& zebActive) const;

    // --- the frame's documents --------------------------------------------------------
    std::string deviceType(const std::string& name, const std::string& busCategory) const;
    std::string userInformation(const std::string& userLevel) const;
    std::string functionCall(const std::string& functionId) const;

    // The attribute of the first element at `path` ("FDT/ConnectRequest"), or nothing
    // when the document does not load or validate, or the element or attribute is
    // missing. An empty `name` asks only for the element: "" when it is there.
    std::optional<std::string> attribute(const std::string& document, const std::string& path,
                                         const std::string& name) const;
    // The attribute as a whole number, `fallback` when it is missing, empty or not a number.
    long number(const std::string& document, const std::string& path, const std::string& name, long fallback) const;
    // The functions of an IDtm::GetFunctions document, in document order; empty
    // when the document does not load or validate.
    std::vector<DtmFunction> functions(const std::string& document) const;
    // Why a document does not load or validate; "" when it does.
    std::string problem(const std::string& document) const;

private:
    struct Reader;
    std::unique_ptr<Reader> m_reader;
};

} // namespace zeb2hart::frame
