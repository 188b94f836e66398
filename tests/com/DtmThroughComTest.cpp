// The DTM as a frame meets it: created from its ProgID by CoCreateInstance
// from the registered DLL, driven through the vtable, IDispatch and the
// C++ proxies, with the shared fakes as COM frame, parent and child.

#include <algorithm>
#include <fstream>
#include <functional>
#include <iterator>

#include "DtmThroughCom.h"
#include "com/FrameServicesStub.h"
#include "com/Module.h"
#include "com/Peer.h"
#include "com/PropertyBagStub.h"
#include "com/ScopedVariant.h"
#include "core/Pages.h"
#include "core/PersistentProperties.h"
#include "fakes/DocumentCheck.h"
#include "fakes/FakePages.h"
#include "FakePeers.h"
#include "gateway/HartGateway.h"

namespace zeb2hart::test {
namespace {

using com::Bstr;
using com::ComObject;
using com::ComPtr;

bool contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

// The functions the DTM lists for a frame, each "functionId userInterface".
std::vector<std::string> listedFunctions(IDtm& dtm)
{
    BSTR text = nullptr;
    EXPECT_EQ(dtm.GetFunctions(Bstr("").get(), &text), S_OK);
    const Document document(take(text));
    std::vector<std::string> listed;
    for (xmlNode* function : dom::childElements(document.node("FDT/DtmFunctions/StandardFunctions"), "Function"))
        listed.push_back(dom::attribute(function, "functionId").value_or("<none>") + " " +
                         dom::attribute(function, "userInterface").value_or("<none>"));
    return listed;
}

// The ProgID the DTM names for the function, "" for none.
std::string activeXProgId(IDtm& dtm, const std::string& functionId)
{
    ComPtr<IDtmActiveXInformation> information;
    EXPECT_EQ(dtm.QueryInterface(IID_IDtmActiveXInformation, reinterpret_cast<void**>(information.GetAddressOf())),
              S_OK);
    BSTR progId = nullptr;
    EXPECT_EQ(information->GetActiveXProgId(Bstr(functionCall(functionId)).get(), &progId), S_OK);
    return take(progId);
}

// The class identifier the DTM names for the function, "" for none.
std::string activeXGuid(IDtm& dtm, const std::string& functionId)
{
    ComPtr<IDtmActiveXInformation> information;
    EXPECT_EQ(dtm.QueryInterface(IID_IDtmActiveXInformation, reinterpret_cast<void**>(information.GetAddressOf())),
              S_OK);
    BSTR clsid = nullptr;
    EXPECT_EQ(information->GetActiveXGuid(Bstr(functionCall(functionId)).get(), &clsid), S_OK);
    return take(clsid);
}

TEST_F(DtmThroughComTest, FrameDrivesTheDtmThroughTheVtable)
{
    start();
    EXPECT_EQ(frame->containerCalls.front(), (fakes::Call{"GetXmlSchemaPath", {}}));
    BSTR information = nullptr;
    ASSERT_EQ(dtmAs<IDtmInformation>()->GetInformation(&information), S_OK);
    EXPECT_TRUE(contains(take(information), "<DtmInfo"));
    VARIANT_BOOL ok = VARIANT_FALSE;
    EXPECT_EQ(dtm->PrepareToRelease(&ok), S_OK);
    EXPECT_EQ(frame->events.back().name, "OnPreparedToRelease");
}

TEST_F(DtmThroughComTest, ConnectAndHartCommandReachTheParentThroughCom)
{
    start();
    const auto parent = std::make_shared<fakes::FakeParent>();
    const auto child = std::make_shared<fakes::FakeChild>();
    VARIANT_BOOL ok = VARIANT_FALSE;
    ASSERT_EQ(dtm->SetCommunication(ComObject::as<::IFdtCommunication>(parent).Get(), &ok), S_OK);
    ASSERT_EQ(ok, VARIANT_TRUE);

    const auto channel = dtmAs<::IFdtCommunication>();
    ASSERT_EQ(channel->ConnectRequest(ComObject::as<::IFdtCommunicationEvents>(child).Get(), Bstr("connect-1").get(),
                                      Bstr(gateway::kHartProtocolId).get(), Bstr(hartConnectRequest("C")).get(), &ok),
              S_OK);
    EXPECT_EQ(ok, VARIANT_TRUE);
    ASSERT_EQ(dtmAs<::IFdtCommunicationEvents>()->OnConnectResponse(Bstr("connect-1").get(),
                                                                     Bstr(zebConnectResponse("REF-1")).get()),
              S_OK);
    ASSERT_EQ(channel->TransactionRequest(Bstr("t").get(), Bstr(hartRequest("128", "36B2210000")).get(), &ok), S_OK);
    EXPECT_EQ(ok, VARIANT_TRUE);

    EXPECT_EQ(fakes::summary(parent->calls), (std::vector<std::string>{"ConnectRequest connect-1", "TransactionRequest t"}));
    EXPECT_EQ(fakes::summary(child->calls), (std::vector<std::string>{"OnConnectResponse connect-1"}));
    // Telegram 36 B2 21 ...: object 0x36B2, sub-number 0x21.
    EXPECT_TRUE(contains(parent->calls.back().document, R"(SubNo="33" ObjectNo="14002")")) << parent->calls.back().document;
}

TEST_F(DtmThroughComTest, DispatchInvokesByName)
{
    start();
    ComPtr<IDispatch> dispatch;
    ASSERT_EQ(dtm.As(&dispatch), S_OK); // IDtm answers for IDispatch
    LPOLESTR name = const_cast<LPOLESTR>(L"GetFunctions");
    DISPID id = 0;
    ASSERT_EQ(dispatch->GetIDsOfNames(IID_NULL, &name, 1, 0, &id), S_OK);
    com::ScopedVariant argument{fdt::Variant("")}, result;
    DISPPARAMS parameters{argument.get(), nullptr, 1, 0};
    ASSERT_EQ(dispatch->Invoke(id, IID_NULL, 0, DISPATCH_METHOD, &parameters, result.get(), nullptr, nullptr), S_OK);
    ASSERT_EQ(result.value().vt, VT_BSTR);
    EXPECT_TRUE(contains(com::fromBstr(result.value().bstrVal), "<FDT"));
}

TEST_F(DtmThroughComTest, ADtmMadeWithoutTestFrameOffersTheDllsOwnPages)
{
    start();
    EXPECT_EQ(listedFunctions(*dtm.Get()), (std::vector<std::string>{"10 ActiveX", "30 ActiveX", "50 ActiveX"}));
    const struct {
        const char* functionId;
        const char* progId;
        const char* clsid;
    } pages[] = {
        {"10", "ZEB2HARTGateway.ctlOfflineParam", "{123C16C9-91D8-4711-AEE5-9C2B58B274B9}"},
        {"30", "ZEB2HARTGateway.ctlMonitor", "{5E2A1315-8998-4327-8EA1-F6EC8900B436}"},
        {"50", "ZEB2HARTGateway.ctlAbout", "{1A898714-DDAA-4F59-A3E4-EACF0B661DF5}"},
        {"20", "", ""}, // a function without page
    };
    for (const auto& page : pages) {
        EXPECT_EQ(activeXProgId(*dtm.Get(), page.functionId), page.progId) << page.functionId;
        EXPECT_EQ(activeXGuid(*dtm.Get(), page.functionId), page.clsid) << page.functionId;
    }
}

TEST_F(DtmThroughComTest, ADtmMadeUnderATestFrameWithPagesOffersThem)
{
    const ComPtr<IZeb2hartTestServices> services = testServices();
    ASSERT_TRUE(services);
    const TestEnvironment frameServices;
    const auto lent = com::FrameServicesStub::create(platform::services());
    const Bstr folder(componentDir().string());

    ASSERT_EQ(services->UseFrameServices(folder.get(), lent.Get(), VARIANT_TRUE), S_OK);
    dtm = create();
    start();
    EXPECT_EQ(listedFunctions(*dtm.Get()), (std::vector<std::string>{"10 ActiveX", "30 ActiveX", "50 ActiveX"}));
    EXPECT_EQ(activeXProgId(*dtm.Get(), "30"), core::kProgIdMonitor);

    // A test frame without pages leaves them out; the system's services again bring the DLL's own.
    ASSERT_EQ(services->UseFrameServices(folder.get(), lent.Get(), VARIANT_FALSE), S_OK);
    dtm = create();
    start();
    EXPECT_EQ(listedFunctions(*dtm.Get()), std::vector<std::string>{});
    EXPECT_EQ(activeXProgId(*dtm.Get(), "30"), "");
    ASSERT_EQ(services->UseFrameServices(nullptr, nullptr, VARIANT_TRUE), S_OK);
    dtm = create();
    start();
    EXPECT_EQ(activeXProgId(*dtm.Get(), "30"), core::kProgIdMonitor);
}

// The offline parameter page of a frame: every status it is shown.
class RecordingOfflinePage final : public core::IOfflineParamPage, public RecordingPage {
public:
    using RecordingPage::RecordingPage;
    void SetParameterStatus(const fdt::Variant& newValue, const std::string& statusText) override
    {
        statuses.emplace_back(newValue, statusText);
    }
    std::vector<std::pair<fdt::Variant, std::string>> statuses;
};

TEST_F(DtmThroughComTest, TheFramesPagesAreReachedThroughCom)
{
    start();
    const auto access = dtmAs<IZeb2hartTestAccess>();
    const RecordingPage::Log translated = std::make_shared<std::vector<std::string>>();
    const auto monitor = std::make_shared<RecordingMonitorPage>("monitor", translated);
    const auto offline = std::make_shared<RecordingOfflinePage>("offline", translated);
    // The DTM holds the pages it is given: the frame's COM objects go at once.
    ASSERT_EQ(access->CtlMonitorPointer(ComObject::of(monitor).Get()), S_OK);
    ASSERT_EQ(access->CtlOfflineParamPointer(ComObject::of(offline).Get()), S_OK);

    ASSERT_EQ(access->MonitorMsg(Bstr("IDtm_Test()").get(), Bstr("hello").get(), 38400, 2), S_OK);
    ASSERT_EQ(monitor->lines.size(), 1u);
    EXPECT_TRUE(contains(monitor->lines[0].first, "- hello")) << monitor->lines[0].first;
    EXPECT_EQ(monitor->lines[0].second, 38400);

    ASSERT_EQ(access->Set_Status(), S_OK);
    ASSERT_EQ(offline->statuses.size(), 1u);
    EXPECT_EQ(offline->statuses[0].first, fdt::Variant(std::int32_t{1}));
    EXPECT_FALSE(offline->statuses[0].second.empty());

    VARIANT_BOOL ok = VARIANT_FALSE;
    ASSERT_EQ(dtm->SetLanguage(1031, &ok), S_OK);
    EXPECT_EQ(ok, VARIANT_TRUE);
    std::vector<std::string> pages = *translated;
    std::ranges::sort(pages);
    EXPECT_EQ(pages, (std::vector<std::string>{"monitor", "offline"}));

    // Once the page is taken back, it is shown nothing more (SetLanguage wrote a line of its own).
    const std::size_t shown = monitor->lines.size();
    ASSERT_EQ(access->CtlMonitorPointer(nullptr), S_OK);
    ASSERT_EQ(access->MonitorMsg(Bstr("IDtm_Test()").get(), Bstr("again").get(), 38400, 2), S_OK);
    EXPECT_EQ(monitor->lines.size(), shown);
    EXPECT_TRUE(contains(monitor->lines.back().first, "SetLanguage")) << monitor->lines.back().first;
}

TEST_F(DtmThroughComTest, BadValueIsTypeMismatchWithErrorInfo)
{
    const auto access = dtmAs<IZeb2hartTestAccess>();
    com::ScopedVariant bad(fdt::Variant("many"));
    EXPECT_EQ(access->SetProperty(Bstr("PersistentWarmstartDelay").get(), bad.value()), DISP_E_TYPEMISMATCH);
    const std::string description = errorDescription();
    EXPECT_FALSE(description.empty());
    EXPECT_EQ(dtmAs<ISupportErrorInfo>()->InterfaceSupportsErrorInfo(IID_IZeb2hartTestAccess), S_OK);

    // Through IDispatch the same failure is an exception with the same text.
    LPOLESTR name = const_cast<LPOLESTR>(L"SetProperty");
    DISPID id = 0;
    ASSERT_EQ(access->GetIDsOfNames(IID_NULL, &name, 1, 0, &id), S_OK);
    com::ScopedVariant key(fdt::Variant("PersistentWarmstartDelay"));
    VARIANT arguments[] = {bad.value(), key.value()}; // last argument first
    DISPPARAMS parameters{arguments, nullptr, 2, 0};
    EXCEPINFO exception{};
    EXPECT_EQ(access->Invoke(id, IID_NULL, 0, DISPATCH_METHOD, &parameters, nullptr, &exception, nullptr),
              DISP_E_EXCEPTION);
    EXPECT_EQ(exception.scode, DISP_E_TYPEMISMATCH);
    EXPECT_EQ(take(exception.bstrDescription), description);
    SysFreeString(exception.bstrSource);
    SysFreeString(exception.bstrHelpFile);
}

TEST_F(DtmThroughComTest, ChannelCollectionCountItemAndEnumeration)
{
    ComPtr<IFdtChannelCollection> channels;
    ASSERT_EQ(dtmAs<IDtmChannel>()->GetChannels(channels.GetAddressOf()), S_OK);
    LONG count = 0;
    ASSERT_EQ(channels->get_Count(&count), S_OK);
    EXPECT_EQ(count, 1);
    const ComPtr<IUnknown> identity = dtmAs<IUnknown>(); // the channel is the DTM itself

    struct Case {
        fdt::Variant index;
        HRESULT result;
    };
    const Case cases[] = {
        {std::int32_t{1}, S_OK}, {std::int16_t{1}, S_OK}, {1.0, S_OK}, {"HARTChannel1", S_OK},
        {std::int32_t{2}, DISP_E_BADINDEX}, {"HARTChannel2", DISP_E_BADINDEX}, {fdt::Date{1.0}, DISP_E_TYPEMISMATCH},
    };
    for (const Case& c : cases) {
        com::ScopedVariant index(c.index);
        ComPtr<::IFdtChannel> item;
        EXPECT_EQ(channels->get_Item(index.get(), item.GetAddressOf()), c.result);
        ComPtr<IUnknown> itemIdentity;
        if (SUCCEEDED(c.result)) {
            ASSERT_EQ(item.As(&itemIdentity), S_OK);
            EXPECT_EQ(itemIdentity, identity);
        }
    }

    ComPtr<IUnknown> unknown;
    ComPtr<IEnumVARIANT> enumerator;
    ASSERT_EQ(channels->get__NewEnum(unknown.GetAddressOf()), S_OK);
    ASSERT_EQ(unknown.As(&enumerator), S_OK);
    VARIANT items[2];
    ULONG fetched = 0;
    EXPECT_EQ(enumerator->Next(2, items, &fetched), S_FALSE);
    ASSERT_EQ(fetched, 1u);
    ASSERT_EQ(items[0].vt, VT_DISPATCH);
    ComPtr<IUnknown> enumerated;
    EXPECT_EQ(items[0].pdispVal->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(enumerated.GetAddressOf())), S_OK);
    EXPECT_EQ(enumerated, identity);
    VariantClear(&items[0]);
}

TEST_F(DtmThroughComTest, CppFrameReachesTheComDtmThroughProxies)
{
    {
        const fdt::ObjectPtr object = com::Peer::wrap(dtm.Get());
        ASSERT_TRUE(fdt::require<fdt::IDtm>(object)->Environment("GW1", frame));
        EXPECT_TRUE(contains(fdt::require<fdt::IDtmInformation>(object)->GetInformation(), "<DtmInfo"));
        const auto channels = fdt::require<fdt::IDtmChannel>(object)->GetChannels();
        ASSERT_EQ(channels->Count(), 1);
        EXPECT_EQ(fdt::require<fdt::IFdtChannel>(channels->Item("HARTChannel1"))->GetChannelPath(),
                  fdt::require<fdt::IFdtChannel>(object)->GetChannelPath());
        EXPECT_THROW(channels->Item(7), fdt::NotFoundError);
        EXPECT_EQ(fdt::query<fdt::IFdtContainer>(object), nullptr);
    }
    // Every answer a proxy took holds one reference: with the frame's last one gone, the DTM
    // is gone, and with it its hold on the frame's objects.
    dtm.Reset();
    EXPECT_EQ(dll().call("DllCanUnloadNow"), S_OK);
    EXPECT_TRUE(com::Module::canUnload());
}

TEST_F(DtmThroughComTest, PropertiesSurviveSaveAndLoadThroughThePropertyBag)
{
    start();
    com::ScopedVariant deviceId(fdt::Variant("00A1B2"));
    ASSERT_EQ(dtmAs<IZeb2hartTestAccess>()->SetProperty(Bstr("PersistentDeviceID").get(), deviceId.value()), S_OK);
    const auto bag = std::make_shared<platform::MemoryPropertyBag>();
    ASSERT_EQ(dtmAs<IPersistPropertyBag>()->Save(com::PropertyBagStub::create(bag).Get(), TRUE, TRUE), S_OK);
    EXPECT_EQ(bag->entries().size(), core::PersistentProperty::all().size());

    const ComPtr<IDtm> second = create();
    ComPtr<IPersistPropertyBag> persist;
    ASSERT_EQ(second.As(&persist), S_OK);
    CLSID clsid{};
    EXPECT_EQ(persist->GetClassID(&clsid), S_OK);
    EXPECT_EQ(clsid, CLSID_DTMMain);
    ASSERT_EQ(persist->Load(com::PropertyBagStub::create(bag).Get(), nullptr), S_OK);
    ComPtr<IZeb2hartTestAccess> access;
    ASSERT_EQ(second.As(&access), S_OK);
    com::ScopedVariant loaded;
    ASSERT_EQ(access->GetProperty(Bstr("PersistentDeviceID").get(), loaded.get()), S_OK);
    EXPECT_EQ(com::fromVariant(loaded.value()), fdt::Variant("00A1B2"));
}

using Bytes = std::vector<std::uint8_t>;

// A stream in memory holding `bytes`, at its start.
ComPtr<IStream> memoryStream(const Bytes& bytes)
{
    ComPtr<IStream> stream;
    EXPECT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, stream.GetAddressOf()), S_OK);
    if (!bytes.empty()) {
        EXPECT_EQ(stream->Write(bytes.data(), static_cast<ULONG>(bytes.size()), nullptr), S_OK);
    }
    EXPECT_EQ(stream->Seek(LARGE_INTEGER{}, STREAM_SEEK_SET, nullptr), S_OK);
    return stream;
}

