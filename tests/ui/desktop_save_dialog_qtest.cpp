// The real save dialog, driven under Xvfb with the xcb platform (the
// offscreen platform shows no dialog to type into): the suggested name, the
// extension added to a typed name, and "No" to the overwrite question
// keeping the dialog open for another name. The test starts itself again
// under xvfb-run; without Xvfb it is skipped with a message.

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "ui/qt_prompter.h"
#include "ui/save_request.h"

namespace {
bool g_underXvfb = false;

QFileDialog* openDialog() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* dialog = qobject_cast<QFileDialog*>(w); dialog && dialog->isVisible())
            return dialog;
    return nullptr;
}
}  // namespace

class DesktopSaveDialogTest : public QObject {
    Q_OBJECT

  private slots:
    void theRealDialogUnderXvfb() {
        if (g_underXvfb) QSKIP("this is the run under Xvfb");
        const QString xvfbRun = QStandardPaths::findExecutable("xvfb-run");
        if (xvfbRun.isEmpty())
            QSKIP("xvfb-run is missing (package xvfb): the real dialog is not tried");
        QProcess run;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("QT_QPA_PLATFORM", "xcb");
        run.setProcessEnvironment(environment);
        run.start(xvfbRun,
                  {"-a", "-s", "-screen 0 1280x1024x24", QCoreApplication::applicationFilePath(),
                   "--xvfb", "noReturnsToTheDialog"});
        QVERIFY(run.waitForFinished(120000));
        const QByteArray output = run.readAllStandardOutput() + run.readAllStandardError();
        QVERIFY2(run.exitCode() == 0, output.constData());
        QVERIFY2(output.contains("PASS   : DesktopSaveDialogTest::noReturnsToTheDialog()"),
                 output.constData());
    }

    void noReturnsToTheDialog() {
        if (!g_underXvfb) QSKIP("only under Xvfb");
        QTemporaryDir dir;
        QFile old(dir.filePath("old.xls"));
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.close();
        tallowby::SaveRequest request;
        request.title = "Save File";
        request.filters = {"Excel Files (*.xls)"};
        request.folder = dir.path();
        request.suggestedName = "Timesheet Ann 2021-08-30.xls";
        QStringList asked;
        request.confirmOverwrite = [&](QWidget* over, const QString& target) {
            asked << target;
            return over == nullptr;  // "No": asked over the dialog itself
        };
        QString suggested;
        bool stayedOpen = false;
        QTimer::singleShot(500, [&] {
            QFileDialog* dialog = openDialog();
            if (!dialog) return;
            auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
            suggested = name->text();
            name->setText("old");
            QTest::keyClick(name, Qt::Key_Return);
            stayedOpen = dialog->isVisible();
            name->setText("week1");
            QTest::keyClick(name, Qt::Key_Return);
        });
        tallowby::QtPrompter prompter;
        const QString chosen = prompter.saveFile(nullptr, request);
        QCOMPARE(suggested, QString("Timesheet Ann 2021-08-30.xls"));
        QCOMPARE(asked, QStringList{dir.filePath("old.xls")});
        QVERIFY(stayedOpen);
        QCOMPARE(chosen, dir.filePath("week1.xls"));
    }
};

int main(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    g_underXvfb = arguments.size() > 1 && arguments[1] == "--xvfb";
    QApplication app(argc, argv);
    DesktopSaveDialogTest test;
    if (g_underXvfb) arguments.removeAt(1);
    return QTest::qExec(&test, arguments);
}

#include "desktop_save_dialog_qtest.moc"
