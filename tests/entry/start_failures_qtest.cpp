// A generation run that fails: its error reports are shown over the entry
// window, in the order the statements failed, and the window stays.
#include <QApplication>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "app/error_report.h"
#include "app/settings_store.h"
#include "entry/entry_window.h"
#include "entry/preview_launcher.h"
#include "tests/support/scripted_prompter.h"
#include "tests/support/test_paths.h"

using namespace tallowby;

class StartFailuresTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<SettingsStore> store_;
    std::unique_ptr<testing::ScriptedPrompter> prompter_;
    std::unique_ptr<EntryWindow> form_;
    std::unique_ptr<PreviewLauncher> launcher_;

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
    }
    void cleanup() {
        launcher_.reset();
        form_.reset();
        prompter_.reset();
        store_.reset();
        dir_.reset();
    }

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
