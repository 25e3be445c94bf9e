// A generation run that fails: its error reports are shown over the entry
// window, in the order the statements failed, and the window stays.
#include <QApplication>
#include <QPushButton>
#include <QTest>

#include "app/error_report.h"
#include "entry/entry_window.h"
#include "program/preview_launcher.h"
#include "tests/entry/entry_window_fixture.h"

using namespace tallowby;

class StartFailuresTest : public QObject, private testing::EntryWindowFixture {
    Q_OBJECT

  private slots:
    void init() { QVERIFY(showQuietWindowWithPreview()); }
    void cleanup() { tearDown(); }

    void aTemplateThatCannotBeOpenedIsReportedOverTheEntryWindow() {
        launcher_->extraHooks().templateBytes = [] { return QByteArray("not a workbook"); };
        QTest::mouseClick(form_->startButton_, Qt::LeftButton);
        QCOMPARE(prompter_->reportedLines(), QList<int>{108});
        const auto& report = prompter_->messages.at(0);
        QCOMPARE(report.caption, QString::fromLatin1(error_report::kCaption));
        QCOMPARE(report.icon, Prompter::Icon::Warning);
        QVERIFY2(report.text.contains("\r\nin Tallowby2021/08/31.Form1.PushButton6_Click at line "
                                      "108\r\r"),
                 qPrintable(report.text));
        QVERIFY(!launcher_->preview());
        QVERIFY(form_->isVisible());
        QCOMPARE(form_->windowPointer(), WindowPointer::Arrow);
    }
};

QTEST_MAIN(StartFailuresTest)
#include "start_failures_qtest.moc"
