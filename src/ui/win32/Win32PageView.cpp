#include "platform/win32/WindowsApi.h"

#include "ui/win32/Win32PageView.h"

#include <commctrl.h>

#include <algorithm>
#include <map>
#include <mutex>
#include <optional>
#include <tuple>

#include "pages/OfflineParamLogic.h"
#include "pages/PageLayout.h"
#include "platform/Paths.h"
#include "platform/Services.h"
#include "support/Conversions.h"
#include "ui/win32/GdiObjects.h"
#include "ui/win32/MonitorBox.h"
#include "ui/win32/WicPicture.h"

namespace zeb2hart::ui::win32 {

using pages::ControlKind;
using pages::TwipRect;
using pages::TwipSize;

namespace {

constexpr wchar_t kPageClass[] = L"ZEB2HARTGatewayPage";
constexpr wchar_t kPanelClass[] = L"ZEB2HARTGatewayPanel";
constexpr int kTwipsPerInch = 1440;
// The height of a drop-down list's open list, in entries.
constexpr int kComboListEntries = 8;
// The subclass of the delay box.
constexpr UINT_PTR kDelayBoxSubclass = 1;

HINSTANCE moduleInstance()
{
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&moduleInstance), &module);
    return module;
}

// The window classes and the RichEdit library are the module's, shared by
// the views of every thread: registered and loaded with the first view and
// given back with the last (so that the DLL can unload), under this lock.
std::mutex g_classLock;
long g_views = 0;

LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

void acquireClasses()
{
    const std::lock_guard lock(g_classLock);
    if (g_views++ > 0)
        return;
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = &windowProcedure;
    windowClass.hInstance = moduleInstance();
    windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)); // IDC_ARROW
    for (const wchar_t* name : {kPageClass, kPanelClass}) {
        windowClass.lpszClassName = name;
        RegisterClassExW(&windowClass);
    }
    loadRichEdit();
}

void releaseClasses()
{
    const std::lock_guard lock(g_classLock);
    if (--g_views > 0)
        return;
    UnregisterClassW(kPageClass, moduleInstance());
    UnregisterClassW(kPanelClass, moduleInstance());
    unloadRichEdit();
}

COLORREF colorOf(std::uint32_t bgr)
{
    return static_cast<COLORREF>(bgr & 0xFFFFFF);
}

} // namespace

namespace {

// What the view holds of one control, with or without a window.
struct Control {
    HWND window = nullptr;
    TwipRect rect;
    std::string text;
    bool checked = false;
    std::vector<std::string> items;
    int selected = -1;
    std::optional<WicPicture> picture; // the headline's logo, or a Picture's image
    std::unique_ptr<MonitorBox> monitor;
};

// The view's state and its windows' behaviour.
struct ViewState {
    explicit ViewState(const pages::PageTable& pageTable) : table(pageTable), controls(pageTable.controls.size()) {}

    const pages::PageTable& table;
    pages::PageEvents* events = nullptr;
    std::vector<Control> controls;
    HWND window = nullptr;
    int dpiX = 96;
    int dpiY = 96;
    TwipSize size;
    // Above 0 while the view changes its own controls: what they report then
    // is no user's action.
    int quiet = 0;
    // The page window is being destroyed: its controls report nothing more.
    bool destroying = false;
    // The notification that reported the last choice made with a combo box's list closed.
    struct ClosedChoice {
        UINT code = 0;
        int position = -1;
    } closedChoice;
    std::map<std::tuple<int, bool, bool, int>, GdiObject<HFONT>> fonts; // (size in 1/100 pt, bold, monitor, dpi)
    std::map<COLORREF, GdiObject<HBRUSH>> brushes;

    const pages::ControlInfo& info(int row) const { return table.controls[static_cast<std::size_t>(row)]; }
    bool valid(int row) const { return row >= 0 && static_cast<std::size_t>(row) < controls.size(); }

    int toPixelsX(int twips) const { return MulDiv(twips, dpiX, kTwipsPerInch); }
    int toPixelsY(int twips) const { return MulDiv(twips, dpiY, kTwipsPerInch); }
    int toTwipsX(int pixels) const { return MulDiv(pixels, kTwipsPerInch, dpiX); }
    int toTwipsY(int pixels) const { return MulDiv(pixels, kTwipsPerInch, dpiY); }

