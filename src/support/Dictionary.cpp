#include "support/Dictionary.h"

#include <libxml/tree.h>

#include "fdt/Errors.h"
#include "platform/XmlDom.h"
#include "support/Conversions.h"
#include "support/DictionaryCache.h"
#include "support/Trace.h"

namespace zeb2hart::support {

namespace {

constexpr std::string_view kRoot = "Dictionary";
constexpr std::string_view kLanguage = "Language";
constexpr std::string_view kCategory = "Category";

// The text of the load error, from the parser's error record.
std::string loadErrorReport(const platform::XmlParseError& error)
{
    const std::string lineEnd = "\r\n";
    return "Your XML Document failed to load due the following error." + lineEnd + "Error #: " +
           std::to_string(error.code) + ": " + error.reason + "Line #: " + std::to_string(error.line) + lineEnd +
           "Line Position: " + std::to_string(error.linePosition) + lineEnd +
           "Position In File: " + std::to_string(error.filePosition) + lineEnd +
           "Source Text: " + error.sourceText + lineEnd + "Document URL: " + error.url;
}

// The element name under which a key is stored: "/" is written ".", "~" is written "_".
std::string elementNameOf(std::string key)
{
    for (char& c : key) {
        if (c == '/')
            c = '.';
    }
    for (char& c : key) {
        if (c == '~')
            c = '_';
    }
    return key;
}

} // namespace

clsDictionary::clsDictionary() = default;
clsDictionary::~clsDictionary() = default;

void clsDictionary::Clear()
{
    m_SelectedLanguage = nullptr;
    m_Document.reset();
    m_Private = false;
}

bool clsDictionary::LoadDictionary(const std::string& fullPathToDict)
{
    platform::XmlParseError error;
    std::shared_ptr<_xmlDoc> document = sharedDictionary(fullPathToDict, error);
    if (!document) {
        Trace("clsDictionary.LoadDictionary", loadErrorReport(error));
        return false;
    }
    Clear();
    m_Document = std::move(document);
    m_SelectedLanguage = defaultLanguage();
    return true;
}

clsDictionary::Element clsDictionary::root() const
{
    if (!m_Document)
        return nullptr;
    return platform::firstChildElement(platform::documentNode(m_Document.get()), kRoot);
}

clsDictionary::Element clsDictionary::defaultLanguage() const
{
    const Element dictionary = root();
    return dictionary ? platform::selectChildWithAttribute(dictionary, kLanguage, "isDefault", "1") : nullptr;
}

std::vector<clsDictionary::Element> clsDictionary::GetLanguages() const
{
    const Element dictionary = root();
    if (!dictionary)
        return {};
    return platform::childElements(dictionary, kLanguage);
}

std::int32_t clsDictionary::GetIdOfLanguage(Element langNode) const
{
    if (!langNode)
        return 0;
    const std::optional<std::string> localeId = platform::attribute(langNode, "localeId");
    if (!localeId)
        return 0;
    try {
        return toLong("&H" + *localeId);
    } catch (const fdt::Error&) {
        return 0;
    }
}

std::int32_t clsDictionary::GetDefaultLanguageId() const
{
    return GetIdOfLanguage(defaultLanguage());
}

bool clsDictionary::SelectLanguage(std::int32_t languageId, bool freeOtherLanguages)
{
    Element dictionary = root();
    if (!dictionary)
        return false;
    const std::string key = HexLong(languageId).substr(4);
    Element language = platform::selectChildWithAttribute(dictionary, kLanguage, "localeId", key);
    if (!language)
        return false;
    if (freeOtherLanguages && !m_Private) {
        m_Document = privateCopy(m_Document);
        m_Private = true;
        dictionary = root();
        language = platform::selectChildWithAttribute(dictionary, kLanguage, "localeId", key);
    }
    m_SelectedLanguage = language;
    if (freeOtherLanguages) {
        for (const Element other : platform::childElements(dictionary, kLanguage)) {
            if (platform::attribute(other, "localeId") != key)
                platform::removeNode(other);
        }
    }
    return true;
}

std::vector<clsDictionary::Element> clsDictionary::GetCategories(const std::string& category) const
{
    std::vector<Element> categories;
    if (!m_SelectedLanguage)
        return categories;
    for (const Element element : platform::childElements(m_SelectedLanguage, kCategory)) {
        if (platform::attribute(element, "name") == category)
            categories.push_back(element);
    }
    return categories;
}

std::optional<std::string> clsDictionary::GetTextEntry(const std::string& category, const std::string& key,
                                                       const std::string& keyAttribute) const
{
    if (!m_SelectedLanguage)
        return std::nullopt;
    return GetTextEntry(GetCategories(category), key, keyAttribute);
}

std::optional<std::string> clsDictionary::GetTextEntry(const std::vector<Element>& categories,
                                                       const std::string& key,
                                                       const std::string& keyAttribute) const
{
    if (!m_SelectedLanguage)
        return std::nullopt;
    const std::string elementName = elementNameOf(key);
    if (elementName.empty())
        return std::nullopt;
    for (const Element category : categories) {
        if (const Element entry = platform::firstChildElement(category, elementName))
            return platform::attribute(entry, keyAttribute);
    }
    return std::nullopt;
}

std::string clsDictionary::TranslateStringTags(const std::string& text) const
{
    std::string result = text;
    std::size_t searchFrom = 0;
    while (true) {
        const std::size_t tagStart = result.find("$(", searchFrom);
        if (tagStart == std::string::npos)
            break;
        const std::size_t tagEnd = result.find(')', tagStart + 2);
        if (tagEnd == std::string::npos)
            break;
        const std::string key = result.substr(tagStart + 2, tagEnd - tagStart - 2);
        if (const std::optional<std::string> entry = GetTextEntry("keys", key, "text")) {
            result.replace(tagStart, tagEnd - tagStart + 1, *entry);
            searchFrom = tagStart + entry->size();
        } else {
            searchFrom = tagEnd + 1;
        }
    }
    return result;
}

} // namespace zeb2hart::support
