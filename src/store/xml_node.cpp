#include "store/xml_document.h"

#include "store/xml_tree.h"

namespace store {
namespace {

bool IsTextNode(pugi::xml_node node) {
    return node.type() == pugi::node_pcdata || node.type() == pugi::node_cdata;
}

// The text of every text node below the element, in document order; walks without recursion,
// so a deeply nested document cannot exhaust the stack.
std::string ElementText(pugi::xml_node element) {
    std::string text;
    for (pugi::xml_node node = element.first_child(); node;) {
        if (IsTextNode(node))
            text += node.value();
        if (node.first_child()) {
            node = node.first_child();
            continue;
        }
        while (node != element && !node.next_sibling())
            node = node.parent();
        if (node == element)
            break;
        node = node.next_sibling();
    }
    return text;
}

// pugixml keeps texts NUL-terminated; a text ends at its first NUL.
std::string UpToNul(std::string_view value) {
    return std::string(value.substr(0, value.find('\0')));
}

} // namespace

XmlNode::XmlNode(std::shared_ptr<detail::XmlTree> tree, pugi::xml_node node)
    : tree_(node ? std::move(tree) : nullptr), node_(node) {}

XmlNode::XmlNode(std::shared_ptr<detail::XmlTree> tree, pugi::xml_attribute attribute)
    : tree_(attribute ? std::move(tree) : nullptr), attribute_(attribute) {}

bool XmlNode::isElement() const {
    return !attribute_ && node_.type() == pugi::node_element;
}

XmlNodeType XmlNode::nodeType() const {
    if (isNull())
        return XmlNodeType::None;
    if (attribute_)
        return XmlNodeType::Attribute;
    switch (node_.type()) {
    case pugi::node_element:
        return XmlNodeType::Element;
    case pugi::node_pcdata:
        return XmlNodeType::Text;
    case pugi::node_cdata:
        return XmlNodeType::CData;
    case pugi::node_comment:
        return XmlNodeType::Comment;
    case pugi::node_pi:
        return XmlNodeType::Instruction;
    case pugi::node_declaration:
        return XmlNodeType::Declaration;
    default:
        return XmlNodeType::None;
    }
}

std::string XmlNode::nodeName() const {
    switch (nodeType()) {
    case XmlNodeType::Attribute:
        return attribute_.name();
    case XmlNodeType::Element:
    case XmlNodeType::Instruction:
        return node_.name();
    case XmlNodeType::Text:
        return "#text";
    case XmlNodeType::CData:
        return "#cdata-section";
    case XmlNodeType::Comment:
        return "#comment";
    case XmlNodeType::Declaration:
        return "xml";
    case XmlNodeType::None:
        break;
    }
    return {};
}

std::string XmlNode::text() const {
    switch (nodeType()) {
    case XmlNodeType::Attribute:
        return attribute_.value();
    case XmlNodeType::Element:
        return ElementText(node_);
    case XmlNodeType::Text:
    case XmlNodeType::CData:
    case XmlNodeType::Comment:
    case XmlNodeType::Instruction:
        return node_.value();
    case XmlNodeType::Declaration:
    case XmlNodeType::None:
        break;
    }
    return {};
}

void XmlNode::setText(std::string_view value) {
    const std::string text = UpToNul(value);
    switch (nodeType()) {
    case XmlNodeType::Attribute:
        attribute_.set_value(text.c_str());
        break;
    case XmlNodeType::Element: {
        // The old children move out of the tree, so handles to them stay valid.
        pugi::xml_node detached = tree_->Detached();
        while (const pugi::xml_node child = node_.first_child())
            detached.append_move(child);
        if (!text.empty())
            node_.append_child(pugi::node_pcdata).set_value(text.c_str());
        break;
    }
    case XmlNodeType::Text:
    case XmlNodeType::CData:
    case XmlNodeType::Comment:
    case XmlNodeType::Instruction:
        node_.set_value(text.c_str());
        break;
    case XmlNodeType::Declaration:
    case XmlNodeType::None:
        break;
    }
}

XmlNodeList XmlNode::childNodes() const {
    std::vector<XmlNode> nodes;
    if (isElement())
        for (const pugi::xml_node child : node_.children())
            nodes.push_back(XmlNode(tree_, child));
    return XmlNodeList(std::move(nodes));
}

XmlNamedNodeMap XmlNode::attributes() const {
    return XmlNamedNodeMap(isElement() ? *this : XmlNode());
}

XmlNode XmlNode::firstChild() const {
    return isElement() ? XmlNode(tree_, node_.first_child()) : XmlNode();
}

XmlNode XmlNode::lastChild() const {
    return isElement() ? XmlNode(tree_, node_.last_child()) : XmlNode();
}

XmlNode XmlNode::appendChild(const XmlNode& child) {
    if (!isElement() || child.tree_ != tree_ || child.attribute_ ||
        child.nodeType() == XmlNodeType::Declaration)
        return {};
    // pugixml refuses to move a node into itself or below itself.
    return XmlNode(tree_, node_.append_move(child.node_));
}

XmlNode XmlNode::removeChild(const XmlNode& child) {
    if (!isElement() || child.tree_ != tree_ || child.attribute_ || child.node_.parent() != node_)
        return {};
    return XmlNode(tree_, tree_->Detached().append_move(child.node_));
}

XmlNode XmlNode::selectSingleNode(std::string_view name) const {
    for (const XmlNode& child : selectNodes(name))
        return child;
    return {};
}

XmlNodeList XmlNode::selectNodes(std::string_view name) const {
    std::vector<XmlNode> nodes;
    if (isElement())
        for (const pugi::xml_node child : node_.children())
            if (child.type() == pugi::node_element && name == child.name())
                nodes.push_back(XmlNode(tree_, child));
    return XmlNodeList(std::move(nodes));
}

bool operator==(const XmlNode& a, const XmlNode& b) {
    return a.tree_ == b.tree_ && a.node_ == b.node_ && a.attribute_ == b.attribute_;
}

XmlNode XmlNodeList::item(std::size_t index) const {
    return index < nodes_.size() ? nodes_[index] : XmlNode();
}

std::size_t XmlNamedNodeMap::length() const {
    const pugi::xml_attribute last = owner_.node_.last_attribute();
    if (!last)
        return 0;
    if (!lastCounted_) {
        lastCounted_ = owner_.node_.first_attribute();
        counted_ = 1;
    }
    for (; lastCounted_ != last; lastCounted_ = lastCounted_.next_attribute())
        ++counted_;
    return counted_;
}

XmlNode XmlNamedNodeMap::item(std::size_t index) const {
    if (!cursor_ || index < cursorIndex_) {
        cursor_ = owner_.node_.first_attribute();
        cursorIndex_ = 0;
    }
    for (; cursor_ && cursorIndex_ < index; ++cursorIndex_)
        cursor_ = cursor_.next_attribute();
    return XmlNode(owner_.tree_, cursor_);
}

XmlNode XmlNamedNodeMap::getNamedItem(std::string_view name) const {
    for (const pugi::xml_attribute attribute : owner_.node_.attributes())
        if (name == attribute.name())
            return XmlNode(owner_.tree_, attribute);
    return {};
}

XmlNode XmlNamedNodeMap::setNamedItem(const XmlNode& attribute) {
    if (!owner_.isElement() || !attribute.attribute_ || attribute.tree_ != owner_.tree_)
        return {};
    pugi::xml_attribute target = owner_.node_.attribute(attribute.attribute_.name());
    if (!target)
        target = owner_.node_.append_attribute(attribute.attribute_.name());
    if (target != attribute.attribute_)
        target.set_value(attribute.attribute_.value());
    return XmlNode(owner_.tree_, target);
}

XmlNode XmlNamedNodeMap::setFirstNamedItem(const XmlNode& attribute) {
    if (!owner_.isElement() || !attribute.attribute_ || attribute.tree_ != owner_.tree_)
        return {};
    const std::string name = attribute.attribute_.name();
    const std::string value = attribute.attribute_.value();
    while (owner_.node_.remove_attribute(name.c_str())) {
    }
    pugi::xml_attribute first = owner_.node_.prepend_attribute(name.c_str());
    first.set_value(value.c_str());
    return XmlNode(owner_.tree_, first);
}

} // namespace store
