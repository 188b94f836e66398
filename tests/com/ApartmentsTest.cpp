// DTMs of the registered DLL on several single-threaded apartments at once,
// each driven through COM on its own thread as a frame would: connect,
// command 0 (six identity reads), command 128, the time-out that follows, and
// release. Every apartment must get exactly the answers one apartment alone
// gets, each time-out must fire on the apartment's own thread, and the others
// must go on after the first apartment has ended.

#include <chrono>
#include <functional>
#include <regex>
#include <thread>

#include "DtmThroughCom.h"
#include "com/ScopedVariant.h"
#include "FakePeers.h"
#include "gateway/HartGateway.h"

namespace zeb2hart::test {
namespace {

using com::Bstr;
using com::ComObject;
using com::ComPtr;

// The warm-start delay (s) the DTMs time out after, and how long a test waits for it.
constexpr int kWarmstartDelay = 1;
constexpr auto kTimeoutWait = std::chrono::seconds(10);

// Pumps the thread's messages until `done` or the wait is over.
bool pumpUntil(const std::function<bool()>& done)
{
    const auto deadline = std::chrono::steady_clock::now() + kTimeoutWait;
    while (!done() && std::chrono::steady_clock::now() < deadline) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&message);
    }
    return done();
}

// What one apartment saw: the child's answers, and the problems found.
struct ApartmentRecord {
    std::vector<std::string> answers;
    std::vector<std::string> faults;
};

// One DTM's life on the calling thread, whose apartment is already entered;
// `value` makes this apartment's identity bytes its own.
void driveOneDtm(const ComPtr<IDtm>& dtm, int value, ApartmentRecord& record)
{
    const auto fault = [&](const std::string& what) { record.faults.push_back(what); };
    const auto frame = std::make_shared<fakes::FakeFrame>();
    frame->answers->xmlSchemaPath = frameSchemaDir().string();
    const auto parent = std::make_shared<fakes::FakeParent>();
    const auto child = std::make_shared<fakes::FakeChild>();
    VARIANT_BOOL ok = VARIANT_FALSE;
    if (FAILED(dtm->Environment(Bstr("GW").get(), ComObject::as<::IFdtContainer>(frame).Get(), &ok)) || !ok)
        return fault("Environment");
    ComPtr<IPersistPropertyBag> persist;
    ComPtr<IZeb2hartTestAccess> access;
    ComPtr<::IFdtCommunication> channel;
    ComPtr<::IFdtCommunicationEvents> events;
    if (FAILED(dtm.As(&persist)) || FAILED(dtm.As(&access)) || FAILED(dtm.As(&channel)) || FAILED(dtm.As(&events)))
        return fault("QueryInterface");
    persist->InitNew();
    com::ScopedVariant delay(fdt::Variant(std::int16_t{kWarmstartDelay}));
    access->SetProperty(Bstr("PersistentWarmstartDelay").get(), delay.value());
    dtm->InitNew(Bstr(gatewayDeviceType()).get(), &ok);
    dtm->SetCommunication(ComObject::as<::IFdtCommunication>(parent).Get(), &ok);

    channel->ConnectRequest(ComObject::as<::IFdtCommunicationEvents>(child).Get(), Bstr("c").get(),
                            Bstr(gateway::kHartProtocolId).get(), Bstr(hartConnectRequest("C")).get(), &ok);
    events->OnConnectResponse(Bstr("c").get(), Bstr(zebConnectResponse("REF-1")).get());

    // Command 0: each identity read answered with this apartment's bytes.
    std::size_t asked = parent->calls.size();
    channel->TransactionRequest(Bstr("t0").get(), Bstr(hartRequest("0", std::nullopt)).get(), &ok);
    const std::vector<fakes::PeerCall> reads(parent->calls.begin() + static_cast<std::ptrdiff_t>(asked), parent->calls.end());
    if (reads.size() != 6)
        fault("command 0 sent " + std::to_string(reads.size()) + " reads");
    const std::regex objectNo(R"re(ObjectNo="(\d+)")re");
    for (const fakes::PeerCall& read : reads) {
        std::smatch number;
        if (!std::regex_search(read.document, number, objectNo))
            return fault("a read without object number");
        const std::string byte = (value < 16 ? "0" : "") + std::to_string(value);
        events->OnTransactionResponse(Bstr(read.invokeId).get(),
                                      Bstr(zebResponse("0", number[1] == "32516" ? "5634" + byte : byte,
                                                       number[1].str(), "33"))
                                          .get());
    }
    channel->TransactionRequest(Bstr("t128").get(), Bstr(hartRequest("128", "36B2210000")).get(), &ok);
    asked = parent->calls.size();
    events->OnTransactionResponse(Bstr(parent->calls.back().invokeId).get(), Bstr(zebResponse("0", "01")).get());
    for (const fakes::PeerCall& answer : child->calls)
        record.answers.push_back(answer.invokeId + " " + answer.document);

    // The time-out's broadcast, from this thread's own timer.
    if (!pumpUntil([&] { return parent->calls.size() > asked; }))
        return fault("no time-out within " + std::to_string(kTimeoutWait.count()) + " s");
    if (parent->calls.back().thread != std::this_thread::get_id())
        fault("the time-out fired on another thread");
    dtm->PrepareToRelease(&ok);
    if (!ok || frame->events.empty() || frame->events.back().name != "OnPreparedToRelease")
        fault("PrepareToRelease");
}

