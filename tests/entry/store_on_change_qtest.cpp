// What the entry window stores and when: every list change at once, nothing
// at start-up, a failed save told once and asked about at close; and one run
// per Start however often it is pressed. Real widgets, offscreen platform.
#include <sys/stat.h>

#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeEdit>
#include <QTreeWidget>
#include <cerrno>
#include <memory>

#include "app/atomic_file.h"
#include "app/settings_store.h"
#include "entry/entry_window.h"
#include "entry/select_all_line_edit.h"
#include "preview/preview_window.h"
#include "program/preview_launcher.h"
#include "tests/entry/entry_window_fixture.h"
#include "tests/support/file_bytes.h"
#include "tests/support/full_disk.h"

using namespace tallowby;

namespace {

// The inode and modification time: any write through the atomic writer
// gives the file a new inode.
std::pair<ino_t, qint64> identity(const QString& path) {
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0) return {0, 0};
    return {st.st_ino, static_cast<qint64>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec};
}

bool writeStoreFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// Makes every store write fail at its flush, as a broken disk would, while alive.
struct FailingDisk {
    AtomicFileWriter::SystemCalls calls;
    FailingDisk() {
        calls.fsync = [](int) {
            errno = EIO;
            return -1;
        };
        AtomicFileWriter::setSystemCallsForTesting(&calls);
    }
    ~FailingDisk() { AtomicFileWriter::setSystemCallsForTesting(nullptr); }
};

const QByteArray kFullStore =
    "[Tallowby]\ntxtName=ACME\ntxtLocation=1 Main St\ntxtCity=Springfield\ntxtPhone=0123456\n"
    "txtEmp=Ana\ntxtSVisor=Bo\ndtpDate=2021-08-30\nRates=Regular^11.50|Overtime^12.70\n"
    "Hours=Monday, August 30, 2021^Regular^08:00^0^0\nTabSel=1\n";

}  // namespace

class StoreOnChangeTest : public QObject, private testing::EntryWindowFixture {
    Q_OBJECT

    // What the file says now, read by a store of its own.
    QString stored(const char* key) const { return SettingsStore(store_->path()).value(key); }

    void add(EntryWindow& form, int day, int type, QTime hours) {
        form.dayChoice_->setCurrentIndex(day);
        form.rateChoice_->setCurrentIndex(type);
        form.hoursEdit_->setTime(hours);
        form.addHoursButton_->click();
    }

    // The window's close box: true when the window closed.
    static bool closeBox(EntryWindow& form) { return form.close(); }

  private slots:
    void init() { setUp(true); }
    void cleanup() { tearDown(); }

    void everyListChangeIsStoredAtOnce() {
        auto form = start();
        form->weekStartEdit_->setDate(QDate(2021, 8, 30));
        form->listTabs_->setCurrentIndex(1);
        QCOMPARE(stored("Hours"), QString());
        QCOMPARE(stored("TabSel"), "1");

        add(*form, 0, 1, QTime(2, 15));
        QCOMPARE(stored("Hours"), "Monday, August 30, 2021^Overtime^02:15^0^1");
        add(*form, 6, 0, QTime(1, 0));
        QCOMPARE(stored("Hours"),
                 "Monday, August 30, 2021^Overtime^02:15^0^1|"
                 "Sunday, September 5, 2021^Regular^01:00^6^0");

        form->hoursList_->setCurrentItem(form->hoursList_->topLevelItem(0));
        form->deleteHoursButton_->click();
        QCOMPARE(stored("Hours"), "Sunday, September 5, 2021^Regular^01:00^6^0");

        form->rateList_->setCurrentItem(form->rateList_->topLevelItem(0));
        form->rateNameEdit_->setText("Day rate");
        form->rateAmountEdit_->setText("11.50");
        form->editRateButton_->click();
        QVERIFY(stored("Rates").startsWith("Day rate^11.50|Overtime^|"));
        // The entry of that rate shows its new description, in the store too.
        QCOMPARE(stored("Hours"), "Sunday, September 5, 2021^Day rate^01:00^6^0");

        // A new week start relabels the entries' days, stored with the date.
        form->weekStartEdit_->setDate(QDate(2021, 9, 6));
        QCOMPARE(stored("dtpDate"), "2021-09-06");
        QCOMPARE(stored("Hours"), "Sunday, September 12, 2021^Day rate^01:00^6^0");

        // The window holds typed data, so the sample asks first.
        prompter_->answers.push_back(Prompter::Answer::Yes);
        form->sampleButton_->click();
        QCOMPARE(stored("Rates").count('|') + 1, 14);
        QCOMPARE(stored("Hours").count('|') + 1, 35);
        QCOMPARE(stored("txtName"), form->companyEdit_->text());
        QCOMPARE(prompter_->messages.size(), size_t{1});  // the sample's question only
        QCOMPARE(form->windowTitle(), "Tallowby");
    }

