// Where the save dialog opens: the documents folder first (home when there is
// none), then the folder of the last save made while the program runs. The
// test gives itself a home of its own before the application starts.

#include <QDir>
#include <QPushButton>
#include <QTest>

#include "preview/preview_window.h"
#include "preview_window_harness.h"

using tallowby::preview::PreviewWindow;

namespace {

QTemporaryDir* g_home = nullptr;

}  // namespace

class PreviewWindowSaveFolderTest : public QObject {
    Q_OBJECT

    std::unique_ptr<harness::RecordingPrompter> prompter;
    std::unique_ptr<PreviewWindow> form;
    QString documents;

    void clickSave() {
        QTest::mouseClick(form->findChild<QPushButton*>("PushButton6"), Qt::LeftButton);
    }

  private slots:
    void init() {
        documents = g_home->filePath("Documents");
        QVERIFY(QDir().mkpath(documents));
        prompter = std::make_unique<harness::RecordingPrompter>();
        harness::writeFile(g_home->filePath("kovlar11111111.xls"), "result");
        form = harness::windowHolding(g_home->filePath("kovlar11111111.xls"));
    }
    void cleanup() {
        form.reset();
        prompter.reset();
    }

    void firstTheDocumentsFolderThenTheFolderOfTheLastSave() {
        const QString elsewhere = g_home->filePath("weeks");
        QVERIFY(QDir().mkpath(elsewhere));
        clickSave();  // cancelled: remembers nothing
        prompter->fileNames.push_back(elsewhere + "/week12.xls");
        clickSave();
        clickSave();
        QCOMPARE(prompter->folders, (QStringList{documents, documents, elsewhere}));
        QVERIFY(QFile::exists(elsewhere + "/week12.xls"));
    }

    void aFailedCopyIsNotRemembered() {
        prompter->fileNames.push_back(g_home->filePath("no/such/folder/week12.xls"));
        clickSave();
        QCOMPARE(prompter->reports().size(), 1);  // the copy's failure, statement 130
        clickSave();
        QCOMPARE(prompter->folders, (QStringList{documents, documents}));
    }

    void homeWhenThereIsNoDocumentsFolder() {
        QVERIFY(QDir(documents).removeRecursively());
        clickSave();
        QCOMPARE(prompter->folders, QStringList{QDir::homePath()});
        QCOMPARE(QDir(QDir::homePath()).canonicalPath(), QDir(g_home->path()).canonicalPath());
    }
};

int main(int argc, char** argv) {
    QTemporaryDir home;
    g_home = &home;
    // The documents folder is found from the home folder and the user's
    // folder settings, which this test must not read.
    qputenv("HOME", home.path().toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", home.filePath(".config").toLocal8Bit());
    QApplication app(argc, argv);
    PreviewWindowSaveFolderTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "preview_window_save_folder_qtest.moc"
