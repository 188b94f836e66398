// The dictionary is parsed once per file content and shared read-only by the
// instances that load it; an instance that frees languages does so on a copy.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/TestEnvironment.h"
#include "support/Dictionary.h"

namespace zeb2hart::support {
namespace {

std::string dictionaryText(const std::string& english)
{
    return "<Dictionary>"
           "<Language localeId=\"0007\"><Category name=\"keys\"><greeting text=\"Hallo\"/></Category></Language>"
           "<Language localeId=\"0009\" isDefault=\"1\"><Category name=\"keys\"><greeting text=\"" +
           english + "\"/></Category></Language></Dictionary>";
}

class DictionaryCacheTest : public ::testing::Test {
protected:
    DictionaryCacheTest() { write(dictionaryText("Hello")); }
    void write(const std::string& content) { folder.write("XMLData/DTMDictionary.xml", content); }
    std::vector<std::int32_t> languageIds(const clsDictionary& dictionary) const
    {
        std::vector<std::int32_t> ids;
        for (clsDictionary::Element language : dictionary.GetLanguages())
            ids.push_back(dictionary.GetIdOfLanguage(language));
        return ids;
    }

    test::TempComponentFolder folder;
    test::TestEnvironment environment{folder.path()};
    const std::string file = (folder.path() / "XMLData" / "DTMDictionary.xml").string();
};

TEST_F(DictionaryCacheTest, InstancesShareOneParseAndFreeLanguagesOnACopyOfTheirOwn)
{
    clsDictionary freeing;
    clsDictionary other;
    ASSERT_TRUE(freeing.LoadDictionary(file));
    ASSERT_TRUE(other.LoadDictionary(file));
    EXPECT_EQ(freeing.GetSelectedLanguage(), other.GetSelectedLanguage()); // the same node of the one parse

    ASSERT_TRUE(freeing.SelectLanguage(7, true));
    EXPECT_EQ(languageIds(freeing), std::vector<std::int32_t>{7});
    EXPECT_EQ(freeing.GetTextEntry("keys", "greeting", "text"), "Hallo");
    EXPECT_FALSE(freeing.SelectLanguage(9, false));
    EXPECT_EQ(languageIds(other), (std::vector<std::int32_t>{7, 9}));
    EXPECT_EQ(other.GetTextEntry("keys", "greeting", "text"), "Hello");

    // The freeing one gets every language again when it loads again; freeing
    // twice works on the private copy made the first time.
    ASSERT_TRUE(freeing.LoadDictionary(file));
    EXPECT_EQ(freeing.GetSelectedLanguage(), other.GetSelectedLanguage());
    ASSERT_TRUE(freeing.SelectLanguage(9, true));
    ASSERT_TRUE(freeing.SelectLanguage(9, true));
    EXPECT_EQ(languageIds(freeing), std::vector<std::int32_t>{9});
    EXPECT_EQ(languageIds(other), (std::vector<std::int32_t>{7, 9}));
}

TEST_F(DictionaryCacheTest, AChangedFileIsParsedAgainAndALoadThatFailsKeepsTheDictionary)
{
    clsDictionary before;
    ASSERT_TRUE(before.LoadDictionary(file));
    const std::pair<std::string, const char*> cases[] = {
        {dictionaryText("Hullo"), "Hullo"}, // the same size
        {dictionaryText("Good day"), "Good day"},
        {"<Dictionary>", nullptr},
        {dictionaryText("Hi"), "Hi"},
    };
    for (const auto& [content, greeting] : cases) {
        write(content);
        clsDictionary dictionary;
        EXPECT_EQ(dictionary.LoadDictionary(file), greeting != nullptr) << content;
        EXPECT_EQ(dictionary.GetTextEntry("keys", "greeting", "text").value_or("<none>"), greeting ? greeting : "<none>");
    }
    std::filesystem::remove(file);
    EXPECT_FALSE(before.LoadDictionary(file));
    EXPECT_EQ(before.GetTextEntry("keys", "greeting", "text"), "Hello");
}

} // namespace
} // namespace zeb2hart::support
