#pragma once
// IActiveXGUI of a C++ page (the frame stand-in's headless pages) for COM
// callers: the DTM in the DLL asks its pages to translate their captions.
// Called on the apartment's thread.

#include "com/FdtInterfaces.h"
#include "com/Stub.h"
#include "core/Pages.h"

namespace zeb2hart::com {

class ActiveXGuiStub final : public Stub<::IZeb2hartActiveXGUI, core::IActiveXGUI> {
public:
    using Stub::Stub;

    HRESULT STDMETHODCALLTYPE UpdateLanguage() override
    {
        return run([&] { object().UpdateLanguage(); });
    }
};

} // namespace zeb2hart::com
