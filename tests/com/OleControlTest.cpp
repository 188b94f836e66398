// The pages as ActiveX controls, created by class identifier from the
// registered DLL as a frame creates them: one COM identity for the OLE and the
// FDT interfaces, each OLE interface called directly as containers other than
// Wine's call it, in-place activation in a minimal site, drawing into a memory
// DC, the page opened and closed through IDtmActiveXControl with the DTM, a
// window the frame destroys under a live page, and hosting by Wine's own ATL.

#include <algorithm>
#include <string>
#include <vector>

#include <olectl.h>

#include "DtmThroughCom.h"
#include "pages/PageView.h"

namespace zeb2hart::test {
namespace {

using com::Bstr;
using com::ComPtr;

struct PageCase {
    const char* name;
    const wchar_t* progId;
    const wchar_t* clsid;
    const IID* pageInterface; // the private interface only this page offers; nullptr: none
};
const PageCase kPages[] = {
    {"offline", L"ZEB2HARTGateway.ctlOfflineParam", L"{123C16C9-91D8-4711-AEE5-9C2B58B274B9}",
     &IID_IZeb2hartOfflineParamPage},
    {"monitor", L"ZEB2HARTGateway.ctlMonitor", L"{5E2A1315-8998-4327-8EA1-F6EC8900B436}",
     &IID_IZeb2hartMonitorPage},
    {"about", L"ZEB2HARTGateway.ctlAbout", L"{1A898714-DDAA-4F59-A3E4-EACF0B661DF5}", nullptr},
};
const PageCase& kMonitor = kPages[1];

CLSID clsidOf(const PageCase& page)
{
    CLSID clsid{};
    EXPECT_EQ(CLSIDFromString(page.clsid, &clsid), S_OK);
    return clsid;
}

template <class I>
ComPtr<I> as(IUnknown* object)
{
    ComPtr<I> result;
    if (object) {
        EXPECT_EQ(object->QueryInterface(__uuidof(I), reinterpret_cast<void**>(result.GetAddressOf())), S_OK);
    }
    return result;
}

void pumpMessages()
{
    for (MSG message; PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE);) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

// A container's window with a minimal client and in-place site in it: it
// offers its window and the control's place, and records what the control asks.
class TestSite final : public IOleClientSite, public IOleInPlaceSite, public IAdviseSinkEx {
public:
    static ComPtr<TestSite> create(RECT position) { return com::adopt(new TestSite(position)); }