// What a stream holds from its start to its current place.
Bytes writtenTo(IStream& stream)
{
    ULARGE_INTEGER end{};
    EXPECT_EQ(stream.Seek(LARGE_INTEGER{}, STREAM_SEEK_CUR, &end), S_OK);
    EXPECT_EQ(stream.Seek(LARGE_INTEGER{}, STREAM_SEEK_SET, nullptr), S_OK);
    Bytes bytes(static_cast<std::size_t>(end.QuadPart));
    ULONG read = 0;
    EXPECT_EQ(stream.Read(bytes.data(), static_cast<ULONG>(bytes.size()), &read), S_OK);
    EXPECT_EQ(read, bytes.size());
    return bytes;
}


TEST_F(DtmThroughComTest, PropertiesSurviveSaveAndLoadThroughTheStream)
{
    const auto persist = dtmAs<IPersistStreamInit>();
    ASSERT_EQ(persist->InitNew(), S_OK);
    EXPECT_EQ(persist->IsDirty(), S_OK);
    setProperty(*dtm.Get(), "PersistentDeviceID", "00A1B2");
    ULARGE_INTEGER sizeMax{};
    ASSERT_EQ(persist->GetSizeMax(&sizeMax), S_OK);
    const ComPtr<IStream> stream = memoryStream({});
    ASSERT_EQ(persist->Save(stream.Get(), FALSE), S_OK);
    EXPECT_EQ(persist->IsDirty(), S_OK);
    ASSERT_EQ(persist->Save(memoryStream({}).Get(), TRUE), S_OK);
    EXPECT_EQ(persist->IsDirty(), S_FALSE);
    // A save through the property bag keeps the dirty state or clears it as asked, too.
    setProperty(*dtm.Get(), "PersistentDeviceID", "00A1B3");
    const auto bagPersist = dtmAs<IPersistPropertyBag>();
    const auto bag = com::PropertyBagStub::create(std::make_shared<platform::MemoryPropertyBag>());
    ASSERT_EQ(bagPersist->Save(bag.Get(), FALSE, TRUE), S_OK);
    EXPECT_EQ(persist->IsDirty(), S_OK);
    ASSERT_EQ(bagPersist->Save(bag.Get(), TRUE, TRUE), S_OK);
    EXPECT_EQ(persist->IsDirty(), S_FALSE);
    setProperty(*dtm.Get(), "PersistentDeviceID", "00A1B2");
    const Bytes bytes = writtenTo(*stream.Get());
    EXPECT_LE(bytes.size(), sizeMax.QuadPart);

    const ComPtr<IDtm> second = create();
    ComPtr<IPersistStreamInit> loaded;
    ASSERT_EQ(second.As(&loaded), S_OK);
    CLSID clsid{};
    EXPECT_EQ(loaded->GetClassID(&clsid), S_OK);
    EXPECT_EQ(clsid, CLSID_DTMMain);
    ASSERT_EQ(loaded->Load(memoryStream(bytes).Get()), S_OK);
    EXPECT_EQ(loaded->IsDirty(), S_FALSE);
    EXPECT_EQ(property(*second.Get(), "PersistentDeviceID"), fdt::Variant("00A1B2"));

    // Pointers from the frame: none is an error with its text.
    EXPECT_EQ(loaded->Load(nullptr), E_POINTER);
    EXPECT_FALSE(errorDescription().empty());
    EXPECT_EQ(loaded->Save(nullptr, TRUE), E_POINTER);
    EXPECT_FALSE(errorDescription().empty());
    EXPECT_EQ(loaded->GetSizeMax(nullptr), E_POINTER);
    EXPECT_FALSE(errorDescription().empty());
    EXPECT_EQ(loaded->GetClassID(nullptr), E_POINTER);
    EXPECT_FALSE(errorDescription().empty());
}

