// What a hostile frame may hand the DTM: property-bag values that point
// nowhere or nest without end, a schema folder path with a NUL, IDispatch
// calls for another interface or with parameters that do not hold what their
// counts say, and peers that fail while an earlier call's error info is still
// on the thread. Each is refused with an HRESULT (or an exception that does
// not lie about the failure), and the ordinary call after it is answered.

#include <string_view>

#include "DtmThroughCom.h"
#include "com/ErrorMapping.h"
#include "com/Peer.h"
#include "com/PropertyBagStub.h"
#include "com/ScopedVariant.h"
#include "com/SimpleObject.h"
#include "core/Pages.h"
#include "fakes/FakePages.h"

namespace zeb2hart::test {
namespace {

using com::Bstr;
using com::ComPtr;

constexpr std::wstring_view kHostileKey = L"PersistentDeviceID";

// A frame's bag that answers one key with a hostile value (which the reader
// then owns, as IPropertyBag::Read hands it over) and every other key from
// the bag it wraps.
class HostileBag final : public com::SimpleObject<IPropertyBag> {
public:
    using Value = void (*)(VARIANT& value);
    static ComPtr<IPropertyBag> create(ComPtr<IPropertyBag> saved, Value hostile)
    {
        return new HostileBag(std::move(saved), hostile);
    }
    HRESULT STDMETHODCALLTYPE Read(LPCOLESTR name, VARIANT* value, IErrorLog* errorLog) override
    {
        if (!name || std::wstring_view(name) != kHostileKey)
            return m_saved->Read(name, value, errorLog);
        m_hostile(*value);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Write(LPCOLESTR, VARIANT*) override { return E_NOTIMPL; }

private:
    HostileBag(ComPtr<IPropertyBag> saved, Value hostile) : m_saved(std::move(saved)), m_hostile(hostile) {}

    ComPtr<IPropertyBag> m_saved;
    Value m_hostile;
};

// An array of VARIANTs `depth` arrays deep around an empty one.
void nestArrays(VARIANT& value, int depth)
{
    VariantInit(&value);
    for (int level = 0; level < depth; ++level) {
        SAFEARRAY* array = SafeArrayCreateVector(VT_VARIANT, 0, 1);
        static_cast<VARIANT*>(array->pvData)[0] = value;
        value.vt = VT_ARRAY | VT_VARIANT;
        value.parray = array;
    }
}

using HostileCallsTest = DtmThroughComTest;

TEST_F(HostileCallsTest, HostilePropertyBagValuesAreRefusedAndTheNextLoadWorks)
{
    struct Case {
        const char* name;
        HostileBag::Value value;
    };
    const Case cases[] = {
        {"a VARIANT by reference to nothing", [](VARIANT& v) { v.vt = VT_BYREF | VT_VARIANT, v.pvarVal = nullptr; }},
        {"a BSTR by reference to nothing", [](VARIANT& v) { v.vt = VT_BYREF | VT_BSTR, v.pbstrVal = nullptr; }},
        {"a VARIANT by reference to itself", [](VARIANT& v) { v.vt = VT_BYREF | VT_VARIANT, v.pvarVal = &v; }},
        {"arrays of VARIANTs nested 10,000 deep", [](VARIANT& v) { nestArrays(v, 10'000); }},
    };
    start();
    setProperty(*dtm.Get(), "PersistentDeviceID", fdt::Variant("00A1B2"));
    const auto persist = dtmAs<IPersistPropertyBag>();
    const auto saved = std::make_shared<platform::MemoryPropertyBag>();
    ASSERT_EQ(persist->Save(com::PropertyBagStub::create(saved).Get(), TRUE, TRUE), S_OK);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        setProperty(*dtm.Get(), "PersistentDeviceID", fdt::Variant("FFFFFF"));
        EXPECT_EQ(persist->Load(HostileBag::create(com::PropertyBagStub::create(saved), c.value).Get(), nullptr),
                  DISP_E_TYPEMISMATCH);
        ASSERT_EQ(persist->Load(com::PropertyBagStub::create(saved).Get(), nullptr), S_OK);
        EXPECT_EQ(property(*dtm.Get(), "PersistentDeviceID"), fdt::Variant("00A1B2"));
        const auto again = std::make_shared<platform::MemoryPropertyBag>();
        ASSERT_EQ(persist->Save(com::PropertyBagStub::create(again).Get(), TRUE, TRUE), S_OK);
        EXPECT_EQ(again->entries(), saved->entries());
    }
}

TEST_F(HostileCallsTest, ASchemaFolderPathWithANulIsRefusedAsAMissingFolderIs)
{
    const std::string folders[] = {
        frameSchemaDir().string() + "-missing",
        frameSchemaDir().string() + std::string("\0-other", 7),
    };
    for (const std::string& folder : folders) {
        SCOPED_TRACE(folder);
        dtm = create();
        frame->answers->xmlSchemaPath = folder;
        VARIANT_BOOL ok = VARIANT_FALSE;
        EXPECT_EQ(dtm->Environment(Bstr("GW1").get(), com::ComObject::as<::IFdtContainer>(frame).Get(), &ok),
                  STG_E_ACCESSDENIED);
        // The tag and the container were taken before the folder was asked for.
        EXPECT_EQ(property(*dtm.Get(), "systemTag"), fdt::Variant("GW1"));
        BSTR functions = nullptr;
        ASSERT_EQ(dtm->GetFunctions(Bstr("").get(), &functions), S_OK);
        EXPECT_NE(take(functions).find("<FDT"), std::string::npos);
    }
}

TEST_F(HostileCallsTest, MalformedDispatchCallsAreRefusedAndTheNextCallIsAnswered)
{
    struct Case {
        const char* name;
        HRESULT expected;
        HRESULT (*call)(IDispatch& dispatch, DISPID getFunctions, VARIANT& argument);
    };
    const Case cases[] = {
        {"names asked for another interface", DISP_E_UNKNOWNINTERFACE,
         [](IDispatch& d, DISPID, VARIANT&) {
             LPOLESTR name = const_cast<LPOLESTR>(L"GetFunctions");
             DISPID id = 0;
             return d.GetIDsOfNames(IID_IDtm, &name, 1, 0, &id);
         }},
        {"a call for another interface", DISP_E_UNKNOWNINTERFACE,
         [](IDispatch& d, DISPID id, VARIANT& a) {
             DISPPARAMS parameters{&a, nullptr, 1, 0};
             return d.Invoke(id, IID_IDtm, 0, DISPATCH_METHOD, &parameters, nullptr, nullptr, nullptr);
         }},
        {"a named argument without its DISPID", E_INVALIDARG,
         [](IDispatch& d, DISPID id, VARIANT& a) {
             DISPPARAMS parameters{&a, nullptr, 1, 1};
             return d.Invoke(id, IID_NULL, 0, DISPATCH_METHOD, &parameters, nullptr, nullptr, nullptr);
         }},
        {"an argument count without arguments", E_INVALIDARG,
         [](IDispatch& d, DISPID id, VARIANT&) {
             DISPPARAMS parameters{nullptr, nullptr, 1, 0};
             return d.Invoke(id, IID_NULL, 0, DISPATCH_METHOD, &parameters, nullptr, nullptr, nullptr);
         }},
        {"no parameters", E_INVALIDARG,
         [](IDispatch& d, DISPID id, VARIANT&) {
             return d.Invoke(id, IID_NULL, 0, DISPATCH_METHOD, nullptr, nullptr, nullptr, nullptr);
         }},
        {"a text argument by reference to nothing", DISP_E_TYPEMISMATCH,
         [](IDispatch& d, DISPID id, VARIANT&) {
             VARIANT nowhere{};
             nowhere.vt = VT_BYREF | VT_BSTR, nowhere.pbstrVal = nullptr;
             DISPPARAMS parameters{&nowhere, nullptr, 1, 0};
             UINT argumentError = 7;
             const HRESULT result =
                 d.Invoke(id, IID_NULL, 0, DISPATCH_METHOD, &parameters, nullptr, nullptr, &argumentError);
             EXPECT_EQ(argumentError, 0u);
             return result;
         }},
    };
    start();
    ComPtr<IDispatch> dispatch;
    ASSERT_EQ(dtm.As(&dispatch), S_OK);
    LPOLESTR name = const_cast<LPOLESTR>(L"GetFunctions");
    DISPID id = 0;
    ASSERT_EQ(dispatch->GetIDsOfNames(IID_NULL, &name, 1, 0, &id), S_OK);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        com::ScopedVariant argument{fdt::Variant("")}, result;
        EXPECT_EQ(c.call(*dispatch.Get(), id, *argument.get()), c.expected);
        DISPPARAMS parameters{argument.get(), nullptr, 1, 0};
        ASSERT_EQ(dispatch->Invoke(id, IID_NULL, 0, DISPATCH_METHOD, &parameters, result.get(), nullptr, nullptr),
                  S_OK);
        ASSERT_EQ(result.value().vt, VT_BSTR);
        EXPECT_NE(com::fromBstr(result.value().bstrVal).find("<FDT"), std::string::npos);
    }
}

// A frame's page whose UpdateLanguage fails. One that `describes` its failure
// sets error info and says so through ISupportErrorInfo; the other leaves none
// and has no ISupportErrorInfo.
class FailingPage final : public IZeb2hartActiveXGUI, public ISupportErrorInfo {
public:
    static ComPtr<IZeb2hartActiveXGUI> create(bool describes) { return new FailingPage(describes); }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** result) override
    {
        *result = nullptr;
        if (iid == IID_IUnknown || iid == IID_IZeb2hartActiveXGUI)
            *result = static_cast<IZeb2hartActiveXGUI*>(this);
        else if (iid == IID_ISupportErrorInfo && m_describes)
            *result = static_cast<ISupportErrorInfo*>(this);
        else
            return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_references; }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const ULONG left = --m_references;
        if (left == 0)
            delete this;
        return left;
    }
    HRESULT STDMETHODCALLTYPE UpdateLanguage() override
    {
        return m_describes ? com::reportFailure(E_FAIL, "the page's own reason", IID_IZeb2hartActiveXGUI) : E_FAIL;
    }
    HRESULT STDMETHODCALLTYPE InterfaceSupportsErrorInfo(REFIID iid) override
    {
        return iid == IID_IZeb2hartActiveXGUI ? S_OK : S_FALSE;
    }

private:
    explicit FailingPage(bool describes) : m_describes(describes) {}

    bool m_describes;
    ULONG m_references = 0;
};

using StaleErrorInfoTest = ComTest;

TEST_F(StaleErrorInfoTest, APeersFailureIsDescribedOnlyByWhatThePeerLeft)
{
    struct Case {
        bool describes;
        const char* reason;
    };
    const Case cases[] = {
        {false, "COM call failed with 0x80004005"},
        {true, "the page's own reason"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reason);
        const ComPtr<IZeb2hartActiveXGUI> page = FailingPage::create(c.describes);
        const auto proxy = com::Peer::wrapAs<core::IActiveXGUI>(page.Get());
        com::reportFailure(E_FAIL, "an earlier call's reason", IID_IDtm);
        try {
            proxy->UpdateLanguage();
            ADD_FAILURE() << "the page's failure did not arrive";
        } catch (const fdt::Error& error) {
            EXPECT_STREQ(error.what(), c.reason);
        }
    }
}

} // namespace
} // namespace zeb2hart::test
