#include "com/ComObject.h"

#include <map>

#include "com/InterfaceBridge.h"
#include "com/Module.h"
#include "com/Peer.h"

namespace zeb2hart::com {

namespace {

// The live ComObjects by the address of their C++ object's most derived part.
std::map<const void*, ComObject*>& identities()
{
    static std::map<const void*, ComObject*> map;
    return map;
}

const void* identityKey(const fdt::Object& object)
{
    return dynamic_cast<const void*>(&object);
}

// An interface identifier only this module's ComObjects answer, made once per
// process and module: another module linking the same code (a frame in C++
// and the DTM's DLL) has a different one, so that each unwraps only its own
// C++ objects.
const IID& thisModuleIid()
{
    static const IID iid = [] {
        GUID id{};
        CoCreateGuid(&id);
        return id;
    }();
    return iid;
}

} // namespace

ComPtr<IUnknown> ComObject::of(const fdt::ObjectPtr& object)
{
    if (!object)
        return nullptr;
    if (const auto* peer = dynamic_cast<const Peer*>(object.get()))
        return peer->unknown();
    const auto known = identities().find(identityKey(*object));
    if (known != identities().end())
        return static_cast<IUnknown*>(known->second);
    return static_cast<IUnknown*>(new ComObject(object));
}

fdt::ObjectPtr ComObject::objectOf(IUnknown* unknown)
{
    ComObject* own = nullptr;
    if (!unknown || FAILED(unknown->QueryInterface(thisModuleIid(), reinterpret_cast<void**>(&own))))
        return nullptr;
    fdt::ObjectPtr object = own->m_object;
    own->Release();
    return object;
}

ComObject::ComObject(fdt::ObjectPtr object) : m_object(std::move(object))
{
    identities().emplace(identityKey(*m_object), this);
    Module::objectCreated();
}

ComObject::~ComObject()
{
    identities().erase(identityKey(*m_object));
    Module::objectDestroyed();
}

HRESULT STDMETHODCALLTYPE ComObject::QueryInterface(REFIID iid, void** result)
{
    if (!result)
        return E_POINTER;
    *result = nullptr;
    if (iid == IID_IUnknown || iid == IID_ISupportErrorInfo || iid == thisModuleIid()) {
        *result = static_cast<ISupportErrorInfo*>(this);
    } else {
        try {
            if (Facet* served = facet(iid))
                *result = served->comInterface();
        } catch (const std::bad_alloc&) {
            return E_OUTOFMEMORY;
        }
    }
    if (!*result)
        return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

ULONG STDMETHODCALLTYPE ComObject::AddRef()
{
    return ++m_references;
}

ULONG STDMETHODCALLTYPE ComObject::Release()
{
    const ULONG left = --m_references;
    if (left == 0)
        delete this;
    return left;
}

HRESULT STDMETHODCALLTYPE ComObject::InterfaceSupportsErrorInfo(REFIID iid)
{
    try {
        return facet(iid) ? S_OK : S_FALSE;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

Facet* ComObject::facet(const IID& iid)
{
    // IDispatch is the first dispatch interface of the table that the object offers.
    if (iid == IID_IDispatch) {
        for (const InterfaceBridge& bridge : InterfaceBridge::all()) {
            if (bridge.dispatch) {
                if (Facet* served = facet(*bridge.iid))
                    return served;
            }
        }
        return nullptr;
    }
    for (const auto& made : m_facets) {
        if (made->iid() == iid)
            return made.get();
    }
    const InterfaceBridge* bridge = InterfaceBridge::find(iid);
    auto made = bridge ? bridge->stub(*this, m_object) : nullptr;
    if (!made)
        return nullptr;
    m_facets.push_back(std::move(made));
    return m_facets.back().get();
}

} // namespace zeb2hart::com
