// Lines appended to the Win32 monitor view (RichEdit) under a growing count:
// the cost of a block of lines at the start and after many, appended only and
// appended and painted (messages pumped and the box painted after every line,
// as when each line arrives in a turn of its own of the frame's loop), in
// lines a second. The monitor keeps its newest lines only, so that a line costs the
// same however many came before: the last block may cost at most twice the
// first. A measurement, not a test: it fails only when the view cannot be made.
//
//   zeb2hart_win32_monitor_bench [LINES]     (default 100000)

#include "platform/win32/WindowsApi.h"

#include <chrono>
#include <cstdio>
#include <objbase.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "pages/PageControls.h"
#include "ui/win32/Win32PageView.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kBlock = 1000;

void pump()
{
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

// Lines a second of each block of kBlock lines; the longest line (its append,
// and its painting when painted) is printed at the end: the frame's longest stall.
std::vector<double> run(zeb2hart::ui::win32::Win32PageView& view, int lines, bool paint)
{
    using namespace zeb2hart::pages;
    view.clearLines(monitor::RichTextBoxComm);
    std::vector<double> rates;
    const std::string text = "12:00:00.000 FDT  ->  Transaction request 128 to device 3, 24 bytes: 82 A5 0F 00 01 ";
    auto start = Clock::now();
    Clock::duration longest{};
    int longestLine = 0;
    for (int i = 1; i <= lines; ++i) {
        const auto lineStart = Clock::now();
        view.appendLine(monitor::RichTextBoxComm, text + std::to_string(i), i % 2 ? 0x0000C0 : 0x008000);
        if (paint) {
            pump();
            // The box, whichever window it is now, painted.
            RedrawWindow(view.window(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        }
        if (const auto took = Clock::now() - lineStart; took > longest)
            longest = took, longestLine = i;
        if (i % kBlock == 0) {
            pump();
            const auto now = Clock::now();
            rates.push_back(kBlock / std::chrono::duration<double>(now - start).count());
            if (i == kBlock || i % (10 * kBlock) == 0)
                std::printf("  %-22s lines %6d-%6d: %8.0f lines/s\n", paint ? "appended and painted" : "appended",
                            i - kBlock + 1, i, rates.back());
            start = Clock::now();
        }
    }
    std::printf("  %-22s longest line: %.0f ms (line %d)\n", paint ? "appended and painted" : "appended",
                std::chrono::duration<double, std::milli>(longest).count(), longestLine);
    return rates;
}

void report(const char* what, const std::vector<double>& rates)
{
    if (rates.size() < 2)
        return;
    const double first = rates.front();
    const double last = rates.back();
    std::printf("%-22s lines 1-%d: %9.0f lines/s   last %d lines (to %zu): %9.0f lines/s   cost ratio last/first %.2f\n",
                what, kBlock, first, kBlock, rates.size() * kBlock, last, first / last);
}

} // namespace

int main(int argc, char** argv)
{
    using namespace zeb2hart;
    const int lines = argc > 1 ? std::max(2 * kBlock, std::atoi(argv[1])) : 100000;
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    HWND frame = CreateWindowExW(0, L"STATIC", L"bench", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 800, 600,
                                 nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    int status = 0;
    {
        ui::win32::Win32PageView view(pages::monitorTable());
        if (frame == nullptr || view.createWindow(frame, {0, 0, 800, 600}) == nullptr) {
            std::fprintf(stderr, "win32_monitor_bench: cannot make the monitor view\n");
            status = 1;
        } else {
            const std::vector<pages::TwipRect> rects = view.table().layOut(view.pageSize());
            for (std::size_t row = 0; row < rects.size(); ++row)
                view.place(static_cast<int>(row), rects[row]);
            report("appended", run(view, lines, false));
            report("appended and painted", run(view, lines, true));
        }
    }
    if (frame != nullptr)
        DestroyWindow(frame);
    CoUninitialize();
    return status;
}