    HWND window() const { return m_window; }
    std::vector<std::string> calls;
    bool refuseInPlace = false;
    int viewChanges = 0;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** result) override
    {
        if (!result)
            return E_POINTER;
        *result = nullptr;
        if (iid == IID_IUnknown || iid == IID_IOleClientSite)
            *result = static_cast<IOleClientSite*>(this);
        else if (iid == IID_IOleWindow || iid == IID_IOleInPlaceSite)
            *result = static_cast<IOleInPlaceSite*>(this);
        else if (iid == IID_IAdviseSink || iid == IID_IAdviseSinkEx)
            *result = static_cast<IAdviseSinkEx*>(this);
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
    HRESULT STDMETHODCALLTYPE SaveObject() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetMoniker(DWORD, DWORD, IMoniker**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetContainer(IOleContainer**) override { return E_NOINTERFACE; }
    HRESULT STDMETHODCALLTYPE ShowObject() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnShowWindow(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE RequestNewObjectLayout() override { return E_NOTIMPL; }

    // IOleInPlaceSite
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override
    {
        calls.push_back("GetWindow");
        *window = m_window;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CanInPlaceActivate() override
    {
        calls.push_back("CanInPlaceActivate");
        return refuseInPlace ? S_FALSE : S_OK;
    }
    HRESULT STDMETHODCALLTYPE OnInPlaceActivate() override { return record("OnInPlaceActivate"); }
    HRESULT STDMETHODCALLTYPE OnUIActivate() override { return record("OnUIActivate"); }
    HRESULT STDMETHODCALLTYPE GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document, LPRECT position,
                                               LPRECT clip, LPOLEINPLACEFRAMEINFO) override
    {
        calls.push_back("GetWindowContext");
        *frame = nullptr;
        *document = nullptr;
        *position = m_position;
        *clip = m_position;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Scroll(SIZE) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE OnUIDeactivate(BOOL) override { return record("OnUIDeactivate"); }
    HRESULT STDMETHODCALLTYPE OnInPlaceDeactivate() override { return record("OnInPlaceDeactivate"); }
    HRESULT STDMETHODCALLTYPE DiscardUndoState() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE DeactivateAndUndo() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnPosRectChange(LPCRECT) override { return S_OK; }

    // IAdviseSink
    void STDMETHODCALLTYPE OnDataChange(FORMATETC*, STGMEDIUM*) override {}
    void STDMETHODCALLTYPE OnViewChange(DWORD, LONG) override { ++viewChanges; }
    void STDMETHODCALLTYPE OnRename(IMoniker*) override {}
    void STDMETHODCALLTYPE OnSave() override {}
    void STDMETHODCALLTYPE OnClose() override { calls.push_back("OnClose"); }
    void STDMETHODCALLTYPE OnViewStatusChange(DWORD) override {}

private:
    explicit TestSite(RECT position)
        : m_position(position),
          m_window(CreateWindowExW(0, L"STATIC", L"frame", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_VISIBLE, 0, 0,
                                   800, 600, nullptr, nullptr, nullptr, nullptr))
    {
    }
    ~TestSite()
    {
        if (IsWindow(m_window))
            DestroyWindow(m_window);
    }
    HRESULT record(const char* call)
    {
        calls.push_back(call);
        return S_OK;
    }

    RECT m_position;
    HWND m_window;
    ULONG m_references = 1;
};

// The window's place in its parent's client area.
RECT placeInParent(HWND window)
{
    RECT rect{};
    GetWindowRect(window, &rect);
    MapWindowPoints(HWND_DESKTOP, GetParent(window), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

bool sameRect(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

BOOL CALLBACK findMonitorBox(HWND child, LPARAM found)
{
    wchar_t name[64] = {};
    GetClassNameW(child, name, 64);
    if (_wcsnicmp(name, L"RichEdit", 8) != 0)
        return TRUE;
    *reinterpret_cast<HWND*>(found) = child;
    return FALSE;
}

// The text of the monitor's line view (a RichEdit child window), "" when there is none.
std::wstring monitorText(HWND page)
{
    HWND box = nullptr;
    EnumChildWindows(page, findMonitorBox, reinterpret_cast<LPARAM>(&box));
    if (!box)
        return {};
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(box)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(box, text.data(), static_cast<int>(text.size()))));
    return text;
}

// How many pixels of the drawing are not the colour the memory DC was filled with.
int pixelsDrawn(IViewObject2& view, COLORREF background, HRESULT* status = nullptr)
{
    constexpr int kWidth = 320, kHeight = 240;
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, kWidth, kHeight);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, bitmap);
    RECT all{0, 0, kWidth, kHeight};
    HBRUSH brush = CreateSolidBrush(background);
    FillRect(dc, &all, brush);
    DeleteObject(brush);
    const RECTL bounds{0, 0, kWidth, kHeight};
    const HRESULT drawn = view.Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, dc, &bounds, nullptr, nullptr, 0);
    if (status)
        *status = drawn;
    int count = 0;
    for (int y = 0; y < kHeight; y += 2) {
        for (int x = 0; x < kWidth; x += 2)
            count += GetPixel(dc, x, y) != background;
    }
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return count;
}

constexpr COLORREF kMagenta = RGB(255, 0, 255);
constexpr RECT kPlace{10, 20, 610, 470};

class OleControlTest : public DtmThroughComTest {
protected:
    static ComPtr<IUnknown> createControl(const PageCase& page)
    {
        ComPtr<IUnknown> control;
        EXPECT_EQ(CoCreateInstance(clsidOf(page), nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                                   reinterpret_cast<void**>(control.GetAddressOf())),
                  S_OK)
            << page.name;
        return control;
    }

    // Opens the page with the started DTM through IDtmActiveXControl::Init.
    VARIANT_BOOL init(IUnknown* control, const char* invokeId)
    {
        VARIANT_BOOL ok = VARIANT_FALSE;
        EXPECT_EQ(as<IDtmActiveXControl>(control)->Init(Bstr(invokeId).get(), Bstr(functionCall("30")).get(),
                                                        dtm.Get(), &ok),
                  S_OK);
        return ok;
    }

    // The started DTM, showing the lines of the FDT interface filter on its monitor.
    void startWithInterfaceLines()
    {
        start();
        setProperty(*dtm.Get(), "PersistentFDTInterfaceFilter", fdt::Variant(true));
    }

    void monitorMessage(const char* text)
    {
        constexpr short kFdtInterfaceFilter = 2;
        ASSERT_EQ(dtmAs<IZeb2hartTestAccess>()->MonitorMsg(Bstr("Test").get(), Bstr(text).get(), 0x0000FF,
                                                            kFdtInterfaceFilter),
                  S_OK);
        pumpMessages();
    }

    // Everything released: the DLL may be unloaded.
    void expectUnloadable()
    {
        dtm.Reset();
        pumpMessages();
        EXPECT_EQ(dll().call("DllCanUnloadNow"), S_OK);
    }
};

TEST_F(OleControlTest, EachPageIsOneIdentityForItsOleAndFdtInterfaces)
{
    const IID common[] = {IID_IUnknown,          IID_IOleObject,        IID_IOleWindow,
                          IID_IOleInPlaceObject, IID_IOleInPlaceActiveObject, IID_IOleControl,
                          IID_IViewObject,       IID_IViewObject2,      IID_IPersist,
                          IID_IPersistStreamInit, IID_IPersistPropertyBag, IID_IQuickActivate,
                          IID_IProvideClassInfo, IID_IProvideClassInfo2, IID_IDispatch,
                          IID_IDtmActiveXControl, IID_IZeb2hartActiveXGUI, IID_ISupportErrorInfo};
    for (const PageCase& page : kPages) {
        const ComPtr<IUnknown> control = createControl(page);
        ASSERT_TRUE(control) << page.name;
        std::vector<IID> offered(std::begin(common), std::end(common));
        if (page.pageInterface)
            offered.push_back(*page.pageInterface);
        for (const IID& from : offered) {
            IUnknown* start = nullptr;
            ASSERT_EQ(control->QueryInterface(from, reinterpret_cast<void**>(&start)), S_OK) << page.name;
            const ComPtr<IUnknown> held = com::adopt(start);
            for (const IID& to : offered) {
                IUnknown* reached = nullptr;
                EXPECT_EQ(held->QueryInterface(to, reinterpret_cast<void**>(&reached)), S_OK) << page.name;
                if (reached)
                    reached->Release();
            }
            IUnknown* identity = nullptr;
            ASSERT_EQ(held->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&identity)), S_OK);
            EXPECT_EQ(identity, control.Get()) << page.name;
            identity->Release();
        }
        // Neither the DTM's interfaces nor another page's.
        for (const IID* foreign : {&IID_IDtm, &IID_IZeb2hartTestAccess, &IID_IZeb2hartMonitorPage,
                                   &IID_IZeb2hartOfflineParamPage}) {
            if (page.pageInterface && *foreign == *page.pageInterface)
                continue;
            IUnknown* reached = nullptr;
            EXPECT_EQ(control->QueryInterface(*foreign, reinterpret_cast<void**>(&reached)), E_NOINTERFACE)
                << page.name;
        }
    }
    expectUnloadable();
}

TEST_F(OleControlTest, OleObjectAnswersClassStatusSiteAndExtent)
{
    for (const PageCase& page : kPages) {
        const ComPtr<IUnknown> control = createControl(page);
        const ComPtr<IOleObject> object = as<IOleObject>(control.Get());
        ASSERT_TRUE(object) << page.name;
        DWORD status = 0;
        EXPECT_EQ(object->GetMiscStatus(DVASPECT_CONTENT, &status), S_OK);
        EXPECT_EQ(status, 131473u) << page.name;
        EXPECT_EQ(object->GetMiscStatus(DVASPECT_CONTENT, nullptr), E_POINTER);
        CLSID clsid{};
        EXPECT_EQ(object->GetUserClassID(&clsid), S_OK);
        EXPECT_EQ(clsid, clsidOf(page)) << page.name;

        const ComPtr<TestSite> site = TestSite::create(kPlace);
        ComPtr<IOleClientSite> got;
        EXPECT_EQ(object->GetClientSite(got.GetAddressOf()), S_OK);
        EXPECT_EQ(got, nullptr);
        EXPECT_EQ(object->SetClientSite(site.Get()), S_OK);
        EXPECT_EQ(object->GetClientSite(got.GetAddressOf()), S_OK);
        EXPECT_EQ(got.Get(), static_cast<IOleClientSite*>(site.Get()));
        got.Reset();
        EXPECT_EQ(object->SetClientSite(nullptr), S_OK);
        EXPECT_EQ(object->GetClientSite(got.GetAddressOf()), S_OK);
        EXPECT_EQ(got, nullptr);

        SIZEL extent{};
        EXPECT_EQ(object->GetExtent(DVASPECT_CONTENT, &extent), S_OK);
        EXPECT_GT(extent.cx, 0);
        EXPECT_GT(extent.cy, 0);
        SIZEL wanted{12345, 6789};
        EXPECT_EQ(object->SetExtent(DVASPECT_CONTENT, &wanted), S_OK);
        EXPECT_EQ(object->GetExtent(DVASPECT_CONTENT, &extent), S_OK);
        EXPECT_EQ(extent.cx, 12345);
        EXPECT_EQ(extent.cy, 6789);
        SIZEL negative{-1, 10};
        EXPECT_EQ(object->SetExtent(DVASPECT_CONTENT, &negative), E_INVALIDARG);
        EXPECT_EQ(object->SetExtent(DVASPECT_ICON, &wanted), DV_E_DVASPECT);
        EXPECT_EQ(object->GetExtent(DVASPECT_ICON, &extent), DV_E_DVASPECT);
        // The view's extent is the same.
        SIZEL viewExtent{};
        EXPECT_EQ(as<IViewObject2>(control.Get())->GetExtent(DVASPECT_CONTENT, -1, nullptr, &viewExtent), S_OK);
        EXPECT_EQ(viewExtent.cx, 12345);
        EXPECT_EQ(viewExtent.cy, 6789);

        // Advise: the container hears of Close.
        const ComPtr<TestSite> sink = TestSite::create(kPlace);
        DWORD connection = 0;
        EXPECT_EQ(object->Advise(sink.Get(), &connection), S_OK);
        EXPECT_EQ(object->Close(OLECLOSE_NOSAVE), S_OK);
        EXPECT_EQ(sink->calls, std::vector<std::string>{"OnClose"}) << page.name;
        EXPECT_EQ(object->Unadvise(connection), S_OK);
        EXPECT_EQ(object->Unadvise(connection), OLE_E_NOCONNECTION);
        EXPECT_EQ(object->Close(OLECLOSE_NOSAVE), S_OK);
        EXPECT_EQ(sink->calls.size(), 1u);
    }
    expectUnloadable();
}

TEST_F(OleControlTest, InPlaceActivationMakesTheWindowInTheSitesWindow)
{
    const ComPtr<IUnknown> control = createControl(kMonitor);
    const ComPtr<IOleObject> object = as<IOleObject>(control.Get());
    const ComPtr<IOleInPlaceObject> inPlace = as<IOleInPlaceObject>(control.Get());
    const ComPtr<TestSite> site = TestSite::create(kPlace);
    HWND window = nullptr;

    // Without a site nothing is activated.
    EXPECT_EQ(object->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, nullptr, 0, nullptr, nullptr), E_UNEXPECTED);
    EXPECT_EQ(inPlace->GetWindow(&window), E_FAIL);
    // A site that refuses keeps the control without a window.
    ASSERT_EQ(object->SetClientSite(site.Get()), S_OK);
    site->refuseInPlace = true;
    EXPECT_EQ(object->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, site.Get(), 0, site->window(), &kPlace), E_FAIL);
    EXPECT_EQ(inPlace->GetWindow(&window), E_FAIL);
    EXPECT_EQ(site->calls, std::vector<std::string>{"CanInPlaceActivate"});

    site->refuseInPlace = false;
    site->calls.clear();
    ASSERT_EQ(object->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, site.Get(), 0, site->window(), &kPlace), S_OK);
    EXPECT_EQ(site->calls, (std::vector<std::string>{"CanInPlaceActivate", "OnInPlaceActivate", "GetWindow",
                                                     "GetWindowContext"}));
    ASSERT_EQ(inPlace->GetWindow(&window), S_OK);
    EXPECT_EQ(GetParent(window), site->window());
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_TRUE(sameRect(placeInParent(window), kPlace));
    pumpMessages();

    const RECT moved{5, 5, 405, 305};
    EXPECT_EQ(inPlace->SetObjectRects(&moved, &moved), S_OK);
    EXPECT_TRUE(sameRect(placeInParent(window), moved));
    EXPECT_EQ(inPlace->SetObjectRects(nullptr, &moved), E_POINTER);

    // UI activation once, on the same window.
    site->calls.clear();
    EXPECT_EQ(object->DoVerb(OLEIVERB_UIACTIVATE, nullptr, site.Get(), 0, site->window(), &kPlace), S_OK);
    EXPECT_EQ(object->DoVerb(OLEIVERB_SHOW, nullptr, site.Get(), 0, site->window(), &kPlace), S_OK);
    HWND again = nullptr;
    EXPECT_EQ(inPlace->GetWindow(&again), S_OK);
    EXPECT_EQ(again, window);
    EXPECT_EQ(std::count(site->calls.begin(), site->calls.end(), "OnUIActivate"), 1);
    EXPECT_EQ(std::count(site->calls.begin(), site->calls.end(), "OnInPlaceActivate"), 0);

    site->calls.clear();
    EXPECT_EQ(inPlace->InPlaceDeactivate(), S_OK);
    EXPECT_EQ(site->calls, (std::vector<std::string>{"OnUIDeactivate", "OnInPlaceDeactivate"}));
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(inPlace->GetWindow(&window), E_FAIL);
    EXPECT_EQ(inPlace->InPlaceDeactivate(), S_OK); // twice is nothing
    EXPECT_EQ(site->calls.size(), 2u);

    // Activated again, and closed: the window goes.
    ASSERT_EQ(object->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, site.Get(), 0, site->window(), &kPlace), S_OK);
    ASSERT_EQ(inPlace->GetWindow(&window), S_OK);
    EXPECT_EQ(object->Close(OLECLOSE_NOSAVE), S_OK);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(object->SetClientSite(nullptr), S_OK);
}

