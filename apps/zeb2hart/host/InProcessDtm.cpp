#include "host/InProcessDtm.h"

#include "core/DtmState.h"
#include "gateway/CountersJson.h"
#include "host/ComponentHost.h"

namespace zeb2hart::frame {

namespace {

class ReportingPersistenceSite final : public core::PersistenceSite {
public:
    explicit ReportingPersistenceSite(std::function<void(const std::string&)> report) : m_report(std::move(report)) {}
    void PropertyChanged(const std::string& propertyName) override
    {
        if (m_report)
            m_report(propertyName);
    }

private:
    std::function<void(const std::string&)> m_report;
};

} // namespace

InProcessDtm::InProcessDtm() : m_dtm(createDtm()) {}

InProcessDtm::~InProcessDtm()
{
    if (m_dtm)
        m_dtm->setMonitorObserver(nullptr);
}

bool InProcessDtm::release()
{
    std::weak_ptr<core::DTMMain> watch = m_dtm;
    m_dtm.reset();
    return watch.expired();
}

void InProcessDtm::report(DtmReports reports)
{
    m_dtm->setMonitorObserver(std::move(reports.monitor));
    m_dtm->setPersistenceSite(reports.propertyChanged
                                  ? std::make_shared<ReportingPersistenceSite>(std::move(reports.propertyChanged))
                                  : nullptr);
}

std::vector<std::uint8_t> InProcessDtm::saveStream()
{
    platform::MemoryByteSink sink;
    m_dtm->saveStream(sink, true);
    return sink.bytes();
}

void InProcessDtm::loadStream(std::span<const std::uint8_t> bytes)
{
    platform::MemoryByteSource source(bytes);
    m_dtm->loadStream(source);
}

fdt::Variant InProcessDtm::state(const std::string& name)
{
    return core::DtmState::read(*m_dtm, name);
}

void InProcessDtm::setState(const std::string& name, const fdt::Variant& value)
{
    core::DtmState::write(*m_dtm, name, value);
}

std::string InProcessDtm::counters()
{
    if (!m_dtm)
        throw fdt::NullObjectError("the DTM has been released");
    return gateway::countersJson(fdt::require<gateway::IGatewayCounters>(m_dtm)->connectionCounters());
}

std::string InProcessDtm::xmlHelpFolder()
{
    return m_dtm->XMLHelpPointer().componentFolder().string();
}

} // namespace zeb2hart::frame
