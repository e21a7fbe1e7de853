// XML documents: loading, walking, changing and saving, and hostile input.
#include "store/xml_document.h"
#include "store_test_support.h"

#include <QTemporaryDir>
#include <QTest>

using store_test::Path;
using store_test::ReadBytes;
using store_test::WriteBytes;

namespace {

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

// A compact picture of a node and everything below it, through the public operations only:
// name{attributes}[children] for an element, name:text for other nodes.
QString Dump(const store::XmlNode& node) {
    QString out = Text(node.nodeName());
    if (node.nodeType() != store::XmlNodeType::Element)
        return out + ":" + Text(node.text());
    const store::XmlNamedNodeMap attributes = node.attributes();
    if (attributes.length() > 0) {
        QStringList parts;
        for (std::size_t i = 0; i < attributes.length(); ++i)
            parts << Text(attributes.item(i).nodeName()) + "=" + Text(attributes.item(i).text());
        out += "{" + parts.join(',') + "}";
    }
    QStringList children;
    for (const store::XmlNode& child : node.childNodes())
        children << Dump(child);
    return out + "[" + children.join(',') + "]";
}

QString DumpDocument(const store::XmlDocument& document) {
    QStringList parts;
    for (const store::XmlNode& node : document.childNodes())
        parts << Dump(node);
    return parts.join(" | ");
}

} // namespace

class XmlDocumentTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void walk_data();
    void walk();
    void failedLoad_data();
    void failedLoad();
    void setText_data();
    void setText();
    void handlesOutliveChanges();
    void attributes_data();
    void attributes();
    void manyAttributes();
    void names_data();
    void names();
    void appendRefused();
    void appendAndRemove();
    void select();
    void saveKeepsDeclarationAndComments();
    void roundTrip_data();
    void roundTrip();
    void eightBitText_data();
    void eightBitText();
    void saveRefused();
    void hostile_data();
    void hostile();
    void deepNesting();

private:
    QString file(const QString& name) const { return dir_->filePath(name); }
    std::unique_ptr<QTemporaryDir> dir_;
};

void XmlDocumentTest::init() {
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
}

void XmlDocumentTest::walk_data() {
    QTest::addColumn<QByteArray>("xml");
    QTest::addColumn<QString>("root");
    QTest::newRow("white space between elements")
        << QByteArray("<r>\r\n   <a>1</a>\r\n\t<b>2</b>\r\n</r>") << "r[a[#text:1],b[#text:2]]";
    QTest::newRow("comments are nodes")
        << QByteArray("<r><!-- c --><a/><!--d--></r>") << "r[#comment: c ,a[],#comment:d]";
    QTest::newRow("names keep their case")
        << QByteArray("<Root><AlwaysonTop>True</AlwaysonTop><alwaysontop/></Root>")
        << "Root[AlwaysonTop[#text:True],alwaysontop[]]";
    QTest::newRow("mixed text") << QByteArray("<r>x<a/>y</r>") << "r[#text:x,a[],#text:y]";
    QTest::newRow("blanks inside text kept") << QByteArray("<r> x </r>") << "r[#text: x ]";
    QTest::newRow("character data")
        << QByteArray("<r><![CDATA[<raw>]]></r>") << "r[#cdata-section:<raw>]";
    QTest::newRow("predefined entities")
        << QByteArray("<r>a &amp; b &lt; c &#65;</r>") << "r[#text:a & b < c A]";
    QTest::newRow("attributes in document order")
        << QByteArray("<r z='1' a=\"2\" Z=\"3\"/>") << "r{z=1,a=2,Z=3}[]";
    QTest::newRow("instruction") << QByteArray("<r><?pi data?></r>") << "r[pi:data]";
    QTest::newRow("nested text") << QByteArray("<r><a>1<b>2</b>3</a></r>")
                                 << "r[a[#text:1,b[#text:2],#text:3]]";
}

void XmlDocumentTest::walk() {
    QFETCH(QByteArray, xml);
    QFETCH(QString, root);
    QVERIFY(WriteBytes(file("in.xml"), xml));
    store::XmlDocument document;
    QVERIFY(document.load(Path(file("in.xml"))));
    QCOMPARE(Dump(document.documentElement()), root);
    // item and length give the same nodes in the same order.
    const store::XmlNodeList children = document.documentElement().childNodes();
    QStringList viaItem;
    QStringList viaRange;
    for (std::size_t i = 0; i < children.length(); ++i)
        viaItem << Dump(children.item(i));
    for (const store::XmlNode& child : children)
        viaRange << Dump(child);
    QCOMPARE(viaItem, viaRange);
    QVERIFY(root.endsWith("[" + viaItem.join(',') + "]"));
    QVERIFY(children.item(children.length()).isNull());
}

