#include "scripts/win32/Win32ScriptPages.h"

#include <algorithm>

#include <richedit.h>
#include <wincodec.h>

#include "com/Peer.h"
#include "pages/PageControls.h"
#include "platform/win32/WindowsApi.h"
#include "scripts/KeySequence.h"

namespace zeb2hart::frame {

namespace {

using pages::ControlKind;

const pages::PageTable& tableOf(const std::string& page)
{
    if (page == "monitor")
        return pages::monitorTable();
    if (page == "offline")
        return pages::offlineParamTable();
    return pages::aboutTable();
}

// The vendor's logo, a control of its own in the Qt headline, which the Win32
// headline draws at its right end.
constexpr const char* kLogo = "imgLogo";

// The row of the control with that name, the first of a control array; the
// logo is found as its headline.
int rowOf(const pages::PageTable& table, const std::string& name)
{
    if (name == kLogo)
        return table.find("ctlHeadline");
    for (std::size_t row = 0; row < table.controls.size(); ++row) {
        if (table.controls[row].name == name)
            return static_cast<int>(row);
    }
    return -1;
}

struct ChildSearch {
    int id;
    HWND found;
};

BOOL CALLBACK matchChild(HWND window, LPARAM parameter)
{
    auto& wanted = *reinterpret_cast<ChildSearch*>(parameter);
    if (GetDlgCtrlID(window) != wanted.id)
        return TRUE;
    wanted.found = window;
    return FALSE;
}

HWND childWithId(HWND root, int id)
{
    ChildSearch search{id, nullptr};
    EnumChildWindows(root, matchChild, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::string windowText(HWND window)
{
    const int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), length + 1)));
    return platform::fromWide(text);
}

// The monitor's text with each line break as "\n".
std::string monitorText(HWND window)
{
    std::string text = windowText(window);
    std::string lines;
    lines.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            lines += '\n';
            if (i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else {
            lines += text[i];
        }
    }
    return lines;
}

std::string comboEntry(HWND combo, int position)
{
    const auto length = SendMessageW(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(position), 0);
    if (length == CB_ERR)
        return {};
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(position), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(length));
    return platform::fromWide(text);
}

Json stateOf(const pages::ControlInfo& info, HWND window)
{
    Json state = Json::object();
    switch (info.kind) {
    case ControlKind::CheckBox:
        state["kind"] = "checkbox";
        state["text"] = windowText(window);
        state["checked"] = SendMessageW(window, BM_GETCHECK, 0, 0) == BST_CHECKED;
        break;
    case ControlKind::Button:
        state["kind"] = "button";
        state["text"] = windowText(window);
        break;
    case ControlKind::ComboBox: {
        const int selected = static_cast<int>(SendMessageW(window, CB_GETCURSEL, 0, 0));
        const int count = static_cast<int>(SendMessageW(window, CB_GETCOUNT, 0, 0));
        state["kind"] = "combo";
        state["text"] = selected >= 0 ? comboEntry(window, selected) : std::string();
        state["index"] = selected;
        Json items = Json::array();
        for (int i = 0; i < count; ++i)
            items.push_back(comboEntry(window, i));
        state["items"] = items;
        break;
    }
    case ControlKind::DelayBox:
        state["kind"] = "textbox";
        state["text"] = windowText(window);
        break;
    case ControlKind::Label:
        state["kind"] = "label";
        state["text"] = windowText(window);
        break;
    case ControlKind::Monitor: {
        const std::string text = monitorText(window);
        state["kind"] = "monitor";
        state["text"] = text;
        state["lines"] = static_cast<int>(std::count(text.begin(), text.end(), '\n')) + 1;
        break;
    }
    case ControlKind::Picture:
        // The picture's window is named after the file it shows.
        state["kind"] = "picture";
        state["picture"] = windowText(window);
        break;
    case ControlKind::Headline:
    case ControlKind::Panel:
    case ControlKind::Line:
        state["kind"] = "panel";
        break;
    }
    state["enabled"] = IsWindowEnabled(window) != FALSE;
    // The monitor box suspends its drawing between a burst of lines and its next
    // paint, and a window that does not draw loses its visible style: it is
    // shown when its container is.
    state["visible"] = IsWindowVisible(info.kind == ControlKind::Monitor ? GetParent(window) : window) != FALSE;
    return state;
}

