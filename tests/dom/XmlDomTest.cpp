#include <gtest/gtest.h>

#include <libxml/parserInternals.h>

#include "dom/DomTestSupport.h"
#include "platform/Paths.h"

namespace zeb2hart::dom::test {
namespace {

using Attributes = std::vector<std::pair<std::string, std::string>>;

Attributes attributesOf(const xmlNode* element)
{
    Attributes found;
    for (xmlAttr* a = element->properties; a != nullptr; a = a->next)
        found.emplace_back(qualifiedName(a), attributeValue(a));
    return found;
}

TEST(XmlDom, TextThatDoesNotParseLeavesTheDocumentEmptyAndSaysWhere)
{
    std::string deep;
    for (int i = 0; i < 5000; ++i)
        deep = "<a>" + deep + "</a>";
    for (const std::string text : {"", "not xml", "<a>", "<a></b>", "<a/><b/>", "<?xml version=\"1.0\"?>", "<a x=1/>",
                                   "<a x=\"1\" x=\"2\"/>", "<p:a/>", "\xff\xfe<a/>", "<a>&x;</a>", deep.c_str()}) {
        SCOPED_TRACE(text.substr(0, 40));
        XmlDocument document;
        ASSERT_EQ(document.loadXml("<previous/>"), LoadResult::Loaded);
        EXPECT_EQ(document.loadXml(text), LoadResult::NotLoaded);
        EXPECT_TRUE(document.isEmpty());
        EXPECT_NE(document.parseError().code, 0);
        EXPECT_FALSE(document.parseError().reason.empty());
    }
    XmlDocument document;
    ASSERT_EQ(document.loadXml("<FDT>\r\n  <A>\r\n  </B>\r\n</FDT>"), LoadResult::NotLoaded);
    const XmlParseError& error = document.parseError();
    EXPECT_EQ(error.code, XML_ERR_TAG_NAME_MISMATCH);
    EXPECT_EQ(error.line, 3);
    EXPECT_GT(error.linePosition, 0);
    EXPECT_EQ(error.sourceText, "  </B>");
    EXPECT_EQ(error.filePosition, 14 + error.linePosition);
    EXPECT_EQ(error.url, "");
}

TEST(XmlDom, TextIsCappedInSize)
{
    const auto sized = [](std::size_t size) { return "<a>" + std::string(size - 7, 'x') + "</a>"; };
    XmlDocument document;
    EXPECT_EQ(document.loadXml(sized(kMaxPeerDocumentSize)), LoadResult::Loaded);
    EXPECT_EQ(document.loadXml(sized(kMaxPeerDocumentSize + 1)), LoadResult::NotLoaded);
    EXPECT_EQ(document.parseError().code, xml_error::kTooLarge);
    EXPECT_TRUE(document.isEmpty());
    EXPECT_EQ(document.loadXml("<a>123</a>", 10), LoadResult::Loaded);
    EXPECT_EQ(document.loadXml("<a>1234</a>", 10), LoadResult::NotLoaded);
}

TEST(XmlDom, LoadsFilesAndTellsMissingFromUnreadable)
{
    TempComponentFolder dir;
    dir.write("good.xml", "<a x=\"1\"/>");
    dir.write("bad.xml", "<a>");
    fs::create_directories(dir.path() / "folder.xml");
    const std::tuple<const char*, LoadResult, long> cases[] = {// code -1: any parser code
        {"good.xml", LoadResult::Loaded, 0}, {"bad.xml", LoadResult::NotLoaded, -1},
        {"missing.xml", LoadResult::NotLoaded, xml_error::kFileNotFound},
        {"folder.xml", LoadResult::CallFailed, xml_error::kFileUnreadable}};
    for (const auto& [name, result, code] : cases) {
        XmlDocument document;
        EXPECT_EQ(document.load(dir.path() / name), result) << name;
        EXPECT_EQ(document.isEmpty(), result != LoadResult::Loaded) << name;
        EXPECT_TRUE(code < 0 ? document.parseError().code != 0 : document.parseError().code == code) << name;
        EXPECT_EQ(document.parseError().url, (dir.path() / name).string());
    }
}

TEST(XmlDom, PathQueriesMatchQualifiedNamesAsWritten)
{
    XmlDocument document;
    ASSERT_EQ(document.loadXml(R"(<FDT xmlns="x-schema:A.xml" xmlns:fdt="x-schema:F.xml" xmlns:other="x-schema:F.xml">
        <B id="1"><C id="c1"/></B><B id="2"><C id="c2"/><fdt:C id="f2"/></B><fdt:B id="3"><C id="c3"/></fdt:B>
        <other:D id="d"/></FDT>)"),
              LoadResult::Loaded);
    const std::pair<const char*, const char*> cases[] = {
        {"FDT/B", "1"},        {"FDT/B/C", "c1"},       {"FDT/B/fdt:C", "f2"},   {"FDT/fdt:B", "3"},
        {"FDT/fdt:B/C", "c3"}, {"FDT/other:D", "d"},    {"FDT/fdt:D", "<none>"}, {"FDT/D", "<none>"},
        {"B", "<none>"},       {"", "<none>"},          {"/FDT/B", "1"},         {"FDT//B/C/", "c1"},
        {"fdt/B", "<none>"},   {"FDT/b", "<none>"},
    };
    for (const auto& [path, id] : cases) {
        xmlNode* node = document.selectSingleNode(path);
        EXPECT_EQ(node ? attribute(node, "id").value_or("?") : "<none>", id) << path;
    }
    EXPECT_EQ(document.selectSingleNode("FDT"), document.documentElement());
    // An unprefixed step matches whatever default namespace is in force.
    ASSERT_EQ(document.loadXml("<FDT xmlns=\"urn:one\"><A xmlns=\"urn:two\" id=\"a\"/></FDT>"), LoadResult::Loaded);
    EXPECT_NE(document.selectSingleNode("FDT/A"), nullptr);
}

TEST(XmlDom, AttributesAreFoundAndSetByQualifiedNameAsWritten)
{
    XmlDocument document;
    ASSERT_EQ(document.loadXml("<a xmlns:fdt=\"urn:f\" fdt:tag=\"t\" tag=\"plain\"/>"), LoadResult::Loaded);
    xmlNode* a = document.documentElement();
    EXPECT_EQ(attribute(a, "tag"), "plain");
    EXPECT_EQ(attribute(a, "fdt:tag"), "t");
    EXPECT_EQ(attribute(a, "x:tag"), std::nullopt);
    EXPECT_EQ(attribute(nullptr, "tag"), std::nullopt);
    // An attribute in a namespace not in scope gets its declaration, and replaces one of its name.
    setAttributeNs(a, "p:name", "n", "urn:p");
    setAttributeNs(a, "p:name", "m", "urn:p");
    XmlDocument again;
    ASSERT_EQ(again.loadXml(document.xml()), LoadResult::Loaded);
    xmlAttr* name = findAttribute(again.documentElement(), "p:name");
    ASSERT_NE(name, nullptr);
    EXPECT_EQ(attributeValue(name), "m");
    EXPECT_STREQ(reinterpret_cast<const char*>(name->ns->href), "urn:p");
    EXPECT_EQ(attributesOf(again.documentElement()).size(), 3u);
    EXPECT_TRUE(removeAttribute(again.documentElement(), "p:name"));
    EXPECT_FALSE(removeAttribute(again.documentElement(), "p:name"));
}

TEST(XmlDom, TheEntityLoaderServesOnlyOpenSchemaFolders)
{
    initialiseXml();
    TempComponentFolder open;
    TempComponentFolder closed;
    open.write("a.xml", "<a/>");
    open.write("doctype.xml", "<!DOCTYPE a><a/>");
    open.write("latin1.xml", "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><a b=\"Ger\xE4t\"/>");
    closed.write("b.xml", "<b/>");
    std::unique_ptr<xmlParserCtxt, decltype(&xmlFreeParserCtxt)> context(xmlNewParserCtxt(), &xmlFreeParserCtxt);
    const auto loads = [&](const std::string& url) {
        xmlParserInputPtr input = xmlLoadExternalEntity(url.c_str(), nullptr, context.get());
        if (input)
            xmlFreeInputStream(input);
        return input != nullptr;
    };
    const std::string a = platform::utf8Of(open.path() / "a.xml");
    EXPECT_FALSE(loads(a));
    {
        SchemaFolderAccess access({open.path()});
        EXPECT_TRUE(loads(a));
        EXPECT_TRUE(loads(platform::fileUrl(open.path() / "a.xml")));
        EXPECT_TRUE(loads(platform::utf8Of(open.path() / "latin1.xml"))); // read in the encoding it declares
        for (const fs::path& refused : {open.path() / "doctype.xml", open.path() / "missing.xml", closed.path() / "b.xml",
                                        open.path() / ".." / closed.path().filename() / "b.xml"})
            EXPECT_FALSE(loads(platform::utf8Of(refused))) << refused;
        EXPECT_FALSE(loads("http://127.0.0.1:9/a.xml"));
    }
    EXPECT_FALSE(loads(a));
}

} // namespace
} // namespace zeb2hart::dom::test
