#include "demo/TimingTable.h"

#include <chrono>
#include <memory>
#include <optional>

#include "host/ComponentHost.h"
#include "host/Session.h"
#include "host/Topology.h"
#include "peers/WireTiming.h"
#include "peers/ZebDeviceModel.h"
#include "platform/ManualEventLoop.h"

namespace zeb2hart::frame {

namespace {

using std::chrono::milliseconds;

constexpr milliseconds kLongestAnswer{60'000};
// Out of the way of the measured commands: the time-out broadcast would take the bus.
constexpr int kWarmstartDelaySeconds = 32;

struct CommandTime {
    int command;
    std::optional<milliseconds> time; // nothing: no answer
};

// Runs the demo's commands one after the other on an idle bus and measures each answer on the manual clock.
std::vector<CommandTime> measure(const ZebDeviceModel& model, const TimingOptions& options)
{
    auto loop = std::make_shared<platform::ManualEventLoop>();
    Transcript transcript;
    SessionOptions sessionOptions;
    sessionOptions.componentFolder = options.componentFolder;
    sessionOptions.frameSchemaFolder = frameSchemaFolder();
    sessionOptions.deterministic = true;
    sessionOptions.loop = loop;
    Session session(transcript, sessionOptions);
    TopologyOptions topologyOptions;
    topologyOptions.device = model.deviceType;
    topologyOptions.warmstartDelaySeconds = kWarmstartDelaySeconds;
    SimulatedTopology topology(session, model, topologyOptions);
    topology.setUp();
    session.simulatedParent()->setWireTiming(true);
    HartDeviceDtm& child = topology.child();
    child.connect();
    loop->runPending();

    std::vector<CommandTime> times;
    for (const auto& request : demoCommands(model)) {
        const milliseconds start = loop->now();
        child.sendCommand(request.number, request.data);
        const std::string invokeId = child.lastInvokeId();
        loop->runPending();
        while (!child.answerTo(invokeId) && loop->now() - start < kLongestAnswer)
            loop->advance(milliseconds(1));
        times.push_back({request.number, child.answerTo(invokeId) ? std::optional(loop->now() - start) : std::nullopt});
    }
    child.disconnect();
    loop->advance(kLongestAnswer);
    topology.release();
    return times;
}

} // namespace

int printTimingTables(const TimingOptions& options, std::ostream& out, std::ostream& errors)
{
    std::vector<ZebDeviceModel> models;
    try {
        for (const auto& device : options.devices)
            models.push_back(ZebDeviceModel::load(deviceModelFile(device)));
    } catch (const ModelError& error) {
        errors << "zeb2hart timing: " << error.what() << "\n";
        return 2;
    }

    out << "| Key | Default | Meaning |\n|---|---|---|\n";
    for (const auto& key : busKeys())
        out << "| `" << key.key << "` | " << key.defaultValue << " | " << key.meaning << " |\n";

    out << "\n| Device |";
    for (const auto& key : busKeys())
        out << " `" << key.key << "` |";
    out << "\n|---|";
    for (std::size_t i = 0; i < busKeys().size(); ++i)
        out << "---|";
    out << "\n";
    for (const auto& model : models) {
        out << "| " << model.deviceType << " |";
        for (const auto& key : busKeys())
            out << " " << model.bus.*key.member << " |";
        out << "\n";
    }

    int status = 0;
    std::vector<std::vector<CommandTime>> rows;
    try {
        for (const auto& model : models)
            rows.push_back(measure(model, options));
    } catch (const std::exception& error) {
        errors << "zeb2hart timing: cannot run the session: " << error.what() << "\n";
        return 2;
    }
    out << "\n| Device (ms) |";
    for (const auto& time : rows.empty() ? std::vector<CommandTime>{} : rows.front())
        out << " " << time.command << " |";
    out << "\n|---|";
    for (std::size_t i = 0; !rows.empty() && i < rows.front().size(); ++i)
        out << "---:|";
    out << "\n";
    for (std::size_t i = 0; i < rows.size(); ++i) {
        out << "| " << models[i].deviceType << " |";
        for (const auto& time : rows[i]) {
            if (!time.time)
                status = 1;
            out << " " << (time.time ? std::to_string(time.time->count()) : std::string("no answer")) << " |";
        }
        out << "\n";
    }
    return status;
}

} // namespace zeb2hart::frame