TEST_F(OleControlTest, ActiveObjectAndControlAnswerAsAControlWithoutAccelerators)
{
    const ComPtr<IUnknown> control = createControl(kMonitor);
    const ComPtr<IOleInPlaceActiveObject> active = as<IOleInPlaceActiveObject>(control.Get());
    MSG key{nullptr, WM_KEYDOWN, VK_TAB, 0, 0, {}};
    EXPECT_EQ(active->TranslateAccelerator(&key), S_FALSE);
    EXPECT_EQ(active->OnFrameWindowActivate(TRUE), S_OK);
    EXPECT_EQ(active->OnDocWindowActivate(FALSE), S_OK);
    EXPECT_EQ(active->EnableModeless(TRUE), S_OK);

    const ComPtr<IOleControl> oleControl = as<IOleControl>(control.Get());
    CONTROLINFO info{};
    info.cAccel = 99;
    EXPECT_EQ(oleControl->GetControlInfo(&info), S_OK);
    EXPECT_EQ(info.cb, sizeof(CONTROLINFO));
    EXPECT_EQ(info.cAccel, 0);
    EXPECT_EQ(info.hAccel, nullptr);
    EXPECT_EQ(oleControl->GetControlInfo(nullptr), E_POINTER);
    EXPECT_EQ(oleControl->OnAmbientPropertyChange(DISPID_AMBIENT_BACKCOLOR), S_OK);
    EXPECT_EQ(oleControl->FreezeEvents(TRUE), S_OK);
    EXPECT_EQ(oleControl->FreezeEvents(FALSE), S_OK);
}

