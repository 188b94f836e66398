#pragma once
// The platform services every test runs under: the built component folder, a
// manual event loop, numbered GUIDs, a fixed clock and recording dialogs.

#include <filesystem>
#include <memory>
#include <string>

#include "fakes/BuildFolders.h"
#include "platform/ManualServices.h"

namespace zeb2hart::test {

// A fresh copy of the component's data files in a temporary folder, removed again
// at destruction, for tests that change a settings file, template or dictionary.
// Given a name (UTF-8), the component folder is a folder of that name inside it.
class TempComponentFolder {
public:
    explicit TempComponentFolder(const std::string& name = {});
    ~TempComponentFolder();
    TempComponentFolder(const TempComponentFolder&) = delete;
    TempComponentFolder& operator=(const TempComponentFolder&) = delete;
    const std::filesystem::path& path() const { return m_path; }
    void write(const std::filesystem::path& relative, const std::string& content) const;
    // The temporary folder that holds everything.
    const std::filesystem::path& root() const { return m_root; }

private:
    std::filesystem::path m_root;
    std::filesystem::path m_path;
};

// The manual services at the tests' moment (2026-12-06 14:05:09) for its lifetime.
class TestEnvironment : public platform::ManualServices {
public:
    explicit TestEnvironment(const std::filesystem::path& componentFolder = componentDir());
};

} // namespace zeb2hart::test
