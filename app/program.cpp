#include "app/program.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QPalette>
#include <QRandomGenerator>
#include <QTime>
#include <QUrl>
#include <QWidget>

#include "app/build_config.h"
#include "app/failure.h"
#include "app/prompter.h"

namespace tallowby::program {

namespace {
QString g_appTitle = QStringLiteral("Tallowby");
}

bool fileExists(const QString& path) {
    if (path.isEmpty()) return false;
    return QFileInfo(path).lastModified().isValid();
}

void removeFile(const QString& path) {
    QCoreApplication::processEvents();
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

void usePlainColours(QWidget* window) {
    if (!window) return;
    auto paint = [](QWidget* w) {
        QPalette pal = w->palette();
        pal.setColor(QPalette::Window, pal.color(QPalette::Button));
        w->setPalette(pal);
        w->setAutoFillBackground(true);
    };
    paint(window);
    for (QWidget* child : window->findChildren<QWidget*>()) {
        const bool plain =
            qobject_cast<QGroupBox*>(child) || qobject_cast<QLabel*>(child) ||
            (qobject_cast<QAbstractButton*>(child) && child->inherits("QCheckBox")) ||
            child->inherits("QRadioButton");
        if (plain) paint(child);
    }
}

void maybeOpenHomePage(const HomePageHooks& hooks) {
    const int number = hooks.draw ? hooks.draw() : [] {
        QRandomGenerator generator(
            static_cast<quint32>(QTime::currentTime().msecsSinceStartOfDay()));
        return static_cast<int>(generator.generateDouble() * 100) + 1;
    }();
    if (number != 7) return;
    const QString address = QString::fromUtf8(build::kHomePage);
    if (hooks.launch)
        hooks.launch(address);
    else
        prompter().openUrl(QUrl(address));
}

}  // namespace tallowby::program
