#pragma once
// One interface of a ComObject: the stub that serves it. The ComObject owns
// its facets and answers QueryInterface with them; a facet counts its
// references on the ComObject. Called on the apartment's thread.

#include <windows.h>
#include <unknwn.h>

namespace zeb2hart::com {

class Facet {
public:
    virtual ~Facet() = default;
    virtual const IID& iid() const = 0;
    // The interface pointer the facet serves (no reference added).
    virtual IUnknown* comInterface() = 0;
};

} // namespace zeb2hart::com
