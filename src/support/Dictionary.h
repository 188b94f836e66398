#pragma once
// clsDictionary: the texts of every language, loaded from DTMDictionary.xml,
// one language selected, looked up by category and key. Used on the one thread
// that calls into the component.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "dom/XmlFwd.h"

namespace zeb2hart::support {

class clsDictionary {
public:
    using Element = dom::Element*;

    clsDictionary();
    ~clsDictionary();
    clsDictionary(const clsDictionary&) = delete;
    clsDictionary& operator=(const clsDictionary&) = delete;

    void Clear();
    bool LoadDictionary(const std::string& fullPathToDict);
    std::vector<Element> GetLanguages() const;
    std::int32_t GetIdOfLanguage(Element langNode) const;
    std::int32_t GetDefaultLanguageId() const;
    bool SelectLanguage(std::int32_t languageId, bool freeOtherLanguages);
    Element GetSelectedLanguage() const { return m_SelectedLanguage; }
    std::vector<Element> GetCategories(const std::string& category) const;
    // The attribute's text, or nothing when the language, category, key or attribute is missing.
    std::optional<std::string> GetTextEntry(const std::string& category, const std::string& key,
                                            const std::string& keyAttribute) const;
    std::optional<std::string> GetTextEntry(const std::vector<Element>& categories, const std::string& key,
                                            const std::string& keyAttribute) const;
    std::string TranslateStringTags(const std::string& text) const;

private:
    // The "Dictionary" root element, and its "Language" marked isDefault = "1"; null when absent.
    Element root() const;
    Element defaultLanguage() const;

    // Shared read-only with the other dictionaries of the same file until
    // SelectLanguage frees languages, which it does on a private copy.
    std::unique_ptr<dom::XmlDocument> m_Document;
    Element m_SelectedLanguage = nullptr;
};

} // namespace zeb2hart::support
