#pragma once
// A document the DTM handed out, parsed once for checks attribute by attribute
// (GoogleTest expectations; for the test programs only).

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "dom/SchemaCollection.h"
#include "dom/XmlDom.h"

namespace zeb2hart::test {

class Document {
public:
    // Expects the text to load, and to validate when given schemas (whose namespaces
    // must then include the root's).
    explicit Document(const std::string& text, std::shared_ptr<dom::SchemaCollection> schemas = nullptr)
    {
        if (schemas)
            m_doc.setSchemas(schemas);
        EXPECT_EQ(m_doc.loadXml(text), dom::LoadResult::Loaded)
            << m_doc.parseError().code << " " << m_doc.parseError().reason << "\n" << text;
        if (schemas && m_doc.documentElement()) {
            EXPECT_TRUE(schemas->contains(dom::namespaceUri(m_doc.documentElement())))
                << "the root's namespace is checked by no schema\n" << text;
        }
    }
    bool has(const std::string& path) const { return node(path) != nullptr; }
    xmlNode* node(const std::string& path) const { return m_doc.selectSingleNode(path); }
    // The attribute's text; nothing when the element or the attribute is missing.
    std::optional<std::string> attr(const std::string& path, const std::string& name) const
    {
        xmlNode* element = node(path);
        return element ? dom::attribute(element, name) : std::nullopt;
    }
    // Expects the attributes of the element at `path`; nothing for an attribute that must be missing.
    void expect(const std::string& path,
                std::initializer_list<std::pair<const char*, std::optional<std::string>>> attributes) const
    {
        for (const auto& [name, value] : attributes)
            EXPECT_EQ(attr(path, name), value) << path << " @" << name;
    }

private:
    dom::XmlDocument m_doc;
};

} // namespace zeb2hart::test
