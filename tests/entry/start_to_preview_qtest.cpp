// From the entry window through the generation run to the preview and back,
// with the real widgets under the offscreen platform.
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>
#include <memory>

#include "app/settings_store.h"
#include "entry/entry_window.h"
#include "entry/preview_launcher.h"
#include "entry/select_all_line_edit.h"
#include "preview/picture_box.h"
#include "preview/preview_window.h"
#include "tests/support/scripted_prompter.h"
#include "tests/support/test_paths.h"

using namespace tallowby;

class StartToPreviewTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<SettingsStore> store_;
    std::unique_ptr<testing::ScriptedPrompter> prompter_;
    std::unique_ptr<EntryWindow> form_;
    std::unique_ptr<PreviewLauncher> launcher_;
    int endings_ = 0;

    PreviewWindow& startRun() {
        QTest::mouseClick(form_->startButton_, Qt::LeftButton);
        PreviewWindow* preview = launcher_->preview();
        if (!preview)
            qFatal("no preview after the run: %s", qPrintable(prompter_->texts().join("\n")));
        preview->setEndProgram([this] { ++endings_; });
        return *preview;
    }

  private slots:
    void init() {
        dir_ = std::make_unique<QTemporaryDir>();
        qputenv("TEMP", dir_->path().toUtf8());
        store_ = std::make_unique<SettingsStore>(dir_->filePath("Marrowick/Marrowick.ini"));
        prompter_ = std::make_unique<testing::ScriptedPrompter>();
        EntryWindowOptions o;
        o.store = store_.get();
        o.programFolder = QString::fromUtf8(test_paths::kResourcesDir);
        o.homePage = {[] { return 1; }, [](const QString&) {}};
        o.endProgram = [] {};
        o.today = [] { return QDate(2021, 9, 14); };
        form_ = std::make_unique<EntryWindow>(o);
        launcher_ = std::make_unique<PreviewLauncher>(*form_, o.programFolder);
        form_->setGenerationRunner([this] { launcher_->run(); });
        form_->show();
        QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
        endings_ = 0;
    }
    void cleanup() {
        launcher_.reset();
        form_.reset();
        prompter_.reset();
        store_.reset();
        dir_.reset();
    }

    void sampleDataThenStartShowsThePreviewAndLeavesOnlyTheResult() {
        QTest::mouseClick(form_->sampleButton_, Qt::LeftButton);
        QCOMPARE(form_->hoursList_->topLevelItemCount(), 34);
        PreviewWindow& preview = startRun();
        QVERIFY2(prompter_->texts().isEmpty(), qPrintable(prompter_->texts().join("\n")));
        QVERIFY(preview.isVisible());
        QVERIFY(!form_->isVisible());
        QCOMPARE(form_->windowPointer(), WindowPointer::Arrow);

        const QFileInfo result(preview.resultFile_);
        QVERIFY(result.isFile());
        QVERIFY(result.fileName().startsWith("kovlar"));
        // The run reaches its folder through the open folder; the link leads to it.
        const QDir folder(result.dir().canonicalPath());
        QVERIFY(folder.absolutePath().startsWith(QDir(dir_->path()).canonicalPath()));
        QCOMPARE(QFileInfo(folder.absolutePath()).permissions() &
                     (QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ReadGroup),
                 QFileDevice::Permissions());
        QCOMPARE(folder.entryList(QDir::Files), QStringList{result.fileName()});

        // The preview holds the drawn sheet at zoom 1.0, from the top-left corner.
        QCOMPARE(preview.zoom(), 1.0f);
        QVERIFY(preview.baseWidth() > 500 * 15);
        QVERIFY(preview.picture()->width() > 500);
    }

    void backDeletesTheResultAndASecondRunIsPreparedAfresh() {
        PreviewWindow& preview = startRun();
        const QString first = preview.resultFile_;
        preview.onZoomOutClicked();  // zoom out
        QCOMPARE(preview.zoom(), 0.75f);
        preview.onBackClicked();  // back
        QVERIFY(!QFileInfo::exists(first));
        QVERIFY(form_->isVisible());
        QVERIFY(!preview.isVisible());

        form_->companyEdit_->setText("Second Company");
        PreviewWindow& again = startRun();
        QCOMPARE(&again, &preview);
        QVERIFY(again.isVisible());
        QVERIFY(QFileInfo::exists(again.resultFile_));
        QCOMPARE(again.zoom(), 1.0f);
        QVERIFY(prompter_->texts().isEmpty());
    }

    void closingThePreviewDeletesTheResultSavesTheListsAndEnds() {
        QTest::mouseClick(form_->sampleButton_, Qt::LeftButton);
        PreviewWindow& preview = startRun();
        const QString result = preview.resultFile_;
        preview.close();
        QVERIFY(!QFileInfo::exists(result));
        QCOMPARE(endings_, 1);
        const QString rates = store_->GetSetting("Rates");
        QVERIFY2(rates.contains("Regular^11.50"), qPrintable(rates));
        QCOMPARE(store_->GetSetting("Hours").count('|'), 33);  // 34 rows
    }
};

QTEST_MAIN(StartToPreviewTest)
#include "start_to_preview_qtest.moc"