void XmlDocumentTest::failedLoad_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QByteArray>("xml");
    QTest::newRow("missing file") << "missing" << QByteArray();
    QTest::newRow("a folder") << "folder" << QByteArray();
    QTest::newRow("empty file") << "file" << QByteArray();
    QTest::newRow("blanks only") << "file" << QByteArray("  \r\n");
    QTest::newRow("unclosed element") << "file" << QByteArray("<Settings><Delay>0</Delay>");
    QTest::newRow("mismatched end tag") << "file" << QByteArray("<a></b>");
    QTest::newRow("comment only") << "file" << QByteArray("<!-- nothing -->");
    QTest::newRow("two root elements") << "file" << QByteArray("<a/><b/>");
    QTest::newRow("truncated") << "file" << QByteArray("<?xml version=\"1.0\"?>\r\n<Sett");
}

void XmlDocumentTest::failedLoad() {
    QFETCH(QString, kind);
    QFETCH(QByteArray, xml);
    const QString path = file("in.xml");
    if (kind == "file")
        QVERIFY(WriteBytes(path, xml));
    else if (kind == "folder")
        QVERIFY(QDir(dir_->path()).mkdir("in.xml"));
    QVERIFY(WriteBytes(file("good.xml"), "<r><a/></r>"));

    // A document that held a tree before loses it.
    store::XmlDocument document;
    QVERIFY(document.load(Path(file("good.xml"))));
    QVERIFY(!document.load(Path(path)));
    QVERIFY(document.documentElement().isNull());
    QCOMPARE(document.childNodes().length(), std::size_t(0));
    QCOMPARE(document.documentElement().childNodes().length(), std::size_t(0));
}

void XmlDocumentTest::setText_data() {
    QTest::addColumn<QByteArray>("xml");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("root");
    QTest::newRow("replaces the text") << QByteArray("<r><a>1</a></r>") << "2"
                                       << "r[a[#text:2]]";
    QTest::newRow("replaces children") << QByteArray("<r><a>x<b/><!--c--></a></r>") << "y"
                                       << "r[a[#text:y]]";
    QTest::newRow("fills an empty element") << QByteArray("<r><a/></r>") << "5"
                                            << "r[a[#text:5]]";
    QTest::newRow("empty text empties") << QByteArray("<r><a>1</a></r>") << ""
                                        << "r[a[]]";
    QTest::newRow("markup characters") << QByteArray("<r><a/></r>") << "<&>\"']]>"
                                       << "r[a[#text:<&>\"']]>]]";
    QTest::newRow("leading and trailing blanks") << QByteArray("<r><a/></r>") << " 7 "
                                                 << "r[a[#text: 7 ]]";
}

// Writing an element's value replaces its content; the change survives a save and a reload.
void XmlDocumentTest::setText() {
    QFETCH(QByteArray, xml);
    QFETCH(QString, value);
    QFETCH(QString, root);
    store::XmlDocument document;
    QVERIFY(document.loadXml(xml.toStdString()));
    store::XmlNode element = document.documentElement().firstChild();
    element.setNodeTypedValue(value.toStdString());
    QCOMPARE(Text(element.nodeTypedValue()), value);
    QCOMPARE(Dump(document.documentElement()), root);

    QVERIFY(document.save(Path(file("out.xml"))));
    store::XmlDocument reloaded;
    QVERIFY(reloaded.load(Path(file("out.xml"))));
    QCOMPARE(Dump(reloaded.documentElement()), root);
}

// Nodes taken out of the tree, and nodes of a document that has loaded another file, stay usable.
void XmlDocumentTest::handlesOutliveChanges() {
    store::XmlDocument document;
    QVERIFY(document.loadXml("<r><a>x<b>y</b></a></r>"));
    store::XmlNode a = document.documentElement().firstChild();
    store::XmlNode b = a.lastChild();
    a.setText("z");
    QCOMPARE(Text(b.text()), QString("y"));
    QCOMPARE(Dump(document.documentElement()), QString("r[a[#text:z]]"));

    QVERIFY(document.loadXml("<other/>"));
    b.setText("w");
    QCOMPARE(Text(b.text()), QString("w"));
    QCOMPARE(Text(a.text()), QString("z"));
    QCOMPARE(Dump(document.documentElement()), QString("other[]"));
}

