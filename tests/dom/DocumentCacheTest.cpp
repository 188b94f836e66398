// What the documents of the process reuse (a file's parse, a text's parse, a
// built document handed over) must not be observable: the same documents, the
// same errors, and every change of a file noticed.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "dom/DomTestSupport.h"
#include "dom/FileStamp.h"
#include "fakes/FdtDocuments.h"

namespace zeb2hart::dom::test {
namespace {

using namespace std::chrono_literals;

// Dates a file an hour back, as installed files are; each call a second later
// than the one before, so that two versions never share a time, however
// coarse the system's clock is.
void age(const fs::path& file)
{
    static int calls = 0;
    fs::last_write_time(file, fs::file_time_type::clock::now() - 1h + std::chrono::seconds(++calls));
}

class DocumentCacheTest : public ::testing::Test {
protected:
    // The attribute `a` of the root of the file's cached copy; "<empty>" when the load gives none.
    std::string copied(const std::shared_ptr<SchemaCollection>& schemas = nullptr)
    {
        XmlDocument document;
        document.setSchemas(schemas);
        const LoadResult result = document.loadCopy(file);
        EXPECT_EQ(result == LoadResult::Loaded, !document.isEmpty());
        EXPECT_FALSE(document.isShared());
        return document.isEmpty() ? "<empty>" : attribute(document.documentElement(), "a").value_or("<absent>");
    }

