#pragma once
// XMLHelp builds, loads, validates and reads every FDT XML document of the
// component. Each operation runs one pipeline: a fresh document, the schema
// collection attached, the template file or the caller's text loaded under a
// failure trap, path queries, and the serialised result (XmlDocument::takeXml,
// so that reading a built document back does not parse it again). A document
// that does not parse or validate loads as empty; only a failure of the parser
// call itself is a load error (reported in a message box). The documents of the
// peers are read once each, into the records of Records.h.
//
// The DTM object owns one instance; it is called on the one thread that calls
// into the component (the frame's apartment; in tests, the thread that runs the
// event loop).

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "fdt/Variant.h"
#include "xml/Records.h"

namespace zeb2hart::dom {
class SchemaCollection;
class XmlDocument;
struct XmlParseError;
} // namespace zeb2hart::dom

namespace zeb2hart::xml {

using SchemaCollection = dom::SchemaCollection;

class XMLHelp {
public:
    // `componentFolder` holds XMLData/ (templates) and Resources/ (pictures).
    explicit XMLHelp(std::filesystem::path componentFolder);
    ~XMLHelp();
    XMLHelp(const XMLHelp&) = delete;
    XMLHelp& operator=(const XMLHelp&) = delete;

    // --- schema collection -------------------------------------------------
    // Adds every file of the folder whose name ends in "xml" (any case) under the
    // namespace "x-schema:" + file name. A folder that cannot be listed throws
    // fdt::FileError; a schema that cannot be added is traced and skipped.
    void InitXMLSchemaCache(const std::string& schemaPath);
    // The same into a new collection; this instance's collection is not touched.
    std::shared_ptr<SchemaCollection> GetXMLSchemas(const std::string& schemaPath) const;
    const SchemaCollection& Cache() const;
    // Adds each schema file (*.xml) of the folder `schemaPath` to `collection`
    // under "x-schema:" + its name, in name order, as the collections of the
    // component are filled; `onError` hears of each file that cannot be added
    // (its name and why). fdt::FileError when the folder cannot be listed.
    // The template of GetDTMFunctionsDoc, whose $(id) tags DTMMain translates from the dictionary.
    static constexpr const char* kFunctionsTemplate = "DTMFunctions.xml";
    using SchemaFileError = std::function<void(const std::string& fileName, const std::string& reason)>;
    static void AddSchemaFolder(SchemaCollection& collection, const std::string& schemaPath,
                                const SchemaFileError& onError);

    // --- description documents -----------------------------------------------
    std::string GetDTMInformationDoc(const std::string& pathToXmlSchemas);
    bool CheckInitInformation(const std::string& deviceType);
    std::string GetUserLevel(const std::string& userInfo);
    // The function list; without pages, the functions whose user interface is a page are left out.
    std::string GetDTMFunctionsDoc(const std::string& pathToXmlSchemas, bool withPages = true);
    std::string GetProgId(const std::string& functionCall);
    // The attribute as it comes: Null when absent, Empty after a load error.
    fdt::Variant DocFunctionID(const std::string& functionCall);
    std::string GetDTMDocumentationDoc(const std::vector<clsDataElement>& adapterParameter);
    std::string GetDTMParametersDoc(const std::string& pathToXmlSchemas);
    std::string OnParameterChanged(const std::string& paramName, const std::string& newValue);
    std::string FdtBasicChannelParameter(const std::string& systemTag, const std::string& channelUuid);

    // --- connect and disconnect documents --------------------------------------
    std::string BuildHARTConnectRequest(const std::string& fdtTag);
    std::string BuildHARTConnectResponse(const std::string& tag, const std::string& communicationReference,
                                         std::int16_t shortAddress);
    std::string BuildHARTDisconnectResponse(const std::string& communicationReference);
    std::string XMLDisconnectResponse(const std::string& communicationReference);
    std::string ZEBConnectResponseXML(const std::string& communicationReference);
    std::string GetSupportedProtocols();

