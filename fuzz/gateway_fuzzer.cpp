// A connected gateway fed an arbitrary sequence of child requests, parent
// answers, aborts, disconnects, reconnects and timer expiries. Every input
// starts a fresh DTM instance (InitNew, Environment, the parent's
// communication, a connected child). Failures that reach the caller are
// specified behaviour; a crash, a sanitizer report, or a document the gateway
// built and handed to a peer that is not well-formed XML is a finding (the
// child's disconnect and abort documents go to the parent as they came).
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "core/DTMMain.h"
#include "fdt/CommunicationInterfaces.h"
#include "fdt/SilentFrame.h"
#include "dom/XmlDom.h"

namespace {

using namespace zeb2hart;

// What the component hands to a peer must parse, whatever it was fed.
void checkWellFormed(const std::string& document)
{
    if (document.empty())
        return;
    dom::XmlDocument parsed;
    if (parsed.loadXml(document, dom::kMaxPeerDocumentSize * 4) != dom::LoadResult::Loaded)
        std::abort();
}

// The parent: takes every request (or refuses, as the input says) and keeps the invoke identifiers.
class Parent final : public fdt::IFdtCommunication {
public:
    void Abort(const std::string&) override {}
    bool ConnectRequest(const std::shared_ptr<fdt::IFdtCommunicationEvents>&, const std::string& invokeId,
                        const std::string&, const std::string& frame) override
    {
        return take(invokeId, frame);
    }
    bool DisconnectRequest(const std::string& invokeId, const std::string&) override
    {
        return take(invokeId, {});
    }
    bool TransactionRequest(const std::string& invokeId, const std::string& frame) override
    {
        return take(invokeId, frame);
    }
    std::string GetSupportedProtocols() override { return {}; }
    bool SequenceBegin(const std::string&) override { return false; }
    bool SequenceStart(const std::string&) override { return false; }
    bool SequenceEnd(const std::string&) override { return false; }

