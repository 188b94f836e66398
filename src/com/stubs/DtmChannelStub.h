#pragma once
// IDtmChannel of a C++ DTM for COM callers: the channel list goes out as the
// collection's ComObject. Called on the apartment's thread.

#include "com/DispatchStub.h"
#include "com/FdtInterfaces.h"
#include "fdt/DtmInterfaces.h"

namespace zeb2hart::com {

class DtmChannelStub final : public DispatchStub<::IDtmChannel, fdt::IDtmChannel> {
public:
    using DispatchStub::DispatchStub;

    HRESULT STDMETHODCALLTYPE GetChannels(::IFdtChannelCollection** result) override
    {
        return answer(result, [&] { return ComObject::as<::IFdtChannelCollection>(object().GetChannels()); });
    }
};

} // namespace zeb2hart::com
