// A project file as the system sees it: what a save leaves on disk (permissions,
// links, temporaries, two savers at once) and which files a load refuses.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

#include "fakes/TestEnvironment.h"
#include "fdt/Errors.h"
#include "platform/FileText.h"
#include "platform/PropertyBag.h"

namespace zeb2hart::platform {
namespace {

namespace fs = std::filesystem;

std::string contentOf(const fs::path& file)
{
    std::ostringstream text;
    text << std::ifstream(file, std::ios::binary).rdbuf();
    return text.str();
}

void writeText(const fs::path& file, const std::string& text, mode_t mode = 0644)
{
    std::ofstream(file, std::ios::binary | std::ios::trunc) << text;
    fs::permissions(file, static_cast<fs::perms>(mode));
}

mode_t modeOf(const fs::path& file)
{
    struct stat status {};
    return ::stat(file.c_str(), &status) == 0 ? (status.st_mode & 07777) : 0;
}

// The temporaries a save left anywhere under `folder`.
std::vector<std::string> leftovers(const fs::path& folder)
{
    std::vector<std::string> found;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        if (entry.path().filename().string().find(kSavingMarker) != std::string::npos)
            found.push_back(entry.path().filename().string());
    return found;
}

class ProjectFileTest : public ::testing::Test {
protected:
    test::TempComponentFolder m_folder;
};

TEST_F(ProjectFileTest, SaveKeepsPermissionsFollowsLinksAndNeverWritesThroughAPlantedLink)
{
    struct Case {
        const char* what;
        std::function<void(const fs::path&)> before; // prepares the folder of project.json
        std::function<void(const fs::path&)> after;  // checks it after the save
    };
    const Case cases[] = {
        {"a new file gets 0666 less the umask", [](const fs::path&) {},
         [](const fs::path& dir) { EXPECT_EQ(modeOf(dir / "project.json"), 0640u); }},
        {"a private file stays private", [](const fs::path& dir) { writeText(dir / "project.json", "{}", 0600); },
         [](const fs::path& dir) { EXPECT_EQ(modeOf(dir / "project.json"), 0600u); }},
        {"a shared file stays shared beyond the umask",
         [](const fs::path& dir) { writeText(dir / "project.json", "{}", 0664); },
         [](const fs::path& dir) { EXPECT_EQ(modeOf(dir / "project.json"), 0664u); }},
        {"a link planted at the old temporary name is not written through",
         [](const fs::path& dir) {
             writeText(dir / "victim", "precious");
             fs::create_symlink(dir / "victim", dir / "project.json.saving");
         },
         [](const fs::path& dir) {
             EXPECT_EQ(contentOf(dir / "victim"), "precious");
             EXPECT_TRUE(fs::is_symlink(dir / "project.json.saving"));
         }},
        {"a project file that is a link is written through to its target",
         [](const fs::path& dir) {
             fs::create_directories(dir / "real");
             writeText(dir / "real" / "target.json", "{}", 0640);
             fs::create_symlink("real/target.json", dir / "project.json");
         },
         [](const fs::path& dir) {
             EXPECT_TRUE(fs::is_symlink(dir / "project.json"));
             EXPECT_THAT(contentOf(dir / "real" / "target.json"), ::testing::HasSubstr("through a link"));
             EXPECT_EQ(modeOf(dir / "real" / "target.json"), 0640u);
         }},
        {"a link to a file not there yet creates its target",
         [](const fs::path& dir) {
             fs::create_directories(dir / "later");
             fs::create_symlink(dir / "later" / "target.json", dir / "project.json");
         },
         [](const fs::path& dir) {
             EXPECT_TRUE(fs::is_symlink(dir / "project.json"));
             EXPECT_TRUE(fs::is_regular_file(dir / "later" / "target.json"));
         }},
    };
    const mode_t previousMask = ::umask(027);
    int number = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const fs::path dir = m_folder.root() / ("case" + std::to_string(++number));
        fs::create_directories(dir);
        c.before(dir);
        JsonFilePropertyBag bag(dir / "project.json");
        bag.write("written", std::string("through a link: ") + c.what);
        bag.save();
        c.after(dir);
        JsonFilePropertyBag reloaded(dir / "project.json");
        reloaded.load();
        EXPECT_EQ(reloaded.read("written", {}), bag.read("written", {}));
        EXPECT_THAT(leftovers(dir), ::testing::IsEmpty());
    }
    ::umask(previousMask);
    EXPECT_NE(savingName("p.json"), savingName("p.json"));
}

TEST_F(ProjectFileTest, TwoProcessesSavingTheSameFileAtOnceBothSucceed)
{
    const fs::path file = m_folder.root() / "shared.json";
    const auto saver = [&](const char* who) -> pid_t {
        const pid_t pid = ::fork();
        if (pid != 0)
            return pid;
        try {
            JsonFilePropertyBag bag(file);
            for (int round = 0; round < 200; ++round) {
                bag.write("who", std::string(who));
                bag.write("round", std::int32_t{round});
                bag.save();
            }
        } catch (const std::exception& error) {
            std::fprintf(stderr, "%s: %s\n", who, error.what());
            ::_exit(1);
        }
        ::_exit(0);
    };
    const pid_t first = saver("first");
    const pid_t second = saver("second");
    for (const pid_t pid : {first, second}) {
        int status = 0;
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "saver " << pid << " failed";
    }
    JsonFilePropertyBag bag(file);
    bag.load();
    EXPECT_EQ(bag.read("round", {}), fdt::Variant(std::int32_t{199}));
    EXPECT_THAT(leftovers(m_folder.root()), ::testing::IsEmpty());
}

TEST_F(ProjectFileTest, LoadRefusesWhatIsNoRegularFileOrTooLarge)
{
    const fs::path dir = m_folder.root();
    ASSERT_EQ(::mkfifo((dir / "fifo.json").c_str(), 0600), 0);
    fs::create_directories(dir / "folder.json");
    {
        std::ofstream(dir / "large.json", std::ios::binary) << "{}";
        fs::resize_file(dir / "large.json", JsonFilePropertyBag::kMaxProjectFileSize + 1);
    }
    const std::string small = R"({"a": {"type": "int16", "value": 7}})";
    writeText(dir / "real.json", small);
    writeText(dir / "limit.json", small + std::string(JsonFilePropertyBag::kMaxProjectFileSize - small.size(), ' '));
    fs::create_symlink("real.json", dir / "link.json");

    const std::pair<fs::path, const char*> cases[] = {
        {dir / "fifo.json", "not a regular file"},
        {"/dev/urandom", "not a regular file"},
        {dir / "folder.json", "not a regular file"},
        {dir / "large.json", "larger than 16 MiB"},
        {dir / "limit.json", nullptr},
        {dir / "missing.json", "No such file or directory"},
        {dir / "link.json", nullptr},
    };
    for (const auto& [file, message] : cases) {
        JsonFilePropertyBag bag(file);
        if (message == nullptr) {
            bag.load();
            EXPECT_EQ(bag.read("a", {}), fdt::Variant(std::int16_t{7}));
            continue;
        }
        try {
            bag.load();
            ADD_FAILURE() << file << " was read";
        } catch (const fdt::FileError& error) {
            EXPECT_THAT(error.what(), ::testing::HasSubstr(message)) << file;
        }
    }
}

} // namespace
} // namespace zeb2hart::platform