void XmlDocumentTest::attributes_data() {
    QTest::addColumn<QByteArray>("xml");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("root");
    QTest::addColumn<QString>("changed"); // after the placed attribute's text became "v"
    QTest::newRow("replaces in place") << QByteArray("<r a='1' b='2' c='3'/>") << "b"
                                       << "9"
                                       << "r{a=1,b=9,c=3}[]"
                                       << "r{a=1,b=v,c=3}[]";
    QTest::newRow("adds last") << QByteArray("<r a='1'/>") << "z"
                               << "9"
                               << "r{a=1,z=9}[]"
                               << "r{a=1,z=v}[]";
    QTest::newRow("name case matters") << QByteArray("<r a='1'/>") << "A"
                                       << "9"
                                       << "r{a=1,A=9}[]"
                                       << "r{a=1,A=v}[]";
    QTest::newRow("first attribute") << QByteArray("<r/>") << "x"
                                     << ""
                                     << "r{x=}[]"
                                     << "r{x=v}[]";
    QTest::newRow("markup in value") << QByteArray("<r/>") << "x"
                                     << "<\"&'>\t\n"
                                     << "r{x=<\"&'>\t\n}[]"
                                     << "r{x=v}[]";
}

void XmlDocumentTest::attributes() {
    QFETCH(QByteArray, xml);
    QFETCH(QString, name);
    QFETCH(QString, value);
    QFETCH(QString, root);
    QFETCH(QString, changed);
    store::XmlDocument document;
    QVERIFY(document.loadXml(xml.toStdString()));
    store::XmlNode attribute = document.createAttribute(name.toStdString());
    QCOMPARE(attribute.nodeType(), store::XmlNodeType::Attribute);
    attribute.setText(value.toStdString());
    store::XmlNamedNodeMap attributes = document.documentElement().attributes();
    const store::XmlNode placed = attributes.setNamedItem(attribute);
    QCOMPARE(placed, attributes.getNamedItem(name.toStdString()));
    QCOMPARE(Dump(document.documentElement()), root);

    // The element's attribute is the one to change from now on.
    store::XmlNode(placed).setText("v");
    QCOMPARE(Text(attributes.getNamedItem(name.toStdString()).text()), QString("v"));

    QVERIFY(document.save(Path(file("out.xml"))));
    QVERIFY(document.load(Path(file("out.xml"))));
    QCOMPARE(Dump(document.documentElement()), changed);
}

// 100,000 attributes read by index, as a hostile signal file holds them, in a blink.
void XmlDocumentTest::manyAttributes() {
    std::string xml = "<r";
    for (int i = 0; i < 100000; ++i)
        xml.append(" a").append(std::to_string(i)).append("=''");
    store::XmlDocument document;
    QVERIFY(document.loadXml(xml + "/>"));
    const store::XmlNamedNodeMap attributes = document.documentElement().attributes();
    for (std::size_t i = 0; i < attributes.length(); ++i)
        QCOMPARE(attributes.item(i).nodeName(), std::string("a").append(std::to_string(i)));
    document.documentElement().attributes().setNamedItem(document.createAttribute("z"));
    QVERIFY(attributes.item(100000).nodeName() + attributes.item(2).nodeName() == "za2" &&
            attributes.length() == 100001 && attributes.item(100001).isNull());
}

void XmlDocumentTest::names_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("valid");
    QTest::newRow("letters") << "Row" << true;
    QTest::newRow("underscore, digits, dash, point") << "_a1-b.c" << true;
    QTest::newRow("prefixed") << "ns:a" << true;
    QTest::newRow("non-ASCII letter") << "été" << true;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("blank inside") << "a b" << false;
    QTest::newRow("leading digit") << "1a" << false;
    QTest::newRow("markup") << "a>" << false;
    QTest::newRow("quote") << "a\"" << false;
}

