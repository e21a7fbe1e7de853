// Shows the program at work where there is no display: on a virtual X display it starts the real
// program, types a counted run into it as a user would, lets it click into a small target window
// that counts what it receives, saves a screenshot and tells what happened.
//
//   headless_demo SCREENSHOT.png
#include "harness.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: headless_demo SCREENSHOT.png\n");
        return 2;
    }
    constexpr int kX = 740, kY = 380, kInterval = 500, kClicks = 5;

    e2e::XServer server;
    if (!server.Start()) {
        std::fprintf(stderr, "Could not start a virtual display (Xvfb).\n");
        return 1;
    }
    std::printf("No X display here: showing Zorvane on a virtual display (Xvfb %s).\n",
                qPrintable(server.Display()));
    e2e::Recorder target(server);
    e2e::Program program(server);
    if (!target.Start(QStringLiteral("360x240+560+260")) || !program.WriteSettings({}) ||
        !program.Start()) {
        std::fprintf(stderr, "Could not start the target window or the program.\n");
        return 1;
    }
    const QString window = program.WaitForWindow();
    if (window.isEmpty()) {
        std::fprintf(stderr, "The program's window did not appear.\n");
        return 1;
    }
    std::printf("Zorvane is running; typing: x %d, y %d, interval %d ms, %d clicks, left button; "
                "then START.\n",
                kX, kY, kInterval, kClicks);
    if (!e2e::EnterClickRun(server, window, kX, kY, kInterval, kClicks, false) ||
        !target.WaitForPresses(kClicks, 20000)) {
        std::fprintf(stderr, "The clicks did not arrive (%zu seen).\n", target.Presses().size());
        return 1;
    }
    e2e::WaitUntil([] { return false; }, 300); // let the target window redraw its count
    const auto presses = target.Presses();
    std::printf("The target window received %zu clicks of button %d at (%d, %d), apart by",
                presses.size(), presses.front().button, presses.front().x, presses.front().y);
    for (size_t i = 1; i < presses.size(); ++i)
        std::printf(" %lld", static_cast<long long>(presses[i].time - presses[i - 1].time));
    std::printf(" ms.\n");
    if (e2e::Screenshot(server, QString::fromLocal8Bit(argv[1])))
        std::printf("Screenshot: %s\n", argv[1]);
    else
        std::printf("The screenshot could not be saved to %s.\n", argv[1]);
    return 0;
}
