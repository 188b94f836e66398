#include "ui/win32/MonitorBox.h"

#include <richedit.h>

#include <algorithm>
#include <cstring>
#include <optional>
#include <string_view>
#include <vector>

namespace zeb2hart::ui::win32 {

namespace {

HMODULE g_richEdit = nullptr;
const wchar_t* g_richEditClass = nullptr;

// The lines of `text`, each CR LF, CR or LF ending one; only the last `limit`.
std::vector<std::string_view> splitLines(std::string_view text, std::size_t limit)
{
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n')
            continue;
        lines.push_back(text.substr(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    lines.push_back(text.substr(start));
    if (lines.size() > limit)
        lines.erase(lines.begin(), lines.end() - static_cast<std::ptrdiff_t>(limit));
    return lines;
}

// A line as the box shows it: UTF-16, at most kMonitorLineLength units, not
// cut inside a surrogate pair, without NUL. A UTF-8 character is at most four
// bytes, so only that much of a long line is converted.
std::wstring boxLine(std::string_view line)
{
    constexpr std::size_t kBytes = 4 * kMonitorLineLength;
    if (line.size() > kBytes) {
        std::size_t end = kBytes;
        while (end > 0 && (static_cast<unsigned char>(line[end]) & 0xC0) == 0x80)
            --end;
        line = line.substr(0, end);
    }
    std::wstring wide = platform::toWide(line);
    // A NUL would end the text where the box is given it: it shows as U+FFFD.
    std::replace(wide.begin(), wide.end(), L'\0', L'\uFFFD');
    if (wide.size() > static_cast<std::size_t>(kMonitorLineLength)) {
        std::size_t end = kMonitorLineLength;
        if (wide[end - 1] >= 0xD800 && wide[end - 1] <= 0xDBFF)
            --end;
        wide.resize(end);
    }
    return wide;
}

constexpr std::size_t kLimit = kMonitorLineLimit;
// The shown box's size when the hidden one starts to read.
constexpr std::size_t kStartNext = kLimit - kMonitorLinesKept;

// The box's font: Courier New 8.25 pt, neither bold nor italic.
CHARFORMAT2W boxFormat()
{
    CHARFORMAT2W format{};
    format.cbSize = sizeof format;
    format.dwMask = CFM_FACE | CFM_SIZE | CFM_BOLD | CFM_ITALIC;
    format.yHeight = 165; // in twips
    wcscpy(format.szFaceName, L"Courier New");
    return format;
}

void select(HWND box, LONG from, LONG to)
{
    CHARRANGE range{from, to};
    SendMessageW(box, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
}

// What EM_STREAMIN reads, and how far.
struct StreamSource {
    const std::string& text;
    std::size_t offset = 0;
};

DWORD CALLBACK readStream(DWORD_PTR cookie, LPBYTE buffer, LONG wanted, LONG* given)
{
    auto& source = *reinterpret_cast<StreamSource*>(cookie);
    const std::size_t count = std::min(static_cast<std::size_t>(std::max<LONG>(wanted, 0)),
                                       source.text.size() - source.offset);
    std::memcpy(buffer, source.text.data() + source.offset, count);
    source.offset += count;
    *given = static_cast<LONG>(count);
    return 0;
}

// The box shows its end: the top of its last character, `end`, is inside its
// window (wherever the box's scrolling stopped, a line apart or a pixel).
bool atEnd(HWND box, long end)
{
    if (box == nullptr)
        return true;
    POINTL at{};
    SendMessageW(box, EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&at), end);
    RECT client{};
    GetClientRect(box, &client);
    return at.y < client.bottom;
}

// Scrolls the box back to `scroll`, where it was before lines were appended
// (the box scrolls to each line it is given), or down to its end when
// `follow`, at the same horizontal place.
void scrollTo(HWND box, bool follow, POINT scroll)
{
    if (follow) {
        SendMessageW(box, WM_VSCROLL, SB_BOTTOM, 0);
        POINT bottom{};
        SendMessageW(box, EM_GETSCROLLPOS, 0, reinterpret_cast<LPARAM>(&bottom));
        scroll.y = bottom.y;
    }
    SendMessageW(box, EM_SETSCROLLPOS, 0, reinterpret_cast<LPARAM>(&scroll));
}

} // namespace

const wchar_t* loadRichEdit()
{
    if (g_richEdit != nullptr)
        return g_richEditClass;
    if ((g_richEdit = LoadLibraryW(L"Msftedit.dll")) != nullptr)
        g_richEditClass = L"RICHEDIT50W";
    else if ((g_richEdit = LoadLibraryW(L"Riched20.dll")) != nullptr)
        g_richEditClass = L"RichEdit20W";
    else
        g_richEditClass = nullptr;
    return g_richEditClass;
}

void unloadRichEdit()
{
    if (g_richEdit != nullptr)
        FreeLibrary(g_richEdit);
    g_richEdit = nullptr;
    g_richEditClass = nullptr;
}

MonitorBox::MonitorBox(HWND parent, int id, HFONT font) : m_parent(parent), m_id(id), m_font(font)
{
    replaceShown(makeBox());
}

HWND MonitorBox::makeBox() const
{
    if (g_richEditClass == nullptr)
        return nullptr;
    const RECT place = shownPlace();
    HWND box = CreateWindowExW(WS_EX_CLIENTEDGE, g_richEditClass, L"",
                               WS_CHILD | WS_CLIPSIBLINGS | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE | ES_READONLY |
                                   ES_AUTOVSCROLL | ES_AUTOHSCROLL | ES_NOHIDESEL,
                               place.left, place.top, place.right - place.left, place.bottom - place.top, m_parent,
                               nullptr, reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(m_parent, GWLP_HINSTANCE)),
                               nullptr);
    if (box == nullptr)
        return nullptr;
    SendMessageW(box, WM_SETFONT, reinterpret_cast<WPARAM>(m_font), FALSE);
    // Room for the bound, with the paragraph marks; lines are not wrapped.
    SendMessageW(box, EM_EXLIMITTEXT, 0, static_cast<LPARAM>(kMonitorLineLimit) * (kMonitorLineLength + 1) + 1);
    SendMessageW(box, EM_SETTARGETDEVICE, 0, 1);
    SendMessageW(box, EM_SETUNDOLIMIT, 0, 0);
    CHARFORMAT2W format = boxFormat();
    format.dwMask |= CFM_COLOR;
    SendMessageW(box, EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&format));
    SendMessageW(box, EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&format));
    return box;
}