    HFONT font(double pointSize, bool bold, bool monitor)
    {
        const auto key = std::make_tuple(static_cast<int>(pointSize * 100 + 0.5), bold, monitor, dpiY);
        auto found = fonts.find(key);
        if (found == fonts.end()) {
            LOGFONTW font{};
            font.lfHeight = -MulDiv(std::get<0>(key), dpiY, 7200);
            font.lfWeight = bold ? FW_BOLD : FW_NORMAL;
            font.lfCharSet = DEFAULT_CHARSET;
            font.lfPitchAndFamily = static_cast<BYTE>(monitor ? (FIXED_PITCH | FF_MODERN) : (VARIABLE_PITCH | FF_SWISS));
            wcscpy(font.lfFaceName, monitor ? L"Courier New" : L"Arial");
            found = fonts.emplace(key, GdiObject<HFONT>(CreateFontIndirectW(&font))).first;
        }
        return found->second.get();
    }
    HFONT font(int row) { return font(info(row).style.pointSize, info(row).style.bold, false); }

    HBRUSH brush(COLORREF color)
    {
        auto found = brushes.find(color);
        if (found == brushes.end())
            found = brushes.emplace(color, GdiObject<HBRUSH>(CreateSolidBrush(color))).first;
        return found->second.get();
    }

    // The colour a control stands on: its container's, or the page's.
    std::uint32_t containerColor(int row) const
    {
        const int container = info(row).container;
        return container < 0 ? support::kPageBlue : info(container).style.background;
    }
    HWND containerWindow(int row) const
    {
        const int container = info(row).container;
        return valid(container) && controls[static_cast<std::size_t>(container)].window != nullptr
                   ? controls[static_cast<std::size_t>(container)].window
                   : window;
    }
    Control& control(int row) { return controls[static_cast<std::size_t>(row)]; }
    const Control& control(int row) const { return controls[static_cast<std::size_t>(row)]; }

    int rowOf(HWND child) const
    {
        const auto id = static_cast<int>(GetWindowLongPtrW(child, GWLP_ID)) - 1;
        return valid(id) && controls[static_cast<std::size_t>(id)].window == child ? id : -1;
    }

    // Tells the page; a handler's exception may not unwind through the system's dispatch.
    template <class Call>
    void notify(Call call)
    {
        if (events == nullptr || quiet > 0 || destroying)
            return;
        try {
            call(*events);
        } catch (...) {
        }
    }

    void makeControl(int row);
    void show(int row);
    void position(int row);
    void forgetWindows();
    LRESULT handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void command(HWND child, UINT code);
    void paint(HWND window, HDC dc);
    RECT logoRect(int row) const;
};

// The view behind one of its windows: set at WM_NCCREATE, cleared at WM_NCDESTROY.
LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* state = reinterpret_cast<ViewState*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (state == nullptr)
        return DefWindowProcW(window, message, wParam, lParam);
    if (message == WM_NCDESTROY)
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    return state->handle(window, message, wParam, lParam);
}

