#pragma once
// Helpers of the xml tests: a fixture with the test services, an XMLHelp on
// the built component folder with or without the schema collection, and ways
// to look into the documents the helper returns, attribute by attribute.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "fakes/TestEnvironment.h"
#include "dom/SchemaCollection.h"
#include "dom/XmlDom.h"
#include "xml/XMLHelp.h"

namespace zeb2hart::xml::test {

namespace fs = std::filesystem;
using zeb2hart::test::componentDir;
using zeb2hart::test::frameSchemaDir;
using zeb2hart::test::TempComponentFolder;
using zeb2hart::test::TestEnvironment;

using Attributes = std::vector<std::pair<std::string, std::string>>;

inline std::string readFile(const fs::path& file)
{
    std::ostringstream text;
    text << std::ifstream(file, std::ios::binary).rdbuf();
    return text.str();
}

inline void writeFile(const fs::path& file, const std::string& content)
{
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary | std::ios::trunc) << content;
}

// A new folder in the system's temporary folder, removed with all it holds.
class TempDir {
public:
    TempDir() : m_path(fs::temp_directory_path() / ("zeb2hart-xml-" + std::to_string(std::random_device{}())))
    {
        fs::create_directories(m_path);
    }
    ~TempDir() { fs::remove_all(m_path, m_ignored); }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const fs::path& path() const { return m_path; }

private:
    fs::path m_path;
    std::error_code m_ignored;
};

// The attributes of `element`, in document order, by qualified name.
inline Attributes attributesOf(const xmlNode* element)
{
    Attributes found;
    for (xmlAttr* attribute = element ? element->properties : nullptr; attribute != nullptr; attribute = attribute->next)
        found.emplace_back(dom::qualifiedName(attribute), dom::attributeValue(attribute));
    return found;
}

// A document parsed without schemas, for looking into results.
class Parsed {
public:
    explicit Parsed(const std::string& text) { m_result = m_document.loadXml(text); }
    bool loaded() const { return m_result == dom::LoadResult::Loaded; }
    xmlNode* node(const std::string& path) const { return m_document.selectSingleNode(path); }
    Attributes attributes(const std::string& path) const { return attributesOf(node(path)); }
    std::string attribute(const std::string& path, const std::string& name) const
    {
        return dom::attribute(node(path), name).value_or("<absent>");
    }
    // The qualified names of the child elements of the element at `path`.
    std::vector<std::string> children(const std::string& path) const
    {
        std::vector<std::string> names;
        for (xmlNode* child : dom::childElements(node(path)))
            names.push_back(dom::qualifiedName(child));
        return names;
    }

private:
    dom::XmlDocument m_document;
    dom::LoadResult m_result;
};

// Fills `help` the way the DTM does: the frame's schema folder, then the component's own.
inline void loadSchemas(XMLHelp& help, const fs::path& componentFolder = componentDir())
{
    help.InitXMLSchemaCache(frameSchemaDir().string());
    help.InitXMLSchemaCache((componentFolder / "XMLSchemas").string());
}

// The frame's and the component's schemas in one new collection, as a DTM instance holds them.
inline std::shared_ptr<dom::SchemaCollection> fullSchemaCollection()
{
    XMLHelp loader(componentDir());
    auto all = loader.GetXMLSchemas(frameSchemaDir().string());
    auto own = loader.GetXMLSchemas((componentDir() / "XMLSchemas").string());
    for (const std::string& ns : own->namespaces())
        all->add(ns, own->fileOf(ns));
    return all;
}

// The test services over the built component folder and an XMLHelp without schemas.
class XmlFixture : public ::testing::Test {
protected:
    TestEnvironment environment;
    XMLHelp help{componentDir()};
    std::vector<platform::RecordingMessageBox::Shown>& shown() { return environment.messageBox().shown; }
};

// The same with the frame's and the component's schemas loaded.
class SchemaFixture : public XmlFixture {
protected:
    void SetUp() override { loadSchemas(help); }
};

// Test services over a private copy of the component folder whose templates a test may change.
class TempFolderFixture : public ::testing::Test {
protected:
    TempComponentFolder folder;
    TestEnvironment environment{folder.path()};
    XMLHelp help{folder.path()};
    void writeTemplate(const std::string& name, const std::string& content) { folder.write(fs::path("XMLData") / name, content); }
    std::vector<platform::RecordingMessageBox::Shown>& shown() { return environment.messageBox().shown; }
};

} // namespace zeb2hart::xml::test
