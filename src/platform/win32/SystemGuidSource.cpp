#include "platform/GuidSource.h"

#include <objbase.h>

#include "platform/win32/WindowsApi.h"

namespace zeb2hart::platform {

std::optional<fdt::Guid> SystemGuidSource::newGuid()
{
    GUID raw{};
    if (FAILED(CoCreateGuid(&raw)))
        return std::nullopt;
    fdt::Guid guid;
    guid.data1 = raw.Data1;
    guid.data2 = raw.Data2;
    guid.data3 = raw.Data3;
    for (std::size_t i = 0; i < guid.data4.size(); ++i)
        guid.data4[i] = raw.Data4[i];
    return guid;
}

} // namespace zeb2hart::platform
