// Clicks through the desktop's remote-desktop portal with the program's own backend, without its
// windows: portal_clicker X Y COUNT [GAP_MS]. Asks the desktop first; prints "refused <message>"
// and exits 1 when it may not click, else clicks COUNT times at X,Y, GAP_MS apart (100 by default),
// twice over with a second ask between, printing "ready" before each round.
#include "platform/portal/portal_pointer.h"

#include <QCoreApplication>
#include <QDir>
#include <QTimer>

#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    if (argc < 4) {
        std::fprintf(stderr, "usage: portal_clicker X Y COUNT [GAP_MS]\n");
        return 2;
    }
    const int x = std::atoi(argv[1]), y = std::atoi(argv[2]), count = std::atoi(argv[3]);
    const int gap = argc > 4 ? std::atoi(argv[4]) : 100;
    platform::PortalPointer pointer(QDir::tempPath().toStdString());
    for (int round = 0; round < 2; ++round) {
        const platform::ClickReadiness readiness = pointer.PrepareToClick();
        if (!readiness.ready) {
            std::printf("refused %s\n", readiness.problem.c_str());
            return 1;
        }
        std::printf("ready\n");
        std::fflush(stdout);
        for (int i = 0; i < count; ++i) {
            pointer.SetCursorPos(x, y);
            pointer.MouseEvent(0x0002);
            pointer.MouseEvent(0x0004);
            QTimer::singleShot(gap, &application, &QCoreApplication::quit);
            QCoreApplication::exec();
        }
    }
    return 0;
}
