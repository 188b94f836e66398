#pragma once
// The one description of every FDT 1.2 interface the component implements or
// calls, as the FDT type library lays it out: for each interface its
// identifier and its operations in vtable order, each with its DISPID, result,
// name and parameters (type and name). Everything else follows from it: the
// C++ abstract classes (DtmInterfaces.h, FrameInterfaces.h,
// CommunicationInterfaces.h), the IDL of the Windows build and its type
// library, the COM stubs and proxies, and the operations a frame script may
// call. Correcting an operation here corrects all of them.
//
// Pure preprocessor text, so that the IDL can include it too.
//
//   ZEB2HART_FDT_INTERFACES(X)      X(Name) for every interface
//   ZEB2HART_FDT_IID_<Name>         its identifier, as text
//   ZEB2HART_FDT_OPS_<Name>(OP, PROPGET, I)
//       OP(I, dispid, Result, Name, (Type, name)...)       a method
//       PROPGET(I, dispid, Result, Name, (Type, name)...)  a property getter
//
// Types, with their type in the type library and in C++ (InterfaceTypes.h):
//   Text BSTR, Xml FdtXmlDocument, Uuid FdtUUIDString, XPath FdtXPath: std::string (UTF-8)
//   Bool VARIANT_BOOL: bool; Long long: int32_t; Short short: int16_t
//   Container IFdtContainer*, Dtm IDtm*, Channel IFdtChannel*, Unknown IUnknown*: ObjectPtr
//   Communication IFdtCommunication*, CommunicationEvents IFdtCommunicationEvents*,
//   ChannelCollection IFdtChannelCollection*: the C++ interface's shared_ptr
//   VariantRef VARIANT* (a collection's index); Void: no result

// ZEB2HART_FOR_EACH(M, (a, b), (c, d), ...) is M(a, b), M(c, d), ... (up to six).
#define ZEB2HART_FE_1(M, a) M a
#define ZEB2HART_FE_2(M, a, ...) M a, ZEB2HART_FE_1(M, __VA_ARGS__)
#define ZEB2HART_FE_3(M, a, ...) M a, ZEB2HART_FE_2(M, __VA_ARGS__)
#define ZEB2HART_FE_4(M, a, ...) M a, ZEB2HART_FE_3(M, __VA_ARGS__)
#define ZEB2HART_FE_5(M, a, ...) M a, ZEB2HART_FE_4(M, __VA_ARGS__)
#define ZEB2HART_FE_6(M, a, ...) M a, ZEB2HART_FE_5(M, __VA_ARGS__)
#define ZEB2HART_FE_PICK(_1, _2, _3, _4, _5, _6, NAME, ...) NAME
#define ZEB2HART_FOR_EACH(M, ...)                                                                               \
    ZEB2HART_FE_PICK(__VA_ARGS__, ZEB2HART_FE_6, ZEB2HART_FE_5, ZEB2HART_FE_4, ZEB2HART_FE_3, ZEB2HART_FE_2,  \
                     ZEB2HART_FE_1)(M, __VA_ARGS__)

// ZEB2HART_IF_RESULT_<Result>(tokens): the tokens for an operation with a result, nothing for one without.
#define ZEB2HART_IF_RESULT_Void(...)
#define ZEB2HART_IF_RESULT_Bool(...) __VA_ARGS__
#define ZEB2HART_IF_RESULT_Text(...) __VA_ARGS__
#define ZEB2HART_IF_RESULT_Xml(...) __VA_ARGS__
#define ZEB2HART_IF_RESULT_Uuid(...) __VA_ARGS__
#define ZEB2HART_IF_RESULT_XPath(...) __VA_ARGS__
#define ZEB2HART_IF_RESULT_Long(...) __VA_ARGS__
#define ZEB2HART_IF_RESULT_Dtm(...) __VA_ARGS__
#define ZEB2HART_IF_RESULT_Channel(...) __VA_ARGS__
#define ZEB2HART_IF_RESULT_ChannelCollection(...) __VA_ARGS__
#define ZEB2HART_IF_RESULT_Unknown(...) __VA_ARGS__

