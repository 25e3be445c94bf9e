#include "program/single_instance.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLocalSocket>
#include <QThread>
#include <QWidget>

namespace tallowby {

namespace {

// A second start can come while the first is between taking the lock and
// listening; it tries this long before it gives up reaching it.
constexpr int kReachMs = 3000;

// The store's folder, made for the owner only when it is missing (the lock
// lives there before the store is ever written).
void makeStoreFolder(const QString& storePath) {
    const QString folder = QFileInfo(storePath).absolutePath();
    if (QFileInfo(folder).isDir()) return;
    QDir().mkpath(QFileInfo(folder).absolutePath());
    ::mkdir(QFile::encodeName(folder).constData(), 0700);
}

// The store's path with its folder's links resolved, so two spellings of one
// store give one lock and one server.
QString canonicalStorePath(const QString& storePath) {
    const QFileInfo info(storePath);
    const QString folder = QFileInfo(info.absolutePath()).canonicalFilePath();
    return (folder.isEmpty() ? info.absolutePath() : folder) + QLatin1Char('/') + info.fileName();
}

}  // namespace

SingleInstance::SingleInstance(QString storePath, QObject* parent)
    : QObject(parent), storePath_(std::move(storePath)), lock_(lockPathFor(storePath_)) {
    // Only a dead holder makes a lock stale, however long a window stays open.
    lock_.setStaleLockTime(0);
    connect(&server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = server_.nextPendingConnection()) {
            socket->disconnectFromServer();
            socket->deleteLater();
            emit raiseRequested();
        }
    });
}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::lockPathFor(const QString& storePath) {
    return storePath + QStringLiteral(".lock");
}

QString SingleInstance::serverNameFor(const QString& storePath) {
    const QByteArray hash =
        QCryptographicHash::hash(canonicalStorePath(storePath).toUtf8(), QCryptographicHash::Sha1);
    return QStringLiteral("tallowby-%1-%2")
        .arg(::getuid())
        .arg(QString::fromLatin1(hash.toHex().left(24)));
}

SingleInstance::Claim SingleInstance::claim() {
    makeStoreFolder(storePath_);
    if (lock_.tryLock(0)) {
        if (!listen())
            problem_ =
                QStringLiteral("Later starts cannot reach this window: ") + server_.errorString();
        return Claim::First;
    }
    if (lock_.error() != QLockFile::LockFailedError) {
        problem_ = QStringLiteral(
                       "Cannot take the lock %1 beside the settings file, so a second "
                       "window on the same settings is not prevented.")
                       .arg(lockPathFor(storePath_));
        return Claim::Unguarded;
    }
    return askOtherToRaise() ? Claim::OtherRaised : Claim::OtherSilent;
}

bool SingleInstance::listen() {
    const QString name = serverNameFor(storePath_);
    // We hold the lock, so a socket of that name is a dead program's leftover.
    QLocalServer::removeServer(name);
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    return server_.listen(name);
}

bool SingleInstance::askOtherToRaise() {
    const QString name = serverNameFor(storePath_);
    QElapsedTimer clock;
    clock.start();
    while (true) {
        QLocalSocket socket;
        socket.connectToServer(name);
        if (socket.waitForConnected(kReachMs)) {
            socket.write("raise\n");
            socket.waitForBytesWritten(kReachMs);
            socket.disconnectFromServer();
            return true;
        }
        if (clock.elapsed() > kReachMs) {
            problem_ = socket.errorString();
            return false;
        }
        QThread::msleep(50);
    }
}

void bringToFront(QWidget* window) {
    if (!window) return;
    window->setWindowState((window->windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    window->show();
    window->raise();
    window->activateWindow();
}

void raiseOnRequest(SingleInstance& instance, std::function<QWidget*()> front) {
    QObject::connect(&instance, &SingleInstance::raiseRequested, &instance,
                     [front = std::move(front)] { bringToFront(front()); });
}

}  // namespace tallowby
