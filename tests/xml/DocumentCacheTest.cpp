// What the component reuses between operations and instances (parsed
// templates, parsed peer texts, compiled schema bundles) must not be
// observable: the same documents, the same empty results, and every change of
// a template or schema file noticed.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <thread>

#include "fdt/Errors.h"
#include "platform/FileStamp.h"
#include "xml/XmlTestSupport.h"

namespace zeb2hart::xml::test {
namespace {

using platform::LoadResult;
using platform::XmlDocument;
using namespace std::chrono_literals;

// Dates a file an hour back, as installed files are.
void age(const fs::path& file)
{
    fs::last_write_time(file, fs::file_time_type::clock::now() - 1h);
}

TEST_F(XmlFixture, EveryTemplateValidatesAndACopyIsThePrivateTemplateAsLoadedFromItsFile)
{
    const auto withSchemas = fullSchemaCollection();
    std::size_t templates = 0;
    for (const auto& schemas : {std::shared_ptr<platform::SchemaCollection>(), withSchemas}) {
        for (const auto& entry : fs::directory_iterator(componentDir() / "XMLData")) {
            SCOPED_TRACE(entry.path().filename().string() + (schemas ? " with schemas" : " without"));
            XmlDocument loaded;
            loaded.setSchemas(schemas);
            const LoadResult expected = loaded.load(entry.path());
            if (schemas && entry.path().filename() != "DTMDictionary.xml") {
                ++templates;
                ASSERT_EQ(expected, LoadResult::Loaded) << loaded.parseError().reason;
                EXPECT_EQ(platform::qualifiedName(loaded.documentElement()), "FDT");
                // Checked, not merely parsed: the root's namespace is one of the collection's.
                EXPECT_TRUE(schemas->contains(platform::namespaceUri(loaded.documentElement())));
            }
            for (int round = 0; round < 3; ++round) {
                XmlDocument copy;
                copy.setSchemas(schemas);
                ASSERT_EQ(copy.loadCopy(entry.path()), expected);
                EXPECT_FALSE(copy.isShared());
                EXPECT_EQ(copy.xml(), loaded.xml());
                EXPECT_NE(copy.get(), loaded.get());
            }
        }
    }
    EXPECT_EQ(templates, 14u);
    // Each copy is private.
    const fs::path file = componentDir() / "XMLData" / "ZEB2HARTDisconnectResponse.xml";
    XmlDocument first;
    ASSERT_EQ(first.loadCopy(file), LoadResult::Loaded);
    platform::setAttribute(first.selectSingleNode("FDT/DisconnectResponse"), "communicationReference", "changed");
    XmlDocument second;
    ASSERT_EQ(second.loadCopy(file), LoadResult::Loaded);
    EXPECT_EQ(platform::attribute(second.selectSingleNode("FDT/DisconnectResponse"), "communicationReference"), "");
}

TEST_F(TempFolderFixture, AChangedOrRemovedTemplateIsNoticed)
{
    const fs::path file = folder.path() / "XMLData" / "ZEB2HARTDisconnectResponse.xml";
    const std::string original = readFile(file);
    EXPECT_EQ(Parsed(help.XMLDisconnectResponse("R1")).attribute("FDT/DisconnectResponse", "communicationReference"),
              "R1");

    // Two contents of one size: only the content tells them apart.
    const std::string withA = "<FDT><DisconnectResponse communicationReference=\"\" a=\"1\"/></FDT>";
    const std::string withB = "<FDT><DisconnectResponse communicationReference=\"\" b=\"2\"/></FDT>";
    ASSERT_EQ(withA.size(), withB.size());
    struct Case {
        const char* name;
        std::string content; // "" removes the file
        const char* attribute;
        std::string value; // "" when no document is built
    };
    const std::vector<Case> cases = {
        // Written moments ago: noticed at the next use, whatever its size and time.
        {"another content", withA, "a", "1"},
        {"the same size at once", withB, "b", "2"},
        {"removed", "", "b", ""},
        {"back again", original, "communicationReference", "S1"},
        {"not XML", "no XML at all", "b", ""},
        {"another shape", "<FDT><Other/></FDT>", "communicationReference", "<absent>"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.content.empty())
            fs::remove(file);
        else
            writeFile(file, c.content);
        const std::string built = help.XMLDisconnectResponse("S1");
        if (c.value.empty()) {
            EXPECT_EQ(built, "");
        } else {
            const Parsed parsed(built);
            ASSERT_TRUE(parsed.loaded()) << built;
            EXPECT_EQ(parsed.attribute("FDT/DisconnectResponse", c.attribute), c.value);
        }
    }
    EXPECT_TRUE(shown().empty());
}

TEST_F(TempFolderFixture, AnOldTemplateIsLookedAtAgainATenthOfASecondAfterItsLastUse)
{
    const fs::path file = folder.path() / "XMLData" / "ZEB2HARTDisconnectResponse.xml";
    age(file);
    ASSERT_FALSE(platform::isRecent(platform::stampOf(file)));
    EXPECT_NE(help.XMLDisconnectResponse("R1"), "");
    fs::remove(file);
    std::this_thread::sleep_for(150ms);
    EXPECT_EQ(help.XMLDisconnectResponse("R1"), "");
    writeFile(file, "<FDT xmlns=\"urn:other\"><DisconnectResponse communicationReference=\"\" extra=\"1\"/></FDT>");
    age(file);
    std::this_thread::sleep_for(150ms);
    EXPECT_EQ(Parsed(help.XMLDisconnectResponse("R2")).attribute("FDT/DisconnectResponse", "extra"), "1");
}

TEST_F(TempFolderFixture, AnInvalidTemplateStaysEmptyAndAValidOneLoadsOnceTheSchemasChange)
{
    loadSchemas(help, folder.path());
    // Valid XML, but not valid against the HART communication schema.
    writeTemplate("ZEB2HARTDisconnectResponse.xml",
                  "<FDT xmlns=\"x-schema:FDTHARTCommunicationSchema.xml\"><Nonsense/></FDT>");
    for (int round = 0; round < 2; ++round)
        EXPECT_EQ(help.XMLDisconnectResponse("R1"), "");
    XMLHelp without(folder.path());
    EXPECT_NE(without.XMLDisconnectResponse("R1"), "");
    EXPECT_TRUE(shown().empty());
}

// Reads `text` shared three times, each as a fresh parse of it reads; `loaded`
// looks further into each shared read that loads.
void expectSharedReadsAsFresh(const std::string& text, const std::shared_ptr<platform::SchemaCollection>& schemas,
                              const std::function<void(const XmlDocument&)>& loaded = {})
{
    XmlDocument fresh;
    fresh.setSchemas(schemas);
    const LoadResult expected = fresh.loadXml(text);
    for (int round = 0; round < 3; ++round) {
        XmlDocument shared;
        shared.setSchemas(schemas);
        EXPECT_EQ(shared.loadShared(text), expected);
        EXPECT_EQ(shared.isEmpty(), fresh.isEmpty());
        EXPECT_EQ(shared.xml(), fresh.xml());
        EXPECT_EQ(shared.parseError().code, fresh.parseError().code);
        EXPECT_EQ(shared.parseError().line, fresh.parseError().line);
        if (expected == LoadResult::Loaded && loaded)
            loaded(shared);
    }
}

TEST_F(XmlFixture, ASharedTextReadsAsAFreshParseDoes)
{
    const auto schemas = fullSchemaCollection();
    const std::string hart = "<FDT xmlns=\"x-schema:FDTHARTCommunicationSchema.xml\" "
                             "xmlns:fdt=\"x-schema:FDTDataTypesSchema.xml\">";
    const std::vector<std::string> texts = {
        hart + "<DataExchangeRequest commandNumber=\"128\" communicationReference=\"R\"/></FDT>",
        hart + "<Nonsense/></FDT>",                                 // not valid
        "<FDT xmlns=\"x-schema:Unknown.xml\"/>",                    // no such schema
        "<FDT><unclosed></FDT>",                                    // not well-formed
        "",                                                         // empty
        "<FDT xmlns=\"urn:other\"><A b=\"1\"/></FDT>",              // not checked
    };
    for (const auto& collection : {std::shared_ptr<platform::SchemaCollection>(), schemas}) {
        for (const std::string& text : texts) {
            SCOPED_TRACE(text + (collection ? " with schemas" : " without"));
            expectSharedReadsAsFresh(text, collection);
        }
    }
}

TEST_F(XmlFixture, TheLastTextsAreSharedReadOnlyButCanBeTakenAsACopy)
{
    const std::string text = "<FDT><A b=\"1\"/></FDT>";
    XmlDocument first;
    ASSERT_EQ(first.loadShared(text), LoadResult::Loaded);
    XmlDocument second;
    ASSERT_EQ(second.loadShared(text), LoadResult::Loaded);
    EXPECT_TRUE(first.isShared());
    EXPECT_EQ(first.get(), second.get()); // one parse
    platform::XmlDocPtr owned = second.release();
    ASSERT_NE(owned, nullptr);
    EXPECT_NE(owned.get(), first.get());
    EXPECT_TRUE(second.isEmpty());
    platform::setAttribute(xmlDocGetRootElement(owned.get())->children, "b", "2");
    EXPECT_EQ(platform::attribute(first.selectSingleNode("FDT/A"), "b"), "1");

    // The last texts are shared and older ones parsed again.
    std::vector<std::string> texts;
    for (int n = 0; n < 20; ++n)
        texts.push_back("<FDT n=\"" + std::to_string(n) + "\"/>");
    for (const std::string& text : texts) {
        XmlDocument document;
        ASSERT_EQ(document.loadShared(text), LoadResult::Loaded);
        XmlDocument again;
        ASSERT_EQ(again.loadShared(text), LoadResult::Loaded);
        EXPECT_EQ(again.get(), document.get());
    }
    // Far more texts than are kept: the first ones are parsed anew, and read the same.
    XmlDocument oldest;
    ASSERT_EQ(oldest.loadShared(texts.front()), LoadResult::Loaded);
    EXPECT_EQ(platform::attribute(oldest.documentElement(), "n"), "0");
}

TEST_F(XmlFixture, ABuiltDocumentReadsAsAFreshParseOfItsTextDoes)
{
    // Each case edits a document and takes its text. Reading that text shared
    // must give what a fresh parse of it gives; where the document reads back
    // as it is, without parsing it again.
    const auto schemas = fullSchemaCollection();
    const std::string hart = "<FDT xmlns=\"x-schema:FDTHARTCommunicationSchema.xml\" "
                             "xmlns:fdt=\"x-schema:FDTDataTypesSchema.xml\">"
                             "<DataExchangeRequest commandNumber=\"128\" communicationReference=\"R\"/></FDT>";
    const std::string plain = "<FDT xmlns=\"urn:plain\" xmlns:p=\"urn:p\"><A b=\"1\"/></FDT>";
    const auto setOnA = [](std::string name, std::string value) {
        return [=](xmlDoc* document) {
            platform::setAttribute(platform::selectSingleNode(platform::documentNode(document), "FDT/A"), name, value);
        };
    };
    const auto setOnRequest = [](std::string value) {
        return [=](xmlDoc* document) {
            platform::setAttribute(
                platform::selectSingleNode(platform::documentNode(document), "FDT/DataExchangeRequest"),
                "communicationReference", value);
        };
    };
    struct Case {
        const char* name;
        const std::string& text;
        std::function<void(xmlDoc*)> edit;
        bool readsBack;
    };
    const std::vector<Case> cases = {
        {"a plain value", plain, setOnA("b", "2"), true},
        {"escaped characters", plain, setOnA("b", "\t\n\r&<>\"' \xC3\xA9 \xF0\x9F\x98\x80"), true},
        {"a prefixed attribute", plain, setOnA("p:c", "3"), true},
        {"a control character", plain, setOnA("b", "a\x01" "b"), false},
        {"broken UTF-8", plain, setOnA("b", "\xC3\x28"), false},
        {"an overlong form", plain, setOnA("b", "\xC0\xAF"), false},
        {"an encoded surrogate", plain, setOnA("b", "\xED\xA0\x80"), false},
        {"a non-character", plain, setOnA("b", "\xEF\xBF\xBE"), false},
        {"an unbound prefix", plain, setOnA("q:c", "3"), false},
        {"an attribute twice", plain,
         [](xmlDoc* document) { xmlNewProp(xmlDocGetRootElement(document)->children, BAD_CAST "b", BAD_CAST "9"); },
         false},
        {"an element out of the default namespace", plain,
         [](xmlDoc* document) {
             xmlAddChild(xmlDocGetRootElement(document), xmlNewDocNode(document, nullptr, BAD_CAST "B", nullptr));
         },
         false},
        {"an element out of the default namespace, declared", plain,
         [](xmlDoc* document) {
             xmlNode* root = xmlDocGetRootElement(document);
             platform::appendChild(root, platform::createElement(document, root, "B", std::string()));
         },
         true},
        {"a name in broken UTF-8", plain,
         [](xmlDoc* document) {
             xmlNode* root = xmlDocGetRootElement(document);
             platform::appendChild(root, platform::createElement(document, root, "p:C\xFC" "d"));
         },
         false},
        {"blank text", plain,
         [](xmlDoc* document) { xmlAddChild(xmlDocGetRootElement(document), xmlNewDocText(document, BAD_CAST " ")); },
         false},
        {"a comment with two dashes", plain,
         [](xmlDoc* document) {
             xmlAddChild(xmlDocGetRootElement(document), xmlNewDocComment(document, BAD_CAST "a--b"));
         },
         false},
        {"a valid request", hart, setOnRequest("R2"), true},
        {"a request the schemas refuse", hart,
         [](xmlDoc* document) {
             platform::setAttribute(
                 platform::selectSingleNode(platform::documentNode(document), "FDT/DataExchangeRequest"),
                 "commandNumber", "many");
         },
         true},
    };
    for (const auto& collection : {std::shared_ptr<platform::SchemaCollection>(), schemas}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.name) + (collection ? " with schemas" : " without"));
            XmlDocument built;
            ASSERT_EQ(built.loadXml(c.text), LoadResult::Loaded);
            c.edit(built.get());
            EXPECT_EQ(platform::readsBackAsItIs(built.get()), c.readsBack);
            built.setSchemas(collection);
            const std::string text = built.takeXml();
            EXPECT_TRUE(built.isEmpty());
            ASSERT_FALSE(text.empty());

