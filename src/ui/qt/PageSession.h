#pragma once
// What a page keeps from IDtmActiveXControl::Init until it ends: the gateway
// DTM that opened it, the frame object the DTM hands on (OnInitControl) and
// the invoke identifier under which the frame opened it.

#include <functional>
#include <memory>
#include <string>

#include "core/DTMMain.h"
#include "fdt/Object.h"

namespace zeb2hart::ui {

class PageSession {
public:
    // Init's first steps: false, and nothing kept, for an empty invoke
    // identifier or a missing DTM (an object that is not the gateway DTM
    // counts as missing).
    bool open(const std::string& invokeId, const fdt::ObjectPtr& dtm);

    // PrepareToRelease: false without invoke identifier or frame object.
    // Otherwise drops the page's registration with the DTM through
    // `unregister`, tells the frame that the user interface opened under the
    // invoke identifier is closed, and answers true (false when the frame
    // object offers no frame event interface to tell).
    bool release(const std::function<void(core::DTMMain&)>& unregister);

    // Termination: forgets the DTM, the frame and the invoke identifier.
    void close();

    core::DTMMain* dtm() const { return m_dtm.get(); }
    const fdt::ObjectPtr& frame() const { return m_frame; }
    const std::string& invokeId() const { return m_invokeId; }

private:
    std::shared_ptr<core::DTMMain> m_dtm;
    fdt::ObjectPtr m_frame;
    std::string m_invokeId;
};

} // namespace zeb2hart::ui
