#pragma once
// The stubs of the interfaces of the interface table (fdt/InterfaceTable.h):
// IDtmStub, IDtmInformationStub, ... each serves its COM interface by calling
// the C++ object's operation of the same name, its arguments and result
// converted by ComArg. The collection's stub is written by hand
// (FdtChannelCollectionStub.h): its Item takes a VARIANT. Called on the
// apartment's thread.

#include "com/DispatchStub.h"
#include "com/FdtInterfaces.h"
#include "com/TableTypes.h"
#include "fdt/CommunicationInterfaces.h"
#include "fdt/DtmInterfaces.h"
#include "fdt/FrameInterfaces.h"

#define ZEB2HART_COM_TAG(Type) ::zeb2hart::fdt::tag::Type
#define ZEB2HART_STUB_PARAM(Type, name) ::zeb2hart::com::ComArg<ZEB2HART_COM_TAG(Type)>::Com name
#define ZEB2HART_STUB_ARG(Type, name) ::zeb2hart::com::ComArg<ZEB2HART_COM_TAG(Type)>::in(name)
#define ZEB2HART_STUB_OP(I, dispid, Result, Name, ...)                                                        \
    HRESULT STDMETHODCALLTYPE Name(__VA_OPT__(ZEB2HART_FOR_EACH(ZEB2HART_STUB_PARAM, __VA_ARGS__))               \
                                       ZEB2HART_IF_RESULT_##Result(__VA_OPT__(, )                                \
                                       ::zeb2hart::com::ComArg<ZEB2HART_COM_TAG(Result)>::Com * result))        \
        override                                                                                               \
    {                                                                                                          \
        return serve<ZEB2HART_COM_TAG(Result)>(                                                                \
            [&] { return object().Name(__VA_OPT__(ZEB2HART_FOR_EACH(ZEB2HART_STUB_ARG, __VA_ARGS__))); }        \
                ZEB2HART_IF_RESULT_##Result(, result));                                                       \
    }
#define ZEB2HART_STUB_CLASS(Name)                                                                             \
    class Name##Stub final : public DispatchStub<::Name, fdt::Name> {                                          \
    public:                                                                                                    \
        using DispatchStub::DispatchStub;                                                                      \
        ZEB2HART_FDT_OPS_##Name(ZEB2HART_STUB_OP, ZEB2HART_STUB_OP, Name)                                       \
    };

namespace zeb2hart::com {

ZEB2HART_STUB_CLASS(IDtm)
ZEB2HART_STUB_CLASS(IDtmInformation)
ZEB2HART_STUB_CLASS(IDtmParameter)
ZEB2HART_STUB_CLASS(IDtmDocumentation)
ZEB2HART_STUB_CLASS(IDtmActiveXInformation)
ZEB2HART_STUB_CLASS(IDtmActiveXControl)
ZEB2HART_STUB_CLASS(IDtmChannel)
ZEB2HART_STUB_CLASS(IFdtChannel)
ZEB2HART_STUB_CLASS(IFdtChannelSubTopology)
ZEB2HART_STUB_CLASS(IFdtCommunication)
ZEB2HART_STUB_CLASS(IFdtCommunicationEvents)
ZEB2HART_STUB_CLASS(IFdtEvents)
ZEB2HART_STUB_CLASS(IFdtContainer)
ZEB2HART_STUB_CLASS(IDtmEvents)
ZEB2HART_STUB_CLASS(IFdtTopology)

} // namespace zeb2hart::com
