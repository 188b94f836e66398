#pragma once
// IPersistStreamInit of the DTM: the frame's IStream becomes the component's
// byte source or sink for DTMMain's loadStream and saveStream (the format is
// core/PropertyStream.h); InitNew is the property bag's InitNew. Every failure
// answers a failed HRESULT with error info. Called on the apartment's thread.

#include "com/FdtInterfaces.h"
#include "com/StreamAdapter.h"
#include "com/Stub.h"
#include "core/DTMMain.h"

namespace zeb2hart::com {

class PersistStreamInitStub final : public Stub<IPersistStreamInit, core::DTMMain> {
public:
    using Stub::Stub;

    HRESULT STDMETHODCALLTYPE GetClassID(CLSID* result) override
    {
        if (!result)
            return reportFailure(E_POINTER, "GetClassID: no place for the class identifier", iid());
        *result = CLSID_DTMMain;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE IsDirty() override
    {
        bool dirty = true;
        const HRESULT status = run([&] { dirty = object().isDirty(); });
        return FAILED(status) ? status : dirty ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Load(IStream* stream) override
    {
        if (!stream)
            return reportFailure(E_POINTER, "Load: no stream to load from", iid());
        return run([&] {
            StreamAdapter adapter(*stream);
            object().loadStream(adapter);
        });
    }
    HRESULT STDMETHODCALLTYPE Save(IStream* stream, BOOL clearDirty) override
    {
        if (!stream)
            return reportFailure(E_POINTER, "Save: no stream to save to", iid());
        return run([&] {
            StreamAdapter adapter(*stream);
            object().saveStream(adapter, clearDirty != FALSE);
        });
    }
    HRESULT STDMETHODCALLTYPE GetSizeMax(ULARGE_INTEGER* size) override
    {
        if (!size)
            return reportFailure(E_POINTER, "GetSizeMax: no place for the size", iid());
        return run([&] { size->QuadPart = object().streamSizeMax(); });
    }
    HRESULT STDMETHODCALLTYPE InitNew() override
    {
        return run([&] { object().InitNewProperties(); });
    }
};

} // namespace zeb2hart::com
