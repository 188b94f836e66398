#pragma once
// The user-facing platform services on Qt: the modal message box, the save
// dialog and the shell's "open" through QDesktopServices. Called on the GUI
// thread, as the DTMs that show them are.

#include <optional>
#include <string>

#include "platform/Dialogs.h"
#include "platform/Services.h"

namespace zeb2hart::ui {

class QtMessageBox final : public platform::MessageBox {
public:
    void show(const std::string& text, Icon icon) override;
};

class QtFileDialog final : public platform::FileDialog {
public:
    std::optional<std::string> askSaveFileName(const std::string& filter, bool promptOverwrite) override;
};

class QtShell final : public platform::Shell {
public:
    void open(const std::string& address) override;
};

// "Description (*.EXT)|*.EXT|..." as Qt writes name filters: "Description (*.EXT);;...".
std::string qtNameFilter(const std::string& filter);

// A set holding only the three Qt services, to install with platform::ScopedServices.
platform::Services qtDialogServices();

} // namespace zeb2hart::ui
