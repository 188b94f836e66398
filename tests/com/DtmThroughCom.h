#pragma once
// The fixture of the tests that meet the DTM as a frame does: the built DLL
// registered for the suite, a DTM created from its ProgID by CoCreateInstance,
// and the shared fakes' frame as its COM container. Used on the test's thread.

#include <memory>
#include <string>

#include "ComTestSupport.h"
#include "com/ComObject.h"
#include "com/ScopedVariant.h"
#include "FakeFrame.h"
#include "fakes/FdtDocuments.h"
#include "fakes/TestEnvironment.h"

namespace zeb2hart::test {

// A frame's call of one DTM function.
inline std::string functionCall(const std::string& functionId)
{
    return R"(<FDT xmlns="x-schema:FDTFunctionCallSchema.xml" xmlns:func="x-schema:FDTFunctionCallSchema.xml">)"
           R"(<FDTFunctionCall func:functionId=")" + functionId + R"("/></FDT>)";
}

// The DTM's state by name (IZeb2hartTestAccess), read and set.
inline fdt::Variant property(IUnknown& dtm, const char* name)
{
    com::ComPtr<IZeb2hartTestAccess> access;
    EXPECT_EQ(dtm.QueryInterface(IID_IZeb2hartTestAccess, reinterpret_cast<void**>(access.GetAddressOf())), S_OK);
    com::ScopedVariant value;
    EXPECT_EQ(access->GetProperty(com::Bstr(name).get(), value.get()), S_OK);
    return com::fromVariant(value.value());
}

inline void setProperty(IUnknown& dtm, const char* name, const fdt::Variant& value)
{
    com::ComPtr<IZeb2hartTestAccess> access;
    ASSERT_EQ(dtm.QueryInterface(IID_IZeb2hartTestAccess, reinterpret_cast<void**>(access.GetAddressOf())), S_OK);
    com::ScopedVariant variant(value);
    ASSERT_EQ(access->SetProperty(com::Bstr(name).get(), variant.value()), S_OK);
}

class DtmThroughComTest : public ComTest {
public:
    // A DTM from the ProgID, on the calling thread's apartment.
    static com::ComPtr<IDtm> create()
    {
        CLSID clsid{};
        com::ComPtr<IDtm> result;
        EXPECT_EQ(CLSIDFromProgID(L"ZEB2HARTGateway.DTMMain", &clsid), S_OK);
        EXPECT_EQ(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDtm,
                                   reinterpret_cast<void**>(result.GetAddressOf())),
                  S_OK);
        return result;
    }

protected:
    static void SetUpTestSuite() { ASSERT_EQ(dll().call("DllRegisterServer"), S_OK); }
    static void TearDownTestSuite() { EXPECT_EQ(dll().call("DllUnregisterServer"), S_OK); }
    static GatewayDll& dll()
    {
        static GatewayDll loaded;
        return loaded;
    }

    void SetUp() override
    {
        frame->answers->xmlSchemaPath = frameSchemaDir().string();
        dtm = create();
        ASSERT_TRUE(dtm);
    }

    // The class object's hook for a test frame's services.
    static com::ComPtr<IZeb2hartTestServices> testServices()
    {
        CLSID clsid{};
        com::ComPtr<IZeb2hartTestServices> services;
        EXPECT_EQ(CLSIDFromProgID(L"ZEB2HARTGateway.DTMMain", &clsid), S_OK);
        EXPECT_EQ(CoGetClassObject(clsid, CLSCTX_INPROC_SERVER, nullptr, IID_IZeb2hartTestServices,
                                   reinterpret_cast<void**>(services.GetAddressOf())),
                  S_OK);
        return services;
    }

    template <class I>
    com::ComPtr<I> dtmAs() const
    {
        com::ComPtr<I> result;
        EXPECT_EQ(dtm.As(&result), S_OK);
        return result;
    }

    // Environment with the COM frame, new properties, InitNew.
    void start()
    {
        VARIANT_BOOL ok = VARIANT_FALSE;
        const com::ComPtr<::IFdtContainer> container = com::ComObject::as<::IFdtContainer>(frame);
        ASSERT_EQ(dtm->Environment(com::Bstr("GW1").get(), container.Get(), &ok), S_OK);
        ASSERT_EQ(ok, VARIANT_TRUE);
        ASSERT_EQ(dtmAs<IPersistPropertyBag>()->InitNew(), S_OK);
        ASSERT_EQ(dtm->InitNew(com::Bstr(gatewayDeviceType()).get(), &ok), S_OK);
        ASSERT_EQ(ok, VARIANT_TRUE);
    }

    std::shared_ptr<fakes::FakeFrame> frame = std::make_shared<fakes::FakeFrame>();
    com::ComPtr<IDtm> dtm;
};

} // namespace zeb2hart::test