RECT MonitorBox::shownPlace() const
{
    RECT place{};
    if (m_window != nullptr) {
        GetWindowRect(m_window, &place);
        MapWindowPoints(HWND_DESKTOP, m_parent, reinterpret_cast<POINT*>(&place), 2);
    }
    return place;
}

void MonitorBox::replaceShown(HWND box, LONG dropped)
{
    const bool follow = m_pending ? m_follow : atEnd(m_window, m_characters);
    POINT scroll = m_scroll;
    if (!m_pending && m_window != nullptr)
        SendMessageW(m_window, EM_GETSCROLLPOS, 0, reinterpret_cast<LPARAM>(&scroll));
    if (box != nullptr) {
        // Where the shown box is now: it may have moved since `box` was made.
        const RECT place = shownPlace();
        SetWindowLongPtrW(box, GWLP_ID, m_id);
        SetWindowPos(box, m_window != nullptr ? m_window : HWND_TOP, place.left, place.top,
                     place.right - place.left, place.bottom - place.top, SWP_NOACTIVATE | SWP_SHOWWINDOW);
        scrollTo(box, follow, POINT{scroll.x, std::max<LONG>(scroll.y - dropped, 0)});
        InvalidateRect(box, nullptr, TRUE);
    }
    if (m_window != nullptr)
        DestroyWindow(m_window);
    m_window = box;
    m_pending = false;
}

void MonitorBox::startNext()
{
    m_next = {makeBox(), m_lines.size(), m_lines.size(), 0};
}

void MonitorBox::takeOver()
{
    // A box made now, if the hidden one could not be made or the lines came
    // too many at once.
    if (m_next.window == nullptr) {
        const std::size_t first = m_lines.size() - std::min(m_lines.size(), kMonitorLinesKept);
        m_next = {makeBox(), first, first, 0};
    }
    streamIn(m_next, m_lines.size());
    // The height of the lines that go, by which the user's place moves up.
    LONG dropped = 0;
    if (m_window != nullptr) {
        POINTL first{};
        SendMessageW(m_window, EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&first),
                     SendMessageW(m_window, EM_LINEINDEX, m_next.first, 0));
        POINT scroll{};
        SendMessageW(m_window, EM_GETSCROLLPOS, 0, reinterpret_cast<LPARAM>(&scroll));
        dropped = first.y + scroll.y;
    }
    replaceShown(m_next.window, dropped);
    m_lines.erase(m_lines.begin(), m_lines.begin() + static_cast<std::ptrdiff_t>(m_next.first));
    m_characters = m_next.characters;
    m_next = {};
}

