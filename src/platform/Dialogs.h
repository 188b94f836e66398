#pragma once
// The user-facing platform services the component calls: a modal message box,
// a save-file dialog and the shell's "open" of an address. Qt adapters live in
// the ui layer; the recording adapters here serve tests and frame scripts.
// One thread calls them: the frame's apartment, calling into the component.

#include <optional>
#include <string>
#include <vector>
#include "../fdt/Export.h"

namespace zeb2hart::platform {

class ZEB2HART_API MessageBox {
public:
    enum class Icon { Information, Exclamation, Critical };
    virtual ~MessageBox() = default;
    // Modal box with an OK button.
    virtual void show(const std::string& text, Icon icon) = 0;
};

class ZEB2HART_API FileDialog {
public:
    virtual ~FileDialog() = default;
    // Asks for a file name to save to; nothing when the user cancels.
    // `filter` is in the "Description (*.EXT)|*.EXT" form.
    virtual std::optional<std::string> askSaveFileName(const std::string& filter, bool promptOverwrite) = 0;
};

class ZEB2HART_API Shell {
public:
    virtual ~Shell() = default;
    virtual void open(const std::string& address) = 0;
};

class ZEB2HART_API RecordingMessageBox final : public MessageBox {
public:
    void show(const std::string& text, Icon icon) override { shown.push_back({text, icon}); }
    struct Shown {
        std::string text;
        Icon icon;
    };
    std::vector<Shown> shown;
};

class ZEB2HART_API RecordingFileDialog final : public FileDialog {
public:
    std::optional<std::string> askSaveFileName(const std::string& filter, bool promptOverwrite) override
    {
        asked.push_back({filter, promptOverwrite});
        return answer;
    }
    struct Asked {
        std::string filter;
        bool promptOverwrite;
    };
    std::vector<Asked> asked;
    std::optional<std::string> answer; // what the "user" picks; nothing = cancel
};

class ZEB2HART_API RecordingShell final : public Shell {
public:
    void open(const std::string& address) override { opened.push_back(address); }
    std::vector<std::string> opened;
};

} // namespace zeb2hart::platform
