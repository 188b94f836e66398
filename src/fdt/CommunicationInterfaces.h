#pragma once
// The FDT 1.2 communication interfaces, as abstract classes made from the
// interface table (InterfaceTable.h): a channel's IFdtCommunication (Abort,
// ConnectRequest, DisconnectRequest, TransactionRequest, GetSupportedProtocols,
// SequenceBegin/Start/End) and the IFdtCommunicationEvents callback through
// which its answers come back (OnAbort, OnConnectResponse, OnDisconnectResponse,
// OnTransactionResponse). Parent and child call the DTM's on the thread of the
// DTM's apartment, and the DTM calls theirs on that thread too.

#include <memory>
#include <string>

#include "Export.h"
#include "InterfaceTypes.h"
#include "Object.h"

namespace zeb2hart::fdt {

ZEB2HART_FDT_CLASS(IFdtCommunicationEvents)
ZEB2HART_FDT_CLASS(IFdtCommunication)

} // namespace zeb2hart::fdt
