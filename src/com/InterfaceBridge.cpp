#include "com/InterfaceBridge.h"

#include <type_traits>

#include "com/TableProxies.h"
#include "com/TableStubs.h"

#include "com/proxies/ActiveXGuiProxy.h"
#include "com/proxies/FdtChannelCollectionProxy.h"
#include "com/proxies/MonitorPageProxy.h"
#include "com/proxies/OfflineParamPageProxy.h"
#include "com/stubs/ActiveXGuiStub.h"
#include "com/stubs/FdtChannelCollectionStub.h"
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
    bridge<IDtmStub, IDtmProxy>(),
    bridge<IDtmInformationStub, IDtmInformationProxy>(),
    bridge<IDtmParameterStub, IDtmParameterProxy>(),
    bridge<IDtmDocumentationStub, IDtmDocumentationProxy>(),
    bridge<IDtmActiveXInformationStub, IDtmActiveXInformationProxy>(),
    bridge<IDtmChannelStub, IDtmChannelProxy>(),
    bridge<IFdtChannelStub, IFdtChannelProxy>(),
    bridge<IFdtChannelSubTopologyStub, IFdtChannelSubTopologyProxy>(),
    bridge<IFdtCommunicationStub, IFdtCommunicationProxy>(),
    bridge<IFdtCommunicationEventsStub, IFdtCommunicationEventsProxy>(),
    bridge<IFdtEventsStub, IFdtEventsProxy>(),
    bridge<FdtChannelCollectionStub, FdtChannelCollectionProxy>(),
    bridge<IFdtContainerStub, IFdtContainerProxy>(),
    bridge<IDtmEventsStub, IDtmEventsProxy>(),
    bridge<IFdtTopologyStub, IFdtTopologyProxy>(),
    // The pages a frame shows for the DTM.
    bridge<IDtmActiveXControlStub, IDtmActiveXControlProxy>(),
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
