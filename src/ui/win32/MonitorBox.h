#pragma once
// MonitorBox: the monitor's RichEdit window, a read-only list of lines each in
// its colour, bounded in length: at most kMonitorLineLimit lines of at most
// kMonitorLineLength characters each (a longer line is cut). Appending costs
// the same however many lines there are:
// - the box redraws at most every kMonitorRefreshDelay (a RichEdit box that
//   redraws at each change takes milliseconds a line), on a timer of its
//   parent window, which calls refresh();
// - removing text from a RichEdit box costs milliseconds a line under Wine
//   (clearing 5000 lines took 27 s), so the box never removes any: past the
//   limit, and to be cleared, it is made again with only the newest
//   kMonitorLinesKept lines, which it keeps a copy of.
// Used by Win32PageView on its thread; the RichEdit library must be loaded
// (loadRichEdit) while a box exists.

#include "platform/win32/WindowsApi.h"

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "pages/PageView.h"

namespace zeb2hart::ui::win32 {

using pages::kMonitorLineLength;
using pages::kMonitorLineLimit;
// The newest lines kept when the limit is passed: the box is made again with
// them, once every kMonitorLineLimit - kMonitorLinesKept lines, read in as one
// RTF stream. Remaking still costs a few tenths of a second under Wine, so
// fewer are kept here than the pages' kMonitorTrimBlock would leave.
constexpr int kMonitorLinesKept = 2000;
// How long new lines wait at most to be drawn, in milliseconds.
constexpr UINT kMonitorRefreshDelay = 50;

// Loads the RichEdit library once for the process (Msftedit.dll, else
// Riched20.dll) and answers its window class; nullptr when neither loads.
// unloadRichEdit frees it; both are called under the caller's lock.
const wchar_t* loadRichEdit();
void unloadRichEdit();

class MonitorBox {
public:
    // The box as a child of `parent` with the control identifier `id`; the
    // font `font` stays the caller's. The box's window may change (window()).
    MonitorBox(HWND parent, int id, HFONT font);
    MonitorBox(const MonitorBox&) = delete;
    MonitorBox& operator=(const MonitorBox&) = delete;

    HWND window() const { return m_window; }
    // A new line (or several: CR LF, CR and LF each start one) in the colour 0x00BBGGRR.
    void append(const std::string& text, std::uint32_t bgr);
    // Back to one empty line.
    void clear();
    // Draws what was appended since the last refresh, following the newest
    // line if the view showed the end before (the parent's WM_TIMER with the
    // box's identifier, and before the box is printed).
    void refresh();
    // The lines joined by "\n", as the box holds them.
    std::string text() const;
    int lineCount() const { return static_cast<int>(m_lines.size()); }

private:
    struct Line {
        std::wstring text;
        COLORREF color = 0;
    };
    // A new window in the old one's place showing m_lines.
    void remake();
    // Reads m_lines into the empty box in one edit.
    void streamIn();
    // Adds the lines at the end of the box's text, one edit for each run of one
    // colour (and one for the mark before a run whose colour changes).
    void insert(std::deque<Line>::const_iterator from, std::deque<Line>::const_iterator to);
    void insertAtEnd(const std::wstring& text, COLORREF color);
    void suspendDrawing();

    HWND m_parent = nullptr;
    int m_id = 0;
    HFONT m_font = nullptr;
    HWND m_window = nullptr;
    // Characters in the box, each paragraph mark one.
    long m_characters = 0;
    // Appended lines wait for refresh(), with the box's redrawing off.
    bool m_pending = false;
    bool m_follow = true;
    // What the box shows, the first line first (it starts with one empty line).
    std::deque<Line> m_lines{Line{}};
};

} // namespace zeb2hart::ui::win32
