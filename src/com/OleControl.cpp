#include "com/OleControl.h"

#include <algorithm>
#include <cstddef>
#include <mutex>

#include "com/ErrorMapping.h"
#include "com/TypeLibrary.h"
#include "com/Values.h"
#include "core/ComponentClasses.h"
#include "fdt/Errors.h"
#include "platform/ClassRegistry.h"

namespace zeb2hart::com {

namespace {

// The page of each class the DLL serves.
struct PageClass {
    pages::PageKind kind;
    const char* progId;
};
constexpr PageClass kPageClasses[] = {
    {pages::PageKind::OfflineParam, core::kProgIdOfflineParam},
    {pages::PageKind::Monitor, core::kProgIdMonitor},
    {pages::PageKind::About, core::kProgIdAbout},
};

CLSID clsidOfProgId(const char* progId)
{
    for (const core::ComponentClass& page : core::kPageClasses) {
        if (std::string_view(page.progId) == progId)
            return toGuid(*fdt::Guid::parse(page.clsid));
    }
    throw fdt::Error(std::string("no class identifier for ") + progId);
}

// The extent of a control that no container has sized yet: 640 x 480 pixels at 96 dpi.
constexpr SIZEL kInitialExtent{16933, 12700};

// HIMETRIC (0.01 mm) from twips (1/1440 inch).
SIZEL himetricOf(const pages::TwipSize& size)
{
    return {MulDiv(size.width, 2540, 1440), MulDiv(size.height, 2540, 1440)};
}

RECT rectOf(const RECTL& rect)
{
    return {rect.left, rect.top, rect.right, rect.bottom};
}

} // namespace

std::optional<pages::PageKind> OleControl::pageKindOf(const CLSID& clsid)
{
    for (const PageClass& page : kPageClasses) {
        if (clsidOfProgId(page.progId) == clsid)
            return page.kind;
    }
    return std::nullopt;
}

CLSID OleControl::clsidOf(pages::PageKind kind)
{
    for (const PageClass& page : kPageClasses) {
        if (page.kind == kind)
            return clsidOfProgId(page.progId);
    }
    throw fdt::Error("no class for the page");
}

void OleControl::registerPageFactories()
{
    static std::once_flag registered;
    std::call_once(registered, [] {
        auto& registry = platform::ClassRegistry::instance();
        for (const PageClass& page : kPageClasses) {
            const pages::PageKind kind = page.kind;
            registry.add(page.progId, fromGuid(clsidOfProgId(page.progId)), [kind] {
                return fdt::ObjectPtr(pages::makePage(
                    kind, std::make_unique<ui::win32::Win32PageView>(pages::pageTable(kind))));
            });
        }
    });
}

ComPtr<IUnknown> OleControl::create(const CLSID& clsid)
{
    const fdt::ObjectPtr object = platform::ClassRegistry::instance().create(fromGuid(clsid));
    const std::shared_ptr<pages::Page> page = pages::pageOf(object);
    auto* view = page ? dynamic_cast<ui::win32::Win32PageView*>(&page->view()) : nullptr;
    if (!view)
        throw fdt::Error("the class makes no page with a Win32 view");
    return ComObject::ofInstance(object, [&](ComObject& owner) {
        return std::make_unique<OleControl>(owner, *view, clsid);
    });
}

OleControl::OleControl(ComObject& owner, ui::win32::Win32PageView& view, const CLSID& clsid)
    : m_owner(owner), m_view(view), m_clsid(clsid), m_extent(kInitialExtent)
{
    if (const pages::TwipSize size = m_view.pageSize(); size.width > 0 && size.height > 0)
        m_extent = himetricOf(size);
}

OleControl::~OleControl()
{
    // The last reference is gone: the window closes, and the container hears
    // nothing more (the page may live on while its DTM holds it).
    m_view.destroyWindow();
}

IUnknown* OleControl::find(const IID& iid)
{
    if (iid == IID_IOleObject)
        return static_cast<IOleObject*>(this);
    if (iid == IID_IOleWindow || iid == IID_IOleInPlaceObject)
        return static_cast<IOleInPlaceObject*>(this);
    if (iid == IID_IOleInPlaceActiveObject)
        return static_cast<IOleInPlaceActiveObject*>(this);
    if (iid == IID_IOleControl)
        return static_cast<IOleControl*>(this);
    if (iid == IID_IViewObject || iid == IID_IViewObject2)
        return static_cast<IViewObject2*>(this);
    if (iid == IID_IPersist || iid == IID_IPersistStreamInit)
        return static_cast<IPersistStreamInit*>(this);
    if (iid == IID_IPersistPropertyBag)
        return static_cast<IPersistPropertyBag*>(this);
    if (iid == IID_IQuickActivate)
        return static_cast<IQuickActivate*>(this);
    if (iid == IID_IProvideClassInfo || iid == IID_IProvideClassInfo2)
        return static_cast<IProvideClassInfo2*>(this);
    return nullptr;
}

HRESULT STDMETHODCALLTYPE OleControl::QueryInterface(REFIID iid, void** result)
{
    return m_owner.QueryInterface(iid, result);
}

ULONG STDMETHODCALLTYPE OleControl::AddRef()
{
    return m_owner.AddRef();
}

ULONG STDMETHODCALLTYPE OleControl::Release()
{
    return m_owner.Release();
}

// --- IOleObject ------------------------------------------------------------------------------

HRESULT STDMETHODCALLTYPE OleControl::SetClientSite(IOleClientSite* site)
{
    const ComObject::CallGuard alive(m_owner);
    m_clientSite = site;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE OleControl::GetClientSite(IOleClientSite** site)
{
    if (!site)
        return E_POINTER;
    *site = ComPtr<IOleClientSite>(m_clientSite).Detach();
    return S_OK;
}

HRESULT STDMETHODCALLTYPE OleControl::SetHostNames(LPCOLESTR, LPCOLESTR)
{
    return S_OK;
}

HRESULT STDMETHODCALLTYPE OleControl::Close(DWORD)
{
    const ComObject::CallGuard alive(m_owner);
    InPlaceDeactivate();
    if (m_adviseHolder)
        m_adviseHolder->SendOnClose();
    return S_OK;
}

HRESULT STDMETHODCALLTYPE OleControl::SetMoniker(DWORD, IMoniker*)
{
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE OleControl::GetMoniker(DWORD, DWORD, IMoniker** moniker)
{
    if (!moniker)
        return E_POINTER;
    *moniker = nullptr;
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE OleControl::InitFromData(IDataObject*, BOOL, DWORD)
{
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE OleControl::GetClipboardData(DWORD, IDataObject** data)
{
    if (!data)
        return E_POINTER;
    *data = nullptr;
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE OleControl::DoVerb(LONG verb, LPMSG, IOleClientSite* site, LONG, HWND, LPCRECT)
{
    const ComObject::CallGuard alive(m_owner);
    if (site && !m_clientSite)
        m_clientSite = site;
    switch (verb) {
    case OLEIVERB_PRIMARY:
    case OLEIVERB_SHOW:
    case OLEIVERB_UIACTIVATE:
        return activate(true);
    case OLEIVERB_INPLACEACTIVATE:
        return activate(false);
    case OLEIVERB_HIDE:
        UIDeactivate();
        if (HWND window = m_view.window())
            ShowWindow(window, SW_HIDE);
        return S_OK;
    case OLEIVERB_DISCARDUNDOSTATE:
        return S_OK;
    default:
        return verb < 0 ? E_NOTIMPL : OLEOBJ_S_INVALIDVERB;
    }
}

HRESULT OleControl::activate(bool uiActivate)
{
    if (!m_clientSite)
        return E_UNEXPECTED;
    if (!m_inPlaceSite) {
        ComPtr<IOleInPlaceSite> site;
        if (FAILED(m_clientSite.As(&site)))
            return E_NOINTERFACE;
        if (site->CanInPlaceActivate() != S_OK)
            return E_FAIL;
        if (const HRESULT status = site->OnInPlaceActivate(); FAILED(status))
            return status;
        m_inPlaceSite = site;
    }
    HWND parent = nullptr;
    if (FAILED(m_inPlaceSite->GetWindow(&parent)) || !parent)
        return E_FAIL;
    ComPtr<IOleInPlaceFrame> frame;
    ComPtr<IOleInPlaceUIWindow> document;
    RECT position{}, clip{};
    OLEINPLACEFRAMEINFO frameInfo{sizeof frameInfo, FALSE, nullptr, nullptr, 0};
    if (const HRESULT status = m_inPlaceSite->GetWindowContext(frame.GetAddressOf(), document.GetAddressOf(), &position,
                                                               &clip, &frameInfo);
        FAILED(status))
        return status;
    const HRESULT made = guarded(IID_IOleObject, [&] {
        if (!m_view.window() || GetParent(m_view.window()) != parent) {
            if (!m_view.createWindow(parent, position))
                throw fdt::Error("the page's window cannot be made");
        } else {
            m_view.setWindowRect(position);
        }
        ShowWindow(m_view.window(), SW_SHOWNA);
    });
    if (FAILED(made))
        return made;
    if (uiActivate && !m_uiActive) {
        m_uiActive = true;
        m_inPlaceSite->OnUIActivate();
        m_frame = frame;
        m_document = document;
        if (m_frame) {
            m_frame->SetActiveObject(this, nullptr);
            m_frame->SetBorderSpace(nullptr);
        }
        if (m_document) {
            m_document->SetActiveObject(this, nullptr);
            m_document->SetBorderSpace(nullptr);
        }
        SetFocus(m_view.window());
    }
    return S_OK;
}

HRESULT STDMETHODCALLTYPE OleControl::EnumVerbs(IEnumOLEVERB** verbs)
{
    if (!verbs)
        return E_POINTER;
    return OleRegEnumVerbs(m_clsid, verbs);
}

HRESULT STDMETHODCALLTYPE OleControl::Update()
{
    return S_OK;
}

HRESULT STDMETHODCALLTYPE OleControl::IsUpToDate()
{
    return S_OK;
}

HRESULT STDMETHODCALLTYPE OleControl::GetUserClassID(CLSID* clsid)
{
    if (!clsid)
        return E_POINTER;
    *clsid = m_clsid;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE OleControl::GetUserType(DWORD form, LPOLESTR* type)
{
    if (!type)
        return E_POINTER;
    return OleRegGetUserType(m_clsid, form, type);
}

HRESULT STDMETHODCALLTYPE OleControl::SetExtent(DWORD aspect, SIZEL* size)
{
    if (aspect != DVASPECT_CONTENT)
        return DV_E_DVASPECT;
    if (!size)
        return E_POINTER;
    if (size->cx < 0 || size->cy < 0)
        return E_INVALIDARG;
    const ComObject::CallGuard alive(m_owner);
    m_extent = *size;
    viewChanged();
    return S_OK;
}

HRESULT STDMETHODCALLTYPE OleControl::GetExtent(DWORD aspect, SIZEL* size)
{
    if (!size)
        return E_POINTER;
    if (aspect != DVASPECT_CONTENT)
        return DV_E_DVASPECT;
    *size = m_extent;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE OleControl::Advise(IAdviseSink* sink, DWORD* connection)
{
    if (!sink || !connection)
        return E_POINTER;
    const ComObject::CallGuard alive(m_owner);
    if (!m_adviseHolder) {
        if (const HRESULT status = CreateOleAdviseHolder(m_adviseHolder.GetAddressOf()); FAILED(status))
            return status;
    }
    return m_adviseHolder->Advise(sink, connection);
}

HRESULT STDMETHODCALLTYPE OleControl::Unadvise(DWORD connection)
{
    const ComObject::CallGuard alive(m_owner);
    return m_adviseHolder ? m_adviseHolder->Unadvise(connection) : OLE_E_NOCONNECTION;
}

HRESULT STDMETHODCALLTYPE OleControl::EnumAdvise(IEnumSTATDATA** advises)
{
    if (!advises)
        return E_POINTER;
    *advises = nullptr;
    return m_adviseHolder ? m_adviseHolder->EnumAdvise(advises) : S_FALSE;
}

HRESULT STDMETHODCALLTYPE OleControl::GetMiscStatus(DWORD aspect, DWORD* status)
{
    if (!status)
        return E_POINTER;
    *status = aspect == DVASPECT_CONTENT ? kMiscStatus : 0;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE OleControl::SetColorScheme(LOGPALETTE*)
{
    return E_NOTIMPL;
}

// --- IOleInPlaceObject -----------------------------------------------------------------------

HRESULT STDMETHODCALLTYPE OleControl::GetWindow(HWND* window)
{
    if (!window)
        return E_POINTER;
    *window = m_view.window();
    return *window ? S_OK : E_FAIL;
}

HRESULT STDMETHODCALLTYPE OleControl::ContextSensitiveHelp(BOOL)
{
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE OleControl::InPlaceDeactivate()
{
    const ComObject::CallGuard alive(m_owner);
    if (!m_inPlaceSite)
        return S_OK;
    UIDeactivate();
    m_view.destroyWindow();
    const ComPtr<IOleInPlaceSite> site = std::move(m_inPlaceSite);
    site->OnInPlaceDeactivate();
    return S_OK;
}

HRESULT STDMETHODCALLTYPE OleControl::UIDeactivate()
{
    const ComObject::CallGuard alive(m_owner);
    if (!m_uiActive)
        return S_OK;
    m_uiActive = false;
    if (const ComPtr<IOleInPlaceUIWindow> document = std::move(m_document))
        document->SetActiveObject(nullptr, nullptr);
    if (const ComPtr<IOleInPlaceFrame> frame = std::move(m_frame))
        frame->SetActiveObject(nullptr, nullptr);
    if (m_inPlaceSite)
        m_inPlaceSite->OnUIDeactivate(FALSE);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE OleControl::SetObjectRects(LPCRECT position, LPCRECT)
{
    if (!position)
        return E_POINTER;
    const ComObject::CallGuard alive(m_owner);
    return guarded(IID_IOleInPlaceObject, [&] {
        if (m_view.window())
            m_view.setWindowRect(*position);
    });
}

HRESULT STDMETHODCALLTYPE OleControl::ReactivateAndUndo()
{
    return E_NOTIMPL;
}

// --- IOleInPlaceActiveObject -----------------------------------------------------------------

HRESULT STDMETHODCALLTYPE OleControl::TranslateAccelerator(LPMSG)
{
    // The page has no accelerators: every key goes to its child windows.
    return S_FALSE;
}

HRESULT STDMETHODCALLTYPE OleControl::OnFrameWindowActivate(BOOL)
{
    return S_OK;
}

HRESULT STDMETHODCALLTYPE OleControl::OnDocWindowActivate(BOOL)
{
    return S_OK;
}

HRESULT STDMETHODCALLTYPE OleControl::ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL)
{
    return S_OK;
}

HRESULT STDMETHODCALLTYPE OleControl::EnableModeless(BOOL)
{
    return S_OK;
}

// --- IOleControl -----------------------------------------------------------------------------

HRESULT STDMETHODCALLTYPE OleControl::GetControlInfo(CONTROLINFO* info)
{
    if (!info)
        return E_POINTER;
    // No mnemonics, no accelerators; Return and Escape are the page's own.
    *info = CONTROLINFO{sizeof(CONTROLINFO), nullptr, 0, CTRLINFO_EATS_RETURN | CTRLINFO_EATS_ESCAPE};
    return S_OK;
}

HRESULT STDMETHODCALLTYPE OleControl::OnMnemonic(MSG*)
{
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE OleControl::OnAmbientPropertyChange(DISPID)
{
    // The page reads no ambient property: its colours and fonts are its layout's.
    return S_OK;
}

HRESULT STDMETHODCALLTYPE OleControl::FreezeEvents(BOOL freeze)
{
    // The control raises no events of its own; the count is kept as containers nest the calls.
    m_frozenEvents = freeze ? m_frozenEvents + 1 : std::max(m_frozenEvents - 1, 0);
    return S_OK;
}

// --- IViewObject2 ----------------------------------------------------------------------------

HRESULT STDMETHODCALLTYPE OleControl::Draw(DWORD aspect, LONG, void*, DVTARGETDEVICE*, HDC, HDC dc, LPCRECTL bounds,
                                           LPCRECTL, BOOL(STDMETHODCALLTYPE*)(ULONG_PTR), ULONG_PTR)
{
    if (aspect != DVASPECT_CONTENT)
        return DV_E_DVASPECT;
    if (!dc || !bounds)
        return E_INVALIDARG;
    const ComObject::CallGuard alive(m_owner);
    return guarded(IID_IViewObject, [&] { m_view.draw(dc, rectOf(*bounds)); });
}

HRESULT STDMETHODCALLTYPE OleControl::GetColorSet(DWORD, LONG, void*, DVTARGETDEVICE*, HDC, LOGPALETTE** colors)
{
    if (!colors)
        return E_POINTER;
    *colors = nullptr;
    return S_FALSE; // no palette
}

HRESULT STDMETHODCALLTYPE OleControl::Freeze(DWORD, LONG, void*, DWORD* freeze)
{
    if (freeze)
        *freeze = 0;
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE OleControl::Unfreeze(DWORD)
{
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE OleControl::SetAdvise(DWORD aspects, DWORD flags, IAdviseSink* sink)
{
    const ComObject::CallGuard alive(m_owner);
    m_viewSink = sink;
    m_viewAspects = sink ? aspects : 0;
    m_viewFlags = sink ? flags : 0;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE OleControl::GetAdvise(DWORD* aspects, DWORD* flags, IAdviseSink** sink)
{
    if (aspects)
        *aspects = m_viewAspects;
    if (flags)
        *flags = m_viewFlags;
    if (sink)
        *sink = ComPtr<IAdviseSink>(m_viewSink).Detach();
    return S_OK;
}

HRESULT STDMETHODCALLTYPE OleControl::GetExtent(DWORD aspect, LONG, DVTARGETDEVICE*, LPSIZEL size)
{
    return GetExtent(aspect, size);
}

void OleControl::viewChanged()
{
    if (m_viewSink && (m_viewAspects & DVASPECT_CONTENT))
        m_viewSink->OnViewChange(DVASPECT_CONTENT, -1);
}

// --- persistence -----------------------------------------------------------------------------

HRESULT STDMETHODCALLTYPE OleControl::GetClassID(CLSID* clsid)
{
    return GetUserClassID(clsid);
}

HRESULT STDMETHODCALLTYPE OleControl::IsDirty()
{
    return S_FALSE;
}

HRESULT STDMETHODCALLTYPE OleControl::Load(LPSTREAM stream)
{
    return stream ? S_OK : E_POINTER;
}

HRESULT STDMETHODCALLTYPE OleControl::Save(LPSTREAM stream, BOOL)
{
    return stream ? S_OK : E_POINTER;
}

HRESULT STDMETHODCALLTYPE OleControl::GetSizeMax(ULARGE_INTEGER* size)
{
    if (!size)
        return E_POINTER;
    size->QuadPart = 0;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE OleControl::InitNew()
{
    return S_OK;
}

HRESULT STDMETHODCALLTYPE OleControl::Load(IPropertyBag* bag, IErrorLog*)
{
    return bag ? S_OK : E_POINTER;
}

HRESULT STDMETHODCALLTYPE OleControl::Save(IPropertyBag* bag, BOOL, BOOL)
{
    return bag ? S_OK : E_POINTER;
}

// --- IQuickActivate --------------------------------------------------------------------------

HRESULT STDMETHODCALLTYPE OleControl::QuickActivate(QACONTAINER* container, QACONTROL* control)
{
    if (!container || !control)
        return E_POINTER;
    // A container of an older layout passes a shorter structure; the site and the sink are in every one.
    if (container->cbSize < offsetof(QACONTAINER, pUndoMgr) || control->cbSize < sizeof(QACONTROL))
        return E_INVALIDARG;
    const ComObject::CallGuard alive(m_owner);
    if (container->pClientSite)
        SetClientSite(container->pClientSite);
    if (container->pAdviseSink)
        SetAdvise(DVASPECT_CONTENT, 0, container->pAdviseSink);
    *control = QACONTROL{};
    control->cbSize = sizeof(QACONTROL);
    control->dwMiscStatus = kMiscStatus;
    control->dwViewStatus = VIEWSTATUS_OPAQUE; // the page fills what it draws
    return S_OK;
}

HRESULT STDMETHODCALLTYPE OleControl::SetContentExtent(LPSIZEL size)
{
    return SetExtent(DVASPECT_CONTENT, size);
}

HRESULT STDMETHODCALLTYPE OleControl::GetContentExtent(LPSIZEL size)
{
    return GetExtent(DVASPECT_CONTENT, size);
}

// --- IProvideClassInfo2 ----------------------------------------------------------------------

HRESULT STDMETHODCALLTYPE OleControl::GetClassInfo(ITypeInfo** info)
{
    if (!info)
        return E_POINTER;
    *info = nullptr;
    const ComObject::CallGuard alive(m_owner);
    return guarded(IID_IProvideClassInfo, [&] { *info = TypeLibrary::typeInfo(m_clsid).Detach(); });
}

HRESULT STDMETHODCALLTYPE OleControl::GetGUID(DWORD kind, GUID* guid)
{
    if (!guid)
        return E_POINTER;
    *guid = GUID_NULL;
    // The pages raise no events: there is no source interface to name.
    return kind == GUIDKIND_DEFAULT_SOURCE_DISP_IID ? E_NOTIMPL : E_INVALIDARG;
}

} // namespace zeb2hart::com
