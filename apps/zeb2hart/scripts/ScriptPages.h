#pragma once
// The real pages in frame scripts: the Qt pages, opened offscreen, whose
// controls a script acts on by object name. The Qt part of zeb2hart provides
// them; a zeb2hart built without Qt has none and says so.

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "transcript/Transcript.h"
#include "fdt/DtmInterfaces.h"

namespace zeb2hart::frame {

// What a script does with a control of an open page.
struct ControlAction {
    enum class Kind { Click, Select, Type, Read };
    Kind kind = Kind::Read;
    std::string page;    // empty: the one open page that has the control
    std::string control; // the widget's object name ("chkZEBProtocols", "WSDelayValue")
    std::optional<int> index;        // Select: by position
    std::optional<std::string> text; // Select: by the entry's text
    std::string keys;                // Type: characters, "\b" or {Backspace}, {Delete}, {Left}, {Ctrl+A}, ...
    std::optional<std::string> paste; // Type: put on the clipboard and pasted (Ctrl+V) after the keys
    bool colors = false;              // Read of the monitor view: also each line's colour
};

// The control an action reached and what it shows after the action.
struct ControlState {
    std::string page;
    std::string control;
    Json state; // {"kind", "text", "enabled", "visible", and "checked" / "items" + "index" by kind}
};

// A step on a page or control that cannot be done (no such page, control or
// entry, a disabled control): the script stops with this message.
class PageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class ScriptPages {
public:
    virtual ~ScriptPages() = default;

    struct PageClass {
        std::string name;       // as scripts name it
        std::string progId;     // as the class registry knows it
        std::string functionId; // the DTM function the page implements
    };
    // monitor, offline and about.
    static const std::vector<PageClass>& pageClasses();
    // nullptr for an unknown name.
    static const PageClass* pageClass(const std::string& name);

    // Creates the page `page` through the class registry by its ProgID and puts
    // it in a host window offscreen; Init is left to the caller.
    virtual std::shared_ptr<fdt::IDtmActiveXControl> create(const std::string& page) = 0;
    // Takes the page off the screen and lets go of it (after PrepareToRelease).
    virtual void destroy(const std::string& page) = 0;
    // The open page of that name; nullptr when it is not open.
    virtual std::shared_ptr<fdt::IDtmActiveXControl> opened(const std::string& page) const = 0;
    virtual ControlState act(const ControlAction& action) = 0;
    // Writes the open page as it is shown now to a PNG file; answers
    // {"file", "width", "height"}. PageError when it is not open or the file cannot be written.
    virtual Json screenshot(const std::string& page, const std::filesystem::path& file) = 0;
    // Gives the open page's window this size in pixels; answers {"width", "height"} as shown.
    virtual Json resize(const std::string& page, int width, int height) = 0;
    // Lets the window system catch up (layout, painting, deferred updates).
    virtual void settle() = 0;
    // Closes every page without telling anyone (the instance is going).
    virtual void destroyAll() = 0;

protected:
    // The page an action acts on: the one it names, or else the only one of
    // `open` (the open pages' names) that `hasControl`. PageError when the
    // named page is not open, or no page or more than one has the control;
    // `toolkit` names the pages in the message ("Qt page", "page").
    static std::string targetPage(const ControlAction& action, const std::vector<std::string>& open,
                                  const std::function<bool(const std::string& page)>& hasControl,
                                  const std::string& toolkit);
};

using ScriptPagesFactory = std::function<std::unique_ptr<ScriptPages>()>;

} // namespace zeb2hart::frame