// The colour of each line of the monitor's RichEdit box.
Json lineColors(HWND window)
{
    Json colors = Json::array();
    const int lines = static_cast<int>(SendMessageW(window, EM_GETLINECOUNT, 0, 0));
    CHARRANGE kept{};
    SendMessageW(window, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&kept));
    for (int line = 0; line < lines; ++line) {
        const auto start = static_cast<LONG>(SendMessageW(window, EM_LINEINDEX, static_cast<WPARAM>(line), 0));
        const auto length = static_cast<LONG>(SendMessageW(window, EM_LINELENGTH, static_cast<WPARAM>(start), 0));
        CHARRANGE range{start, start + (length > 0 ? 1 : 0)};
        SendMessageW(window, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
        CHARFORMAT2W format{};
        format.cbSize = sizeof format;
        format.dwMask = CFM_COLOR;
        SendMessageW(window, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
        colors.push_back(colorName(static_cast<std::int32_t>(format.crTextColor)));
    }
    SendMessageW(window, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&kept));
    return colors;
}

void requireEnabled(HWND window, const std::string& name)
{
    if (!IsWindowEnabled(window))
        throw PageError("the control " + name + " is disabled");
}

void tellParent(HWND control, WORD code)
{
    SendMessageW(GetParent(control), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(control), code),
                 reinterpret_cast<LPARAM>(control));
}

// A click as the user makes it: a button's or check box's, a press and
// release in the middle of any other control (on the logo: 3 pixels from the
// headline's right end).
void click(HWND window, const pages::ControlInfo& info, bool onLogo)
{
    if (info.kind == ControlKind::Button || info.kind == ControlKind::CheckBox) {
        SendMessageW(window, BM_CLICK, 0, 0);
        return;
    }
    RECT area;
    GetClientRect(window, &area);
    const LPARAM point = MAKELPARAM(onLogo ? area.right - 3 : (area.right - area.left) / 2,
                                    (area.bottom - area.top) / 2);
    SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, point);
    SendMessageW(window, WM_LBUTTONUP, 0, point);
}

void choose(HWND combo, const std::string& name, const std::optional<int>& index, const std::optional<std::string>& text)
{
    const int count = static_cast<int>(SendMessageW(combo, CB_GETCOUNT, 0, 0));
    int position = -1;
    if (index) {
        if (*index < 0 || *index >= count)
            throw PageError("the combo box " + name + " has no entry " + std::to_string(*index) + " (it has " +
                            std::to_string(count) + ")");
        position = *index;
    } else {
        for (int i = 0; i < count && position < 0; ++i) {
            if (comboEntry(combo, i) == *text)
                position = i;
        }
        if (position < 0)
            throw PageError("the combo box " + name + " has no entry \"" + *text + "\"");
    }
    // The user opens the list, picks the entry and closes it.
    SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(position), 0);
    tellParent(combo, CBN_SELCHANGE);
    tellParent(combo, CBN_SELENDOK);
}

UINT virtualKeyOf(const KeyStroke& key)
{
    static const std::pair<const char*, UINT> named[] = {
        {"Backspace", VK_BACK}, {"Delete", VK_DELETE}, {"Left", VK_LEFT},   {"Right", VK_RIGHT}, {"Home", VK_HOME},
        {"End", VK_END},        {"Enter", VK_RETURN},  {"Tab", VK_TAB},    {"Escape", VK_ESCAPE}};
    for (const auto& [name, code] : named) {
        if (key.name == name)
            return code;
    }
    const SHORT scan = key.character < 0x10000 ? VkKeyScanW(static_cast<WCHAR>(key.character)) : -1;
    return scan == -1 ? 0 : LOBYTE(scan);
}

