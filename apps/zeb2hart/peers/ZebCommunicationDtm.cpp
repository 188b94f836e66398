#include "peers/ZebCommunicationDtm.h"

#include "fdt/Errors.h"
#include "gateway/HartGateway.h"
#include "support/Conversions.h"

namespace zeb2hart::frame {

namespace {
constexpr int kBroadcastMessageType = 7;
constexpr const char* kDelayedReadFunction = "ReadDelayedResponse";
constexpr const char* kRequestPath = "FDT/DataExchangeRequest";
constexpr const char* kHeaderPath = "FDT/DataExchangeRequest/CommunicationHeader";

} // namespace

ZebCommunicationDtm::ZebCommunicationDtm(ZebDeviceModel model, std::shared_ptr<platform::EventLoop> loop,
                                         const PeerDocuments& documents)
    : m_model(std::move(model)), m_loop(std::move(loop)), m_documents(documents)
{
}

void ZebCommunicationDtm::Abort(const std::string& /*fieldbusFrame*/)
{
    m_callback.reset();
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
    m_tag = m_documents.attribute(fieldbusFrame, "FDT/ConnectRequest", "fdt:tag").value_or(m_model.tag);
    if (m_model.answerMode.kind == ZebAnswerMode::Kind::Silent)
        return true;
    const std::string response = m_documents.zebConnectResponse(m_model.communicationReference, m_tag);
    deliver([invokeId, response](fdt::IFdtCommunicationEvents& gateway) { gateway.OnConnectResponse(invokeId, response); });
    return true;
}

bool ZebCommunicationDtm::DisconnectRequest(const std::string& invokeId, const std::string& /*fieldbusFrame*/)
{
    if (!m_callback || m_model.answerMode.kind == ZebAnswerMode::Kind::Refuse)
        return false;
    if (m_model.answerMode.kind != ZebAnswerMode::Kind::Silent) {
        const std::string response = m_documents.zebDisconnectResponse(m_model.communicationReference);
        deliver([invokeId, response](fdt::IFdtCommunicationEvents& gateway) {
            gateway.OnDisconnectResponse(invokeId, response);
        });
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
    std::string response;
    if (m_model.answerMode.kind == ZebAnswerMode::Kind::Error) {
        response = m_documents.zebCommError(m_model.communicationReference, m_tag, m_model.answerMode.error,
                                            m_model.answerMode.zebActive ? "True" : "False");
    } else {
        response = answerFor(readRequest(fieldbusFrame));
    }
    deliver([invokeId, response](fdt::IFdtCommunicationEvents& gateway) {
        gateway.OnTransactionResponse(invokeId, response);
    });
    return true;
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
    request.objectNo = m_documents.number(document, kHeaderPath, "ObjectNo", 0);
    request.subNo = static_cast<int>(m_documents.number(document, kHeaderPath, "SubNo", 0));
    request.messageType = static_cast<int>(m_documents.number(document, kHeaderPath, "MessageType", 0));
    request.control = static_cast<int>(m_documents.number(document, kRequestPath, "Control", 0));
    request.data = m_documents.attribute(document, kHeaderPath, "CommunicationData").value_or("");
    request.specialFunction = m_documents.attribute(document, kRequestPath, "SpecialFunction").value_or("");
    return request;
}

std::string ZebCommunicationDtm::answerFor(const Request& request)
{
    const std::string& reference = m_model.communicationReference;
    const auto respond = [&](std::uint8_t status, const std::vector<std::uint8_t>& data) {
        return m_documents.zebDataExchangeResponse(reference, status, request.objectNo, request.subNo,
                                                   request.messageType, support::ByteArrayToHex(data));
    };
    if (request.messageType == kBroadcastMessageType)
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

void ZebCommunicationDtm::deliver(std::function<void(fdt::IFdtCommunicationEvents&)> answer)
{
    std::weak_ptr<ZebCommunicationDtm> weakSelf = weak_from_this();
    auto callback = m_callback;
    m_loop->post([weakSelf, callback, answer = std::move(answer)] {
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
    });
}

} // namespace zeb2hart::frame
