#pragma once
// The simulated parent: a ZEB communication DTM that answers the gateway's
// connect, disconnect and data-exchange requests from a ZEB device model.
// Every answer is posted to the event loop, so that it arrives after the
// request call has returned, as a real communication DTM answers. With wire
// timing on, a data-exchange answer comes with the loop's timer after the
// modelled field time (the bus is one resource: requests queue behind each
// other), and the model's seeded faults may lose, delay, corrupt or busy an
// answer. Called on the session's thread.

#include <chrono>
#include <cstddef>
#include <memory>
#include <optional>
#include <set>
#include <string>

#include "peers/FieldFaults.h"
#include "peers/HartLine.h"
#include "peers/PeerDocuments.h"
#include "peers/ZebDeviceModel.h"
#include "fdt/CommunicationInterfaces.h"
#include "platform/EventLoop.h"

namespace zeb2hart::frame {

class ZebCommunicationDtm final : public fdt::IFdtCommunication,
                                  public std::enable_shared_from_this<ZebCommunicationDtm> {
public:
    ZebCommunicationDtm(ZebDeviceModel model, std::shared_ptr<platform::EventLoop> loop, const PeerDocuments& documents);

    void Abort(const std::string& fieldbusFrame) override;
    bool ConnectRequest(const std::shared_ptr<fdt::IFdtCommunicationEvents>& callback, const std::string& invokeId,
                        const std::string& protocolId, const std::string& fieldbusFrame) override;
    bool DisconnectRequest(const std::string& invokeId, const std::string& fieldbusFrame) override;
    bool TransactionRequest(const std::string& invokeId, const std::string& fieldbusFrame) override;
    std::string GetSupportedProtocols() override;
    bool SequenceBegin(const std::string&) override { return false; }
    bool SequenceStart(const std::string&) override { return false; }
    bool SequenceEnd(const std::string&) override { return false; }

    // The device reports that the connection broke: OnAbort to the gateway.
    void abortConnection();

    // Wire timing: answers after their field time (off: posted at once, as always).
    void setWireTiming(bool on) { m_wireTiming = on; }
    bool wireTiming() const { return m_wireTiming; }
    // Where the preamble count of the HART frames comes from (without: the model's default).
    void setHartLine(std::shared_ptr<HartLine> line) { m_hartLine = std::move(line); }
    // New fault settings; with `reseed` the draw starts again from their seed.
    void changeFaults(const FaultSettings& faults, bool reseed);

    ZebDeviceModel& model() { return m_model; }
    const ZebDeviceModel& model() const { return m_model; }
    bool connected() const { return m_callback != nullptr; }
    // Errors the gateway raised back to this parent from its answer handlers.
    std::size_t errorsReturned() const { return m_errorsReturned; }
    const std::string& lastError() const { return m_lastError; }

private:
    struct Request {
        long objectNo = 0;
        int subNo = 0;
        int messageType = 0;
        int control = 0;
        std::string data;
        std::string specialFunction;
    };
    Request readRequest(const std::string& document) const;
    // The answer document; `answerData` gets the number of its data bytes.
    std::string answerFor(const Request& request, std::size_t& answerData);
    // The field time of one request: its ZEB request and the share of the HART transaction it stands for.
    std::chrono::microseconds wireTime(const Request& request, std::size_t answerData);
    // Takes the bus for `time` behind what is queued; the delay from now until the bus is free again.
    std::chrono::milliseconds occupyBus(std::chrono::microseconds time);
    // Posted without a delay, else after it with the loop's timer.
    void deliver(std::function<void(fdt::IFdtCommunicationEvents&)> answer,
                 std::optional<std::chrono::milliseconds> delay = std::nullopt);

    ZebDeviceModel m_model;
    std::shared_ptr<platform::EventLoop> m_loop;
    const PeerDocuments& m_documents;
    std::shared_ptr<fdt::IFdtCommunicationEvents> m_callback;
    std::string m_tag;
    std::size_t m_errorsReturned = 0;
    std::string m_lastError;
    bool m_wireTiming = false;
    std::shared_ptr<HartLine> m_hartLine;
    std::chrono::microseconds m_busFreeAt{0};
    std::size_t m_identityReads = 0;
    FaultDraw m_faultDraw;
    std::set<platform::EventLoop::TimerId> m_timers; // answers on their way
};

} // namespace zeb2hart::frame
