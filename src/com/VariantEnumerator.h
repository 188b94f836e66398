#pragma once
// The IEnumVARIANT a collection's _NewEnum hands out: the collection's items at
// the moment of the call, as VT_DISPATCH values. A COM object of its own,
// counted by the module. Called on the apartment's thread.

#include <memory>
#include <utility>
#include <vector>

#include <oaidl.h>

#include "com/ComPtr.h"
#include "com/SimpleObject.h"

namespace zeb2hart::com {

class VariantEnumerator final : public SimpleObject<IEnumVARIANT> {
public:
    using Items = std::vector<ComPtr<IDispatch>>;
    // A new enumerator with one reference, which the caller owns.
    static ComPtr<IEnumVARIANT> create(Items items);

    HRESULT STDMETHODCALLTYPE Next(ULONG count, VARIANT* items, ULONG* fetched) override;
    HRESULT STDMETHODCALLTYPE Skip(ULONG count) override;
    HRESULT STDMETHODCALLTYPE Reset() override;
    HRESULT STDMETHODCALLTYPE Clone(IEnumVARIANT** result) override;

private:
    VariantEnumerator(std::shared_ptr<const Items> items, std::size_t position)
        : m_items(std::move(items)), m_position(position)
    {
    }

    std::shared_ptr<const Items> m_items;
    std::size_t m_position;
};

} // namespace zeb2hart::com
