#pragma once
// The dialogs of the Windows build: MessageBoxW, the common save-file dialog
// and ShellExecuteW, each owned by the frame's active window.
// One thread calls them: the frame's apartment, calling into the component.

#include "platform/Dialogs.h"

namespace zeb2hart::platform {

class Win32MessageBox final : public MessageBox {
public:
    void show(const std::string& text, Icon icon) override;
};

class Win32FileDialog final : public FileDialog {
public:
    std::optional<std::string> askSaveFileName(const std::string& filter, bool promptOverwrite) override;
};

class Win32Shell final : public Shell {
public:
    void open(const std::string& address) override;
};

} // namespace zeb2hart::platform
