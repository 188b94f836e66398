#pragma once
// Win32PageView: a page's view made of Win32 child windows, for the pages the
// DLL serves as ActiveX controls. It makes the controls of its PageTable as
// child windows of one page window (panels, static labels, check boxes,
// buttons, a drop-down list, an edit box for the delay, pictures decoded with
// WIC, a RichEdit box for the monitor and the painted headline), places them
// at the twips the page logic gives, converted at the window's DPI, and
// reports the user's actions to its PageEvents.
//
// The view lives longer than its window: the OLE control makes the window on
// in-place activation and a frame may destroy it at any time. While there is
// no window the view keeps captions, check marks, entries, texts and pictures
// (shown when a window is made again) and drops monitor lines. Called on the
// thread of its apartment only.

#include <windows.h>

#include <memory>

#include "pages/PageView.h"

namespace zeb2hart::ui::win32 {

class Win32PageView final : public pages::PageView {
public:
    explicit Win32PageView(const pages::PageTable& table);
    ~Win32PageView() override;
    Win32PageView(const Win32PageView&) = delete;
    Win32PageView& operator=(const Win32PageView&) = delete;

    // Makes the page window as a child of `parent` at `rect` (pixels in the
    // parent's client area) with all its controls, showing what the view
    // holds; answers the window, or nullptr when it cannot be made. A window
    // made before is destroyed first.
    HWND createWindow(HWND parent, const RECT& rect);
    // Destroys the page window, if there is one.
    void destroyWindow();
    // The page window; nullptr while there is none (also after a frame destroyed it).
    HWND window() const;
    // Moves and sizes the page window; the page lays itself out again (PageEvents::resized).
    void setWindowRect(const RECT& rect);
    // Draws the page as it is shown into `dc` with its top left at `bounds`'
    // top left, each child window in its place (IViewObject::Draw). Without a
    // window it fills `bounds` with the page colour.
    void draw(HDC dc, const RECT& bounds);

    // pages::PageView
    void setEvents(pages::PageEvents* events) override;
    const pages::PageTable& table() const override;
    pages::TwipSize pageSize() const override;
    void place(int row, const pages::TwipRect& rect) override;
    void setText(int row, const std::string& text) override;
    std::string text(int row) const override;
    void setChecked(int row, bool checked) override;
    bool checked(int row) const override;
    void setItems(int row, const std::vector<std::string>& items) override;
    void select(int row, int position) override;
    std::string itemText(int row, int position) const override;
    bool setPicture(int row, const std::filesystem::path& file) override;
    void appendLine(int row, const std::string& text, std::uint32_t bgr) override;
    void clearLines(int row) override;
    std::string linesText(int row) const override;

private:
    struct State;
    std::unique_ptr<State> m_state;
};

} // namespace zeb2hart::ui::win32
