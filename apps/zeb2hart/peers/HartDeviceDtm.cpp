#include "peers/HartDeviceDtm.h"

#include "fdt/Errors.h"
#include "gateway/HartGateway.h"
#include "support/Conversions.h"
#include "xml/DocumentPaths.h"

namespace zeb2hart::frame {

namespace {
} // namespace

HartDeviceDtm::HartDeviceDtm(std::string tag, std::int16_t shortAddress, const PeerDocuments& documents)
    : m_tag(std::move(tag)), m_shortAddress(shortAddress), m_documents(documents)
{
}

void HartDeviceDtm::attach(std::shared_ptr<fdt::IFdtCommunication> channel)
{
    m_channel = std::move(channel);
}

std::string HartDeviceDtm::nextInvokeId()
{
    m_lastInvokeId = m_tag + "#" + std::to_string(m_nextRequest++);
    return m_lastInvokeId;
}

bool HartDeviceDtm::connect()
{
    if (!m_channel)
        return false;
    const std::string invokeId = nextInvokeId();
    return m_channel->ConnectRequest(shared_from_this(), invokeId, gateway::kHartProtocolId,
                                     m_documents.hartConnectRequest(m_tag, m_shortAddress));
}

bool HartDeviceDtm::disconnect()
{
    if (!m_channel)
        return false;
    const std::string invokeId = nextInvokeId();
    return m_channel->DisconnectRequest(invokeId, m_documents.hartDisconnectRequest(m_communicationReference));
}

bool HartDeviceDtm::sendCommand(int commandNumber, const std::vector<std::uint8_t>& data)
{
    if (!m_channel)
        return false;
    const std::string invokeId = nextInvokeId();
    m_commandOfRequest[invokeId] = commandNumber;
    return m_channel->TransactionRequest(
        invokeId, m_documents.hartTransactionRequest(commandNumber, m_communicationReference,
                                                     support::ByteArrayToHex(data)));
}

void HartDeviceDtm::OnAbort(const std::string& /*communicationReference*/)
{
    m_aborted = true;
    m_connected = false;
    changed();
}

void HartDeviceDtm::OnConnectResponse(const std::string& /*invokeId*/, const std::string& response)
{
    m_communicationReference =
        m_documents.attribute(response, xml::paths::kConnectResponse, "communicationReference").value_or("");
    m_connected = true;
    changed();
}

void HartDeviceDtm::OnDisconnectResponse(const std::string& /*invokeId*/, const std::string& /*response*/)
{
    ++m_disconnectResponses;
    m_connected = false;
    changed();
}

void HartDeviceDtm::OnTransactionResponse(const std::string& invokeId, const std::string& response)
{
    HartAnswer answer;
    answer.invokeId = invokeId;
    answer.document = response;
    const auto error = m_documents.attribute(response, xml::paths::kCommunicationError, "communicationError");
    if (error && !error->empty()) {
        answer.communicationError = true;
        answer.errorName = *error;
    } else {
        answer.commandNumber = static_cast<int>(m_documents.number(response, xml::paths::kResponse, "commandNumber", -1));
        const std::string bytes =
            m_documents.attribute(response, xml::paths::kResponseData, "byteArray").value_or("");
        try {
            answer.data = support::HexToByteArray(bytes);
        } catch (const fdt::Error&) {
            answer.data.clear();
        }
        answer.deviceStatus =
            static_cast<int>(m_documents.number(response, xml::paths::kResponseStatus, "deviceStatus", -1));
        answer.responseCode =
            static_cast<int>(m_documents.number(response, xml::paths::kCommandResponse, "value", -1));
        if (answer.commandNumber == 0 && answer.responseCode == 0)
            m_identity = decodeCommand0(answer.data);
    }
    m_answers.push_back(std::move(answer));
    changed();
}

void HartDeviceDtm::changed()
{
    if (m_observer)
        m_observer();
}

std::optional<int> HartDeviceDtm::commandOf(const std::string& invokeId) const
{
    const auto found = m_commandOfRequest.find(invokeId);
    if (found == m_commandOfRequest.end())
        return std::nullopt;
    return found->second;
}

const HartAnswer* HartDeviceDtm::answerTo(const std::string& invokeId) const
{
    for (const auto& answer : m_answers) {
        if (answer.invokeId == invokeId)
            return &answer;
    }
    return nullptr;
}

} // namespace zeb2hart::frame
