#include "platform/qt/toolkit_style.h"

#include <QApplication>
#include <QStyleFactory>

namespace platform {
namespace {

QString ModernStyleName() {
#ifdef Q_OS_WIN
    return QStringLiteral("windowsvista");
#else
    return QStringLiteral("Fusion");
#endif
}

} // namespace

bool ModernStyleAvailable() {
    return QStyleFactory::keys().contains(ModernStyleName(), Qt::CaseInsensitive);
}

void UseToolkitStyle(bool modern) {
    QApplication::setStyle(modern && ModernStyleAvailable() ? ModernStyleName()
                                                            : QStringLiteral("Windows"));
}

} // namespace platform