    TempComponentFolder folder;
    TestEnvironment environment{folder.path()};
    fs::path file = folder.path() / "Template.xml";
};

TEST_F(DocumentCacheTest, AFileWrittenMomentsAgoIsLookedAtOnEveryUse)
{
    const std::pair<std::string, const char*> cases[] = {
        {"<FDT a=\"1\" b=\"x\"/>", "1"}, {"<FDT a=\"2\" b=\"y\"/>", "2"}, {"", "<empty>"}, // one size
        {"<FDT a=\"3\"/>", "3"},          {"no XML", "<empty>"},          {"<FDT/>", "<absent>"}};
    const auto moment = fs::file_time_type::clock::now(); // every version at one time: only the content differs
    for (const auto& [content, a] : cases) {
        SCOPED_TRACE(content);
        if (content.empty())
            fs::remove(file);
        else
            folder.write(file.filename(), content), fs::last_write_time(file, moment);
        EXPECT_EQ(copied(), a);
        XmlDocument shared;
        EXPECT_EQ(shared.loadSharedFile(file) == LoadResult::Loaded, std::string(a) != "<empty>");
    }
}

TEST_F(DocumentCacheTest, AnOldFileIsLookedAtAgainATenthOfASecondAfterItsLastLook)
{
    folder.write(file.filename(), "<FDT a=\"1\"/>");
    age(file);
    ASSERT_FALSE(isRecent(stampOf(file)));
    XmlDocument first;
    ASSERT_EQ(first.loadCopy(file), LoadResult::Loaded);
    setAttribute(first.documentElement(), "a", "changed");
    EXPECT_EQ(copied(), "1"); // each copy is private
    fs::remove(file);
    environment.clock().advance(99ms);
    EXPECT_EQ(copied(), "1");
    environment.clock().advance(1ms);
    EXPECT_EQ(copied(), "<empty>");
    folder.write(file.filename(), "<FDT a=\"2\"/>");
    age(file);
    EXPECT_EQ(copied(), "2");
    folder.write(file.filename(), "<FDT a=\"3\"/>");
    age(file);
    environment.clock().advance(100ms);
    EXPECT_EQ(copied(), "3");
}

TEST_F(DocumentCacheTest, WhatTheCacheCannotReadLoadsAsThePlainLoadDoes)
{
    // Each step leaves the file as it says, after the recheck interval.
    const auto tooLarge = [&] { folder.write(file.filename(), ""), fs::resize_file(file, kMaxFileDocumentSize + 1); };
    const std::pair<const char*, std::function<void()>> steps[] = {
        {"too large, never cached", tooLarge},
        {"a document", [&] { folder.write(file.filename(), "<FDT a=\"1\"/>"), age(file); }},
        {"too large where the cached document was", tooLarge},
        {"a document again", [&] { folder.write(file.filename(), "<FDT a=\"2\"/>"), age(file); }},
        {"a folder where it was", [&] { fs::remove(file), fs::create_directories(file); }},
        {"missing", [&] { fs::remove(file); }},
        {"not XML", [&] { folder.write(file.filename(), "<FDT"), age(file); }},
    };
    for (const auto& [name, step] : steps) {
        SCOPED_TRACE(name);
        step();
        environment.clock().advance(100ms);
        XmlDocument plain;
        const LoadResult expected = plain.load(file);
        for (int round = 0; round < 2; ++round) {
            XmlDocument copy, shared;
            EXPECT_EQ(copy.loadCopy(file), expected);
            EXPECT_EQ(shared.loadSharedFile(file), expected);
            for (const XmlDocument* cached : {&copy, &shared}) {
                EXPECT_EQ(cached->parseError().code, plain.parseError().code);
                EXPECT_EQ(cached->parseError().url, file.string());
            }
        }
    }
}

TEST_F(DocumentCacheTest, EachSchemaCollectionJudgesTheFileItself)
{
    const auto schemas = allSchemas();
    folder.write(file.filename(), "<FDT xmlns=\"x-schema:FDTHARTCommunicationSchema.xml\" a=\"1\"><Nonsense/></FDT>");
    for (int round = 0; round < 2; ++round) {
        XmlDocument document;
        document.setSchemas(schemas);
        EXPECT_EQ(document.loadCopy(file), LoadResult::NotLoaded);
        EXPECT_NE(document.parseError().code, 0);
        EXPECT_EQ(document.parseError().url, file.string());
        EXPECT_EQ(copied(), "1");
        EXPECT_EQ(copied(std::make_shared<SchemaCollection>()), "1");
    }
}

// Reads `text` shared three times, each as a fresh parse of it reads; `loaded`
// looks further into each shared read that loads.
void expectSharedReadsAsFresh(const std::string& text, const std::shared_ptr<SchemaCollection>& schemas,
                              const std::function<void(const XmlDocument&)>& loaded = {})
{
    XmlDocument fresh;
    fresh.setSchemas(schemas);
    const LoadResult expected = fresh.loadXml(text);
    for (int round = 0; round < 3; ++round) {
        XmlDocument shared;
        shared.setSchemas(schemas);
        EXPECT_EQ(shared.loadShared(text), expected);
        EXPECT_EQ(shared.xml(), fresh.xml());
        EXPECT_EQ(shared.parseError().code, fresh.parseError().code);
        EXPECT_EQ(shared.parseError().line, fresh.parseError().line);
        if (expected == LoadResult::Loaded && loaded)
            loaded(shared);
    }
}

const std::string kHart = std::string(zeb2hart::test::kHartRoot) +
                          "<DataExchangeRequest commandNumber=\"128\" communicationReference=\"R\"/></FDT>";

TEST(SharedTexts, ASharedTextReadsAsAFreshParseDoes)
{
    const std::string texts[] = {kHart, "<FDT xmlns=\"x-schema:FDTHARTCommunicationSchema.xml\"><No/></FDT>",
                                 "<FDT xmlns=\"x-schema:Unknown.xml\"/>", "<FDT><a></FDT>", "",
                                 "<FDT xmlns=\"urn:other\"><A b=\"1\"/></FDT>"};
    for (const auto& schemas : {std::shared_ptr<SchemaCollection>(), allSchemas()})
        for (const std::string& text : texts)
            expectSharedReadsAsFresh(text, schemas);
}

TEST(SharedTexts, TheLastEightTextsAreSharedReadOnly)
{
    const auto nth = [](int n) { return "<FDT n=\"" + std::to_string(n) + "\"/>"; };
    std::vector<XmlDocument> documents(9);
    for (int n = 0; n < 9; ++n)
        ASSERT_EQ(documents[n].loadShared(nth(n)), LoadResult::Loaded);
    EXPECT_TRUE(documents[0].isShared());
    XmlDocument again;
    ASSERT_EQ(again.loadShared(nth(1)), LoadResult::Loaded);
    EXPECT_EQ(again.get(), documents[1].get()); // one parse
    ASSERT_EQ(again.loadShared(nth(0)), LoadResult::Loaded);
    EXPECT_NE(again.get(), documents[0].get());
}

TEST(SharedTexts, ABuiltDocumentReadsAsAFreshParseOfItsTextDoes)
{
    // Each case edits a document and takes its text. Reading that text shared
    // must give what a fresh parse of it gives; where the document reads back
    // as it is, without parsing it again.
    TestEnvironment environment;
    const std::string plain = "<FDT xmlns=\"urn:plain\" xmlns:p=\"urn:p\"><A b=\"1\"/></FDT>";
    const auto on = [](std::string path, std::string name, std::string value) {
        return [=](xmlDoc* d) { setAttribute(selectSingleNode(documentNode(d), path), name, value); };
    };
    const auto onA = [&](std::string name, std::string value) { return on("FDT/A", name, value); };
    const auto add = [](std::function<xmlNode*(xmlDoc*)> make) {
        return [=](xmlDoc* d) { xmlAddChild(xmlDocGetRootElement(d), make(d)); };
    };
    const auto newAttribute = [](const char* name) {
        return [=](xmlDoc* d) { xmlNewProp(xmlDocGetRootElement(d)->children, BAD_CAST name, BAD_CAST "1"); };
    };
    struct Case {
        const char* name;
        const std::string& text;
        std::function<void(xmlDoc*)> edit;
        bool readsBack;
    };
    const Case cases[] = {
        {"a plain value", plain, onA("b", "2"), true},
        {"escaped characters and UTF-8 of each length", plain,
         onA("b", "\t\n\r&<>\"' \xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80"), true},
        {"a prefixed attribute", plain, onA("p:c", "3"), true},
        {"a control character", plain, onA("b", "a\x01" "b"), false},
        {"broken UTF-8", plain, onA("b", "\xC3\x28"), false},
        {"a control character after a printable run", plain, onA("b", "abcdefghijklmnop\x1F"), false},
        {"a lone continuation byte", plain, onA("b", "ab\x80"), false},
        {"an overlong form", plain, onA("b", "\xC0\xAF"), false},
        {"an encoded surrogate", plain, onA("b", "\xED\xA0\x80"), false},
        {"a non-character", plain, onA("b", "\xEF\xBF\xBE"), false},
        {"an unbound prefix", plain, onA("q:c", "3"), false},
        {"an attribute twice", plain,
         [](xmlDoc* d) { xmlNewProp(xmlDocGetRootElement(d)->children, BAD_CAST "b", BAD_CAST "9"); }, false},
        {"out of the default namespace", plain,
         add([](xmlDoc* d) { return xmlNewDocNode(d, nullptr, BAD_CAST "B", nullptr); }), false},
        {"out of it, declared", plain,
         add([](xmlDoc* d) { return createElement(d, xmlDocGetRootElement(d), "B", std::string()); }), true},
        {"a name of every ASCII name character", plain, newAttribute("_a-Z.9"), true},
        {"a name beginning with a digit", plain, newAttribute("9b"), false},
        {"a name beginning with a dash", plain, newAttribute("-b"), false},
        {"a name with a blank", plain, newAttribute("b c"), false},
        {"a name with a letter beyond ASCII", plain, newAttribute("b\xC3\xA9"), true},
        {"a name in broken UTF-8", plain,
         add([](xmlDoc* d) { return createElement(d, xmlDocGetRootElement(d), "p:C\xFC" "d"); }), false},
        {"blank text", plain, add([](xmlDoc* d) { return xmlNewDocText(d, BAD_CAST " "); }), false},
        {"a comment with two dashes", plain, add([](xmlDoc* d) { return xmlNewDocComment(d, BAD_CAST "a--b"); }), false},
        {"a valid request", kHart, on("FDT/DataExchangeRequest", "communicationReference", "R2"), true},
        {"a request the schemas refuse", kHart, on("FDT/DataExchangeRequest", "commandNumber", "many"), true},
    };
    for (const auto& schemas : {std::shared_ptr<SchemaCollection>(), allSchemas()}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.name) + (schemas ? " with schemas" : ""));
            XmlDocument built;
            ASSERT_EQ(built.loadXml(c.text), LoadResult::Loaded);
            c.edit(built.get());
            EXPECT_EQ(readsBackAsItIs(built.get()), c.readsBack);
            built.setSchemas(schemas);
            const std::string text = built.takeXml();
            EXPECT_TRUE(built.isEmpty());
            expectSharedReadsAsFresh(text, schemas, [&](const XmlDocument& shared) {
                // A parse of the text puts the root on line 2, after the declaration;
                // the handed-over document keeps line 1.
                EXPECT_EQ(xmlGetLineNo(shared.documentElement()), c.readsBack ? 1 : 2);
                EXPECT_EQ(shared.get()->URL, nullptr);
            });
        }
    }
}

