#pragma once
// What the benchmarks put around a DTM instance: deterministic platform
// services, a frame that answers its schema folder, the recording parent and
// child of the tests with their documents, and the resident memory of the process.

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <time.h>
#include <filesystem>
#include <memory>
#include <string>
#include <unistd.h>
#include <utility>
#include <vector>

#include "core/DTMMain.h"
#include "fakes/BuildFolders.h"
#include "fakes/FdtDocuments.h"
#include "FakePeers.h"
#include "fdt/SilentFrame.h"
#include "gateway/HartGateway.h"
#include "platform/ManualServices.h"

namespace zeb2hart::bench {

namespace fs = std::filesystem;

// The component folder of the build tree and the frame stand-in's schemas beside it.
using test::componentDir;
using test::frameSchemaDir;

// The manual services for as long as it lives.
class BenchServices : public platform::ManualServices {
public:
    explicit BenchServices(const fs::path& folder = componentDir()) : ManualServices(folder) {}
};

using test::hartRequest;

// The parent's answer with status 0 under "REF-1".
inline std::string zebAnswer(std::int32_t objectNo, int subNo, const std::string& data)
{
    return test::zebResponse("0", data, std::to_string(objectNo), std::to_string(subNo));
}

// The child's command 128: object 0x0102, sub-number 3, control 0, two data bytes.
inline const std::string kCommand128Telegram = "010203000212AB";
// The parent's answer to it.
inline std::string command128Answer()
{
    return zebAnswer(258, 3, "12AB");
}

// The identity objects of the default device type (VRA520) and the data bytes each answers.
struct IdentityRead {
    std::int32_t objectNo;
    int subNo;
    std::string data;
};
inline const std::vector<IdentityRead> kIdentityReads = {
    {14002, 32, "1A"}, {14000, 32, "05"}, {14016, 32, "05"},
    {14015, 32, "01"}, {14014, 32, "0C"}, {32516, 28, "0D0100"},
};

// --- one connected instance -------------------------------------------------------

// A DTM instance as a frame sets it up: InitNew, Environment, the parent's
// communication, and one child connected through it under "REF-1".
struct ConnectedDtm {
    explicit ConnectedDtm(const fs::path& frameSchemas = frameSchemaDir(),
                          const std::string& systemTag = "GW1")
        : frame(std::make_shared<fdt::SilentFrame>(frameSchemas))
    {
        dtm->InitNew(test::gatewayDeviceType());
        dtm->Environment(systemTag, frame);
        dtm->SetCommunication(parent);
        dtm->ConnectRequest(child, "connect-1", gateway::kHartProtocolId, test::hartConnectRequest("Child"));
        dtm->OnConnectResponse("connect-1", test::zebConnectResponse("REF-1"));
        parent->calls.clear();
        child->calls.clear();
    }

    std::shared_ptr<core::DTMMain> dtm = core::DTMMain::create();
    std::shared_ptr<fdt::SilentFrame> frame;
    std::shared_ptr<fakes::FakeParent> parent = std::make_shared<fakes::FakeParent>();
    std::shared_ptr<fakes::FakeChild> child = std::make_shared<fakes::FakeChild>();
};

// The processor time of this thread: what other processes do on a shared
// machine does not count.
struct ThreadClock {
    using duration = std::chrono::nanoseconds;
    using time_point = std::chrono::time_point<ThreadClock>;
    static time_point now()
    {
        timespec now{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
        return time_point(std::chrono::seconds(now.tv_sec) + std::chrono::nanoseconds(now.tv_nsec));
    }
};

// Resident memory of this process in bytes.
inline std::size_t residentBytes()
{
    std::FILE* statm = std::fopen("/proc/self/statm", "r");
    if (statm == nullptr)
        return 0;
    unsigned long size = 0;
    unsigned long resident = 0;
    const int read = std::fscanf(statm, "%lu %lu", &size, &resident);
    std::fclose(statm);
    return read == 2 ? resident * static_cast<std::size_t>(sysconf(_SC_PAGESIZE)) : 0;
}

} // namespace zeb2hart::bench
