#include "store/xml_document.h"

#include "store/atomic_write.h"
#include "store/path_text.h"
#include "store/xml_tree.h"

namespace store {
namespace detail {

pugi::xml_node XmlTree::Detached() {
    if (!detached_)
        detached_ = document.append_child("zorvane-detached");
    return detached_;
}

bool IsXmlName(std::string_view name) {
    const auto isStart = [](unsigned char c) {
        return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c == ':' ||
               c >= 0x80;
    };
    const auto isPart = [&](unsigned char c) {
        return isStart(c) || (c >= '0' && c <= '9') || c == '-' || c == '.';
    };
    if (name.empty() || !isStart(static_cast<unsigned char>(name.front())))
        return false;
    for (const char c : name)
        if (!isPart(static_cast<unsigned char>(c)))
            return false;
    return true;
}

} // namespace detail

namespace {

// Declaration, comments and instructions are kept; entities other than the five predefined ones
// and character references are never expanded; white-space-only text is dropped.
constexpr unsigned kParseOptions =
    pugi::parse_default | pugi::parse_declaration | pugi::parse_comments | pugi::parse_pi;

class StringWriter : public pugi::xml_writer {
public:
    void write(const void* data, size_t size) override {
        text.append(static_cast<const char*>(data), size);
    }
    std::string text;
};

// The byte-order mark that lets a reader recognise a 16- or 32-bit encoding.
std::string ByteOrderMark(pugi::xml_encoding encoding) {
    using namespace std::string_literals;
    switch (encoding) {
    case pugi::encoding_utf16_le:
        return "\xFF\xFE"s;
    case pugi::encoding_utf16_be:
        return "\xFE\xFF"s;
    case pugi::encoding_utf32_le:
        return "\xFF\xFE\0\0"s;
    case pugi::encoding_utf32_be:
        return "\0\0\xFE\xFF"s;
    default:
        return {};
    }
}

// Indentation grows with depth, so a deeply nested document would be written in a size
// quadratic in its own; past this depth the document is written without line breaks.
constexpr int kMaxIndentedDepth = 64;

bool IsShallow(const pugi::xml_node root) {
    int depth = 0;
    for (pugi::xml_node node = root.first_child(); node;) {
        if (node.first_child()) {
            if (++depth > kMaxIndentedDepth)
                return false;
            node = node.first_child();
            continue;
        }
        while (node != root && !node.next_sibling()) {
            node = node.parent();
            --depth;
        }
        if (node == root)
            break;
        node = node.next_sibling();
    }
    return true;
}

std::string Serialize(detail::XmlTree& tree, pugi::xml_encoding encoding) {
    const unsigned format = IsShallow(tree.document) ? pugi::format_indent : pugi::format_raw;
    StringWriter writer;
    writer.text = ByteOrderMark(encoding);
    for (const pugi::xml_node node : tree.document.children())
        if (!tree.IsDetachedRoot(node))
            node.print(writer, "   ", format, encoding);
    return writer.text;
}

} // namespace

XmlDocument::XmlDocument() : tree_(std::make_shared<detail::XmlTree>()) {}

bool XmlDocument::parse(const void* data, std::size_t size, pugi::xml_encoding encoding) {
    // A fresh tree: handles into the previous one keep it alive and stay valid.
    tree_ = std::make_shared<detail::XmlTree>();
    const pugi::xml_parse_result result =
        tree_->document.load_buffer(data, size, kParseOptions, encoding);
    int rootElements = 0;
    for (const pugi::xml_node node : tree_->document.children())
        rootElements += node.type() == pugi::node_element ? 1 : 0;
    if (!result || rootElements != 1) {
        tree_ = std::make_shared<detail::XmlTree>();
        return false;
    }
    tree_->encoding = result.encoding;
    return true;
}

LoadResult XmlDocument::loadFile(const std::string& path, std::uint64_t maxBytes) {
    std::string bytes;
    const ReadResult read = ReadWholeFile(path, bytes, maxBytes);
    if (read == ReadResult::Read)
        return loadBytes(bytes) ? LoadResult::Loaded : LoadResult::Damaged;
    tree_ = std::make_shared<detail::XmlTree>();
    return read == ReadResult::Missing    ? LoadResult::Missing
           : read == ReadResult::TooLarge ? LoadResult::TooLarge
                                          : LoadResult::Unreadable;
}

bool XmlDocument::loadBytes(std::string_view bytes) {
    return parse(bytes.data(), bytes.size(), pugi::encoding_auto);
}

bool XmlDocument::loadXml(std::string_view text) {
    return parse(text.data(), text.size(), pugi::encoding_utf8);
}

XmlNode XmlDocument::documentElement() const {
    for (const pugi::xml_node node : tree_->document.children())
        if (node.type() == pugi::node_element && !tree_->IsDetachedRoot(node))
            return XmlNode(tree_, node);
    return {};
}

XmlNodeList XmlDocument::childNodes() const {
    std::vector<XmlNode> nodes;
    for (const pugi::xml_node node : tree_->document.children())
        if (!tree_->IsDetachedRoot(node))
            nodes.push_back(XmlNode(tree_, node));
    return XmlNodeList(std::move(nodes));
}

XmlNode XmlDocument::createAttribute(std::string_view name) {
    if (!detail::IsXmlName(name))
        return {};
    return XmlNode(tree_, tree_->Detached().append_attribute(std::string(name).c_str()));
}

XmlNode XmlDocument::createNode(std::string_view name) {
    if (!detail::IsXmlName(name))
        return {};
    return XmlNode(tree_, tree_->Detached().append_child(std::string(name).c_str()));
}

std::string XmlDocument::xml() const {
    return Serialize(*tree_, pugi::encoding_utf8);
}

std::string XmlDocument::bytes() const {
    return Serialize(*tree_, tree_->encoding);
}

bool XmlDocument::save(const std::string& path, LinkRule links) const {
    if (!documentElement())
        return false;
    return WriteFileAtomically(path, bytes(), links);
}

} // namespace store
