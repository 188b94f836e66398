#include "ui/qt/PageSession.h"

#include "fdt/FrameInterfaces.h"

namespace zeb2hart::ui {

bool PageSession::open(const std::string& invokeId, const fdt::ObjectPtr& dtm)
{
    auto gatewayDtm = fdt::query<core::DTMMain>(dtm);
    if (invokeId.empty() || !gatewayDtm)
        return false;
    m_frame = gatewayDtm->OnInitControl();
    m_dtm = std::move(gatewayDtm);
    m_invokeId = invokeId;
    return true;
}

bool PageSession::release(const std::function<void(core::DTMMain&)>& unregister)
{
    if (m_invokeId.empty() || !m_frame)
        return false;
    if (m_dtm && unregister)
        unregister(*m_dtm);
    const auto events = fdt::query<fdt::IDtmEvents>(m_frame);
    if (!events)
        return false;
    events->OnApplicationClosed(m_invokeId);
    return true;
}

void PageSession::close()
{
    m_invokeId.clear();
    m_dtm.reset();
    m_frame.reset();
}

} // namespace zeb2hart::ui