// Presses and releases one key in the control, with its modifiers held.
void press(HWND window, const KeyStroke& key)
{
    BYTE state[256] = {};
    GetKeyboardState(state);
    BYTE held[256];
    std::copy(std::begin(state), std::end(state), held);
    held[VK_CONTROL] = key.ctrl ? 0x80 : 0;
    held[VK_SHIFT] = key.shift ? 0x80 : 0;
    held[VK_MENU] = key.alt ? 0x80 : 0;
    SetKeyboardState(held);
    const UINT code = virtualKeyOf(key);
    SendMessageW(window, WM_KEYDOWN, code, 1);
    // What the key types: its character, a control character with Ctrl (Ctrl+V is 0x16), nothing with Alt.
    char32_t typed = key.character;
    if (key.ctrl && typed >= U'a' && typed <= U'z')
        typed = typed - U'a' + 1;
    else if (key.ctrl && typed >= U'A' && typed <= U'Z')
        typed = typed - U'A' + 1;
    else if (key.shift && typed >= U'a' && typed <= U'z')
        typed = typed - U'a' + U'A';
    if (typed != 0 && !key.alt && typed < 0x10000 && key.name != "Delete")
        SendMessageW(window, WM_CHAR, typed, 1);
    SendMessageW(window, WM_KEYUP, code, static_cast<LPARAM>(0xC0000001));
    SetKeyboardState(state);
}

void putOnClipboard(HWND owner, const std::string& text)
{
    const std::wstring wide = platform::toWide(text);
    if (!OpenClipboard(owner))
        throw PageError("the clipboard cannot be opened");
    EmptyClipboard();
    const std::size_t bytes = (wide.size() + 1) * sizeof(wchar_t);
    if (HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes)) {
        std::copy_n(wide.c_str(), wide.size() + 1, static_cast<wchar_t*>(GlobalLock(memory)));
        GlobalUnlock(memory);
        if (!SetClipboardData(CF_UNICODETEXT, memory))
            GlobalFree(memory);
    }
    CloseClipboard();
}

void writePng(const std::filesystem::path& file, const std::vector<std::uint32_t>& pixels, SIZE size)
{
    com::ComPtr<IWICImagingFactory> factory;
    com::ComPtr<IWICStream> stream;
    com::ComPtr<IWICBitmapEncoder> encoder;
    com::ComPtr<IWICBitmapFrameEncode> frame;
    WICPixelFormatGUID format = GUID_WICPixelFormat32bppBGR;
    const UINT stride = static_cast<UINT>(size.cx) * 4;
    const bool written =
        SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                   reinterpret_cast<void**>(factory.GetAddressOf()))) &&
        SUCCEEDED(factory->CreateStream(stream.GetAddressOf())) &&
        SUCCEEDED(stream->InitializeFromFilename(file.wstring().c_str(), GENERIC_WRITE)) &&
        SUCCEEDED(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, encoder.GetAddressOf())) &&
        SUCCEEDED(encoder->Initialize(stream.Get(), WICBitmapEncoderNoCache)) &&
        SUCCEEDED(encoder->CreateNewFrame(frame.GetAddressOf(), nullptr)) && SUCCEEDED(frame->Initialize(nullptr)) &&
        SUCCEEDED(frame->SetSize(static_cast<UINT>(size.cx), static_cast<UINT>(size.cy))) &&
        SUCCEEDED(frame->SetPixelFormat(&format)) &&
        SUCCEEDED(frame->WritePixels(static_cast<UINT>(size.cy), stride, stride * static_cast<UINT>(size.cy),
                                     reinterpret_cast<BYTE*>(const_cast<std::uint32_t*>(pixels.data())))) &&
        SUCCEEDED(frame->Commit()) && SUCCEEDED(encoder->Commit());
    if (!written)
        throw PageError("cannot write the picture " + file.string());
}

} // namespace

Win32ScriptPages::~Win32ScriptPages()
{
    destroyAll();
}

std::shared_ptr<fdt::IDtmActiveXControl> Win32ScriptPages::create(const std::string& page)
{
    const PageClass* pageClass = ScriptPages::pageClass(page);
    if (!pageClass)
        throw PageError("no page \"" + page + "\" (the pages are monitor, offline and about)");
    if (find(page))
        throw PageError("the page \"" + page + "\" is open already");
    OpenPage open{page, nullptr, nullptr};
    try {
        open.host = std::make_unique<HostedControl>(pageClass->progId, kWidth, kHeight);
        open.control = com::Peer::wrapAs<fdt::IDtmActiveXControl>(open.host->control());
    } catch (const std::exception& error) {
        throw PageError("the page " + pageClass->progId + " cannot be shown: " + error.what());
    }
    m_pages.push_back(std::move(open));
    settle();
    return m_pages.back().control;
}