TEST_F(OleControlTest, ViewObjectDrawsThePageWithAndWithoutWindow)
{
    for (const PageCase& page : kPages) {
        const ComPtr<IUnknown> control = createControl(page);
        const ComPtr<IViewObject2> view = as<IViewObject2>(control.Get());
        HRESULT status = E_FAIL;
        EXPECT_GT(pixelsDrawn(*view.Get(), kMagenta, &status), 0) << page.name << " without window";
        EXPECT_EQ(status, S_OK);

        const ComPtr<TestSite> site = TestSite::create(kPlace);
        const ComPtr<IOleObject> object = as<IOleObject>(control.Get());
        ASSERT_EQ(object->SetClientSite(site.Get()), S_OK);
        ASSERT_EQ(object->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, site.Get(), 0, site->window(), &kPlace), S_OK);
        pumpMessages();
        EXPECT_GT(pixelsDrawn(*view.Get(), kMagenta, &status), 0) << page.name << " in place";
        EXPECT_EQ(status, S_OK);

        // Only the content aspect, only into a DC, only with bounds.
        const RECTL bounds{0, 0, 10, 10};
        HDC screen = GetDC(nullptr);
        EXPECT_EQ(view->Draw(DVASPECT_ICON, -1, nullptr, nullptr, nullptr, screen, &bounds, nullptr, nullptr, 0),
                  DV_E_DVASPECT);
        ReleaseDC(nullptr, screen);
        EXPECT_EQ(view->Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, nullptr, &bounds, nullptr, nullptr, 0),
                  E_INVALIDARG);

        // The view sink hears of a new extent.
        EXPECT_EQ(view->SetAdvise(DVASPECT_CONTENT, 0, site.Get()), S_OK);
        SIZEL extent{5000, 4000};
        EXPECT_EQ(object->SetExtent(DVASPECT_CONTENT, &extent), S_OK);
        EXPECT_EQ(site->viewChanges, 1) << page.name;
        ComPtr<IAdviseSink> sink;
        DWORD aspects = 0;
        EXPECT_EQ(view->GetAdvise(&aspects, nullptr, sink.GetAddressOf()), S_OK);
        EXPECT_EQ(aspects, static_cast<DWORD>(DVASPECT_CONTENT));
        EXPECT_EQ(sink.Get(), static_cast<IAdviseSink*>(site.Get()));
        EXPECT_EQ(view->SetAdvise(DVASPECT_CONTENT, 0, nullptr), S_OK);
        EXPECT_EQ(object->Close(OLECLOSE_NOSAVE), S_OK);
        EXPECT_EQ(object->SetClientSite(nullptr), S_OK);
    }
    expectUnloadable();
}

