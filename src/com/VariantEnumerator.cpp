#include "com/VariantEnumerator.h"

#include <algorithm>
#include <new>


namespace zeb2hart::com {

ComPtr<IEnumVARIANT> VariantEnumerator::create(Items items)
{
    return new VariantEnumerator(std::make_shared<const Items>(std::move(items)), 0);
}

HRESULT STDMETHODCALLTYPE VariantEnumerator::Next(ULONG count, VARIANT* items, ULONG* fetched)
{
    if (!items || (count > 1 && !fetched))
        return E_POINTER;
    ULONG given = 0;
    for (; given < count && m_position < m_items->size(); ++given, ++m_position) {
        VariantInit(&items[given]);
        items[given].vt = VT_DISPATCH;
        items[given].pdispVal = (*m_items)[m_position].Get();
        if (items[given].pdispVal)
            items[given].pdispVal->AddRef();
    }
    if (fetched)
        *fetched = given;
    return given == count ? S_OK : S_FALSE;
}

HRESULT STDMETHODCALLTYPE VariantEnumerator::Skip(ULONG count)
{
    const std::size_t left = m_items->size() - m_position;
    m_position += std::min<std::size_t>(count, left);
    return count <= left ? S_OK : S_FALSE;
}

HRESULT STDMETHODCALLTYPE VariantEnumerator::Reset()
{
    m_position = 0;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE VariantEnumerator::Clone(IEnumVARIANT** result)
{
    if (!result)
        return E_POINTER;
    *result = new (std::nothrow) VariantEnumerator(m_items, m_position);
    if (!*result)
        return E_OUTOFMEMORY;
    (*result)->AddRef();
    return S_OK;
}

} // namespace zeb2hart::com
