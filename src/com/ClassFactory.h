#pragma once
// The class objects that DllGetClassObject hands out, one for each class of
// the DLL. The DTM's: each CreateInstance makes a new DTMMain under the
// platform services in force and answers its ComObject; for the component's
// test frame it also offers IZeb2hartTestServices, which puts the frame's
// services in force for the instances made after, and with them whether the
// frame shows the DTM's pages, on the class object's thread. A page's: each
// CreateInstance makes a new page as an ActiveX control (OleControl). Each
// holds its thread's module data (platform::ThreadState). Called on the
// apartment's thread.

#include <windows.h>
#include <unknwn.h>

#include "com/ComPtr.h"
#include "com/FdtInterfaces.h"
#include "platform/ThreadState.h"

namespace zeb2hart::com {

class ClassFactory final : public IClassFactory, public IZeb2hartTestServices {
public:
    // The class object of the DTM or of a page; nullptr for another class.
    static ComPtr<IClassFactory> create(const CLSID& clsid);

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** result) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** result) override;
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override;
    HRESULT STDMETHODCALLTYPE UseFrameServices(BSTR componentFolder, IZeb2hartFrameServices* services,
                                               VARIANT_BOOL withPages) override;

private:
    explicit ClassFactory(const CLSID& clsid);
    ~ClassFactory();

    platform::ThreadState::Hold m_hold;
    CLSID m_clsid;
    ULONG m_references = 0;
};

} // namespace zeb2hart::com
