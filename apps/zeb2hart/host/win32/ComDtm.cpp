#include "host/win32/ComDtm.h"

#include <memory>
#include <optional>

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
#include "host/win32/ErrorInfoHook.h"
#include "platform/win32/WindowsApi.h"

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

// Calls `method` with the place for its [out, retval] value and answers that value as T.
template <class T, class F>
T ask(F&& method)
{
    typename com::ComValue<T>::Type result{};
    checkResult(method(&result));
    return com::ComValue<T>::take(result);
}

std::string failure(const char* what, HRESULT status)
{
    return std::string("the class ") + core::kProgIdDtm + " " + what + " (" + com::hresultText(status) + ")";
}

} // namespace

ComDtm::ComDtm(const platform::Services& frameServices)
{
    installErrorInfoHook();
    CLSID clsid{};
    HRESULT status = CLSIDFromProgID(platform::toWide(core::kProgIdDtm).c_str(), &clsid);
    if (FAILED(status))
        throw HostError(failure("is not registered (regsvr32 ZEB2HARTGateway.dll)", status));
    ComPtr<IClassFactory> factory;
    status = CoGetClassObject(clsid, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory,
                              reinterpret_cast<void**>(factory.GetAddressOf()));
    if (FAILED(status))
        throw HostError(failure("could not be loaded", status));
    status = factory.As(&m_services);
    if (FAILED(status))
        throw HostError(failure("offers no test services", status));
    // The frame stand-in always shows the DTM's pages, headless or real ones.
    checkResult(m_services->UseFrameServices(Bstr(frameServices.componentFolder.string()).get(),
                                             com::FrameServicesStub::create(frameServices).Get(), VARIANT_TRUE));
    status = factory->CreateInstance(nullptr, IID_IUnknown, reinterpret_cast<void**>(m_dtm.GetAddressOf()));
    if (FAILED(status))
        throw HostError(failure("could not be created", status));
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
    if (m_services)
        m_services->UseFrameServices(nullptr, nullptr, VARIANT_FALSE);
}

IZeb2hartTestAccess& ComDtm::access() const
{
    if (!m_access)
        throw fdt::NullObjectError("the DTM has been released");
    return *m_access.Get();
}

ComPtr<IPersistPropertyBag> ComDtm::persistence() const
{
    access();
    ComPtr<IPersistPropertyBag> result;
    checkResult(m_dtm.As(&result));
    return result;
}

ComPtr<IPersistStreamInit> ComDtm::streamPersistence() const
{
    access();
    ComPtr<IPersistStreamInit> result;
    checkResult(m_dtm.As(&result));
    return result;
}

bool ComDtm::release()
{
    m_object.reset();
    m_access.Reset();
    // The frame's last reference: Release answers how many are left.
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
    checkResult(persistence()->InitNew());
}

void ComDtm::loadProperties(platform::PropertyBag& bag)
{
    checkResult(persistence()->Load(com::PropertyBagStub::create(std::make_shared<BorrowedBag>(bag)).Get(), nullptr));
}

void ComDtm::saveProperties(platform::PropertyBag& bag)
{
    checkResult(persistence()->Save(com::PropertyBagStub::create(std::make_shared<BorrowedBag>(bag)).Get(), TRUE, TRUE));
}

std::vector<std::uint8_t> ComDtm::saveStream()
{
    ComPtr<IStream> stream;
    checkResult(CreateStreamOnHGlobal(nullptr, TRUE, stream.GetAddressOf()));
    checkResult(streamPersistence()->Save(stream.Get(), TRUE));
    // What the DTM wrote: from the start to where it left the stream.
    ULARGE_INTEGER end{};
    checkResult(stream->Seek(LARGE_INTEGER{}, STREAM_SEEK_CUR, &end));
    checkResult(stream->Seek(LARGE_INTEGER{}, STREAM_SEEK_SET, nullptr));
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(end.QuadPart));
    ULONG read = 0;
    checkResult(stream->Read(bytes.data(), static_cast<ULONG>(bytes.size()), &read));
    bytes.resize(read);
    return bytes;
}

