#include <gtest/gtest.h>

#include <libxml/parserInternals.h>

#include <chrono>

#include "xml/XmlTestSupport.h"

namespace zeb2hart::platform {
namespace {

namespace fs = std::filesystem;
using xml::test::TempDir;
using xml::test::writeFile;

constexpr const char* kQueryDocument = R"(<?xml version="1.0"?>
<FDT xmlns="x-schema:A.xml" xmlns:fdt="x-schema:F.xml" xmlns:other="x-schema:F.xml">
  <B id="1"><C id="c1"/></B>
  <B id="2"><C id="c2"/><fdt:C id="f2"/></B>
  <fdt:B id="3"><C id="c3"/></fdt:B>
  <other:D id="d"/>
</FDT>)";

std::string idAt(const XmlDocument& document, const std::string& path)
{
    xmlNode* node = document.selectSingleNode(path);
    return node ? attribute(node, "id").value_or("<no id>") : "<none>";
}

TEST(XmlDom, LoadsTextAndSerialisesTheWholeDocument)
{
    XmlDocument document;
    EXPECT_TRUE(document.isEmpty());
    EXPECT_EQ(document.xml(), "");
    EXPECT_EQ(document.selectSingleNode("FDT"), nullptr);
    ASSERT_EQ(document.loadXml("<FDT xmlns=\"x-schema:A.xml\">\n  <A x=\"1\"/>\n</FDT>"), LoadResult::Loaded);
    EXPECT_EQ(document.parseError().code, 0);
    EXPECT_EQ(document.xml(), "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<FDT xmlns=\"x-schema:A.xml\"><A x=\"1\"/></FDT>\n");
}

TEST(XmlDom, TextThatDoesNotParseLeavesTheDocumentEmpty)
{
    std::string deep;
    for (int i = 0; i < 5000; ++i)
        deep += "<a>";
    for (int i = 0; i < 5000; ++i)
        deep += "</a>";
    const std::vector<std::string> texts = {
        "",       "not xml at all", "<a>",         "<a></b>", "<a/><b/>", "<?xml version=\"1.0\"?>",
        "<a x=1/>", "<a x=\"1\" x=\"2\"/>", "<p:a/>", "\xff\xfe<a/>",
        "<a>&x;</a>", // an entity reference without a DOCTYPE is undeclared
        deep,
    };
    for (const std::string& text : texts) {
        SCOPED_TRACE(text.substr(0, 40));
        XmlDocument document;
        ASSERT_EQ(document.loadXml("<previous/>"), LoadResult::Loaded);
        EXPECT_EQ(document.loadXml(text), LoadResult::NotLoaded);
        EXPECT_TRUE(document.isEmpty());
        EXPECT_NE(document.parseError().code, 0);
        EXPECT_FALSE(document.parseError().reason.empty());
        EXPECT_EQ(document.xml(), "");
    }
}

TEST(XmlDom, ParseErrorTellsLineColumnPositionAndSourceText)
{
    XmlDocument document;
    ASSERT_EQ(document.loadXml("<FDT>\r\n  <A>\r\n  </B>\r\n</FDT>"), LoadResult::NotLoaded);
    const XmlParseError& error = document.parseError();
    EXPECT_EQ(error.code, XML_ERR_TAG_NAME_MISMATCH);
    EXPECT_NE(error.reason.find("mismatch"), std::string::npos);
    EXPECT_EQ(error.line, 3);
    EXPECT_GT(error.linePosition, 0);
    EXPECT_EQ(error.sourceText, "  </B>");
    EXPECT_EQ(error.filePosition, 14 + error.linePosition);
    EXPECT_EQ(error.url, "");
}

TEST(XmlDom, ADoctypeIsRefusedAndNoEntityIsFetchedOrExpanded)
{
    TempDir dir;
    writeFile(dir.path() / "secret.txt", "TOP-SECRET");
    writeFile(dir.path() / "evil.dtd", "<!ENTITY x \"EXPANDED\">");
    const std::string secret = "file://" + (dir.path() / "secret.txt").string();
    const std::string dtd = "file://" + (dir.path() / "evil.dtd").string();
    std::string bomb = "<?xml version=\"1.0\"?><!DOCTYPE lolz [<!ENTITY lol0 \"lol\">";
    for (int i = 1; i <= 9; ++i) {
        bomb += "<!ENTITY lol" + std::to_string(i) + " \"";
        for (int k = 0; k < 10; ++k)
            bomb += "&lol" + std::to_string(i - 1) + ";";
        bomb += "\">";
    }
    bomb += "]><lolz>&lol9;</lolz>";
    const std::vector<std::string> texts = {
        "<!DOCTYPE a><a/>",
        "<!DOCTYPE a [<!ELEMENT a EMPTY>]><a/>",
        "<?xml version=\"1.0\"?>\n<!DOCTYPE a PUBLIC \"-//x//y\" \"http://127.0.0.1:9/x.dtd\"><a/>",
        "<!DOCTYPE a [<!ENTITY x SYSTEM \"" + secret + "\">]><a>&x;</a>",
        "<!DOCTYPE a [<!ENTITY x SYSTEM \"" + secret + "\">]><a v=\"&x;\"/>",
        "<!DOCTYPE a SYSTEM \"" + dtd + "\"><a>&x;</a>",
        "<!DOCTYPE a [<!ENTITY % p SYSTEM \"" + dtd + "\"> %p;]><a>&x;</a>",
        bomb,
    };
    for (const std::string& text : texts) {
        SCOPED_TRACE(text.substr(0, 80));
        const auto start = std::chrono::steady_clock::now();
        XmlDocument document;
        EXPECT_EQ(document.loadXml(text), LoadResult::NotLoaded);
        EXPECT_EQ(document.parseError().code, xml_error::kDoctypeRefused);
        EXPECT_TRUE(document.isEmpty());
        EXPECT_EQ(document.xml().find("TOP-SECRET"), std::string::npos);
        EXPECT_EQ(document.xml().find("EXPANDED"), std::string::npos);
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    }
}

TEST(XmlDom, TextFromAPeerIsCappedInSize)
{
    const std::string head = "<a>";
    const std::string tail = "</a>";
    std::string atCap = head + std::string(kMaxPeerDocumentSize - head.size() - tail.size(), 'x') + tail;
    ASSERT_EQ(atCap.size(), kMaxPeerDocumentSize);
    XmlDocument document;
    EXPECT_EQ(document.loadXml(atCap), LoadResult::Loaded);

    std::string overCap = head + std::string(kMaxPeerDocumentSize - head.size() - tail.size() + 1, 'x') + tail;
    EXPECT_EQ(document.loadXml(overCap), LoadResult::NotLoaded);
    EXPECT_EQ(document.parseError().code, xml_error::kTooLarge);
    EXPECT_TRUE(document.isEmpty());
    // A caller may set a smaller cap of its own.
    EXPECT_EQ(document.loadXml("<a>1234</a>", 10), LoadResult::NotLoaded);
}

TEST(XmlDom, TextIsTakenAsUtf8WhateverItsDeclarationSays)
{
    XmlDocument document;
    ASSERT_EQ(document.loadXml("<?xml version=\"1.0\" encoding=\"UTF-16\"?><a x=\"\xC3\xA4\"/>"), LoadResult::Loaded);
    EXPECT_EQ(attribute(document.documentElement(), "x"), "\xC3\xA4");
    EXPECT_NE(document.xml().find("encoding=\"UTF-8\""), std::string::npos);
}

TEST(XmlDom, LoadsFilesAndTellsMissingFromUnreadable)
{
    TempDir dir;
    writeFile(dir.path() / "good.xml", "<a x=\"1\"/>");
    writeFile(dir.path() / "bad.xml", "<a>");
    fs::create_directories(dir.path() / "folder.xml");

    XmlDocument document;
    EXPECT_EQ(document.load(dir.path() / "good.xml"), LoadResult::Loaded);
    EXPECT_EQ(document.parseError().url, (dir.path() / "good.xml").string());

    EXPECT_EQ(document.load(dir.path() / "missing.xml"), LoadResult::NotLoaded);
    EXPECT_EQ(document.parseError().code, xml_error::kFileNotFound);
    EXPECT_EQ(document.parseError().url, (dir.path() / "missing.xml").string());
    EXPECT_TRUE(document.isEmpty());

    EXPECT_EQ(document.load(dir.path() / "bad.xml"), LoadResult::NotLoaded);
    EXPECT_EQ(document.parseError().url, (dir.path() / "bad.xml").string());

    EXPECT_EQ(document.load(dir.path() / "folder.xml"), LoadResult::CallFailed);
    EXPECT_EQ(document.parseError().code, xml_error::kFileUnreadable);
    EXPECT_TRUE(document.isEmpty());
}

TEST(XmlDom, PathQueriesMatchQualifiedNamesAsWritten)
{
    XmlDocument document;
    ASSERT_EQ(document.loadXml(kQueryDocument), LoadResult::Loaded);
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"FDT/B", "1"},          {"FDT/B/C", "c1"},      {"FDT/B/fdt:C", "f2"}, {"FDT/fdt:B", "3"},
        {"FDT/fdt:B/C", "c3"},   {"FDT/other:D", "d"},   {"FDT/fdt:D", "<none>"}, {"FDT/D", "<none>"},
        {"FDT/X", "<none>"},     {"B", "<none>"},        {"", "<none>"},        {"/FDT/B", "1"},
        {"FDT//B/C", "c1"},      {"FDT/B/C/", "c1"},     {"fdt/B", "<none>"},   {"FDT/b", "<none>"},
    };
    for (const auto& [path, id] : cases)
        EXPECT_EQ(idAt(document, path), id) << path;
    EXPECT_EQ(document.selectSingleNode("FDT"), document.documentElement());
    // An unprefixed step matches whatever default namespace is in force.
    for (const std::string text : {"<FDT><A id=\"a\"/></FDT>", "<FDT xmlns=\"urn:one\"><A id=\"a\"/></FDT>",
                                   "<FDT xmlns=\"urn:one\"><A xmlns=\"urn:two\" id=\"a\"/></FDT>"}) {
        ASSERT_EQ(document.loadXml(text), LoadResult::Loaded);
        EXPECT_EQ(idAt(document, "FDT/A"), "a") << text;
    }
}

