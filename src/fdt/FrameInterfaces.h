#pragma once
// The frame's FDT 1.2 interfaces that a DTM calls, as abstract classes made
// from the interface table (InterfaceTable.h). All three are offered by the
// container object given to IDtm::Environment; the DTM calls them on its own
// apartment's thread (through a proxy when the frame lives in another):
//
//   IFdtContainer  SaveRequest, LockDataSet, UnlockDataSet, GetXmlSchemaPath
//   IDtmEvents     the frame event interface: OnParameterChanged ... OnScanResponse
//   IFdtTopology   the frame's topology: GetParentNodes ... ReleaseDtmForSystemTag
//                  (IDtm::Environment only checks that the container offers it)

#include <cstdint>
#include <string>

#include "Export.h"
#include "InterfaceTypes.h"
#include "Object.h"

namespace zeb2hart::fdt {

ZEB2HART_FDT_CLASS(IFdtContainer)
ZEB2HART_FDT_CLASS(IDtmEvents)
ZEB2HART_FDT_CLASS(IFdtTopology)

} // namespace zeb2hart::fdt
