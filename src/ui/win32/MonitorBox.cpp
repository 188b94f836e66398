#include "ui/win32/MonitorBox.h"

#include <richedit.h>

#include <algorithm>
#include <cstring>
#include <iterator>
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
// cut inside a surrogate pair. A UTF-8 character is at most four bytes, so
// only that much of a long line is converted.
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
    if (wide.size() > static_cast<std::size_t>(kMonitorLineLength)) {
        std::size_t end = kMonitorLineLength;
        if (wide[end - 1] >= 0xD800 && wide[end - 1] <= 0xDBFF)
            --end;
        wide.resize(end);
    }
    return wide;
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

bool atEnd(HWND box)
{
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    if (!GetScrollInfo(box, SB_VERT, &info) || info.nMax <= 0)
        return true;
    return info.nPos + static_cast<int>(info.nPage) >= info.nMax;
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
    remake();
}

void MonitorBox::remake()
{
    RECT place{};
    if (m_window != nullptr) {
        GetWindowRect(m_window, &place);
        MapWindowPoints(HWND_DESKTOP, m_parent, reinterpret_cast<POINT*>(&place), 2);
        DestroyWindow(m_window);
        m_window = nullptr;
    }
    m_characters = 0;
    m_pending = false;
    if (g_richEditClass == nullptr)
        return;
    m_window = CreateWindowExW(WS_EX_CLIENTEDGE, g_richEditClass, L"",
                               WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE |
                                   ES_READONLY | ES_AUTOVSCROLL | ES_AUTOHSCROLL | ES_NOHIDESEL,
                               place.left, place.top, place.right - place.left, place.bottom - place.top, m_parent,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(m_id)),
                               reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(m_parent, GWLP_HINSTANCE)), nullptr);
    if (m_window == nullptr)
        return;
    SendMessageW(m_window, WM_SETFONT, reinterpret_cast<WPARAM>(m_font), FALSE);
    // Room for the bound, with the paragraph marks; lines are not wrapped.
    SendMessageW(m_window, EM_EXLIMITTEXT, 0, static_cast<LPARAM>(kMonitorLineLimit) * (kMonitorLineLength + 1) + 1);
    SendMessageW(m_window, EM_SETTARGETDEVICE, 0, 1);
    SendMessageW(m_window, EM_SETUNDOLIMIT, 0, 0);
    CHARFORMAT2W format{};
    format.cbSize = sizeof format;
    format.dwMask = CFM_FACE | CFM_SIZE | CFM_COLOR | CFM_BOLD | CFM_ITALIC;
    format.yHeight = 165; // 8.25 pt in twips
    wcscpy(format.szFaceName, L"Courier New");
    SendMessageW(m_window, EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&format));
    SendMessageW(m_window, EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&format));
    if (m_lines.size() > 1) {
        suspendDrawing();
        m_follow = true;
        streamIn();
        // The stream's own font gives way to the box's.
        format.dwMask = CFM_FACE | CFM_SIZE | CFM_BOLD | CFM_ITALIC;
        SendMessageW(m_window, EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&format));
        m_characters = static_cast<long>(m_lines.size()) - 1; // the paragraph marks
        for (const Line& line : m_lines)
            m_characters += static_cast<long>(line.text.size());
    }
}

