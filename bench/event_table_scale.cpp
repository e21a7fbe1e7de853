// The event table at scale, in the real windows on an Xvfb display: load a 1,500-row events.xml
// into the table, add rows one by one (each drawn) up to 1,500, save them, load a 10,000-row
// file, and scroll through it; the times, the slowest scroll step and the peak memory.
#include "events/mouse_events_window.h"
#include "harness.h"
#include "platform/native_services.h"
#include "shell/main_window.h"
#include "store/settings_file.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QPushButton>
#include <QScrollBar>

#include <algorithm>
#include <cstdio>

namespace {

bool WriteEvents(const QString& path, int rows) {
    QByteArray text = "<?xml version=\"1.0\"?>\r\n<Events Loop=\"1\">";
    for (int row = 0; row < rows; ++row)
        text += QStringLiteral("<Event><Coordx>%1</Coordx><Coordy>%2</Coordy><Button>%3</Button>"
                               "<ClickIntervalinms>100</ClickIntervalinms><Clicks>2</Clicks>"
                               "<Range>0</Range><ClickInterval2inms>1000</ClickInterval2inms>"
                               "</Event>")
                    .arg(row % 1000)
                    .arg(row % 700)
                    .arg(1 + row % 2)
                    .toLatin1();
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(text + "</Events>\r\n") > 0;
}

double Ms(const QElapsedTimer& timer) {
    return double(timer.nsecsElapsed()) / 1e6;
}

} // namespace

int main(int argc, char** argv) {
    e2e::XServer server;
    {
        QCoreApplication starter(argc, argv);
        if (!server.Start()) {
            std::fprintf(stderr, "event_table_scale: cannot start Xvfb\n");
            return 2;
        }
    }
    qputenv("DISPLAY", server.Display().toLocal8Bit());
    QApplication app(argc, argv);
    QTemporaryDir folder;
    shell::AppInfo info;
    info.folder = info.configFolder = info.dataFolder = folder.path().toStdString();
    info.exeName = "zorvane";
    store::WriteDefaultSettings(folder.filePath(QStringLiteral("config.xml")).toStdString());
    store::SetConfigValue(folder.filePath(QStringLiteral("config.xml")).toStdString(), "XPStyle",
                          "False");
    platform::NativeServices native(QGuiApplication::platformName().toStdString());
    frmMain main(native.services(), info);
    main.mouseEventsWindowFactory =
        frmMouseEvents::Opener(*native.services().dialogs, info.configFolder);
    if (!main.Form_Load())
        return 2;
    main.mnMouseEvents_Click();
    auto* events = static_cast<frmMouseEvents*>(main.frmMouseEvents);
    const QString path = QString::fromStdString(events->EventsPath());
    QCoreApplication::processEvents();

    WriteEvents(path, 1500);
    QElapsedTimer timer;
    timer.start();
    events->btnLoad_Click();
    QCoreApplication::processEvents();
    const double load1500 = Ms(timer);

    events->btnEventClear_Click();
    timer.restart();
    while (events->TableRows() < 1500) {
        events->btnEventAdd->click();
        QCoreApplication::processEvents(); // each row drawn as it comes
    }
    const double add1500 = Ms(timer);
    QFile::remove(path);
    timer.restart();
    events->btnSave_Click();
    const double save1500 = Ms(timer);

    WriteEvents(path, 10000);
    timer.restart();
    events->btnLoad_Click();
    QCoreApplication::processEvents();
    const double load10000 = Ms(timer);
    std::vector<double> steps;
    for (int value = 0; value > events->VBar->minimum(); value -= events->VBar->singleStep()) {
        QElapsedTimer step;
        step.start();
        events->VBar->setValue(value);
        events->repaint();
        steps.push_back(Ms(step));
    }
    std::sort(steps.begin(), steps.end());
    const double p99 = steps.empty() ? 0 : steps[steps.size() * 99 / 100];
    const long peakKb = e2e::ProcessPeakMemoryKb(QCoreApplication::applicationPid());
    main.Unload();

    std::printf("Event table at scale (in the real windows on Xvfb)\n");
    std::printf("load 1,500 rows %.0f ms; add 1,500 rows one by one %.0f ms; save 1,500 rows "
                "%.0f ms\n",
                load1500, add1500, save1500);
    std::printf("load 10,000 rows %.0f ms; scroll step 99th percentile %.1f ms over %zu steps; "
                "peak memory %.1f MB\n",
                load10000, p99, steps.size(), double(peakKb) / 1024.0);
    const bool met = load1500 < 1000 && add1500 < 1000 && save1500 < 1000 && load10000 < 3000 &&
                     peakKb < 150 * 1024 && p99 < 16;
    std::printf("targets (1,500 rows each under 1 s, 10,000 under 3 s, peak under 150 MB, "
                "scroll steps under a frame): %s\n",
                met ? "met" : "MISSED");
    return met ? 0 : 1;
}