    // --- data-exchange documents -------------------------------------------
    std::string ZEBDataExchangeXML(std::int16_t msgType, const std::string& zebString,
                                   const std::string& communicationReference);
    std::string ZEBSeqDataExchangeXML(std::int16_t msgType, const clsZEBSequence& seqElem,
                                      const std::string& communicationReference);
    // Optional arguments count as given when they are not Empty.
    std::string GetXMLDocumentDelayedData(const std::string& communicationReference,
                                          const std::optional<ComData>& communicationData = std::nullopt,
                                          const fdt::Variant& control = {}, const fdt::Variant& specFct = {},
                                          const fdt::Variant& filename = {});
    std::string ZEBToHARTCommunicationData(const std::string& fieldbusFrame);
    std::string ZEBToHARTCommunicationDataDelayed(const std::string& fieldbusFrame);
    bool IsErrorProtocol(const std::string& response);
    std::string HARTTransactionResponseXML(std::int16_t commandNumber, const std::string& communicationReference,
                                           const std::string& communicationData, std::uint8_t devStatus,
                                           std::uint8_t cmdResponse);
    std::string HARTErrorUndefinedXML(std::uint8_t commandNumber, const std::string& communicationReference);
    std::string HARTErrorResponseXML(const std::string& zebCommError, const std::string& fdtTag);

    // --- the peers' documents, each read once into its record -------------------
    // Fields of an element that is not there read as empty, also for text that
    // does not load; an attribute that its element lacks is an error where the
    // field is used (Field::text).
    HartConnectRequest ReadHartConnectRequest(const std::string& document);
    ZebConnectResponse ReadZebConnectResponse(const std::string& document);
    ZebDisconnectResponse ReadZebDisconnectResponse(const std::string& document);
    HartTransactionRequest ReadHartTransactionRequest(const std::string& document);
    ZebAnswer ReadZebAnswer(const std::string& document);
    // The documents built here, read back as the peer will read them.
    ZebTransactionRequest ReadZebTransactionRequest(const std::string& document);
    HartTransactionResponse ReadHartTransactionResponse(const std::string& document);
    // ZEBToHARTCommunicationData and ZEBToHARTCommunicationDataDelayed of a response already read.
    static std::string ZEBToHARTCommunicationData(const ZebTransactionResponse& response);
    static std::string ZEBToHARTCommunicationDataDelayed(const ZebTransactionResponse& response);

    // The text of attribute `attrName` of the first element at `pathToAttr`; "" when
    // no element is found (or the text does not load); fdt::NotFoundError when the
    // element lacks the attribute.
    std::string GetAttributeFromXML(const std::string& xmlString, const std::string& pathToAttr,
                                    const std::string& attrName);
    static std::string ValueToText(const fdt::Variant& value);

    const std::filesystem::path& componentFolder() const { return m_componentFolder; }

    // The template file `fileName` of XMLData/; where only the letter case differs
    // (DtmInformation.xml, DTMInformation.xml), the file that exists.
    std::filesystem::path templatePath(const std::string& fileName) const;

private:
    // The document pipeline. PrepareDocument attaches the schema collection;
    // loadTemplate/loadText load under the failure trap and answer false (after
    // ShowLoadError) only when the parser call itself failed. A document that
    // does not parse or validate loads empty and answers true. A template comes
    // as a private copy of its parsed and validated file (parsed again when the
    // file changes); a text's document is shared with the other reads of the
    // same text and is only read.
    void PrepareDocument(dom::XmlDocument& document) const;
    bool loadTemplate(dom::XmlDocument& document, const std::string& fileName);
    bool loadText(dom::XmlDocument& document, const std::string& text) const;
    // loadText for the readers: a text that does not load leaves a document without elements.
    void loadForReading(dom::XmlDocument& document, const std::string& text) const;
    // Runs `load` under the failure trap: false, after ShowLoadError, when the parser call failed.
    template <class Load>
    static bool trapLoad(dom::XmlDocument& document, Load load);
    static void ShowLoadError(const dom::XmlParseError& error);
    static void fillSchemaCollection(SchemaCollection& collection, const std::string& schemaPath);
    std::string disconnectResponse(const std::string& communicationReference);

    // XMLData/ + the name, as the templates were asked for so far.
    const std::filesystem::path& templateFile(const std::string& fileName);

    std::filesystem::path m_componentFolder;
    std::shared_ptr<SchemaCollection> m_cache;
    std::vector<std::pair<std::string, std::filesystem::path>> m_templateFiles;
};

} // namespace zeb2hart::xml