            expectSharedReadsAsFresh(text, collection, [&](const XmlDocument& shared) {
                // The text starts with a declaration line: a parse of it puts the
                // root on line 2, the handed-over document keeps line 1.
                EXPECT_EQ(xmlGetLineNo(shared.documentElement()), c.readsBack ? 1 : 2);
                EXPECT_EQ(shared.get()->URL, nullptr);
            });
        }
    }
}

TEST_F(XmlFixture, ManyDifferentNamesDoNotWearOutTheParser)
{
    // Each document brings names of its own; the parser's dictionary of names is
    // replaced once it has grown, and parsing goes on alike.
    for (int n = 0; n < 300; ++n) {
        std::string text = "<FDT>";
        for (int e = 0; e < 20; ++e)
            text += "<E" + std::to_string(n) + "_" + std::to_string(e) + " a" + std::to_string(e) + "=\"x\"/>";
        text += "</FDT>";
        XmlDocument document;
        ASSERT_EQ(document.loadXml(text), LoadResult::Loaded) << n;
        EXPECT_EQ(platform::childElements(document.documentElement()).size(), 20u);
    }
}

// --- schema bundles shared between collections -------------------------------------

class SharedSchemaTest : public ::testing::Test {
protected:
    SharedSchemaTest()
    {
        for (const auto& entry : fs::directory_iterator(componentDir() / "XMLSchemas"))
            writeFile(m_dir / entry.path().filename(), readFile(entry.path()));
        for (const auto& entry : fs::directory_iterator(frameSchemaDir()))
            writeFile(m_dir / "frame" / entry.path().filename(), readFile(entry.path()));
    }
    // Reads a device type the bundle checks, which makes the collection take its
    // bundle: true when it loads; a device type that does not load is an error.
    // Each time another text, so that no read finds an earlier one's parse.
    static bool check(XMLHelp& help)
    {
        static int version = 0;
        return help.CheckInitInformation(
            "<FDT xmlns=\"x-schema:DTMDeviceTypeSchema.xml\" xmlns:fdt=\"x-schema:FDTDataTypesSchema.xml\">"
            "<fdt:DtmDeviceType><fdt:VersionInformation name=\"ZEB to HART Gateway\" vendor=\"v\" "
            "version=\"" + std::to_string(++version) + "\" date=\"2004-01-01\"/><fdt:BusCategories><fdt:BusCategory busCategory=\"81684E65-6385-4690-ACCF-49995B3B4E8B\"/>"
            "</fdt:BusCategories></fdt:DtmDeviceType></FDT>");
    }
    void fill(XMLHelp& help) const
    {
        help.InitXMLSchemaCache((m_dir / "frame").string());
        help.InitXMLSchemaCache(m_dir.string());
    }

