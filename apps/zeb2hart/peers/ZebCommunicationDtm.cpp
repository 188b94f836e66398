#include "peers/ZebCommunicationDtm.h"

#include <algorithm>

#include "fdt/Errors.h"
#include "gateway/HartGateway.h"
#include "support/Conversions.h"
#include "xml/DocumentPaths.h"
#include "xml/ProtocolIds.h"

namespace zeb2hart::frame {

namespace {
constexpr int kSequenceControl = 64; // the gateway's identity reads
constexpr std::size_t kIdentityReads = 6;
// HART data the gateway exchanges with its child for what the parent sees: the command 0 answer
// (12 bytes) and the telegram of a command 128 or 129 request or answer (object number 2,
// sub-number 1, control or status 1, byte count 1, then the data).
constexpr std::size_t kCommand0ResponseData = 12;
constexpr std::size_t kTelegramHeader = 5;
constexpr const char* kDelayedReadFunction = "ReadDelayedResponse";

} // namespace

ZebCommunicationDtm::ZebCommunicationDtm(ZebDeviceModel model, std::shared_ptr<platform::EventLoop> loop,
                                         const PeerDocuments& documents)
    : m_model(std::move(model)), m_loop(std::move(loop)), m_documents(documents), m_faultDraw(m_model.faults.seed)
{
}

void ZebCommunicationDtm::changeFaults(const FaultSettings& faults, bool reseed)
{
    m_model.faults = faults;
    if (reseed)
        m_faultDraw.reseed(faults.seed);
}

void ZebCommunicationDtm::Abort(const std::string& /*fieldbusFrame*/)
{
    m_callback.reset();
    // Answers still on the wire are lost with the connection.
    for (const auto id : m_timers)
        m_loop->cancelTimer(id);
    m_timers.clear();
}

bool ZebCommunicationDtm::ConnectRequest(const std::shared_ptr<fdt::IFdtCommunicationEvents>& callback,
                                         const std::string& invokeId, const std::string& protocolId,
                                         const std::string& fieldbusFrame)
{
    if (!callback || protocolId != gateway::kZebProtocolId)
        return false;
    if (m_model.answerMode.kind == ZebAnswerMode::Kind::Refuse)
        return false;
    m_callback = callback;
    m_tag = m_documents.attribute(fieldbusFrame, xml::paths::kConnectRequest, "fdt:tag").value_or(m_model.tag);
    if (m_model.answerMode.kind == ZebAnswerMode::Kind::Silent)
        return true;
    const std::string response = m_documents.zebConnectResponse(m_model.communicationReference, m_tag);
    deliver([invokeId, response](fdt::IFdtCommunicationEvents& gateway) { gateway.OnConnectResponse(invokeId, response); },
            m_wireTiming ? std::optional(occupyBus({})) : std::nullopt);
    return true;
}

bool ZebCommunicationDtm::DisconnectRequest(const std::string& invokeId, const std::string& /*fieldbusFrame*/)
{
    if (!m_callback || m_model.answerMode.kind == ZebAnswerMode::Kind::Refuse)
        return false;
    if (m_model.answerMode.kind != ZebAnswerMode::Kind::Silent) {
        const std::string response = m_documents.zebDisconnectResponse(m_model.communicationReference);
        // Under wire timing it waits for the bus: answers to earlier requests come first.
        deliver([invokeId, response](fdt::IFdtCommunicationEvents& gateway) {
            gateway.OnDisconnectResponse(invokeId, response);
        }, m_wireTiming ? std::optional(occupyBus({})) : std::nullopt);
    }
    m_callback.reset();
    return true;
}

bool ZebCommunicationDtm::TransactionRequest(const std::string& invokeId, const std::string& fieldbusFrame)
{
    if (!m_callback || m_model.answerMode.kind == ZebAnswerMode::Kind::Refuse)
        return false;
    if (m_model.answerMode.kind == ZebAnswerMode::Kind::Silent)
        return true;
    const FieldFault fault = m_faultDraw.next(m_model.faults);
    const Request request = readRequest(fieldbusFrame);
    std::string response;
    std::size_t answerData = 0;
    if (m_model.answerMode.kind == ZebAnswerMode::Kind::Error) {
        response = m_documents.zebCommError(m_model.communicationReference, m_tag, m_model.answerMode.error,
                                            m_model.answerMode.zebActive ? "True" : "False");
    } else {
        // The request reaches the device (a write is done) whatever happens to its answer.
        response = answerFor(request, answerData);
    }
    if (fault == FieldFault::Busy) {
        answerData = 0;
        response = m_documents.zebDataExchangeResponse(m_model.communicationReference, m_model.faults.busyStatus,
                                                       request.objectNo, request.subNo, request.messageType, "");
    } else if (fault == FieldFault::Corrupt) {
        response = m_documents.zebCommError(m_model.communicationReference, m_tag, m_model.faults.corruptError, "True");
    }
    std::optional<std::chrono::milliseconds> delay;
    if (m_wireTiming)
        delay = occupyBus(wireTime(request, answerData));
    if (fault == FieldFault::NoAnswer)
        return true;
    if (fault == FieldFault::Late)
        delay = delay.value_or(std::chrono::milliseconds(0)) + std::chrono::milliseconds(m_model.faults.lateMs);
    deliver([invokeId, response](fdt::IFdtCommunicationEvents& gateway) {
        gateway.OnTransactionResponse(invokeId, response);
    }, delay);
    return true;
}

std::chrono::microseconds ZebCommunicationDtm::wireTime(const Request& request, std::size_t answerData)
{
    const BusParameters& bus = m_model.bus;
    const std::size_t requestData = request.data.size() / 2;
    const int preambles = m_hartLine ? m_hartLine->preambles(bus.hartPreambles) : bus.hartPreambles;
    const auto hart = [&](int command, std::size_t hartRequest, std::size_t hartResponse) {
        return hartTransactionTime(bus, preambles, command, hartRequest, hartResponse);
    };
    std::chrono::microseconds time = zebRequestTime(bus, requestData, answerData);
    if (request.messageType == xml::kZebBroadcastMessage) {
        time += hart(129, kTelegramHeader + requestData, kTelegramHeader + answerData);
    } else if (request.specialFunction == kDelayedReadFunction) {
        time += hart(131, 0, answerData);
    } else if (request.messageType == xml::kZebDataExchangeMessage && request.control == kSequenceControl &&
               requestData == 0) {
        // An identity read: the six of one command 0 carry its HART transaction once, on the first.
        if (m_identityReads++ % kIdentityReads == 0)
            time += hart(0, 0, kCommand0ResponseData);
    } else {
        time += hart(128, kTelegramHeader + requestData, kTelegramHeader + answerData);
    }
    return time;
}

std::chrono::milliseconds ZebCommunicationDtm::occupyBus(std::chrono::microseconds time)
{
    const auto now = std::chrono::duration_cast<std::chrono::microseconds>(m_loop->now());
    m_busFreeAt = std::max(m_busFreeAt, now) + time;
    return timerMilliseconds(m_busFreeAt - now);
}

std::string ZebCommunicationDtm::GetSupportedProtocols()
{
    return {};
}

void ZebCommunicationDtm::abortConnection()
{
    if (!m_callback)
        return;
    const std::string reference = m_model.communicationReference;
    deliver([reference](fdt::IFdtCommunicationEvents& gateway) { gateway.OnAbort(reference); });
    m_callback.reset();
}

ZebCommunicationDtm::Request ZebCommunicationDtm::readRequest(const std::string& document) const
{
    Request request;
    request.objectNo = m_documents.number(document, xml::paths::kRequestHeader, "ObjectNo", 0);
    request.subNo = static_cast<int>(m_documents.number(document, xml::paths::kRequestHeader, "SubNo", 0));
    request.messageType = static_cast<int>(m_documents.number(document, xml::paths::kRequestHeader, "MessageType", 0));
    request.control = static_cast<int>(m_documents.number(document, xml::paths::kRequest, "Control", 0));
    request.data = m_documents.attribute(document, xml::paths::kRequestHeader, "CommunicationData").value_or("");
    request.specialFunction = m_documents.attribute(document, xml::paths::kRequest, "SpecialFunction").value_or("");
    return request;
}

std::string ZebCommunicationDtm::answerFor(const Request& request, std::size_t& answerData)
{
    const std::string& reference = m_model.communicationReference;
    const auto respond = [&](std::uint8_t status, const std::vector<std::uint8_t>& data) {
        answerData = data.size();
        return m_documents.zebDataExchangeResponse(reference, status, request.objectNo, request.subNo,
                                                   request.messageType, support::ByteArrayToHex(data));
    };
    if (request.messageType == xml::kZebBroadcastMessage)
        return respond(m_model.broadcastReply.status, m_model.broadcastReply.data);
    if (request.specialFunction == kDelayedReadFunction)
        return respond(m_model.delayedResponse.status, m_model.delayedResponse.data);

    ZebObject* object = nullptr;
    if (request.objectNo >= 0 && request.objectNo <= 65535 && request.subNo >= 0 && request.subNo <= 255)
        object = m_model.find(static_cast<std::int32_t>(request.objectNo), static_cast<std::uint8_t>(request.subNo));
    if (!object)
        return respond(m_model.unknownObjectStatus, {});
    if (!request.data.empty()) {
        // A telegram with data writes the object; the answer carries the status only.
        try {
            object->data = support::HexToByteArray(request.data);
        } catch (const fdt::Error&) {
            return respond(m_model.unknownObjectStatus, {});
        }
        return respond(object->status, {});
    }
    return respond(object->status, object->data);
}

void ZebCommunicationDtm::deliver(std::function<void(fdt::IFdtCommunicationEvents&)> answer,
                                  std::optional<std::chrono::milliseconds> delay)
{
    std::weak_ptr<ZebCommunicationDtm> weakSelf = weak_from_this();
    auto callback = m_callback;
    auto run = [weakSelf, callback, answer = std::move(answer)] {
        auto self = weakSelf.lock();
        if (!self || !callback)
            return;
        try {
            answer(*callback);
        } catch (const std::exception& error) {
            // The gateway's answer handlers have no failure handler of their own:
            // their errors come back to the parent that called them.
            ++self->m_errorsReturned;
            self->m_lastError = error.what();
        }
    };
    if (!delay || delay->count() <= 0) {
        m_loop->post(std::move(run));
        return;
    }
    auto id = std::make_shared<platform::EventLoop::TimerId>(0);
    *id = m_loop->startTimer(*delay, [weakSelf, id, run = std::move(run)] {
        if (auto self = weakSelf.lock())
            self->m_timers.erase(*id);
        run();
    });
    m_timers.insert(*id);
}

} // namespace zeb2hart::frame