TEST(XmlDom, ChildSiblingAndByAttributeSelectionSkipTextAndComments)
{
    XmlDocument document;
    ASSERT_EQ(document.loadXml("<r>text<!--c--><a/>more<?pi x?><b/><!--c--><a id=\"2\"/>tail</r>"), LoadResult::Loaded);
    xmlNode* root = document.documentElement();
    xmlNode* first = firstChildElement(root);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(qualifiedName(first), "a");
    EXPECT_EQ(qualifiedName(nextSiblingElement(first)), "b");
    EXPECT_EQ(attribute(nextSiblingElement(first, "a"), "id"), "2");
    EXPECT_EQ(nextSiblingElement(nextSiblingElement(first, "a")), nullptr);
    EXPECT_EQ(childElements(root).size(), 3u);
    EXPECT_EQ(childElements(root, "a").size(), 2u);
    EXPECT_EQ(firstChildElement(nullptr), nullptr);

    ASSERT_EQ(document.loadXml("<Dictionary><Language localeId=\"0007\"/><Other localeId=\"0009\"/>"
                               "<Language localeId=\"0009\" n=\"first\"/><Language localeId=\"0009\" n=\"second\"/>"
                               "</Dictionary>"),
              LoadResult::Loaded);
    root = document.documentElement();
    EXPECT_EQ(attribute(selectChildWithAttribute(root, "Language", "localeId", "0009"), "n"), "first");
    EXPECT_EQ(selectChildWithAttribute(root, "Language", "localeId", "0012"), nullptr);
    EXPECT_EQ(selectChildWithAttribute(root, "Language", "isDefault", "1"), nullptr);
}