// An element or attribute of an invalid name would make the saved file unreadable.
void XmlDocumentTest::names() {
    QFETCH(QString, name);
    QFETCH(bool, valid);
    store::XmlDocument document;
    QVERIFY(document.loadXml("<r/>"));
    const store::XmlNode element = document.createNode(name.toStdString());
    const store::XmlNode attribute = document.createAttribute(name.toStdString());
    QCOMPARE(!element.isNull(), valid);
    QCOMPARE(!attribute.isNull(), valid);
    if (valid) {
        QCOMPARE(Text(element.nodeName()), name);
        QCOMPARE(Text(attribute.nodeName()), name);
    }
}

void XmlDocumentTest::appendRefused() {
    store::XmlDocument document;
    QVERIFY(document.loadXml("<?xml version=\"1.0\"?><r><a><b/></a>text</r>"));
    store::XmlNode root = document.documentElement();
    store::XmlNode a = root.firstChild();
    store::XmlNode text = root.lastChild();
    store::XmlDocument other;
    QVERIFY(other.loadXml("<o/>"));

    QVERIFY(a.firstChild().appendChild(root).isNull()); // an ancestor
    QVERIFY(a.appendChild(a).isNull());                 // itself
    QVERIFY(root.appendChild(document.createAttribute("k")).isNull());
    QVERIFY(root.appendChild(other.documentElement()).isNull());
    QVERIFY(text.appendChild(document.createNode("c")).isNull()); // a text node has no children
    QVERIFY(root.appendChild(document.childNodes().item(0)).isNull()); // the declaration
    QCOMPARE(Dump(root), QString("r[a[b[]],#text:text]"));
    QCOMPARE(Dump(other.documentElement()), QString("o[]"));
}

void XmlDocumentTest::appendAndRemove() {
    store::XmlDocument document;
    QVERIFY(document.loadXml("<r><a>1</a><b>2</b></r>"));
    store::XmlNode root = document.documentElement();
    store::XmlNode a = root.firstChild();
    store::XmlNode b = root.lastChild();
    QVERIFY(b.removeChild(a).isNull()); // not b's child
    QCOMPARE(root.removeChild(a), a);
    QCOMPARE(Dump(root), QString("r[b[#text:2]]"));
    QCOMPARE(Text(a.text()), QString("1"));
    QCOMPARE(b.appendChild(a), a);
    store::XmlNode row = document.createNode("Row");
    QCOMPARE(root.appendChild(row), row);
    row.setText("new");
    QCOMPARE(Text(root.lastChild().text()), QString("new"));
    const QString expected = "r[b[#text:2,a[#text:1]],Row[#text:new]]";
    QCOMPARE(Dump(root), expected);
    QVERIFY(document.save(Path(file("out.xml"))));
    QVERIFY(document.load(Path(file("out.xml"))));
    QCOMPARE(Dump(document.documentElement()), expected);
}

void XmlDocumentTest::select() {
    store::XmlDocument document;
    QVERIFY(document.loadXml("<r><Row>1</Row><row>2</row><!--Row--><Row>3</Row><?Row x?></r>"));
    const store::XmlNode root = document.documentElement();
    const store::XmlNodeList rows = root.selectNodes("Row");
    QCOMPARE(rows.length(), std::size_t(2));
    QCOMPARE(Text(rows.item(0).text()), QString("1"));
    QCOMPARE(Text(rows.item(1).text()), QString("3"));
    QCOMPARE(Text(root.selectSingleNode("row").text()), QString("2"));
    QVERIFY(root.selectSingleNode("Ro").isNull());
    QCOMPARE(root.selectNodes("ROW").length(), std::size_t(0));
}

void XmlDocumentTest::saveKeepsDeclarationAndComments() {
    const QByteArray xml = "<?xml version=\"1.0\"?>\r\n<!-- Do not change -->\r\n<Settings>\r\n"
                           "   <!-- inner -->\r\n   <Delay>0</Delay>\r\n</Settings>\r\n";
    QVERIFY(WriteBytes(file("config.xml"), xml));
    store::XmlDocument document;
    QVERIFY(document.load(Path(file("config.xml"))));
    document.documentElement().lastChild().setText("5");
    QVERIFY(document.save(Path(file("config.xml"))));

    const QByteArray saved = ReadBytes(file("config.xml"));
    QVERIFY(saved.startsWith("<?xml version=\"1.0\"?>"));
    QVERIFY(saved.contains("<!-- Do not change -->"));
    QVERIFY(saved.contains("<!-- inner -->"));
    QVERIFY(document.load(Path(file("config.xml"))));
    QCOMPARE(
        DumpDocument(document),
        QString("xml: | #comment: Do not change  | Settings[#comment: inner ,Delay[#text:5]]"));
}

