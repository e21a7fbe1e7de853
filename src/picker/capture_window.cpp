#include "picker/capture_window.h"

#include "click/mouse.h"
#include "picker/picker_owner.h"
#include "platform/screen_capture_service.h"
#include "shell/window_on_top.h"
#include "ui/window_timer.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QWindow>

#include <optional>

namespace {

// Lets pending window work run, so that the screen repaints without the main window.
void LetTheScreenRepaint() {
    QElapsedTimer elapsed;
    elapsed.start();
    do
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    while (elapsed.elapsed() < 50);
}

} // namespace

frmCapture::frmCapture(PickerOwner& main)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint), m_main(main),
      m_window(main.Window()) {
    setAttribute(Qt::WA_DeleteOnClose);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setWindowTitle(QStringLiteral("Locate"));
    Label2 = AddLabel(QStringLiteral("Click anywhere for the location you want."), 8);
    Label1 = AddLabel(QStringLiteral("Press ESC key or click on the screen to exit."), 32);
    lblPosition = AddLabel(QStringLiteral("X: -   Y: -"), 56);
    lblPosition->setToolTip({});
    lblPosition->setVisible(!PlacesKnown());
    setMouseTracking(!PlacesKnown());
    Timer1 = new ui::WindowTimer(100, this);
    connect(Timer1, &ui::WindowTimer::Timer, this, [this] { Timer1_Timer(); });
    Timer1->setEnabled(true);
}

QLabel* frmCapture::AddLabel(const QString& text, int top) {
    auto* label = new QLabel(text, this);
    label->setToolTip(QStringLiteral("Click to remove this label"));
    label->setAutoFillBackground(true);
    QPalette palette = label->palette();
    palette.setColor(QPalette::Window, QColor(255, 255, 225));
    palette.setColor(QPalette::WindowText, Qt::black);
    label->setPalette(palette);
    label->setMargin(4);
    label->adjustSize();
    label->move(0, top);
    label->installEventFilter(this);
    return label;
}

void frmCapture::Form_Load() {
    m_main.BeginPicking();
    // Shown again, a window goes where a window manager would place a new one unless its place is
    // given (an unchanged move() gives none): the user's place is given again.
    const QPoint where = m_window.geometry().topLeft();
    m_window.hide();
    LetTheScreenRepaint();

    QScreen* screen =
        PlacesKnown() || !m_window.screen() ? QGuiApplication::primaryScreen() : m_window.screen();
    const QRect area = screen->geometry();
    setScreen(screen);
    setGeometry(area);
    TakePicture(screen);
    for (QLabel* label : {Label1, Label2, lblPosition})
        label->move((area.width() - label->width()) / 2, label->y());
    update();

    // Where windows have no known place, the main window stays hidden: the picker shows the
    // coordinates, and a window appearing over a full-screen one would end its full screen.
    if (PlacesKnown()) {
        if (QWindow* handle = m_window.windowHandle())
            handle->setPosition(where);
        m_window.show();
    }
    shell::SetTopMost(this, true);
    m_main.ShowCoordinatesLive();
}

// Where places are known the picker covers its screen by its geometry; elsewhere it asks for
// the full screen.
void frmCapture::ShowOverScreen() {
    if (PlacesKnown())
        show();
    else
        showFullScreen();
}

bool frmCapture::PlacesKnown() const {
    return m_main.Mouse().KnowsPointer();
}

void frmCapture::TakePicture(QScreen* screen) {
    const QRect area = screen->geometry();
    std::optional<platform::ScreenPicture> picture;
    if (platform::ScreenCaptureService* capture = m_main.ScreenCapture())
        picture = capture->Capture(screen->name().toStdString(), area.x(), area.y(), area.width(),
                                   area.height());
    if (picture && picture->width > 0 && picture->height > 0) {
        // The image only looks at the pixels: the picture keeps a copy of its own.
        const QImage image(reinterpret_cast<const uchar*>(picture->pixels.data()), picture->width,
                           picture->height, picture->width * 4, QImage::Format_RGB32);
        m_picture = QPixmap::fromImage(image.size() == area.size() ? image.copy()
                                                                   : image.scaled(area.size()));
        return;
    }
    // No picture: a faint veil over the desktop shows that picking is on.
    m_picture = QPixmap();
    setAttribute(Qt::WA_OpaquePaintEvent, false);
    setAttribute(Qt::WA_TranslucentBackground);
}

void frmCapture::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    if (m_picture.isNull())
        painter.fillRect(rect(), QColor(255, 255, 255, 40));
    else
        painter.drawPixmap(0, 0, m_picture);
}

void frmCapture::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (!isMinimized() && PlacesKnown())
        CutHole();
}

// The picker's region is the whole window less the main window's rectangle.
void frmCapture::CutHole() {
    const QRect main = m_window.frameGeometry().translated(-frameGeometry().topLeft());
    m_mainLeft = m_window.frameGeometry().x();
    setMask(QRegion(0, 0, frameGeometry().width(), frameGeometry().height()).subtracted(main));
}

// Only a sideways move re-cuts the hole.
void frmCapture::Timer1_Timer() {
    if (PlacesKnown() && m_window.frameGeometry().x() != m_mainLeft)
        CutHole();
}

void frmCapture::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape)
        Unload();
}

void frmCapture::mousePressEvent(QMouseEvent* event) {
    FollowPointer(event->position());
    Unload();
}

void frmCapture::mouseMoveEvent(QMouseEvent* event) {
    FollowPointer(event->position());
}

// Where the system does not tell where the pointer is, the picker's own pointer events do: the
// place in the picker plus the picker's screen's place in the layout.
void frmCapture::FollowPointer(const QPointF& local) {
    if (PlacesKnown())
        return;
    const QPoint origin = screen() ? screen()->geometry().topLeft() : QPoint();
    const QPoint at = origin + local.toPoint();
    m_main.Mouse().PointerSeenAt(at.x(), at.y());
    m_main.ShowPointerPosition();
    lblPosition->setText(QStringLiteral("X: %1   Y: %2").arg(at.x()).arg(at.y()));
    lblPosition->adjustSize();
    lblPosition->move((width() - lblPosition->width()) / 2, lblPosition->y());
}

// A click on a label takes the label away; it neither picks nor closes.
bool frmCapture::eventFilter(QObject* watched, QEvent* event) {
    if ((watched == Label1 || watched == Label2) && event->type() == QEvent::MouseButtonPress) {
        static_cast<QWidget*>(watched)->hide();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void frmCapture::Unload() {
    close();
}

void frmCapture::closeEvent(QCloseEvent* event) {
    Form_Unload();
    event->accept();
}

void frmCapture::Form_Unload() {
    if (m_unloaded)
        return;
    m_unloaded = true;
    Timer1->setEnabled(false);
    m_main.EndPicking();
}
