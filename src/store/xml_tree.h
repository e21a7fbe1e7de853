// The tree behind a document and its node handles (internal to the store library).
#pragma once

#include <pugixml.hpp>

#include <string_view>

namespace store::detail {

struct XmlTree {
    pugi::xml_document document;
    // The encoding the document was loaded in, and is saved in.
    pugi::xml_encoding encoding = pugi::encoding_utf8;

    // Nodes created but not yet placed, and nodes taken out of the tree, live under this element
    // at the top level of the document, so that every handle stays valid and a node can move
    // back into the tree. It is never reported as a node and never saved.
    pugi::xml_node Detached();
    bool IsDetachedRoot(pugi::xml_node node) const { return node && node == detached_; }

private:
    pugi::xml_node detached_;
};

// True when the text is a valid XML name (an element or attribute name).
bool IsXmlName(std::string_view name);

} // namespace store::detail