    void startingAndClosingWithNothingChangedWritesNothing() {
        QVERIFY(writeStoreFile(store_->path(), kFullStore));
        const auto before = identity(store_->path());
        {
            auto form = start();
            QCOMPARE(form->companyEdit_->text(), "ACME");
            QCOMPARE(form->hoursList_->topLevelItemCount(), 1);
            QCOMPARE(form->listTabs_->currentIndex(), 1);
            QVERIFY(closeBox(*form));
            QCOMPARE(endings_, 1);
        }
        QCOMPARE(identity(store_->path()), before);
        QCOMPARE(testing::readFile(store_->path()), kFullStore);
        QVERIFY(prompter_->texts().isEmpty());

        // A stored week start in another form is shown, not written back.
        const QByteArray otherForm = QByteArray(kFullStore).replace("2021-08-30", "8/30/2021");
        QVERIFY(writeStoreFile(store_->path(), otherForm));
        const auto again = identity(store_->path());
        {
            store_ = std::make_unique<SettingsStore>(store_->path());
            auto form = start();
            QCOMPARE(form->weekStartEdit_->date(), QDate(2021, 8, 30));
        }
        QCOMPARE(identity(store_->path()), again);
    }

    void oddSettingsFilesAreToldOnceInTheWindow() {
        const QByteArray files[] = {"[Other]\ntxtName=elsewhere\n",
                                    "[Tallowby]\ntxtName=First\ntxtEmp=Ana\ntxtName=Second\n"};
        const QString told[] = {"has no [Tallowby] section", "gives txtName more than once"};
        const QString company[] = {"", "First"};
        for (int i = 0; i < 2; ++i) {
            QVERIFY(writeStoreFile(store_->path(), files[i]));
            store_ = std::make_unique<SettingsStore>(store_->path());
            prompter_->messages.clear();
            auto form = start();
            QCOMPARE(prompter_->messages.size(), size_t{1});
            QVERIFY2(prompter_->messages[0].text.contains(told[i]),
                     qPrintable(prompter_->messages[0].text));
            QCOMPARE(prompter_->messages[0].icon, Prompter::Icon::Warning);
            QCOMPARE(form->companyEdit_->text(), company[i]);
            QCOMPARE(testing::readFile(store_->path()), files[i]);
        }
    }

    void aFailedSaveIsToldOnceAndClosingAsks() {
        auto form = start();
        {
            FailingDisk disk;
            QTest::keyClicks(form->companyEdit_, "ACME");
            form->listTabs_->setCurrentIndex(1);
            add(*form, 0, 0, QTime(1, 0));
            prompter_->answers.push_back(Prompter::Answer::Yes);  // the sample asks first
            form->sampleButton_->click();
        }
        // The failure once, then the sample's question.
        QCOMPARE(prompter_->messages.size(), size_t{2});
        const QString told = prompter_->messages[0].text;
        QVERIFY2(told.contains("Input/output error"), qPrintable(told));
        QVERIFY(told.contains("Not saved: the company name."));
        QVERIFY(form->storeWriteFailures() > 10);
        QCOMPARE(form->windowTitle(), "Tallowby (not saved)");
        QVERIFY(!QFile::exists(store_->path()));

        // The disk is back: the next change stores everything and the mark goes.
        QTest::keyClicks(form->phoneEdit_, "5");
        QCOMPARE(form->windowTitle(), "Tallowby");
        QCOMPARE(stored("txtName"), form->companyEdit_->text());  // the sample's, typed over "ACME"
        QCOMPARE(stored("Hours").count('|') + 1, 35);
        QCOMPARE(prompter_->messages.size(), size_t{2});

        // Failing again at close: asked, and "Close anyway" ends the program
        // with the store behind (the program then exits with 1).
        FailingDisk disk;
        QTest::keyClicks(form->phoneEdit_, "6");
        prompter_->answers.push_back(Prompter::Answer::CloseAnyway);
        QVERIFY(closeBox(*form));
        QCOMPARE(prompter_->messages.size(), size_t{3});
        QCOMPARE(prompter_->messages[2].buttons, Prompter::Buttons::CloseAnywayCancel);
        QCOMPARE(endings_, 1);
        QVERIFY(store_->hasUnsavedChanges());
    }

