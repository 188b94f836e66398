#include "PublishedLayout.h"

#include <stdexcept>

namespace zeb2hart::test::published {
namespace {

constexpr Type kBstr{"BSTR", {}, 0};
constexpr Type kXmlDocument{"FdtXmlDocument", "BSTR", 0};
constexpr Type kUuid{"FdtUUIDString", "BSTR", 0};
constexpr Type kXPath{"FdtXPath", "BSTR", 0};
constexpr Type kBool{"VARIANT_BOOL", {}, 0};
constexpr Type kShort{"short", {}, 0};
constexpr Type kLong{"long", {}, 0};
constexpr Type kVariantPointer{"VARIANT", {}, 1};

constexpr Type pointer(std::string_view interfaceName)
{
    return {interfaceName, {}, 1};
}

Parameter in(std::string_view name, Type type)
{
    return {name, type, Direction::In};
}

Parameter result(Type type)
{
    ++type.pointers;
    return {{}, type, Direction::OutRetval};
}

constexpr Kind kMethod = Kind::Method;
constexpr Kind kGet = Kind::PropertyGet;

// Made on first use: tests read it while their suites are instantiated.
const std::vector<Interface>& table()
{
    static const std::vector<Interface> kInterfaces = {
        {"IDtm", L"{036D1481-387B-11D4-86E1-00E0987270B9}",
         {
             {1, "Environment", kMethod,
              {in("systemTag", kBstr), in("container", pointer("IFdtContainer")), result(kBool)}},
             {2, "InitNew", kMethod, {in("deviceType", kXmlDocument), result(kBool)}},
             {3, "Config", kMethod, {in("userInfo", kXmlDocument), result(kBool)}},
             {4, "SetCommunication", kMethod, {in("communication", pointer("IFdtCommunication")), result(kBool)}},
             {5, "PrepareToRelease", kMethod, {result(kBool)}},
             {6, "PrepareToReleaseCommunication", kMethod, {result(kBool)}},
             {7, "ReleaseCommunication", kMethod, {result(kBool)}},
             {8, "PrepareToDelete", kMethod, {result(kBool)}},
             {9, "SetLanguage", kMethod, {in("languageId", kLong), result(kBool)}},
             {10, "GetFunctions", kMethod, {in("operationState", kXmlDocument), result(kXmlDocument)}},
             {11, "InvokeFunctionRequest", kMethod,
              {in("invokeId", kUuid), in("functionCall", kXmlDocument), result(kBool)}},
             {12, "PrivateDialogEnabled", kMethod, {in("enabled", kBool), result(kBool)}},
         }},
        {"IDtmInformation", L"{036D147F-387B-11D4-86E1-00E0987270B9}",
         {
             {1, "GetInformation", kMethod, {result(kXmlDocument)}},
         }},
        {"IDtmParameter", L"{036D147D-387B-11D4-86E1-00E0987270B9}",
         {
             {1, "GetParameters", kMethod, {in("parameterPath", kXPath), result(kXmlDocument)}},
             {2, "SetParameters", kMethod,
              {in("parameterPath", kXPath), in("fdtXmlDocument", kXmlDocument), result(kBool)}},
         }},
        {"IDtmDocumentation", L"{036D147C-387B-11D4-86E1-00E0987270B9}",
         {
             {1, "GetDocumentation", kMethod, {in("functionCall", kXmlDocument), result(kXmlDocument)}},
         }},
        {"IDtmActiveXInformation", L"{036D1480-387B-11D4-86E1-00E0987270B9}",
         {
             {1, "GetActiveXGuid", kMethod, {in("functionCall", kXmlDocument), result(kUuid)}},
             {2, "GetActiveXProgId", kMethod, {in("functionCall", kXmlDocument), result(kBstr)}},
         }},
        {"IDtmActiveXControl", L"{036D1486-387B-11D4-86E1-00E0987270B9}",
         {
             {1, "Init", kMethod,
              {in("invokeId", kUuid), in("functionCall", kXmlDocument), in("dtm", pointer("IDtm")), result(kBool)}},
             {2, "PrepareToRelease", kMethod, {result(kBool)}},
         }},
        {"IDtmChannel", L"{036D1489-387B-11D4-86E1-00E0987270B9}",
         {
             {1, "GetChannels", kMethod, {result(pointer("IFdtChannelCollection"))}},
         }},
        {"IFdtChannel", L"{036D1488-387B-11D4-86E1-00E0987270B9}",
         {
             {1, "GetChannelPath", kMethod, {result(kXPath)}},
             {2, "GetChannelParameters", kMethod,
              {in("parameterPath", kXPath), in("protocolId", kUuid), result(kXmlDocument)}},
             {3, "SetChannelParameters", kMethod,
              {in("parameterPath", kXPath), in("protocolId", kUuid), in("xmlDocument", kXmlDocument), result(kBool)}},
         }},
        {"IFdtChannelSubTopology", L"{036D1484-387B-11D4-86E1-00E0987270B9}",
         {
             {1, "ScanRequest", kMethod, {in("invokeId", kUuid), result(kBool)}},
             {2, "ValidateAddChild", kMethod, {in("childSystemTag", kBstr), result(kBool)}},
             // DISPID 3 is unused.
             {4, "ValidateRemoveChild", kMethod, {in("childSystemTag", kBstr), result(kBool)}},
             {5, "OnAddChild", kMethod, {in("childSystemTag", kBstr)}},
             {6, "OnRemoveChild", kMethod, {in("childSystemTag", kBstr)}},
         }},
        {"IFdtCommunication", L"{039ECFC4-9CA8-44E6-944D-B37F288A34D8}",
         {
             {1, "Abort", kMethod, {in("fieldbusFrame", kXmlDocument)}},
             {2, "ConnectRequest", kMethod,
              {in("callBack", pointer("IFdtCommunicationEvents")), in("invokeId", kUuid), in("protocolId", kUuid),
               in("fieldbusFrame", kXmlDocument), result(kBool)}},
             {3, "DisconnectRequest", kMethod,
              {in("invokeId", kUuid), in("fieldbusFrame", kXmlDocument), result(kBool)}},
             {4, "TransactionRequest", kMethod,
              {in("invokeId", kUuid), in("fieldbusFrame", kXmlDocument), result(kBool)}},
             {5, "GetSupportedProtocols", kMethod, {result(kXmlDocument)}},
             {6, "SequenceBegin", kMethod, {in("fieldbusFrame", kXmlDocument), result(kBool)}},
             {7, "SequenceStart", kMethod, {in("fieldbusFrame", kXmlDocument), result(kBool)}},
             {8, "SequenceEnd", kMethod, {in("fieldbusFrame", kXmlDocument), result(kBool)}},
         }},
        {"IFdtCommunicationEvents", L"{036D1485-387B-11D4-86E1-00E0987270B9}",
         {
             {1, "OnAbort", kMethod, {in("communicationReference", kUuid)}},
             {2, "OnConnectResponse", kMethod, {in("invokeId", kUuid), in("response", kXmlDocument)}},
             {3, "OnDisconnectResponse", kMethod, {in("invokeId", kUuid), in("response", kXmlDocument)}},
             {4, "OnTransactionResponse", kMethod, {in("invokeId", kUuid), in("response", kXmlDocument)}},
         }},
        {"IFdtEvents", L"{036D1478-387B-11D4-86E1-00E0987270B9}",
         {
             {1, "OnChildParameterChanged", kMethod, {in("systemTag", kBstr)}},
             {2, "OnParameterChanged", kMethod, {in("systemTag", kBstr), in("parameter", kXmlDocument)}},
             {3, "OnLockDataSet", kMethod, {in("systemTag", kBstr), in("userName", kBstr)}},
             {4, "OnUnlockDataSet", kMethod, {in("systemTag", kBstr), in("userName", kBstr), result(kBool)}},
         }},
        {"IFdtChannelCollection", L"{E4F31A10-45BF-11D4-BBB3-0060080993FF}",
         {
             {1, "Item", kGet, {in("index", kVariantPointer), result(pointer("IFdtChannel"))}},
             {2, "Count", kGet, {result(kLong)}},
             {DISPID_NEWENUM, "_NewEnum", kGet, {result(pointer("IUnknown"))}},
         }},
        {"IFdtContainer", L"{036D1487-387B-11D4-86E1-00E0987270B9}",
         {
             {1, "SaveRequest", kMethod, {in("systemTag", kBstr), result(kBool)}},
             {2, "LockDataSet", kMethod, {in("systemTag", kBstr), result(kBool)}},
             {3, "UnlockDataSet", kMethod, {in("systemTag", kBstr), result(kBool)}},
             {4, "GetXmlSchemaPath", kMethod, {result(kBstr)}},
         }},
        {"IDtmEvents", L"{F15BA42E-BBF1-42ED-8009-7F664A002CFB}",
         {
             {1, "OnParameterChanged", kMethod, {in("systemTag", kBstr), in("parameter", kXmlDocument)}},
             {2, "OnErrorMessage", kMethod, {in("systemTag", kBstr), in("errorMessage", kBstr)}},
             {3, "OnProgress", kMethod,
              {in("systemTag", kBstr), in("title", kBstr), in("percent", kShort), in("show", kBool)}},
             {4, "OnUploadFinished", kMethod, {in("invokeId", kUuid), in("success", kBool)}},
             {5, "OnDownloadFinished", kMethod, {in("invokeId", kUuid), in("success", kBool)}},
             {6, "OnApplicationClosed", kMethod, {in("invokeId", kUuid)}},
             // DISPID 7 is unused.
             {8, "OnFunctionChanged", kMethod, {in("systemTag", kBstr)}},
             {9, "OnChannelFunctionChanged", kMethod, {in("systemTag", kBstr), in("channelPath", kXPath)}},
             {10, "OnPrint", kMethod, {in("systemTag", kBstr), in("functionCall", kXmlDocument)}},
             {11, "OnNavigation", kMethod, {in("systemTag", kBstr)}},
             {12, "OnOnlineStateChanged", kMethod, {in("systemTag", kBstr), in("onlineState", kBool)}},
             {13, "OnPreparedToRelease", kMethod, {in("systemTag", kBstr)}},
             {14, "OnPreparedToReleaseCommunication", kMethod, {in("systemTag", kBstr)}},
             {15, "OnInvokedFunctionFinished", kMethod, {in("invokeId", kUuid), in("success", kBool)}},
             {16, "OnScanResponse", kMethod, {in("invokeId", kUuid), in("response", kXmlDocument)}},
         }},
        {"IFdtTopology", L"{036D147A-387B-11D4-86E1-00E0987270B9}",
         {
             {1, "GetParentNodes", kMethod, {in("systemTag", kBstr), result(kXmlDocument)}},
             {2, "GetChildNodes", kMethod, {in("systemTag", kBstr), in("channelPath", kXPath), result(kXmlDocument)}},
             {3, "CreateChild", kMethod, {in("deviceType", kXmlDocument), in("channelPath", kXPath), result(kBstr)}},
             {4, "DeleteChild", kMethod, {in("systemTag", kBstr), in("channelPath", kXPath), result(kBool)}},
             {5, "GetDtmForSystemTag", kMethod, {in("systemTag", kBstr), result(pointer("IDtm"))}},
             {6, "GetDtmInfoList", kMethod, {result(kXmlDocument)}},
             {7, "MoveChild", kMethod, {in("systemTag", kBstr), in("destinationChannelPath", kXPath), result(kBool)}},
             {8, "ReleaseDtmForSystemTag", kMethod, {in("systemTag", kBstr), result(kBool)}},
         }},
    };
    return kInterfaces;
}

} // namespace

std::span<const Interface> interfaces()
{
    return table();
}

const Interface& interfaceNamed(std::string_view name)
{
    for (const Interface& entry : table()) {
        if (entry.name == name)
            return entry;
    }
    throw std::out_of_range("no published interface " + std::string(name));
}

const Operation& operation(std::string_view interfaceName, std::string_view operationName)
{
    for (const Operation& candidate : interfaceNamed(interfaceName).operations) {
        if (candidate.name == operationName)
            return candidate;
    }
    throw std::out_of_range("no published operation " + std::string(interfaceName) + "::" + std::string(operationName));
}

std::string text(const Type& type)
{
    std::string result(type.name);
    if (!type.aliasOf.empty())
        result += " (alias of " + std::string(type.aliasOf) + ")";
    return result + std::string(static_cast<std::size_t>(type.pointers), '*');
}

} // namespace zeb2hart::test::published
