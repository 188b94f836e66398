// Every operation of IDtm and IFdtCommunication called as a script host calls
// it: IDispatch::Invoke by its published DISPID (PublishedLayout.h, not
// GetIDsOfNames), the arguments VT_BSTR, VT_BOOL, VT_I4 or VT_DISPATCH in
// reverse order. Two DTMs go through the same session, one called through the
// vtable and one through Invoke, each under fresh manual services and with its
// own fakes as frame, parent and child: every call answers S_OK and the same
// result both ways, and the fakes see the same calls.

#include <algorithm>
#include <functional>
#include <variant>

#include "DtmThroughCom.h"
#include "PublishedLayout.h"
#include "com/ErrorMapping.h"
#include "com/FrameServicesStub.h"
#include "FakePeers.h"
#include "gateway/HartGateway.h"

namespace zeb2hart::test {
namespace {

using com::ComObject;
using com::ComPtr;

// One DTM and the fakes around it, as COM objects.
struct Session {
    Session(ComPtr<IDtm> created, std::shared_ptr<fakes::FakeFrame> itsFrame)
        : dtm(std::move(created)), frame(std::move(itsFrame))
    {
        EXPECT_EQ(dtm.As(&channel), S_OK);
        EXPECT_EQ(dtm.As(&answers), S_OK);
        EXPECT_EQ(dtm.As(&persistence), S_OK);
    }
    ComPtr<IDtm> dtm;
    ComPtr<::IFdtCommunication> channel;
    ComPtr<::IFdtCommunicationEvents> answers;
    ComPtr<IPersistPropertyBag> persistence;
    std::shared_ptr<fakes::FakeFrame> frame;
    std::shared_ptr<fakes::FakeParent> parent = std::make_shared<fakes::FakeParent>();
    std::shared_ptr<fakes::FakeChild> child = std::make_shared<fakes::FakeChild>();
};

// An argument: a value (text, Boolean, 32-bit number) or one of the session's fakes.
enum class Fake { Frame, Parent, Child };
using Argument = std::variant<fdt::Variant, Fake>;

// The arguments of one call as VARIANTs, in the published order.
class Arguments {
public:
    Arguments(const std::vector<Argument>& arguments, const Session& session)
    {
        for (const Argument& argument : arguments) {
            VARIANT value;
            VariantInit(&value);
            if (const auto* plain = std::get_if<fdt::Variant>(&argument)) {
                value = com::toVariant(*plain);
            } else {
                value.vt = VT_DISPATCH;
                value.pdispVal = dispatchOf(std::get<Fake>(argument), session).Detach();
            }
            m_values.push_back(value);
        }
    }
    ~Arguments()
    {
        for (VARIANT& value : m_values)
            VariantClear(&value);
    }
    Arguments(const Arguments&) = delete;
    Arguments& operator=(const Arguments&) = delete;

    BSTR text(std::size_t i) const { return m_values.at(i).bstrVal; }
    VARIANT_BOOL flag(std::size_t i) const { return m_values.at(i).boolVal; }
    LONG number(std::size_t i) const { return m_values.at(i).lVal; }
    // As a script host passes them: the last argument first.
    std::vector<VARIANT> reversed() const { return {m_values.rbegin(), m_values.rend()}; }
    std::size_t size() const { return m_values.size(); }

private:
    static ComPtr<IDispatch> dispatchOf(Fake fake, const Session& session)
    {
        switch (fake) {
        case Fake::Frame: return ComObject::as<IDispatch>(session.frame);
        case Fake::Parent: return ComObject::as<IDispatch>(session.parent);
        default: return ComObject::as<IDispatch>(session.child);
        }
    }