#define ZEB2HART_FDT_INTERFACES(X)                                                                              \
    X(IDtm) X(IDtmInformation) X(IDtmParameter) X(IDtmDocumentation) X(IDtmActiveXInformation)                 \
    X(IDtmActiveXControl) X(IDtmChannel) X(IFdtChannel) X(IFdtChannelSubTopology) X(IFdtCommunication)         \
    X(IFdtCommunicationEvents) X(IFdtEvents) X(IFdtChannelCollection) X(IFdtContainer) X(IDtmEvents)           \
    X(IFdtTopology)

// --- what a DTM offers its frame ---------------------------------------------------------------

#define ZEB2HART_FDT_IID_IDtm "036D1481-387B-11D4-86E1-00E0987270B9"
#define ZEB2HART_FDT_OPS_IDtm(OP, PROPGET, I)                                                                   \
    OP(I, 1, Bool, Environment, (Text, systemTag), (Container, container))                                      \
    OP(I, 2, Bool, InitNew, (Xml, deviceType))                                                                  \
    OP(I, 3, Bool, Config, (Xml, userInfo))                                                                     \
    OP(I, 4, Bool, SetCommunication, (Communication, communication))                                            \
    OP(I, 5, Bool, PrepareToRelease)                                                                            \
    OP(I, 6, Bool, PrepareToReleaseCommunication)                                                               \
    OP(I, 7, Bool, ReleaseCommunication)                                                                        \
    OP(I, 8, Bool, PrepareToDelete)                                                                             \
    OP(I, 9, Bool, SetLanguage, (Long, languageId))                                                             \
    OP(I, 10, Xml, GetFunctions, (Xml, operationState))                                                         \
    OP(I, 11, Bool, InvokeFunctionRequest, (Uuid, invokeId), (Xml, functionCall))                               \
    OP(I, 12, Bool, PrivateDialogEnabled, (Bool, enabled))

#define ZEB2HART_FDT_IID_IDtmInformation "036D147F-387B-11D4-86E1-00E0987270B9"
#define ZEB2HART_FDT_OPS_IDtmInformation(OP, PROPGET, I) OP(I, 1, Xml, GetInformation)

#define ZEB2HART_FDT_IID_IDtmParameter "036D147D-387B-11D4-86E1-00E0987270B9"
#define ZEB2HART_FDT_OPS_IDtmParameter(OP, PROPGET, I)                                                          \
    OP(I, 1, Xml, GetParameters, (XPath, parameterPath))                                                        \
    OP(I, 2, Bool, SetParameters, (XPath, parameterPath), (Xml, fdtXmlDocument))

#define ZEB2HART_FDT_IID_IDtmDocumentation "036D147C-387B-11D4-86E1-00E0987270B9"
#define ZEB2HART_FDT_OPS_IDtmDocumentation(OP, PROPGET, I) OP(I, 1, Xml, GetDocumentation, (Xml, functionCall))

#define ZEB2HART_FDT_IID_IDtmActiveXInformation "036D1480-387B-11D4-86E1-00E0987270B9"
#define ZEB2HART_FDT_OPS_IDtmActiveXInformation(OP, PROPGET, I)                                                 \
    OP(I, 1, Uuid, GetActiveXGuid, (Xml, functionCall))                                                         \
    OP(I, 2, Text, GetActiveXProgId, (Xml, functionCall))

// Offered by each of the DTM's pages.
#define ZEB2HART_FDT_IID_IDtmActiveXControl "036D1486-387B-11D4-86E1-00E0987270B9"
#define ZEB2HART_FDT_OPS_IDtmActiveXControl(OP, PROPGET, I)                                                     \
    OP(I, 1, Bool, Init, (Uuid, invokeId), (Xml, functionCall), (Dtm, dtm))                                     \
    OP(I, 2, Bool, PrepareToRelease)

#define ZEB2HART_FDT_IID_IDtmChannel "036D1489-387B-11D4-86E1-00E0987270B9"
#define ZEB2HART_FDT_OPS_IDtmChannel(OP, PROPGET, I) OP(I, 1, ChannelCollection, GetChannels)

