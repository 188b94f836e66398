#include "demo/Demo.h"

#include <chrono>
#include <cstdio>
#include <functional>
#include <optional>
#include <vector>

#include "core/ComponentClasses.h"
#include "demo/CountersSummary.h"
#include "host/ComponentHost.h"
#include "peers/HartAnswerDecoder.h"
#include "peers/HartDeviceDtm.h"
#include "host/Session.h"
#include "host/Topology.h"
#include "peers/ZebDeviceModel.h"
#include "gateway/HartGateway.h"
#include "platform/RunLoop.h"
#include "support/Conversions.h"
#include "support/Monitor.h"

namespace zeb2hart::frame {

namespace {

using std::chrono::milliseconds;

constexpr milliseconds kAnswerLimit{3000};
// With wire timing an answer takes its field time (command 0 about a second) and may queue behind others.
constexpr milliseconds kRealtimeAnswerLimit{10000};

// The text in rows of at most 100 characters, broken after ", ", each further row indented.
std::string wrapped(const std::string& text, std::size_t indent)
{
    std::string result;
    std::size_t rowStart = 0;
    std::size_t lastBreak = std::string::npos;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text.compare(i, 2, ", ") == 0)
            lastBreak = i + 2;
        if (indent + i - rowStart >= 100 && lastBreak != std::string::npos && lastBreak > rowStart) {
            result += text.substr(rowStart, lastBreak - 2 - rowStart) + ",\n" + std::string(indent, ' ');
            rowStart = lastBreak;
        }
    }
    return result + text.substr(rowStart);
}

std::string ansiOf(std::int32_t color)
{
    switch (color) {
    case support::color::Green:
        return "\033[32m";
    case support::color::Red:
        return "\033[31m";
    case support::color::Blue:
        return "\033[34m";
    default:
        return {};
    }
}

// One HART command of the session and what came back.
struct CommandRun {
    CommandRun(int commandNumber, std::vector<std::uint8_t> requestData, std::string description)
        : number(commandNumber), data(std::move(requestData)), what(std::move(description))
    {
    }
    int number;
    std::vector<std::uint8_t> data;
    std::string what;
    bool accepted = false;
    std::optional<HartAnswer> answer;
};

class DemoSession {
public:
    DemoSession(const DemoOptions& options, std::ostream& out) : m_options(options), m_out(out) {}

    int run(std::ostream& errors)
    {
        ZebDeviceModel model;
        try {
            model = ZebDeviceModel::load(deviceModelFile(m_options.device));
        } catch (const ModelError& error) {
            errors << "zeb2hart demo: " << error.what() << "\n";
            return 2;
        }
        m_model = model;
        m_loop = std::make_shared<platform::RunLoop>();
        SessionOptions sessionOptions;
        sessionOptions.componentFolder = m_options.componentFolder;
        sessionOptions.frameSchemaFolder = frameSchemaFolder();
        sessionOptions.loop = m_loop;
        sessionOptions.onMonitorLine = [this](const std::string& line, std::int32_t color) {
            if (!m_options.quiet)
                m_out << formatMonitorLine(line, color, m_options.color) << std::flush;
        };
        try {
            m_session = std::make_unique<Session>(m_transcript, sessionOptions);
            TopologyOptions topology;
            topology.device = m_options.device;
            topology.language = m_options.language;
            topology.warmstartDelaySeconds = m_options.delaySeconds;
            topology.allFiltersOn = true;
            m_topology = std::make_unique<SimulatedTopology>(*m_session, std::move(model), topology);
            m_session->simulatedParent()->setWireTiming(m_options.realtime);
        } catch (const std::exception& error) {
            errors << "zeb2hart demo: cannot set up the session: " << error.what() << "\n";
            return 2;
        }
        try {
            setUp();
            talk();
            release();
        } catch (const std::exception& error) {
            problem(std::string("the session stopped: ") + error.what());
        }
        summary();
        return m_problems.empty() ? 0 : 1;
    }

private:
    void heading(const std::string& text)
    {
        if (m_options.quiet)
            return;
        m_out << "\n" << (m_options.color ? "\033[1m" : "") << "== " << text << (m_options.color ? "\033[0m" : "")
              << "\n";
    }

    void problem(const std::string& text) { m_problems.push_back(text); }

