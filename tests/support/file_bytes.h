#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

namespace tallowby::testing {

// A file's whole contents; empty when it cannot be read.
inline QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace tallowby::testing