void MonitorBox::streamIn()
{
    // The lines as one RTF document, a colour table entry for each colour
    // used: the box reads it in one edit, where inserting the lines one run
    // of a colour at a time costs milliseconds a run.
    std::vector<COLORREF> colors;
    std::string body;
    const auto colorIndex = [&](COLORREF color) {
        auto found = std::find(colors.begin(), colors.end(), color);
        if (found == colors.end())
            found = colors.insert(colors.end(), color);
        return std::to_string(found - colors.begin() + 1);
    };
    COLORREF current = 0;
    for (auto line = m_lines.begin(); line != m_lines.end(); ++line) {
        if (line == m_lines.begin() || line->color != current) {
            current = line->color;
            body += "\\cf" + colorIndex(current) + ' ';
        }
        for (const wchar_t c : line->text) {
            if (c == L'\\' || c == L'{' || c == L'}')
                body += '\\', body += static_cast<char>(c);
            else if (c >= 0x20 && c < 0x80)
                body += static_cast<char>(c);
            else
                body += "\\u" + std::to_string(static_cast<std::int16_t>(c)) + '?';
        }
        // Each paragraph mark takes the colour of the line it ends. The box
        // reads the last one as its own closing mark, which no line follows.
        body += "\\par ";
    }
    std::string document = "{\\rtf1\\ansi\\uc1\\deff0{\\fonttbl{\\f0\\fmodern Courier New;}}{\\colortbl ;";
    for (const COLORREF color : colors)
        document += "\\red" + std::to_string(GetRValue(color)) + "\\green" + std::to_string(GetGValue(color)) +
                    "\\blue" + std::to_string(GetBValue(color)) + ';';
    document += "}\\f0 " + body + '}';

    StreamSource source{document};
    EDITSTREAM stream{};
    stream.dwCookie = reinterpret_cast<DWORD_PTR>(&source);
    stream.pfnCallback = &readStream;
    SendMessageW(m_window, EM_STREAMIN, SF_RTF, reinterpret_cast<LPARAM>(&stream));
}

void MonitorBox::suspendDrawing()
{
    if (m_pending || m_window == nullptr)
        return;
    m_pending = true;
    m_follow = atEnd(m_window);
    SendMessageW(m_window, WM_SETREDRAW, FALSE, 0);
    SetTimer(m_parent, static_cast<UINT_PTR>(m_id), kMonitorRefreshDelay, nullptr);
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

void MonitorBox::insert(std::deque<Line>::const_iterator from, std::deque<Line>::const_iterator to)
{
    // Each paragraph mark ends the line before it and takes that line's colour,
    // so that an empty line shows the colour it was written in.
    COLORREF before = std::prev(from)->color;
    while (from != to) {
        const COLORREF color = from->color;
        std::wstring inserted;
        if (before != color)
            insertAtEnd(L"\r", before);
        else
            inserted += L'\r';
        inserted += from->text;
        for (++from; from != to && from->color == color; ++from) {
            inserted += L'\r';
            inserted += from->text;
        }
        insertAtEnd(inserted, color);
        before = color;
    }
}

void MonitorBox::append(const std::string& text, std::uint32_t bgr)
{
    if (m_window == nullptr)
        return;
    const std::vector<std::string_view> lines = splitLines(text, kMonitorLineLimit);
    const std::size_t first = m_lines.size();
    for (const std::string_view line : lines)
        m_lines.push_back({boxLine(line), static_cast<COLORREF>(bgr & 0xFFFFFF)});
    if (m_lines.size() > static_cast<std::size_t>(kMonitorLineLimit)) {
        m_lines.erase(m_lines.begin(), m_lines.end() - kMonitorLinesKept);
        remake();
        return;
    }
    suspendDrawing();
    insert(m_lines.begin() + static_cast<std::ptrdiff_t>(first), m_lines.end());
}

void MonitorBox::refresh()
{
    if (m_window == nullptr || !m_pending)
        return;
    KillTimer(m_parent, static_cast<UINT_PTR>(m_id));
    m_pending = false;
    SendMessageW(m_window, WM_SETREDRAW, TRUE, 0);
    if (m_follow)
        SendMessageW(m_window, WM_VSCROLL, SB_BOTTOM, 0);
    InvalidateRect(m_window, nullptr, TRUE);
}

void MonitorBox::clear()
{
    if (m_window == nullptr)
        return;
    m_lines.assign(1, Line{});
    remake();
    KillTimer(m_parent, static_cast<UINT_PTR>(m_id));
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
