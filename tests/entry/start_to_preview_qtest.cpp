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
#include "entry/select_all_line_edit.h"
#include "preview/picture_box.h"
#include "preview/preview_window.h"
#include "program/preview_launcher.h"
#include "tests/entry/entry_window_fixture.h"

using namespace tallowby;
using tallowby::preview::PreviewWindow;

class StartToPreviewTest : public QObject, private testing::EntryWindowFixture {
    Q_OBJECT

    PreviewWindow& startRun() {
        return EntryWindowFixture::startRun([this] { ++endings_; });
    }

  private slots:
    void init() { QVERIFY(showQuietWindowWithPreview()); }
    void cleanup() { tearDown(); }

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
        const QString rates = store_->value("Rates");
        QVERIFY2(rates.contains("Regular^11.50"), qPrintable(rates));
        QCOMPARE(store_->value("Hours").count('|'), 33);  // 34 rows
    }
};

QTEST_MAIN(StartToPreviewTest)
#include "start_to_preview_qtest.moc"
