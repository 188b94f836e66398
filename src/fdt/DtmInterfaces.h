#pragma once
// The FDT 1.2 interfaces that a DTM offers the frame, as abstract classes made
// from the interface table (InterfaceTable.h: each operation with its DISPID,
// result and parameters, in vtable order). The frame calls them on the thread
// of the DTM's apartment, the one that created the DTM:
//
//   IDtm                    lifecycle, functions, language (Environment ... PrivateDialogEnabled)
//   IDtmInformation         GetInformation
//   IDtmParameter           GetParameters, SetParameters
//   IDtmDocumentation       GetDocumentation
//   IDtmActiveXInformation  GetActiveXGuid, GetActiveXProgId: the page of a function
//   IDtmActiveXControl      Init, PrepareToRelease: offered by each page
//   IDtmChannel             GetChannels: the channel list as an IFdtChannelCollection
//   IFdtChannel             GetChannelPath, GetChannelParameters, SetChannelParameters
//   IFdtChannelSubTopology  ScanRequest, ValidateAddChild, ValidateRemoveChild, OnAddChild, OnRemoveChild
//   IFdtEvents              OnChildParameterChanged, OnParameterChanged, OnLockDataSet, OnUnlockDataSet

#include <cstdint>
#include <memory>
#include <string>

#include "Export.h"
#include "InterfaceTypes.h"
#include "Object.h"

namespace zeb2hart::fdt {

ZEB2HART_FDT_CLASS(IDtm)
ZEB2HART_FDT_CLASS(IDtmInformation)
ZEB2HART_FDT_CLASS(IDtmParameter)
ZEB2HART_FDT_CLASS(IDtmDocumentation)
ZEB2HART_FDT_CLASS(IDtmActiveXInformation)
ZEB2HART_FDT_CLASS(IDtmActiveXControl)
ZEB2HART_FDT_CLASS(IDtmChannel)
ZEB2HART_FDT_CLASS(IFdtChannel)
ZEB2HART_FDT_CLASS(IFdtChannelSubTopology)
ZEB2HART_FDT_CLASS(IFdtEvents)

// The collection a DTM hands out as its channel list. Its COM form (the table's
// Item, Count and _NewEnum properties) takes the index as a VARIANT; here a
// position and a key are two overloads.
class ZEB2HART_API IFdtChannelCollection : public virtual Object {
public:
    static constexpr Guid kIid = Guid::literal(ZEB2HART_FDT_IID_IFdtChannelCollection);
    // 1-based position, as the COM collection counts.
    virtual ObjectPtr Item(std::int32_t index) = 0;
    virtual ObjectPtr Item(const std::string& key) = 0;
    virtual std::int32_t Count() = 0;
};

} // namespace zeb2hart::fdt
