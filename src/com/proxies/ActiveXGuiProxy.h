#pragma once
// A COM page's IActiveXGUI for the DTM: a page of the frame's, asked to
// translate its captions. Called on the apartment's thread.

#include "com/FdtInterfaces.h"
#include "com/Proxy.h"
#include "core/Pages.h"

namespace zeb2hart::com {

class ActiveXGuiProxy final : public core::IActiveXGUI, public Proxy<::IZeb2hartActiveXGUI> {
public:
    using Proxy::Proxy;

    void UpdateLanguage() override { callPeer([&] { return peer().UpdateLanguage(); }); }
};

} // namespace zeb2hart::com
