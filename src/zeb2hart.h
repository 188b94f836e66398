#pragma once
// libzeb2hart, the ZEB2HART gateway DTM, as a frame hosts it. Everything a
// frame needs is declared by the headers included here:
//
//   core/ComponentClasses.h   the ProgIDs and class identifiers of the DTM and its pages
//   platform/ClassRegistry.h  creating the DTM by its ProgID
//   platform/Services.h       the services a frame installs before it creates
//                             the DTM: event loop, clocks, GUIDs, dialogs, folders
//   fdt/DtmInterfaces.h       what the frame calls on the DTM (IDtm, IDtmInformation, ...)
//   fdt/FrameInterfaces.h     what the DTM calls on the frame (IFdtContainer, IDtmEvents, IFdtTopology)
//   fdt/InterfaceTable.h      every FDT interface's operations with their DISPIDs and parameters
//   fdt/CommunicationInterfaces.h  the parent's and the child's communication interfaces
//   fdt/Object.h              objects, interfaces and query<I>(), the stand-in for QueryInterface
//   platform/PropertyBag.h    the property bags of IPersistPropertyBag
//   gateway/GatewayCounters.h the gateway's traffic and error counters per connection
//
// The headers installed are listed in src/CMakeLists.txt (ZEB2HART_PUBLIC_HEADERS);
// this file includes each of them, and a test keeps the two the same.
//
// Every call into the component is made on one thread, the frame's, which also
// runs the event loop installed in the services.

#include "core/ComponentClasses.h"
#include "fdt/CommunicationInterfaces.h"
#include "fdt/DtmInterfaces.h"
#include "fdt/Errors.h"
#include "fdt/Export.h"
#include "fdt/FrameInterfaces.h"
#include "fdt/InterfaceTable.h"
#include "fdt/InterfaceTypes.h"
#include "fdt/Guid.h"
#include "fdt/Object.h"
#include "fdt/SilentFrame.h"
#include "fdt/Variant.h"
#include "gateway/GatewayCounters.h"
#include "platform/ClassRegistry.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/EventLoop.h"
#include "platform/GuidSource.h"
#include "platform/ManualEventLoop.h"
#include "platform/ManualServices.h"
#include "platform/PropertyBag.h"
#include "platform/RunLoop.h"
#include "platform/Services.h"
