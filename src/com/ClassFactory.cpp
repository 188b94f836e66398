#include "com/ClassFactory.h"

#include "com/ComObject.h"
#include "com/ErrorMapping.h"
#include "com/FrameServicesProxy.h"
#include "com/Values.h"
#include "com/Module.h"
#include "com/OleControl.h"
#include "core/DTMMain.h"
#include "platform/win32/WindowsApi.h"

namespace zeb2hart::com {

ComPtr<IClassFactory> ClassFactory::create(const CLSID& clsid)
{
    if (clsid != CLSID_DTMMain && !OleControl::pageKindOf(clsid))
        return nullptr;
    OleControl::registerPageFactories();
    return new ClassFactory(clsid);
}

ClassFactory::ClassFactory(const CLSID& clsid) : m_clsid(clsid)
{
    Module::objectCreated();
}

ClassFactory::~ClassFactory()
{
    Module::objectDestroyed();
}

HRESULT STDMETHODCALLTYPE ClassFactory::QueryInterface(REFIID iid, void** result)
{
    if (!result)
        return E_POINTER;
    *result = nullptr;
    if (iid == IID_IUnknown || iid == IID_IClassFactory)
        *result = static_cast<IClassFactory*>(this);
    else if (iid == __uuidof(IZeb2hartTestServices) && m_clsid == CLSID_DTMMain)
        *result = static_cast<IZeb2hartTestServices*>(this);
    else
        return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

ULONG STDMETHODCALLTYPE ClassFactory::AddRef()
{
    return ++m_references;
}

ULONG STDMETHODCALLTYPE ClassFactory::Release()
{
    const ULONG left = --m_references;
    if (left == 0)
        delete this;
    return left;
}

HRESULT STDMETHODCALLTYPE ClassFactory::CreateInstance(IUnknown* outer, REFIID iid, void** result)
{
    if (!result)
        return E_POINTER;
    *result = nullptr;
    if (outer)
        return CLASS_E_NOAGGREGATION;
    ComPtr<IUnknown> made;
    const HRESULT status = guarded(IID_IClassFactory, [&] {
        if (m_clsid != CLSID_DTMMain) {
            made = OleControl::create(m_clsid);
            return;
        }
        const auto created = core::DTMMain::create();
        created->offerPages(FrameServicesProxy::pagesOffered());
        made = ComObject::ofInstance(created);
    });
    return FAILED(status) ? status : made->QueryInterface(iid, result);
}

HRESULT STDMETHODCALLTYPE ClassFactory::UseFrameServices(BSTR componentFolder, IZeb2hartFrameServices* services,
                                                          VARIANT_BOOL withPages)
{
    return guarded(__uuidof(IZeb2hartTestServices), [&] {
        FrameServicesProxy::install(services, std::filesystem::path(platform::toWide(fromBstr(componentFolder))),
                                    withPages != VARIANT_FALSE);
    });
}

HRESULT STDMETHODCALLTYPE ClassFactory::LockServer(BOOL lock)
{
    Module::lock(lock != FALSE);
    return S_OK;
}

} // namespace zeb2hart::com
