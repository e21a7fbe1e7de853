// The event file's rules: how each element of an Event reads into the table and into the list an
// unattended run plays, the loop count, and a save that keeps what lies outside the rows.
#include "events/event_file.h"
#include "store/xml_document.h"

#include <QTest>

class EventFileTest : public QObject {
    Q_OBJECT

private slots:
    void readRules_data();
    void readRules();
    void loopCount_data();
    void loopCount();
    void saveKeepsTheRestAndReadsBack();
    void tooManyRows();
};

namespace {

QStringList TableTexts(const events::TableRow& r) {
    return {QString::fromStdString(r.x),
            QString::fromStdString(r.y),
            QString::fromStdString(r.interval),
            QString::fromStdString(r.clicks),
            QString::fromStdString(r.interval2),
            r.left ? "left" : "right",
            r.range ? "range" : "-"};
}

QStringList RecordTexts(const events::EventRecord& r) {
    return {QString::fromStdString(r.coordX),
            QString::fromStdString(r.coordY),
            QString::fromStdString(r.interval),
            QString::fromStdString(r.clicks),
            QString::fromStdString(r.interval2),
            QString::number(r.button),
            QString::number(r.range)};
}

const char* const kFull = "<Coordx>10</Coordx><Coordy>20</Coordy><ClickIntervalinms>500"
                          "</ClickIntervalinms><Clicks>3</Clicks><ClickInterval2inms>900"
                          "</ClickInterval2inms>";

} // namespace

// Each row: the children of one node of the root, then what the table and the list make of it.
void EventFileTest::readRules_data() {
    QTest::addColumn<QString>("node");
    QTest::addColumn<QStringList>("table");
    QTest::addColumn<QStringList>("record");
    const auto event = [](const QString& inner) { return "<Event>" + inner + "</Event>"; };
    const QString full = QString::fromLatin1(kFull);
    QTest::newRow("Button 1, Range 0") << event(full + "<Button>1</Button><Range>0</Range>")
                                       << QStringList{"10", "20", "500", "3", "900", "left", "-"}
                                       << QStringList{"10", "20", "500", "3", "900", "1", "0"};
    QTest::newRow("Button 2, Range 1")
        << event(full + "<Button>2</Button><Range>1</Range>")
        << QStringList{"10", "20", "500", "3", "900", "right", "range"}
        << QStringList{"10", "20", "500", "3", "900", "0", "1"};
    QTest::newRow("a word in Button and Range")
        << event(full + "<Button>left</Button><Range>yes</Range>")
        << QStringList{"10", "20", "500", "3", "900", "right", "range"}
        << QStringList{"10", "20", "500", "3", "900", "0", "1"};
    QTest::newRow("other numbers") << event(full + "<Button>7</Button><Range>2</Range>")
                                   << QStringList{"10", "20", "500", "3", "900", "left", "-"}
                                   << QStringList{"10", "20", "500", "3", "900", "1", "0"};
    QTest::newRow("nothing but Button")
        << event("<Button>1</Button>") << QStringList{"0", "0", "1000", "1", "", "left", "-"}
        << QStringList{"", "", "", "", "", "1", "0"};
    QTest::newRow("a comment is a row")
        << "<!-- note -->" << QStringList{"0", "0", "1000", "1", "", "right", "-"}
        << QStringList{"", "", "", "", "", "0", "0"};
    QTest::newRow("texts as written, first of a name")
        << event("<Coordx> 1e3 </Coordx><Coordx>5</Coordx><Clicks>abc</Clicks>")
        << QStringList{" 1e3 ", "0", "1000", "abc", "", "right", "-"}
        << QStringList{" 1e3 ", "", "", "abc", "", "0", "0"};
    QTest::newRow("names match in their case")
        << event("<coordx>4</coordx><BUTTON>1</BUTTON>")
        << QStringList{"0", "0", "1000", "1", "", "right", "-"}
        << QStringList{"", "", "", "", "", "0", "0"};
}