// The delay box: of the characters typed only digits and Backspace pass, and
// its key releases are reported. A shortcut with Ctrl types no character: it
// edits (Ctrl+A selects all, Ctrl+V pastes), as in the Qt page. No context menu.
LRESULT CALLBACK delayBoxProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                   DWORD_PTR data)
{
    auto* state = reinterpret_cast<ViewState*>(data);
    switch (message) {
    case WM_CHAR: {
        const bool shortcut = wParam < 0x20 && wParam != 8 && GetKeyState(VK_CONTROL) < 0;
        if (shortcut && wParam == 1) {
            SendMessageW(window, EM_SETSEL, 0, -1);
            return 0;
        }
        if (!shortcut && !pages::isDelayCharacterAccepted(static_cast<char32_t>(wParam)))
            return 0;
        break;
    }
    case WM_CONTEXTMENU:
        return 0;
    case WM_KEYUP: {
        const LRESULT result = DefSubclassProc(window, message, wParam, lParam);
        const int row = state->rowOf(window);
        if (row >= 0)
            state->notify([row](pages::PageEvents& events) { events.keyReleased(row); });
        return result;
    }
    case WM_NCDESTROY:
        RemoveWindowSubclass(window, &delayBoxProcedure, kDelayBoxSubclass);
        break;
    default:
        break;
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

} // namespace

void ViewState::makeControl(int row)
{
    const pages::ControlInfo& control = info(row);
    HWND parent = containerWindow(row);
    const HINSTANCE instance = moduleInstance();
    const auto id = reinterpret_cast<HMENU>(static_cast<INT_PTR>(row + 1));
    constexpr DWORD kChild = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
    const std::wstring text = platform::toWide(this->control(row).text);
    HWND made = nullptr;
    switch (control.kind) {
    case ControlKind::Headline:
    case ControlKind::Panel:
    case ControlKind::Label:
    case ControlKind::Picture:
    case ControlKind::Line:
        made = CreateWindowExW(0, kPanelClass, text.c_str(), kChild | WS_CLIPCHILDREN, 0, 0, 0, 0, parent, id,
                               instance, this);
        break;
    case ControlKind::CheckBox:
        made = CreateWindowExW(0, L"BUTTON", text.c_str(), kChild | WS_TABSTOP | BS_AUTOCHECKBOX, 0, 0, 0, 0, parent,
                               id, instance, nullptr);
        break;
    case ControlKind::Button:
        made = CreateWindowExW(0, L"BUTTON", text.c_str(), kChild | WS_TABSTOP | BS_PUSHBUTTON, 0, 0, 0, 0, parent,
                               id, instance, nullptr);
        break;
    case ControlKind::ComboBox:
        made = CreateWindowExW(0, L"COMBOBOX", L"", kChild | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, 0, 0, 0, 0,
                               parent, id, instance, nullptr);
        break;
    case ControlKind::DelayBox:
        made = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", text.c_str(), kChild | WS_TABSTOP | ES_AUTOHSCROLL, 0, 0,
                               0, 0, parent, id, instance, nullptr);
        if (made != nullptr)
            SetWindowSubclass(made, &delayBoxProcedure, kDelayBoxSubclass, reinterpret_cast<DWORD_PTR>(this));
        break;
    case ControlKind::Monitor: {
        auto box = std::make_unique<MonitorBox>(parent, row + 1, font(control.style.pointSize, false, true));
        made = box->window();
        if (made != nullptr)
            this->control(row).monitor = std::move(box);
        break;
    }
    }
    this->control(row).window = made;
    if (made != nullptr && control.kind != ControlKind::Monitor)
        SendMessageW(made, WM_SETFONT, reinterpret_cast<WPARAM>(font(row)), FALSE);
}

// Shows in the control's window what the view holds (the window is new).
void ViewState::show(int row)
{
    Control& shown = control(row);
    HWND window = shown.window;
    if (window == nullptr)
        return;
    switch (info(row).kind) {
    case ControlKind::CheckBox:
        SendMessageW(window, BM_SETCHECK, shown.checked ? BST_CHECKED : BST_UNCHECKED, 0);
        break;
    case ControlKind::ComboBox:
        for (const std::string& item : shown.items)
            SendMessageW(window, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(platform::toWide(item).c_str()));
        SendMessageW(window, CB_SETCURSEL, static_cast<WPARAM>(shown.selected), 0);
        break;
    default:
        break;
    }
    position(row);
}

