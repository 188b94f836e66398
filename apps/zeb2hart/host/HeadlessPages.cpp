#include "host/HeadlessPages.h"

#include "fdt/FrameInterfaces.h"

namespace zeb2hart::frame {

HeadlessPage::HeadlessPage(const pages::PageTable& table, HostedDtmLookup lookup)
    : m_prefix(table.controlName), m_lookup(std::move(lookup))
{
    for (const pages::ControlInfo& control : table.controls)
        m_controls.emplace_back(std::string(control.name), control.index, control.caption != nullptr);
}

bool HeadlessPage::Init(const std::string& invokeId, const std::string& /*functionCall*/, const fdt::ObjectPtr& dtm)
{
    HostedDtm* hosted = dtm && m_lookup ? m_lookup(dtm) : nullptr;
    if (invokeId.empty() || !hosted)
        return false;
    m_dtm = dtm;
    m_frame = hosted->OnInitControl();
    m_invokeId = invokeId;
    registerWith(*hosted, self());
    UpdateLanguage();
    return true;
}

bool HeadlessPage::PrepareToRelease()
{
    if (m_invokeId.empty() || !m_frame)
        return false;
    if (HostedDtm* hosted = hostedDtm())
        registerWith(*hosted, nullptr);
    if (auto events = fdt::query<fdt::IDtmEvents>(m_frame))
        events->OnApplicationClosed(m_invokeId);
    return true;
}

HostedDtm* HeadlessPage::hostedDtm() const
{
    const auto dtm = m_dtm.lock();
    return dtm && m_lookup ? m_lookup(dtm) : nullptr;
}

void HeadlessPage::UpdateLanguage()
{
    HostedDtm* hosted = hostedDtm();
    if (!hosted)
        return;
    core::ControlList list;
    for (auto& control : m_controls)
        list.push_back(&control);
    hosted->TranslateControls(m_prefix + "_", list);
    if (m_onTranslated)
        m_onTranslated(m_controls);
}

HeadlessMonitorPage::HeadlessMonitorPage(LineHandler onLine, HostedDtmLookup lookup)
    : HeadlessPage(pages::monitorTable(), std::move(lookup)),
      m_onLine(std::move(onLine))
{
}

void HeadlessMonitorPage::MessageLine(const std::string& textLine, std::int32_t color)
{
    if (m_onLine)
        m_onLine(textLine, color);
}

HeadlessOfflinePage::HeadlessOfflinePage(StatusHandler onStatus, HostedDtmLookup lookup)
    : HeadlessPage(pages::offlineParamTable(), std::move(lookup)),
      m_onStatus(std::move(onStatus))
{
}

void HeadlessOfflinePage::SetParameterStatus(const fdt::Variant& newValue, const std::string& statusText)
{
    if (m_onStatus)
        m_onStatus(newValue, statusText);
}

} // namespace zeb2hart::frame
