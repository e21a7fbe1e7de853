// Small helpers shared by the store tests: whole-file bytes and the temporary files of the
// atomic writer.
#pragma once

#include "store/atomic_write.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QStringList>

#include <string>

namespace store_test {

inline std::string Path(const QString& path) {
    return path.toStdString();
}

inline QByteArray ReadBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

inline bool WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size();
}

// The atomic writer's temporary files left in a folder.
inline QStringList TemporaryFiles(const QString& folder) {
    const QString pattern = QString::fromUtf8(store::kTemporaryFilePrefix.data(),
                                              int(store::kTemporaryFilePrefix.size())) +
                            "*" +
                            QString::fromUtf8(store::kTemporaryFileSuffix.data(),
                                              int(store::kTemporaryFileSuffix.size()));
    return QDir(folder).entryList({pattern}, QDir::Files | QDir::Hidden | QDir::System);
}

} // namespace store_test
