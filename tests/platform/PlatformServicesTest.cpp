#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include <csignal>

#ifndef _WIN32
#include <sys/resource.h>
#include <unistd.h>
#endif

#include "fakes/TestEnvironment.h"
#include "fdt/Errors.h"
#include "fdt/Guid.h"
#include "fdt/Object.h"
#include "platform/ClassRegistry.h"
#include "platform/ComponentFolder.h"
#include "platform/FileText.h"
#include "platform/GuidSource.h"
#include "platform/PropertyBag.h"

namespace zeb2hart::platform {
namespace {

namespace fs = std::filesystem;

TEST(Guid, FormatsAndParsesTheRegistryForm)
{
    const auto guid = fdt::Guid::parse("036d1481-387b-11d4-86e1-00e0987270b9");
    ASSERT_TRUE(guid);
    EXPECT_EQ(guid->toString(), "{036D1481-387B-11D4-86E1-00E0987270B9}");
    EXPECT_EQ(fdt::Guid::parse(guid->toString()), guid);
    for (const char* bad : {"", "{036D1481-387B-11D4-86E1-00E0987270B9", "036D1481+387B-11D4-86E1-00E0987270B9",
                            "036D1481-387B-11D4-86E1-00E0987270BG", "036D1481-387B-11D4-86E1-00E0987270-1",
                            "036D1481-387B-11D4-86E1-00E0987270+1", "036D1481-387B-11D4-86E1-00E0987270 1",
                            "036D1481-387B-11D4-86E1-00E09872700x"})
        EXPECT_FALSE(fdt::Guid::parse(bad)) << bad;
}

TEST(GuidSource, SequentialGuidsAreNumberedAndStartAgainAfterAReset)
{
    SequentialGuidSource sequential;
    EXPECT_EQ(sequential.newGuid()->toString(), "{00000000-0000-4000-8000-000000000001}");
    EXPECT_EQ(sequential.newGuid()->toString(), "{00000000-0000-4000-8000-000000000002}");
    sequential.reset();
    EXPECT_EQ(sequential.newGuid()->toString(), "{00000000-0000-4000-8000-000000000001}");
}

TEST(ClassRegistry, CreatesRegisteredClassesByProgIdAndClsid)
{
    struct Widget : fdt::Object {};
    auto& registry = ClassRegistry::instance();
    const auto clsid = *fdt::Guid::parse("11111111-2222-3333-4444-555555555555");
    registry.add("Test.Widget", clsid, [] { return std::make_shared<Widget>(); });
    registry.add("Test.NoFactory", *fdt::Guid::parse("11111111-2222-3333-4444-666666666666"));
    EXPECT_EQ(registry.clsidOf("Test.Widget"), clsid);
    EXPECT_FALSE(registry.clsidOf("Test.Unknown"));
    EXPECT_TRUE(fdt::query<Widget>(registry.create(clsid)));
    EXPECT_TRUE(fdt::query<Widget>(registry.create("Test.Widget")));
    EXPECT_EQ(registry.create("Test.NoFactory"), nullptr);
    EXPECT_EQ(registry.create("Test.Unknown"), nullptr);
}

// Files of property bags in a folder of their own.
class PropertyFileTest : public ::testing::Test {
protected:
    fs::path file(const std::string& name) const { return m_folder.path() / name; }
    test::TempComponentFolder m_folder;
};

TEST_F(PropertyFileTest, MalformedOrUnreadableFilesAreClearErrors)
{
    for (const char* content : {"{", "[1,2]", "{\"a\": 5}", "{\"a\": {\"type\": \"int16\", \"value\": 40000}}",
                                "{\"a\": {\"type\": \"bool\", \"value\": \"yes\"}}",
                                "{\"a\": {\"type\": \"double\", \"value\": 2e308}}"}) {
        m_folder.write("bad.json", content);
        JsonFilePropertyBag bag(file("bad.json"));
        EXPECT_THROW(bag.load(), fdt::FileError) << content;
    }
    JsonFilePropertyBag missing(file("nothing.json"));
    EXPECT_THROW(missing.load(), fdt::FileError);
}

TEST_F(PropertyFileTest, SaveThatFailsHalfWayLeavesThePreviousFileIntact)
{
    JsonFilePropertyBag bag(file("project.json"));
    bag.write("a", std::int16_t{1});
    bag.save();
    const auto content = [this] {
        std::ostringstream text;
        text << std::ifstream(file("project.json"), std::ios::binary).rdbuf();
        return text.str();
    };
    const std::string before = content();
    const auto savingLeftovers = [this] {
        int found = 0;
        for (const auto& entry : fs::directory_iterator(m_folder.path()))
            found += entry.path().filename().string().find(kSavingMarker) != std::string::npos;
        return found;
    };

    // Let the process write at most 40 bytes to any file: the new content is
    // longer, so the write stops part of the way through.
    bag.write("long", std::string(500, 'x'));
#ifdef _WIN32
    GTEST_SKIP() << "Windows has no per-process file size limit to stop a write half-way";
#else
    rlimit previous{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &previous), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = previous;
    small.rlim_cur = 40;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    EXPECT_THROW(bag.save(), fdt::FileError);
    ::setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_EQ(content(), before);
    EXPECT_EQ(savingLeftovers(), 0);
#endif

    // A folder in the file's place is not touched.
    fs::create_directories(file("taken") / "child");
    EXPECT_THROW(writeFileAtomically(file("taken"), "{}"), fdt::FileError);
    EXPECT_TRUE(fs::is_directory(file("taken") / "child"));
    EXPECT_EQ(savingLeftovers(), 0);
}

TEST(ComponentFolder, ExecutableFolderHoldsTheRunningProgram)
{
#ifdef _WIN32
    const char* program = "test_platform.exe";
#else
    const char* program = "test_platform";
#endif
    const auto folder = executableFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_TRUE(fs::is_regular_file(folder / program)) << folder;
}

} // namespace
} // namespace zeb2hart::platform
