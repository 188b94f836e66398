#include <gtest/gtest.h>

#include "dom/DomTestSupport.h"

namespace zeb2hart::dom::test {
namespace {

std::string schemaText(const std::string& fileName, const std::string& body, const std::string& imports = {})
{
    return "<?xml version=\"1.0\"?>\n<xs:schema xmlns:xs=\"http://www.w3.org/2001/XMLSchema\" xmlns=\"x-schema:" +
           fileName + "\" targetNamespace=\"x-schema:" + fileName + "\" elementFormDefault=\"qualified\">" + imports +
           body + "</xs:schema>";
}

// FDT root with required Item children carrying a required integer n.
const std::string kItemBody = R"(
  <xs:element name="Item"><xs:complexType><xs:attribute name="n" type="xs:int" use="required"/></xs:complexType></xs:element>
  <xs:element name="FDT"><xs:complexType><xs:sequence>
    <xs:element ref="Item" maxOccurs="unbounded"/></xs:sequence></xs:complexType></xs:element>)";
// FDT root that is always empty.
const std::string kEmptyBody = R"(<xs:element name="FDT"><xs:complexType/></xs:element>)";
const std::string kEmpty = R"(<FDT xmlns="x-schema:A.xml"/>)";
const std::string kOneItem = R"(<FDT xmlns="x-schema:A.xml"><Item n="1"/></FDT>)";

class SchemaCollectionTest : public ::testing::Test {
protected:
    SchemaCollectionTest() { write("A.xml", schemaText("A.xml", kItemBody)); }
    fs::path write(const std::string& name, const std::string& content) const
    {
        folder.write(name, content);
        return folder.path() / name;
    }
    LoadResult load(const std::string& text)
    {
        XmlDocument document;
        document.setSchemas(collection);
        const LoadResult result = document.loadXml(text);
        lastError = document.parseError();
        EXPECT_EQ(result == LoadResult::Loaded, !document.isEmpty());
        return result;
    }

    TempComponentFolder folder;
    fs::path a = folder.path() / "A.xml";
    std::shared_ptr<SchemaCollection> collection = std::make_shared<SchemaCollection>();
    XmlParseError lastError;
};

TEST_F(SchemaCollectionTest, ValidatesDocumentsOfItsNamespacesOnlyAndReportsWhereAndWhy)
{
    // An empty collection checks nothing.
    EXPECT_EQ(load(R"(<FDT xmlns="x-schema:A.xml"><Nonsense/></FDT>)"), LoadResult::Loaded);
    EXPECT_EQ(load(R"(<FDT xmlns="x-schema:Missing.xml"/>)"), LoadResult::Loaded);
    collection->add("x-schema:A.xml", a);
    EXPECT_TRUE(collection->contains("x-schema:A.xml"));
    EXPECT_EQ(collection->fileOf("x-schema:A.xml"), fs::weakly_canonical(a));
    const std::pair<const char*, LoadResult> cases[] = {
        {R"(<FDT xmlns="x-schema:A.xml"><Item n="1"/><Item n="-2"/></FDT>)", LoadResult::Loaded},
        {R"(<FDT xmlns="x-schema:A.xml"/>)", LoadResult::NotLoaded},                       // required child
        {R"(<FDT xmlns="x-schema:A.xml"><Item/></FDT>)", LoadResult::NotLoaded},           // required attribute
        {R"(<FDT xmlns="x-schema:A.xml"><Item n="x"/></FDT>)", LoadResult::NotLoaded},     // type
        {R"(<FDT xmlns="x-schema:Missing.xml"><Anything/></FDT>)", LoadResult::NotLoaded}, // unknown x-schema
        {R"(<FDT xmlns="urn:else"><Anything/></FDT>)", LoadResult::Loaded},                // parsed only
        {R"(<FDT><Anything/></FDT>)", LoadResult::Loaded},                                 // no namespace
    };
    for (const auto& [text, result] : cases)
        EXPECT_EQ(load(text), result) << text;
    ASSERT_EQ(load("<FDT xmlns=\"x-schema:A.xml\">\n<Item n=\"1\"/>\n<Item n=\"one\"/>\n</FDT>"), LoadResult::NotLoaded);
    EXPECT_NE(lastError.reason.find("'one'"), std::string::npos) << lastError.reason;
    EXPECT_EQ(lastError.line, 3);
    EXPECT_EQ(lastError.sourceText, "<Item n=\"one\"/>");
    ASSERT_EQ(load("<FDT xmlns=\"x-schema:B.xml\"/>"), LoadResult::NotLoaded);
    EXPECT_EQ(lastError.code, xml_error::kUnknownSchema);
}

TEST_F(SchemaCollectionTest, ASchemaThatDoesNotCompileIsRefusedAndChangesNothing)
{
    collection->add("x-schema:A.xml", a);
    const std::string gone = R"(<xs:import namespace="x-schema:Gone.xml" schemaLocation="Gone.xml"/><xs:element
        name="Use"><xs:complexType><xs:attribute ref="g:x" xmlns:g="x-schema:Gone.xml"/></xs:complexType></xs:element>)";
    const std::tuple<const char*, std::string, const char*> cases[] = {
        {"NotXml.xml", "this is no schema", ""},
        {"NoSchema.xml", "<FDT/>", ""},
        {"Doctype.xml", "<!DOCTYPE x [<!ENTITY e \"x\">]>" + schemaText("Doctype.xml", kEmptyBody), ""},
        {"BadType.xml", schemaText("BadType.xml", R"(<xs:element name="FDT" type="NoSuchType"/>)"), "NoSuchType"},
        {"OtherTarget.xml", schemaText("Else.xml", kEmptyBody), "x-schema:Else.xml"},
        {"MissingImport.xml", schemaText("MissingImport.xml", kEmptyBody, gone), ""},
    };
    for (const auto& [name, content, inMessage] : cases) {
        try {
            collection->add(std::string("x-schema:") + name, write(name, content));
            ADD_FAILURE() << name << " added";
        } catch (const SchemaError& e) {
            EXPECT_NE(std::string(e.what()), "");
            EXPECT_NE(std::string(e.what()).find(inMessage), std::string::npos) << e.what();
        }
        EXPECT_EQ(collection->size(), 1u);
    }
    EXPECT_THROW(collection->add("x-schema:Nowhere.xml", folder.path() / "Nowhere.xml"), SchemaError);
    EXPECT_EQ(load(kOneItem), LoadResult::Loaded);
}

