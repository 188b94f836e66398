#include "support/Dictionary.h"

#include "dom/XmlDom.h"
#include "fdt/Errors.h"
#include "support/Conversions.h"
#include "support/Trace.h"
#include "platform/Paths.h"

namespace zeb2hart::support {

namespace {

constexpr std::string_view kRoot = "Dictionary";
constexpr std::string_view kLanguage = "Language";
constexpr std::string_view kCategory = "Category";

// The text of the load error, from the parser's error record.
std::string loadErrorReport(const dom::XmlParseError& error)
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

std::vector<clsDictionary::Element> elementsOf(const std::vector<xmlNode*>& nodes)
{
    std::vector<clsDictionary::Element> elements;
    elements.reserve(nodes.size());
    for (xmlNode* node : nodes)
        elements.push_back(dom::elementOf(node));
    return elements;
}

} // namespace

clsDictionary::clsDictionary() : m_Document(std::make_unique<dom::XmlDocument>()) {}
clsDictionary::~clsDictionary() = default;

void clsDictionary::Clear()
{
    m_SelectedLanguage = nullptr;
    m_Document->clear();
}

bool clsDictionary::LoadDictionary(const std::string& fullPathToDict)
{
    // Dictionary files are parsed once per content and shared by every
    // dictionary of the process (a frame project may hold hundreds of DTMs).
    dom::XmlDocument document;
    if (document.loadSharedFile(platform::pathFromUtf8(fullPathToDict)) != dom::LoadResult::Loaded) {
        Trace("clsDictionary.LoadDictionary", loadErrorReport(document.parseError()));
        return false;
    }
    Clear();
    *m_Document = std::move(document);
    m_SelectedLanguage = defaultLanguage();
    return true;
}

clsDictionary::Element clsDictionary::root() const
{
    if (m_Document->get() == nullptr)
        return nullptr;
    return dom::elementOf(dom::firstChildElement(dom::documentNode(m_Document->get()), kRoot));
}

clsDictionary::Element clsDictionary::defaultLanguage() const
{
    const Element dictionary = root();
    return dictionary ? dom::elementOf(dom::selectChildWithAttribute(dom::nodeOf(dictionary), kLanguage, "isDefault", "1"))
                      : nullptr;
}

std::vector<clsDictionary::Element> clsDictionary::GetLanguages() const
{
    const Element dictionary = root();
    if (!dictionary)
        return {};
    return elementsOf(dom::childElements(dom::nodeOf(dictionary), kLanguage));
}

std::int32_t clsDictionary::GetIdOfLanguage(Element langNode) const
{
    if (!langNode)
        return 0;
    const std::optional<std::string> localeId = dom::attribute(dom::nodeOf(langNode), "localeId");
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
    xmlNode* language = dom::selectChildWithAttribute(dom::nodeOf(dictionary), kLanguage, "localeId", key);
    if (!language)
        return false;
    if (freeOtherLanguages && m_Document->isShared()) {
        *m_Document = dom::XmlDocument(m_Document->release());
        dictionary = root();
        language = dom::selectChildWithAttribute(dom::nodeOf(dictionary), kLanguage, "localeId", key);
    }
    m_SelectedLanguage = dom::elementOf(language);
    if (freeOtherLanguages) {
        for (xmlNode* other : dom::childElements(dom::nodeOf(dictionary), kLanguage)) {
            if (dom::attribute(other, "localeId") != key)
                dom::removeNode(other);
        }
    }
    return true;
}

std::vector<clsDictionary::Element> clsDictionary::GetCategories(const std::string& category) const
{
    std::vector<Element> categories;
    if (!m_SelectedLanguage)
        return categories;
    for (xmlNode* element : dom::childElements(dom::nodeOf(m_SelectedLanguage), kCategory)) {
        if (dom::attribute(element, "name") == category)
            categories.push_back(dom::elementOf(element));
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
        if (const xmlNode* entry = dom::firstChildElement(dom::nodeOf(category), elementName))
            return dom::attribute(entry, keyAttribute);
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
