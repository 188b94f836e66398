// A document built by the component and handed over as text (takeXml) must
// read shared exactly as a fresh parse of that text reads. Input: byte 0 picks
// the schemas (bit 0) and the edit (bits 1-2: an attribute on the root, an
// attribute on its first child element, a new child element, nothing); bytes 1
// and 2 are the lengths of the name and the value that follow; the rest is the
// document edited.
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "FuzzSupport.h"
#include "dom/SchemaCollection.h"
#include "dom/XmlDom.h"
#include "xml/XMLHelp.h"

namespace {

using namespace zeb2hart;
using dom::LoadResult;
using dom::XmlDocument;

std::shared_ptr<dom::SchemaCollection> schemas()
{
    static const std::shared_ptr<dom::SchemaCollection> all = [] {
        xml::XMLHelp loader(fuzz::componentDir());
        auto collection = loader.GetXMLSchemas(fuzz::frameSchemaDir().string());
        auto own = loader.GetXMLSchemas((fuzz::componentDir() / "XMLSchemas").string());
        for (const std::string& ns : own->namespaces())
            collection->add(ns, own->fileOf(ns));
        return collection;
    }();
    return all;
}

void edit(xmlDoc* document, unsigned kind, const std::string& name, const std::string& value)
{
    xmlNode* root = xmlDocGetRootElement(document);
    switch (kind) {
    case 0:
        dom::setAttribute(root, name, value);
        break;
    case 1:
        if (xmlNode* child = dom::firstChildElement(root))
            dom::setAttribute(child, name, value);
        break;
    case 2:
        if (!name.empty() && name.find('\0') == std::string::npos)
            dom::setAttribute(dom::appendChild(root, dom::createElement(document, root, name)), "v",
                                   value);
        break;
    default:
        break;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 3)
        return 0;
    fuzz::services().reset();
    const std::size_t nameLength = data[1];
    const std::size_t valueLength = data[2];
    if (size < 3 + nameLength + valueLength)
        return 0;
    const std::string name = fuzz::text(data + 3, nameLength);
    const std::string value = fuzz::text(data + 3 + nameLength, valueLength);
    const std::string source = fuzz::text(data + 3 + nameLength + valueLength, size - 3 - nameLength - valueLength);
    const auto collection = (data[0] & 1) != 0 ? schemas() : nullptr;

    XmlDocument built;
    if (built.loadXml(source) != LoadResult::Loaded)
        return 0;
    // Names and values with a zero byte end there, as they do in libxml2.
    edit(built.get(), (data[0] >> 1) & 3, name.substr(0, name.find('\0')), value.substr(0, value.find('\0')));
    built.setSchemas(collection);
    const std::string text = built.takeXml();

    XmlDocument fresh;
    fresh.setSchemas(collection);
    const LoadResult expected = fresh.loadXml(text);
    XmlDocument shared;
    shared.setSchemas(collection);
    if (shared.loadShared(text) != expected || shared.xml() != fresh.xml()
        || shared.parseError().code != fresh.parseError().code)
        std::abort(); // the handed-over document reads otherwise than its text
    return 0;
}
