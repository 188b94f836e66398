#pragma once
// The base of the COM layer's small objects that serve one interface of their
// own (no C++ object behind them): reference counting, QueryInterface for
// IUnknown and that interface, and the module's count of live objects; each
// holds its thread's module data (platform::ThreadState). Made, called and
// released on the apartment's thread.

#include <windows.h>
#include <unknwn.h>

#include "com/Module.h"
#include "platform/ThreadState.h"

namespace zeb2hart::com {

template <class Interface>
class SimpleObject : public Interface {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** result) override
    {
        if (!result)
            return E_POINTER;
        *result = nullptr;
        if (iid != IID_IUnknown && iid != __uuidof(Interface))
            return E_NOINTERFACE;
        *result = static_cast<Interface*>(this);
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_references; }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const ULONG left = --m_references;
        if (left == 0)
            delete this;
        return left;
    }

protected:
    SimpleObject() { Module::objectCreated(); }
    virtual ~SimpleObject() { Module::objectDestroyed(); }
    SimpleObject(const SimpleObject&) = delete;
    SimpleObject& operator=(const SimpleObject&) = delete;

private:
    platform::ThreadState::Hold m_hold;
    ULONG m_references = 0;
};

} // namespace zeb2hart::com
