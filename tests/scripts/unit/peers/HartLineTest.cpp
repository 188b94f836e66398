// The HART line's preamble count where a script cannot set it: a connect response with a
// count of its own (the gateway always sends 0). Command 59 changing it is shown by
// tests/scripts/wire-timing.jsonl.

#include <gtest/gtest.h>

#include "fakes/TestEnvironment.h"
#include "peers/HartLine.h"

namespace zeb2hart::frame {
namespace {

std::string connectResponse(const char* preambles)
{
    return std::string(R"(<FDT xmlns="x-schema:FDTHARTCommunicationSchema.xml" xmlns:fdt="x-schema:FDTDataTypesSchema.xml">)") +
           R"(<ConnectResponse fdt:tag="T" preambleCount=")" + preambles +
           R"(" primaryMaster="1" communicationReference="R"><ShortAddress shortAddress="0"/></ConnectResponse></FDT>)";
}

std::string command59Answer(const char* data, const char* responseCode)
{
    return std::string(R"(<FDT xmlns="x-schema:FDTHARTCommunicationSchema.xml" xmlns:fdt="x-schema:FDTDataTypesSchema.xml">)") +
           R"(<DataExchangeResponse commandNumber="59" communicationReference="R"><fdt:CommunicationData byteArray=")" +
           data + R"("/><Status deviceStatus="0"><CommandResponse value=")" + responseCode +
           R"("/></Status></DataExchangeResponse></FDT>)";
}

TEST(HartLine, FollowsTheConnectResponseAndTheAcceptedCommand59)
{
    test::TestEnvironment environment;
    PeerDocuments documents{test::componentDir(), test::frameSchemaDir()};
    std::vector<fakes::PeerCall> log;
    HartLine line(log, documents);
    struct Step {
        const char* what;
        fakes::PeerCall call;
        int preambles; // with the model's default 5
    };
    const Step steps[] = {
        {"connect response with 0: the model's count", {"OnConnectResponse", "c1", connectResponse("0"), {}, {}}, 5},
        {"command 59 accepted", {"OnTransactionResponse", "t1", command59Answer("0C", "0"), {}, {}}, 12},
        {"command 59 refused", {"OnTransactionResponse", "t2", command59Answer("07", "5"), {}, {}}, 12},
        {"a new connection with a count of its own", {"OnConnectResponse", "c2", connectResponse("8"), {}, {}}, 8},
        {"a new connection with 0", {"OnConnectResponse", "c3", connectResponse("0"), {}, {}}, 5},
    };
    for (const auto& step : steps) {
        log.push_back(step.call);
        EXPECT_EQ(line.preambles(5), step.preambles) << step.what;
    }
}

} // namespace
} // namespace zeb2hart::frame
