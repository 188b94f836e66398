// clsDictionary: loading, language selection, lookups and tag translation,
// on the delivered dictionary and on small dictionaries written by the tests.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "core/CoreTestSupport.h"
#include "support/Dictionary.h"

namespace zeb2hart::test {
namespace {

using support::clsDictionary;

const std::string kTwoLanguages = R"(<?xml version="1.0" encoding="UTF-8"?>
<Dictionary>
  <Language localeId="0007">
    <Category name="keys">
      <greeting text="Hallo"/>
      <farewell text="Tschüss"/>
    </Category>
  </Language>
  <Language localeId="0009" isDefault="1">
    <Category name="keys">
      <greeting text="Hello"/>
      <farewell text="Goodbye"/>
      <nested text="contains $(greeting) itself"/>
      <a.b_c text="dotted"/>
      <noText tooltip="only a tooltip"/>
      <empty text=""/>
    </Category>
    <Category name="other">
      <greeting text="Other hello"/>
    </Category>
    <Category name="keys">
      <noText text="second category text"/>
      <late text="found in the second category"/>
    </Category>
  </Language>
</Dictionary>
)";

class DictionaryTest : public ::testing::Test {
protected:
    std::string write(const std::string& name, const std::string& content)
    {
        folder.write("XMLData/" + name, content);
        return (folder.path() / "XMLData" / name).string();
    }
    void loadTwoLanguages() { ASSERT_TRUE(dictionary.LoadDictionary(write("two.xml", kTwoLanguages))); }
    std::vector<std::int32_t> languageIds()
    {
        std::vector<std::int32_t> ids;
        for (auto* language : dictionary.GetLanguages())
            ids.push_back(dictionary.GetIdOfLanguage(language));
        return ids;
    }
    std::int32_t selectedId() { return dictionary.GetIdOfLanguage(dictionary.GetSelectedLanguage()); }

