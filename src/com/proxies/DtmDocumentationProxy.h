#pragma once
// A COM DTM's IDtmDocumentation for C++ callers. Called on the apartment's thread.

#include "com/FdtInterfaces.h"
#include "com/Proxy.h"
#include "fdt/DtmInterfaces.h"

namespace zeb2hart::com {

class DtmDocumentationProxy final : public fdt::IDtmDocumentation, public Proxy<::IDtmDocumentation> {
public:
    using Proxy::Proxy;

    std::string GetDocumentation(const std::string& functionCall) override
    {
        return ask<std::string>([&](auto result) { return peer().GetDocumentation(Bstr(functionCall).get(), result); });
    }
};

} // namespace zeb2hart::com