void XmlDocumentTest::roundTrip_data() {
    QTest::addColumn<QByteArray>("xml");
    QTest::newRow("settings") << QByteArray("<?xml version=\"1.0\"?>\r\n<!-- c -->\r\n<Settings>"
                                            "\r\n   <Delay>0</Delay>\r\n</Settings>\r\n");
    QTest::newRow("mixed content") << QByteArray("<r>a<b/>c<d>e</d>f</r>");
    QTest::newRow("text after element") << QByteArray("<r><b/>tail</r>");
    QTest::newRow("blanks around text") << QByteArray("<r><a>  x  </a>\n<b>\ty\n</b></r>");
    QTest::newRow("character data") << QByteArray("<r><![CDATA[a]]>b<![CDATA[]]>]]></r>");
    QTest::newRow("escapes") << QByteArray("<r a='&lt;&amp;&quot;&#9;&#10;'>&lt;&gt;&amp;</r>");
    QTest::newRow("control character") << QByteArray("<r>&#1;x</r>");
    QTest::newRow("instruction and comment at top") << QByteArray("<?pi x?><!--a--><r/><!--b-->");
    QTest::newRow("non-ASCII") << QByteArray("<r é='ü'>\xE2\x82\xAC \xF0\x9F\x96\xB1</r>");
}

// A saved document loads again into the same nodes, and saving that gives the same bytes.
void XmlDocumentTest::roundTrip() {
    QFETCH(QByteArray, xml);
    QVERIFY(WriteBytes(file("in.xml"), xml));
    store::XmlDocument first;
    QVERIFY(first.load(Path(file("in.xml"))));
    QVERIFY(first.save(Path(file("out.xml"))));
    store::XmlDocument second;
    QVERIFY(second.load(Path(file("out.xml"))));
    QCOMPARE(DumpDocument(second), DumpDocument(first));
    QVERIFY(second.save(Path(file("again.xml"))));
    QCOMPARE(ReadBytes(file("again.xml")), ReadBytes(file("out.xml")));
}

void XmlDocumentTest::eightBitText_data() {
    QTest::addColumn<QByteArray>("xml");
    QTest::addColumn<QByteArray>("text");   // as read
    QTest::addColumn<QByteArray>("stored"); // as it must appear in the saved file
    const QByteArray utf8 = "C:\\Users\\Zo\xC3\xAB\\th\xC3\xA8mes\\\xC3\xA9t\xC3\xA9.xml";
    QTest::newRow("UTF-8") << "<r>" + utf8 + "</r>" << utf8 << utf8;
    QTest::newRow("UTF-8 with declaration")
        << "<?xml version=\"1.0\"?>\r\n<r>" + utf8 + "</r>" << utf8 << utf8;
    QTest::newRow("8-bit bytes, no encoding named")
        << QByteArray("<r>d\xE9j\xE0 \xFF</r>") << QByteArray("d\xE9j\xE0 \xFF")
        << QByteArray("d\xE9j\xE0 \xFF");
    QTest::newRow("Latin-1 named")
        << QByteArray("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><r>\xE9t\xE9</r>")
        << QByteArray("\xC3\xA9t\xC3\xA9") << QByteArray("<r>\xE9t\xE9</r>");
}

// Text read from a file comes back unchanged, and saving writes it back byte for byte.
void XmlDocumentTest::eightBitText() {
    QFETCH(QByteArray, xml);
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, stored);
    QVERIFY(WriteBytes(file("in.xml"), xml));
    store::XmlDocument document;
    QVERIFY(document.load(Path(file("in.xml"))));
    QCOMPARE(QByteArray::fromStdString(document.documentElement().text()), text);
    QVERIFY(document.save(Path(file("in.xml"))));
    const QByteArray saved = ReadBytes(file("in.xml"));
    QVERIFY2(saved.contains(stored), saved.constData());
    QVERIFY(document.load(Path(file("in.xml"))));
    QCOMPARE(QByteArray::fromStdString(document.documentElement().text()), text);

    // The same text set through the document is stored the same way.
    document.documentElement().setText(text.toStdString());
    QVERIFY(document.save(Path(file("set.xml"))));
    QCOMPARE(ReadBytes(file("set.xml")), saved);
}

