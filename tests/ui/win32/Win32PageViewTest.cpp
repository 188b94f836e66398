// Win32PageView under Wine: each page's controls made from its table, what the
// logic sets shown in the windows and read back, a window destroyed behind the
// view's back, the monitor's bounds, the user's actions against the view's own
// changes, and the capture the OLE control's IViewObject::Draw gives.

#include "platform/win32/WindowsApi.h"

#include <objbase.h>
#include <richedit.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "pages/OfflineParamLogic.h"
#include "pages/PageControls.h"
#include "support/Conversions.h"
#include "ui/win32/GdiObjects.h"
#include "ui/win32/MonitorBox.h"
#include "ui/win32/Win32PageView.h"

namespace zeb2hart::ui::win32 {
namespace {

using pages::ControlKind;
namespace monitor = pages::monitor;
namespace offline = pages::offline;

const std::filesystem::path kResources = std::filesystem::path(ZEB2HART_COMPONENT_DIR) / "Resources";
constexpr SIZE kPage{600, 400};
constexpr std::uint32_t kRed = 0x0000FF;
constexpr std::uint32_t kGreen = 0x00A000;

void pump()
{
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

// A top-level window standing in for the frame's.
HWND makeFrameWindow()
{
    HWND frame = CreateWindowExW(0, L"STATIC", L"frame", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, kPage.cx,
                                 kPage.cy, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    EXPECT_NE(frame, nullptr);
    return frame;
}

std::wstring windowText(HWND window)
{
    wchar_t text[256] = {};
    GetWindowTextW(window, text, 256);
    return text;
}

std::wstring className(HWND window)
{
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

// The page window's descendants that `match` accepts.
struct Search {
    const std::function<bool(HWND)>* match;
    std::vector<HWND> found;
};

BOOL CALLBACK searchChild(HWND child, LPARAM data)
{
    auto* search = reinterpret_cast<Search*>(data);
    if ((*search->match)(child))
        search->found.push_back(child);
    return TRUE;
}

std::vector<HWND> descendants(HWND page, const std::function<bool(HWND)>& match)
{
    Search search{&match, {}};
    EnumChildWindows(page, &searchChild, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND childWithText(HWND page, const std::string& text)
{
    const std::wstring wide = platform::toWide(text);
    const auto found = descendants(page, [&](HWND child) { return windowText(child) == wide; });
    return found.size() == 1 ? found.front() : nullptr;
}

HWND childOfClass(HWND page, const wchar_t* name)
{
    const auto found = descendants(page, [&](HWND child) { return lstrcmpiW(className(child).c_str(), name) == 0; });
    return found.size() == 1 ? found.front() : nullptr;
}

std::string event(const char* what, int row, int position = -1)
{
    return std::string(what) + " " + std::to_string(row) + (position >= 0 ? " " + std::to_string(position) : "");
}

struct Recorder : pages::PageEvents {
    std::vector<std::string> log;
    void clicked(int row) override { log.push_back(event("clicked", row)); }
    void chosen(int row, int position) override { log.push_back(event("chosen", row, position)); }
    void edited(int row) override { log.push_back(event("edited", row)); }
    void keyReleased(int row) override { log.push_back(event("keyReleased", row)); }
    void resized() override { log.push_back("resized"); }
};

// The monitor's box that the page shows: it has the control's identifier (a
// hidden one filling behind it has none).
HWND monitorBox(HWND page)
{
    return descendants(page, [](HWND child) {
               return _wcsnicmp(className(child).c_str(), L"RichEdit", 8) == 0 && GetDlgCtrlID(child) != 0;
           }).at(0);
}

// A turn of the loop for the monitor's box: its parent's timer tells it to draw.
void turn(HWND box)
{
    SendMessageW(GetParent(box), WM_TIMER, static_cast<WPARAM>(GetDlgCtrlID(box)), 0);
}

POINT scrollPosition(HWND box)
{
    POINT at{};
    SendMessageW(box, EM_GETSCROLLPOS, 0, reinterpret_cast<LPARAM>(&at));
    return at;
}

void layOut(Win32PageView& view)
{
    const std::vector<pages::TwipRect> rects = view.table().layOut(view.pageSize());
    for (std::size_t row = 0; row < rects.size(); ++row)
        view.place(static_cast<int>(row), rects[row]);
}

std::string textFor(int row)
{
    return "Text " + std::to_string(row);
}

// Gives every control of the page something to show.
void fill(Win32PageView& view)
{
    const pages::PageTable& table = view.table();
    for (int row = 0; row < static_cast<int>(table.controls.size()); ++row) {
        switch (table.controls[static_cast<std::size_t>(row)].kind) {
        case ControlKind::Headline:
            ASSERT_TRUE(view.setPicture(row, kResources / "manufacturer_logo.bmp"));
            view.setText(row, textFor(row));
            break;
        case ControlKind::Label:
        case ControlKind::Button:
        case ControlKind::DelayBox:
            view.setText(row, textFor(row));
            break;
        case ControlKind::CheckBox:
            view.setText(row, textFor(row));
            view.setChecked(row, row % 2 == 0);
            break;
        case ControlKind::ComboBox:
            view.setItems(row, {"first", "second", "dritte \xC3\xA4"});
            view.select(row, 2);
            break;
        case ControlKind::Picture:
            ASSERT_TRUE(view.setPicture(row, kResources / "device.gif"));
            break;
        case ControlKind::Monitor:
            view.appendLine(row, "red line", kRed);
            view.appendLine(row, "green line\r\nand its second", kGreen);
            break;
        case ControlKind::Panel:
        case ControlKind::Line:
            break;
        }
    }
}

class Win32PageViewTest : public ::testing::Test {
protected:
    void SetUp() override { m_liveBefore = liveGdiObjects(); }
    void TearDown() override
    {
        for (HWND frame : m_frames) {
            if (IsWindow(frame))
                DestroyWindow(frame);
        }
        pump();
        // Every view is gone by now: its fonts, brushes and bitmaps with it.
        EXPECT_EQ(liveGdiObjects(), m_liveBefore);
    }
    HWND frame()
    {
        m_frames.push_back(makeFrameWindow());
        return m_frames.back();
    }

    std::vector<HWND> m_frames;
    long m_liveBefore = 0;
};

TEST_F(Win32PageViewTest, EachPageShowsWhatItsLogicSets)
{
    for (const pages::PageTable* table : pages::pageTables()) {
        SCOPED_TRACE(std::string(table->controlName));
        Win32PageView view(*table);
        Recorder recorder;
        view.setEvents(&recorder);
        HWND page = view.createWindow(frame(), {0, 0, kPage.cx, kPage.cy});
        ASSERT_NE(page, nullptr);
        EXPECT_EQ(recorder.log, std::vector<std::string>{"resized"});
        EXPECT_EQ(view.pageSize(), (pages::TwipSize{kPage.cx * 15, kPage.cy * 15}));
        layOut(view);
        fill(view);
        EXPECT_EQ(recorder.log, std::vector<std::string>{"resized"}) << "the logic's own changes raise no event";
        pump();

        for (int row = 0; row < static_cast<int>(table->controls.size()); ++row) {
            SCOPED_TRACE(table->dictionaryKey(row));
            const ControlKind kind = table->controls[static_cast<std::size_t>(row)].kind;
            switch (kind) {
            case ControlKind::Label:
            case ControlKind::Button:
            case ControlKind::DelayBox:
            case ControlKind::CheckBox:
            case ControlKind::Headline: {
                EXPECT_EQ(view.text(row), textFor(row));
                HWND child = childWithText(page, textFor(row));
                ASSERT_NE(child, nullptr);
                if (kind == ControlKind::CheckBox) {
                    EXPECT_EQ(view.checked(row), row % 2 == 0);
                    EXPECT_EQ(SendMessageW(child, BM_GETCHECK, 0, 0) == BST_CHECKED, row % 2 == 0);
                }
                break;
            }
            case ControlKind::ComboBox: {
                EXPECT_EQ(view.text(row), "dritte \xC3\xA4");
                EXPECT_EQ(view.itemText(row, 0), "first");
                EXPECT_EQ(view.itemText(row, 3), "");
                HWND combo = childOfClass(page, L"ComboBox");
                ASSERT_NE(combo, nullptr);
                EXPECT_EQ(SendMessageW(combo, CB_GETCOUNT, 0, 0), 3);
                EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), 2);
                view.select(row, 7); // beyond the last: none
                EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), CB_ERR);
                EXPECT_EQ(view.text(row), "");
                break;
            }
            case ControlKind::Picture:
                EXPECT_FALSE(view.setPicture(row, kResources / "no such picture.gif"));
                EXPECT_FALSE(view.setPicture(row, kResources / "DTM.ini"));
                break;
            case ControlKind::Monitor: {
                EXPECT_EQ(view.linesText(row), "\nred line\ngreen line\nand its second");
                const auto boxes = descendants(page, [](HWND child) {
                    const std::wstring name = className(child);
                    return lstrcmpiW(name.c_str(), L"RICHEDIT50W") == 0 || lstrcmpiW(name.c_str(), L"RichEdit20W") == 0;
                });
                EXPECT_EQ(boxes.size(), 1u);
                view.clearLines(row);
                EXPECT_EQ(view.linesText(row), "");
                view.appendLine(row, "again", kRed);
                EXPECT_EQ(view.linesText(row), "\nagain");
                break;
            }
            case ControlKind::Panel:
            case ControlKind::Line:
                EXPECT_FALSE(view.setPicture(row, kResources / "device.gif"));
                break;
            }
        }
        // Resizing lays the page out again: the view tells its page.
        recorder.log.clear();
        view.setWindowRect({0, 0, 500, 300});
        EXPECT_EQ(recorder.log, std::vector<std::string>{"resized"});
        EXPECT_EQ(view.pageSize(), (pages::TwipSize{500 * 15, 300 * 15}));
    }
}

TEST_F(Win32PageViewTest, AWindowDestroyedBehindTheViewsBackIsNeverTouched)
{
    Win32PageView view(pages::monitorTable());
    Recorder recorder;
    view.setEvents(&recorder);
    HWND first = frame();
    ASSERT_NE(view.createWindow(first, {0, 0, kPage.cx, kPage.cy}), nullptr);
    layOut(view);
    view.appendLine(monitor::RichTextBoxComm, "shown once", kRed);
    DestroyWindow(first);
    EXPECT_EQ(view.window(), nullptr);

    // Every setter without a window: kept, or (the monitor's lines) dropped.
    recorder.log.clear();
    layOut(view);
    view.setText(monitor::btnClear, "Leeren");
    view.setText(monitor::ctlHeadline, "Kommunikation");
    view.setChecked(monitor::chkHARTProtocols, true);
    view.setItems(monitor::btnSave, {"ignored"});
    view.select(monitor::btnSave, 0);
    EXPECT_TRUE(view.setPicture(monitor::ctlHeadline, kResources / "manufacturer_logo.bmp"));
    view.appendLine(monitor::RichTextBoxComm, "dropped", kRed);
    view.clearLines(monitor::RichTextBoxComm);
    view.appendLine(monitor::RichTextBoxComm, "dropped too", kRed);
    view.setWindowRect({0, 0, 10, 10});
    RECT bounds{0, 0, 20, 20};
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    view.draw(memory, bounds);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    view.destroyWindow();
    EXPECT_EQ(view.linesText(monitor::RichTextBoxComm), "");
    EXPECT_EQ(view.text(monitor::btnClear), "Leeren");
    EXPECT_TRUE(view.checked(monitor::chkHARTProtocols));
    EXPECT_TRUE(recorder.log.empty());
    // Out-of-range rows change nothing and answer nothing.
    view.setText(-1, "x");
    view.setText(99, "x");
    EXPECT_EQ(view.text(99), "");

    // A new window shows what was kept.
    HWND page = view.createWindow(frame(), {0, 0, kPage.cx, kPage.cy});
    ASSERT_NE(page, nullptr);
    HWND clear = childWithText(page, "Leeren");
    ASSERT_NE(clear, nullptr);
    HWND hart = childWithText(page, "HART-Protocols");
    ASSERT_NE(hart, nullptr);
    EXPECT_EQ(SendMessageW(hart, BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(view.linesText(monitor::RichTextBoxComm), "");
    view.appendLine(monitor::RichTextBoxComm, "new", kGreen);
    EXPECT_EQ(view.linesText(monitor::RichTextBoxComm), "\nnew");
}

TEST_F(Win32PageViewTest, TheMonitorsLengthIsBounded)
{
    Win32PageView view(pages::monitorTable());
    ASSERT_NE(view.createWindow(frame(), {0, 0, kPage.cx, kPage.cy}), nullptr);
    layOut(view);
    const int row = monitor::RichTextBoxComm;
    auto lines = [&] {
        const std::string text = view.linesText(row);
        std::vector<std::string> split;
        std::size_t start = 0;
        for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
            split.push_back(text.substr(start, end - start));
        split.push_back(text.substr(start));
        return split;
    };

    // A megabyte in one line keeps the line's first kMonitorLineLength characters.
    view.appendLine(row, std::string(1 << 20, 'x'), kRed);
    EXPECT_EQ(lines(), (std::vector<std::string>{"", std::string(kMonitorLineLength, 'x')}));
    // A cut never splits a character: U+1F600 takes two UTF-16 units.
    view.clearLines(row);
    view.appendLine(row, std::string(kMonitorLineLength - 1, 'y') + "\xF0\x9F\x98\x80" + "z", kRed);
    EXPECT_EQ(lines().back(), std::string(kMonitorLineLength - 1, 'y'));
    view.clearLines(row);
    view.appendLine(row, std::string(kMonitorLineLength - 2, 'y') + "\xF0\x9F\x98\x80" + "z", kRed);
    EXPECT_EQ(lines().back(), std::string(kMonitorLineLength - 2, 'y') + "\xF0\x9F\x98\x80");
    // A NUL inside a line is no end of it: it shows as U+FFFD.
    view.clearLines(row);
    view.appendLine(row, std::string("a\0b", 3), kRed);
    view.appendLine(row, "c", kGreen);
    EXPECT_EQ(lines(), (std::vector<std::string>{"", "a\xEF\xBF\xBD" "b", "c"}));

    // 100,000 lines in one message: a new box with the newest kMonitorLinesKept of them.
    view.clearLines(row);
    std::string many;
    for (int i = 0; i < 100000; ++i)
        many += "m" + std::to_string(i) + "\n";
    view.appendLine(row, many, kGreen);
    auto shown = lines();
    ASSERT_EQ(shown.size(), kMonitorLinesKept);
    EXPECT_EQ(shown[shown.size() - 2], "m99999");
    EXPECT_EQ(shown.back(), ""); // after the last line feed

    // Line by line past the limit, with the loop turning (the parent's timer
    // telling the box) every so many lines, fewer than the hidden box reads a
    // turn, or not at all: the oldest go, the newest stay, in order, in one box
    // shown where the page last placed it, each in its colour and the box's
    // font, whatever characters they hold.
    static_assert(kMonitorLinesPerTurn < 300);
    for (const int turns : {0, 300}) {
        SCOPED_TRACE(turns ? "a turn every 300 lines" : "no turn of the loop");
        view.clearLines(row);
        const int count = 2 * kMonitorLineLimit + 17;
        const std::string tail = " {\\par}\t\x01\xC3\xA4\xE2\x82\xAC\xF0\x9F\x98\x80";
        RECT placed{};
        for (int i = 0; i < count; ++i) {
            if (i == kMonitorLineLimit + 2000) {
                // The page is resized while a hidden box fills, which takes
                // the shown one's place 1,000 lines later.
                view.place(row, {100, 200, 4000 + turns, 3000});
                GetWindowRect(monitorBox(view.window()), &placed);
            }
            view.appendLine(row, "l" + std::to_string(i) + tail, i % 2 ? kRed : kGreen);
            if (turns && i % turns == 0)
                turn(monitorBox(view.window()));
        }
        shown = lines();
        ASSERT_LE(shown.size(), static_cast<std::size_t>(kMonitorLineLimit));
        ASSERT_GE(shown.size(), kMonitorLinesKept);
        HWND box = monitorBox(view.window());
        RECT now{};
        GetWindowRect(box, &now);
        EXPECT_TRUE(EqualRect(&now, &placed));
        for (std::size_t i = 0; i < shown.size(); ++i) {
            const int number = count - static_cast<int>(shown.size()) + static_cast<int>(i);
            ASSERT_EQ(shown[i], "l" + std::to_string(number) + tail);
            const auto start = static_cast<LONG>(SendMessageW(box, EM_LINEINDEX, i, 0));
            CHARRANGE first{start, start + 1};
            SendMessageW(box, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&first));
            CHARFORMAT2W format{};
            format.cbSize = sizeof format;
            format.dwMask = CFM_COLOR | CFM_FACE | CFM_SIZE;
            SendMessageW(box, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
            ASSERT_EQ(format.crTextColor, number % 2 ? kRed : kGreen) << i;
            ASSERT_EQ(std::wstring(format.szFaceName), L"Courier New") << i;
            ASSERT_EQ(format.yHeight, 165) << i;
        }
        // Drawn, it is the one box shown.
        turn(box);
        const auto shownBoxes = descendants(view.window(), [](HWND child) {
            return _wcsnicmp(className(child).c_str(), L"RichEdit", 8) == 0 && IsWindowVisible(child);
        });
        EXPECT_EQ(shownBoxes, std::vector<HWND>{box});
    }
}

TEST_F(Win32PageViewTest, TheMonitorFollowsItsEndOnlyWhenItShowsIt)
{
    Win32PageView view(pages::monitorTable());
    ASSERT_NE(view.createWindow(frame(), {0, 0, kPage.cx, kPage.cy}), nullptr);
    layOut(view);
    const int row = monitor::RichTextBoxComm;
    const std::string wide(400, 'w');
    const auto append = [&](int count) {
        for (int i = 0; i < count; ++i)
            view.appendLine(row, "line " + std::to_string(i) + " " + wide, kGreen);
        view.appendLine(row, "short", kRed);
    };
    HWND box = monitorBox(view.window());
    append(200);
    turn(box);
    // At the end, scrolled to the left however wide the newest lines are.
    const POINT end = scrollPosition(box);
    EXPECT_GT(end.y, 0);
    EXPECT_EQ(end.x, 0);

    // The user scrolls up and to the right: appended lines move neither.
    POINT read{40, end.y / 2};
    SendMessageW(box, EM_SETSCROLLPOS, 0, reinterpret_cast<LPARAM>(&read));
    read = scrollPosition(box);
    append(50);
    turn(box);
    EXPECT_EQ(scrollPosition(box).x, read.x);
    EXPECT_EQ(scrollPosition(box).y, read.y);

    // Back at the end, the box follows the newest line down, and stays to the right.
    POINT down{read.x, 1 << 20};
    SendMessageW(box, EM_SETSCROLLPOS, 0, reinterpret_cast<LPARAM>(&down));
    const POINT bottom = scrollPosition(box);
    append(50);
    turn(box);
    EXPECT_GT(scrollPosition(box).y, bottom.y);
    EXPECT_EQ(scrollPosition(box).x, read.x);

    // Scrolled up to a line, the user still sees it when the box is full and
    // another with the newest lines takes its place.
    const auto firstShown = [](HWND shown) {
        const auto line = SendMessageW(shown, EM_GETFIRSTVISIBLELINE, 0, 0);
        wchar_t text[64] = {static_cast<wchar_t>(std::size(text))};
        const auto length = SendMessageW(shown, EM_GETLINE, static_cast<WPARAM>(line), reinterpret_cast<LPARAM>(text));
        return std::wstring(text, static_cast<std::size_t>(length)).substr(0, 12);
    };
    append(kMonitorLineLimit - 400);
    turn(box);
    const auto before = SendMessageW(box, EM_GETLINECOUNT, 0, 0);
    const auto lineHeight = scrollPosition(box).y / before; // roughly: the box is scrolled to its end
    POINT up{read.x, static_cast<LONG>((before - 300) * lineHeight)};
    SendMessageW(box, EM_SETSCROLLPOS, 0, reinterpret_cast<LPARAM>(&up));
    const std::wstring reading = firstShown(box);
    append(400);
    turn(monitorBox(view.window()));
    ASSERT_NE(monitorBox(view.window()), box);
    box = monitorBox(view.window());
    EXPECT_EQ(firstShown(box), reading);
    EXPECT_EQ(scrollPosition(box).x, read.x);
}

TEST_F(Win32PageViewTest, UserActionsAreReportedAndTheLogicsChangesAreNot)
{
    Win32PageView view(pages::offlineParamTable());
    Recorder recorder;
    view.setEvents(&recorder);
    HWND page = view.createWindow(frame(), {0, 0, kPage.cx, kPage.cy});
    ASSERT_NE(page, nullptr);
    layOut(view);
    view.setItems(offline::DevTypeCombo, {"A", "B", "C"});
    view.select(offline::DevTypeCombo, 0);
    view.setText(offline::WSDelayValue, "12");
    recorder.log.clear();

    // The delay box: digits and Backspace typed, nothing else (a control
    // character typed without Ctrl held is no shortcut).
    HWND delay = childOfClass(page, L"Edit");
    ASSERT_NE(delay, nullptr);
    SendMessageW(delay, EM_SETSEL, 2, 2);
    SendMessageW(delay, WM_CHAR, L'3', 0);
    SendMessageW(delay, WM_CHAR, L'a', 0);
    SendMessageW(delay, WM_CHAR, L'-', 0);
    SendMessageW(delay, WM_CHAR, 0x16, 0);
    SendMessageW(delay, WM_CHAR, 0x01, 0);
    SendMessageW(delay, WM_CHAR, 8, 0); // Backspace
    SendMessageW(delay, WM_KEYUP, L'3', 0);
    EXPECT_EQ(recorder.log, (std::vector<std::string>{event("edited", offline::WSDelayValue), event("edited", offline::WSDelayValue),
                                        event("keyReleased", offline::WSDelayValue)}));
    EXPECT_EQ(view.text(offline::WSDelayValue), "12");
    EXPECT_EQ(windowText(delay), L"12");
    // With Ctrl held, Ctrl+A selects all, and what is typed then replaces it.
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    BYTE held[256];
    std::copy(std::begin(keys), std::end(keys), held);
    held[VK_CONTROL] = 0x80;
    SetKeyboardState(held);
    SendMessageW(delay, WM_CHAR, 0x01, 0);
    SetKeyboardState(keys);
    SendMessageW(delay, WM_CHAR, L'4', 0);
    EXPECT_EQ(windowText(delay), L"4");
    view.setText(offline::WSDelayValue, "12");
    recorder.log.clear();
    view.setText(offline::WSDelayValue, "300");
    EXPECT_TRUE(recorder.log.empty());
    EXPECT_EQ(windowText(delay), L"300");

    // The combo box: the user's choice in the open list, also of the entry already selected.
    HWND combo = childOfClass(page, L"ComboBox");
    ASSERT_NE(combo, nullptr);
    SendMessageW(combo, CB_SETCURSEL, 2, 0);
    SendMessageW(GetParent(combo), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(combo), CBN_SELENDOK),
                 reinterpret_cast<LPARAM>(combo));
    SendMessageW(GetParent(combo), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(combo), CBN_SELENDOK),
                 reinterpret_cast<LPARAM>(combo));
    // With the list closed the arrow keys choose at once.
    SendMessageW(combo, WM_KEYDOWN, VK_UP, 0);
    // In the open list the arrow keys move, and Enter chooses.
    SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0);
    SendMessageW(combo, WM_KEYDOWN, VK_DOWN, 0);
    SendMessageW(combo, WM_KEYDOWN, VK_DOWN, 0);
    SendMessageW(combo, WM_KEYDOWN, VK_RETURN, 0);
    SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0);
    SendMessageW(combo, WM_KEYDOWN, VK_RETURN, 0);
    pump();
    EXPECT_EQ(recorder.log, (std::vector<std::string>{event("chosen", offline::DevTypeCombo, 2), event("chosen", offline::DevTypeCombo, 2),
                                        event("chosen", offline::DevTypeCombo, 1), event("chosen", offline::DevTypeCombo, 2),
                                        event("chosen", offline::DevTypeCombo, 2)}));
    EXPECT_EQ(view.text(offline::DevTypeCombo), "C");
    recorder.log.clear();
    view.select(offline::DevTypeCombo, 0);
    view.setItems(offline::DevTypeCombo, {"X"});
    EXPECT_TRUE(recorder.log.empty());
    EXPECT_EQ(SendMessageW(combo, CB_GETCOUNT, 0, 0), 1);

