#pragma once
// What the benchmarks put around a DTM instance: deterministic platform
// services, a frame that answers its schema folder, a recording parent and a
// recording child, the peers' documents, and the resident memory of the process.

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
#include "fdt/CommunicationInterfaces.h"
#include "fdt/SilentFrame.h"
#include "platform/ManualServices.h"

namespace zeb2hart::bench {

namespace fs = std::filesystem;

// The component folder of the build tree: the folder of the loaded library.
inline fs::path componentFolder()
{
    return platform::services().componentFolder;
}

// The frame stand-in's schemas, installed beside the component in the build tree.
inline fs::path frameSchemaFolder()
{
    return componentFolder().parent_path() / "share" / "zeb2hart" / "FrameSchemas";
}

// The manual services for as long as it lives.
class BenchServices : public platform::ManualServices {
public:
    explicit BenchServices(const fs::path& folder = componentFolder()) : ManualServices(folder) {}
};

// One request the parent received, or one answer the child received.
struct Message {
    std::string invokeId;
    std::string document;
};

// The parent communication DTM: takes every request and keeps the last ones.
class RecordingParent final : public fdt::IFdtCommunication {
public:
    void Abort(const std::string&) override {}
    bool ConnectRequest(const std::shared_ptr<fdt::IFdtCommunicationEvents>&, const std::string& invokeId,
                        const std::string&, const std::string& fieldbusFrame) override
    {
        requests.push_back({invokeId, fieldbusFrame});
        return true;
    }
    bool DisconnectRequest(const std::string& invokeId, const std::string& fieldbusFrame) override
    {
        requests.push_back({invokeId, fieldbusFrame});
        return true;
    }
    bool TransactionRequest(const std::string& invokeId, const std::string& fieldbusFrame) override
    {
        requests.push_back({invokeId, fieldbusFrame});
        return true;
    }
    std::string GetSupportedProtocols() override { return {}; }
    bool SequenceBegin(const std::string&) override { return false; }
    bool SequenceStart(const std::string&) override { return false; }
    bool SequenceEnd(const std::string&) override { return false; }

    std::vector<Message> requests;
};

// The child device DTM: keeps the answers it receives.
class RecordingChild final : public fdt::IFdtCommunicationEvents {
public:
    void OnAbort(const std::string& reference) override { answers.push_back({reference, {}}); }
    void OnConnectResponse(const std::string& invokeId, const std::string& response) override
    {
        answers.push_back({invokeId, response});
    }
    void OnDisconnectResponse(const std::string& invokeId, const std::string& response) override
    {
        answers.push_back({invokeId, response});
    }
    void OnTransactionResponse(const std::string& invokeId, const std::string& response) override
    {
        answers.push_back({invokeId, response});
    }

    std::vector<Message> answers;
};

// --- documents of the peers ------------------------------------------------------

inline constexpr const char* kHartHead =
    "<?xml version=\"1.0\"?><FDT xmlns=\"x-schema:FDTHARTCommunicationSchema.xml\" "
    "xmlns:fdt=\"x-schema:FDTDataTypesSchema.xml\">";
inline constexpr const char* kZebHead =
    "<?xml version=\"1.0\"?><FDT xmlns=\"x-schema:ZEBCommunicationSchema.xml\" "
    "xmlns:fdt=\"x-schema:FDTDataTypesSchema.xml\">";
inline constexpr const char* kHartProtocol = "036D1498-387B-11D4-86E1-00E0987270B9";

// The frame's device type for InitNew: the gateway's own.
inline std::string ownDeviceType()
{
    return "<FDT xmlns=\"x-schema:DTMDeviceTypeSchema.xml\" xmlns:fdt=\"x-schema:FDTDataTypesSchema.xml\">"
           "<fdt:DtmDeviceType><fdt:VersionInformation name=\"ZEB to HART Gateway\" vendor=\"v\" version=\"1\" "
           "date=\"2004-01-01\"/><fdt:BusCategories><fdt:BusCategory "
           "busCategory=\"81684E65-6385-4690-ACCF-49995B3B4E8B\"/></fdt:BusCategories></fdt:DtmDeviceType></FDT>";
}

inline std::string hartConnectRequest(const std::string& tag)
{
    return std::string(kHartHead) + "<ConnectRequest fdt:tag=\"" + tag +
           "\"><ShortAddress shortAddress=\"0\"/></ConnectRequest></FDT>";
}

inline std::string zebConnectResponse(const std::string& reference)
{
    return std::string(kZebHead) + "<ConnectResponse CommunicationReference=\"" + reference +
           "\" fdt:tag=\"Parent\"/></FDT>";
}

inline std::string hartRequest(int command, const std::string& data)
{
    return std::string(kHartHead) + "<DataExchangeRequest commandNumber=\"" + std::to_string(command) +
           "\" communicationReference=\"REF-1\"><fdt:CommunicationData byteArray=\"" + data +
           "\"/></DataExchangeRequest></FDT>";
}

inline std::string zebAnswer(std::int32_t objectNo, int subNo, const std::string& data)
{
    return std::string(kZebHead) + "<DataExchangeResponse Status=\"0\" CommunicationReference=\"REF-1\">"
           "<CommunicationHeader MessageType=\"5\" ObjectType=\"2\" NoOfBytes=\"" +
           std::to_string(4 + data.size() / 2) + "\" SubNo=\"" + std::to_string(subNo) + "\" ObjectNo=\"" +
           std::to_string(objectNo) + "\" CommunicationData=\"" + data + "\"/></DataExchangeResponse></FDT>";
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
    explicit ConnectedDtm(const fs::path& frameSchemas = frameSchemaFolder(),
                          const std::string& systemTag = "GW1")
        : frame(std::make_shared<fdt::SilentFrame>(frameSchemas))
    {
        dtm->InitNew(ownDeviceType());
        dtm->Environment(systemTag, frame);
        dtm->SetCommunication(parent);
        dtm->ConnectRequest(child, "connect-1", kHartProtocol, hartConnectRequest("Child"));
        dtm->OnConnectResponse("connect-1", zebConnectResponse("REF-1"));
        parent->requests.clear();
        child->answers.clear();
    }

    std::shared_ptr<core::DTMMain> dtm = core::DTMMain::create();
    std::shared_ptr<fdt::SilentFrame> frame;
    std::shared_ptr<RecordingParent> parent = std::make_shared<RecordingParent>();
    std::shared_ptr<RecordingChild> child = std::make_shared<RecordingChild>();
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