void MonitorBox::streamIn(Filled& box, std::size_t to)
{
    // The lines as one RTF document, a colour table entry for each colour
    // used: the box reads it in one edit, at a fraction of what inserting
    // them as text costs. A line's paragraph mark takes the line's colour; the
    // box's own closing mark ends the last line.
    std::vector<COLORREF> colors;
    std::string body;
    std::optional<COLORREF> current;
    const auto setColor = [&](COLORREF color) {
        if (current == color)
            return;
        auto found = std::find(colors.begin(), colors.end(), color);
        if (found == colors.end())
            found = colors.insert(colors.end(), color);
        body += "\\cf" + std::to_string(found - colors.begin() + 1) + ' ';
        current = color;
    };
    const long start = box.characters;
    for (std::size_t i = box.end; i < to; ++i) {
        const Line& line = m_lines[i];
        if (i > box.first) {
            setColor(m_lines[i - 1].color);
            body += "\\par ";
            ++box.characters;
        }
        setColor(line.color);
        for (const wchar_t c : line.text) {
            if (c == L'\\' || c == L'{' || c == L'}')
                body += '\\', body += static_cast<char>(c);
            else if (c >= 0x20 && c < 0x80)
                body += static_cast<char>(c);
            else
                body += "\\u" + std::to_string(static_cast<std::int16_t>(c)) + '?';
        }
        box.characters += static_cast<long>(line.text.size());
    }
    box.end = to;
    if (box.window == nullptr || body.empty())
        return;
    std::string document = "{\\rtf1\\ansi\\uc1\\deff0{\\fonttbl{\\f0\\fmodern Courier New;}}{\\colortbl ;";
    for (const COLORREF color : colors)
        document += "\\red" + std::to_string(GetRValue(color)) + "\\green" + std::to_string(GetGValue(color)) +
                    "\\blue" + std::to_string(GetBValue(color)) + ';';
    document += "}\\f0 " + body + '}';

    select(box.window, start, start);
    StreamSource source{document};
    EDITSTREAM stream{};
    stream.dwCookie = reinterpret_cast<DWORD_PTR>(&source);
    stream.pfnCallback = &readStream;
    SendMessageW(box.window, EM_STREAMIN, SF_RTF | SFF_SELECTION, reinterpret_cast<LPARAM>(&stream));

    // RTF gives sizes in half points: where the box's reader did not keep its
    // own font for what it read, the read text gets it.
    select(box.window, start, box.characters);
    CHARFORMAT2W read{};
    read.cbSize = sizeof read;
    SendMessageW(box.window, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&read));
    const CHARFORMAT2W format = boxFormat();
    if ((read.dwMask & format.dwMask) != format.dwMask || read.yHeight != format.yHeight ||
        (read.dwEffects & (CFE_BOLD | CFE_ITALIC)) != 0 || std::wcscmp(read.szFaceName, format.szFaceName) != 0)
        SendMessageW(box.window, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
    select(box.window, box.characters, box.characters);
}

void MonitorBox::schedule(UINT delay)
{
    if (m_scheduled)
        return;
    m_scheduled = true;
    SetTimer(m_parent, static_cast<UINT_PTR>(m_id), delay, nullptr);
}

void MonitorBox::suspendDrawing()
{
    if (m_pending || m_window == nullptr)
        return;
    m_pending = true;
    m_follow = atEnd(m_window, m_characters);
    SendMessageW(m_window, EM_GETSCROLLPOS, 0, reinterpret_cast<LPARAM>(&m_scroll));
    SendMessageW(m_window, WM_SETREDRAW, FALSE, 0);
    schedule(kMonitorRefreshDelay);
}

void MonitorBox::insertAtEnd(const std::wstring& text, COLORREF color)
{
    select(m_window, m_characters, m_characters);
    CHARFORMAT2W format{};
    format.cbSize = sizeof format;
    format.dwMask = CFM_COLOR;
    format.crTextColor = color;
    SendMessageW(m_window, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
    SendMessageW(m_window, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.c_str()));
    m_characters += static_cast<long>(text.size());
}

