#pragma once
// PageView: what a page's logic asks of a toolkit, and PageEvents: what the
// toolkit tells the logic back. A view shows the controls of one PageTable and
// knows each by its row. It draws, and it reports what the user does; it makes
// no decision. A change the logic makes (a caption, a check mark, a text, a
// selection) raises no event: the logic runs its own handlers for those.
//
// A view may outlive its window (a frame may destroy the window of a page that
// stays alive): it then keeps what it is told so that it can be shown again or
// drops it, and never draws into a window that is gone. Called on the thread
// that made the view.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "pages/PageControls.h"
#include "pages/Twips.h"

namespace zeb2hart::pages {

// How much the monitor view keeps, in every toolkit. A day of a busy line at a
// few lines a minute is far less; any more and a frame's user scrolls a view
// that nobody reads. Past the limit the oldest lines go, kMonitorTrimBlock at a
// time, so that appending costs the same however long the view has been open.
constexpr int kMonitorLineLimit = 5000;
constexpr int kMonitorTrimBlock = 500;
// The characters (UTF-16 units) kept of one line; the rest of a longer line is
// dropped. A trace line of the gateway is a few hundred characters.
constexpr int kMonitorLineLength = 4096;

class PageEvents {
public:
    virtual ~PageEvents() = default;
    // A button or check box was clicked (a check box's new state is already
    // shown), or the headline's logo.
    virtual void clicked(int row) = 0;
    // The user chose the entry at `position` of a combo box, also the one already selected.
    virtual void chosen(int row, int position) = 0;
    // The user changed a text box's text (typing, deleting, pasting).
    virtual void edited(int row) = 0;
    // A key was released in a text box.
    virtual void keyReleased(int row) = 0;
    // The page has a new size.
    virtual void resized() = 0;
};

class PageView {
public:
    virtual ~PageView() = default;

    // Where events go; nullptr: nowhere. Set by the page that owns the view.
    virtual void setEvents(PageEvents* events) = 0;
    virtual const PageTable& table() const = 0;
    // The page's size as shown.
    virtual TwipSize pageSize() const = 0;

    // Puts the control at `rect` inside its container.
    virtual void place(int row, const TwipRect& rect) = 0;
    // The text a control shows: a caption, a text box's text, the headline's title.
    virtual void setText(int row, const std::string& text) = 0;
    virtual std::string text(int row) const = 0;
    virtual void setChecked(int row, bool checked) = 0;
    virtual bool checked(int row) const = 0;
    // A combo box's entries; none is selected afterwards.
    virtual void setItems(int row, const std::vector<std::string>& items) = 0;
    // -1 selects none.
    virtual void select(int row, int position) = 0;
    virtual std::string itemText(int row, int position) const = 0;
    // Shows the image file; false, and the picture as it was, when it cannot be read.
    virtual bool setPicture(int row, const std::filesystem::path& file) = 0;

    // The monitor view: a new line at the end in the colour (0x00BBGGRR), each
    // CR LF, CR or LF in the text starting a further line, within the limits
    // above; back to one empty line; the lines joined by "\n".
    virtual void appendLine(int row, const std::string& text, std::uint32_t bgr) = 0;
    virtual void clearLines(int row) = 0;
    virtual std::string linesText(int row) const = 0;
};

} // namespace zeb2hart::pages
