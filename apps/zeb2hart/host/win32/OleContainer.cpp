#include "host/win32/OleContainer.h"

#include <stdexcept>
#include <vector>

#include "platform/win32/WindowsApi.h"

namespace zeb2hart::frame {

namespace {

constexpr wchar_t kFrameClass[] = L"ZEB2HARTFramePageHost";

void check(HRESULT result, const char* step)
{
    if (FAILED(result)) {
        char code[16];
        wsprintfA(code, "0x%08lX", static_cast<unsigned long>(result));
        throw std::runtime_error(std::string(step) + " failed (" + code + ")");
    }
}

LRESULT CALLBACK frameProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

void registerFrameClass()
{
    static const bool registered = [] {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = frameProcedure;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        windowClass.lpszClassName = kFrameClass;
        return RegisterClassExW(&windowClass) != 0;
    }();
    if (!registered)
        throw std::runtime_error("the container's window class cannot be registered");
}

} // namespace

// The container's sites for one control: client site, in-place site and
// in-place frame, with the container's window as the window of all three.
class PageSite final : public IOleClientSite, public IOleInPlaceSite, public IOleInPlaceFrame {
public:
    explicit PageSite(HWND window) : m_window(window) {}

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** result) override
    {
        if (!result)
            return E_POINTER;
        *result = nullptr;
        if (iid == IID_IUnknown || iid == IID_IOleClientSite)
            *result = static_cast<IOleClientSite*>(this);
        else if (iid == IID_IOleWindow || iid == IID_IOleInPlaceSite)
            *result = static_cast<IOleInPlaceSite*>(this);
        else if (iid == IID_IOleInPlaceUIWindow || iid == IID_IOleInPlaceFrame)
            *result = static_cast<IOleInPlaceFrame*>(this);
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

    // IOleClientSite
    HRESULT STDMETHODCALLTYPE SaveObject() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetMoniker(DWORD, DWORD, IMoniker** moniker) override
    {
        if (moniker)
            *moniker = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetContainer(IOleContainer** container) override
    {
        if (container)
            *container = nullptr;
        return E_NOINTERFACE;
    }
    HRESULT STDMETHODCALLTYPE ShowObject() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnShowWindow(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE RequestNewObjectLayout() override { return E_NOTIMPL; }

    // IOleWindow (of the in-place site and the frame)
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override
    {
        if (!window)
            return E_POINTER;
        *window = m_window;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

    // IOleInPlaceSite
    HRESULT STDMETHODCALLTYPE CanInPlaceActivate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnInPlaceActivate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnUIActivate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document,
                                               LPRECT position, LPRECT clip, LPOLEINPLACEFRAMEINFO info) override
    {
        if (!frame || !document || !position || !clip || !info)
            return E_POINTER;
        *frame = static_cast<IOleInPlaceFrame*>(this);
        AddRef();
        *document = nullptr;
        GetClientRect(m_window, position);
        *clip = *position;
        info->fMDIApp = FALSE;
        info->hwndFrame = m_window;
        info->haccel = nullptr;
        info->cAccelEntries = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Scroll(SIZE) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE OnUIDeactivate(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnInPlaceDeactivate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE DiscardUndoState() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE DeactivateAndUndo() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnPosRectChange(LPCRECT) override { return S_OK; }

    // IOleInPlaceUIWindow and IOleInPlaceFrame: the stand-in has no menus or tool bars.
    HRESULT STDMETHODCALLTYPE GetBorder(LPRECT) override { return INPLACE_E_NOTOOLSPACE; }
    HRESULT STDMETHODCALLTYPE RequestBorderSpace(LPCBORDERWIDTHS) override { return INPLACE_E_NOTOOLSPACE; }
    HRESULT STDMETHODCALLTYPE SetBorderSpace(LPCBORDERWIDTHS) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE SetActiveObject(IOleInPlaceActiveObject*, LPCOLESTR) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetMenu(HMENU, HOLEMENU, HWND) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE RemoveMenus(HMENU) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetStatusText(LPCOLESTR) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE EnableModeless(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE TranslateAccelerator(LPMSG, WORD) override { return S_FALSE; }

private:
    ~PageSite() = default;
    HWND m_window;
    ULONG m_references = 1;
};

namespace {

LRESULT CALLBACK frameProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace

HostedControl::HostedControl(const std::string& progId, int width, int height)
{
    registerFrameClass();
    const std::wstring title = platform::toWide(progId);
    RECT outer{0, 0, width, height};
    AdjustWindowRectEx(&outer, WS_OVERLAPPEDWINDOW, FALSE, 0);
    m_window = CreateWindowExW(0, kFrameClass, title.c_str(), WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0,
                               outer.right - outer.left, outer.bottom - outer.top, nullptr, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
    if (!m_window)
        throw std::runtime_error("the container's window cannot be made");
    try {
        CLSID clsid;
        check(CLSIDFromProgID(title.c_str(), &clsid), "finding the class of the ProgID");
        check(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                               reinterpret_cast<void**>(m_control.GetAddressOf())),
              "creating the control");
        check(m_control.As(&m_object), "asking the control for IOleObject");
        m_site.Attach(new PageSite(m_window));
        // The controls want their site before anything else (SETCLIENTSITEFIRST).
        check(m_object->SetClientSite(static_cast<IOleClientSite*>(m_site.Get())), "IOleObject::SetClientSite");
        com::ComPtr<IPersistStreamInit> persistence;
        if (SUCCEEDED(m_control.As(&persistence)))
            check(persistence->InitNew(), "IPersistStreamInit::InitNew");
        ShowWindow(m_window, SW_SHOWNOACTIVATE);
        RECT client;
        GetClientRect(m_window, &client);
        check(m_object->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, static_cast<IOleClientSite*>(m_site.Get()), 0,
                               m_window, &client),
              "activating the control in place");
        pumpMessages();
    } catch (...) {
        if (m_object) {
            m_object->Close(OLECLOSE_NOSAVE);
            m_object->SetClientSite(nullptr);
        }
        m_object.Reset();
        m_control.Reset();
        DestroyWindow(m_window);
        throw;
    }
}

HostedControl::~HostedControl()
{
    com::ComPtr<IOleInPlaceObject> inPlace;
    if (SUCCEEDED(m_object.As(&inPlace)))
        inPlace->InPlaceDeactivate();
    m_object->Close(OLECLOSE_NOSAVE);
    m_object->SetClientSite(nullptr);
    m_object.Reset();
    m_control.Reset();
    DestroyWindow(m_window);
    pumpMessages();
}

HWND HostedControl::controlWindow() const
{
    com::ComPtr<IOleInPlaceObject> inPlace;
    HWND window = nullptr;
    if (SUCCEEDED(m_object.As(&inPlace)) && SUCCEEDED(inPlace->GetWindow(&window)) && IsWindow(window))
        return window;
    return nullptr;
}

void HostedControl::resize(int width, int height)
{
    RECT outer{0, 0, width, height};
    AdjustWindowRectEx(&outer, WS_OVERLAPPEDWINDOW, FALSE, 0);
    SetWindowPos(m_window, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    RECT client;
    GetClientRect(m_window, &client);
    // The container tells the control where it stands, as a frame does on resize.
    com::ComPtr<IOleInPlaceObject> inPlace;
    if (SUCCEEDED(m_object.As(&inPlace)))
        inPlace->SetObjectRects(&client, &client);
    pumpMessages();
}

SIZE HostedControl::clientSize() const
{
    RECT client;
    GetClientRect(m_window, &client);
    return {client.right - client.left, client.bottom - client.top};
}

std::vector<std::uint32_t> HostedControl::draw(SIZE& size) const
{
    size = clientSize();
    com::ComPtr<IViewObject> view;
    check(m_control.As(&view), "asking the control for IViewObject");
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = size.cx;
    info.bmiHeader.biHeight = -size.cy; // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    ReleaseDC(nullptr, screen);
    if (!dc || !bitmap) {
        if (bitmap)
            DeleteObject(bitmap);
        if (dc)
            DeleteDC(dc);
        throw std::runtime_error("no bitmap to draw the control into");
    }
    HGDIOBJ previous = SelectObject(dc, bitmap);
    const RECTL bounds{0, 0, size.cx, size.cy};
    const HRESULT drawn = view->Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, dc, &bounds, nullptr, nullptr, 0);
    GdiFlush();
    std::vector<std::uint32_t> pixels;
    if (SUCCEEDED(drawn)) {
        const auto* first = static_cast<const std::uint32_t*>(bits);
        pixels.assign(first, first + static_cast<std::size_t>(size.cx) * static_cast<std::size_t>(size.cy));
    }
    SelectObject(dc, previous);
    DeleteObject(bitmap);
    DeleteDC(dc);
    check(drawn, "IViewObject::Draw");
    return pixels;
}

void pumpMessages()
{
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

} // namespace zeb2hart::frame
