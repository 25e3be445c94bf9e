#include "app/program.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>

#include "app/failure.h"

namespace tallowby::program {

namespace {
QString g_appTitle = QStringLiteral("Tallowby");
}

bool fileExists(const QString& path) {
    if (path.isEmpty()) return false;
    return QFileInfo(path).lastModified().isValid();
}

void removeFile(const QString& path) {
    if (path.isEmpty()) return;
    if (QFile::remove(path)) return;
    // A read-only file goes too: make it writable and try once more.
    QFile::setPermissions(path, QFile::permissions(path) | QFileDevice::WriteOwner);
    QFile::remove(path);
}

void writeBinaryFile(const QByteArray& bytes, const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw Failure(QStringLiteral("Cannot write the file %1: %2").arg(path, file.errorString()));
    if (file.write(bytes) != bytes.size())
        throw Failure(QStringLiteral("Cannot write the file %1: %2").arg(path, file.errorString()));
    if (!file.flush())
        throw Failure(QStringLiteral("Cannot write the file %1: %2").arg(path, file.errorString()));
}

QString appTitleFrom(const QString& productName) {
    QString title = productName;
    while (title.size() > 40) {
        const qsizetype blank = title.lastIndexOf(QLatin1Char(' '));
        if (blank < 0) {
            title.truncate(40);
            break;
        }
        title.truncate(blank);
    }
    return title;
}

void setAppTitle() {
    g_appTitle = appTitleFrom(QStringLiteral("Tallowby"));
    QCoreApplication::setApplicationName(g_appTitle);
}

QString appTitle() {
    return g_appTitle;
}

}  // namespace tallowby::program
