#include "com/InterfaceBridge.h"

#include <type_traits>

#include "com/proxies/ActiveXGuiProxy.h"
#include "com/proxies/DtmActiveXInformationProxy.h"
#include "com/proxies/DtmChannelProxy.h"
#include "com/proxies/DtmDocumentationProxy.h"
#include "com/proxies/DtmEventsProxy.h"
#include "com/proxies/DtmInformationProxy.h"
#include "com/proxies/DtmParameterProxy.h"
#include "com/proxies/DtmProxy.h"
#include "com/proxies/Fdt036D147AProxy.h"
#include "com/proxies/FdtChannelCollectionProxy.h"
#include "com/proxies/FdtChannelProxy.h"
#include "com/proxies/FdtChannelSubTopologyProxy.h"
#include "com/proxies/FdtCommunicationEventsProxy.h"
#include "com/proxies/FdtCommunicationProxy.h"
#include "com/proxies/FdtContainerProxy.h"
#include "com/proxies/FdtEventsProxy.h"
#include "com/proxies/MonitorPageProxy.h"
#include "com/proxies/OfflineParamPageProxy.h"
#include "com/stubs/ActiveXGuiStub.h"
#include "com/stubs/DtmActiveXInformationStub.h"
#include "com/stubs/DtmChannelStub.h"
#include "com/stubs/DtmDocumentationStub.h"
#include "com/stubs/DtmEventsStub.h"
#include "com/stubs/DtmInformationStub.h"
#include "com/stubs/DtmParameterStub.h"
#include "com/stubs/DtmStub.h"
#include "com/stubs/Fdt036D147AStub.h"
#include "com/stubs/FdtChannelCollectionStub.h"
#include "com/stubs/FdtChannelStub.h"
#include "com/stubs/FdtChannelSubTopologyStub.h"
#include "com/stubs/FdtCommunicationEventsStub.h"
#include "com/stubs/FdtCommunicationStub.h"
#include "com/stubs/FdtContainerStub.h"
#include "com/stubs/FdtEventsStub.h"
#include "com/stubs/MonitorPageStub.h"
#include "com/stubs/OfflineParamPageStub.h"
#include "com/stubs/PersistPropertyBagStub.h"
#include "com/stubs/PersistStreamInitStub.h"
#include "com/stubs/TestAccessStub.h"

namespace zeb2hart::com {

namespace {

template <class S>
std::unique_ptr<Facet> makeStub(ComObject& owner, const fdt::ObjectPtr& object)
{
    if (auto offered = std::dynamic_pointer_cast<typename S::Cpp>(object))
        return std::make_unique<S>(owner, std::move(offered));
    return nullptr;
}

template <class P>
fdt::ObjectPtr makeProxy(IUnknown* object)
{
    ComPtr<typename P::Com> offered;
    if (FAILED(object->QueryInterface(__uuidof(typename P::Com), reinterpret_cast<void**>(offered.GetAddressOf()))))
        return nullptr;
    return std::make_shared<P>(std::move(offered));
}

// An interface with a stub and, where the C++ side calls it on COM objects, a proxy.
template <class S, class P = void>
constexpr InterfaceBridge bridge()
{
    using Com = typename S::Com;
    InterfaceBridge result{&__uuidof(Com), {}, std::is_base_of_v<IDispatch, Com>, &makeStub<S>, nullptr};
    if constexpr (!std::is_void_v<P>) {
        static_assert(std::is_same_v<typename P::Com, Com>);
        static_assert(fromGuid(__uuidof(Com)) == S::Cpp::kIid, "the IDL and the C++ class name different identifiers");
        result.fdtIid = S::Cpp::kIid;
        result.proxy = &makeProxy<P>;
    }
    return result;
}

// The DTM's own interfaces first, IDtm leading: the first one an object offers answers for IDispatch.
const InterfaceBridge kBridges[] = {
    bridge<DtmStub, DtmProxy>(),
    bridge<DtmInformationStub, DtmInformationProxy>(),
    bridge<DtmParameterStub, DtmParameterProxy>(),
    bridge<DtmDocumentationStub, DtmDocumentationProxy>(),
    bridge<DtmActiveXInformationStub, DtmActiveXInformationProxy>(),
    bridge<DtmChannelStub, DtmChannelProxy>(),
    bridge<FdtChannelStub, FdtChannelProxy>(),
    bridge<FdtChannelSubTopologyStub, FdtChannelSubTopologyProxy>(),
    bridge<FdtCommunicationStub, FdtCommunicationProxy>(),
    bridge<FdtCommunicationEventsStub, FdtCommunicationEventsProxy>(),
    bridge<FdtEventsStub, FdtEventsProxy>(),
    bridge<FdtChannelCollectionStub, FdtChannelCollectionProxy>(),
    bridge<FdtContainerStub, FdtContainerProxy>(),
    bridge<DtmEventsStub, DtmEventsProxy>(),
    bridge<Fdt036D147AStub, Fdt036D147AProxy>(),
    // The pages a frame shows for the DTM.
    bridge<ActiveXGuiStub, ActiveXGuiProxy>(),
    bridge<MonitorPageStub, MonitorPageProxy>(),
    bridge<OfflineParamPageStub, OfflineParamPageProxy>(),
    bridge<PersistPropertyBagStub>(),
    bridge<PersistStreamInitStub>(),
    bridge<TestAccessStub>(),
};

} // namespace

std::span<const InterfaceBridge> InterfaceBridge::all()
{
    return kBridges;
}

const InterfaceBridge* InterfaceBridge::find(const IID& iid)
{
    for (const InterfaceBridge& entry : kBridges) {
        if (*entry.iid == iid)
            return &entry;
    }
    return nullptr;
}

const InterfaceBridge* InterfaceBridge::find(const fdt::Guid& iid)
{
    for (const InterfaceBridge& entry : kBridges) {
        if (entry.proxy && entry.fdtIid == iid)
            return &entry;
    }
    return nullptr;
}

} // namespace zeb2hart::com
