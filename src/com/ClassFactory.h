#pragma once
// The class object of the DTM class that DllGetClassObject hands out: each
// CreateInstance makes a new DTMMain under the platform services in force and
// answers its ComObject; the DTM offers no page, as the DLL brings none. For
// the component's test frame it also offers IZeb2hartTestServices, which puts
// the frame's services in force for the instances made after, and with them
// the frame's pages, on the class object's thread. It holds that thread's
// module data (platform::ThreadState). Called on the apartment's thread.

#include <windows.h>
#include <unknwn.h>

#include "com/ComPtr.h"
#include "com/FdtInterfaces.h"
#include "platform/ThreadState.h"

namespace zeb2hart::com {

class ClassFactory final : public IClassFactory, public IZeb2hartTestServices {
public:
    static ComPtr<IClassFactory> create();

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** result) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** result) override;
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override;
    HRESULT STDMETHODCALLTYPE UseFrameServices(BSTR componentFolder, IZeb2hartFrameServices* services,
                                               VARIANT_BOOL withPages) override;

private:
    ClassFactory();
    ~ClassFactory();

    platform::ThreadState::Hold m_hold;
    ULONG m_references = 0;
};

} // namespace zeb2hart::com