void ViewState::position(int row)
{
    HWND window = control(row).window;
    if (window == nullptr)
        return;
    const TwipRect& rect = control(row).rect;
    int height = toPixelsY(rect.height);
    if (info(row).kind == ControlKind::ComboBox) {
        // The window's height is that of the open list; its closed height follows its font.
        const auto item = SendMessageW(window, CB_GETITEMHEIGHT, 0, 0);
        height += static_cast<int>(std::max<LRESULT>(item, 1)) * kComboListEntries;
    }
    SetWindowPos(window, nullptr, toPixelsX(rect.left), toPixelsY(rect.top), toPixelsX(rect.width), height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(window, nullptr, TRUE);
}

void ViewState::forgetWindows()
{
    for (Control& forgotten : controls) {
        forgotten.window = nullptr;
        forgotten.monitor.reset();
    }
    window = nullptr;
    destroying = false;
}

RECT ViewState::logoRect(int row) const
{
    const Control& headline = control(row);
    RECT client{};
    GetClientRect(headline.window, &client);
    if (!headline.picture)
        return {};
    const SIZE size = headline.picture->size;
    const int left = toPixelsX(pages::headlineLogoLeft(toTwipsX(client.right), toTwipsX(size.cx)));
    const int top = (client.bottom - size.cy) / 2;
    return {left, top, left + size.cx, top + size.cy};
}

void ViewState::paint(HWND painted, HDC dc)
{
    RECT client{};
    GetClientRect(painted, &client);
    if (painted == window) {
        FillRect(dc, &client, brush(colorOf(support::kPageBlue)));
        return;
    }
    const int row = rowOf(painted);
    if (row < 0)
        return;
    const pages::ControlStyle& style = info(row).style;
    const Control& shown = control(row);
    switch (info(row).kind) {
    case ControlKind::Panel:
        FillRect(dc, &client, brush(colorOf(style.background)));
        break;
    case ControlKind::Line:
        FillRect(dc, &client, brush(colorOf(style.textColor)));
        break;
    case ControlKind::Label: {
        FillRect(dc, &client, brush(colorOf(style.transparent ? containerColor(row) : style.background)));
        const std::wstring text = platform::toWide(shown.text);
        const HGDIOBJ old = SelectObject(dc, font(row));
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, colorOf(style.textColor));
        RECT area = client;
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &area,
                  DT_NOPREFIX | (style.wordWrap ? DT_WORDBREAK : DT_SINGLELINE));
        SelectObject(dc, old);
        break;
    }
    case ControlKind::Picture:
        FillRect(dc, &client, brush(colorOf(containerColor(row))));
        if (shown.picture)
            shown.picture->draw(dc, 0, 0);
        break;
    case ControlKind::Headline: {
        FillRect(dc, &client, brush(colorOf(style.background)));
        const RECT logo = logoRect(row);
        if (shown.picture)
            shown.picture->draw(dc, logo.left, logo.top);
        const std::wstring title = platform::toWide(shown.text);
        const int left = toPixelsX(120);
        RECT area{left, 0, std::max<LONG>(left, (shown.picture ? logo.left : client.right) - toPixelsX(240)),
                  client.bottom};
        const HGDIOBJ old = SelectObject(dc, font(row));
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, colorOf(style.textColor));
        DrawTextW(dc, title.c_str(), static_cast<int>(title.size()), &area,
                  DT_NOPREFIX | DT_SINGLELINE | DT_VCENTER | DT_LEFT);
        SelectObject(dc, old);
        break;
    }
    default:
        break;
    }
}

void ViewState::command(HWND child, UINT code)
{
    const int row = rowOf(child);
    if (row < 0)
        return;
    Control& changed = control(row);
    switch (info(row).kind) {
    case ControlKind::CheckBox:
        if (code == BN_CLICKED) {
            changed.checked = SendMessageW(child, BM_GETCHECK, 0, 0) == BST_CHECKED;
            notify([row](pages::PageEvents& events) { events.clicked(row); });
        }
        break;
    case ControlKind::Button:
        if (code == BN_CLICKED)
            notify([row](pages::PageEvents& events) { events.clicked(row); });
        break;
    case ControlKind::ComboBox: {
        // A choice in the open list ends with CBN_SELENDOK (also for the entry
        // already selected). With the list closed the arrow keys choose at
        // once, with both notifications (Wine sends CBN_SELENDOK, then
        // CBN_SELCHANGE): the second of such a pair is the same choice.
        if (code != CBN_SELCHANGE && code != CBN_SELENDOK)
            break;
        const bool dropped = SendMessageW(child, CB_GETDROPPEDSTATE, 0, 0) != 0;
        const auto position = static_cast<int>(SendMessageW(child, CB_GETCURSEL, 0, 0));
        bool chosen = false;
        if (dropped) {
            chosen = code == CBN_SELENDOK;
            closedChoice = {};
        } else {
            chosen = closedChoice.code == 0 || closedChoice.code == code || closedChoice.position != position;
            closedChoice = chosen ? ClosedChoice{code, position} : ClosedChoice{};
        }
        if (chosen) {
            changed.selected = position;
            if (position >= 0)
                notify([row, position](pages::PageEvents& events) { events.chosen(row, position); });
        }
        break;
    }
    case ControlKind::DelayBox:
        if (code == EN_CHANGE && quiet == 0) {
            const int length = GetWindowTextLengthW(child);
            std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
            text.resize(static_cast<std::size_t>(GetWindowTextW(child, text.data(), length + 1)));
            changed.text = platform::fromWide(text);
            notify([row](pages::PageEvents& events) { events.edited(row); });
        }
        break;
    default:
        break;
    }
}