    TestEnvironment environment;
    TempDir folder;
    const fs::path& m_dir = folder.path();
};

TEST_F(SharedSchemaTest, InstancesOfOneFolderContentCompileItsSchemasOnceAndAChangedOneAgain)
{
    std::size_t before = platform::SchemaCollection::bundlesCompiled();
    std::vector<std::unique_ptr<XMLHelp>> helpers;
    for (int n = 0; n < 5; ++n) {
        helpers.push_back(std::make_unique<XMLHelp>(componentDir()));
        fill(*helpers.back());
        EXPECT_TRUE(check(*helpers.back()));
        EXPECT_EQ(helpers.back()->Cache().compileCount(), 1u);
        EXPECT_EQ(helpers.back()->Cache().identity(), helpers.front()->Cache().identity());
    }
    EXPECT_EQ(platform::SchemaCollection::bundlesCompiled() - before, 1u);

    // A changed folder is compiled again.
    XMLHelp& first = *helpers.front();
    before = platform::SchemaCollection::bundlesCompiled();

    // The device-type schema now wants a required attribute the document lacks.
    const fs::path schema = m_dir / "frame" / "DTMDeviceTypeSchema.xml";
    std::string text = readFile(schema);
    const std::string sequenceEnd = "</xs:sequence>";
    ASSERT_NE(text.find(sequenceEnd), std::string::npos);
    text.insert(text.find(sequenceEnd) + sequenceEnd.size(), "<xs:attribute name=\"required\" use=\"required\"/>");
    writeFile(schema, text);
    XMLHelp second(componentDir());
    fill(second);
    EXPECT_NE(second.Cache().identity(), first.Cache().identity());
    EXPECT_THROW(check(second), fdt::NotFoundError); // the device type no longer loads
    EXPECT_EQ(platform::SchemaCollection::bundlesCompiled() - before, 1u);
    // The first instance keeps the schemas it was given.
    EXPECT_TRUE(check(first));

    // A file added to the folder changes it too.
    writeFile(m_dir / "Extra.xml", "<?xml version=\"1.0\"?><xs:schema xmlns:xs=\"http://www.w3.org/2001/XMLSchema\" "
                                   "targetNamespace=\"x-schema:Extra.xml\"/>");
    XMLHelp third(componentDir());
    fill(third);
    EXPECT_NE(third.Cache().identity(), second.Cache().identity());
}

