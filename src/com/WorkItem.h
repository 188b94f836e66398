#pragma once
// A piece of the component's work as IZeb2hartWork, for a test frame's event
// loop to run: the callback of a posted call or a timer. Made and run on the
// apartment's thread.

#include <functional>

#include "com/ComPtr.h"
#include "com/FdtInterfaces.h"
#include "com/SimpleObject.h"

namespace zeb2hart::com {

class WorkItem final : public SimpleObject<IZeb2hartWork> {
public:
    static ComPtr<IZeb2hartWork> create(std::function<void()> work);

    // Runs the work; an exception it throws becomes a failed HRESULT.
    HRESULT STDMETHODCALLTYPE Run() override;

private:
    explicit WorkItem(std::function<void()> work) : m_work(std::move(work)) {}
    std::function<void()> m_work;
};

} // namespace zeb2hart::com
