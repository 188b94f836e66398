#include "host/win32/ComDtm.h"

#include <memory>

#include "com/Bstr.h"
#include "com/ComObject.h"
#include "com/ComValue.h"
#include "com/ErrorMapping.h"
#include "com/FrameServicesStub.h"
#include "com/Peer.h"
#include "com/PropertyBagStub.h"
#include "com/ReportsStub.h"
#include "com/ScopedVariant.h"
#include "core/Pages.h"
#include "host/ComponentHost.h"

namespace zeb2hart::frame {

namespace {

using com::Bstr;
using com::checkResult;
using com::ComPtr;

// A bag the frame owns for the length of one call, lent as IPropertyBag.
class BorrowedBag final : public platform::PropertyBag {
public:
    explicit BorrowedBag(platform::PropertyBag& bag) : m_bag(bag) {}
    fdt::Variant read(const std::string& key, const fdt::Variant& fallback) override { return m_bag.read(key, fallback); }
    void write(const std::string& key, const fdt::Variant& value) override { m_bag.write(key, value); }

private:
    platform::PropertyBag& m_bag;
};

template <class T, class F>
T ask(F&& method)
{
    typename com::ComValue<T>::Type result{};
    checkResult(method(&result));
    return com::ComValue<T>::take(result);
}

} // namespace

ComDtm::ComDtm(const platform::Services& frameServices)
{
    CLSID clsid{};
    if (FAILED(CLSIDFromProgID(com::widen(core::kProgIdDtm).c_str(), &clsid)))
        throw HostError(std::string("the class ") + core::kProgIdDtm + " is not registered (regsvr32 ZEB2HARTGateway.dll)");
    ComPtr<IClassFactory> factory;
    HRESULT status = CoGetClassObject(clsid, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory,
                                      reinterpret_cast<void**>(factory.GetAddressOf()));
    if (FAILED(status))
        throw HostError(std::string("the class ") + core::kProgIdDtm + " could not be loaded (" +
                        com::hresultText(status) + ")");
    if (FAILED(factory.As(&m_services)))
        throw HostError(std::string("the class ") + core::kProgIdDtm + " offers no test services (a test build of "
                                                                       "ZEB2HARTGateway.dll is needed)");
    checkResult(m_services->UseFrameServices(Bstr(frameServices.componentFolder.string()).get(),
                                             com::FrameServicesStub::create(frameServices).Get()));
    status = factory->CreateInstance(nullptr, IID_IUnknown, reinterpret_cast<void**>(m_dtm.GetAddressOf()));
    if (FAILED(status))
        throw HostError(std::string("the class ") + core::kProgIdDtm + " could not be created (" +
                        com::hresultText(status) + ")");
    checkResult(m_dtm.As(&m_access));
    m_object = com::Peer::wrap(m_dtm.Get());
}

ComDtm::~ComDtm()
{
    if (m_access)
        m_access->Report(nullptr);
    m_object.reset();
    m_access.Reset();
    m_dtm.Reset();
    m_services->UseFrameServices(nullptr, nullptr);
}

IZeb2hartTestAccess& ComDtm::access() const
{
    if (!m_access)
        throw fdt::NullObjectError("the DTM has been released");
    return *m_access.Get();
}

bool ComDtm::release()
{
    m_object.reset();
    m_access.Reset();
    // The frame's last reference: COM answers the references left.
    IUnknown* last = m_dtm.Detach();
    return last && last->Release() == 0;
}

void ComDtm::report(DtmReports reports)
{
    if (!reports.monitor && !reports.propertyChanged) {
        checkResult(access().Report(nullptr));
        return;
    }
    checkResult(access().Report(
        com::ReportsStub::create(std::move(reports.monitor), std::move(reports.propertyChanged)).Get()));
}

void ComDtm::initNewProperties()
{
    checkResult(ComObjectAs<IPersistPropertyBag>()->InitNew());
}
