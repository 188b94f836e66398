#pragma once
// The platform services every test runs under: the built component folder, a
// manual event loop, numbered GUIDs, a fixed clock and recording dialogs.

#include <filesystem>
#include <memory>

#include "platform/ManualEventLoop.h"
#include "platform/Services.h"

namespace zeb2hart::test {

// The component folder of the build tree (libzeb2hart.so and its data).
std::filesystem::path componentDir();
// The frame stand-in's folder of FDT schemas.
std::filesystem::path frameSchemaDir();

// A fresh copy of the component's data files in a temporary folder, removed again
// at destruction, for tests that change a settings file, template or dictionary.
class TempComponentFolder {
public:
    TempComponentFolder();
    ~TempComponentFolder();
    TempComponentFolder(const TempComponentFolder&) = delete;
    TempComponentFolder& operator=(const TempComponentFolder&) = delete;
    const std::filesystem::path& path() const { return m_path; }
    void write(const std::filesystem::path& relative, const std::string& content) const;

private:
    std::filesystem::path m_path;
};

// Installs test services for its lifetime.
class TestEnvironment {
public:
    explicit TestEnvironment(const std::filesystem::path& componentFolder = componentDir());
    platform::ManualEventLoop& loop() { return *m_loop; }
    platform::RecordingMessageBox& messageBox() { return *m_messageBox; }
    platform::RecordingFileDialog& fileDialog() { return *m_fileDialog; }
    platform::RecordingShell& shell() { return *m_shell; }
    platform::FixedClock& clock() { return *m_clock; }
    platform::SequentialGuidSource& guids() { return *m_guids; }

private:
    std::shared_ptr<platform::ManualEventLoop> m_loop = std::make_shared<platform::ManualEventLoop>();
    std::shared_ptr<platform::RecordingMessageBox> m_messageBox = std::make_shared<platform::RecordingMessageBox>();
    std::shared_ptr<platform::RecordingFileDialog> m_fileDialog = std::make_shared<platform::RecordingFileDialog>();
    std::shared_ptr<platform::RecordingShell> m_shell = std::make_shared<platform::RecordingShell>();
    std::shared_ptr<platform::FixedClock> m_clock;
    std::shared_ptr<platform::SequentialGuidSource> m_guids = std::make_shared<platform::SequentialGuidSource>();
    std::unique_ptr<platform::ScopedServices> m_scope;
};

} // namespace zeb2hart::test