LRESULT ViewState::handle(HWND handled, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_NCCREATE:
        // The page window knows its view before its first WM_SIZE.
        if (GetWindowLongPtrW(handled, GWLP_ID) == 0 && (GetWindowLongW(handled, GWL_STYLE) & WS_CHILD) &&
            window == nullptr)
            window = handled;
        break;
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        PAINTSTRUCT paintStruct;
        HDC dc = BeginPaint(handled, &paintStruct);
        paint(handled, dc);
        EndPaint(handled, &paintStruct);
        return 0;
    }
    case WM_PRINTCLIENT:
        paint(handled, reinterpret_cast<HDC>(wParam));
        return 0;
    case WM_COMMAND:
        if (lParam != 0 && !destroying)
            command(reinterpret_cast<HWND>(lParam), HIWORD(wParam));
        return 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: {
        const int row = rowOf(reinterpret_cast<HWND>(lParam));
        if (row < 0)
            break;
        const std::uint32_t color =
            info(row).kind == ControlKind::CheckBox ? info(row).style.background : containerColor(row);
        SetBkColor(reinterpret_cast<HDC>(wParam), colorOf(color));
        return reinterpret_cast<LRESULT>(brush(colorOf(color)));
    }
    case WM_LBUTTONUP: {
        const int row = rowOf(handled);
        if (row >= 0 && info(row).kind == ControlKind::Headline && control(row).picture) {
            const RECT logo = logoRect(row);
            const POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
            if (PtInRect(&logo, point))
                notify([row](pages::PageEvents& events) { events.clicked(row); });
        }
        return 0;
    }
    case WM_TIMER: {
        // A monitor box's lines wait to be drawn.
        const int row = static_cast<int>(wParam) - 1;
        if (valid(row) && control(row).monitor)
            control(row).monitor->refresh();
        else
            KillTimer(handled, wParam);
        return 0;
    }
    case WM_SIZE:
        if (handled == window) {
            size = {toTwipsX(LOWORD(lParam)), toTwipsY(HIWORD(lParam))};
            notify([](pages::PageEvents& events) { events.resized(); });
            return 0;
        }
        InvalidateRect(handled, nullptr, FALSE);
        return 0;
    case WM_DESTROY:
        if (handled == window)
            destroying = true;
        break;
    case WM_NCDESTROY:
        // The frame may destroy the page window (or its parent) at any time:
        // from here on no window of the view is touched.
        if (handled == window)
            forgetWindows();
        break;
    default:
        break;
    }
    return DefWindowProcW(handled, message, wParam, lParam);
}

// --- Win32PageView -------------------------------------------------------------------------

struct Win32PageView::State : ViewState {
    using ViewState::ViewState;
};

Win32PageView::Win32PageView(const pages::PageTable& table) : m_state(std::make_unique<State>(table))
{
    acquireClasses();
    for (std::size_t row = 0; row < table.controls.size(); ++row) {
        const pages::ControlInfo& info = table.controls[row];
        if (info.caption != nullptr)
            m_state->controls[row].text = info.caption;
        if (info.kind == ControlKind::Headline)
            m_state->controls[row].picture = WicPicture::load(
                platform::services().componentFolder / "Resources" / "manufacturer_logo.bmp", info.style.background);
    }
}

Win32PageView::~Win32PageView()
{
    destroyWindow();
    m_state.reset();
    releaseClasses();
}

HWND Win32PageView::createWindow(HWND parent, const RECT& rect)
{
    destroyWindow();
    State& state = *m_state;
    ++state.quiet;
    HWND made = CreateWindowExW(0, kPageClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
                                rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, parent, nullptr,
                                moduleInstance(), static_cast<ViewState*>(&state));
    if (made == nullptr) {
        state.window = nullptr;
        --state.quiet;
        return nullptr;
    }
    state.window = made;
    HDC dc = GetDC(made);
    state.dpiX = std::max(1, GetDeviceCaps(dc, LOGPIXELSX));
    state.dpiY = std::max(1, GetDeviceCaps(dc, LOGPIXELSY));
    ReleaseDC(made, dc);
    RECT client{};
    GetClientRect(made, &client);
    state.size = {state.toTwipsX(client.right), state.toTwipsY(client.bottom)};
    for (int row = 0; row < static_cast<int>(state.controls.size()); ++row) {
        state.makeControl(row);
        state.show(row);
    }
    --state.quiet;
    // The page lays its controls out for the new window's size.
    state.notify([](pages::PageEvents& events) { events.resized(); });
    return state.window;
}

