#pragma once
// The base of every stub: the facet of a ComObject that serves one COM
// interface by calling the C++ object. It counts references on its ComObject
// and runs every method body through guarded(), so that an exception becomes a
// failed HRESULT with error info, holding a reference on its ComObject until
// the body has returned: a caller may let go of its last reference inside the
// call (in a callback the call makes). Called on the apartment's thread.

#include <memory>
#include <type_traits>
#include <utility>

#include "com/ComObject.h"
#include "com/ComValue.h"
#include "com/ErrorMapping.h"
#include "com/Facet.h"
#include "com/TableTypes.h"

namespace zeb2hart::com {

template <class ComInterface, class Implementation>
class Stub : public ComInterface, public Facet {
public:
    using Com = ComInterface;
    using Cpp = Implementation;

    Stub(ComObject& owner, std::shared_ptr<Implementation> object) : m_owner(owner), m_object(std::move(object)) {}

    const IID& iid() const override { return __uuidof(ComInterface); }
    IUnknown* comInterface() override { return static_cast<ComInterface*>(this); }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** result) override
    {
        return m_owner.QueryInterface(iid, result);
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return m_owner.AddRef(); }
    ULONG STDMETHODCALLTYPE Release() override { return m_owner.Release(); }

protected:
    Implementation& object() const { return *m_object; }

    // An operation without result.
    template <class F>
    HRESULT run(F&& body) noexcept
    {
        const ComObject::CallGuard alive(m_owner);
        return guarded(iid(), std::forward<F>(body));
    }

    // An operation whose result goes out as its COM type (ComValue).
    template <class Out, class F>
    HRESULT answer(Out* result, F&& body) noexcept
    {
        if (!result)
            return reportFailure(E_POINTER, "no place for the result", iid());
        const ComObject::CallGuard alive(m_owner);
        return guarded(iid(), [&] {
            using Result = std::decay_t<decltype(body())>;
            *result = ComValue<Result>::to(body());
        });
    }

    // An operation of the interface table with the result type Tag (fdt::tag::Void: none).
    // `result` is the place for it, if there is one.
    template <class Tag, class F, class... Out>
    HRESULT serve(F&& body, Out... result) noexcept
    {
        if constexpr (std::is_same_v<Tag, fdt::tag::Void>)
            return run(std::forward<F>(body));
        else
            return answer(result..., [&] { return ComArg<Tag>::held(body()); });
    }

private:
    ComObject& m_owner;
    std::shared_ptr<Implementation> m_object;
};

} // namespace zeb2hart::com
