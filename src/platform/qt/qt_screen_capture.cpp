#include "platform/qt/qt_screen_capture.h"
#include "platform/qt/qt_factories.h"

#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>

#include <cstring>

namespace platform {

std::optional<ScreenPicture> QtScreenCapture::Capture(const std::string& screen, int32_t left,
                                                      int32_t top, int32_t width, int32_t height) {
    QScreen* shown = QGuiApplication::primaryScreen();
    for (QScreen* candidate : QGuiApplication::screens())
        if (candidate->name().toStdString() == screen)
            shown = candidate;
    if (!shown)
        return std::nullopt;
    const QImage image = shown->grabWindow(0, left, top, width, height)
                             .toImage()
                             .convertToFormat(QImage::Format_RGB32);
    if (image.isNull())
        return std::nullopt;
    ScreenPicture picture;
    picture.width = image.width();
    picture.height = image.height();
    picture.pixels.resize(size_t(image.width()) * size_t(image.height()));
    for (int row = 0; row < image.height(); ++row)
        std::memcpy(picture.pixels.data() + size_t(row) * size_t(image.width()),
                    image.constScanLine(row), size_t(image.width()) * 4);
    return picture;
}

std::unique_ptr<ScreenCaptureService> CreateToolkitScreenCapture() {
    return std::make_unique<QtScreenCapture>();
}

} // namespace platform