TEST(FolderSignature, ChangesWithEveryFileChange)
{
    TempComponentFolder folder;
    const fs::path dir = folder.path() / "sig";
    folder.write("sig/a.xml", "one");
    folder.write("sig/sub/b.xml", "two");
    age(dir / "a.xml");
    age(dir / "sub" / "b.xml");
    std::vector<std::uint64_t> seen = {internSignature(folderSignature(dir))};
    EXPECT_EQ(internSignature(folderSignature(dir.string() + "/")), seen[0]);
    const auto moment = fs::file_time_type::clock::now();
    for (const char* content : {"TWO", "TwO", "three", ""}) { // one size and time, written now; another file; removed
        *content == 0 ? (void)fs::remove(dir / "a.xml") : folder.write(*content == 't' ? "sig/c.xml" : "sig/sub/b.xml", content);
        fs::last_write_time(dir / "sub" / "b.xml", moment);
        EXPECT_EQ(std::count(seen.begin(), seen.end(), internSignature(folderSignature(dir))), 0) << content;
        seen.push_back(internSignature(folderSignature(dir)));
    }
    EXPECT_EQ(folderSignature(dir / "missing"), "");
}

TEST(FolderSignature, EveryFolderIsWalkedOnceAndNoDeeperThanItIsWorth)
{
    struct Case {
        const char* name;
        // Makes the tree beside sig/sub/b.xml; false when the system cannot.
        bool (*grow)(const fs::path& dir);
        bool isSigned; // the same signature for the same tree
    };
    const Case cases[] = {
        {"a link back up the tree", // Windows makes links to folders only with a privilege
         [](const fs::path& dir) {
             std::error_code ec;
             fs::create_directory_symlink("..", dir / "sub" / "up", ec);
             return !ec;
         },
         true},
        {"a tree deeper than the walk goes",
         [](const fs::path& dir) {
             return fs::create_directories(
                 dir / "sub/1/2/3/4/5/6/7/8/9/10/11/12/13/14/15/16/17/18/19/20/21/22/23/24/25/26/27/28/29/30/31/32");
         },
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempComponentFolder folder;
        const fs::path dir = folder.path() / "sig";
        folder.write("sig/sub/b.xml", "two");
        age(dir / "sub" / "b.xml");
        if (!c.grow(dir))
            continue;
        const std::string signature = folderSignature(dir);
        EXPECT_EQ(folderSignature(dir) == signature, c.isSigned);
        if (c.isSigned) { // the file once, not again through the link
            EXPECT_EQ(signature.find("b.xml"), signature.rfind("b.xml")) << signature;
        }
    }
}

} // namespace
} // namespace zeb2hart::dom::test