TEST(XmlDom, AttributesAreFoundAndSetByQualifiedNameAsWritten)
{
    XmlDocument document;
    ASSERT_EQ(document.loadXml("<a xmlns:fdt=\"urn:f\" tag=\"plain\" fdt:tag=\"prefixed\" empty=\"\"/>"), LoadResult::Loaded);
    xmlNode* a = document.documentElement();
    EXPECT_EQ(attribute(a, "tag"), "plain");
    EXPECT_EQ(attribute(a, "fdt:tag"), "prefixed");
    EXPECT_EQ(attribute(a, "empty"), "");
    EXPECT_EQ(attribute(a, "other"), std::nullopt);
    EXPECT_EQ(attribute(a, "x:tag"), std::nullopt);
    EXPECT_EQ(attribute(nullptr, "tag"), std::nullopt);

    // Setting an attribute keeps its place and adds new ones last.
    ASSERT_EQ(document.loadXml("<a xmlns:fdt=\"urn:f\" x=\"1\" fdt:tag=\"t\" y=\"2\"/>"), LoadResult::Loaded);
    a = document.documentElement();
    setAttribute(a, "fdt:tag", "new");
    setAttribute(a, "x", "one");
    setAttribute(a, "z", "3");
    xmlAttr* id = setAttribute(a, "fdt:id", "7");
    EXPECT_EQ(xml::test::attributesOf(a),
              (xml::test::Attributes{{"x", "one"}, {"fdt:tag", "new"}, {"y", "2"}, {"z", "3"}, {"fdt:id", "7"}}));
    ASSERT_NE(id->ns, nullptr);
    EXPECT_STREQ(reinterpret_cast<const char*>(id->ns->href), "urn:f");

    // Values are text: markup characters survive a round trip.
    setAttribute(a, "y", "<&\"'> $(key)");
    XmlDocument again;
    ASSERT_EQ(again.loadXml(document.xml()), LoadResult::Loaded);
    EXPECT_EQ(attribute(again.documentElement(), "y"), "<&\"'> $(key)");
    EXPECT_EQ(attribute(again.documentElement(), "fdt:id"), "7");

    // An attribute in a namespace not in scope gets its declaration.
    ASSERT_EQ(document.loadXml("<a/>"), LoadResult::Loaded);
    a = document.documentElement();
    setAttributeNs(a, "fdt:name", "n", "urn:f");
    setAttributeNs(a, "fdt:name", "m", "urn:f");
    ASSERT_EQ(again.loadXml(document.xml()), LoadResult::Loaded);
    xmlAttr* name = findAttribute(again.documentElement(), "fdt:name");
    ASSERT_NE(name, nullptr);
    EXPECT_EQ(attributeValue(name), "m");
    EXPECT_STREQ(reinterpret_cast<const char*>(name->ns->href), "urn:f");
    EXPECT_TRUE(removeAttribute(again.documentElement(), "fdt:name"));
    EXPECT_FALSE(removeAttribute(again.documentElement(), "fdt:name"));
}