TEST_F(OleControlTest, PersistenceKeepsNoPropertiesAndNamesThePagesClass)
{
    for (const PageCase& page : kPages) {
        const ComPtr<IUnknown> control = createControl(page);
        const ComPtr<IPersistStreamInit> stream = as<IPersistStreamInit>(control.Get());
        const ComPtr<IPersistPropertyBag> bag = as<IPersistPropertyBag>(control.Get());
        for (IPersist* persist : {static_cast<IPersist*>(stream.Get()), static_cast<IPersist*>(bag.Get())}) {
            CLSID clsid{};
            EXPECT_EQ(persist->GetClassID(&clsid), S_OK);
            EXPECT_EQ(clsid, clsidOf(page)) << page.name;
            EXPECT_EQ(persist->GetClassID(nullptr), E_POINTER);
        }
        EXPECT_EQ(stream->InitNew(), S_OK);
        EXPECT_EQ(stream->IsDirty(), S_FALSE);
        ComPtr<IStream> data;
        ASSERT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, data.GetAddressOf()), S_OK);
        EXPECT_EQ(stream->Save(data.Get(), TRUE), S_OK);
        STATSTG written{};
        EXPECT_EQ(data->Stat(&written, STATFLAG_NONAME), S_OK);
        EXPECT_EQ(written.cbSize.QuadPart, 0u);
        EXPECT_EQ(stream->Load(data.Get()), S_OK);
        EXPECT_EQ(stream->Load(nullptr), E_POINTER);
        ULARGE_INTEGER size{};
        size.QuadPart = 7;
        EXPECT_EQ(stream->GetSizeMax(&size), S_OK);
        EXPECT_EQ(size.QuadPart, 0u);
        EXPECT_EQ(bag->InitNew(), S_OK);
        EXPECT_EQ(bag->Load(nullptr, nullptr), E_POINTER);
        EXPECT_EQ(bag->Save(nullptr, TRUE, TRUE), E_POINTER);
    }
}

TEST_F(OleControlTest, QuickActivateTakesTheSiteAndTheSink)
{
    const ComPtr<IUnknown> control = createControl(kMonitor);
    const ComPtr<IQuickActivate> quick = as<IQuickActivate>(control.Get());
    const ComPtr<TestSite> site = TestSite::create(kPlace);
    QACONTAINER container{};
    container.cbSize = sizeof container;
    container.pClientSite = site.Get();
    container.pAdviseSink = site.Get();
    QACONTROL answer{};
    answer.cbSize = sizeof answer;
    // A structure too short for what it must hold is refused.
    QACONTAINER shortContainer = container;
    shortContainer.cbSize = 8;
    EXPECT_EQ(quick->QuickActivate(&shortContainer, &answer), E_INVALIDARG);
    EXPECT_EQ(quick->QuickActivate(nullptr, &answer), E_POINTER);

    ASSERT_EQ(quick->QuickActivate(&container, &answer), S_OK);
    EXPECT_EQ(answer.cbSize, sizeof answer);
    EXPECT_EQ(answer.dwMiscStatus, 131473u);
    EXPECT_EQ(answer.dwViewStatus, static_cast<DWORD>(VIEWSTATUS_OPAQUE));
    ComPtr<IOleClientSite> got;
    EXPECT_EQ(as<IOleObject>(control.Get())->GetClientSite(got.GetAddressOf()), S_OK);
    EXPECT_EQ(got.Get(), static_cast<IOleClientSite*>(site.Get()));
    ComPtr<IAdviseSink> sink;
    EXPECT_EQ(as<IViewObject2>(control.Get())->GetAdvise(nullptr, nullptr, sink.GetAddressOf()), S_OK);
    EXPECT_EQ(sink.Get(), static_cast<IAdviseSink*>(site.Get()));

    SIZEL extent{3000, 2000}, read{};
    EXPECT_EQ(quick->SetContentExtent(&extent), S_OK);
    EXPECT_EQ(quick->GetContentExtent(&read), S_OK);
    EXPECT_EQ(read.cx, 3000);
    EXPECT_EQ(read.cy, 2000);
    EXPECT_EQ(site->viewChanges, 1);
    // Quick activation leaves in-place activation to DoVerb, which now finds the site.
    ASSERT_EQ(as<IOleObject>(control.Get())->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, nullptr, 0, nullptr, nullptr),
              S_OK);
    EXPECT_EQ(as<IOleObject>(control.Get())->Close(OLECLOSE_NOSAVE), S_OK);
    EXPECT_EQ(as<IOleObject>(control.Get())->SetClientSite(nullptr), S_OK);
    EXPECT_EQ(as<IViewObject2>(control.Get())->SetAdvise(DVASPECT_CONTENT, 0, nullptr), S_OK);
}