TEST(FolderSignature, ChangesWithEveryFileChange)
{
    TempDir folder;
    const fs::path& dir = folder.path();
    writeFile(dir / "a.xml", "one");
    writeFile(dir / "sub" / "b.xml", "two");
    for (const auto& entry : fs::recursive_directory_iterator(dir))
        if (entry.is_regular_file())
            age(entry.path());
    const std::string start = platform::folderSignature(dir);
    EXPECT_EQ(platform::folderSignature(dir), start);
    EXPECT_EQ(platform::folderSignature(dir.string() + "/"), start);
    EXPECT_EQ(platform::internSignature(start), platform::internSignature(platform::folderSignature(dir)));

    std::vector<std::string> seen = {start};
    const auto changed = [&](const char* what) {
        SCOPED_TRACE(what);
        const std::string now = platform::folderSignature(dir);
        EXPECT_EQ(std::find(seen.begin(), seen.end(), now), seen.end());
        seen.push_back(now);
    };
    writeFile(dir / "sub" / "b.xml", "TWO"); // same size, written now
    changed("rewritten below");
    writeFile(dir / "sub" / "b.xml", "TwO"); // same size, again within the same second
    changed("rewritten again at once");
    writeFile(dir / "c.xml", "three");
    changed("added");
    fs::remove(dir / "a.xml");
    changed("removed");
    EXPECT_EQ(platform::folderSignature(dir / "missing"), "");
}

} // namespace
} // namespace zeb2hart::xml::test