void XmlDocumentTest::saveRefused() {
    // Saving a document without a root element would leave a file that cannot load.
    QVERIFY(WriteBytes(file("config.xml"), "<r>old</r>"));
    store::XmlDocument empty;
    QVERIFY(!empty.load(Path(file("missing.xml"))));
    QVERIFY(!empty.save(Path(file("config.xml"))));
    QCOMPARE(ReadBytes(file("config.xml")), QByteArray("<r>old</r>"));

    store::XmlDocument document;
    QVERIFY(document.loadXml("<r/>"));
    QVERIFY(!document.save(Path(file("no-such-folder/config.xml"))));
    QVERIFY(!QFile::exists(file("no-such-folder")));
    QVERIFY(store_test::TemporaryFiles(dir_->path()).isEmpty());
}

void XmlDocumentTest::hostile_data() {
    QTest::addColumn<QByteArray>("xml");
    QTest::newRow("external entity")
        << QByteArray("<!DOCTYPE r [<!ENTITY x SYSTEM \"file://SECRET\">]><r>&x;</r>");
    QTest::newRow("external entity, relative")
        << QByteArray("<!DOCTYPE r [<!ENTITY x SYSTEM \"secret.txt\">]><r>&x;</r>");
    QTest::newRow("parameter entity")
        << QByteArray("<!DOCTYPE r [<!ENTITY % p SYSTEM \"file://SECRET\"> %p;]><r>&q;</r>");
    QTest::newRow("external DTD") << QByteArray("<!DOCTYPE r SYSTEM \"file://SECRET\"><r>&x;</r>");
    QByteArray laughs = "<?xml version=\"1.0\"?><!DOCTYPE lolz [<!ENTITY lol \"lol\">";
    for (int i = 1; i <= 9; ++i)
        laughs += QByteArray("<!ENTITY lol") + QByteArray::number(i) + " \"" + QByteArray("&lol") +
                  (i > 1 ? QByteArray::number(i - 1) : QByteArray()) + ";" + QByteArray("&lol") +
                  (i > 1 ? QByteArray::number(i - 1) : QByteArray()) + ";\">";
    QTest::newRow("billion laughs") << laughs + "]><lolz>&lol9;&lol9;</lolz>";
    QByteArray quadratic = "<!DOCTYPE r [<!ENTITY a \"" + QByteArray(50000, 'a') + "\">]><r>";
    for (int i = 0; i < 2000; ++i)
        quadratic += "&a;";
    QTest::newRow("quadratic blow-up") << quadratic + "</r>";
}

// No entity is expanded from a declaration and no other file is read; the input's own size
// bounds everything the document holds.
void XmlDocumentTest::hostile() {
    QFETCH(QByteArray, xml);
    const QByteArray secretPath = file("secret.txt").toUtf8();
    QVERIFY(WriteBytes(file("secret.txt"), "TOP-SECRET"));
    xml.replace("SECRET", secretPath);
    QVERIFY(WriteBytes(file("hostile.xml"), xml));

    store::XmlDocument document;
    if (!document.load(Path(file("hostile.xml"))))
        QVERIFY(document.documentElement().isNull());
    const std::string all = document.xml();
    QVERIFY(all.find("TOP-SECRET") == std::string::npos);
    QVERIFY(all.size() <= std::size_t(xml.size()) * 2);
    QVERIFY(document.documentElement().text().size() <= std::size_t(xml.size()));
}

// Walking, reading, saving and dropping a very deep tree stay within the stack.
void XmlDocumentTest::deepNesting() {
    const int depth = 200000;
    QByteArray xml = QByteArray("<a>").repeated(depth) + "x" + QByteArray("</a>").repeated(depth);
    QVERIFY(WriteBytes(file("deep.xml"), xml));
    {
        store::XmlDocument document;
        QVERIFY(document.load(Path(file("deep.xml"))));
        QCOMPARE(Text(document.documentElement().text()), QString("x"));
        QVERIFY(document.save(Path(file("deep-out.xml"))));
    }
    store::XmlDocument reloaded;
    QVERIFY(reloaded.load(Path(file("deep-out.xml"))));
    QCOMPARE(Text(reloaded.documentElement().text()), QString("x"));
}

QTEST_APPLESS_MAIN(XmlDocumentTest)
#include "store_xml_document_test.moc"