void EventFileTest::readRules() {
    QFETCH(QString, node);
    store::XmlDocument document;
    QVERIFY(document.loadXml(("<Events Loop=\"1\">" + node + "</Events>").toStdString()));
    events::EventFileContent content;
    QCOMPARE(events::ReadEventFile(document, content), events::ReadProblem::None);
    QCOMPARE(content.events.size(), size_t{1});
    QTEST(TableTexts(events::ToTableRow(content.events[0])), "table");
    QTEST(RecordTexts(events::ToRecord(content.events[0])), "record");
}

void EventFileTest::loopCount_data() {
    QTest::addColumn<QString>("root");
    QTest::addColumn<QString>("loop");
    QTest::addColumn<bool>("ticked");
    QTest::addColumn<int>("rows");
    QTest::newRow("Loop first") << "<Events Loop=\"0\" Owner=\"x\"><Event/></Events>"
                                << "0" << true << 1;
    QTest::newRow("Loop not first") << "<Events Owner=\"x\" Loop=\"5\"/>"
                                    << "1" << false << 0;
    QTest::newRow("no attribute") << "<Events/>"
                                  << "1" << false << 0;
    QTest::newRow("any root name, three passes")
        << "<Other Loop=\"3\"><Event/><!-- c --><Event/></Other>"
        << "3" << true << 3;
    QTest::newRow("a word") << "<Events Loop=\"many\"/>"
                            << "many" << true << 0;
}

void EventFileTest::loopCount() {
    QFETCH(QString, root);
    QFETCH(QString, loop);
    store::XmlDocument document;
    QVERIFY(document.loadXml(root.toStdString()));
    events::EventFileContent content;
    QCOMPARE(events::ReadEventFile(document, content), events::ReadProblem::None);
    QCOMPARE(QString::fromStdString(content.loop), loop);
    QTEST(events::LoopTicked(content.loop), "ticked");
    QTEST(int(content.events.size()), "rows");
}

// A save replaces the rows and puts the Loop attribute first; what it wrote reads back the same.
void EventFileTest::saveKeepsTheRestAndReadsBack() {
    store::XmlDocument document;
    QVERIFY(
        document.loadXml("<?xml version=\"1.0\"?>\r\n<!-- mine -->\r\n<Sequence Owner=\"me\" "
                         "Loop=\"9\"><Event><Coordx>1</Coordx></Event><!-- old --></Sequence>"));
    events::TableRow right;
    right.x = "700";
    right.left = false;
    right.range = true;
    right.interval2 = "2000";
    const std::vector<events::TableRow> rows{events::TableRow{}, right, events::TableRow{}};
    events::WriteEventFile(document, rows, "0");
    const std::string saved = document.xml();
    QVERIFY(saved.find("<!-- mine -->") != std::string::npos);
    QVERIFY(saved.find("<!-- old -->") == std::string::npos);
    QVERIFY(saved.find("<Sequence Loop=\"0\" Owner=\"me\">") != std::string::npos);
    // The second row's element, its children in their order with the texts written.
    store::XmlDocument again;
    QVERIFY(again.loadXml(saved));
    QStringList written;
    for (const store::XmlNode& child : again.documentElement().childNodes().item(1).childNodes())
        written << QString::fromStdString(child.nodeName() + "=" + child.text());
    QCOMPARE(written, (QStringList{"Coordx=700", "Coordy=0", "Button=2", "ClickIntervalinms=1000",
                                   "Clicks=1", "Range=1", "ClickInterval2inms=2000"}));

    events::EventFileContent content;
    QCOMPARE(events::ReadEventFile(again, content), events::ReadProblem::None);
    QCOMPARE(content.loop, std::string("0")); // first, where a load reads it
    QCOMPARE(content.events.size(), rows.size());
    for (size_t i = 0; i < rows.size(); ++i)
        QCOMPARE(TableTexts(events::ToTableRow(content.events[i])), TableTexts(rows[i]));
}

void EventFileTest::tooManyRows() {
    std::string text = "<Events Loop=\"1\">";
    for (size_t i = 0; i <= events::kMostRows; ++i)
        text += "<Event/>";
    store::XmlDocument document;
    QVERIFY(document.loadXml(text + "</Events>"));
    events::EventFileContent content;
    QCOMPARE(events::ReadEventFile(document, content), events::ReadProblem::TooManyRows);
    QVERIFY(content.events.empty());
}

QTEST_APPLESS_MAIN(EventFileTest)
#include "event_file_test.moc"
