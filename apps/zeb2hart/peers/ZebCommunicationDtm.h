#pragma once
// The simulated parent: a ZEB communication DTM that answers the gateway's
// connect, disconnect and data-exchange requests from a ZEB device model.
// Every answer is posted to the event loop, so that it arrives after the
// request call has returned, as a real communication DTM answers.

#include <cstddef>
#include <memory>
#include <string>

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
    std::string answerFor(const Request& request);
    void deliver(std::function<void(fdt::IFdtCommunicationEvents&)> answer);

    ZebDeviceModel m_model;
    std::shared_ptr<platform::EventLoop> m_loop;
    const PeerDocuments& m_documents;
    std::shared_ptr<fdt::IFdtCommunicationEvents> m_callback;
    std::string m_tag;
    std::size_t m_errorsReturned = 0;
    std::string m_lastError;
};

} // namespace zeb2hart::frame
