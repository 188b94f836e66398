// Command 128 through COM against the same code called in C++, in one run:
// the child's request through the vtable of ZEB2HARTGateway.dll's
// IFdtCommunication, the DTM's call of the parent's COM object, the parent's
// answer through IFdtCommunicationEvents, and the HART answer to the child's
// COM callback; and the same four steps on a DTMMain linked into this program
// with C++ peers. Prints the median time of a round trip on each road and their
// ratio. With --apartments it also measures the road a frame in another
// apartment takes: a thread in the multithreaded apartment creates the
// registered DTM, which COM puts in a single-threaded apartment of its own, so
// that every call into it and out of it goes through proxies built from the
// registered type library (the DLL must be registered with its interfaces, as
// the project's test builds register it). A measurement, not a test: it fails
// only when a road stops working.
//
//   zeb2hart_com_bench [ROUNDS] [--apartments]

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "com/Bstr.h"
#include "com/ComObject.h"
#include "com/FdtInterfaces.h"
#include "core/DTMMain.h"
#include "fakes/FdtDocuments.h"
#include "FakePeers.h"
#include "fdt/SilentFrame.h"
#include "platform/Paths.h"
#include "platform/Services.h"
#include "platform/win32/WindowsApi.h"
#include "xml/ProtocolIds.h"

namespace zeb2hart::bench {
namespace {

namespace fs = std::filesystem;
using com::ComObject;
using com::ComPtr;

// The child's command 128 (object 0x0102, sub-number 3, two data bytes) and the parent's answer.
const std::string kRequest = test::hartRequest("128", "010203000212AB");
const std::string kAnswer = test::zebResponse("0", "12AB", "258", "3");

// Median nanoseconds of one call of `round` over `count` calls, in `batches` batches.
double medianNanoseconds(const std::function<void()>& round, int count, int batches)
{
    std::vector<double> times;
    for (int batch = 0; batch < batches; ++batch) {
        const auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < count; ++i)
            round();
        const std::chrono::duration<double, std::nano> took = std::chrono::steady_clock::now() - start;
        times.push_back(took.count() / count);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

[[noreturn]] void fail(const char* what)
{
    std::fprintf(stderr, "zeb2hart_com_bench: %s\n", what);
    std::exit(1);
}

// The DTM of ZEB2HARTGateway.dll beside the component's data, created from its
// class object without the registry, set up as a frame does.
struct ComRoad {
    // The DTM from the DLL's class object, in this thread's apartment.
    explicit ComRoad(const fs::path& folder) : ComRoad(folder, created(folder)) {}

    ComRoad(const fs::path& folder, ComPtr<IDtm> made) : dtm(std::move(made))
    {
        if (!dtm || FAILED(dtm.As(&channel)) || FAILED(dtm.As(&events)))
            fail("cannot create the DTM of ZEB2HARTGateway.dll");
        VARIANT_BOOL ok = VARIANT_FALSE;
        const auto frame = std::make_shared<fdt::SilentFrame>(folder.parent_path() / "share" / "zeb2hart" / "FrameSchemas");
        dtm->Environment(com::Bstr("GW1").get(), ComObject::as<::IFdtContainer>(frame).Get(), &ok);
        dtm->SetCommunication(ComObject::as<::IFdtCommunication>(parent).Get(), &ok);
        channel->ConnectRequest(ComObject::as<::IFdtCommunicationEvents>(child).Get(), com::Bstr("connect-1").get(),
                                com::Bstr(xml::kHartProtocolId).get(), com::Bstr(test::hartConnectRequest("C")).get(), &ok);
        events->OnConnectResponse(com::Bstr("connect-1").get(), com::Bstr(test::zebConnectResponse("REF-1")).get());
        if (!ok || parent->calls.size() != 1 || child->calls.size() != 1)
            fail("the DTM of ZEB2HARTGateway.dll did not connect");
    }

    static ComPtr<IDtm> created(const fs::path& folder)
    {
        const HMODULE module = LoadLibraryW((folder / L"ZEB2HARTGateway.dll").c_str());
        const auto getClassObject = reinterpret_cast<HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**)>(
            reinterpret_cast<void*>(GetProcAddress(module, "DllGetClassObject")));
        ComPtr<IClassFactory> factory;
        ComPtr<IDtm> result;
        if (getClassObject && SUCCEEDED(getClassObject(CLSID_DTMMain, IID_IClassFactory,
                                                       reinterpret_cast<void**>(factory.GetAddressOf()))))
            factory->CreateInstance(nullptr, IID_IDtm, reinterpret_cast<void**>(result.GetAddressOf()));
        return result;
    }

    void round()
    {
        parent->calls.clear();
        child->calls.clear();
        VARIANT_BOOL ok = VARIANT_FALSE;
        channel->TransactionRequest(request.get(), requestDocument.get(), &ok);
        events->OnTransactionResponse(request.get(), answer.get());
        if (!ok || child->calls.size() != 1)
            fail("a command 128 through COM did not come back");
    }

    ComPtr<IDtm> dtm;
    ComPtr<::IFdtCommunication> channel;
    ComPtr<::IFdtCommunicationEvents> events;
    std::shared_ptr<fakes::FakeParent> parent = std::make_shared<fakes::FakeParent>();
    std::shared_ptr<fakes::FakeChild> child = std::make_shared<fakes::FakeChild>();
    com::Bstr request{"t"};
    com::Bstr requestDocument{kRequest};
    com::Bstr answer{kAnswer};
};

// The same code linked into this program, called in C++.
struct CppRoad {
    explicit CppRoad(const fs::path& folder) : dtm(core::DTMMain::create(folder))
    {
        dtm->Environment("GW1", std::make_shared<fdt::SilentFrame>(folder.parent_path() / "share" / "zeb2hart" / "FrameSchemas"));
        dtm->SetCommunication(parent);
        dtm->ConnectRequest(child, "connect-1", xml::kHartProtocolId, test::hartConnectRequest("C"));
        dtm->OnConnectResponse("connect-1", test::zebConnectResponse("REF-1"));
        if (parent->calls.size() != 1 || child->calls.size() != 1)
            fail("the linked DTM did not connect");
    }