#define ZEB2HART_FDT_IID_IFdtChannel "036D1488-387B-11D4-86E1-00E0987270B9"
#define ZEB2HART_FDT_OPS_IFdtChannel(OP, PROPGET, I)                                                            \
    OP(I, 1, XPath, GetChannelPath)                                                                             \
    OP(I, 2, Xml, GetChannelParameters, (XPath, parameterPath), (Uuid, protocolId))                             \
    OP(I, 3, Bool, SetChannelParameters, (XPath, parameterPath), (Uuid, protocolId), (Xml, xmlDocument))

// DISPID 3 is not used.
#define ZEB2HART_FDT_IID_IFdtChannelSubTopology "036D1484-387B-11D4-86E1-00E0987270B9"
#define ZEB2HART_FDT_OPS_IFdtChannelSubTopology(OP, PROPGET, I)                                                 \
    OP(I, 1, Bool, ScanRequest, (Uuid, invokeId))                                                               \
    OP(I, 2, Bool, ValidateAddChild, (Text, childSystemTag))                                                    \
    OP(I, 4, Bool, ValidateRemoveChild, (Text, childSystemTag))                                                 \
    OP(I, 5, Void, OnAddChild, (Text, childSystemTag))                                                          \
    OP(I, 6, Void, OnRemoveChild, (Text, childSystemTag))

#define ZEB2HART_FDT_IID_IFdtEvents "036D1478-387B-11D4-86E1-00E0987270B9"
#define ZEB2HART_FDT_OPS_IFdtEvents(OP, PROPGET, I)                                                             \
    OP(I, 1, Void, OnChildParameterChanged, (Text, systemTag))                                                  \
    OP(I, 2, Void, OnParameterChanged, (Text, systemTag), (Xml, parameter))                                     \
    OP(I, 3, Void, OnLockDataSet, (Text, systemTag), (Text, userName))                                          \
    OP(I, 4, Bool, OnUnlockDataSet, (Text, systemTag), (Text, userName))

// The collection a DTM hands out as its channel list: Item by 1-based position or by key.
#define ZEB2HART_FDT_IID_IFdtChannelCollection "E4F31A10-45BF-11D4-BBB3-0060080993FF"
#define ZEB2HART_FDT_OPS_IFdtChannelCollection(OP, PROPGET, I)                                                  \
    PROPGET(I, 1, Channel, Item, (VariantRef, index))                                                           \
    PROPGET(I, 2, Long, Count)                                                                                  \
    PROPGET(I, -4, Unknown, _NewEnum)

// --- communication ------------------------------------------------------------------------------

#define ZEB2HART_FDT_IID_IFdtCommunication "039ECFC4-9CA8-44E6-944D-B37F288A34D8"
#define ZEB2HART_FDT_OPS_IFdtCommunication(OP, PROPGET, I)                                                      \
    OP(I, 1, Void, Abort, (Xml, fieldbusFrame))                                                                 \
    OP(I, 2, Bool, ConnectRequest, (CommunicationEvents, callBack), (Uuid, invokeId), (Uuid, protocolId),       \
       (Xml, fieldbusFrame))                                                                                    \
    OP(I, 3, Bool, DisconnectRequest, (Uuid, invokeId), (Xml, fieldbusFrame))                                   \
    OP(I, 4, Bool, TransactionRequest, (Uuid, invokeId), (Xml, fieldbusFrame))                                  \
    OP(I, 5, Xml, GetSupportedProtocols)                                                                        \
    OP(I, 6, Bool, SequenceBegin, (Xml, fieldbusFrame))                                                         \
    OP(I, 7, Bool, SequenceStart, (Xml, fieldbusFrame))                                                         \
    OP(I, 8, Bool, SequenceEnd, (Xml, fieldbusFrame))