    void aFullDiskShowsOneMessageAndClosingAsks() {
        testing::FullDisk disk;
        if (!disk.skipReason().empty()) QSKIP(disk.skipReason().c_str());
        const QString path = disk.filePath("Marrowick.ini");
        QVERIFY(writeStoreFile(path, kFullStore));
        QCOMPARE(disk.fill(), 0);
        store_ = std::make_unique<SettingsStore>(path);

        // Start-up writes nothing, so a full disk shows nothing yet.
        auto form = start();
        QCOMPARE(form->companyEdit_->text(), "ACME");
        QVERIFY(prompter_->texts().isEmpty());

        QTest::keyClicks(form->employeeEdit_, " Example");
        add(*form, 1, 1, QTime(3, 0));
        QCOMPARE(prompter_->messages.size(), size_t{1});
        QVERIFY2(prompter_->messages[0].text.contains("No space left on device"),
                 qPrintable(prompter_->messages[0].text));
        QVERIFY(prompter_->messages[0].text.contains("Not saved: the employee name."));
        QCOMPARE(form->windowTitle(), "Tallowby (not saved)");

        // Cancel keeps the window and what was typed.
        prompter_->answers.push_back(Prompter::Answer::Cancel);
        QVERIFY(!closeBox(*form));
        QCOMPARE(prompter_->messages.size(), size_t{2});
        QVERIFY(prompter_->messages[1].text.contains("No space left on device"));
        QCOMPARE(endings_, 0);
        QCOMPARE(testing::readFile(path), kFullStore);
        QCOMPARE(disk.entries().filter("Marrowick").size(), 1);  // no leftovers

        // Room again: the close stores everything and asks nothing.
        QVERIFY(QFile::remove(disk.filePath(".filler")));
        QVERIFY(closeBox(*form));
        QCOMPARE(endings_, 1);
        QCOMPARE(prompter_->messages.size(), size_t{2});
        QCOMPARE(stored("txtEmp"), "Ana Example");
        QVERIFY(stored("Hours").endsWith("^Overtime^03:00^1^1"));
        struct stat st {};
        QCOMPARE(::stat(QFile::encodeName(path).constData(), &st), 0);
        QCOMPARE(st.st_mode & 0777, 0600u);
    }

    void startPressedTwiceGivesOneRun() {
        openWindow(quietOptions(testing::kSampleToday, testing::resourcesFolder()), true);
        QVERIFY(showWindow());
        QTest::mouseClick(form_->sampleButton_, Qt::LeftButton);
        int runs = 0;
        bool heldDuringRun = false;
        bool inRun = false;
        bool eventsRanInsideRun = false;
        form_->setGenerationRunner([&] {
            ++runs;
            heldDuringRun = !form_->startButton_->isEnabled() && !form_->sampleButton_->isEnabled();
            // A click reaching the window while the run shows a message.
            form_->onStartClicked();
            // Queued work waits for the run to end: the run lets no events in.
            QMetaObject::invokeMethod(
                form_.get(), [&] { eventsRanInsideRun = eventsRanInsideRun || inRun; },
                Qt::QueuedConnection);
            inRun = true;
            launcher_->run();
            inRun = false;
        });
        // Two clicks queued before the first is handled.
        for (int i = 0; i < 2; ++i)
            QMetaObject::invokeMethod(form_->startButton_, &QPushButton::click,
                                      Qt::QueuedConnection);
        QTRY_VERIFY(launcher_->preview() && launcher_->preview()->isVisible());
        QTest::qWait(50);
        QCOMPARE(runs, 1);
        QVERIFY(heldDuringRun);
        QVERIFY(!eventsRanInsideRun);
        QVERIFY(form_->startButton_->isEnabled());
        QVERIFY(form_->sampleButton_->isEnabled());
        QVERIFY2(prompter_->texts().isEmpty(), qPrintable(prompter_->texts().join("\n")));
        launcher_->preview()->setEndProgram([] {});
    }
};

int main(int argc, char** argv) {
    return testing::runTestProgram<StoreOnChangeTest>(argc, argv,
                                                      testing::ProgramLocale::UnitedStatesEnglish);
}

#include "store_on_change_qtest.moc"
