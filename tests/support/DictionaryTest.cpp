// clsDictionary's edge cases on small dictionaries; the delivered texts are seen by the frame scripts.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/ComponentFiles.h"
#include "support/Dictionary.h"

namespace zeb2hart::test {
namespace {

using support::clsDictionary;

const std::string kTwoLanguages = R"~(<Dictionary>
  <Language localeId="0007"><Category name="keys"><greeting text="Hallo"/></Category></Language>
  <Language localeId="0009" isDefault="1">
    <Category name="keys"><greeting text="Hello"/><farewell text="Goodbye"/><nested text="is $(greeting)"/>
      <a.b_c text="dotted"/><noText tooltip="only a tooltip"/><empty text=""/></Category>
    <Category name="other"><greeting text="Other hello"/></Category>
    <Category name="keys"><noText text="second category text"/><late text="second category"/></Category>
  </Language>
</Dictionary>)~";

class DictionaryTest : public ::testing::Test {
protected:
    std::string write(const std::string& name, const std::string& content)
    {
        tracing.folder.write("XMLData/" + name, content);
        return (tracing.folder.path() / "XMLData" / name).string();
    }
    std::vector<std::int32_t> languageIds()
    {
        std::vector<std::int32_t> ids;
        for (auto* language : dictionary.GetLanguages())
            ids.push_back(dictionary.GetIdOfLanguage(language));
        return ids;
    }
    std::optional<std::string> text(const std::string& key) { return dictionary.GetTextEntry("keys", key, "text"); }

    TracingComponent tracing;
    clsDictionary dictionary;
};

TEST_F(DictionaryTest, SelectLanguageByTheLastFourHexDigits)
{
    ASSERT_TRUE(dictionary.LoadDictionary(write("two.xml", kTwoLanguages)));
    const std::tuple<std::int32_t, bool, const char*> cases[] = {
        {9, true, "Hello"}, {12, false, "Hello"}, {7, true, "Hallo"}, {1031, false, "Hallo"},
        {0x10009, true, "Hello"}, {-7, false, "Hello"}, {0, false, "Hello"},
    };
    for (const auto& [id, selected, greeting] : cases) {
        EXPECT_EQ(dictionary.SelectLanguage(id, false), selected) << id;
        EXPECT_EQ(text("greeting"), greeting) << id;
    }
    // Selecting can free the other languages.
    ASSERT_TRUE(dictionary.SelectLanguage(7, true));
    EXPECT_EQ(languageIds(), std::vector<std::int32_t>{7});
    EXPECT_FALSE(dictionary.SelectLanguage(9, false));
    EXPECT_EQ(dictionary.GetDefaultLanguageId(), 0);

    // Locale identifiers are hexadecimal; a default must be "1".
    ASSERT_TRUE(dictionary.LoadDictionary(write("ids.xml", R"(<Dictionary><Language localeId="0407" isDefault="true"/>
<Language localeId="00zz"/><Language/><Language localeId="000A"/><Language localeId=""/></Dictionary>)")));
    EXPECT_EQ(languageIds(), (std::vector<std::int32_t>{1031, 0, 0, 10, 0}));
    EXPECT_EQ(dictionary.GetSelectedLanguage(), nullptr);
    EXPECT_TRUE(dictionary.SelectLanguage(10, false));
}

TEST_F(DictionaryTest, LookupsAndTags)
{
    ASSERT_TRUE(dictionary.LoadDictionary(write("two.xml", kTwoLanguages)));
    const std::pair<const char*, std::optional<std::string>> keys[] = {
        {"greeting", "Hello"}, {"a/b~c", "dotted"}, {"a.b_c", "dotted"}, {"a/b/c", {}}, {"noText", {}},
        {"late", "second category"}, {"empty", ""}, {"Greeting", {}}, {"", {}}, {"not a name", {}},
    };
    for (const auto& [key, expected] : keys)
        EXPECT_EQ(text(key), expected) << key;
    EXPECT_EQ(dictionary.GetTextEntry("other", "greeting", "text"), "Other hello");
    EXPECT_EQ(dictionary.GetTextEntry("Keys", "noText", "tooltip"), std::nullopt);
    EXPECT_EQ(dictionary.GetTextEntry("keys", "noText", "tooltip"), "only a tooltip");
    EXPECT_EQ(dictionary.GetTextEntry({dictionary.GetCategories("keys").back()}, "noText", "text"),
              "second category text");

    const std::pair<std::string, std::string> tags[] = {
        {"$(greeting), $(farewell) and $(unknown)!", "Hello, Goodbye and $(unknown)!"},
        {"$(nested)", "is $(greeting)"}, {"$(greeting)$(greeting)", "HelloHello"},
        {"open $(greeting and more", "open $(greeting and more"}, {") before $(greeting)", ") before Hello"},
        {"$() stays", "$() stays"}, {"$(a/b~c)", "dotted"}, {"$(empty)x", "x"}, {"$$(greeting))", "$Hello)"},
    };
    for (const auto& [input, expected] : tags)
        EXPECT_EQ(dictionary.TranslateStringTags(input), expected) << input;
}

TEST_F(DictionaryTest, AFailedLoadKeepsThePreviousDocumentAndTracesTheReport)
{
    ASSERT_TRUE(dictionary.LoadDictionary(write("two.xml", kTwoLanguages)));
    ASSERT_TRUE(dictionary.SelectLanguage(7, false));
    const std::string broken = write("broken.xml", "<Dictionary>\n  <Language>\n</Dictionary>\n");
    EXPECT_FALSE(dictionary.LoadDictionary(broken));
    EXPECT_EQ(text("greeting"), "Hallo");
    const auto entries = tracing.entries();
    ASSERT_EQ(entries.size(), 1u);
    const std::string head = "clsDictionary.LoadDictionary: Your XML Document failed to load due the following "
                             "error.\r\nError #: ";
    ASSERT_TRUE(entries[0].starts_with(head)) << entries[0];
    EXPECT_GT(std::stol(entries[0].substr(head.size())), 0) << entries[0];
    for (const char* part : {"Line #: 3\r\nLine Position: ", "\r\nPosition In File: ", "Source Text: </Dictionary>"})
        EXPECT_NE(entries[0].find(part), std::string::npos) << part;
    EXPECT_TRUE(entries[0].ends_with("</Dictionary>\r\nDocument URL: " + broken)) << entries[0];

    // Documents that do not load, or hold no dictionary, leave nothing to select or look up.
    for (const std::string& content : {std::string(), "<!DOCTYPE D [<!ENTITY e \"x\">]>" + kTwoLanguages,
                                       std::string("<Texts><Language localeId=\"0009\" isDefault=\"1\"/></Texts>")}) {
        clsDictionary empty;
        empty.LoadDictionary(write("other.xml", content));
        EXPECT_TRUE(empty.GetLanguages().empty() && !empty.SelectLanguage(9, false)) << content;
        EXPECT_EQ(empty.TranslateStringTags("$(greeting)"), "$(greeting)");
    }
    EXPECT_FALSE(dictionary.LoadDictionary((tracing.folder.path() / "none.xml").string()));
    dictionary.Clear();
    EXPECT_EQ(text("greeting"), std::nullopt);
}

} // namespace
} // namespace zeb2hart::test