    std::vector<VARIANT> m_values;
};

// Where a direct call writes its [out, retval].
VARIANT_BOOL* flag(VARIANT* result)
{
    result->vt = VT_BOOL;
    return &result->boolVal;
}

BSTR* text(VARIANT* result)
{
    result->vt = VT_BSTR;
    return &result->bstrVal;
}

// The answer of a call: its status, and its result's type and value.
std::string answerText(HRESULT status, const VARIANT& result)
{
    std::string text = com::hresultText(status);
    if (result.vt == VT_BOOL)
        text += result.boolVal == VARIANT_TRUE ? ", VARIANT_BOOL true"
                : result.boolVal == VARIANT_FALSE ? ", VARIANT_BOOL false"
                                                  : ", VARIANT_BOOL " + std::to_string(result.boolVal);
    else if (result.vt == VT_BSTR)
        text += ", BSTR " + com::fromBstr(result.bstrVal);
    else if (result.vt != VT_EMPTY)
        text += ", VARTYPE " + std::to_string(result.vt);
    return text;
}

struct LateCall {
    const char* interfaceName;
    const char* operation;
    std::vector<Argument> arguments;
    // The same call through the vtable.
    std::function<HRESULT(const Session&, const Arguments&, VARIANT* result)> direct;
};

using A = const Arguments&;
using S = const Session&;

const std::string kUserInformation = R"(<FDT xmlns="x-schema:FDTUserInformationSchema.xml" )"
                                     R"(xmlns:fdt="x-schema:FDTDataTypesSchema.xml">)"
                                     R"(<FDTUserInformation userLevel="planningEngineer"/></FDT>)";

// A frame's session with the DTM and a child's HART connection through it, in order.
const LateCall kSession[] = {
    {"IDtm", "Environment", {"GW1", Fake::Frame},
     [](S s, A a, VARIANT* r) {
         return s.dtm->Environment(a.text(0), ComObject::as<::IFdtContainer>(s.frame).Get(), flag(r));
     }},
    {"IDtm", "InitNew", {gatewayDeviceType()}, [](S s, A a, VARIANT* r) { return s.dtm->InitNew(a.text(0), flag(r)); }},
    {"IDtm", "SetLanguage", {std::int32_t{1031}},
     [](S s, A a, VARIANT* r) { return s.dtm->SetLanguage(a.number(0), flag(r)); }},
    {"IDtm", "Config", {kUserInformation}, [](S s, A a, VARIANT* r) { return s.dtm->Config(a.text(0), flag(r)); }},
    {"IDtm", "PrivateDialogEnabled", {true},
     [](S s, A a, VARIANT* r) { return s.dtm->PrivateDialogEnabled(a.flag(0), flag(r)); }},
    {"IDtm", "GetFunctions", {""}, [](S s, A a, VARIANT* r) { return s.dtm->GetFunctions(a.text(0), text(r)); }},
    {"IDtm", "InvokeFunctionRequest", {"invoke-1", functionCall("30")},
     [](S s, A a, VARIANT* r) { return s.dtm->InvokeFunctionRequest(a.text(0), a.text(1), flag(r)); }},
    {"IDtm", "SetCommunication", {Fake::Parent},
     [](S s, A, VARIANT* r) {
         return s.dtm->SetCommunication(ComObject::as<::IFdtCommunication>(s.parent).Get(), flag(r));
     }},
    {"IFdtCommunication", "GetSupportedProtocols", {},
     [](S s, A, VARIANT* r) { return s.channel->GetSupportedProtocols(text(r)); }},
    {"IFdtCommunication", "ConnectRequest",
     {Fake::Child, "connect-1", gateway::kHartProtocolId, hartConnectRequest("C")},
     [](S s, A a, VARIANT* r) {
         return s.channel->ConnectRequest(ComObject::as<::IFdtCommunicationEvents>(s.child).Get(), a.text(1),
                                          a.text(2), a.text(3), flag(r));
     }},
    {"IFdtCommunicationEvents", "OnConnectResponse", {"connect-1", zebConnectResponse("REF-1")},
     [](S s, A a, VARIANT*) { return s.answers->OnConnectResponse(a.text(0), a.text(1)); }},
    {"IFdtCommunication", "TransactionRequest", {"t", hartRequest("128", "36B2210000")},
     [](S s, A a, VARIANT* r) { return s.channel->TransactionRequest(a.text(0), a.text(1), flag(r)); }},
    {"IFdtCommunication", "SequenceBegin", {hartRequest("0", "")},
     [](S s, A a, VARIANT* r) { return s.channel->SequenceBegin(a.text(0), flag(r)); }},
    {"IFdtCommunication", "SequenceStart", {hartRequest("0", "")},
     [](S s, A a, VARIANT* r) { return s.channel->SequenceStart(a.text(0), flag(r)); }},
    {"IFdtCommunication", "SequenceEnd", {hartRequest("0", "")},
     [](S s, A a, VARIANT* r) { return s.channel->SequenceEnd(a.text(0), flag(r)); }},
    {"IFdtCommunication", "DisconnectRequest", {"disconnect-1", hartDisconnectRequest("REF-1")},
     [](S s, A a, VARIANT* r) { return s.channel->DisconnectRequest(a.text(0), a.text(1), flag(r)); }},
    {"IFdtCommunication", "Abort", {hartDisconnectRequest("REF-1")},
     [](S s, A a, VARIANT*) { return s.channel->Abort(a.text(0)); }},
    {"IDtm", "PrepareToReleaseCommunication", {},
     [](S s, A, VARIANT* r) { return s.dtm->PrepareToReleaseCommunication(flag(r)); }},
    {"IDtm", "ReleaseCommunication", {}, [](S s, A, VARIANT* r) { return s.dtm->ReleaseCommunication(flag(r)); }},
    {"IDtm", "PrepareToRelease", {}, [](S s, A, VARIANT* r) { return s.dtm->PrepareToRelease(flag(r)); }},
    {"IDtm", "PrepareToDelete", {}, [](S s, A, VARIANT* r) { return s.dtm->PrepareToDelete(flag(r)); }},
};

// The call through IDispatch::Invoke of the interface, by the published DISPID.
std::string invoke(const LateCall& call, const Session& session, const Arguments& arguments)
{
    const published::Interface& target = published::interfaceNamed(call.interfaceName);
    const published::Operation& operation = published::operation(call.interfaceName, call.operation);
    IID iid{};
    ComPtr<IDispatch> dispatch; // the dual interface itself, not the object's default IDispatch
    if (FAILED(IIDFromString(target.iid, &iid)) ||
        FAILED(session.dtm->QueryInterface(iid, reinterpret_cast<void**>(dispatch.GetAddressOf()))))
        return "no " + std::string(call.interfaceName);
    std::vector<VARIANT> reversed = arguments.reversed();
    DISPPARAMS parameters{reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
    VARIANT result;
    VariantInit(&result);
    EXCEPINFO exception{};
    const WORD kind = operation.kind == published::Kind::Method ? DISPATCH_METHOD : DISPATCH_PROPERTYGET;
    const HRESULT status =
        dispatch->Invoke(operation.dispid, IID_NULL, 0, kind, &parameters, &result, &exception, nullptr);
    std::string answer = answerText(status, result);
    if (status == DISP_E_EXCEPTION)
        answer += " (" + take(exception.bstrDescription) + ")";
    SysFreeString(exception.bstrSource);
    SysFreeString(exception.bstrHelpFile);
    VariantClear(&result);
    return answer;
}

// What the fakes of a session were called with, one line each.
std::vector<std::string> seenByFakes(const Session& session)
{
    std::vector<std::string> seen;
    for (const fakes::Call& call : session.frame->containerCalls)
        seen.push_back("container " + call.name);
    for (const fakes::Call& call : session.frame->events)
        seen.push_back("frame " + call.name + (call.args.empty() ? "" : " " + call.args.front()));
    for (const std::string& call : fakes::summary(session.parent->calls))
        seen.push_back("parent " + call);
    for (const std::string& call : fakes::summary(session.child->calls))
        seen.push_back("child " + call);
    return seen;
}

// The test's manual services lent to the DTMs the class object makes while it
// lives, without pages; the system's again after. Time moves only when told, so
// no time-out fires in one DTM and not in the other.
class LentServices {
public:
    explicit LentServices(com::ComPtr<IZeb2hartTestServices> hook) : m_hook(std::move(hook))
    {
        m_lent = m_hook && SUCCEEDED(m_hook->UseFrameServices(com::Bstr(componentDir().string()).get(),
                                                               com::FrameServicesStub::create(platform::services()).Get(),
                                                               VARIANT_FALSE));
    }
    ~LentServices()
    {
        if (m_lent) {
            EXPECT_EQ(m_hook->UseFrameServices(nullptr, nullptr, VARIANT_TRUE), S_OK);
        }
    }
    LentServices(const LentServices&) = delete;
    LentServices& operator=(const LentServices&) = delete;
    bool lent() const { return m_lent; }

private:
    TestEnvironment m_services; // installed first, as what is lent
    com::ComPtr<IZeb2hartTestServices> m_hook;
    bool m_lent = false;
};

// The call through the vtable.
std::string callDirectly(const LateCall& call, const Session& session, const Arguments& arguments)
{
    VARIANT result;
    VariantInit(&result);
    const HRESULT status = call.direct(session, arguments, &result);
    std::string answer = answerText(status, result);
    VariantClear(&result);
    EXPECT_EQ(status, S_OK) << call.interfaceName << "::" << call.operation << ": " << answer;
    return answer;
}

// What a session's calls answered, and what its fakes saw.
struct Outcome {
    std::vector<std::string> answers;
    std::vector<std::string> seen;
};

using LateBindingTest = DtmThroughComTest;

TEST_F(LateBindingTest, EveryOperationAnswersByItsPublishedDispidAsThroughTheVtable)
{
    for (const LateCall& call : kSession) {
        const auto& parameters = published::operation(call.interfaceName, call.operation).parameters;
        ASSERT_EQ(std::ranges::count(parameters, published::Direction::In, &published::Parameter::direction),
                  std::ssize(call.arguments))
            << call.interfaceName << "::" << call.operation;
    }
    // The session one way, on a new DTM under fresh manual services: both ways
    // the gateway makes the same GUIDs, and no time passes.
    const auto run = [](auto&& way) {
        const LentServices services(testServices());
        EXPECT_TRUE(services.lent());
        const auto sessionFrame = std::make_shared<fakes::FakeFrame>();
        sessionFrame->answers->xmlSchemaPath = frameSchemaDir().string();
        const Session session(create(), sessionFrame);
        EXPECT_EQ(session.persistence->InitNew(), S_OK); // a frame starts a new instance's persistence first
        Outcome outcome;
        for (const LateCall& call : kSession) {
            const Arguments arguments(call.arguments, session);
            outcome.answers.push_back(way(call, session, arguments));
        }
        outcome.seen = seenByFakes(session);
        return outcome;
    };
    const Outcome direct = run(callDirectly);
    const Outcome invoked = run(invoke);

    ASSERT_EQ(invoked.answers.size(), direct.answers.size());
    for (std::size_t i = 0; i < direct.answers.size(); ++i)
        EXPECT_EQ(invoked.answers[i], direct.answers[i]) << kSession[i].interfaceName << "::" << kSession[i].operation;
    EXPECT_EQ(invoked.seen, direct.seen);
    // The session reached the frame, the parent and the child: no agreement of two empty lists.
    const std::vector<std::string> seen = {
        "container GetXmlSchemaPath",
        "frame OnPreparedToReleaseCommunication GW1",
        "frame OnPreparedToRelease GW1",
        "frame OnPreparedToRelease GW1",
        "parent ConnectRequest connect-1",
        "parent TransactionRequest t",
        "parent TransactionRequest 00000000-0000-4000-8000-000000000001", // the broadcast before the disconnect
        "parent DisconnectRequest disconnect-1",
        "child OnConnectResponse connect-1",
    };
    EXPECT_EQ(direct.seen, seen);
}

} // namespace
} // namespace zeb2hart::test
