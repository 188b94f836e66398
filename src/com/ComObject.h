#pragma once
// The COM object of one C++ object: its identity toward COM callers. It keeps
// the C++ object alive while COM holds it, answers QueryInterface with one stub
// (facet) per FDT interface the C++ object offers, IDispatch with the first of
// them, and ISupportErrorInfo. The same C++ object always has the same
// ComObject while that lives. Created and called on the apartment's thread.

#include <memory>
#include <vector>

#include "com/ComPtr.h"
#include "com/ErrorMapping.h"
#include "com/Facet.h"
#include "fdt/Object.h"

namespace zeb2hart::com {

class ComObject final : public ISupportErrorInfo {
public:
    // The COM object for a C++ object: the peer's own when the object is a
    // proxy (Peer), its ComObject otherwise; null for null.
    static ComPtr<IUnknown> of(const fdt::ObjectPtr& object);
    // The interface I of the COM object for a C++ object; a missing interface is
    // fdt::TypeMismatchError.
    template <class I>
    static ComPtr<I> as(const fdt::ObjectPtr& object)
    {
        ComPtr<I> result;
        if (const ComPtr<IUnknown> unknown = of(object))
            checkResult(unknown.As(&result));
        return result;
    }
    // The C++ object behind a ComObject of this module, or nullptr for any other COM object.
    static fdt::ObjectPtr objectOf(IUnknown* unknown);

    const fdt::ObjectPtr& object() const { return m_object; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** result) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE InterfaceSupportsErrorInfo(REFIID iid) override;

private:
    explicit ComObject(fdt::ObjectPtr object);
    ~ComObject();
    ComObject(const ComObject&) = delete;
    ComObject& operator=(const ComObject&) = delete;
    // The facet serving `iid`, made on first request; nullptr when the object does not offer it.
    Facet* facet(const IID& iid);

    fdt::ObjectPtr m_object;
    ULONG m_references = 0;
    std::vector<std::unique_ptr<Facet>> m_facets;
};

} // namespace zeb2hart::com
