#pragma once
// MonitorBox: the monitor's RichEdit window, a read-only list of lines each in
// its colour, bounded in length: at most kMonitorLineLimit lines (the oldest
// go first, in blocks of kMonitorTrimBlock) of at most kMonitorLineLength
// characters each (a longer line is cut). Appending costs the same however
// many lines there are. Used by Win32PageView on its thread; the RichEdit
// library must be loaded (loadRichEdit) while a box exists.

#include "platform/win32/WindowsApi.h"

#include <cstdint>
#include <deque>
#include <string>

namespace zeb2hart::ui::win32 {

// The lines a monitor keeps: a day of a busy line at a few lines a minute is
// far less; any more and a frame's user scrolls a view that nobody reads.
constexpr int kMonitorLineLimit = 5000;
// Lines removed at once when the limit is passed, so that the oldest lines go
// in one edit per block instead of one per line.
constexpr int kMonitorTrimBlock = 500;
// The characters (UTF-16 units) kept of one line; the rest of a longer line is
// dropped. A trace line of the gateway is a few hundred characters.
constexpr int kMonitorLineLength = 4096;

// Loads the RichEdit library once for the process (Msftedit.dll, else
// Riched20.dll) and answers its window class; nullptr when neither loads.
// unloadRichEdit frees it; both are called under the caller's lock.
const wchar_t* loadRichEdit();
void unloadRichEdit();

class MonitorBox {
public:
    // The box as a child of `parent` with the control identifier `id`; the
    // font `font` stays the caller's.
    MonitorBox(HWND parent, int id, HFONT font);
    MonitorBox(const MonitorBox&) = delete;
    MonitorBox& operator=(const MonitorBox&) = delete;

    HWND window() const { return m_window; }
    // A new line (or several: CR LF, CR and LF each start one) in the colour 0x00BBGGRR.
    void append(const std::string& text, std::uint32_t bgr);
    // Back to one empty line.
    void clear();
    // The lines joined by "\n", as the box holds them.
    std::string text() const;
    int lineCount() const { return static_cast<int>(m_lengths.size()); }

private:
    void trim();

    HWND m_window = nullptr;
    // The length of each line in the box, the first line first: a line's
    // start is the sum of the lengths before it plus one paragraph mark each.
    std::deque<int> m_lengths{0};
};

} // namespace zeb2hart::ui::win32
