#include "com/ReportsStub.h"

#include "com/ErrorMapping.h"
#include "com/Values.h"

namespace zeb2hart::com {

ComPtr<IZeb2hartReports> ReportsStub::create(MonitorHandler monitor, ChangeHandler changed)
{
    return new ReportsStub(std::move(monitor), std::move(changed));
}

HRESULT STDMETHODCALLTYPE ReportsStub::MonitorLine(BSTR functionName, BSTR message, LONG lineColor, SHORT filter)
{
    return guarded(__uuidof(IZeb2hartReports), [&] {
        if (m_monitor)
            m_monitor(fromBstr(functionName), fromBstr(message), lineColor, filter);
    });
}

HRESULT STDMETHODCALLTYPE ReportsStub::PropertyChanged(BSTR propertyName)
{
    return guarded(__uuidof(IZeb2hartReports), [&] {
        if (m_changed)
            m_changed(fromBstr(propertyName));
    });
}

} // namespace zeb2hart::com
