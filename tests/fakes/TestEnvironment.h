#pragma once
// The platform services every test runs under: the built component folder, a
// manual event loop, numbered GUIDs, a fixed clock and recording dialogs.

#include <filesystem>
#include <memory>

#include "platform/ManualServices.h"

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

// The manual services at the tests' moment (2026-12-06 14:05:09) for its lifetime.
class TestEnvironment : public platform::ManualServices {
public:
    explicit TestEnvironment(const std::filesystem::path& componentFolder = componentDir());
};

} // namespace zeb2hart::test
