#include "host/Topology.h"

#include "core/ComponentData.h"
#include "core/PersistentProperties.h"
#include "host/ComponentHost.h"
#include "gateway/HartGateway.h"
#include "support/IniFile.h"

namespace zeb2hart::frame {

std::vector<HartCommandRequest> demoCommands(const ZebDeviceModel& model)
{
    const std::vector<std::uint8_t> telegram{static_cast<std::uint8_t>(model.demoObjectNo >> 8),
                                             static_cast<std::uint8_t>(model.demoObjectNo & 0xFF), model.demoSubNo,
                                             0x00, 0x00};
    return {
        {0, {}, "read unique identifier"},
        {59, {0x05}, "write number of response preambles"},
        {1, {}, "read primary variable (not served by the gateway)"},
        {128, telegram,
         "ZEB telegram reading object " + std::to_string(model.demoObjectNo) + "." + std::to_string(model.demoSubNo)},
        {129, {0x80, 0x00, 0x00, 0x03, 0x00}, "ZEB broadcast: warm-start request"},
        {131, {}, "read delayed response"},
    };
}

std::optional<HartCommandRequest> demoCommand(int number, const ZebDeviceModel& model)
{
    for (auto& command : demoCommands(model)) {
        if (command.number == number)
            return command;
    }
    return std::nullopt;
}

void selectDeviceType(core::DTMMain& dtm, const std::string& device)
{
    const std::string list = dtm.PersistentDeviceList;
    // The last entry of that name, as the list is split everywhere else.
    std::int16_t index = -1;
    std::int16_t position = 0;
    for (const std::string& name : core::splitDeviceList(list)) {
        if (name == device)
            index = position;
        ++position;
    }
    if (index < 0)
        throw HostError("the device type " + device + " is not in the device list \"" + list + "\" of DTM.ini");
    dtm.PersistentDeviceTypeIndex = index;
    for (const auto& item : core::PersistentProperty::identity()) {
        const std::string key(item.iniKey);
        const std::string value = support::ReadIniString(dtm.iniFile(), device, key);
        if (value.empty())
            throw HostError("DTM.ini has no " + key + " for " + device);
        item.set(dtm, value);
    }
}

SimulatedTopology::SimulatedTopology(Session& session, ZebDeviceModel model, TopologyOptions options)
    : m_session(session), m_model(model), m_options(std::move(options))
{
    m_session.attachSimulatedParent(std::move(model));
}

void SimulatedTopology::stage(const std::string& text)
{
    if (m_onStage)
        m_onStage(text);
}

void SimulatedTopology::expectTrue(bool result, const std::string& call)
{
    if (!result && m_onProblem)
        m_onProblem(call + " returned false");
}

void SimulatedTopology::setUp(platform::PropertyBag* loaded, const std::function<void()>& afterEnvironment)
{
    auto& dtm = m_session.dtm();
    const auto& documents = m_session.documents();
    if (loaded) {
        stage("gateway instance " + std::string(kGatewayTag) + " loaded from the project");
        dtm.LoadProperties(*loaded);
    } else {
        stage("new gateway instance " + std::string(kGatewayTag) + " for device type " + m_options.device);
        dtm.InitNewProperties();
        selectDeviceType(dtm, m_options.device);
        if (m_options.warmstartDelaySeconds)
            dtm.PersistentWarmstartDelay = static_cast<std::int16_t>(*m_options.warmstartDelaySeconds);
        if (m_options.allFiltersOn) {
            dtm.PersistentZEBProtocolFilter = true;
            dtm.PersistentHARTProtocolFilter = true;
            dtm.PersistentFDTInterfaceFilter = true;
        }
    }
    expectTrue(dtm.InitNew(documents.deviceType("ZEB to HART Gateway", gateway::kZebProtocolId)), "IDtm::InitNew");
    expectTrue(dtm.Environment(kGatewayTag, m_session.object("frame")), "IDtm::Environment");
    if (afterEnvironment)
        afterEnvironment();
    expectTrue(dtm.SetCommunication(fdt::query<fdt::IFdtCommunication>(m_session.object("parent"))),
               "IDtm::SetCommunication");
    if (!dtm.SetLanguage(0x400 + m_options.language) && m_onProblem)
        m_onProblem("IDtm::SetLanguage(" + std::to_string(m_options.language) + ") returned false (no such language)");
    expectTrue(dtm.Config(documents.userInformation("planningEngineer")), "IDtm::Config");

    stage("attach HART device DTM " + std::string(kChildTag) + " to the HART channel");
    expectTrue(dtm.ValidateAddChild(kChildTag), "IFdtChannelSubTopology::ValidateAddChild");
    dtm.OnAddChild(kChildTag);
    m_child = &m_session.attachSimulatedChild(kChildTag, 0);
}

bool SimulatedTopology::release(const std::function<void()>& afterPrepareToRelease)
{
    auto& dtm = m_session.dtm();
    stage("detach the child and release the gateway");
    expectTrue(dtm.ValidateRemoveChild(kChildTag), "IFdtChannelSubTopology::ValidateRemoveChild");
    dtm.OnRemoveChild(kChildTag);
    if (m_child)
        m_child->attach(nullptr);
    expectTrue(dtm.PrepareToReleaseCommunication(), "IDtm::PrepareToReleaseCommunication");
    expectTrue(dtm.ReleaseCommunication(), "IDtm::ReleaseCommunication");
    expectTrue(dtm.PrepareToRelease(), "IDtm::PrepareToRelease");
    if (afterPrepareToRelease)
        afterPrepareToRelease();
    return m_session.releaseDtm();
}

} // namespace zeb2hart::frame
