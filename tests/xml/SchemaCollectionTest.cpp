#include <gtest/gtest.h>

#include "xml/XmlTestSupport.h"

namespace zeb2hart::platform {
namespace {

namespace fs = std::filesystem;
using xml::test::TempDir;
using xml::test::writeFile;

std::string schemaText(const std::string& fileName, const std::string& body, const std::string& imports = {})
{
    return "<?xml version=\"1.0\"?>\n<xs:schema xmlns:xs=\"http://www.w3.org/2001/XMLSchema\" xmlns=\"x-schema:"
           + fileName + "\" targetNamespace=\"x-schema:" + fileName
           + "\" elementFormDefault=\"qualified\">" + imports + body + "</xs:schema>";
}

// FDT root with required Item children carrying a required integer n.
const std::string kItemBody = R"(
  <xs:element name="Item"><xs:complexType><xs:attribute name="n" type="xs:int" use="required"/></xs:complexType></xs:element>
  <xs:element name="FDT"><xs:complexType><xs:sequence>
    <xs:element ref="Item" maxOccurs="unbounded"/></xs:sequence></xs:complexType></xs:element>)";
// FDT root that is always empty.
const std::string kEmptyBody = R"(<xs:element name="FDT"><xs:complexType/></xs:element>)";

class SchemaCollectionTest : public ::testing::Test {
protected:
    SchemaCollectionTest() { writeFile(m_dir / "A.xml", schemaText("A.xml", kItemBody)); }
    fs::path file(const std::string& name) const { return m_dir / name; }
    fs::path write(const std::string& name, const std::string& content) const
    {
        writeFile(m_dir / name, content);
        return m_dir / name;
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

    TempDir folder;
    const fs::path& m_dir = folder.path();
    std::shared_ptr<SchemaCollection> collection = std::make_shared<SchemaCollection>();
    XmlParseError lastError;
};

TEST_F(SchemaCollectionTest, ValidatesDocumentsOfItsNamespacesOnlyAndReportsWhereAndWhy)
{
    // An empty collection checks nothing.
    EXPECT_TRUE(collection->isEmpty());
    EXPECT_EQ(load(R"(<FDT xmlns="x-schema:A.xml"><Nonsense/></FDT>)"), LoadResult::Loaded);
    EXPECT_EQ(load(R"(<FDT xmlns="x-schema:Missing.xml"/>)"), LoadResult::Loaded);
    EXPECT_EQ(collection->compileCount(), 0u);

    collection->add("x-schema:A.xml", file("A.xml"));
    EXPECT_FALSE(collection->isEmpty());
    EXPECT_TRUE(collection->contains("x-schema:A.xml"));
    EXPECT_EQ(collection->fileOf("x-schema:A.xml"), fs::weakly_canonical(file("A.xml")));

    struct Case {
        const char* text;
        LoadResult result;
    };
    const std::vector<Case> cases = {
        {R"(<FDT xmlns="x-schema:A.xml"><Item n="1"/></FDT>)", LoadResult::Loaded},
        {R"(<FDT xmlns="x-schema:A.xml"><Item n="1"/><Item n="-2"/></FDT>)", LoadResult::Loaded},
        {R"(<FDT xmlns="x-schema:A.xml"/>)", LoadResult::NotLoaded},                       // required child
        {R"(<FDT xmlns="x-schema:A.xml"><Item/></FDT>)", LoadResult::NotLoaded},           // required attribute
        {R"(<FDT xmlns="x-schema:A.xml"><Item n="x"/></FDT>)", LoadResult::NotLoaded},     // type
        {R"(<FDT xmlns="x-schema:A.xml"><Other/></FDT>)", LoadResult::NotLoaded},          // unknown element
        {R"(<FDT xmlns="x-schema:Missing.xml"><Anything/></FDT>)", LoadResult::NotLoaded}, // unknown x-schema
        {R"(<FDT xmlns="urn:else"><Anything/></FDT>)", LoadResult::Loaded},                // parsed only
        {R"(<FDT><Anything/></FDT>)", LoadResult::Loaded},                                 // no namespace
    };
    for (const Case& c : cases)
        EXPECT_EQ(load(c.text), c.result) << c.text;

    // An invalid document reports where and why.
    ASSERT_EQ(load("<FDT xmlns=\"x-schema:A.xml\">\n<Item n=\"1\"/>\n<Item n=\"one\"/>\n</FDT>"), LoadResult::NotLoaded);
    EXPECT_NE(lastError.code, 0);
    EXPECT_NE(lastError.reason.find("'one'"), std::string::npos) << lastError.reason;
    EXPECT_EQ(lastError.line, 3);
    EXPECT_EQ(lastError.sourceText, "<Item n=\"one\"/>");

    ASSERT_EQ(load("<FDT xmlns=\"x-schema:B.xml\"/>"), LoadResult::NotLoaded);
    EXPECT_EQ(lastError.code, xml_error::kUnknownSchema);
}

TEST_F(SchemaCollectionTest, ASchemaThatDoesNotCompileIsRefusedAndChangesNothing)
{
    collection->add("x-schema:A.xml", file("A.xml"));
    struct Case {
        const char* name;
        std::string content;
        const char* inMessage;
    };
    const std::vector<Case> cases = {
        {"NotXml.xml", "this is no schema", ""},
        {"Empty.xml", "", ""},
        {"NoSchema.xml", "<FDT/>", ""},
        {"Doctype.xml", "<!DOCTYPE x [<!ENTITY e \"x\">]>" + schemaText("Doctype.xml", kEmptyBody), ""},
        {"BadType.xml", schemaText("BadType.xml", R"(<xs:element name="FDT" type="NoSuchType"/>)"), "NoSuchType"},
        {"OtherTarget.xml", schemaText("Else.xml", kEmptyBody), "x-schema:Else.xml"},
        {"MissingImport.xml",
         schemaText("MissingImport.xml", kEmptyBody,
                    R"(<xs:import namespace="x-schema:Gone.xml" schemaLocation="Gone.xml"/>
                       <xs:element name="Use"><xs:complexType><xs:attribute ref="g:x" xmlns:g="x-schema:Gone.xml"/></xs:complexType></xs:element>)"),
         ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path path = write(c.name, c.content);
        try {
            collection->add(std::string("x-schema:") + c.name, path);
            ADD_FAILURE() << "added";
        } catch (const SchemaError& e) {
            EXPECT_FALSE(std::string(e.what()).empty());
            EXPECT_NE(std::string(e.what()).find(c.inMessage), std::string::npos) << e.what();
        }
        EXPECT_EQ(collection->size(), 1u);
        EXPECT_FALSE(collection->contains(std::string("x-schema:") + c.name));
    }
    EXPECT_THROW(collection->add("x-schema:Nowhere.xml", file("Nowhere.xml")), SchemaError);
    // The collection still works with what it holds.
    EXPECT_EQ(load(R"(<FDT xmlns="x-schema:A.xml"><Item n="1"/></FDT>)"), LoadResult::Loaded);
}

TEST_F(SchemaCollectionTest, ASchemaMayImportOnlyFromItsOwnFolder)
{
    writeFile(m_dir / "lib" / "Lib.xml",
              schemaText("Lib.xml", R"(<xs:attribute name="x" type="xs:int"/>)"));
    const std::string use = R"(<xs:element name="FDT"><xs:complexType><xs:attribute ref="l:x" xmlns:l="x-schema:Lib.xml"/></xs:complexType></xs:element>)";
    write("Near.xml", schemaText("Near.xml", use, R"(<xs:import namespace="x-schema:Lib.xml" schemaLocation="lib/Lib.xml"/>)"));
    fs::create_directories(m_dir / "inner");
    writeFile(m_dir / "inner" / "Far.xml",
              schemaText("Far.xml", use, R"(<xs:import namespace="x-schema:Lib.xml" schemaLocation="../lib/Lib.xml"/>)"));

    collection->add("x-schema:Near.xml", file("Near.xml")); // lib/ lies inside the schema's folder
    EXPECT_THROW(collection->add("x-schema:Far.xml", m_dir / "inner" / "Far.xml"), SchemaError);
    EXPECT_EQ(load(R"(<FDT xmlns="x-schema:Near.xml" xmlns:l="x-schema:Lib.xml" l:x="5"/>)"), LoadResult::Loaded);
    EXPECT_EQ(load(R"(<FDT xmlns="x-schema:Near.xml" xmlns:l="x-schema:Lib.xml" l:x="five"/>)"), LoadResult::NotLoaded);
}

TEST_F(SchemaCollectionTest, ALaterSchemaReplacesTheNamespacesEarlierOne)
{
    collection->add("x-schema:A.xml", file("A.xml"));
    EXPECT_EQ(load(R"(<FDT xmlns="x-schema:A.xml"/>)"), LoadResult::NotLoaded);
    fs::create_directories(m_dir / "second");
    writeFile(m_dir / "second" / "A.xml", schemaText("A.xml", kEmptyBody));
    collection->add("x-schema:A.xml", m_dir / "second" / "A.xml");
    EXPECT_EQ(collection->size(), 1u);
    EXPECT_EQ(load(R"(<FDT xmlns="x-schema:A.xml"/>)"), LoadResult::Loaded);
    EXPECT_EQ(load(R"(<FDT xmlns="x-schema:A.xml"><Item n="1"/></FDT>)"), LoadResult::NotLoaded);
}

TEST_F(SchemaCollectionTest, TheBundleIsCompiledOnceAfterEachChange)
{
    collection->add("x-schema:A.xml", file("A.xml"));
    write("B.xml", schemaText("B.xml", kEmptyBody));
    EXPECT_EQ(collection->compileCount(), 0u); // adding alone compiles no bundle
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(load(R"(<FDT xmlns="x-schema:A.xml"><Item n="1"/></FDT>)"), LoadResult::Loaded);
        EXPECT_EQ(load(R"(<FDT xmlns="x-schema:A.xml"/>)"), LoadResult::NotLoaded);
    }
    EXPECT_EQ(load(R"(<FDT xmlns="urn:not-checked"/>)"), LoadResult::Loaded);
    EXPECT_EQ(collection->compileCount(), 1u);
    collection->add("x-schema:B.xml", file("B.xml"));
    EXPECT_EQ(load(R"(<FDT xmlns="x-schema:B.xml"/>)"), LoadResult::Loaded);
    EXPECT_EQ(load(R"(<FDT xmlns="x-schema:A.xml"><Item n="2"/></FDT>)"), LoadResult::Loaded);
    EXPECT_EQ(collection->compileCount(), 2u);
    EXPECT_EQ(collection->namespaces(), (std::vector<std::string>{"x-schema:A.xml", "x-schema:B.xml"}));
}

} // namespace
} // namespace zeb2hart::platform
