#include "fakes/TestEnvironment.h"
#include "platform/Paths.h"

#include <fstream>
#include <random>

namespace zeb2hart::test {

namespace {
std::tm testMoment()
{
    std::tm moment{};
    moment.tm_year = 2026 - 1900;
    moment.tm_mon = 11;
    moment.tm_mday = 6;
    moment.tm_hour = 14;
    moment.tm_min = 5;
    moment.tm_sec = 9;
    return moment;
}
} // namespace

TempComponentFolder::TempComponentFolder(const std::string& name)
{
    std::random_device random;
    m_root = std::filesystem::temp_directory_path() / ("zeb2hart-test-" + std::to_string(random()));
    m_path = name.empty() ? m_root : m_root / platform::pathFromUtf8(name);
    std::filesystem::create_directories(m_path);
    for (const char* dir : {"XMLData", "XMLSchemas", "Resources"})
        std::filesystem::copy(componentDir() / dir, m_path / dir, std::filesystem::copy_options::recursive);
}

TempComponentFolder::~TempComponentFolder()
{
    std::error_code ignored;
    std::filesystem::remove_all(m_root, ignored);
}

void TempComponentFolder::write(const std::filesystem::path& relative, const std::string& content) const
{
    std::filesystem::create_directories((m_path / relative).parent_path());
    std::ofstream out(m_path / relative, std::ios::binary | std::ios::trunc);
    out << content;
}

TestEnvironment::TestEnvironment(const std::filesystem::path& componentFolder)
    : ManualServices(componentFolder, testMoment())
{
}

} // namespace zeb2hart::test
