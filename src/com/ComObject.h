#pragma once
// The COM object of one C++ object: its identity toward COM callers. It keeps
// the C++ object alive while COM holds it, answers QueryInterface with one stub
// (facet) per FDT interface the C++ object offers, IDispatch with the first of
// them, and ISupportErrorInfo. The same C++ object always has the same
// ComObject while that lives. Each ComObject belongs to the apartment (thread)
// that made it, holds that thread's module data (platform::ThreadState) and is
// known only there; it is created and called on that thread.
//
// An object may also be served interfaces that no C++ interface describes (an
// ActiveX control's OLE interfaces): the ComObject then owns their
// implementation (NativeInterfaces), asks it before its facets, and lets go of
// it first when its last reference goes, so that the same identity answers
// every interface of both.

#include <functional>
#include <memory>
#include <vector>

#include "com/ComPtr.h"
#include "com/ErrorMapping.h"
#include "com/Facet.h"
#include "fdt/Object.h"
#include "platform/ThreadState.h"

namespace zeb2hart::com {

class ComObject final : public ISupportErrorInfo {
public:
    // The COM object for a C++ object: the peer's own when the object is a
    // proxy (Peer), its ComObject otherwise; null for null.
    static ComPtr<IUnknown> of(const fdt::ObjectPtr& object);
    // The COM object for an instance made for COM clients (the class factory's):
    // when the last of them lets go, the instance is detached (fdt::Detachable)
    // even if the component still holds it.
    static ComPtr<IUnknown> ofInstance(const fdt::ObjectPtr& object);

    // Interfaces a ComObject serves natively beside its facets. Their
    // IUnknown methods are the ComObject's; they hold it alive for the
    // length of each call (CallGuard).
    class NativeInterfaces {
    public:
        virtual ~NativeInterfaces() = default;
        // The interface pointer serving `iid` (no reference added), or nullptr.
        virtual IUnknown* find(const IID& iid) = 0;
    };
    using MakeNative = std::function<std::unique_ptr<NativeInterfaces>(ComObject& owner)>;
    // ofInstance() with native interfaces made for the new ComObject.
    static ComPtr<IUnknown> ofInstance(const fdt::ObjectPtr& object, const MakeNative& native);
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
    // The C++ object behind a live ComObject of this module and thread, or
    // nullptr for any other COM object, including one that answers every
    // interface identifier.
    static fdt::ObjectPtr objectOf(IUnknown* unknown);
    // Keeps a ComObject alive for the length of one call into it.
    class CallGuard {
    public:
        explicit CallGuard(ComObject& object) : m_object(object) { m_object.AddRef(); }
        ~CallGuard() { m_object.Release(); }
        CallGuard(const CallGuard&) = delete;
        CallGuard& operator=(const CallGuard&) = delete;

    private:
        ComObject& m_object;
    };

    const fdt::ObjectPtr& object() const { return m_object; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** result) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE InterfaceSupportsErrorInfo(REFIID iid) override;

    struct Identities;

private:
    ComObject(fdt::ObjectPtr object, bool instance);
    ~ComObject();
    ComObject(const ComObject&) = delete;
    ComObject& operator=(const ComObject&) = delete;
    // The facet serving `iid`, made on first request; nullptr when the object does not offer it.
    Facet* facet(const IID& iid);

    platform::ThreadState::Hold m_hold; // first made, last gone
    Identities* m_identities;
    fdt::ObjectPtr m_object;
    bool m_instance;
    // The count while the last reference's release runs.
    static constexpr ULONG kEnding = 0x40000000;
    ULONG m_references = 0;
    std::vector<std::unique_ptr<Facet>> m_facets;
    std::unique_ptr<NativeInterfaces> m_native;
};

} // namespace zeb2hart::com