    milliseconds answerLimit() const { return m_options.realtime ? kRealtimeAnswerLimit : kAnswerLimit; }

    void expectTrue(bool result, const std::string& call)
    {
        if (!result)
            problem(call + " returned false");
    }

    bool waitFor(const std::function<bool()>& done, milliseconds limit)
    {
        return m_loop->runUntil(done, limit);
    }

    void setUp()
    {
        m_topology->onStage([this](const std::string& text) { heading("frame: " + text); });
        m_topology->onProblem([this](const std::string& text) { problem(text); });
        m_topology->setUp(nullptr, [this] {
            if (!m_session->monitorPage().Init("demo-monitor", m_session->documents().functionCall(core::kFunctionMonitor),
                                               m_session->dtmPtr()))
                problem("the monitor page could not be opened");
        });
        m_child = &m_topology->child();
    }

    void talk()
    {
        heading("child: connect");
        expectTrue(m_child->connect(), "IFdtCommunication::ConnectRequest");
        if (!waitFor([this] { return m_child->connected(); }, answerLimit()))
            problem("no connect response reached the child");

        for (const auto& request : demoCommands(m_model))
            m_commands.emplace_back(request.number, request.data, request.what);
        for (auto& command : m_commands) {
            heading("child: HART command " + std::to_string(command.number) + " (" + command.what + ")");
            command.accepted = m_child->sendCommand(command.number, command.data);
            const std::string invokeId = m_child->lastInvokeId();
            if (!command.accepted) {
                problem("the gateway refused HART command " + std::to_string(command.number));
                continue;
            }
            if (!waitFor([&] { return m_child->answerTo(invokeId) != nullptr; }, answerLimit()))
                problem("no answer to HART command " + std::to_string(command.number));
            if (const HartAnswer* answer = m_child->answerTo(invokeId))
                command.answer = *answer;
        }

        heading("time-out: waiting " + std::to_string(m_options.delaySeconds) + " s for the warm-start broadcast");
        const std::size_t before = warmstartAnswers();
        m_timeoutSeen = waitFor([&] { return warmstartAnswers() > before; },
                                milliseconds(m_options.delaySeconds * 1000) + answerLimit());
        if (!m_timeoutSeen)
            problem("the time-out broadcast was not answered (no \"Warmstart actuated\")");

        heading("child: disconnect");
        expectTrue(m_child->disconnect(), "IFdtCommunication::DisconnectRequest");
        m_disconnected = waitFor([this] { return m_child->disconnectResponses() > 0; }, answerLimit());
        if (!m_disconnected)
            problem("no disconnect response reached the child");
        waitFor([] { return false; }, milliseconds(200)); // the disconnect broadcast's answer
        if (m_session->simulatedParent()->errorsReturned() > 0)
            problem("the gateway raised " + std::to_string(m_session->simulatedParent()->errorsReturned()) +
                    " error(s) to the parent, the last: " + m_session->simulatedParent()->lastError());
    }

    void release()
    {
        // The counters are read while the DTM is still there.
        m_counters = m_session->hosted().counters();
        m_released = m_topology->release([this] {
            if (!m_session->monitorPage().PrepareToRelease())
                problem("the monitor page refused IDtmActiveXControl::PrepareToRelease");
        });
        if (!m_released)
            problem("the DTM object stayed alive after the frame released its last reference");
    }

    std::size_t warmstartAnswers() const
    {
        std::size_t count = 0;
        for (const auto& event : m_transcript.events()) {
            if (event.value("ev", "") == "monitor" && event.value("function", "") == "Warmstart actuated")
                ++count;
        }
        return count;
    }

