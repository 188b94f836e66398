#pragma once
// The topology the demo and the frame window host: the gateway DTM between the
// simulated ZEB communication DTM (the parent, answering from a device model)
// and a simulated HART device DTM (the child) on its HART channel, set up and
// released in the order a frame follows. Also the HART commands the demo
// sends, with the request data each carries for a device model.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "peers/HartDeviceDtm.h"
#include "host/Session.h"
#include "peers/ZebDeviceModel.h"
#include "core/DTMMain.h"
#include "platform/PropertyBag.h"

namespace zeb2hart::frame {

constexpr const char* kGatewayTag = "ZEB2HART_GW1";
constexpr const char* kChildTag = "LT-101";

// A HART command as the child sends it, with what it does.
struct HartCommandRequest {
    int number = 0;
    std::vector<std::uint8_t> data;
    std::string what;
};

// The commands the demo sends, in order: 0, 59, 1, 128, 129, 131.
std::vector<HartCommandRequest> demoCommands(const ZebDeviceModel& model);
// The demo's request of one of those commands; nothing for another number.
std::optional<HartCommandRequest> demoCommand(int number, const ZebDeviceModel& model);

// Selects a device type of DTM.ini the way the offline parameter page does:
// its position in the device list and its six identity items. Throws
// HostError when DTM.ini does not list the type or lacks an item.
void selectDeviceType(core::DTMMain& dtm, const std::string& device);

struct TopologyOptions {
    std::string device = "VRA520"; // selected on new properties
    int language = 9;              // primary language number: 7 German, 9 English
    // Set on new properties instead of DTM.ini's values when given.
    std::optional<int> warmstartDelaySeconds;
    bool allFiltersOn = false;
};

class SimulatedTopology {
public:
    // Told of each step of the frame ("attach HART device DTM ...") and of each
    // call the gateway refused.
    using Reporter = std::function<void(const std::string& text)>;

    // Puts a simulated communication DTM with `model` behind the session's parent.
    SimulatedTopology(Session& session, ZebDeviceModel model, TopologyOptions options);

    void onStage(Reporter reporter) { m_onStage = std::move(reporter); }
    void onProblem(Reporter reporter) { m_onProblem = std::move(reporter); }

    // A new gateway instance: new properties (or those of `loaded`), InitNew,
    // Environment with the session's frame, `afterEnvironment` (a frame opens
    // its pages there), SetCommunication, SetLanguage, Config, and the child
    // attached to the HART channel. Errors of the DTM reach the caller.
    void setUp(platform::PropertyBag* loaded = nullptr, const std::function<void()>& afterEnvironment = {});

    // The release a frame does: the child detached, the communication and the
    // DTM released, `afterPrepareToRelease` (a frame releases its pages there),
    // and the last reference dropped. True when the DTM object went away.
    bool release(const std::function<void()>& afterPrepareToRelease = {});

    bool isSetUp() const { return m_child != nullptr; }
    HartDeviceDtm& child() { return *m_child; }
    const ZebDeviceModel& model() const { return m_model; }
    const TopologyOptions& options() const { return m_options; }

private:
    void stage(const std::string& text);
    void expectTrue(bool result, const std::string& call);

    Session& m_session;
    ZebDeviceModel m_model;
    TopologyOptions m_options;
    HartDeviceDtm* m_child = nullptr;
    Reporter m_onStage;
    Reporter m_onProblem;
};

} // namespace zeb2hart::frame