TEST_F(OleControlTest, ClassInfoIsThePagesCoclassWithIDtmActiveXControlAsDefault)
{
    for (const PageCase& page : kPages) {
        const ComPtr<IUnknown> control = createControl(page);
        const ComPtr<IProvideClassInfo2> provider = as<IProvideClassInfo2>(control.Get());
        ComPtr<ITypeInfo> info;
        ASSERT_EQ(provider->GetClassInfo(info.GetAddressOf()), S_OK);
        TYPEATTR* attributes = nullptr;
        ASSERT_EQ(info->GetTypeAttr(&attributes), S_OK);
        EXPECT_EQ(attributes->typekind, TKIND_COCLASS) << page.name;
        EXPECT_EQ(attributes->guid, clsidOf(page)) << page.name;
        const UINT implemented = attributes->cImplTypes;
        info->ReleaseTypeAttr(attributes);
        bool defaultFound = false;
        for (UINT i = 0; i < implemented; ++i) {
            INT flags = 0;
            HREFTYPE reference = 0;
            ComPtr<ITypeInfo> implementedInfo;
            ASSERT_EQ(info->GetImplTypeFlags(i, &flags), S_OK);
            if (!(flags & IMPLTYPEFLAG_FDEFAULT))
                continue;
            ASSERT_EQ(info->GetRefTypeOfImplType(i, &reference), S_OK);
            ASSERT_EQ(info->GetRefTypeInfo(reference, implementedInfo.GetAddressOf()), S_OK);
            TYPEATTR* implementedAttributes = nullptr;
            ASSERT_EQ(implementedInfo->GetTypeAttr(&implementedAttributes), S_OK);
            EXPECT_EQ(implementedAttributes->guid, IID_IDtmActiveXControl) << page.name;
            implementedInfo->ReleaseTypeAttr(implementedAttributes);
            defaultFound = true;
        }
        EXPECT_TRUE(defaultFound) << page.name;
        GUID source = IID_IDtm;
        EXPECT_EQ(provider->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID, &source), E_NOTIMPL);
        EXPECT_EQ(source, GUID_NULL);
        EXPECT_EQ(provider->GetGUID(7, &source), E_INVALIDARG);
        EXPECT_EQ(provider->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID, nullptr), E_POINTER);
        EXPECT_EQ(provider->GetClassInfo(nullptr), E_POINTER);
    }
}

TEST_F(OleControlTest, DispatchIsIDtmActiveXControlAndInitRunsByDispid)
{
    start();
    const ComPtr<IUnknown> control = createControl(kMonitor);
    const ComPtr<IDispatch> dispatch = as<IDispatch>(control.Get());
    ComPtr<ITypeInfo> info;
    ASSERT_EQ(dispatch->GetTypeInfo(0, 0, info.GetAddressOf()), S_OK);
    TYPEATTR* attributes = nullptr;
    ASSERT_EQ(info->GetTypeAttr(&attributes), S_OK);
    EXPECT_EQ(attributes->guid, IID_IDtmActiveXControl);
    info->ReleaseTypeAttr(attributes);
    LPOLESTR name = const_cast<LPOLESTR>(L"Init");
    DISPID id = 0;
    ASSERT_EQ(dispatch->GetIDsOfNames(IID_NULL, &name, 1, 0, &id), S_OK);
    EXPECT_EQ(id, 1);

    // Init(invokeId, functionCall, dtm): the arguments in reverse order.
    ComPtr<IDispatch> dtmDispatch;
    ASSERT_EQ(dtm.As(&dtmDispatch), S_OK);
    VARIANT arguments[3];
    for (VARIANT& argument : arguments)
        VariantInit(&argument);
    arguments[0].vt = VT_DISPATCH;
    arguments[0].pdispVal = dtmDispatch.Get();
    arguments[1].vt = VT_BSTR;
    arguments[1].bstrVal = SysAllocString(platform::toWide(functionCall("30")).c_str());
    arguments[2].vt = VT_BSTR;
    arguments[2].bstrVal = SysAllocString(L"{8D3F2A10-0000-4000-8000-000000000030}");
    DISPPARAMS parameters{arguments, nullptr, 3, 0};
    com::ScopedVariant result;
    ASSERT_EQ(dispatch->Invoke(id, IID_NULL, 0, DISPATCH_METHOD, &parameters, result.get(), nullptr, nullptr), S_OK);
    EXPECT_EQ(result.value().vt, VT_BOOL);
    EXPECT_EQ(result.value().boolVal, VARIANT_TRUE);
    SysFreeString(arguments[1].bstrVal);
    SysFreeString(arguments[2].bstrVal);

    VARIANT_BOOL released = VARIANT_FALSE;
    EXPECT_EQ(as<IDtmActiveXControl>(control.Get())->PrepareToRelease(&released), S_OK);
    EXPECT_EQ(released, VARIANT_TRUE);
}