void MonitorBox::insert(std::size_t from)
{
    // Each paragraph mark ends the line before it and takes that line's colour,
    // so that an empty line shows the colour it was written in.
    COLORREF before = m_lines[from - 1].color;
    while (from < m_lines.size()) {
        const COLORREF color = m_lines[from].color;
        std::wstring inserted;
        if (before != color)
            insertAtEnd(L"\r", before);
        else
            inserted += L'\r';
        inserted += m_lines[from].text;
        for (++from; from < m_lines.size() && m_lines[from].color == color; ++from) {
            inserted += L'\r';
            inserted += m_lines[from].text;
        }
        insertAtEnd(inserted, color);
        before = color;
    }
}

void MonitorBox::append(const std::string& text, std::uint32_t bgr)
{
    if (m_window == nullptr)
        return;
    const auto color = static_cast<COLORREF>(bgr & 0xFFFFFF);
    const std::vector<std::string_view> lines = splitLines(text, kLimit);
    if (lines.size() > kMonitorLinesKept) {
        // More than a full box leaves: a new box with the newest of them.
        if (m_next.window != nullptr)
            DestroyWindow(m_next.window);
        m_next = {};
        m_lines.clear();
        for (auto line = lines.end() - kMonitorLinesKept; line != lines.end(); ++line)
            m_lines.push_back({boxLine(*line), color});
        takeOver();
        return;
    }
    for (std::size_t next = 0; next < lines.size() && m_window != nullptr;) {
        if (m_lines.size() == kLimit)
            takeOver();
        const std::size_t stop = m_lines.size() < kStartNext ? kStartNext : kLimit;
        const std::size_t from = m_lines.size();
        for (; next < lines.size() && m_lines.size() < stop; ++next)
            m_lines.push_back({boxLine(lines[next]), color});
        suspendDrawing();
        insert(from);
        if (m_lines.size() == kStartNext && m_next.window == nullptr)
            startNext();
    }
    if (m_next.window != nullptr)
        schedule(kMonitorRefreshDelay);
}

void MonitorBox::refresh()
{
    if (!m_scheduled)
        return;
    KillTimer(m_parent, static_cast<UINT_PTR>(m_id));
    m_scheduled = false;
    if (m_pending && m_window != nullptr) {
        m_pending = false;
        SendMessageW(m_window, WM_SETREDRAW, TRUE, 0);
        scrollTo(m_window, m_follow, m_scroll);
        InvalidateRect(m_window, nullptr, TRUE);
    }
    if (m_next.window == nullptr || m_next.end == m_lines.size())
        return;
    // One turn's worth for the hidden box (at least one line), and another turn soon.
    std::size_t to = m_next.end + 1;
    for (std::size_t characters = m_lines[m_next.end].text.size() + 1;
         to < m_lines.size() && to - m_next.end < kMonitorLinesPerTurn; ++to) {
        characters += m_lines[to].text.size() + 1;
        if (characters > kMonitorCharactersPerTurn)
            break;
    }
    streamIn(m_next, to);
    if (m_next.end < m_lines.size())
        schedule(USER_TIMER_MINIMUM);
}

void MonitorBox::clear()
{
    if (m_window == nullptr)
        return;
    if (m_next.window != nullptr)
        DestroyWindow(m_next.window);
    m_next = {};
    replaceShown(makeBox());
    m_lines.assign(1, Line{});
    m_characters = 0;
    KillTimer(m_parent, static_cast<UINT_PTR>(m_id));
    m_scheduled = false;
}

std::string MonitorBox::text() const
{
    if (m_window == nullptr)
        return {};
    GETTEXTLENGTHEX how{GTL_DEFAULT, 1200};
    const auto length = SendMessageW(m_window, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&how), 0);
    std::wstring wide(static_cast<std::size_t>(length) + 1, L'\0');
    GETTEXTEX get{};
    get.cb = static_cast<DWORD>(wide.size() * sizeof(wchar_t));
    get.flags = GT_DEFAULT;
    get.codepage = 1200;
    const auto copied = SendMessageW(m_window, EM_GETTEXTEX, reinterpret_cast<WPARAM>(&get),
                                     reinterpret_cast<LPARAM>(wide.data()));
    wide.resize(static_cast<std::size_t>(copied));
    for (wchar_t& c : wide) {
        if (c == L'\r')
            c = L'\n';
    }
    return platform::fromWide(wide);
}

} // namespace zeb2hart::ui::win32
