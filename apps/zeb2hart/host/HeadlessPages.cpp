#include "host/HeadlessPages.h"

#include "fdt/FrameInterfaces.h"

namespace zeb2hart::frame {

bool HeadlessPage::Init(const std::string& invokeId, const std::string& /*functionCall*/, const fdt::ObjectPtr& dtm)
{
    auto main = fdt::query<core::DTMMain>(dtm);
    if (invokeId.empty() || !main)
        return false;
    m_dtm = main;
    m_frame = main->OnInitControl();
    m_invokeId = invokeId;
    registerWith(*main, self());
    UpdateLanguage();
    return true;
}

bool HeadlessPage::PrepareToRelease()
{
    if (m_invokeId.empty() || !m_frame)
        return false;
    if (auto main = m_dtm.lock())
        registerWith(*main, nullptr);
    if (auto events = fdt::query<fdt::IDtmEvents>(m_frame))
        events->OnApplicationClosed(m_invokeId);
    return true;
}

void HeadlessPage::UpdateLanguage()
{
    auto main = m_dtm.lock();
    if (!main)
        return;
    core::ControlList list;
    for (auto& control : m_controls)
        list.push_back(&control);
    main->TranslateControls(m_prefix + "_", list);
    if (m_onTranslated)
        m_onTranslated(m_controls);
}

HeadlessMonitorPage::HeadlessMonitorPage(LineHandler onLine)
    : HeadlessPage("ctlMonitor", {{"btnClear", std::nullopt, true},
                                  {"btnSave", std::nullopt, true},
                                  {"chkFDTInterface", std::nullopt, true},
                                  {"chkZEBProtocols", std::nullopt, true},
                                  {"chkHARTProtocols", std::nullopt, true},
                                  {"RichTextBoxComm", std::nullopt, false}}),
      m_onLine(std::move(onLine))
{
}

void HeadlessMonitorPage::MessageLine(const std::string& textLine, std::int32_t color)
{
    if (m_onLine)
        m_onLine(textLine, color);
}

HeadlessOfflinePage::HeadlessOfflinePage(StatusHandler onStatus)
    : HeadlessPage("ctlOfflineParam", {{"lblDevType", std::nullopt, true},
                                       {"lblWarmstartDelay", std::nullopt, true},
                                       {"picStatus", std::nullopt, false}}),
      m_onStatus(std::move(onStatus))
{
}

void HeadlessOfflinePage::SetParameterStatus(const fdt::Variant& newValue, const std::string& statusText)
{
    if (m_onStatus)
        m_onStatus(newValue, statusText);
}

} // namespace zeb2hart::frame
