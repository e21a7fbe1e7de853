// The hand-over between the rows of a sequence: 5 rows of 10 clicks at interval 0 played by
// "zorvane run event terminate" under Xvfb, each gap against the nominal 100 ms by the server's
// timestamps, and the drift of the whole sequence.
#include "click/click_rules.h"
#include "click_bench.h"
#include "harness.h"

#include <QCoreApplication>
#include <QFile>

#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    constexpr int kRows = 5;
    constexpr int kClicks = 10;
    e2e::XServer server;
    e2e::Recorder recorder(server);
    if (!server.Start() || !recorder.Start(QStringLiteral("600x768+424+0"))) {
        std::fprintf(stderr, "event_handover: cannot start Xvfb or the recorder\n");
        return 2;
    }
    e2e::Program program(server);
    program.WriteSettings({{"XPStyle", "False"}});
    QByteArray events = "<?xml version=\"1.0\"?>\r\n<Events Loop=\"1\">";
    for (int row = 0; row < kRows; ++row)
        events += QStringLiteral("<Event><Coordx>%1</Coordx><Coordy>300</Coordy><Button>1"
                                 "</Button><ClickIntervalinms>0</ClickIntervalinms><Clicks>%2"
                                 "</Clicks><Range>0</Range><ClickInterval2inms/></Event>")
                      .arg(500 + 80 * row)
                      .arg(kClicks)
                      .toLatin1();
    QFile file(program.FilePath(QStringLiteral("events.xml")));
    if (!file.open(QIODevice::WriteOnly) || file.write(events + "</Events>\r\n") < 0)
        return 2;
    file.close();
    if (!program.Start(
            {QStringLiteral("run"), QStringLiteral("event"), QStringLiteral("terminate")}) ||
        !program.WaitForExit(60000)) {
        std::fprintf(stderr, "event_handover: the sequence did not end\n");
        return 2;
    }
    const auto presses = recorder.Presses();
    if (presses.size() != size_t(kRows * kClicks)) {
        std::fprintf(stderr, "event_handover: %zu clicks instead of %d\n", presses.size(),
                     kRows * kClicks);
        return 2;
    }
    const qint64 nominal = click::NominalGap(0);
    const bench::Timing timing = bench::Measure(presses, nominal);
    std::printf("Sequence of %d rows x %d clicks at interval 0 (nominal gap %lld ms)\n", kRows,
                kClicks, static_cast<long long>(nominal));
    std::printf("mean |error| %.2f ms, largest %lld ms, drift %lld ms\n", timing.meanError,
                static_cast<long long>(timing.maxError), static_cast<long long>(timing.drift));
    const bool met = bench::OnSchedule(timing);
    std::printf("targets (%s): %s\n", bench::kScheduleTargets, met ? "met" : "MISSED");
    return met ? 0 : 1;
}
