#include "platform/portal/portal_screen_capture.h"

#include "platform/portal/portal_factories.h"

#include "platform/portal/portal_request.h"

#include <QFile>
#include <QFileInfo>
#include <QUrl>

namespace platform {
namespace {

constexpr const char* kScreenshot = "org.freedesktop.portal.Screenshot";
// Enough for a desktop's one-time question about screenshots.
constexpr int kAnswerMs = 120000;

} // namespace

std::optional<QImage> TakePortalScreenshot() {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (portal::InterfaceVersion(bus, kScreenshot) == 0)
        return std::nullopt;
    portal::PortalRequest request(bus);
    const portal::PortalAnswer answer =
        request.Call(kScreenshot, QStringLiteral("Screenshot"),
                     {QString(), QVariantMap{{"interactive", false}}}, kAnswerMs);
    if (!answer.Succeeded())
        return std::nullopt;
    const QUrl uri(answer.results.value(QStringLiteral("uri")).toString());
    const QString file = uri.isLocalFile() ? uri.toLocalFile() : QString();
    if (file.isEmpty() || !QFileInfo(file).isFile())
        return std::nullopt;
    QImage picture(file);
    // The desktop saved the picture for this program alone (among the user's pictures, on some
    // desktops): it is not the user's to keep.
    QFile::remove(file);
    if (picture.isNull())
        return std::nullopt;
    return picture;
}

} // namespace platform

namespace platform {

std::optional<ScreenPicture> PortalScreenCapture::Capture(const std::string& /*screen*/,
                                                          int32_t left, int32_t top, int32_t width,
                                                          int32_t height) {
    const std::optional<QImage> desktop = TakePortalScreenshot();
    if (!desktop || width <= 0 || height <= 0)
        return std::nullopt;
    const QImage part =
        desktop->copy(left, top, width, height).convertToFormat(QImage::Format_RGB32);
    ScreenPicture picture{width, height, {}};
    picture.pixels.reserve(size_t(width) * size_t(height));
    for (int y = 0; y < height; ++y) {
        const auto* row = reinterpret_cast<const uint32_t*>(part.constScanLine(y));
        picture.pixels.insert(picture.pixels.end(), row, row + width);
    }
    return picture;
}

std::unique_ptr<ScreenCaptureService> CreatePortalScreenCapture() {
    return std::make_unique<PortalScreenCapture>();
}

} // namespace platform
