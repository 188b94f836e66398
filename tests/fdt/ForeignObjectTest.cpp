// query<I>() and require<I>() on C++ objects and on foreign objects asked by
// interface identifier; the identity of objects; the identifiers of the FDT
// interface classes.

#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "fdt/CommunicationInterfaces.h"
#include "fdt/DtmInterfaces.h"
#include "fdt/FrameInterfaces.h"
#include "fdt/SilentFrame.h"

namespace zeb2hart::fdt {
namespace {

// Answers the identifiers it was given and records every question.
class FakeForeign final : public ForeignObject {
public:
    explicit FakeForeign(std::map<Guid, ObjectPtr> answers, const void* identity = nullptr)
        : m_answers(std::move(answers)), m_identity(identity)
    {
    }
    ObjectPtr queryInterface(const Guid& iid) override
    {
        asked.push_back(iid);
        const auto found = m_answers.find(iid);
        return found == m_answers.end() ? nullptr : found->second;
    }
    const void* identity() const override { return m_identity; }
    std::vector<Guid> asked;

private:
    std::map<Guid, ObjectPtr> m_answers;
    const void* m_identity;
};

// A foreign object that is also a C++ container: the C++ side answers first.
class HalfForeign final : public ForeignObject, public IFdtContainer {
public:
    ObjectPtr queryInterface(const Guid&) override { throw Error("must not be asked"); }
    const void* identity() const override { return this; }
    bool SaveRequest(const std::string&) override { return true; }
    bool LockDataSet(const std::string&) override { return true; }
    bool UnlockDataSet(const std::string&) override { return true; }
    std::string GetXmlSchemaPath() override { return "own"; }
};

class LocalOnly : public virtual Object {}; // an interface without identifier

TEST(ForeignObjectTest, QueryAsksForeignObjectsByIdentifier)
{
    const auto frame = std::make_shared<SilentFrame>();
    const auto notAContainer = std::make_shared<SilentFrame>(); // answered under the wrong identifier
    const auto foreign = std::make_shared<FakeForeign>(std::map<Guid, ObjectPtr>{
        {IFdtContainer::kIid, frame}, {IDtmEvents::kIid, nullptr}, {IFdtCommunication::kIid, notAContainer}});

    EXPECT_EQ(query<IFdtContainer>(foreign), frame);
    EXPECT_EQ(query<IDtmEvents>(foreign), nullptr);
    EXPECT_EQ(query<IFdtCommunication>(foreign), nullptr); // the answer does not offer the interface
    EXPECT_EQ(query<LocalOnly>(foreign), nullptr);         // not asked: it has no identifier
    EXPECT_EQ(foreign->asked, (std::vector<Guid>{IFdtContainer::kIid, IDtmEvents::kIid, IFdtCommunication::kIid}));

    EXPECT_EQ(require<IFdtContainer>(foreign), frame);
    EXPECT_THROW(require<IDtmEvents>(foreign), TypeMismatchError);
    EXPECT_EQ(query<IFdtContainer>(ObjectPtr()), nullptr);
    EXPECT_EQ(query<IFdtContainer>(std::make_shared<HalfForeign>())->GetXmlSchemaPath(), "own");
}

TEST(ForeignObjectTest, ForeignObjectsForTheSameOutsideObjectShareTheirIdentity)
{
    const int outside = 0;
    const int other = 0;
    const auto first = std::make_shared<FakeForeign>(std::map<Guid, ObjectPtr>{}, &outside);
    const auto second = std::make_shared<FakeForeign>(std::map<Guid, ObjectPtr>{}, &outside);
    const auto third = std::make_shared<FakeForeign>(std::map<Guid, ObjectPtr>{}, &other);
    EXPECT_EQ(identityOf(first.get()), &outside);
    EXPECT_EQ(identityOf(second.get()), identityOf(first.get()));
    EXPECT_NE(identityOf(third.get()), identityOf(first.get()));

    // A C++ object is known by the address of its complete object, through any base.
    const auto frame = std::make_shared<SilentFrame>();
    const std::shared_ptr<IFdtContainer> container = frame;
    EXPECT_EQ(identityOf(container.get()), static_cast<const void*>(frame.get()));
    EXPECT_EQ(identityOf(static_cast<const Object*>(nullptr)), nullptr);
}

TEST(ForeignObjectTest, InterfaceIdentifiersInRegistryForm)
{
    struct Case {
        Guid iid;
        const char* text;
    };
    const Case cases[] = {
        {IDtm::kIid, "{036D1481-387B-11D4-86E1-00E0987270B9}"},
        {IDtmInformation::kIid, "{036D147F-387B-11D4-86E1-00E0987270B9}"},
        {IDtmParameter::kIid, "{036D147D-387B-11D4-86E1-00E0987270B9}"},
        {IDtmDocumentation::kIid, "{036D147C-387B-11D4-86E1-00E0987270B9}"},
        {IDtmActiveXInformation::kIid, "{036D1480-387B-11D4-86E1-00E0987270B9}"},
        {IDtmActiveXControl::kIid, "{036D1486-387B-11D4-86E1-00E0987270B9}"},
        {IDtmChannel::kIid, "{036D1489-387B-11D4-86E1-00E0987270B9}"},
        {IFdtChannel::kIid, "{036D1488-387B-11D4-86E1-00E0987270B9}"},
        {IFdtChannelSubTopology::kIid, "{036D1484-387B-11D4-86E1-00E0987270B9}"},
        {IFdtCommunication::kIid, "{039ECFC4-9CA8-44E6-944D-B37F288A34D8}"},
        {IFdtCommunicationEvents::kIid, "{036D1485-387B-11D4-86E1-00E0987270B9}"},
        {IFdtEvents::kIid, "{036D1478-387B-11D4-86E1-00E0987270B9}"},
        {IFdtContainer::kIid, "{036D1487-387B-11D4-86E1-00E0987270B9}"},
        {IDtmEvents::kIid, "{F15BA42E-BBF1-42ED-8009-7F664A002CFB}"},
        {IFdtChannelCollection::kIid, "{E4F31A10-45BF-11D4-BBB3-0060080993FF}"},
        {IFdtTopology::kIid, "{036D147A-387B-11D4-86E1-00E0987270B9}"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.iid.toString(), c.text);
}

} // namespace
} // namespace zeb2hart::fdt
