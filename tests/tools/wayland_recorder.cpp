// A Wayland client of its own that records the mouse buttons it receives, with the compositor's
// event times: the independent witness of the clicks the program makes on a Wayland desktop.
//
//   wayland_recorder [--fullscreen] [--title TEXT]
//
// It shows one window (maximized, or full-screen with --fullscreen; under a tiling compositor it
// fills the output either way) and writes to standard output, one line each, flushed at once:
//   ready <width> <height>
//   press <button> <x> <y> <compositor time in ms>
//   release <button> <x> <y> <compositor time in ms>
// Positions are in the window (Wayland tells a client nothing of its place on screen: the test
// adds the window's origin, which it learns from the compositor). Buttons are numbered as X
// numbers them: 1 left, 2 middle, 3 right. The window shows how many presses it has received.
#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QWidget>

#include <cstdio>

namespace {

int ButtonNumber(Qt::MouseButton button) {
    switch (button) {
    case Qt::LeftButton:
        return 1;
    case Qt::MiddleButton:
        return 2;
    case Qt::RightButton:
        return 3;
    default:
        return 0;
    }
}

class Target final : public QWidget {
public:
    Target() { setMouseTracking(false); }

protected:
    void resizeEvent(QResizeEvent* event) override {
        QWidget::resizeEvent(event);
        m_sized = true;
    }
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), QColor(0xE0, 0xF0, 0xFF));
        painter.drawText(10, 20, QStringLiteral("Clicks received: %1").arg(m_presses));
        if (m_sized && !m_announced) {
            m_announced = true;
            std::printf("ready %d %d\n", width(), height());
            std::fflush(stdout);
        }
    }
    void mousePressEvent(QMouseEvent* event) override { Log("press", event); }
    void mouseReleaseEvent(QMouseEvent* event) override { Log("release", event); }
    void mouseDoubleClickEvent(QMouseEvent* event) override { Log("press", event); }

private:
    void Log(const char* what, QMouseEvent* event) {
        const QPoint at = event->position().toPoint();
        std::printf("%s %d %d %d %llu\n", what, ButtonNumber(event->button()), at.x(), at.y(),
                    static_cast<unsigned long long>(event->timestamp()));
        std::fflush(stdout);
        if (what[0] == 'p') {
            ++m_presses;
            update();
        }
    }

    int m_presses = 0;
    bool m_sized = false;
    bool m_announced = false;
};

} // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    bool fullScreen = false;
    QString title = QStringLiteral("Click target");
    const QStringList arguments = QApplication::arguments();
    for (int i = 1; i < arguments.size(); ++i) {
        if (arguments[i] == QLatin1String("--fullscreen")) {
            fullScreen = true;
        } else if (arguments[i] == QLatin1String("--title") && i + 1 < arguments.size()) {
            title = arguments[++i];
        } else {
            std::fprintf(stderr, "usage: wayland_recorder [--fullscreen] [--title TEXT]\n");
            return 2;
        }
    }
    Target target;
    target.setWindowTitle(title);
    if (fullScreen)
        target.showFullScreen();
    else
        target.showMaximized();
    return QApplication::exec();
}
