// An event file played by "zorvane run event terminate", watched by the click recorder: every
// click arrives in order, at its row's place, with its row's button and spacing, and the program
// ends by itself; with Loop 2 the file plays twice.
#include "click/click_rules.h"
#include "harness.h"

#include <QFile>
#include <QTest>

#include <cstdlib>
#include <memory>

class MouseEventsE2eTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void fileIsPlayedUnattended_data();
    void fileIsPlayedUnattended();
    void tableBuiltByHandPlaysTheSame();

private:
    std::unique_ptr<e2e::XServer> m_server;
    std::unique_ptr<e2e::Recorder> m_recorder;
};

namespace {

struct Row {
    int x, y;
    bool right;
    int clicks;
    int interval, interval2; // interval2 > 0: a random range
};

const Row kRows[] = {
    {500, 100, false, 2, 0, 0},
    {600, 200, true, 1, 500, 0},
    {800, 400, false, 3, 100, 300},
    {900, 500, true, 1, 0, 0},
};

QByteArray EventFile(const QString& loop) {
    QByteArray text = "<?xml version=\"1.0\"?>\r\n<Events Loop=\"" + loop.toLatin1() + "\">";
    for (const Row& row : kRows)
        text += QStringLiteral("<Event><Coordx>%1</Coordx><Coordy>%2</Coordy><Button>%3</Button>"
                               "<ClickIntervalinms>%4</ClickIntervalinms><Clicks>%5</Clicks>"
                               "<Range>%6</Range><ClickInterval2inms>%7</ClickInterval2inms>"
                               "</Event>")
                    .arg(row.x)
                    .arg(row.y)
                    .arg(row.right ? 2 : 1)
                    .arg(row.interval)
                    .arg(row.clicks)
                    .arg(row.interval2 > 0 ? 1 : 0)
                    .arg(row.interval2)
                    .toLatin1();
    return text + "</Events>\r\n";
}

} // namespace

void MouseEventsE2eTest::initTestCase() {
    m_server = std::make_unique<e2e::XServer>();
    QVERIFY(m_server->Start());
    m_recorder = std::make_unique<e2e::Recorder>(*m_server);
    QVERIFY(m_recorder->Start(QStringLiteral("600x768+424+0")));
}

void MouseEventsE2eTest::fileIsPlayedUnattended_data() {
    QTest::addColumn<QString>("loop");
    QTest::addColumn<int>("passes");
    QTest::newRow("once") << "1" << 1;
    QTest::newRow("Loop 2") << "2" << 2;
}

