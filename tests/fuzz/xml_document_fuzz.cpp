// Loads any bytes as an XML document, walks it, changes it, saves it and loads the result again:
// a saved document must load and hold the same nodes.
#include "fuzz_support.h"
#include "store/xml_document.h"

#include <cstdint>
#include <string>
#include <vector>

namespace {

// Line ends as a reader normalises them.
std::string Normalised(std::string text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            continue;
        out += text[i] == '\r' ? '\n' : text[i];
    }
    return out;
}

bool IsBlank(const std::string& text) {
    return text.find_first_not_of(" \t\r\n") == std::string::npos;
}

// A flat picture of the tree, walked without recursion. Adjacent texts are one text and
// white-space-only texts are none, as a reader sees them; comment texts are left out because
// the writer must alter a "--" inside one.
std::string Picture(const store::XmlDocument& document) {
    std::string out;
    std::vector<store::XmlNode> pending;
    const store::XmlNodeList top = document.childNodes();
    for (size_t i = top.length(); i-- > 0;)
        pending.push_back(top.item(i));
    std::string text;
    const auto flushText = [&] {
        if (!IsBlank(text))
            out += "T(" + Normalised(text) + ")";
        text.clear();
    };
    while (!pending.empty()) {
        const store::XmlNode node = pending.back();
        pending.pop_back();
        if (node.isNull()) { // the end of an element
            flushText();
            out += ")";
            continue;
        }
        if (node.nodeType() == store::XmlNodeType::Text) {
            text += node.text();
            continue;
        }
        flushText();
        out += std::to_string(static_cast<int>(node.nodeType())) + ":" + node.nodeName();
        if (node.nodeType() == store::XmlNodeType::Comment)
            continue;
        if (node.nodeType() != store::XmlNodeType::Element) {
            out += "=" + Normalised(node.text()) + ";";
            continue;
        }
        const store::XmlNamedNodeMap attributes = node.attributes();
        for (size_t i = 0; i < attributes.length(); ++i)
            out += " " + attributes.item(i).nodeName() + "=" + attributes.item(i).text();
        out += "(";
        pending.push_back(store::XmlNode());
        const store::XmlNodeList children = node.childNodes();
        for (size_t i = children.length(); i-- > 0;)
            pending.push_back(children.item(i));
    }
    return out;
}

// The changes the program makes to documents: a value, an attribute, a new and a removed node.
void Change(store::XmlDocument& document) {
    store::XmlNode root = document.documentElement();
    std::string oldText;
    for (const char c : root.text())
        if (c >= ' ' && c <= '~' && oldText.size() < 16)
            oldText += c;
    if (store::XmlNode first = root.selectSingleNode(root.firstChild().nodeName()))
        first.setNodeTypedValue("1<&>\"2");
    store::XmlNode attribute = document.createAttribute("zv");
    attribute.setText("a\"b'c\t");
    root.attributes().setNamedItem(attribute);
    store::XmlNode row = document.createNode("Row");
    root.appendChild(row);
    row.setText(oldText);
    if (root.firstChild() != row)
        root.removeChild(root.firstChild());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::string in = fuzz::ScratchFile("in.xml");
    const std::string out = fuzz::ScratchFile("out.xml");
    fuzz::WriteFile(in, input);

    store::XmlDocument document;
    if (!document.load(in)) {
        fuzz::Expect(document.documentElement().isNull());
        fuzz::Expect(!document.save(out));
        return 0;
    }
    fuzz::Expect(document.loadXml(document.xml()));
    fuzz::Expect(document.load(in));
    Change(document);
    const std::string picture = Picture(document);

    fuzz::Expect(document.save(out));
    store::XmlDocument again;
    fuzz::Expect(again.load(out));
    fuzz::Expect(Picture(again) == picture);
    store::XmlDocument fromText;
    fuzz::Expect(fromText.loadXml(document.xml()));
    fuzz::Expect(Picture(fromText) == picture);
    return 0;
}
