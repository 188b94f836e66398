#pragma once
// The DTM as a frame on Windows hosts it: created from the ProgID
// ZEB2HARTGateway.DTMMain through its registered class object, reached only
// through COM. Its FDT interfaces are proxies (com::Peer); what scripts need
// beyond FDT goes through the component's private IZeb2hartTestAccess, its
// persistence through IPersistPropertyBag and IPersistStreamInit (over a
// stream in memory, CreateStreamOnHGlobal), and the DTM runs under the frame's
// services, lent through the class object's IZeb2hartTestServices before the
// DTM is made. The thread must be in a single-threaded apartment; used on that thread.

#include "com/ComPtr.h"
#include "com/FdtInterfaces.h"
#include "host/HostedDtm.h"
#include "platform/Services.h"

namespace zeb2hart::frame {

class ComDtm final : public HostedDtm {
public:
    // Throws HostError when the class is not registered or cannot be created.
    explicit ComDtm(const platform::Services& frameServices);
    ~ComDtm() override;

    fdt::ObjectPtr object() const override { return m_object; }
    bool release() override;
    void report(DtmReports reports) override;

    void initNewProperties() override;
    void loadProperties(platform::PropertyBag& bag) override;
    void saveProperties(platform::PropertyBag& bag) override;
    std::vector<std::uint8_t> saveStream() override;
    void loadStream(std::span<const std::uint8_t> bytes) override;
    std::uint64_t streamSizeMax() override;
    bool isDirty() override;

    fdt::Variant state(const std::string& name) override;
    void setState(const std::string& name, const fdt::Variant& value) override;
    std::string counters() override;

    fdt::ObjectPtr GetFramePointer() override;
    fdt::ObjectPtr OnInitControl() override;
    std::string xmlHelpFolder() override;
    std::string GetDictionaryText(const std::string& textId) override;
    void CtlMonitorPointer(const fdt::ObjectPtr& page) override;
    void CtlOfflineParamPointer(const fdt::ObjectPtr& page) override;
    void CtlAboutPointer(const fdt::ObjectPtr& page) override;
    void PersistentParamChanged(const std::string& paramName, const std::string& newValue) override;
    void MonitorMsg(const std::string& functionName, const std::string& message, std::int32_t lineColor,
                    std::int16_t filter) override;
    void Set_Status() override;
    void TranslateControls(const std::string& prefix, const core::ControlList& controls) override;

private:
    IZeb2hartTestAccess& access() const;
    com::ComPtr<IPersistPropertyBag> persistence() const;
    com::ComPtr<IPersistStreamInit> streamPersistence() const;

    com::ComPtr<IZeb2hartTestServices> m_services;
    com::ComPtr<IUnknown> m_dtm;
    com::ComPtr<IZeb2hartTestAccess> m_access;
    fdt::ObjectPtr m_object;
};

} // namespace zeb2hart::frame
