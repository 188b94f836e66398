#include "com/Peer.h"

#include "com/ComObject.h"
#include "com/ErrorMapping.h"
#include "com/InterfaceBridge.h"

namespace zeb2hart::com {

Peer::Peer(IUnknown* object)
{
    checkResult(object->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(m_unknown.GetAddressOf())));
}

fdt::ObjectPtr Peer::wrap(IUnknown* object)
{
    if (!object)
        return nullptr;
    if (fdt::ObjectPtr own = ComObject::objectOf(object))
        return own;
    return std::make_shared<Peer>(object);
}

fdt::ObjectPtr Peer::queryInterface(const fdt::Guid& iid)
{
    const InterfaceBridge* bridge = InterfaceBridge::find(iid);
    return bridge && bridge->proxy ? bridge->proxy(m_unknown.Get()) : nullptr;
}

} // namespace zeb2hart::com
