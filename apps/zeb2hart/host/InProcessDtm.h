#pragma once
// The DTM created in this process through the class registry, as the frame
// stand-in hosts it on Linux and with --in-process on Windows: every call goes
// straight to core::DTMMain. Used on the thread that runs the session.

#include <memory>

#include "core/DTMMain.h"
#include "host/HostedDtm.h"

namespace zeb2hart::frame {

class InProcessDtm final : public HostedDtm {
public:
    // Creates the DTM under the services in force (createDtm).
    InProcessDtm();
    ~InProcessDtm() override;

    // The DTMMain itself, for the parts of the frame stand-in that only run in process; nullptr after release().
    const std::shared_ptr<core::DTMMain>& dtm() const { return m_dtm; }

    fdt::ObjectPtr object() const override { return m_dtm; }
    bool release() override;
    void report(DtmReports reports) override;

    void initNewProperties() override { m_dtm->InitNewProperties(); }
    void loadProperties(platform::PropertyBag& bag) override { m_dtm->LoadProperties(bag); }
    void saveProperties(platform::PropertyBag& bag) override
    {
        m_dtm->SaveProperties(bag);
        m_dtm->markSaved();
    }
    std::vector<std::uint8_t> saveStream() override;
    void loadStream(std::span<const std::uint8_t> bytes) override;
    std::uint64_t streamSizeMax() override { return m_dtm->streamSizeMax(); }
    bool isDirty() override { return m_dtm->isDirty(); }

    fdt::Variant state(const std::string& name) override;
    void setState(const std::string& name, const fdt::Variant& value) override;
    // Read as a frame reads them, through the public IGatewayCounters.
    std::string counters() override;

    fdt::ObjectPtr GetFramePointer() override { return m_dtm->GetFramePointer(); }
    fdt::ObjectPtr OnInitControl() override { return m_dtm->OnInitControl(); }
    std::string xmlHelpFolder() override;
    std::string GetDictionaryText(const std::string& textId) override { return m_dtm->GetDictionaryText(textId); }
    void CtlMonitorPointer(const fdt::ObjectPtr& page) override { m_dtm->CtlMonitorPointer(page); }
    void CtlOfflineParamPointer(const fdt::ObjectPtr& page) override { m_dtm->CtlOfflineParamPointer(page); }
    void CtlAboutPointer(const fdt::ObjectPtr& page) override { m_dtm->CtlAboutPointer(page); }
    void PersistentParamChanged(const std::string& paramName, const std::string& newValue) override
    {
        m_dtm->PersistentParamChanged(paramName, newValue);
    }
    void MonitorMsg(const std::string& functionName, const std::string& message, std::int32_t lineColor,
                    std::int16_t filter) override
    {
        m_dtm->MonitorMsg(functionName, message, lineColor, filter);
    }
    void Set_Status() override { m_dtm->Set_Status(); }
    void TranslateControls(const std::string& prefix, const core::ControlList& controls) override
    {
        m_dtm->TranslateControls(prefix, controls);
    }

private:
    std::shared_ptr<core::DTMMain> m_dtm;
};

} // namespace zeb2hart::frame
