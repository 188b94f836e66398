// The dictionary is parsed once per file content and shared read-only by the
// instances that load it; an instance that frees languages does so on a copy.
#include <gtest/gtest.h>

#include <libxml/tree.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "fakes/TestEnvironment.h"
#include "platform/XmlDom.h"
#include "support/Dictionary.h"
#include "support/DictionaryCache.h"

namespace zeb2hart::support {
namespace {

namespace fs = std::filesystem;

std::string dictionaryText(const std::string& english)
{
    return "<Dictionary>"
           "<Language localeId=\"0007\"><Category name=\"keys\"><greeting text=\"Hallo\"/></Category></Language>"
           "<Language localeId=\"0009\" isDefault=\"1\"><Category name=\"keys\"><greeting text=\"" +
           english + "\"/></Category></Language></Dictionary>";
}

class DictionaryCacheTest : public ::testing::Test {
protected:
    std::string write(const std::string& content)
    {
        folder.write("XMLData/DTMDictionary.xml", content);
        return file().string();
    }
    fs::path file() const { return folder.path() / "XMLData" / "DTMDictionary.xml"; }

    test::TempComponentFolder folder;
    test::TestEnvironment environment{folder.path()};
};

std::vector<std::int32_t> languageIds(const clsDictionary& dictionary)
{
    std::vector<std::int32_t> ids;
    for (clsDictionary::Element language : dictionary.GetLanguages())
        ids.push_back(dictionary.GetIdOfLanguage(language));
    return ids;
}

TEST_F(DictionaryCacheTest, InstancesShareOneParseOfTheFile)
{
    write(dictionaryText("Hello"));
    platform::XmlParseError error;
    const std::shared_ptr<_xmlDoc> first = sharedDictionary(file(), error);
    const std::shared_ptr<_xmlDoc> second = sharedDictionary(file(), error);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first, second);

    clsDictionary a;
    clsDictionary b;
    ASSERT_TRUE(a.LoadDictionary(file().string()));
    ASSERT_TRUE(b.LoadDictionary(file().string()));
    EXPECT_EQ(a.GetSelectedLanguage(), b.GetSelectedLanguage()); // the same node of the one parse
    EXPECT_EQ(a.GetTextEntry("keys", "greeting", "text"), "Hello");
}

TEST_F(DictionaryCacheTest, FreeingLanguagesLeavesTheOtherInstancesTheirs)
{
    write(dictionaryText("Hello"));
    clsDictionary freeing;
    clsDictionary other;
    ASSERT_TRUE(freeing.LoadDictionary(file().string()));
    ASSERT_TRUE(other.LoadDictionary(file().string()));

    ASSERT_TRUE(freeing.SelectLanguage(7, true));
    EXPECT_EQ(languageIds(freeing), std::vector<std::int32_t>{7});
    EXPECT_EQ(freeing.GetTextEntry("keys", "greeting", "text"), "Hallo");
    EXPECT_FALSE(freeing.SelectLanguage(9, false));

    EXPECT_EQ(languageIds(other), (std::vector<std::int32_t>{7, 9}));
    EXPECT_EQ(other.GetTextEntry("keys", "greeting", "text"), "Hello");
    ASSERT_TRUE(other.SelectLanguage(7, false));
    EXPECT_EQ(other.GetTextEntry("keys", "greeting", "text"), "Hallo");

    // A later instance still gets every language, and so does the freeing one when it loads again.
    clsDictionary later;
    ASSERT_TRUE(later.LoadDictionary(file().string()));
    EXPECT_EQ(languageIds(later), (std::vector<std::int32_t>{7, 9}));
    ASSERT_TRUE(freeing.LoadDictionary(file().string()));
    EXPECT_EQ(languageIds(freeing), (std::vector<std::int32_t>{7, 9}));
    // Freeing twice works on the private copy made the first time.
    ASSERT_TRUE(freeing.SelectLanguage(9, true));
    ASSERT_TRUE(freeing.SelectLanguage(9, true));
    EXPECT_EQ(languageIds(freeing), std::vector<std::int32_t>{9});
    EXPECT_EQ(languageIds(later), (std::vector<std::int32_t>{7, 9}));
}

TEST_F(DictionaryCacheTest, AChangedFileIsParsedAgain)
{
    write(dictionaryText("Hello"));
    clsDictionary before;
    ASSERT_TRUE(before.LoadDictionary(file().string()));
    struct Case {
        const char* name;
        std::string content;
        bool loads;
        const char* greeting;
    };
    const std::vector<Case> cases = {
        {"other text of the same size", dictionaryText("Hullo"), true, "Hullo"},
        {"longer", dictionaryText("Good day"), true, "Good day"},
        {"broken", "<Dictionary>", false, ""},
        {"fixed again", dictionaryText("Hi"), true, "Hi"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        write(c.content);
        clsDictionary dictionary;
        EXPECT_EQ(dictionary.LoadDictionary(file().string()), c.loads);
        if (c.loads) {
            EXPECT_EQ(dictionary.GetTextEntry("keys", "greeting", "text"), c.greeting);
        }
    }
    // An instance keeps what it loaded.
    EXPECT_EQ(before.GetTextEntry("keys", "greeting", "text"), "Hello");
    fs::remove(file());
    clsDictionary missing;
    EXPECT_FALSE(missing.LoadDictionary(file().string()));
}

TEST_F(DictionaryCacheTest, APrivateCopyIsADocumentOfItsOwn)
{
    write(dictionaryText("Hello"));
    platform::XmlParseError error;
    const std::shared_ptr<_xmlDoc> shared = sharedDictionary(file(), error);
    ASSERT_NE(shared, nullptr);
    const std::shared_ptr<_xmlDoc> copy = privateCopy(shared);
    ASSERT_NE(copy, nullptr);
    EXPECT_NE(copy, shared);
    platform::removeNode(platform::firstChildElement(xmlDocGetRootElement(copy.get()), "Language"));
    EXPECT_EQ(platform::childElements(xmlDocGetRootElement(shared.get()), "Language").size(), 2u);
    EXPECT_EQ(privateCopy(nullptr), nullptr);
    EXPECT_EQ(sharedDictionary(folder.path() / "none.xml", error), nullptr);
    EXPECT_EQ(error.code, platform::xml_error::kFileNotFound);
}

} // namespace
} // namespace zeb2hart::support