TEST_F(OleControlTest, InitRegistersThePageAndPrepareToReleaseTellsTheFrame)
{
    startWithInterfaceLines();
    const ComPtr<IUnknown> control = createControl(kMonitor);
    const ComPtr<TestSite> site = TestSite::create(kPlace);
    const ComPtr<IOleObject> object = as<IOleObject>(control.Get());
    ASSERT_EQ(object->SetClientSite(site.Get()), S_OK);
    ASSERT_EQ(object->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, site.Get(), 0, site->window(), &kPlace), S_OK);
    HWND window = nullptr;
    ASSERT_EQ(as<IOleInPlaceObject>(control.Get())->GetWindow(&window), S_OK);

    // Not open: the DTM's lines do not reach it; an object that is no DTM opens nothing.
    monitorMessage("before Init");
    EXPECT_EQ(monitorText(window).find(L"before Init"), std::wstring::npos);
    VARIANT_BOOL ok = VARIANT_TRUE;
    auto* notADtm = reinterpret_cast<IDtm*>(static_cast<IOleClientSite*>(site.Get()));
    EXPECT_EQ(as<IDtmActiveXControl>(control.Get())->Init(Bstr("{1}").get(), Bstr("").get(), notADtm, &ok), S_OK);
    EXPECT_EQ(ok, VARIANT_FALSE);
    monitorMessage("after a failed Init");
    EXPECT_EQ(monitorText(window).find(L"after a failed Init"), std::wstring::npos);

    const char* invokeId = "{8D3F2A10-0000-4000-8000-000000000031}";
    ASSERT_EQ(init(control.Get(), invokeId), VARIANT_TRUE);
    monitorMessage("after Init");
    EXPECT_NE(monitorText(window).find(L"after Init"), std::wstring::npos);

    VARIANT_BOOL released = VARIANT_FALSE;
    frame->events.clear();
    ASSERT_EQ(as<IDtmActiveXControl>(control.Get())->PrepareToRelease(&released), S_OK);
    EXPECT_EQ(released, VARIANT_TRUE);
    EXPECT_EQ(frame->events, (std::vector<fakes::Call>{{"OnApplicationClosed", {invokeId}}}));
    monitorMessage("after PrepareToRelease");
    EXPECT_EQ(monitorText(window).find(L"after PrepareToRelease"), std::wstring::npos);

    EXPECT_EQ(object->Close(OLECLOSE_NOSAVE), S_OK);
    EXPECT_EQ(object->SetClientSite(nullptr), S_OK);
}

TEST_F(OleControlTest, AWindowTheFrameDestroysLeavesAPageThatDropsLines)
{
    startWithInterfaceLines();
    ComPtr<IUnknown> control = createControl(kMonitor);
    ComPtr<TestSite> site = TestSite::create(kPlace);
    ComPtr<IOleObject> object = as<IOleObject>(control.Get());
    ASSERT_EQ(object->SetClientSite(site.Get()), S_OK);
    ASSERT_EQ(object->DoVerb(OLEIVERB_UIACTIVATE, nullptr, site.Get(), 0, site->window(), &kPlace), S_OK);
    ASSERT_EQ(init(control.Get(), "{8D3F2A10-0000-4000-8000-000000000032}"), VARIANT_TRUE);
    HWND window = nullptr;
    ASSERT_EQ(as<IOleInPlaceObject>(control.Get())->GetWindow(&window), S_OK);

    // The frame destroys its window, and with it the page's, without PrepareToRelease.
    DestroyWindow(site->window());
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(as<IOleInPlaceObject>(control.Get())->GetWindow(&window), E_FAIL);
    monitorMessage("into no window");
    EXPECT_GT(pixelsDrawn(*as<IViewObject2>(control.Get()).Get(), kMagenta), 0);
    const RECT moved{0, 0, 100, 100};
    EXPECT_EQ(as<IOleInPlaceObject>(control.Get())->SetObjectRects(&moved, &moved), S_OK);

    // Activated again in a new frame window, it shows the lines sent after.
    const ComPtr<TestSite> second = TestSite::create(kPlace);
    ASSERT_EQ(object->SetClientSite(second.Get()), S_OK);
    EXPECT_EQ(as<IOleInPlaceObject>(control.Get())->InPlaceDeactivate(), S_OK);
    ASSERT_EQ(object->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, second.Get(), 0, second->window(), &kPlace), S_OK);
    ASSERT_EQ(as<IOleInPlaceObject>(control.Get())->GetWindow(&window), S_OK);
    monitorMessage("into the new window");
    EXPECT_NE(monitorText(window).find(L"into the new window"), std::wstring::npos);
    EXPECT_EQ(monitorText(window).find(L"into no window"), std::wstring::npos);

    // The frame's last reference closes the window; the DTM's lines go nowhere.
    EXPECT_EQ(object->SetClientSite(nullptr), S_OK);
    object.Reset();
    control.Reset();
    EXPECT_FALSE(IsWindow(window));
    monitorMessage("after the last reference");
    site.Reset();
    expectUnloadable();
}

TEST_F(OleControlTest, APageOutlivingItsDtmNeitherBreaksNorKeepsIt)
{
    startWithInterfaceLines();
    ComPtr<IUnknown> control = createControl(kMonitor);
    ASSERT_EQ(init(control.Get(), "{8D3F2A10-0000-4000-8000-000000000034}"), VARIANT_TRUE);
    // The frame lets go of the DTM first; the page is still called, and then released.
    dtm.Reset();
    EXPECT_EQ(as<IZeb2hartActiveXGUI>(control.Get())->UpdateLanguage(), S_OK);
    EXPECT_EQ(as<IZeb2hartMonitorPage>(control.Get())->MessageLine(Bstr("late").get(), 0x00FF00), S_OK);
    VARIANT_BOOL released = VARIANT_FALSE;
    EXPECT_EQ(as<IDtmActiveXControl>(control.Get())->PrepareToRelease(&released), S_OK);
    control.Reset();
    expectUnloadable();
}

