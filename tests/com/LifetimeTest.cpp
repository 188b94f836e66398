// Lifetimes a careless or hostile frame gives the DTM of the registered DLL:
// its last reference dropped inside the DTM's own call, the DTM as its own
// peer, and an outside object that answers every interface identifier. After
// each, the DLL holds nothing of the test's (the test module's own COM objects
// are counted) and may be unloaded, and an ordinary call is still answered.

#include <chrono>
#include <string_view>
#include <thread>

#include "DtmThroughCom.h"
#include "com/Module.h"
#include "com/ScopedVariant.h"
#include "FakePeers.h"
#include "gateway/HartGateway.h"

namespace zeb2hart::test {
namespace {

using com::Bstr;
using com::ComObject;
using com::ComPtr;

// Pumps the thread's messages for `duration`.
void pumpFor(std::chrono::milliseconds duration)
{
    const auto end = std::chrono::steady_clock::now() + duration;
    while (std::chrono::steady_clock::now() < end) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&message);
    }
}

// An outside object whose QueryInterface answers every identifier with one
// interface of the object it wraps, as some wrappers do.
class AnswersEveryIid final : public IUnknown {
public:
    explicit AnswersEveryIid(ComPtr<IUnknown> inner) : m_inner(std::move(inner)) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** result) override
    {
        m_inner->AddRef();
        *result = m_inner.Get();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_references; }
    ULONG STDMETHODCALLTYPE Release() override { return --m_references; } // lives on the test's stack
    ULONG references() const { return m_references; }

private:
    ComPtr<IUnknown> m_inner;
    ULONG m_references = 1;
};

class LifetimeTest : public DtmThroughComTest {
protected:
    // The DLL's DTM and everything of the test it held are gone.
    void expectAllReleased()
    {
        EXPECT_EQ(dll().call("DllCanUnloadNow"), S_OK);
        EXPECT_EQ(frame.use_count(), 1);
        EXPECT_EQ(parent.use_count(), 1);
        EXPECT_EQ(child.use_count(), 1);
        EXPECT_TRUE(com::Module::canUnload()); // the test's own COM objects
    }
    void setWarmstartDelay(std::int16_t seconds)
    {
        com::ScopedVariant delay{fdt::Variant(seconds)};
        ASSERT_EQ(dtmAs<IZeb2hartTestAccess>()->SetProperty(Bstr("PersistentWarmstartDelay").get(), delay.value()),
                  S_OK);
    }
    VARIANT_BOOL connect(::IFdtCommunicationEvents* callback)
    {
        VARIANT_BOOL ok = VARIANT_FALSE;
        EXPECT_EQ(dtmAs<::IFdtCommunication>()->ConnectRequest(callback, Bstr("c").get(),
                                                                Bstr(gateway::kHartProtocolId).get(),
                                                                Bstr(hartConnectRequest("C")).get(), &ok),
                  S_OK);
        return ok;
    }

    std::shared_ptr<fakes::FakeParent> parent = std::make_shared<fakes::FakeParent>();
    std::shared_ptr<fakes::FakeChild> child = std::make_shared<fakes::FakeChild>();
};

TEST_F(LifetimeTest, AFrameThatLetsGoInsideTheDtmsCallKeepsItAliveUntilTheCallReturns)
{
    start();
    IDtm* const raw = dtm.Get();
    HRESULT unloadDuringCall = E_FAIL;
    frame->observer = [&](const fakes::ObservedCall& call) {
        if (std::string_view(call.operation) == "OnPreparedToRelease") {
            dtm.Reset();
            unloadDuringCall = dll().call("DllCanUnloadNow");
        }
    };
    VARIANT_BOOL ok = VARIANT_FALSE;
    EXPECT_EQ(raw->PrepareToRelease(&ok), S_OK);
    EXPECT_EQ(ok, VARIANT_TRUE);
    EXPECT_EQ(unloadDuringCall, S_FALSE);
    frame->observer = nullptr;
    expectAllReleased();
}

TEST_F(LifetimeTest, ADtmGivenItselfAsItsPeerIsGoneWithTheFramesLastReference)
{
    struct Case {
        const char* name;
        bool selfAsParent; // else itself as the child
    };
    for (const Case& c : {Case{"itself as parent", true}, Case{"itself as child, with a time-out armed", false}}) {
        SCOPED_TRACE(c.name);
        if (!dtm)
            dtm = create();
        start();
        setWarmstartDelay(1);
        VARIANT_BOOL ok = VARIANT_FALSE;
        if (c.selfAsParent) {
            ASSERT_EQ(dtm->SetCommunication(dtmAs<::IFdtCommunication>().Get(), &ok), S_OK);
            EXPECT_EQ(ok, VARIANT_TRUE);
        } else {
            ASSERT_EQ(dtm->SetCommunication(ComObject::as<::IFdtCommunication>(parent).Get(), &ok), S_OK);
            ASSERT_EQ(connect(dtmAs<::IFdtCommunicationEvents>().Get()), VARIANT_TRUE);
            ASSERT_EQ(dtmAs<::IFdtCommunicationEvents>()->OnConnectResponse(Bstr("c").get(),
                                                                             Bstr(zebConnectResponse("REF-1")).get()),
                      S_OK);
            ASSERT_EQ(dtmAs<::IFdtCommunication>()->TransactionRequest(
                          Bstr("t").get(), Bstr(hartRequest("128", "36B2210000")).get(), &ok),
                      S_OK);
        }
        const std::size_t parentCalls = parent->calls.size();
        dtm.Reset();
        expectAllReleased();
        // No timer of the DTM is left to fire.
        pumpFor(std::chrono::milliseconds(1500));
        EXPECT_EQ(parent->calls.size(), parentCalls);
        parent->calls.clear();
    }
}

TEST_F(LifetimeTest, AnObjectThatAnswersEveryIdentifierIsNotTakenForTheDtmsOwn)
{
    start();
    {
        AnswersEveryIid wrapper(ComObject::as<::IFdtCommunication>(parent));
        VARIANT_BOOL ok = VARIANT_FALSE;
        // Only its IUnknown part is ever called: the DTM asks it for its interfaces.
        ASSERT_EQ(dtm->SetCommunication(reinterpret_cast<::IFdtCommunication*>(&wrapper), &ok), S_OK);
        EXPECT_EQ(ok, VARIANT_TRUE);
        EXPECT_EQ(connect(ComObject::as<::IFdtCommunicationEvents>(child).Get()), VARIANT_TRUE);
        EXPECT_EQ(fakes::summary(parent->calls), std::vector<std::string>{"ConnectRequest c"});
        ASSERT_EQ(dtm->ReleaseCommunication(&ok), S_OK);
        EXPECT_EQ(wrapper.references(), 1u);
    }
    dtm.Reset();
    expectAllReleased();
}

} // namespace
} // namespace zeb2hart::test