    // The headline's logo, and only the logo, is a click.
    ASSERT_TRUE(view.setPicture(offline::ctlHeadline, kResources / "manufacturer_logo.bmp"));
    HWND headline = ChildWindowFromPointEx(page, {5, 5}, CWP_ALL);
    ASSERT_NE(headline, page);
    RECT client{};
    GetClientRect(headline, &client);
    SendMessageW(headline, WM_LBUTTONUP, 0, MAKELPARAM(client.right - 3, client.bottom / 2));
    SendMessageW(headline, WM_LBUTTONUP, 0, MAKELPARAM(3, client.bottom / 2));
    EXPECT_EQ(recorder.log, std::vector<std::string>{event("clicked", offline::ctlHeadline)});

    // Check boxes and buttons on the monitor page.
    Win32PageView monitorView(pages::monitorTable());
    monitorView.setEvents(&recorder);
    HWND monitorPage = monitorView.createWindow(frame(), {0, 0, kPage.cx, kPage.cy});
    ASSERT_NE(monitorPage, nullptr);
    layOut(monitorView);
    recorder.log.clear();
    HWND zeb = childWithText(monitorPage, "ZEB-Protocols");
    ASSERT_NE(zeb, nullptr);
    SendMessageW(zeb, BM_CLICK, 0, 0);
    EXPECT_TRUE(monitorView.checked(monitor::chkZEBProtocols));
    monitorView.setChecked(monitor::chkZEBProtocols, false);
    EXPECT_EQ(SendMessageW(zeb, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    SendMessageW(childWithText(monitorPage, "Clear"), BM_CLICK, 0, 0);
    EXPECT_EQ(recorder.log, (std::vector<std::string>{event("clicked", monitor::chkZEBProtocols), event("clicked", monitor::btnClear)}));

    // A page that lets go of its events hears nothing more.
    monitorView.setEvents(nullptr);
    SendMessageW(zeb, BM_CLICK, 0, 0);
    EXPECT_EQ(recorder.log.size(), 2u);
}

// Writes a top-down 32-bit capture as a BMP file.
void writeBitmap(const std::filesystem::path& file, const void* bits, SIZE size)
{
    const DWORD imageSize = static_cast<DWORD>(size.cx * size.cy * 4);
    BITMAPFILEHEADER header{};
    header.bfType = 0x4D42; // "BM"
    header.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
    header.bfSize = header.bfOffBits + imageSize;
    const BITMAPINFOHEADER info{sizeof info, size.cx, -size.cy, 1, 32, BI_RGB, imageSize, 0, 0, 0, 0};
    std::FILE* out = _wfopen(file.wstring().c_str(), L"wb");
    ASSERT_NE(out, nullptr);
    std::fwrite(&header, sizeof header, 1, out);
    std::fwrite(&info, sizeof info, 1, out);
    std::fwrite(bits, imageSize, 1, out);
    std::fclose(out);
}

// The capture of a page through draw(): every control's rectangle holds
// pixels other than the colour it stands on, and the monitor each line colour.
// With ZEB2HART_CAPTURE_DIR set, each page's capture is written there as a BMP file.
TEST_F(Win32PageViewTest, TheCaptureShowsEveryControl)
{
    for (const pages::PageTable* table : pages::pageTables()) {
        SCOPED_TRACE(std::string(table->controlName));
        Win32PageView view(*table);
        ASSERT_NE(view.createWindow(frame(), {0, 0, kPage.cx, kPage.cy}), nullptr);
        layOut(view);
        fill(view);
        pump();

        BITMAPINFO info{};
        info.bmiHeader = {sizeof info.bmiHeader, kPage.cx, -kPage.cy, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        ASSERT_NE(bitmap, nullptr);
        HDC dc = CreateCompatibleDC(nullptr);
        const HGDIOBJ old = SelectObject(dc, bitmap);
        const std::uint32_t empty = 0x123456;
        std::fill_n(static_cast<std::uint32_t*>(bits), kPage.cx * kPage.cy, empty);
        view.draw(dc, {0, 0, kPage.cx, kPage.cy});
        GdiFlush();
        if (const char* folder = std::getenv("ZEB2HART_CAPTURE_DIR"))
            writeBitmap(std::filesystem::path(folder) / (std::string(table->controlName) + ".bmp"), bits, kPage);
        // The pixel as 0x00BBGGRR.
        auto pixel = [&](int x, int y) {
            const std::uint32_t rgb = static_cast<std::uint32_t*>(bits)[y * kPage.cx + x] & 0xFFFFFF;
            return ((rgb & 0xFF) << 16) | (rgb & 0xFF00) | (rgb >> 16);
        };

        // Each rectangle in page pixels (at 96 dpi), clipped to its container's.
        const std::vector<pages::TwipRect> rects = table->layOut(view.pageSize());
        std::vector<RECT> onPage(rects.size());
        for (std::size_t row = 0; row < rects.size(); ++row) {
            const pages::ControlInfo& control = table->controls[row];
            const RECT container = control.container < 0 ? RECT{0, 0, kPage.cx, kPage.cy}
                                                         : onPage[static_cast<std::size_t>(control.container)];
            const int left = container.left + pages::twipsToPixels(rects[row].left);
            const int top = container.top + pages::twipsToPixels(rects[row].top);
            const RECT own{left, top, left + pages::twipsToPixels(rects[row].width),
                           top + pages::twipsToPixels(rects[row].height)};
            IntersectRect(&onPage[row], &own, &container);
        }
        for (std::size_t row = 0; row < rects.size(); ++row) {
            SCOPED_TRACE(table->dictionaryKey(static_cast<int>(row)));
            const pages::ControlInfo& control = table->controls[row];
            const std::uint32_t standsOn =
                control.container < 0 ? support::kPageBlue
                                      : table->controls[static_cast<std::size_t>(control.container)].style.background;
            const RECT& rect = onPage[row];
            ASSERT_FALSE(IsRectEmpty(&rect));
            int untouched = 0;
            bool drawn = false;
            bool red = false;
            bool green = false;
            for (int y = rect.top; y < rect.bottom; ++y) {
                for (int x = rect.left; x < rect.right; ++x) {
                    const std::uint32_t value = pixel(x, y);
                    untouched += value == empty;
                    drawn = drawn || value != standsOn;
                    red = red || value == kRed;
                    green = green || value == kGreen;
                }
            }
            EXPECT_EQ(untouched, 0);
            EXPECT_TRUE(drawn);
            if (control.kind == ControlKind::Monitor) {
                EXPECT_TRUE(red);
                EXPECT_TRUE(green);
            }
        }
        SelectObject(dc, old);
        DeleteDC(dc);
        DeleteObject(bitmap);
    }
}

TEST_F(Win32PageViewTest, TheWindowClassesGoWithTheLastView)
{
    WNDCLASSEXW found{};
    found.cbSize = sizeof found;
    HMODULE module = GetModuleHandleW(nullptr);
    {
        Win32PageView first(pages::aboutTable());
        Win32PageView second(pages::aboutTable());
        EXPECT_TRUE(GetClassInfoExW(module, L"ZEB2HARTGatewayPage", &found));
    }
    EXPECT_FALSE(GetClassInfoExW(module, L"ZEB2HARTGatewayPage", &found));
    EXPECT_FALSE(GetClassInfoExW(module, L"ZEB2HARTGatewayPanel", &found));
}

} // namespace
} // namespace zeb2hart::ui::win32

int main(int argc, char** argv)
{
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    CoUninitialize();
    return result;
}
