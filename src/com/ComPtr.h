#pragma once
// The owning pointer to a COM interface the COM layer uses everywhere: WRL's
// ComPtr (AddRef on copy, Release on destruction, As() for QueryInterface).

#include <wrl/client.h>

namespace zeb2hart::com {

template <class T>
using ComPtr = Microsoft::WRL::ComPtr<T>;

} // namespace zeb2hart::com