    TracingComponent tracing;
    const TempComponentFolder& folder = tracing.folder;
    clsDictionary dictionary;
};

// English by default, German too; every key the component and its pages look up has a text in both.
TEST_F(DictionaryTest, DeliveredDictionaryHoldsEveryKeyInEnglishAndGerman)
{
    ASSERT_TRUE(dictionary.LoadDictionary((componentDir() / "XMLData" / "DTMDictionary.xml").string()));
    EXPECT_EQ(languageIds(), (std::vector<std::int32_t>{9, 7}));
    EXPECT_EQ(dictionary.GetDefaultLanguageId(), 9);
    EXPECT_EQ(selectedId(), 9);
    const std::vector<std::string> keys = {
        "msg_Connected", "msg_Disconnected", "msg_ConnectionError", "str_ZEBDriver",
        "fct_OfflineParameter", "fct_Monitor", "fct_About",
        "ctlMonitor_btnClear", "ctlMonitor_btnSave", "ctlMonitor_chkFDTInterface",
        "ctlMonitor_chkZEBProtocols", "ctlMonitor_chkHARTProtocols",
        "ctlOfflineParam_lblDeviceType", "ctlOfflineParam_lblHeadlineTitle", "ctlOfflineParam_lblCommStatus",
        "ctlOfflineParam_lblParameter", "ctlOfflineParam_lblGateway", "ctlOfflineParam_lblDevType",
        "ctlOfflineParam_lblWarmstartDelay", "ctlOfflineParam_lblUnitDelay",
        "ctlAbout_lblTitle", "ctlAbout_lblDescription", "ctlAbout_lblVersion", "ctlAbout_lblDisclaimer"};
    for (const auto& [language, connected] : {std::pair{9, "Connected"}, std::pair{7, "Verbunden"}}) {
        ASSERT_TRUE(dictionary.SelectLanguage(language, false));
        EXPECT_EQ(dictionary.GetTextEntry("keys", "msg_Connected", "text"), connected);
        for (const std::string& key : keys) {
            const auto text = dictionary.GetTextEntry("keys", key, "text");
            ASSERT_TRUE(text.has_value()) << key << " in language " << language;
            EXPECT_FALSE(text->empty()) << key << " in language " << language;
            EXPECT_EQ(text->find('$'), std::string::npos) << key;
        }
    }
}

TEST_F(DictionaryTest, SelectLanguageByTheLastFourHexDigits)
{
    loadTwoLanguages();
    struct Case { std::int32_t id; bool selected; const char* greeting /* after the call */; };
    const Case cases[] = {
        {9, true, "Hello"},       {12, false, "Hello"}, // no French: the selection stays
        {7, true, "Hallo"},       {1031, false, "Hallo"}, // 0407 is not 0007: only SetLanguage reduces the locale
        {0x10009, true, "Hello"}, // the last four of 00010009
        {-7, false, "Hello"},     // FFFFFFF9
        {0, false, "Hello"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(dictionary.SelectLanguage(c.id, false), c.selected) << c.id;
        EXPECT_EQ(dictionary.GetTextEntry("keys", "greeting", "text"), c.greeting) << c.id;
    }
    EXPECT_EQ(dictionary.GetLanguages().size(), 2u);

    // Selecting can free the other languages.
    ASSERT_TRUE(dictionary.SelectLanguage(7, true));
    EXPECT_EQ(languageIds(), std::vector<std::int32_t>{7});
    EXPECT_EQ(dictionary.GetTextEntry("keys", "farewell", "text"), "Tschüss");
    EXPECT_FALSE(dictionary.SelectLanguage(9, false));
    EXPECT_EQ(dictionary.GetDefaultLanguageId(), 0);
}

TEST_F(DictionaryTest, NoDefaultLanguageLoadsWithoutSelection)
{
    const std::string noDefault = R"(<Dictionary>
  <Language localeId="0009" isDefault="true"><Category name="keys"><greeting text="Hello"/></Category></Language>
</Dictionary>)";
    ASSERT_TRUE(dictionary.LoadDictionary(write("nodefault.xml", noDefault)));
    EXPECT_EQ(dictionary.GetSelectedLanguage(), nullptr);
    EXPECT_EQ(dictionary.GetDefaultLanguageId(), 0);
    EXPECT_EQ(dictionary.GetTextEntry("keys", "greeting", "text"), std::nullopt);
    EXPECT_TRUE(dictionary.GetCategories("keys").empty());
    EXPECT_EQ(dictionary.TranslateStringTags("say $(greeting)"), "say $(greeting)");
    ASSERT_TRUE(dictionary.SelectLanguage(9, false));
    EXPECT_EQ(dictionary.TranslateStringTags("say $(greeting)"), "say Hello");
}

// Without a usable document there is nothing to select or look up; a file that
// does not load leaves a trace entry.
TEST_F(DictionaryTest, EmptyDictionaries)
{
    const std::pair<const char*, std::function<void(clsDictionary&)>> cases[] = {
        {"no document", [](clsDictionary&) {}},
        {"other root", [this](clsDictionary& d) {
             EXPECT_TRUE(d.LoadDictionary(write("root.xml", R"(<Texts><Language localeId="0009" isDefault="1">
<Category name="keys"><greeting text="Hello"/></Category></Language></Texts>)")));
         }},
        {"cleared", [this](clsDictionary& d) {
             EXPECT_TRUE(d.LoadDictionary(write("two.xml", kTwoLanguages)));
             d.Clear();
         }},
        {"missing file", [this](clsDictionary& d) {
             EXPECT_FALSE(d.LoadDictionary((folder.path() / "XMLData" / "none.xml").string()));
         }},
        {"document type", [this](clsDictionary& d) {
             EXPECT_FALSE(d.LoadDictionary(write("doctype.xml", R"(<!DOCTYPE Dictionary [<!ENTITY e "x">]>
<Dictionary><Language localeId="0009" isDefault="1"/></Dictionary>)")));
         }},
        {"empty file", [this](clsDictionary& d) { EXPECT_FALSE(d.LoadDictionary(write("empty.xml", ""))); }},
    };
    for (const auto& [name, make] : cases) {
        SCOPED_TRACE(name);
        clsDictionary empty;
        make(empty);
        EXPECT_TRUE(empty.GetLanguages().empty());
        EXPECT_EQ(empty.GetDefaultLanguageId(), 0);
        EXPECT_EQ(empty.GetIdOfLanguage(nullptr), 0);
        EXPECT_FALSE(empty.SelectLanguage(9, false));
        EXPECT_EQ(empty.GetSelectedLanguage(), nullptr);
        EXPECT_TRUE(empty.GetCategories("keys").empty());
        EXPECT_EQ(empty.GetTextEntry("keys", "greeting", "text"), std::nullopt);
        EXPECT_EQ(empty.TranslateStringTags("$(greeting) and $(farewell)"), "$(greeting) and $(farewell)");
    }
    EXPECT_EQ(tracing.entries().size(), 3u);
}

TEST_F(DictionaryTest, LocaleIdMustBeHexadecimal)
{
    ASSERT_TRUE(dictionary.LoadDictionary(write("ids.xml", R"(<Dictionary>
  <Language localeId="0407"/><Language localeId="00zz"/><Language/><Language localeId="000A"/><Language localeId=""/>
</Dictionary>)")));
    EXPECT_EQ(languageIds(), (std::vector<std::int32_t>{1031, 0, 0, 10, 0}));
    EXPECT_TRUE(dictionary.SelectLanguage(10, false));
}

TEST_F(DictionaryTest, TextEntryLookups)
{
    loadTwoLanguages();
    struct Case { const char* category; const char* key; const char* attribute; std::optional<std::string> expected; };
    const Case cases[] = {
        {"keys", "greeting", "text", "Hello"},      {"other", "greeting", "text", "Other hello"},
        {"keys", "a/b~c", "text", "dotted"}, // "/" and "~" stand for "." and "_"
        {"keys", "a.b_c", "text", "dotted"},        {"keys", "a/b/c", "text", std::nullopt},
        {"keys", "noText", "tooltip", "only a tooltip"},
        {"keys", "noText", "text", std::nullopt}, // the first category with the key wins
        {"keys", "late", "text", "found in the second category"},
        {"keys", "empty", "text", ""},              {"keys", "missing", "text", std::nullopt},
        {"Keys", "greeting", "text", std::nullopt}, // category names are case-sensitive
        {"keys", "Greeting", "text", std::nullopt}, {"nothing", "greeting", "text", std::nullopt},
        {"keys", "", "text", std::nullopt},         {"keys", "not a name", "text", std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(dictionary.GetTextEntry(c.category, c.key, c.attribute), c.expected) << c.category << "/" << c.key;

    // From a given list of categories.
    const auto keys = dictionary.GetCategories("keys");
    ASSERT_EQ(keys.size(), 2u);
    EXPECT_EQ(dictionary.GetTextEntry(keys, "late", "text"), "found in the second category");
    EXPECT_EQ(dictionary.GetTextEntry(std::vector{keys.back()}, "noText", "text"), "second category text");
    EXPECT_EQ(dictionary.GetTextEntry(std::vector<clsDictionary::Element>{}, "greeting", "text"), std::nullopt);
    EXPECT_EQ(dictionary.GetCategories("other").size(), 1u);
}

TEST_F(DictionaryTest, TranslateStringTags)
{
    loadTwoLanguages();
    const std::pair<std::string, std::string> cases[] = {
        {"$(greeting), $(farewell) and $(unknown)!", "Hello, Goodbye and $(unknown)!"},
        {"$(nested)", "contains $(greeting) itself"}, // an inserted text is not searched again
        {"$(greeting)$(greeting)", "HelloHello"},     {"no tags at all", "no tags at all"},
        {"open $(greeting and more", "open $(greeting and more"}, {") before $(greeting)", ") before Hello"},
        {"$(unknown) then $(greeting)", "$(unknown) then Hello"}, {"$() stays", "$() stays"},
        {"$(a/b~c)", "dotted"}, {"$(empty)x", "x"}, {"$$(greeting))", "$Hello)"}, {"", ""},
    };
    for (const auto& [input, expected] : cases)
        EXPECT_EQ(dictionary.TranslateStringTags(input), expected) << input;
}

TEST_F(DictionaryTest, FailedLoadKeepsThePreviousDocumentAndTracesTheReport)
{
    loadTwoLanguages();
    ASSERT_TRUE(dictionary.SelectLanguage(7, false));
    const std::string broken = write("broken.xml", "<Dictionary>\n  <Language>\n</Dictionary>\n");

    EXPECT_FALSE(dictionary.LoadDictionary(broken));
    EXPECT_EQ(dictionary.GetTextEntry("keys", "greeting", "text"), "Hallo");
    EXPECT_EQ(selectedId(), 7);

    const auto entries = tracing.entries();
    ASSERT_EQ(entries.size(), 1u);
    const std::string& entry = entries.front();
    const std::string head = "clsDictionary.LoadDictionary: Your XML Document failed to load due the following "
                             "error.\r\nError #: ";
    ASSERT_EQ(entry.rfind(head, 0), 0u) << entry;
    EXPECT_NE(entry.find("Line #: 3\r\nLine Position: "), std::string::npos) << entry;
    EXPECT_NE(entry.find("\r\nPosition In File: "), std::string::npos) << entry;
    EXPECT_NE(entry.find("\r\nSource Text: </Dictionary>\r\n"), std::string::npos) << entry;
    EXPECT_TRUE(entry.ends_with("\r\nDocument URL: " + broken)) << entry;
    // The error code is the parser's, non-zero, followed by its reason.
    const std::string code = entry.substr(head.size(), entry.find(':', head.size()) - head.size());
    EXPECT_GT(std::stol(code), 0) << entry;
}

TEST_F(DictionaryTest, LoadingAgainReplacesTheDocumentAndSelectsItsDefault)
{
    loadTwoLanguages();
    ASSERT_TRUE(dictionary.SelectLanguage(7, false));
    ASSERT_TRUE(dictionary.LoadDictionary(write("one.xml", R"(<Dictionary>
  <Language localeId="0010" isDefault="1"><Category name="keys"><greeting text="Ciao"/></Category></Language>
</Dictionary>)")));
    EXPECT_EQ(selectedId(), 16);
    EXPECT_EQ(dictionary.GetTextEntry("keys", "greeting", "text"), "Ciao");
    EXPECT_FALSE(dictionary.SelectLanguage(7, false));
}

} // namespace
} // namespace zeb2hart::test
