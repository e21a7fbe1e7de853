#include "platform/qt/termination.h"

#include <QCoreApplication>
#include <QSemaphore>
#include <QThread>

#include <atomic>
#include <memory>

#include <cstdio>
#include <utility>

#include <array>
#include <string_view>

#ifdef Q_OS_UNIX
#include <QSocketNotifier>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>
#endif

namespace platform {

#ifdef Q_OS_UNIX
namespace {

int g_signalPipe[2] = {-1, -1};

void OnSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(g_signalPipe[1], &byte, 1);
}

} // namespace

void QuitOnTermination(std::function<void()> end) {
    if (g_signalPipe[0] >= 0 || ::socketpair(AF_UNIX, SOCK_STREAM, 0, g_signalPipe) != 0)
        return;
    auto* notifier =
        new QSocketNotifier(g_signalPipe[0], QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(notifier, &QSocketNotifier::activated, notifier, [end = std::move(end)] {
        char byte = 0;
        [[maybe_unused]] const auto read = ::read(g_signalPipe[0], &byte, 1);
        end();
    });
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : {SIGTERM, SIGHUP, SIGINT})
        ::sigaction(signal, &action, nullptr);
}
#else
void QuitOnTermination(std::function<void()>) {}
#endif

namespace {

QtMessageHandler g_previousHandler = nullptr;
std::function<void(const std::string&)> g_onDisplayLoss;

// The toolkit's words just before it ends the process for a lost display.
bool TellsOfDisplayLoss(std::string_view message) {
    constexpr std::array<std::string_view, 3> kLoss = {
        "The Wayland connection broke", "The Wayland connection experienced a fatal error",
        "The X11 connection broke"};
    for (std::string_view loss : kLoss)
        if (message.substr(0, loss.size()) == loss)
            return true;
    return false;
}

// The toolkit may tell of the loss on a thread of its own, just before it ends the process: the
// last keeping then runs on the window thread while this thread waits for it, a few seconds at
// most (the window thread may itself be waiting for the display). Told on the window thread,
// which may end the process right after, the keeping runs there at once (it is done only once
// however often it is told).
void KeepBeforeTheEnd(const std::string& why) {
    QCoreApplication* application = QCoreApplication::instance();
    if (QThread::currentThread() == application->thread()) {
        g_onDisplayLoss(why);
        return;
    }
    static std::atomic_flag asked = ATOMIC_FLAG_INIT;
    if (asked.test_and_set())
        return;
    const auto done = std::make_shared<QSemaphore>();
    QMetaObject::invokeMethod(
        application,
        [why, done] {
            g_onDisplayLoss(why);
            done->release();
        },
        Qt::QueuedConnection);
    done->tryAcquire(1, 3000);
}

void WatchMessages(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if ((type == QtWarningMsg || type == QtFatalMsg) && g_onDisplayLoss &&
        QCoreApplication::instance()) {
        const std::string text = message.toStdString();
        if (TellsOfDisplayLoss(text))
            KeepBeforeTheEnd(text);
    }
    if (g_previousHandler)
        g_previousHandler(type, context, message);
    else
        std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
}

} // namespace

void EndOnDisplayLoss(std::function<void(const std::string&)> end) {
    g_onDisplayLoss = std::move(end);
    g_previousHandler = qInstallMessageHandler(WatchMessages);
}

} // namespace platform