TEST_F(SchemaCollectionTest, ASchemaMayImportOnlyFromItsOwnFolder)
{
    write("lib/Lib.xml", schemaText("Lib.xml", R"(<xs:attribute name="x" type="xs:int"/>)"));
    const std::string use = R"(<xs:element name="FDT"><xs:complexType><xs:attribute ref="l:x"
        xmlns:l="x-schema:Lib.xml"/></xs:complexType></xs:element>)";
    const auto import = [](const char* location) {
        return std::string(R"(<xs:import namespace="x-schema:Lib.xml" schemaLocation=")") + location + "\"/>";
    };
    collection->add("x-schema:Near.xml", write("Near.xml", schemaText("Near.xml", use, import("lib/Lib.xml"))));
    EXPECT_THROW(collection->add("x-schema:Far.xml", write("in/Far.xml", schemaText("Far.xml", use, import("../lib/Lib.xml")))),
                 SchemaError);
    EXPECT_EQ(load(R"(<FDT xmlns="x-schema:Near.xml" xmlns:l="x-schema:Lib.xml" l:x="5"/>)"), LoadResult::Loaded);
    EXPECT_EQ(load(R"(<FDT xmlns="x-schema:Near.xml" xmlns:l="x-schema:Lib.xml" l:x="five"/>)"), LoadResult::NotLoaded);
}

TEST_F(SchemaCollectionTest, OneBundleIsCompiledPerContentAndALaterSchemaReplacesAnEarlier)
{
    write("B.xml", schemaText("B.xml", kEmptyBody));
    const auto filled = [&] {
        collection = std::make_shared<SchemaCollection>();
        collection->add("x-schema:A.xml", a);
        collection->add("x-schema:B.xml", folder.path() / "B.xml");
        return collection;
    };
    const std::size_t before = SchemaCollection::bundlesCompiled();
    const auto first = filled();
    EXPECT_EQ(first->compileCount(), 0u); // adding alone compiles no bundle
    for (int n = 0; n < 3; ++n) {
        EXPECT_EQ(load(kOneItem), LoadResult::Loaded);
        EXPECT_EQ(load(kEmpty), LoadResult::NotLoaded);
        EXPECT_EQ(collection->compileCount(), 1u);
        EXPECT_EQ(filled()->identity(), first->identity());
    }
    EXPECT_EQ(SchemaCollection::bundlesCompiled() - before, 1u);
    write("A.xml", schemaText("A.xml", kEmptyBody)); // written now: its content is compared
    const auto second = filled();
    EXPECT_NE(second->identity(), first->identity());
    EXPECT_EQ(load(kOneItem), LoadResult::NotLoaded);
    EXPECT_EQ(SchemaCollection::bundlesCompiled() - before, 2u);
    write("Extra.txt", "any file of the folder");
    EXPECT_NE(filled()->identity(), second->identity());
    collection = first; // keeps the schemas it was given, until one replaces its namespace's
    EXPECT_EQ(load(kOneItem), LoadResult::Loaded);
    collection->add("x-schema:A.xml", write("second/A.xml", schemaText("A.xml", kEmptyBody)));
    EXPECT_EQ(collection->namespaces(), (std::vector<std::string>{"x-schema:A.xml", "x-schema:B.xml"}));
    EXPECT_EQ(load(kEmpty), LoadResult::Loaded);
    EXPECT_EQ(collection->compileCount(), 2u);
}

} // namespace
} // namespace zeb2hart::dom::test
