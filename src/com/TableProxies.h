#pragma once
// The proxies of the interfaces of the interface table (fdt/InterfaceTable.h):
// IDtmProxy, IDtmInformationProxy, ... each implements its C++ interface by
// calling the COM object's operation of the same name, its arguments and
// result converted by ComArg. The collection's proxy is written by hand
// (FdtChannelCollectionProxy.h): its Item takes a VARIANT. Called on the
// apartment's thread.

#include "com/FdtInterfaces.h"
#include "com/Proxy.h"
#include "com/TableTypes.h"
#include "fdt/CommunicationInterfaces.h"
#include "fdt/DtmInterfaces.h"
#include "fdt/FrameInterfaces.h"

#define ZEB2HART_PROXY_TAG(Type) ::zeb2hart::fdt::tag::Type
#define ZEB2HART_PROXY_PARAM(Type, name) ::zeb2hart::fdt::In<ZEB2HART_PROXY_TAG(Type)> name
#define ZEB2HART_PROXY_ARG(Type, name) ::zeb2hart::com::raw(::zeb2hart::com::ComArg<ZEB2HART_PROXY_TAG(Type)>::lend(name))
#define ZEB2HART_PROXY_OP(I, dispid, Result, Name, ...)                                                       \
    ::zeb2hart::fdt::Out<ZEB2HART_PROXY_TAG(Result)> Name(                                                     \
        __VA_OPT__(ZEB2HART_FOR_EACH(ZEB2HART_PROXY_PARAM, __VA_ARGS__))) override                             \
    {                                                                                                          \
        return call<ZEB2HART_PROXY_TAG(Result)>([&](auto... result) {                           \
            return peer().Name(__VA_OPT__(ZEB2HART_FOR_EACH(ZEB2HART_PROXY_ARG, __VA_ARGS__), ) result...); \
        });                                                                                                    \
    }
#define ZEB2HART_PROXY_CLASS(Name)                                                                            \
    class Name##Proxy final : public fdt::Name, public Proxy<::Name> {                                          \
    public:                                                                                                    \
        using Proxy::Proxy;                                                                                    \
        ZEB2HART_FDT_OPS_##Name(ZEB2HART_PROXY_OP, ZEB2HART_PROXY_OP, Name)                                     \
    };

namespace zeb2hart::com {

ZEB2HART_PROXY_CLASS(IDtm)
ZEB2HART_PROXY_CLASS(IDtmInformation)
ZEB2HART_PROXY_CLASS(IDtmParameter)
ZEB2HART_PROXY_CLASS(IDtmDocumentation)
ZEB2HART_PROXY_CLASS(IDtmActiveXInformation)
ZEB2HART_PROXY_CLASS(IDtmActiveXControl)
ZEB2HART_PROXY_CLASS(IDtmChannel)
ZEB2HART_PROXY_CLASS(IFdtChannel)
ZEB2HART_PROXY_CLASS(IFdtChannelSubTopology)
ZEB2HART_PROXY_CLASS(IFdtCommunication)
ZEB2HART_PROXY_CLASS(IFdtCommunicationEvents)
ZEB2HART_PROXY_CLASS(IFdtEvents)
ZEB2HART_PROXY_CLASS(IFdtContainer)
ZEB2HART_PROXY_CLASS(IDtmEvents)
ZEB2HART_PROXY_CLASS(IFdtTopology)

} // namespace zeb2hart::com