// An apartment on its own thread: `rounds` DTMs one after another.
void runApartment(int value, int rounds, ApartmentRecord& record)
{
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    for (int round = 0; round < rounds; ++round) {
        const ComPtr<IDtm> dtm = DtmThroughComTest::create();
        if (!dtm) {
            record.faults.push_back("CoCreateInstance");
            break;
        }
        driveOneDtm(dtm, value, record);
    }
    CoUninitialize();
}

class ApartmentsTest : public DtmThroughComTest {};

TEST_F(ApartmentsTest, ParallelApartmentsAnswerAsOneAloneAndTimeOutOnTheirOwnThreads)
{
    // What one apartment alone answers, for each apartment's bytes (this thread
    // made the first DTM of the process: the fixture's).
    constexpr int kMostApartments = 4;
    std::vector<ApartmentRecord> alone(kMostApartments);
    for (int value = 1; value <= kMostApartments; ++value) {
        driveOneDtm(create(), value, alone[value - 1]);
        ASSERT_EQ(alone[value - 1].faults, std::vector<std::string>{});
        ASSERT_EQ(alone[value - 1].answers.size(), 3u); // connect, command 0, command 128
    }
    ASSERT_NE(alone[0].answers[1], alone[1].answers[1]);

    for (const int apartments : {2, kMostApartments}) {
        SCOPED_TRACE(std::to_string(apartments) + " apartments");
        std::vector<ApartmentRecord> records(apartments);
        std::vector<std::thread> threads;
        // The first apartment makes one DTM and ends; the others go on after it.
        for (int i = 0; i < apartments; ++i)
            threads.emplace_back(runApartment, i + 1, i == 0 ? 1 : 3, std::ref(records[i]));
        for (std::thread& thread : threads)
            thread.join();
        for (int i = 0; i < apartments; ++i) {
            SCOPED_TRACE("apartment " + std::to_string(i + 1));
            EXPECT_EQ(records[i].faults, std::vector<std::string>{});
            const std::size_t rounds = i == 0 ? 1 : 3;
            ASSERT_EQ(records[i].answers.size(), 3 * rounds);
            for (std::size_t answer = 0; answer < records[i].answers.size(); ++answer)
                EXPECT_EQ(records[i].answers[answer], alone[i].answers[answer % 3]);
        }
    }
    // This thread's DTM still works, and with every apartment gone the DLL may go.
    start();
    BSTR information = nullptr;
    ASSERT_EQ(dtmAs<IDtmInformation>()->GetInformation(&information), S_OK);
    EXPECT_NE(take(information).find("<DtmInfo"), std::string::npos);
    dtm.Reset();
    EXPECT_EQ(dll().call("DllCanUnloadNow"), S_OK);
}

} // namespace
} // namespace zeb2hart::test