TEST(XmlDom, CreatedElementsTakeTheNamespaceTheirNameOrCallerGives)
{
    XmlDocument document;
    ASSERT_EQ(document.loadXml("<FDT xmlns=\"urn:d\" xmlns:fdt=\"urn:f\"><A/><Status/></FDT>"), LoadResult::Loaded);
    xmlNode* root = document.documentElement();
    xmlNode* status = document.selectSingleNode("FDT/Status");

    insertBefore(root, createElement(document.get(), root, "fdt:Data"), status);
    appendChild(root, createElement(document.get(), root, "B", std::string("urn:d")));
    appendChild(root, createElement(document.get(), root, "C", std::string("urn:other")));
    appendChild(root, createElement(document.get(), root, "D", std::string()));
    // A prefix without a declaration in scope stays part of the name.
    xmlNode* unknownPrefix = createElement(document.get(), root, "q:E");
    EXPECT_EQ(unknownPrefix->ns, nullptr);
    EXPECT_EQ(qualifiedName(unknownPrefix), "q:E");
    xmlFreeNode(unknownPrefix);

    XmlDocument again;
    ASSERT_EQ(again.loadXml(document.xml()), LoadResult::Loaded) << document.xml();
    std::vector<std::string> names;
    std::vector<std::string> uris;
    for (xmlNode* child : childElements(again.documentElement())) {
        names.push_back(qualifiedName(child));
        uris.push_back(namespaceUri(child));
    }
    EXPECT_EQ(names, (std::vector<std::string>{"A", "fdt:Data", "Status", "B", "C", "D"}));
    EXPECT_EQ(uris, (std::vector<std::string>{"urn:d", "urn:f", "urn:d", "urn:d", "urn:other", ""}));
    EXPECT_NE(again.selectSingleNode("FDT/fdt:Data"), nullptr);

    // Inserting before nothing appends; removed nodes are gone.
    ASSERT_EQ(document.loadXml("<r><a/></r>"), LoadResult::Loaded);
    root = document.documentElement();
    insertBefore(root, createElement(document.get(), root, "b"), nullptr);
    EXPECT_EQ(qualifiedName(root->last), "b");
    removeNode(document.selectSingleNode("r/a"));
    removeNode(nullptr);
    EXPECT_EQ(document.xml(), "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<r><b/></r>\n");
}

TEST(XmlDom, TheEntityLoaderServesOnlyOpenSchemaFolders)
{
    initialiseXml();
    TempDir open;
    TempDir closed;
    writeFile(open.path() / "a.xml", "<a/>");
    writeFile(open.path() / "doctype.xml", "<!DOCTYPE a><a/>");
    writeFile(closed.path() / "b.xml", "<b/>");
    std::unique_ptr<xmlParserCtxt, decltype(&xmlFreeParserCtxt)> context(xmlNewParserCtxt(), &xmlFreeParserCtxt);
    auto loads = [&](const std::string& url) {
        xmlParserInputPtr input = xmlLoadExternalEntity(url.c_str(), nullptr, context.get());
        const bool served = input != nullptr;
        if (input)
            xmlFreeInputStream(input);
        return served;
    };
    const std::string a = (open.path() / "a.xml").string();
    EXPECT_FALSE(loads(a));
    {
        SchemaFolderAccess access({open.path()});
        EXPECT_TRUE(loads(a));
        EXPECT_TRUE(loads("file://" + a));
        EXPECT_FALSE(loads((open.path() / "doctype.xml").string()));
        EXPECT_FALSE(loads((open.path() / "missing.xml").string()));
        EXPECT_FALSE(loads((closed.path() / "b.xml").string()));
        EXPECT_FALSE(loads((open.path() / ".." / closed.path().filename() / "b.xml").string()));
        EXPECT_FALSE(loads("http://127.0.0.1:9/a.xml"));
    }
    EXPECT_FALSE(loads(a));
}

} // namespace
} // namespace zeb2hart::platform
