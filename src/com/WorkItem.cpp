#include "com/WorkItem.h"

#include "com/ErrorMapping.h"

namespace zeb2hart::com {

ComPtr<IZeb2hartWork> WorkItem::create(std::function<void()> work)
{
    return new WorkItem(std::move(work));
}

HRESULT STDMETHODCALLTYPE WorkItem::Run()
{
    const ComPtr<IZeb2hartWork> alive(this); // the work may drop the last reference to its item
    return guarded(__uuidof(IZeb2hartWork), [&] {
        if (m_work)
            m_work();
    });
}

} // namespace zeb2hart::com