    void summary()
    {
        std::ostream& out = m_out;
        out << "\nSummary: device type " << m_options.device << ", language " << m_options.language
            << ", warm-start delay " << m_options.delaySeconds << " s\n";
        if (m_child) {
            out << "  connected      " << (m_child->communicationReference().empty() ? std::string("no")
                                                                                  : "communication reference " +
                                                                                        m_child->communicationReference())
                << ", short address " << m_child->shortAddress() << "\n";
            if (const auto& identity = m_child->identity()) {
                out << "  identity       " << wrapped(identityText(*identity), 17) << "\n";
                const std::string check = identityCheck(*identity);
                out << "                 " << (check.empty() ? "matches the device model" : check) << "\n";
                if (!check.empty())
                    problem(check);
            } else {
                out << "  identity       not learned\n";
                problem("the child learned no identity from command 0");
            }
        }
        for (const auto& command : m_commands) {
            out << "  command " << command.number << (command.number < 10 ? "    " : (command.number < 100 ? "   " : "  "));
            if (!command.answer) {
                out << (command.accepted ? "no answer" : "refused") << "\n";
                continue;
            }
            if (command.answer->communicationError) {
                out << "communication error " << command.answer->errorName << "\n";
                continue;
            }
            out << "response code " << command.answer->responseCode << " ("
                << responseCodeMeaning(static_cast<std::uint8_t>(command.answer->responseCode)) << "), device status "
                << command.answer->deviceStatus;
            if (!command.answer->data.empty())
                out << ", data " << support::ByteArrayToHex(command.answer->data);
            out << "\n";
            const std::string decoded = answerDataText(command.number, command.answer->data, m_model);
            if (!decoded.empty() && command.number != 0) // the identity is shown above
                out << "               " << wrapped(decoded, 15) << "\n";
        }
        out << "  time-out       " << (m_timeoutSeen ? "broadcast sent and answered (Warmstart actuated)" : "not seen")
            << "\n";
        out << "  disconnect     " << (m_disconnected ? "answered" : "not answered") << "\n";
        out << "  release        " << (m_released ? "the DTM object and its helpers are gone" : "not clean") << "\n";
        if (!m_counters.empty())
            writeCountersSummary(out, m_counters);
        if (m_problems.empty()) {
            out << "Every expected answer arrived.\n";
        } else {
            out << "Problems:\n";
            for (const auto& text : m_problems)
                out << "  - " << text << "\n";
        }
    }

    // "" when the decoded identity is what the device model holds.
    std::string identityCheck(const HartIdentity& identity) const
    {
        const auto byteOf = [this](std::size_t item) { return m_model.identityObject(item)->data.at(0); };
        const auto& id = m_model.identityObject(5)->data;
        const std::uint32_t expectedId = (std::uint32_t{id[2]} << 16) | (std::uint32_t{id[1]} << 8) | id[0];
        std::string mismatch;
        const auto compare = [&](const char* what, unsigned got, unsigned expected) {
            if (got != expected)
                mismatch += std::string(mismatch.empty() ? "" : ", ") + what + " " + std::to_string(got) +
                            " (model: " + std::to_string(expected) + ")";
        };
        compare("expansion code", identity.expansion, 254);
        compare("manufacturer", identity.manufacturerId, byteOf(0));
        compare("device type", identity.deviceType, byteOf(1));
        compare("transmitter revision", identity.transmitterRevision, byteOf(2));
        compare("software revision", identity.softwareRevision, byteOf(3));
        compare("hardware revision", identity.hardwareRevision, byteOf(4) >> 3);
        compare("signalling code", identity.signallingCode, byteOf(4) & 0x07);
        compare("device id", identity.deviceId, expectedId);
        return mismatch.empty() ? std::string() : "identity differs from the device model: " + mismatch;
    }

    const DemoOptions& m_options;
    std::ostream& m_out;
    Transcript m_transcript;
    ZebDeviceModel m_model;
    std::shared_ptr<platform::RunLoop> m_loop;
    std::unique_ptr<Session> m_session;
    std::unique_ptr<SimulatedTopology> m_topology;
    HartDeviceDtm* m_child = nullptr;
    std::vector<CommandRun> m_commands;
    bool m_timeoutSeen = false;
    bool m_disconnected = false;
    bool m_released = false;
    std::string m_counters;
    std::vector<std::string> m_problems;
};

} // namespace

std::string formatMonitorLine(const std::string& textLine, std::int32_t color, bool useColor)
{
    std::string text;
    text.reserve(textLine.size() + 16);
    for (std::size_t i = 0; i < textLine.size(); ++i) {
        if (textLine[i] == '\r' && i + 1 < textLine.size() && textLine[i + 1] == '\n')
            continue;
        text += textLine[i];
    }
    const std::string start = useColor ? ansiOf(color) : std::string();
    return start + text + (start.empty() ? "" : "\033[0m") + "\n";
}

int runDemo(const DemoOptions& options, std::ostream& out, std::ostream& errors)
{
    DemoSession session(options, out);
    return session.run(errors);
}

} // namespace zeb2hart::frame
