#pragma once
// A platform::PropertyBag as COM's IPropertyBag, for a frame written in C++
// that saves and loads a COM DTM through IPersistPropertyBag. A key whose
// value is Empty reads as missing (E_INVALIDARG). A COM object of its own that
// shares the bag; called on the apartment's thread.

#include <windows.h>
#include <ocidl.h>

#include <memory>
#include <utility>

#include "com/ComPtr.h"
#include "com/SimpleObject.h"
#include "platform/PropertyBag.h"

namespace zeb2hart::com {

class PropertyBagStub final : public SimpleObject<IPropertyBag> {
public:
    static ComPtr<IPropertyBag> create(std::shared_ptr<platform::PropertyBag> bag);

    HRESULT STDMETHODCALLTYPE Read(LPCOLESTR name, VARIANT* value, IErrorLog* errorLog) override;
    HRESULT STDMETHODCALLTYPE Write(LPCOLESTR name, VARIANT* value) override;

private:
    explicit PropertyBagStub(std::shared_ptr<platform::PropertyBag> bag) : m_bag(std::move(bag)) {}

    std::shared_ptr<platform::PropertyBag> m_bag;
};

} // namespace zeb2hart::com
