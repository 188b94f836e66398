// One COM identity per C++ object, kept alive while COM holds it; interfaces by
// QueryInterface; the module's own objects unwrapped; proxies over stubs.

#include "ComTestSupport.h"
#include "com/ComObject.h"
#include "com/Module.h"
#include "com/Peer.h"
#include "com/TableProxies.h"
#include "FakeFrame.h"
#include "FakePeers.h"

namespace zeb2hart::test {
namespace {

using com::ComObject;
using com::ComPtr;

using ComObjectTest = ComTest;

TEST_F(ComObjectTest, OneIdentityKeepsItsObjectAlive)
{
    auto frame = std::make_shared<fakes::FakeFrame>();
    const std::weak_ptr<fakes::FakeFrame> watch = frame;
    ComPtr<IUnknown> identity = ComObject::of(frame);
    EXPECT_EQ(ComObject::of(frame), identity);

    ComPtr<::IFdtContainer> container;
    ComPtr<::IDtmEvents> events;
    ComPtr<IDispatch> dispatch;
    ComPtr<::IDtm> notOffered;
    ASSERT_EQ(identity.As(&container), S_OK);
    ASSERT_EQ(identity.As(&events), S_OK);
    ASSERT_EQ(identity.As(&dispatch), S_OK);
    EXPECT_EQ(identity.As(&notOffered), E_NOINTERFACE);
    EXPECT_EQ(static_cast<IUnknown*>(dispatch.Get()), static_cast<IUnknown*>(container.Get())); // the first in the table
    ComPtr<IUnknown> back;
    ASSERT_EQ(events.As(&back), S_OK);
    EXPECT_EQ(back, identity);

    EXPECT_EQ(ComObject::objectOf(events.Get()), frame);
    EXPECT_EQ(com::Peer::wrap(container.Get()), frame);
    EXPECT_FALSE(com::Module::canUnload());
    frame.reset();
    EXPECT_FALSE(watch.expired());
    identity.Reset(), container.Reset(), events.Reset(), dispatch.Reset(), back.Reset();
    EXPECT_TRUE(watch.expired());
    EXPECT_TRUE(com::Module::canUnload());
}

TEST_F(ComObjectTest, ProxyCallsTheStubAndFailuresComeBack)
{
    const auto parent = std::make_shared<fakes::FakeParent>();
    com::IFdtCommunicationProxy proxy(ComObject::as<::IFdtCommunication>(parent));
    const auto child = std::make_shared<fakes::FakeChild>();
    EXPECT_TRUE(proxy.ConnectRequest(child, "c", "protocol", "<frame/>"));
    EXPECT_EQ(parent->calls.back().callback.lock(), child); // the callback arrives as the child itself
    parent->answers.transactionRequest = false;
    EXPECT_FALSE(proxy.TransactionRequest("t", "ü"));
    EXPECT_EQ(parent->calls.back().document, "ü");
    parent->faults.failOn("DisconnectRequest");
    try {
        proxy.DisconnectRequest("d", "");
        ADD_FAILURE();
    } catch (const fdt::Error& error) {
        EXPECT_STREQ(error.what(), "the scripted parent fails DisconnectRequest (call 1)");
    }
    EXPECT_EQ(fakes::summary(parent->calls),
              (std::vector<std::string>{"ConnectRequest c", "TransactionRequest t", "DisconnectRequest d"}));
}

} // namespace
} // namespace zeb2hart::test