    std::vector<std::string> invokeIds;
    bool accept = true;

private:
    bool take(const std::string& invokeId, const std::string& frame)
    {
        checkWellFormed(frame);
        if (invokeIds.size() < 64)
            invokeIds.push_back(invokeId);
        return accept;
    }
};

class Child final : public fdt::IFdtCommunicationEvents {
public:
    void OnAbort(const std::string&) override {}
    void OnConnectResponse(const std::string&, const std::string& response) override { checkWellFormed(response); }
    void OnDisconnectResponse(const std::string&, const std::string& response) override
    {
        checkWellFormed(response);
    }
    void OnTransactionResponse(const std::string&, const std::string& response) override
    {
        checkWellFormed(response);
    }
};

const char* const kHartHead = "<?xml version=\"1.0\"?><FDT xmlns=\"x-schema:FDTHARTCommunicationSchema.xml\" "
                              "xmlns:fdt=\"x-schema:FDTDataTypesSchema.xml\">";
const char* const kZebHead = "<?xml version=\"1.0\"?><FDT xmlns=\"x-schema:ZEBCommunicationSchema.xml\" "
                             "xmlns:fdt=\"x-schema:FDTDataTypesSchema.xml\">";
const int kCommands[] = {0, 59, 128, 129, 131, 3, 255};
const std::int32_t kObjects[] = {14002, 14000, 14016, 14015, 14014, 32516, 258, 0, -1, 65535};
const char* const kErrors[] = {"timeout", "ChecksumError", "StackOverflow", "MemoryOverflow", "noDevice", ""};

std::string hex(FuzzedDataProvider& input, std::size_t maxBytes)
{
    static constexpr char digits[] = "0123456789ABCDEF";
    std::string text;
    for (const std::uint8_t byte : input.ConsumeBytes<std::uint8_t>(input.ConsumeIntegralInRange<std::size_t>(0, maxBytes))) {
        text += digits[byte >> 4];
        text += digits[byte & 15];
    }
    return text;
}

// An attribute value as a peer might send it: mostly plausible, sometimes anything.
std::string value(FuzzedDataProvider& input, const std::string& plausible)
{
    return input.ConsumeBool() ? plausible : input.ConsumeRandomLengthString(24);
}

std::string hartRequest(FuzzedDataProvider& input)
{
    const int command = input.ConsumeBool() ? input.PickValueInArray(kCommands) : input.ConsumeIntegral<std::uint8_t>();
    std::string text = std::string(kHartHead) + "<DataExchangeRequest commandNumber=\"" +
                       value(input, std::to_string(command)) + "\" communicationReference=\"" +
                       value(input, "REF-1") + "\">";
    if (input.ConsumeBool())
        text += "<fdt:CommunicationData byteArray=\"" + value(input, hex(input, 12)) + "\"/>";
    return text + "</DataExchangeRequest></FDT>";
}

std::string zebAnswer(FuzzedDataProvider& input)
{
    const std::string data = hex(input, 8);
    std::string text = std::string(kZebHead) + "<DataExchangeResponse Status=\"" +
                       value(input, std::to_string(input.ConsumeIntegral<std::uint8_t>())) +
                       "\" CommunicationReference=\"" + value(input, "REF-1") + "\">";
    if (input.ConsumeBool())
        text += "<CommunicationHeader MessageType=\"" + value(input, "5") + "\" ObjectType=\"2\" NoOfBytes=\"" +
                value(input, std::to_string(4 + data.size() / 2)) + "\" SubNo=\"" +
                value(input, std::to_string(input.ConsumeIntegral<std::uint8_t>())) + "\" ObjectNo=\"" +
                value(input, std::to_string(input.PickValueInArray(kObjects))) + "\" CommunicationData=\"" +
                value(input, data) + "\"/>";
    return text + "</DataExchangeResponse></FDT>";
}

std::string zebError(FuzzedDataProvider& input)
{
    return std::string(kZebHead) + "<ZebCommError ZebActive=\"" + value(input, input.ConsumeBool() ? "1" : "0") +
           "\" ZebcommError=\"" + value(input, input.PickValueInArray(kErrors)) +
           "\" CommunicationReference=\"REF-1\" fdt:tag=\"" + value(input, "Parent") + "\"/></FDT>";
}

std::string connectRequest(FuzzedDataProvider& input)
{
    return std::string(kHartHead) + "<ConnectRequest fdt:tag=\"" + value(input, "Child") +
           "\"><ShortAddress shortAddress=\"" + value(input, "0") + "\"/></ConnectRequest></FDT>";
}

std::string connectResponse(FuzzedDataProvider& input)
{
    return std::string(kZebHead) + "<ConnectResponse CommunicationReference=\"" + value(input, "REF-1") +
           "\" fdt:tag=\"" + value(input, "Parent") + "\"/></FDT>";
}

std::string disconnectResponse(FuzzedDataProvider& input)
{
    return std::string(kZebHead) + "<DisconnectResponse CommunicationReference=\"" + value(input, "REF-1") +
           "\"/></FDT>";
}

std::string deviceType()
{
    return "<FDT xmlns=\"x-schema:DTMDeviceTypeSchema.xml\" xmlns:fdt=\"x-schema:FDTDataTypesSchema.xml\">"
           "<fdt:DtmDeviceType><fdt:VersionInformation name=\"ZEB to HART Gateway\" vendor=\"v\" version=\"1\" "
           "date=\"2004-01-01\"/><fdt:BusCategories><fdt:BusCategory "
           "busCategory=\"81684E65-6385-4690-ACCF-49995B3B4E8B\"/></fdt:BusCategories></fdt:DtmDeviceType></FDT>";
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::FuzzServices& services = fuzz::services();
    services.reset();
    FuzzedDataProvider input(data, size);
    auto frame = std::make_shared<fdt::SilentFrame>(fuzz::frameSchemaDir());
    auto parent = std::make_shared<Parent>();
    auto child = std::make_shared<Child>();
    {
        std::shared_ptr<core::DTMMain> dtm = core::DTMMain::create();
        dtm->InitNew(deviceType());
        dtm->Environment("GW1", frame);
        dtm->SetCommunication(parent);
        dtm->ConnectRequest(child, "connect-1", "036D1498-387B-11D4-86E1-00E0987270B9",
                            std::string(kHartHead) +
                                "<ConnectRequest fdt:tag=\"Child\"><ShortAddress shortAddress=\"0\"/></ConnectRequest></FDT>");
        dtm->OnConnectResponse("connect-1", std::string(kZebHead) +
                                                "<ConnectResponse CommunicationReference=\"REF-1\" fdt:tag=\"Parent\"/></FDT>");
        for (int step = 0; step < 64 && input.remaining_bytes() > 0; ++step) {
            const auto pendingId = [&] {
                if (parent->invokeIds.empty() || input.ConsumeBool())
                    return input.ConsumeRandomLengthString(40);
                return parent->invokeIds[input.ConsumeIntegralInRange<std::size_t>(0, parent->invokeIds.size() - 1)];
            };
            try {
                switch (input.ConsumeIntegralInRange(0, 13)) {
                case 0:
                    dtm->TransactionRequest("child-" + std::to_string(step), hartRequest(input));
                    break;
                case 1:
                    dtm->TransactionRequest("child-" + std::to_string(step), input.ConsumeRandomLengthString(512));
                    break;
                case 2:
                    dtm->OnTransactionResponse(pendingId(), zebAnswer(input));
                    break;
                case 3:
                    dtm->OnTransactionResponse(pendingId(), input.ConsumeRandomLengthString(512));
                    break;
                case 4:
                    dtm->OnTransactionResponse(pendingId(), zebError(input));
                    break;
                case 5:
                    dtm->OnAbort(input.ConsumeRandomLengthString(16));
                    break;
                case 6:
                    dtm->Abort(input.ConsumeRandomLengthString(64));
                    break;
                case 7:
                    services.loop().advance(std::chrono::milliseconds(input.ConsumeIntegralInRange(0, 40000)));
                    break;
                case 8:
                    dtm->DisconnectRequest("disconnect-" + std::to_string(step), input.ConsumeRandomLengthString(64));
                    break;
                case 9:
                    dtm->OnDisconnectResponse(pendingId(), disconnectResponse(input));
                    break;
                case 10:
                    dtm->ConnectRequest(child, "connect-" + std::to_string(step),
                                        input.ConsumeBool() ? "036D1498-387B-11D4-86E1-00E0987270B9"
                                                            : input.ConsumeRandomLengthString(40),
                                        connectRequest(input));
                    break;
                case 11:
                    dtm->OnConnectResponse(pendingId(), input.ConsumeBool() ? connectResponse(input)
                                                                           : input.ConsumeRandomLengthString(256));
                    break;
                case 12:
                    parent->accept = input.ConsumeBool();
                    break;
                default:
                    services.loop().runPending();
                    break;
                }
            } catch (const std::exception&) {
                // A failure that reaches the caller is specified for the answer handlers.
            }
        }
        dtm->ReleaseCommunication();
    }
    // Nothing of this input is left for the next one.
    services.loop().advance(std::chrono::hours(1));
    services.loop().runPending();
    return 0;
}
