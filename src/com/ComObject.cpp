#include "com/ComObject.h"

#include <map>
#include <unordered_set>

#include "com/InterfaceBridge.h"
#include "com/Module.h"
#include "com/Peer.h"

namespace zeb2hart::com {

// The apartment's live ComObjects, by the address of their C++ object's most
// derived part, and as themselves.
struct ComObject::Identities {
    std::map<const void*, ComObject*> byObject;
    std::unordered_set<const IUnknown*> live; // each one's IUnknown
};

namespace {

ComObject::Identities& identities()
{
    return platform::ThreadState::current().part<ComObject::Identities>();
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
    const auto& known = identities().byObject;
    if (const auto found = known.find(identityKey(*object)); found != known.end())
        return static_cast<IUnknown*>(found->second);
    return static_cast<IUnknown*>(new ComObject(object, false));
}

ComPtr<IUnknown> ComObject::ofInstance(const fdt::ObjectPtr& object)
{
    return static_cast<IUnknown*>(new ComObject(object, true));
}

ComPtr<IUnknown> ComObject::ofInstance(const fdt::ObjectPtr& object, const MakeNative& native)
{
    // Held from the start, so that a native part that fails to be made takes the ComObject with it.
    ComPtr<IUnknown> result = ofInstance(object);
    auto* made = static_cast<ComObject*>(static_cast<ISupportErrorInfo*>(result.Get()));
    made->m_native = native(*made);
    return result;
}

fdt::ObjectPtr ComObject::objectOf(IUnknown* unknown)
{
    // Whatever answers the private identifier is an interface pointer of some
    // object; it is taken for one of ours only when it is one of ours.
    IUnknown* answered = nullptr;
    if (!unknown || FAILED(unknown->QueryInterface(thisModuleIid(), reinterpret_cast<void**>(&answered))) || !answered)
        return nullptr;
    const ComPtr<IUnknown> held = adopt(answered);
    if (!identities().live.contains(answered))
        return nullptr;
    return static_cast<ComObject*>(static_cast<ISupportErrorInfo*>(answered))->m_object;
}

ComObject::ComObject(fdt::ObjectPtr object, bool instance)
    : m_identities(&identities()), m_object(std::move(object)), m_instance(instance)
{
    m_identities->live.insert(static_cast<ISupportErrorInfo*>(this));
    m_identities->byObject.emplace(identityKey(*m_object), this);
    Module::objectCreated();
}

ComObject::~ComObject()
{
    // The table it was entered in, even when a careless client lets go on another thread.
    m_identities->live.erase(static_cast<ISupportErrorInfo*>(this));
    m_identities->byObject.erase(identityKey(*m_object));
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
            if (IUnknown* native = m_native ? m_native->find(iid) : nullptr)
                *result = native;
            else if (Facet* served = facet(iid))
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
    if (left != 0)
        return left;
    // What the object does on its way out (a control telling its site, closing
    // its window) may take and drop references again: none of them ends it twice.
    m_references = kEnding;
    if (m_instance) {
        if (auto* detachable = dynamic_cast<fdt::Detachable*>(m_object.get()))
            detachable->detach();
    }
    m_native.reset();
    delete this;
    return 0;
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
