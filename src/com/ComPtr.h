#pragma once
// The owning pointer to a COM interface the COM layer uses everywhere: WRL's
// ComPtr (AddRef on copy, Release on destruction, As() for QueryInterface).

#include <wrl/client.h>

namespace zeb2hart::com {

template <class T>
using ComPtr = Microsoft::WRL::ComPtr<T>;

// Takes over a reference the caller owns (an [out] value), without adding one.
// mingw-w64's ComPtr::Attach adds a reference, unlike Microsoft's: never use it.
template <class T>
ComPtr<T> adopt(T* owned)
{
    ComPtr<T> result;
    *result.GetAddressOf() = owned;
    return result;
}

} // namespace zeb2hart::com