void MouseEventsE2eTest::fileIsPlayedUnattended() {
    QFETCH(QString, loop);
    QFETCH(int, passes);
    e2e::Program program(*m_server);
    QVERIFY(program.WriteSettings({{"XPStyle", "False"}, {"Loop", "1"}}));
    QFile file(program.FilePath(QStringLiteral("events.xml")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(EventFile(loop));
    file.close();
    const size_t before = m_recorder->Presses().size();
    QVERIFY(program.Start(
        {QStringLiteral("run"), QStringLiteral("event"), QStringLiteral("terminate")}));
    QVERIFY2(program.WaitForExit(30000), "the program did not end by itself");
    QCOMPARE(program.ExitCode(), 0);
    const auto all = m_recorder->Presses();
    const std::vector<e2e::ButtonEvent> presses(all.begin() + qsizetype(before), all.end());
    size_t i = 0;
    for (int pass = 0; pass < passes; ++pass)
        for (const Row& row : kRows)
            for (int k = 0; k < row.clicks; ++k, ++i) {
                QVERIFY2(i < presses.size(), "clicks are missing");
                QCOMPARE(presses[i].x, row.x);
                QCOMPARE(presses[i].y, row.y);
                QCOMPARE(presses[i].button, row.right ? 3 : 1);
                if (i == 0)
                    continue;
                // Each click, the first of a row too, one of its row's intervals after the last
                // (the exact timing is the click run's test; here the order of the rows).
                const qint64 gap = presses[i].time - presses[i - 1].time;
                const int64_t least = click::NominalGap(row.interval);
                const int64_t most = click::NominalGap(std::max(row.interval, row.interval2));
                QVERIFY2(gap >= least - 15 && gap <= most + 15,
                         qPrintable(QStringLiteral("click %1 came %2 ms after the one before")
                                        .arg(i)
                                        .arg(gap)));
            }
    QCOMPARE(presses.size(), i);
}

// The user builds two rows in the window: the first row's place picked with "<", its button, count
// and interval set; a second row added (a copy) and moved. Saved, the file plays those clicks.
void MouseEventsE2eTest::tableBuiltByHandPlaysTheSame() {
    e2e::Program program(*m_server);
    QVERIFY(program.WriteSettings({{"XPStyle", "False"}}));
    QVERIFY(program.Start());
    const QString main = program.WaitForWindow();
    QVERIFY(!main.isEmpty());
    QVERIFY(e2e::Keys(*m_server, main, {QStringLiteral("ctrl+e")}));
    const QString events = program.WaitForWindow(10000, QStringLiteral("Mouse Events"));
    QVERIFY(!events.isEmpty());
    const QRect window = e2e::WindowGeometry(*m_server, events);
    // The middle of a row's control, on the screen (the viewport's frame is 2 pixels or less).
    const auto at = [&](int left, int top, int row) {
        return QStringList{QString::number(window.x() + 2 + left),
                           QString::number(window.y() + 2 + top + 21 * row)};
    };
    const auto click = [&](const QStringList& place) {
        return !e2e::Xdotool(*m_server,
                             QStringList{"mousemove"} + place + QStringList{"click", "1"})
                    .isNull();
    };
    const auto retype = [&](const QStringList& place, const QString& text) {
        return click(place) && e2e::Keys(*m_server, events, {QStringLiteral("ctrl+a")}) &&
               e2e::Type(*m_server, events, text);
    };
    QVERIFY(click(at(128, 25, 0))); // "<" of the first row
    QVERIFY(e2e::WaitUntil(
        [&] { return e2e::FindWindows(*m_server, QStringLiteral("Mouse Events")).isEmpty(); },
        5000));
    QTest::qWait(300);
    // The picker's boxes follow the pointer every 10 ms; the click takes what they show.
    QVERIFY(!e2e::Xdotool(*m_server, {"mousemove", "650", "350"}).isNull());
    QTest::qWait(100);
    QVERIFY(!e2e::Xdotool(*m_server, {"click", "1"}).isNull()); // picks, on the picture
    QVERIFY(!program.WaitForWindow(5000, QStringLiteral("Mouse Events")).isEmpty());
    QVERIFY(click(at(164, 24, 0)));       // untick "Left": the right button
    QVERIFY(retype(at(228, 25, 0), "2")); // clicks
    QVERIFY(retype(at(280, 25, 0), "0")); // interval
    QVERIFY(e2e::Keys(*m_server, events, {QStringLiteral("alt+a")}));
    QTest::qWait(200);
    QVERIFY(retype(at(60, 25, 1), "750"));
    QVERIFY(retype(at(96, 25, 1), "450"));
    QVERIFY(e2e::Keys(*m_server, events, {QStringLiteral("alt+x")})); // Save to XML
    QVERIFY(e2e::WaitUntil(
        [&] { return program.ReadFile(QStringLiteral("events.xml")).count("<Event>") == 2; },
        5000)); // the skeleton comes first, the rows a moment later
    program.Kill();

    const size_t before = m_recorder->Presses().size();
    QVERIFY(program.Start(
        {QStringLiteral("run"), QStringLiteral("event"), QStringLiteral("terminate")}));
    QVERIFY2(program.WaitForExit(20000),
             program.ReadFile(QStringLiteral("events.xml")).constData());
    const auto all = m_recorder->Presses();
    std::vector<std::pair<int, int>> places;
    for (size_t i = before; i < all.size(); ++i) {
        QCOMPARE(all[i].button, 3);
        places.emplace_back(all[i].x, all[i].y);
    }
    QCOMPARE(places,
             (std::vector<std::pair<int, int>>{{650, 350}, {650, 350}, {750, 450}, {750, 450}}));
}

QTEST_GUILESS_MAIN(MouseEventsE2eTest)
#include "mouse_events_e2e_test.moc"