void Win32PageView::destroyWindow()
{
    if (m_state->window != nullptr)
        DestroyWindow(m_state->window); // WM_NCDESTROY forgets every window
    m_state->forgetWindows();
}

HWND Win32PageView::window() const
{
    return m_state->window;
}

void Win32PageView::setWindowRect(const RECT& rect)
{
    if (m_state->window != nullptr)
        SetWindowPos(m_state->window, nullptr, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32PageView::draw(HDC dc, const RECT& bounds)
{
    State& state = *m_state;
    if (state.window == nullptr) {
        FillRect(dc, &bounds, state.brush(colorOf(support::kPageBlue)));
        return;
    }
    for (Control& control : state.controls) {
        if (control.monitor) {
            control.monitor->refresh();
            // Painted as it now is, before it prints itself: a RichEdit box
            // prints the place it last painted at.
            UpdateWindow(control.window);
        }
    }
    // Each window prints itself into a bitmap of its own at (0, 0), copied into
    // its place and clipped to its container's visible part: the system's own
    // printing of child windows is not reliable (Wine prints none).
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, bounds.left, bounds.top, bounds.right, bounds.bottom);
    auto print = [&](HWND window, const RECT& visible) {
        RECT frame{};
        GetWindowRect(window, &frame);
        MapWindowPoints(HWND_DESKTOP, state.window, reinterpret_cast<POINT*>(&frame), 2);
        RECT shown{};
        if (!IntersectRect(&shown, &frame, &visible))
            return RECT{};
        const int width = frame.right - frame.left;
        const int height = frame.bottom - frame.top;
        HDC memory = CreateCompatibleDC(dc);
        GdiObject<HBITMAP> bitmap(CreateCompatibleBitmap(dc, width, height));
        const HGDIOBJ old = SelectObject(memory, bitmap.get());
        SendMessageW(window, WM_PRINT, reinterpret_cast<WPARAM>(memory),
                     PRF_NONCLIENT | PRF_CLIENT | PRF_ERASEBKGND);
        BitBlt(dc, bounds.left + shown.left, bounds.top + shown.top, shown.right - shown.left,
               shown.bottom - shown.top, memory, shown.left - frame.left, shown.top - frame.top, SRCCOPY);
        SelectObject(memory, old);
        DeleteDC(memory);
        return shown;
    };
    RECT page{};
    GetClientRect(state.window, &page);
    const RECT pageShown = print(state.window, page);
    std::vector<RECT> visible(state.controls.size());
    for (int row = 0; row < static_cast<int>(state.controls.size()); ++row) {
        HWND window = state.control(row).window;
        const int container = state.info(row).container;
        const RECT& inside = state.valid(container) ? visible[static_cast<std::size_t>(container)] : pageShown;
        if (window != nullptr && (GetWindowLongW(window, GWL_STYLE) & WS_VISIBLE))
            visible[static_cast<std::size_t>(row)] = print(window, inside);
    }
    RestoreDC(dc, saved);
}

void Win32PageView::setEvents(pages::PageEvents* events)
{
    m_state->events = events;
}

const pages::PageTable& Win32PageView::table() const
{
    return m_state->table;
}

TwipSize Win32PageView::pageSize() const
{
    return m_state->size;
}

void Win32PageView::place(int row, const TwipRect& rect)
{
    if (!m_state->valid(row))
        return;
    m_state->control(row).rect = rect;
    ++m_state->quiet;
    m_state->position(row);
    --m_state->quiet;
}

void Win32PageView::setText(int row, const std::string& text)
{
    State& state = *m_state;
    if (!state.valid(row))
        return;
    Control& control = state.control(row);
    control.text = text;
    if (control.window == nullptr || state.info(row).kind == ControlKind::Monitor ||
        state.info(row).kind == ControlKind::ComboBox)
        return;
    ++state.quiet;
    const std::wstring shown = platform::toWide(text);
    SetWindowTextW(control.window, shown.c_str());
    // A text box shows a text set from outside with the caret at its end.
    if (state.info(row).kind == ControlKind::DelayBox)
        SendMessageW(control.window, EM_SETSEL, shown.size(), shown.size());
    InvalidateRect(control.window, nullptr, TRUE);
    --state.quiet;
}

std::string Win32PageView::text(int row) const
{
    const State& state = *m_state;
    if (!state.valid(row))
        return {};
    const Control& control = state.control(row);
    if (state.info(row).kind == ControlKind::ComboBox)
        return itemText(row, control.selected);
    return control.text;
}

void Win32PageView::setChecked(int row, bool checked)
{
    State& state = *m_state;
    if (!state.valid(row))
        return;
    Control& control = state.control(row);
    control.checked = checked;
    if (control.window != nullptr && state.info(row).kind == ControlKind::CheckBox) {
        ++state.quiet;
        SendMessageW(control.window, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
        --state.quiet;
    }
}

bool Win32PageView::checked(int row) const
{
    return m_state->valid(row) && m_state->control(row).checked;
}

void Win32PageView::setItems(int row, const std::vector<std::string>& items)
{
    State& state = *m_state;
    if (!state.valid(row))
        return;
    Control& control = state.control(row);
    control.items = items;
    control.selected = -1;
    if (control.window == nullptr || state.info(row).kind != ControlKind::ComboBox)
        return;
    ++state.quiet;
    SendMessageW(control.window, CB_RESETCONTENT, 0, 0);
    for (const std::string& item : items)
        SendMessageW(control.window, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(platform::toWide(item).c_str()));
    --state.quiet;
}

void Win32PageView::select(int row, int position)
{
    State& state = *m_state;
    if (!state.valid(row))
        return;
    Control& control = state.control(row);
    control.selected = position >= 0 && static_cast<std::size_t>(position) < control.items.size() ? position : -1;
    if (control.window == nullptr || state.info(row).kind != ControlKind::ComboBox)
        return;
    ++state.quiet;
    SendMessageW(control.window, CB_SETCURSEL, static_cast<WPARAM>(control.selected), 0);
    --state.quiet;
}

std::string Win32PageView::itemText(int row, int position) const
{
    if (!m_state->valid(row))
        return {};
    const Control& control = m_state->control(row);
    if (position < 0 || static_cast<std::size_t>(position) >= control.items.size())
        return {};
    return control.items[static_cast<std::size_t>(position)];
}

bool Win32PageView::setPicture(int row, const std::filesystem::path& file)
{
    State& state = *m_state;
    if (!state.valid(row))
        return false;
    const ControlKind kind = state.info(row).kind;
    if (kind != ControlKind::Picture && kind != ControlKind::Headline)
        return false;
    const std::uint32_t background =
        kind == ControlKind::Headline ? state.info(row).style.background : state.containerColor(row);
    std::optional<WicPicture> picture = WicPicture::load(file, background);
    if (!picture)
        return false;
    Control& control = state.control(row);
    control.picture = std::move(picture);
    // A picture's window is named after its file, for whoever reads the page's windows.
    if (kind == ControlKind::Picture)
        control.text = platform::utf8Of(file.filename());
    if (control.window != nullptr) {
        if (kind == ControlKind::Picture)
            SetWindowTextW(control.window, platform::toWide(control.text).c_str());
        InvalidateRect(control.window, nullptr, TRUE);
    }
    return true;
}

void Win32PageView::appendLine(int row, const std::string& text, std::uint32_t bgr)
{
    if (!m_state->valid(row) || !m_state->control(row).monitor)
        return;
    Control& control = m_state->control(row);
    control.monitor->append(text, bgr);
    control.window = control.monitor->window(); // made again past its limit
}

void Win32PageView::clearLines(int row)
{
    if (!m_state->valid(row) || !m_state->control(row).monitor)
        return;
    Control& control = m_state->control(row);
    control.monitor->clear();
    control.window = control.monitor->window();
}

std::string Win32PageView::linesText(int row) const
{
    if (m_state->valid(row) && m_state->control(row).monitor)
        return m_state->control(row).monitor->text();
    return {};
}

} // namespace zeb2hart::ui::win32
