#pragma once
// IPersistPropertyBag of the DTM: the frame's bag becomes the component's
// PropertyBag for DTMMain's InitNewProperties, LoadProperties and
// SaveProperties. Called on the apartment's thread.

#include "com/FdtInterfaces.h"
#include "com/PropertyBagAdapter.h"
#include "com/Stub.h"
#include "core/DTMMain.h"

namespace zeb2hart::com {

class PersistPropertyBagStub final : public Stub<IPersistPropertyBag, core::DTMMain> {
public:
    using Stub::Stub;

    HRESULT STDMETHODCALLTYPE GetClassID(CLSID* result) override
    {
        if (!result)
            return E_POINTER;
        *result = CLSID_DTMMain;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE InitNew() override
    {
        return run([&] { object().InitNewProperties(); });
    }
    HRESULT STDMETHODCALLTYPE Load(IPropertyBag* bag, IErrorLog* errorLog) override
    {
        if (!bag)
            return E_POINTER;
        return run([&] {
            PropertyBagAdapter adapter(*bag, errorLog);
            object().LoadProperties(adapter);
        });
    }
    HRESULT STDMETHODCALLTYPE Save(IPropertyBag* bag, BOOL clearDirty, BOOL) override
    {
        if (!bag)
            return E_POINTER;
        return run([&] {
            PropertyBagAdapter adapter(*bag, nullptr);
            object().SaveProperties(adapter);
            if (clearDirty)
                object().markSaved();
        });
    }
};

} // namespace zeb2hart::com