#define ZEB2HART_FDT_IID_IFdtCommunicationEvents "036D1485-387B-11D4-86E1-00E0987270B9"
#define ZEB2HART_FDT_OPS_IFdtCommunicationEvents(OP, PROPGET, I)                                                \
    OP(I, 1, Void, OnAbort, (Uuid, communicationReference))                                                     \
    OP(I, 2, Void, OnConnectResponse, (Uuid, invokeId), (Xml, response))                                        \
    OP(I, 3, Void, OnDisconnectResponse, (Uuid, invokeId), (Xml, response))                                     \
    OP(I, 4, Void, OnTransactionResponse, (Uuid, invokeId), (Xml, response))

// --- what a DTM calls on its frame --------------------------------------------------------------

#define ZEB2HART_FDT_IID_IFdtContainer "036D1487-387B-11D4-86E1-00E0987270B9"
#define ZEB2HART_FDT_OPS_IFdtContainer(OP, PROPGET, I)                                                          \
    OP(I, 1, Bool, SaveRequest, (Text, systemTag))                                                              \
    OP(I, 2, Bool, LockDataSet, (Text, systemTag))                                                              \
    OP(I, 3, Bool, UnlockDataSet, (Text, systemTag))                                                            \
    OP(I, 4, Text, GetXmlSchemaPath)

// The frame event interface. DISPID 7 is not used.
#define ZEB2HART_FDT_IID_IDtmEvents "F15BA42E-BBF1-42ED-8009-7F664A002CFB"
#define ZEB2HART_FDT_OPS_IDtmEvents(OP, PROPGET, I)                                                             \
    OP(I, 1, Void, OnParameterChanged, (Text, systemTag), (Xml, parameter))                                     \
    OP(I, 2, Void, OnErrorMessage, (Text, systemTag), (Text, errorMessage))                                     \
    OP(I, 3, Void, OnProgress, (Text, systemTag), (Text, title), (Short, percent), (Bool, show))                \
    OP(I, 4, Void, OnUploadFinished, (Uuid, invokeId), (Bool, success))                                         \
    OP(I, 5, Void, OnDownloadFinished, (Uuid, invokeId), (Bool, success))                                       \
    OP(I, 6, Void, OnApplicationClosed, (Uuid, invokeId))                                                       \
    OP(I, 8, Void, OnFunctionChanged, (Text, systemTag))                                                        \
    OP(I, 9, Void, OnChannelFunctionChanged, (Text, systemTag), (XPath, channelPath))                           \
    OP(I, 10, Void, OnPrint, (Text, systemTag), (Xml, functionCall))                                            \
    OP(I, 11, Void, OnNavigation, (Text, systemTag))                                                            \
    OP(I, 12, Void, OnOnlineStateChanged, (Text, systemTag), (Bool, onlineState))                               \
    OP(I, 13, Void, OnPreparedToRelease, (Text, systemTag))                                                     \
    OP(I, 14, Void, OnPreparedToReleaseCommunication, (Text, systemTag))                                        \
    OP(I, 15, Void, OnInvokedFunctionFinished, (Uuid, invokeId), (Bool, success))                               \
    OP(I, 16, Void, OnScanResponse, (Uuid, invokeId), (Xml, response))

// The frame's topology, which IDtm::Environment asks the container for.
#define ZEB2HART_FDT_IID_IFdtTopology "036D147A-387B-11D4-86E1-00E0987270B9"
#define ZEB2HART_FDT_OPS_IFdtTopology(OP, PROPGET, I)                                                           \
    OP(I, 1, Xml, GetParentNodes, (Text, systemTag))                                                            \
    OP(I, 2, Xml, GetChildNodes, (Text, systemTag), (XPath, channelPath))                                       \
    OP(I, 3, Text, CreateChild, (Xml, deviceType), (XPath, channelPath))                                        \
    OP(I, 4, Bool, DeleteChild, (Text, systemTag), (XPath, channelPath))                                        \
    OP(I, 5, Dtm, GetDtmForSystemTag, (Text, systemTag))                                                        \
    OP(I, 6, Xml, GetDtmInfoList)                                                                               \
    OP(I, 7, Bool, MoveChild, (Text, systemTag), (XPath, destinationChannelPath))                               \
    OP(I, 8, Bool, ReleaseDtmForSystemTag, (Text, systemTag))