TEST_F(DtmThroughComTest, ABadStreamFailsWithErrorInfoAndLeavesTheInstanceAsItWas)
{
    const auto persist = dtmAs<IPersistStreamInit>();
    ASSERT_EQ(persist->InitNew(), S_OK);
    const ComPtr<IStream> saved = memoryStream({});
    ASSERT_EQ(persist->Save(saved.Get(), TRUE), S_OK);
    const Bytes good = writtenTo(*saved.Get());
    setProperty(*dtm.Get(), "PersistentWarmstartDelay", std::int16_t{9}); // unlike the stream, and dirty

    const std::string delayKey = "PersistentWarmstartDelay";
    const auto delayType = std::search(good.begin(), good.end(), delayKey.begin(), delayKey.end()) - good.begin() +
                           static_cast<std::ptrdiff_t>(delayKey.size());
    struct Case {
        const char* name;
        std::function<void(Bytes&)> spoil;
        HRESULT result;
        const char* message;
    };
    const Case cases[] = {
        {"truncated", [](Bytes& b) { b.resize(b.size() - 1); }, STG_E_ACCESSDENIED, "is truncated"},
        {"another class", [](Bytes& b) { b[8] ^= 1; }, STG_E_ACCESSDENIED, "belongs to another class"},
        {"later version", [](Bytes& b) { b[24] = 2; }, STG_E_ACCESSDENIED, "format version 2"},
        {"wrong type", [&](Bytes& b) { b[delayType] = 11; }, DISP_E_TYPEMISMATCH, "PersistentWarmstartDelay as variant type 11"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Bytes bytes = good;
        c.spoil(bytes);
        EXPECT_EQ(persist->Load(memoryStream(bytes).Get()), c.result);
        EXPECT_NE(errorDescription().find(c.message), std::string::npos);
        EXPECT_EQ(property(*dtm.Get(), "PersistentWarmstartDelay"), fdt::Variant(std::int16_t{9}));
        EXPECT_EQ(persist->IsDirty(), S_OK);
    }
}

// A stream the 64-bit DLL saved: both DLLs write these bytes today and load them.
TEST_F(DtmThroughComTest, TheStreamIsTheSameForBothArchitectures)
{
    std::ifstream in(ZEB2HART_SOURCE_DIR "/tests/com/data/saved-by-x86_64.stream", std::ios::binary);
    const Bytes file{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    ASSERT_FALSE(file.empty());
    const std::pair<const char*, fdt::Variant> values[] = {
        {"PresistentTrace", "Sp\xC3\xA4t"},
        {"PersistentHARTProtocolFilter", true},
        {"PersistentWarmstartDelay", std::int16_t{-7}},
        {"PersistentDeviceList", "VRA520,VRA540"},
    };
    for (const auto& [name, value] : values)
        setProperty(*dtm.Get(), name, value);
    const ComPtr<IStream> stream = memoryStream({});
    ASSERT_EQ(dtmAs<IPersistStreamInit>()->Save(stream.Get(), TRUE), S_OK);
    EXPECT_EQ(writtenTo(*stream.Get()), file);

    const ComPtr<IDtm> second = create();
    ComPtr<IPersistStreamInit> loaded;
    ASSERT_EQ(second.As(&loaded), S_OK);
    ASSERT_EQ(loaded->Load(memoryStream(file).Get()), S_OK);
    for (const auto& [name, value] : values)
        EXPECT_EQ(property(*second.Get(), name), value) << name;
}

} // namespace
} // namespace zeb2hart::test
