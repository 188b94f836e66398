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
#include <optional>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "core/DTMMain.h"
#include "fakes/FdtDocuments.h"
#include "FakePeers.h"
#include "fdt/SilentFrame.h"
#include "gateway/HartGateway.h"
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

// Checks what the peers received since the last look and forgets it, keeping
// the first 64 invoke identifiers of the parent's requests for its answers.
void takeCalls(fakes::FakeParent& parent, fakes::FakeChild& child, std::vector<std::string>& invokeIds)
{
    for (const fakes::PeerCall& call : parent.calls) {
        if (call.operation == "Abort")
            continue;
        if (call.operation != "DisconnectRequest")
            checkWellFormed(call.document);
        if (invokeIds.size() < 64)
            invokeIds.push_back(call.invokeId);
    }
    for (const fakes::PeerCall& call : child.calls)
        if (call.operation != "OnAbort")
            checkWellFormed(call.document);
    parent.calls.clear();
    child.calls.clear();
}

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
    const std::string number = value(input, std::to_string(command));
    const std::string reference = value(input, "REF-1");
    std::optional<std::string> data;
    if (input.ConsumeBool())
        data = value(input, hex(input, 12));
    return test::hartRequest(number, data, reference);
}

std::string zebAnswer(FuzzedDataProvider& input)
{
    const std::string data = hex(input, 8);
    std::string body = "<DataExchangeResponse Status=\"" +
                       value(input, std::to_string(input.ConsumeIntegral<std::uint8_t>())) +
                       "\" CommunicationReference=\"" + value(input, "REF-1") + "\">";
    if (input.ConsumeBool())
        body += "<CommunicationHeader MessageType=\"" + value(input, "5") + "\" ObjectType=\"2\" NoOfBytes=\"" +
                value(input, std::to_string(4 + data.size() / 2)) + "\" SubNo=\"" +
                value(input, std::to_string(input.ConsumeIntegral<std::uint8_t>())) + "\" ObjectNo=\"" +
                value(input, std::to_string(input.PickValueInArray(kObjects))) + "\" CommunicationData=\"" +
                value(input, data) + "\"/>";
    return test::zebDocument(body + "</DataExchangeResponse>");
}

std::string zebError(FuzzedDataProvider& input)
{
    const std::string zebActive = value(input, input.ConsumeBool() ? "1" : "0");
    const std::string error = value(input, input.PickValueInArray(kErrors));
    return test::zebError(zebActive, error, "REF-1", value(input, "Parent"));
}

std::string connectRequest(FuzzedDataProvider& input)
{
    const std::string tag = value(input, "Child");
    return test::hartConnectRequest(tag, value(input, "0"));
}

std::string connectResponse(FuzzedDataProvider& input)
{
    const std::string reference = value(input, "REF-1");
    return test::zebConnectResponse(reference, value(input, "Parent"));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::FuzzServices& services = fuzz::services();
    services.reset();
    FuzzedDataProvider input(data, size);
    auto frame = std::make_shared<fdt::SilentFrame>(fuzz::frameSchemaDir());
    auto parent = std::make_shared<fakes::FakeParent>();
    auto child = std::make_shared<fakes::FakeChild>();
    std::vector<std::string> invokeIds;
    {
        std::shared_ptr<core::DTMMain> dtm = core::DTMMain::create();
        dtm->InitNew(test::gatewayDeviceType());
        dtm->Environment("GW1", frame);
        dtm->SetCommunication(parent);
        dtm->ConnectRequest(child, "connect-1", gateway::kHartProtocolId, test::hartConnectRequest("Child"));
        dtm->OnConnectResponse("connect-1", test::zebConnectResponse("REF-1"));
        takeCalls(*parent, *child, invokeIds);
        for (int step = 0; step < 64 && input.remaining_bytes() > 0; ++step) {
            const auto pendingId = [&] {
                if (invokeIds.empty() || input.ConsumeBool())
                    return input.ConsumeRandomLengthString(40);
                return invokeIds[input.ConsumeIntegralInRange<std::size_t>(0, invokeIds.size() - 1)];
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
                    dtm->OnDisconnectResponse(pendingId(), test::zebDisconnectResponse(value(input, "REF-1")));
                    break;
                case 10:
                    dtm->ConnectRequest(child, "connect-" + std::to_string(step),
                                        input.ConsumeBool() ? gateway::kHartProtocolId
                                                            : input.ConsumeRandomLengthString(40),
                                        connectRequest(input));
                    break;
                case 11:
                    dtm->OnConnectResponse(pendingId(), input.ConsumeBool() ? connectResponse(input)
                                                                           : input.ConsumeRandomLengthString(256));
                    break;
                case 12:
                    parent->answers.answerAll(input.ConsumeBool());
                    break;
                default:
                    services.loop().runPending();
                    break;
                }
            } catch (const std::exception&) {
                // A failure that reaches the caller is specified for the answer handlers.
            }
            takeCalls(*parent, *child, invokeIds);
        }
        dtm->ReleaseCommunication();
        takeCalls(*parent, *child, invokeIds);
    }
    // Nothing of this input is left for the next one.
    services.loop().advance(std::chrono::hours(1));
    services.loop().runPending();
    return 0;
}