TEST_F(OleControlTest, TheMonitorKeepsABoundedViewOfHugeInput)
{
    const ComPtr<IUnknown> control = createControl(kMonitor);
    const ComPtr<TestSite> site = TestSite::create(kPlace);
    const ComPtr<IOleObject> object = as<IOleObject>(control.Get());
    ASSERT_EQ(object->SetClientSite(site.Get()), S_OK);
    ASSERT_EQ(object->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, site.Get(), 0, site->window(), &kPlace), S_OK);
    HWND window = nullptr;
    ASSERT_EQ(as<IOleInPlaceObject>(control.Get())->GetWindow(&window), S_OK);
    const ComPtr<IZeb2hartMonitorPage> monitor = as<IZeb2hartMonitorPage>(control.Get());

    // One line of a megabyte is cut to the line length.
    ASSERT_EQ(monitor->MessageLine(Bstr(std::string(1 << 20, 'x')).get(), 0x0000FF), S_OK);
    EXPECT_LE(monitorText(window).size(), static_cast<size_t>(pages::kMonitorLineLength) + 2);
    // More lines than the view keeps, in one call: the oldest go, the last is there.
    std::string many;
    for (int line = 0; line < pages::kMonitorLineLimit + 600; ++line)
        many += "line " + std::to_string(line) + "\n";
    many += "the last line";
    ASSERT_EQ(monitor->MessageLine(Bstr(many).get(), 0x00FF00), S_OK);
    const std::wstring shown = monitorText(window);
    EXPECT_LE(std::count(shown.begin(), shown.end(), L'\r'), pages::kMonitorLineLimit);
    EXPECT_NE(shown.find(L"the last line"), std::wstring::npos);
    EXPECT_EQ(shown.find(L"line 0\r"), std::wstring::npos);
    EXPECT_EQ(object->Close(OLECLOSE_NOSAVE), S_OK);
    EXPECT_EQ(object->SetClientSite(nullptr), S_OK);
}

// Wine's own ATL as the container: AtlAxCreateControlEx by ProgID in a top-level window.
class AtlHost {
public:
    AtlHost() : m_module(LoadLibraryW(L"atl100.dll"))
    {
        if (!m_module)
            return;
        const auto initialise = reinterpret_cast<BOOL(WINAPI*)()>(
            reinterpret_cast<void*>(GetProcAddress(m_module, "AtlAxWinInit")));
        m_create = reinterpret_cast<CreateControl>(
            reinterpret_cast<void*>(GetProcAddress(m_module, "AtlAxCreateControlEx")));
        if (!initialise || !m_create || !initialise())
            m_create = nullptr;
    }
    ~AtlHost()
    {
        if (m_module)
            FreeLibrary(m_module);
    }
    AtlHost(const AtlHost&) = delete;
    AtlHost& operator=(const AtlHost&) = delete;

    bool ready() const { return m_create != nullptr; }
    HRESULT create(const wchar_t* progId, HWND window, ComPtr<IUnknown>& container, ComPtr<IUnknown>& control) const
    {
        return m_create(progId, window, nullptr, container.GetAddressOf(), control.GetAddressOf(), IID_NULL, nullptr);
    }

private:
    using CreateControl = HRESULT(WINAPI*)(LPCOLESTR, HWND, IStream*, IUnknown**, IUnknown**, REFIID, IUnknown*);
    HMODULE m_module;
    CreateControl m_create = nullptr;
};

TEST_F(OleControlTest, WinesAtlHostsEachPageByProgId)
{
    start();
    const AtlHost atl;
    ASSERT_TRUE(atl.ready());
    for (const PageCase& page : kPages) {
        HWND top = CreateWindowExW(0, L"STATIC", L"host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 640, 480, nullptr,
                                   nullptr, nullptr, nullptr);
        ASSERT_TRUE(top);
        {
            ComPtr<IUnknown> container, control;
            ASSERT_EQ(atl.create(page.progId, top, container, control), S_OK) << page.name;
            ASSERT_TRUE(control) << page.name;
            pumpMessages();
            const ComPtr<IDtmActiveXControl> fdtControl = as<IDtmActiveXControl>(control.Get());
            ASSERT_TRUE(fdtControl);
            EXPECT_EQ(init(control.Get(), "{8D3F2A10-0000-4000-8000-000000000033}"), VARIANT_TRUE) << page.name;
            HWND window = nullptr;
            ASSERT_EQ(as<IOleInPlaceObject>(control.Get())->GetWindow(&window), S_OK) << page.name;
            EXPECT_TRUE(IsChild(top, window));

            // The host follows its window's size.
            MoveWindow(top, 0, 0, 500, 400, TRUE);
            pumpMessages();
            RECT client{}, shown{};
            GetClientRect(top, &client);
            GetClientRect(window, &shown);
            EXPECT_EQ(shown.right - shown.left, client.right - client.left) << page.name;
            EXPECT_EQ(shown.bottom - shown.top, client.bottom - client.top) << page.name;

            VARIANT_BOOL released = VARIANT_FALSE;
            EXPECT_EQ(fdtControl->PrepareToRelease(&released), S_OK);
            EXPECT_EQ(released, VARIANT_TRUE);
            DestroyWindow(top);
            pumpMessages();
            EXPECT_FALSE(IsWindow(window)) << page.name;
        }
    }
    expectUnloadable();
}

} // namespace
} // namespace zeb2hart::test