void ComDtm::loadStream(std::span<const std::uint8_t> bytes)
{
    ComPtr<IStream> stream;
    checkResult(CreateStreamOnHGlobal(nullptr, TRUE, stream.GetAddressOf()));
    if (!bytes.empty())
        checkResult(stream->Write(bytes.data(), static_cast<ULONG>(bytes.size()), nullptr));
    checkResult(stream->Seek(LARGE_INTEGER{}, STREAM_SEEK_SET, nullptr));
    checkResult(streamPersistence()->Load(stream.Get()));
}

std::uint64_t ComDtm::streamSizeMax()
{
    ULARGE_INTEGER size{};
    checkResult(streamPersistence()->GetSizeMax(&size));
    return size.QuadPart;
}

bool ComDtm::isDirty()
{
    const HRESULT status = streamPersistence()->IsDirty();
    checkResult(status);
    return status == S_OK;
}

fdt::Variant ComDtm::state(const std::string& name)
{
    return ask<fdt::Variant>([&](VARIANT* value) { return access().GetProperty(Bstr(name).get(), value); });
}

void ComDtm::setState(const std::string& name, const fdt::Variant& value)
{
    com::ScopedVariant variant(value);
    checkResult(access().SetProperty(Bstr(name).get(), variant.value()));
}

fdt::ObjectPtr ComDtm::GetFramePointer()
{
    return com::Peer::wrap(ask<ComPtr<IUnknown>>([&](IUnknown** frame) { return access().GetFramePointer(frame); }).Get());
}

fdt::ObjectPtr ComDtm::OnInitControl()
{
    return com::Peer::wrap(ask<ComPtr<IUnknown>>([&](IUnknown** frame) { return access().OnInitControl(frame); }).Get());
}

std::string ComDtm::counters()
{
    return ask<std::string>([&](BSTR* json) { return access().Counters(json); });
}

std::string ComDtm::xmlHelpFolder()
{
    return ask<std::string>([&](BSTR* folder) { return access().XMLHelpFolder(folder); });
}

std::string ComDtm::GetDictionaryText(const std::string& textId)
{
    return ask<std::string>([&](BSTR* text) { return access().GetDictionaryText(Bstr(textId).get(), text); });
}

void ComDtm::CtlMonitorPointer(const fdt::ObjectPtr& page)
{
    checkResult(access().CtlMonitorPointer(com::ComObject::of(page).Get()));
}

void ComDtm::CtlOfflineParamPointer(const fdt::ObjectPtr& page)
{
    checkResult(access().CtlOfflineParamPointer(com::ComObject::of(page).Get()));
}

void ComDtm::CtlAboutPointer(const fdt::ObjectPtr& page)
{
    checkResult(access().CtlAboutPointer(com::ComObject::of(page).Get()));
}

void ComDtm::PersistentParamChanged(const std::string& paramName, const std::string& newValue)
{
    checkResult(access().PersistentParamChanged(Bstr(paramName).get(), Bstr(newValue).get()));
}

void ComDtm::MonitorMsg(const std::string& functionName, const std::string& message, std::int32_t lineColor,
                        std::int16_t filter)
{
    checkResult(access().MonitorMsg(Bstr(functionName).get(), Bstr(message).get(), lineColor, filter));
}

void ComDtm::Set_Status()
{
    checkResult(access().Set_Status());
}

void ComDtm::TranslateControls(const std::string& prefix, const core::ControlList& controls)
{
    // DTMMain translates each control on its own; one call per control gives the same captions.
    for (core::Control* control : controls) {
        if (!control)
            continue;
        const std::optional<int> index = control->index();
        com::ScopedVariant position(index ? fdt::Variant(std::int32_t{*index}) : fdt::Variant());
        const fdt::Variant caption = ask<fdt::Variant>([&](VARIANT* result) {
            return access().TranslateControl(Bstr(prefix).get(), Bstr(control->name()).get(), position.value(),
                                              control->hasCaption() ? VARIANT_TRUE : VARIANT_FALSE, result);
        });
        if (caption.is<std::string>())
            control->setCaption(caption.as<std::string>());
    }
}

} // namespace zeb2hart::frame
