// Whether a built document's text reads back, parsed, into the same tree: what
// lets XmlDocument::takeXml() hand the document itself to the next read.
#include "dom/XmlDom.h"

#include <cstdint>
#include <cstring>

namespace zeb2hart::dom {

namespace {

bool isXmlChar(std::uint32_t c)
{
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) || (c >= 0xE000 && c <= 0xFFFD)
           || (c >= 0x10000 && c <= 0x10FFFF);
}

// True when `text` is well-formed UTF-8 (no overlong form, no surrogate) of
// characters XML can carry: what the parser reads back unchanged.
bool isXmlText(const xmlChar* text)
{
    if (text == nullptr)
        return true;
    for (const xmlChar* p = text;;) {
        // Most text is printable ASCII: its runs are passed over first.
        while (*p >= 0x20 && *p < 0x80)
            ++p;
        const std::uint32_t lead = *p;
        if (lead == 0)
            return true;
        if (lead < 0x80) {
            if (!isXmlChar(lead))
                return false;
            ++p;
            continue;
        }
        int length = 0;
        std::uint32_t code = 0;
        std::uint32_t least = 0;
        if ((lead & 0xE0) == 0xC0) {
            length = 2, code = lead & 0x1F, least = 0x80;
        } else if ((lead & 0xF0) == 0xE0) {
            length = 3, code = lead & 0x0F, least = 0x800;
        } else if ((lead & 0xF8) == 0xF0) {
            length = 4, code = lead & 0x07, least = 0x10000;
        } else {
            return false;
        }
        for (int i = 1; i < length; ++i) {
            if ((p[i] & 0xC0) != 0x80) // also stops at the terminating zero
                return false;
            code = (code << 6) | (p[i] & 0x3F);
        }
        if (code < least || !isXmlChar(code))
            return false;
        p += length;
    }
}

bool isBlankText(const xmlChar* text)
{
    for (const xmlChar* p = text; p != nullptr && *p != 0; ++p)
        if (*p != ' ' && *p != '\t' && *p != '\n' && *p != '\r')
            return false;
    return true;
}

bool contains(const xmlChar* text, const char* part)
{
    return text != nullptr && std::strstr(reinterpret_cast<const char*>(text), part) != nullptr;
}

bool isAsciiNameStart(xmlChar c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}

bool isAsciiNameChar(xmlChar c)
{
    return isAsciiNameStart(c) || (c >= '0' && c <= '9') || c == '-' || c == '.';
}

// Names of ASCII letters, digits, '_', '-' and '.' (nearly all) are decided
// here; the others by libxml2, whose name check reads a byte that is no UTF-8
// as Latin-1: their text is checked first.
bool isNcName(const xmlChar* name)
{
    if (name == nullptr)
        return false;
    if (isAsciiNameStart(name[0])) {
        const xmlChar* rest = name + 1;
        while (isAsciiNameChar(*rest))
            ++rest;
        if (*rest == 0)
            return true;
    }
    return isXmlText(name) && xmlValidateNCName(name, 0) == 0;
}

// The namespace `ns` is the one its prefix names at `scope` when written out.
bool boundAt(xmlDoc* document, xmlNode* scope, const xmlNs* ns)
{
    const xmlNs* inForce = xmlSearchNs(document, scope, ns->prefix);
    return inForce != nullptr && xmlStrEqual(inForce->href, ns->href);
}

bool declarationsReadBack(const xmlNode* element)
{
    for (const xmlNs* ns = element->nsDef; ns != nullptr; ns = ns->next) {
        if (!isXmlText(ns->href))
            return false;
        if (ns->prefix != nullptr
            && (!isNcName(ns->prefix) || ns->href == nullptr || ns->href[0] == 0
                || xmlStrEqual(ns->prefix, BAD_CAST "xml") || xmlStrEqual(ns->prefix, BAD_CAST "xmlns")))
            return false;
        for (const xmlNs* other = ns->next; other != nullptr; other = other->next)
            if (xmlStrEqual(other->prefix, ns->prefix))
                return false;
    }
    return true;
}

bool attributesReadBack(xmlDoc* document, xmlNode* element)
{
    for (const xmlAttr* attribute = element->properties; attribute != nullptr; attribute = attribute->next) {
        if (!isNcName(attribute->name))
            return false;
        if (attribute->ns != nullptr
            && (attribute->ns->prefix == nullptr || !boundAt(document, element, attribute->ns)))
            return false;
        for (const xmlNode* part = attribute->children; part != nullptr; part = part->next)
            if (part->type != XML_TEXT_NODE || !isXmlText(part->content))
                return false;
        for (const xmlAttr* other = attribute->next; other != nullptr; other = other->next) {
            const bool sameNamespace = (other->ns == nullptr) == (attribute->ns == nullptr)
                                       && (other->ns == nullptr || xmlStrEqual(other->ns->href, attribute->ns->href));
            if (sameNamespace && xmlStrEqual(other->name, attribute->name))
                return false;
        }
    }
    return true;
}

bool nodeReadsBack(xmlDoc* document, xmlNode* node)
{
    switch (node->type) {
    case XML_TEXT_NODE:
        // The parser drops blank text between elements.
        return isXmlText(node->content) && !isBlankText(node->content);
    case XML_CDATA_SECTION_NODE:
        return isXmlText(node->content) && !contains(node->content, "]]>");
    case XML_COMMENT_NODE: {
        const int length = xmlStrlen(node->content);
        return isXmlText(node->content) && !contains(node->content, "--")
               && (length == 0 || node->content[length - 1] != '-');
    }
    case XML_PI_NODE:
        return isNcName(node->name) && isXmlText(node->content) && !contains(node->content, "?>");
    case XML_ELEMENT_NODE:
        break;
    default:
        return false;
    }
    if (!isNcName(node->name) || !declarationsReadBack(node) || !attributesReadBack(document, node))
        return false;
    if (node->ns != nullptr) {
        if (!boundAt(document, node, node->ns))
            return false;
    } else if (const xmlNs* inForce = xmlSearchNs(document, node, nullptr);
               inForce != nullptr && inForce->href != nullptr && inForce->href[0] != 0) {
        return false; // written unprefixed, it would read back in the default namespace
    }
    for (xmlNode* child = node->children; child != nullptr; child = child->next)
        if (!nodeReadsBack(document, child))
            return false;
    return true;
}

} // namespace

bool readsBackAsItIs(xmlDoc* document)
{
    if (document == nullptr || xmlDocGetRootElement(document) == nullptr)
        return false;
    for (xmlNode* node = document->children; node != nullptr; node = node->next)
        if (!nodeReadsBack(document, node))
            return false;
    return true;
}

} // namespace zeb2hart::dom
