#pragma once

#include <QLocalServer>
#include <QLockFile>
#include <QObject>
#include <QString>
#include <functional>

class QWidget;

namespace tallowby {

// One window program per settings store. The first start takes a lock file
// beside the store (a lock left by a process that no longer runs is taken
// over) and listens for later starts; a later start on the same store finds
// the lock held, asks the first to come to the front and ends. Readers of
// the store (tallowby-fill) need no lock: every write is a rename.
class SingleInstance : public QObject {
    Q_OBJECT
  public:
    explicit SingleInstance(QString storePath, QObject* parent = nullptr);
    ~SingleInstance() override;

    enum class Claim {
        First,        // this program holds the store; later starts are told to raise it
        OtherRaised,  // another program holds it and was asked to come to the front
        OtherSilent,  // another program holds it but could not be reached
        Unguarded,    // no lock could be taken at all (see problem()); run anyway
    };
    Claim claim();
    const QString& problem() const { return problem_; }

    // The lock file beside the store, and the local server's name (the same
    // for every start on that store, whatever path it was given by).
    static QString lockPathFor(const QString& storePath);
    static QString serverNameFor(const QString& storePath);

  signals:
    // A later start on the same store asked this program to come to the front.
    void raiseRequested();

  private:
    bool listen();
    bool askOtherToRaise();

    QString storePath_;
    QLockFile lock_;
    QLocalServer server_;
    QString problem_;
};

// Brings the window `front()` names (the one showing now) to the front each
// time another start asks.
void raiseOnRequest(SingleInstance& instance, std::function<QWidget*()> front);

// Shows a window at the front: restored when minimised, raised, activated.
void bringToFront(QWidget* window);

}  // namespace tallowby
