#pragma once
// A COM DTM's IFdtEvents for C++ callers. Called on the apartment's thread.

#include "com/FdtInterfaces.h"
#include "com/Proxy.h"
#include "fdt/DtmInterfaces.h"

namespace zeb2hart::com {

class FdtEventsProxy final : public fdt::IFdtEvents, public Proxy<::IFdtEvents> {
public:
    using Proxy::Proxy;

    void OnChildParameterChanged(const std::string& systemTag) override
    {
        checkResult(peer().OnChildParameterChanged(Bstr(systemTag).get()));
    }
    void OnParameterChanged(const std::string& systemTag, const std::string& parameter) override
    {
        checkResult(peer().OnParameterChanged(Bstr(systemTag).get(), Bstr(parameter).get()));
    }
    void OnLockDataSet(const std::string& systemTag, const std::string& userName) override
    {
        checkResult(peer().OnLockDataSet(Bstr(systemTag).get(), Bstr(userName).get()));
    }
    bool OnUnlockDataSet(const std::string& systemTag, const std::string& userName) override
    {
        return ask<bool>([&](auto result) {
            return peer().OnUnlockDataSet(Bstr(systemTag).get(), Bstr(userName).get(), result);
        });
    }
};

} // namespace zeb2hart::com
