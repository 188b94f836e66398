#pragma once
// MonitorBox: the monitor's RichEdit window, a read-only list of lines each in
// its colour, bounded in length: at most kMonitorLineLimit lines of at most
// kMonitorLineLength characters each (a longer line is cut). The box holds
// each line as soon as it is appended; appending costs the same however many
// lines there are, and no turn of the frame's loop waits long for the box:
// - the box redraws at most every kMonitorRefreshDelay (a RichEdit box that
//   redraws at each change takes milliseconds a line), on a timer of its
//   parent window, which calls refresh();
// - removing text from a RichEdit box costs about half a millisecond a line
//   under Wine, so the box never removes any. Once it holds
//   kMonitorLineLimit - kMonitorLinesKept lines, a hidden box starts to read
//   the lines that follow, as RTF, a turn of the loop at a time (refresh());
//   when the shown box is full, the hidden one, holding its newest
//   kMonitorLinesKept lines, takes its place.
// Used by Win32PageView on its thread; the RichEdit library must be loaded
// (loadRichEdit) while a box exists.

#include "platform/win32/WindowsApi.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "pages/PageView.h"

namespace zeb2hart::ui::win32 {

using pages::kMonitorLineLength;
using pages::kMonitorLineLimit;
// The newest lines a full box leaves: the hidden box that takes its place
// holds them. Fewer are kept here than the pages' kMonitorTrimBlock would
// leave, as each of them is read in twice. A message of more lines than this
// leaves its newest kMonitorLinesKept lines, in a new box.
constexpr std::size_t kMonitorLinesKept = 2000;
// How long new lines wait at most to be drawn, in milliseconds.
constexpr UINT kMonitorRefreshDelay = 50;
// What the hidden box reads in one turn of its parent's loop, at most (and at
// least one line): a few tens of milliseconds under Wine.
constexpr std::size_t kMonitorLinesPerTurn = 250;
constexpr std::size_t kMonitorCharactersPerTurn = 32768;

// Loads the RichEdit library once for the process (Msftedit.dll, else
// Riched20.dll) and answers its window class; nullptr when neither loads.
// unloadRichEdit frees it; both are called under the caller's lock.
const wchar_t* loadRichEdit();
void unloadRichEdit();

class MonitorBox {
public:
    // The box as a child of `parent` with the control identifier `id` (also
    // that of the parent's timer); the font `font` stays the caller's. The
    // box's window changes when it is full and when it is cleared (window()).
    MonitorBox(HWND parent, int id, HFONT font);
    MonitorBox(const MonitorBox&) = delete;
    MonitorBox& operator=(const MonitorBox&) = delete;

    HWND window() const { return m_window; }
    // A new line (or several: CR LF, CR and LF each start one) in the colour 0x00BBGGRR.
    void append(const std::string& text, std::uint32_t bgr);
    // Back to one empty line.
    void clear();
    // Draws what was appended since the last refresh, and lets the hidden box
    // read a turn's worth of lines (the parent's WM_TIMER with the box's
    // identifier, and before the box is printed). The box stays where the
    // user scrolled it; if it showed its end, it follows the newest line
    // down, at the same horizontal place.
    void refresh();
    // The lines joined by "\n", as the box holds them.
    std::string text() const;

private:
    struct Line {
        std::wstring text;
        COLORREF color = 0;
    };
    // The hidden box's window and the lines it holds: m_lines[first, end),
    // in `characters` characters, each paragraph mark one.
    struct Filled {
        HWND window = nullptr;
        std::size_t first = 0;
        std::size_t end = 0;
        long characters = 0;
    };
    // A new box, hidden, where the shown one is.
    HWND makeBox() const;
    // The shown box's rectangle in its parent; empty when there is none.
    RECT shownPlace() const;
    // `box` takes the shown box's place, and its scrolling: at the end, or
    // where the user left it, `dropped` pixels higher up.
    void replaceShown(HWND box, LONG dropped = 0);
    // The hidden box starts to read the lines from m_lines.size() on.
    void startNext();
    // The hidden box reads in the rest and takes the shown one's place; the
    // lines before its first go.
    void takeOver();
    // Reads m_lines[box.end, to) in at the end of `box`, in one edit.
    void streamIn(Filled& box, std::size_t to);
    // Adds m_lines[from, end) at the end of the shown box, one edit for each
    // run of one colour (and one for the mark before a run whose colour changes).
    void insert(std::size_t from);
    void insertAtEnd(const std::wstring& text, COLORREF color);
    void suspendDrawing();
    void schedule(UINT delay);

    HWND m_parent = nullptr;
    int m_id = 0;
    HFONT m_font = nullptr;
    // What the box shows, the first line first (it starts with one empty
    // line): the shown box holds all of them, in m_characters characters
    // (each paragraph mark one); the hidden one holds the newest.
    std::deque<Line> m_lines{Line{}};
    HWND m_window = nullptr;
    long m_characters = 0;
    Filled m_next;
    // The parent's timer runs.
    bool m_scheduled = false;
    // Appended lines wait for refresh() to be drawn, with the shown box's
    // redrawing off.
    bool m_pending = false;
    // Whether the shown box showed its end, and where it was scrolled, when
    // its redrawing went off.
    bool m_follow = true;
    POINT m_scroll{};
};

} // namespace zeb2hart::ui::win32
