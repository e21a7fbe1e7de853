// XML documents: loading, walking, changing and saving. A document owns a tree of nodes; node
// handles share it, so a handle stays usable for as long as it exists, even after its document
// has loaded another file or gone away. Texts are UTF-8.
//
// Loading keeps the XML declaration, comments and processing instructions as nodes and drops
// text made only of white space, so white space between elements yields no nodes. A document
// type declaration is skipped: no entity it declares is expanded and no other file is read.
#pragma once

#include "store/atomic_write.h"
#include "store/file_read.h"

#include <pugixml.hpp>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace store {

namespace detail {
struct XmlTree;
}

class XmlNodeList;
class XmlNamedNodeMap;

enum class XmlNodeType { None, Element, Attribute, Text, CData, Comment, Instruction, Declaration };

// A node of a document, or no node (a default-constructed handle, or the answer of a lookup
// that found nothing). Every operation on no node does nothing and answers empty.
class XmlNode {
public:
    XmlNode() = default;

    bool isNull() const { return !tree_; }
    explicit operator bool() const { return !isNull(); }
    XmlNodeType nodeType() const;

    // The name as written, letter case kept: element, attribute or instruction name; "#text",
    // "#cdata-section", "#comment", or "xml" for the declaration.
    std::string nodeName() const;

    // An element's text is all the text inside it, in document order, comments excluded; other
    // nodes give their value. Setting an element's text replaces everything inside it by that
    // text. A text is stored up to its first NUL character.
    std::string text() const;
    void setText(std::string_view value);
    // The stored value; nodes carry no data type, so this is the same as text().
    std::string nodeTypedValue() const { return text(); }
    void setNodeTypedValue(std::string_view value) { setText(value); }

    // The child nodes in document order, as they are when called.
    XmlNodeList childNodes() const;
    XmlNamedNodeMap attributes() const;
    XmlNode firstChild() const;
    XmlNode lastChild() const;

    // Makes the node the last child of this element, moving it from wherever it was. Answers the
    // node, or no node when it cannot be placed here (this is no element, the node is of another
    // document, an attribute, or this element itself or one of its ancestors).
    XmlNode appendChild(const XmlNode& child);
    // Takes a child out of this element. The node stays usable and may be appended again.
    // Answers it, or no node when it is not a child of this element.
    XmlNode removeChild(const XmlNode& child);

    // The first child element, or every child element, named exactly so.
    XmlNode selectSingleNode(std::string_view name) const;
    XmlNodeList selectNodes(std::string_view name) const;

    friend bool operator==(const XmlNode& a, const XmlNode& b);

private:
    friend class XmlDocument;
    friend class XmlNamedNodeMap;
    XmlNode(std::shared_ptr<detail::XmlTree> tree, pugi::xml_node node);
    XmlNode(std::shared_ptr<detail::XmlTree> tree, pugi::xml_attribute attribute);

    bool isElement() const;

    std::shared_ptr<detail::XmlTree> tree_;
    pugi::xml_node node_;
    pugi::xml_attribute attribute_;
};

// Nodes in a fixed order; item answers no node past the end.
class XmlNodeList {
public:
    XmlNodeList() = default;
    explicit XmlNodeList(std::vector<XmlNode> nodes) : nodes_(std::move(nodes)) {}

    std::size_t length() const { return nodes_.size(); }
    XmlNode item(std::size_t index) const;

    auto begin() const { return nodes_.begin(); }
    auto end() const { return nodes_.end(); }

private:
    std::vector<XmlNode> nodes_;
};

// The attributes of an element, in document order, always current. Attributes are only ever
// added, at the end, so reading them by index in order costs one step per index, however many
// there are.
class XmlNamedNodeMap {
public:
    std::size_t length() const;
    XmlNode item(std::size_t index) const;
    // The attribute of exactly that name, or no node.
    XmlNode getNamedItem(std::string_view name) const;
    // Gives the element an attribute of the given attribute's name and value: an attribute of
    // that name already there takes the value in its place, otherwise a new one is added last.
    // Answers the element's attribute, or no node when this is no element or the node given is
    // no attribute of the same document.
    XmlNode setNamedItem(const XmlNode& attribute);
    // The same, but the attribute becomes the element's first: one of that name already there
    // leaves its place, the others keep their order.
    XmlNode setFirstNamedItem(const XmlNode& attribute);

private:
    friend class XmlNode;
    explicit XmlNamedNodeMap(XmlNode owner) : owner_(std::move(owner)) {}
    XmlNode owner_;
    // Where the last item() call stood, and how far length() has counted: a walk goes on from
    // there instead of from the first attribute.
    mutable std::size_t cursorIndex_ = 0;
    mutable pugi::xml_attribute cursor_;
    mutable std::size_t counted_ = 0;
    mutable pugi::xml_attribute lastCounted_;
};

// How a load went; Missing, Unreadable and TooLarge as ReadWholeFile tells (file_read.h).
enum class LoadResult { Loaded, Missing, Unreadable, TooLarge, Damaged };

class XmlDocument {
public:
    XmlDocument();

    // Reads (see file_read.h: never blocks, regular files only, at most maxBytes) and parses the
    // file. Loaded when it holds one well-formed document with a root element; otherwise the
    // document is empty afterwards.
    LoadResult loadFile(const std::string& path, std::uint64_t maxBytes = kLargeFileLimit);
    // True when loadFile answers Loaded.
    bool load(const std::string& path, std::uint64_t maxBytes = kLargeFileLimit) {
        return loadFile(path, maxBytes) == LoadResult::Loaded;
    }
    // The same from a file's bytes, in whatever encoding they are.
    bool loadBytes(std::string_view bytes);
    // The same from a UTF-8 text.
    bool loadXml(std::string_view text);

    // The root element; no node when the document is empty.
    XmlNode documentElement() const;
    // The nodes at the top level: declaration, comments, instructions and the root element.
    XmlNodeList childNodes() const;

    // A new attribute or element, not yet in the tree; no node when the name is not a valid XML
    // name (an invalid name would make the saved file unreadable).
    XmlNode createAttribute(std::string_view name);
    XmlNode createNode(std::string_view name);

    // The whole document as UTF-8 text.
    std::string xml() const;
    // The bytes save writes: the whole document in the encoding it was loaded in.
    std::string bytes() const;
    // Replaces the file with the whole document, declaration and comments included, in the
    // encoding it was loaded in (see atomic_write.h). False when the write fails (the old file is
    // then intact) or the document has no root element (nothing is written: the file would not
    // load again).
    bool save(const std::string& path, LinkRule links = LinkRule::WriteThrough) const;

private:
    bool parse(const void* data, std::size_t size, pugi::xml_encoding encoding);

    std::shared_ptr<detail::XmlTree> tree_;
};

} // namespace store
