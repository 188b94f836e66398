#pragma once
// The base of every proxy: a Peer holding one COM interface of a foreign
// object, on which the derived class implements the matching C++ interface.
// Every call of the peer goes through callPeer(): a failed HRESULT becomes the
// matching exception (checkPeerResult). Called on the apartment's thread.

#include <type_traits>
#include <utility>

#include "com/Bstr.h"
#include "com/ComObject.h"
#include "com/ComValue.h"
#include "com/ErrorMapping.h"
#include "com/Peer.h"
#include "com/TableTypes.h"

namespace zeb2hart::com {

template <class ComInterface>
class Proxy : public Peer {
public:
    using Com = ComInterface;

    explicit Proxy(ComPtr<ComInterface> peer) : Peer(peer.Get()), m_peer(std::move(peer)) {}

protected:
    ComInterface& peer() const { return *m_peer.Get(); }

    // Calls `method`, which calls the peer and answers its HRESULT. An error info
    // left on the thread by an earlier call does not describe this call's failure.
    template <class F>
    void callPeer(F&& method) const
    {
        clearErrorInfo();
        checkPeerResult(method(), *m_peer.Get(), __uuidof(ComInterface));
    }

    // Calls `method` with the place for its [out, retval] value and answers that value as T.
    template <class T, class F>
    T ask(F&& method) const
    {
        typename ComValue<T>::Type result{};
        callPeer([&] { return method(&result); });
        return ComValue<T>::take(result);
    }

    // Calls an operation of the interface table with the result type Tag
    // (fdt::tag::Void: none): `method` takes the place for the result, if any.
    template <class Tag, class F>
    fdt::Out<Tag> call(F&& method) const
    {
        if constexpr (std::is_same_v<Tag, fdt::tag::Void>)
            callPeer(std::forward<F>(method));
        else
            return ComArg<Tag>::fromHeld(ask<typename ComArg<Tag>::Held>(std::forward<F>(method)));
    }

private:
    ComPtr<ComInterface> m_peer;
};

} // namespace zeb2hart::com