    void round()
    {
        parent->calls.clear();
        child->calls.clear();
        const bool ok = dtm->TransactionRequest("t", kRequest);
        dtm->OnTransactionResponse("t", kAnswer);
        if (!ok || child->calls.size() != 1)
            fail("a command 128 in C++ did not come back");
    }

    std::shared_ptr<core::DTMMain> dtm;
    std::shared_ptr<fakes::FakeParent> parent = std::make_shared<fakes::FakeParent>();
    std::shared_ptr<fakes::FakeChild> child = std::make_shared<fakes::FakeChild>();
};

// The median of five passes of `rounds` round trips.
double medianOfPasses(const std::function<void()>& round, int rounds)
{
    std::vector<double> times;
    for (int pass = 0; pass < 5; ++pass)
        times.push_back(medianNanoseconds(round, rounds / 5, 5));
    std::sort(times.begin(), times.end());
    return times[2];
}

// A round trip from a thread in the multithreaded apartment to the registered
// DTM in an apartment of its own.
double crossApartment(const fs::path& folder, int rounds)
{
    double result = 0;
    std::thread frame([&] {
        CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        {
            ComPtr<IDtm> dtm;
            if (FAILED(CoCreateInstance(CLSID_DTMMain, nullptr, CLSCTX_INPROC_SERVER, IID_IDtm,
                                        reinterpret_cast<void**>(dtm.GetAddressOf()))))
                fail("the DTM is not registered (regsvr32 ZEB2HARTGateway.dll of a test build)");
            ComRoad road(folder, std::move(dtm));
            for (int warm = 0; warm < 20; ++warm)
                road.round();
            result = medianOfPasses([&] { road.round(); }, rounds);
        }
        CoUninitialize();
    });
    frame.join();
    return result;
}

} // namespace
} // namespace zeb2hart::bench

int main(int argc, char** argv)
{
    using namespace zeb2hart;
    const int rounds = argc > 1 ? std::max(5, std::atoi(argv[1])) : 2000;
    const bool apartments = argc > 2 && std::string(argv[2]) == "--apartments";
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    {
        // The DLL's folder holds the component's data; this program's layers use it too.
        const auto folder = platform::pathFromUtf8(ZEB2HART_COMPONENT_DIR);
        platform::Services services;
        services.componentFolder = folder;
        platform::ScopedServices scope(services);
        bench::ComRoad com(folder);
        bench::CppRoad cpp(folder);
        for (int warm = 0; warm < 200; ++warm)
            com.round(), cpp.round();
        // Alternate the roads so that both see the same machine.
        std::vector<double> comTimes, cppTimes;
        for (int pass = 0; pass < 5; ++pass) {
            comTimes.push_back(bench::medianNanoseconds([&] { com.round(); }, rounds / 5, 5));
            cppTimes.push_back(bench::medianNanoseconds([&] { cpp.round(); }, rounds / 5, 5));
        }
        std::sort(comTimes.begin(), comTimes.end());
        std::sort(cppTimes.begin(), cppTimes.end());
        const double comNs = comTimes[2];
        const double cppNs = cppTimes[2];
        std::printf("command 128 round trip: through COM %.1f us, in C++ %.1f us, ratio %.3f\n", comNs / 1000,
                    cppNs / 1000, comNs / cppNs);
        if (apartments) {
            const double acrossNs = bench::crossApartment(folder, std::max(5, rounds / 10));
            std::printf("command 128 round trip from another apartment: %.1f us, %.1f times the same apartment's\n",
                        acrossNs / 1000, acrossNs / comNs);
        }
    }
    CoUninitialize();
    return 0;
}
