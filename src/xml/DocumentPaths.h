#pragma once
// Every element that XMLHelp selects in the documents it builds and reads, by
// its path query from the document node: the one place the paths are spelled.
// Constants; any thread. In the component only the files of this folder include
// it (the layers above see records); the frame stand-in's peers and scripts,
// which read the same documents, take their paths from here too.

namespace zeb2hart::xml::paths {

// Connect and disconnect documents.
inline constexpr char kConnectRequest[] = "FDT/ConnectRequest";
inline constexpr char kConnectRequestAddress[] = "FDT/ConnectRequest/ShortAddress";
inline constexpr char kConnectResponse[] = "FDT/ConnectResponse";
inline constexpr char kConnectResponseAddress[] = "FDT/ConnectResponse/ShortAddress";
inline constexpr char kDisconnectResponse[] = "FDT/DisconnectResponse";

// Data-exchange documents: requests (the child's HART request, the ZEB requests
// built for the parent), responses (the parent's ZEB answer, the HART answer
// built for the child) and the two error documents.
inline constexpr char kRequest[] = "FDT/DataExchangeRequest";
inline constexpr char kRequestHeader[] = "FDT/DataExchangeRequest/CommunicationHeader";
inline constexpr char kRequestData[] = "FDT/DataExchangeRequest/fdt:CommunicationData";
inline constexpr char kResponse[] = "FDT/DataExchangeResponse";
inline constexpr char kResponseHeader[] = "FDT/DataExchangeResponse/CommunicationHeader";
inline constexpr char kResponseData[] = "FDT/DataExchangeResponse/fdt:CommunicationData";
inline constexpr char kResponseStatus[] = "FDT/DataExchangeResponse/Status";
inline constexpr char kCommandResponse[] = "FDT/DataExchangeResponse/Status/CommandResponse";
inline constexpr char kZebCommError[] = "FDT/ZebCommError";
inline constexpr char kCommunicationError[] = "FDT/fdt:CommunicationError";

// Description documents.
inline constexpr char kOwnVersion[] = "FDT/DtmInfo/fdt:VersionInformation";
inline constexpr char kOwnDeviceType[] = "FDT/DtmInfo/DtmDeviceTypes/fdt:DtmDeviceType";
inline constexpr char kOwnDeviceIcon[] = "FDT/DtmInfo/DtmDeviceTypes/fdt:DtmDeviceType/fdt:DeviceIcon";
inline constexpr char kOwnDeviceTypeVersion[] = "FDT/DtmInfo/DtmDeviceTypes/fdt:DtmDeviceType/fdt:VersionInformation";
inline constexpr char kDeviceTypeVersion[] = "FDT/fdt:DtmDeviceType/fdt:VersionInformation";
inline constexpr char kDeviceTypeBusCategory[] = "FDT/fdt:DtmDeviceType/fdt:BusCategories/fdt:BusCategory";
inline constexpr char kUserInformation[] = "FDT/FDTUserInformation";
inline constexpr char kFunctionCall[] = "FDT/FDTFunctionCall";
inline constexpr char kStandardFunctions[] = "FDT/DtmFunctions/StandardFunctions";
inline constexpr char kDocumentationVersion[] = "FDT/fdt:VersionInformation";
inline constexpr char kDocumentVariables[] = "FDT/DocumentVariables";
inline constexpr char kGraphicReference[] = "FDT/DocumentVariables/GraphicReference";
inline constexpr char kChangedParameter[] = "FDT/ChangedParameter";
inline constexpr char kChannelTypeVersion[] = "FDT/FDTChannelType/fdt:VersionInformation";
inline constexpr char kBasicChannel[] = "FDT/FDTBasicChannel";

} // namespace zeb2hart::xml::paths
