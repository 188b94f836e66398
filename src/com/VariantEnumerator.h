#pragma once
// The IEnumVARIANT a collection's _NewEnum hands out: the collection's items at
// the moment of the call, as VT_DISPATCH values. A COM object of its own,
// counted by the module. Called on the apartment's thread.

#include <memory>
#include <vector>

#include "com/ComPtr.h"
#include <oaidl.h>

namespace zeb2hart::com {

class VariantEnumerator final : public IEnumVARIANT {
public:
    using Items = std::vector<ComPtr<IDispatch>>;
    // A new enumerator with one reference, which the caller owns.
    static ComPtr<IEnumVARIANT> create(Items items);

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** result) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE Next(ULONG count, VARIANT* items, ULONG* fetched) override;
    HRESULT STDMETHODCALLTYPE Skip(ULONG count) override;
    HRESULT STDMETHODCALLTYPE Reset() override;
    HRESULT STDMETHODCALLTYPE Clone(IEnumVARIANT** result) override;

private:
    VariantEnumerator(std::shared_ptr<const Items> items, std::size_t position);
    ~VariantEnumerator();

    std::shared_ptr<const Items> m_items;
    std::size_t m_position;
    ULONG m_references = 0;
};

} // namespace zeb2hart::com
