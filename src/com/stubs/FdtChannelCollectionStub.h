#pragma once
// IFdtChannelCollection of a C++ channel list for COM callers: Item by 1-based
// position or by key (a VARIANT, passed by reference), Count, and _NewEnum.
// Called on the apartment's thread.

#include <cmath>

#include "com/DispatchStub.h"
#include "com/FdtInterfaces.h"
#include "com/VariantEnumerator.h"
#include "fdt/DtmInterfaces.h"

namespace zeb2hart::com {

class FdtChannelCollectionStub final : public DispatchStub<::IFdtChannelCollection, fdt::IFdtChannelCollection> {
public:
    using DispatchStub::DispatchStub;

    HRESULT STDMETHODCALLTYPE get_Item(VARIANT* index, ::IFdtChannel** result) override
    {
        if (!index)
            return reportFailure(E_POINTER, "no index", iid());
        return answer(result, [&] { return ComObject::as<::IFdtChannel>(item(fromVariant(*index))); });
    }
    HRESULT STDMETHODCALLTYPE get_Count(LONG* result) override
    {
        return answer(result, [&] { return object().Count(); });
    }
    HRESULT STDMETHODCALLTYPE get__NewEnum(IUnknown** result) override
    {
        return answer(result, [&] {
            VariantEnumerator::Items items;
            for (std::int32_t position = 1; position <= object().Count(); ++position)
                items.push_back(ComObject::as<IDispatch>(object().Item(position)));
            ComPtr<IUnknown> enumerator;
            VariantEnumerator::create(std::move(items)).As(&enumerator);
            return enumerator;
        });
    }

private:
    // A key is text; a position any whole number.
    fdt::ObjectPtr item(const fdt::Variant& index) const
    {
        if (index.is<std::string>())
            return object().Item(index.as<std::string>());
        if (index.is<std::int32_t>())
            return object().Item(index.as<std::int32_t>());
        if (index.is<std::int16_t>())
            return object().Item(std::int32_t{index.as<std::int16_t>()});
        if (index.is<std::uint8_t>())
            return object().Item(std::int32_t{index.as<std::uint8_t>()});
        if (index.is<double>() && std::trunc(index.as<double>()) == index.as<double>() &&
            std::abs(index.as<double>()) <= 2147483647.0)
            return object().Item(static_cast<std::int32_t>(index.as<double>()));
        throw fdt::TypeMismatchError("a collection's index is a whole number or a key");
    }
};

} // namespace zeb2hart::com
