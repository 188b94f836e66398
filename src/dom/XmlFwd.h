#pragma once
// The names of this layer that headers above it hold by pointer, without
// libxml2: an element is kept, compared and handed back to this layer, never
// looked into (XmlDom.h converts it to and from the node it is). Used on the
// one thread that calls into the component.

namespace zeb2hart::dom {

struct Element;
class XmlDocument;

} // namespace zeb2hart::dom
