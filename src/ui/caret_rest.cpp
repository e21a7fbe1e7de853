#include "ui/caret_rest.h"

#include <QApplication>
#include <QEvent>
#include <QStyleHints>
#include <QTimer>

namespace ui {
namespace {

constexpr int kBlinkMs = 10000; // blinking after the last input, as long as GNOME lets it

class CaretRest final : public QObject {
public:
    explicit CaretRest(QApplication& application)
        : QObject(&application), m_flashTime(QGuiApplication::styleHints()->cursorFlashTime()) {
        m_rest.setSingleShot(true);
        m_rest.setInterval(kBlinkMs);
        connect(&m_rest, &QTimer::timeout, this,
                [] { QGuiApplication::styleHints()->setCursorFlashTime(0); });
        m_rest.start();
        application.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const QEvent::Type type = event->type();
        if (type == QEvent::KeyPress || type == QEvent::MouseButtonPress ||
            type == QEvent::WindowActivate) {
            if (!m_rest.isActive())
                QGuiApplication::styleHints()->setCursorFlashTime(m_flashTime);
            m_rest.start();
        }
        return QObject::eventFilter(watched, event);
    }

private:
    int m_flashTime;
    QTimer m_rest;
};

} // namespace

void RestCaretWhenIdle(QApplication& application) {
    new CaretRest(application);
}

} // namespace ui
