#pragma once
// A frame's handlers of what one DTM reports beyond FDT (its monitor messages
// and changed persisted properties) as IZeb2hartReports, handed to the DTM in
// a DLL through IZeb2hartTestAccess::Report. Made and called on the apartment's thread.

#include <cstdint>
#include <functional>
#include <string>

#include "com/ComPtr.h"
#include "com/FdtInterfaces.h"
#include "com/SimpleObject.h"

namespace zeb2hart::com {

class ReportsStub final : public SimpleObject<IZeb2hartReports> {
public:
    using MonitorHandler = std::function<void(const std::string& functionName, const std::string& message,
                                              std::int32_t lineColor, std::int16_t filter)>;
    using ChangeHandler = std::function<void(const std::string& propertyName)>;

    static ComPtr<IZeb2hartReports> create(MonitorHandler monitor, ChangeHandler changed);

    HRESULT STDMETHODCALLTYPE MonitorLine(BSTR functionName, BSTR message, LONG lineColor, SHORT filter) override;
    HRESULT STDMETHODCALLTYPE PropertyChanged(BSTR propertyName) override;

private:
    ReportsStub(MonitorHandler monitor, ChangeHandler changed)
        : m_monitor(std::move(monitor)), m_changed(std::move(changed))
    {
    }
    MonitorHandler m_monitor;
    ChangeHandler m_changed;
};

} // namespace zeb2hart::com