void Win32ScriptPages::destroy(const std::string& page)
{
    for (auto it = m_pages.begin(); it != m_pages.end(); ++it) {
        if (it->name == page) {
            it->control.reset();
            m_pages.erase(it);
            settle();
            return;
        }
    }
}

std::shared_ptr<fdt::IDtmActiveXControl> Win32ScriptPages::opened(const std::string& page) const
{
    const OpenPage* open = find(page);
    return open ? open->control : nullptr;
}

const Win32ScriptPages::OpenPage* Win32ScriptPages::find(const std::string& page) const
{
    for (const auto& open : m_pages) {
        if (open.name == page)
            return &open;
    }
    return nullptr;
}

const Win32ScriptPages::OpenPage& Win32ScriptPages::require(const std::string& page) const
{
    const OpenPage* open = find(page);
    if (!open)
        throw PageError("the page \"" + page + "\" is not open");
    return *open;
}

ControlState Win32ScriptPages::act(const ControlAction& action)
{
    std::vector<std::string> open;
    for (const auto& page : m_pages)
        open.push_back(page.name);
    const OpenPage* target = find(targetPage(
        action, open, [&](const std::string& name) { return rowOf(tableOf(name), action.control) >= 0; }, "page"));
    const pages::PageTable& table = tableOf(target->name);
    const int row = rowOf(table, action.control);
    HWND pageWindow = target->host->controlWindow();
    HWND window = row >= 0 && pageWindow ? childWithId(pageWindow, row + 1) : nullptr;
    if (!window)
        throw PageError("no control " + action.control + " on " + std::string(table.controlName));
    const pages::ControlInfo& info = table.controls[static_cast<std::size_t>(row)];
    switch (action.kind) {
    case ControlAction::Kind::Click:
        requireEnabled(window, action.control);
        click(window, info, action.control == kLogo);
        break;
    case ControlAction::Kind::Select:
        if (info.kind != ControlKind::ComboBox)
            throw PageError("the control " + action.control + " is no combo box");
        requireEnabled(window, action.control);
        choose(window, action.control, action.index, action.text);
        break;
    case ControlAction::Kind::Type:
        requireEnabled(window, action.control);
        SetFocus(window);
        for (const KeyStroke& key : parseKeySequence(action.keys))
            press(window, key);
        if (action.paste) {
            putOnClipboard(window, *action.paste);
            press(window, KeyStroke{{}, U'v', true});
        }
        break;
    case ControlAction::Kind::Read:
        break;
    }
    settle();
    Json state = stateOf(info, window);
    if (action.colors) {
        if (info.kind != ControlKind::Monitor)
            throw PageError("\"colors\" reads the lines of the monitor view, and " + action.control + " is none");
        state["colors"] = lineColors(window);
    }
    return {target->name, action.control, state};
}

Json Win32ScriptPages::screenshot(const std::string& page, const std::filesystem::path& file)
{
    const OpenPage& open = require(page);
    settle();
    SIZE size{};
    std::vector<std::uint32_t> pixels;
    try {
        pixels = open.host->draw(size);
    } catch (const std::exception& error) {
        throw PageError(std::string("the page cannot be drawn: ") + error.what());
    }
    writePng(file, pixels, size);
    return {{"file", file.filename().string()}, {"width", size.cx}, {"height", size.cy}};
}

Json Win32ScriptPages::resize(const std::string& page, int width, int height)
{
    const OpenPage& open = require(page);
    open.host->resize(width, height);
    const SIZE size = open.host->clientSize();
    return {{"width", size.cx}, {"height", size.cy}};
}

void Win32ScriptPages::settle()
{
    pumpMessages();
}

void Win32ScriptPages::destroyAll()
{
    for (auto& open : m_pages)
        open.control.reset();
    m_pages.clear();
    pumpMessages();
}

ScriptPagesFactory win32ScriptPages()
{
    return [] { return std::make_unique<Win32ScriptPages>(); };
}

} // namespace zeb2hart::frame
