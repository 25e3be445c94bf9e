// The import window on a tracker's export: what it shows, the choices it
// offers, and the rows joining the hours list and the store. Real widgets,
// offscreen platform.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include "entry/hours_import_dialog.h"
#include "tests/entry/entry_window_fixture.h"
#include "timesheet/timesheet_store.h"

using namespace tallowby;

namespace {

// Three rows in the week of 4 January 2027, four in the week after, one of
// them of a type no rate is named after.
const QByteArray kExport =
    "Date;Duration;Activity;Note\n"
    "2027-01-04;1:30;Regular;\"kitchen; cabinets\"\n"
    "2027-01-05;2:00;Overtime;\n"
    "2027-01-06;0:45;Regular;\n"
    "2027-01-11;8:00;Regular;\n"
    "2027-01-12;7:30;regular;\n"
    "2027-01-13;1:15;Meetings;\n"
    "2027-01-14;2:00;Vacation;\n";

bool writeExport(const QString& path, const QByteArray& bytes = kExport) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

std::vector<RateEntry> defaultRates() {
    std::vector<RateEntry> rates;
    for (const QString& name : testing::kDefaultRates) rates.push_back({name, "10"});
    return rates;
}

}  // namespace

class HoursImportTest : public QObject, private testing::EntryWindowFixture {
    Q_OBJECT

  private slots:
    void init() { setUp(true); }
    void cleanup() { tearDown(); }

    void theDialogShowsTheFileAndFollowsEveryChoice() {
        const QString path = dir_->filePath("tracker.csv");
        QVERIFY(writeExport(path));
        HoursImportDialog dialog(path, QDate(2027, 1, 4), defaultRates());

        QCOMPARE(dialog.previewTable_->columnCount(), 4);
        QCOMPARE(dialog.previewTable_->horizontalHeaderItem(2)->text(), QString("Activity"));
        QCOMPARE(dialog.previewTable_->rowCount(), 7);
        QCOMPARE(dialog.previewTable_->item(0, 3)->text(), QString("kitchen; cabinets"));
        QCOMPARE(dialog.columnChoices_[0]->currentText(), QString("Date"));
        QCOMPARE(dialog.columnChoices_[1]->currentText(), QString("Duration"));
        QCOMPARE(dialog.columnChoices_[2]->currentText(), QString("(none)"));
        QCOMPARE(dialog.columnChoices_[4]->currentText(), QString("Activity"));

        // The week given holds three rows; the next one holds four.
        QVERIFY(dialog.summaryLabel_->text().startsWith("3 rows will be imported. 4 of 7 rows"));
        QVERIFY(dialog.weekLabel_->text().contains("3 of 7 readable rows"));
        QVERIFY(!dialog.moveWeekButton_->isHidden());
        QVERIFY(dialog.moveWeekButton_->text().endsWith("(4 rows)"));
        QTest::mouseClick(dialog.moveWeekButton_, Qt::LeftButton);
        QCOMPARE(dialog.plan().weekStart(), QDate(2027, 1, 11));
        QVERIFY(dialog.moveWeekButton_->isHidden());
        QVERIFY(dialog.summaryLabel_->text().startsWith("3 rows will be imported."));
        QVERIFY(dialog.summaryLabel_->text().contains("\"Meetings\" (line 7)"));

        // The one unknown type, mapped to Overtime, comes in too.
        QCOMPARE(dialog.typeMapping_->rowCount(), 1);
        QCOMPARE(dialog.typeMapping_->item(0, 0)->text(), QString("Meetings"));
        auto* mapping = qobject_cast<QComboBox*>(dialog.typeMapping_->cellWidget(0, 1));
        QVERIFY(mapping);
        mapping->setCurrentIndex(2);
        QCOMPARE(dialog.summaryLabel_->text(), QString("4 rows will be imported. 3 of 7 rows were "
                                                       "not imported: 3 outside the week of "
                                                       "11 Jan 2027 (lines 2, 3, 4)."));
        QCOMPARE(dialog.plan().result().entries[2].rateType, QString("Overtime"));

        // Without an hours column nothing can be imported, and the window says why.
        dialog.columnChoices_[1]->setCurrentIndex(0);
        QVERIFY(!dialog.importButton_->isEnabled());
        QVERIFY(dialog.summaryLabel_->text().contains("no hours column (looked for"));
        dialog.columnChoices_[1]->setCurrentText("Duration");
        QVERIFY(dialog.importButton_->isEnabled());
        QCOMPARE(dialog.plan().result().entries.size(), std::size_t{4});  // the mapping kept
        // Another column as the type: the notes name no rate.
        dialog.columnChoices_[4]->setCurrentText("Note");
        QVERIFY(!dialog.importButton_->isEnabled());
        QCOMPARE(dialog.typeMapping_->rowCount(), 2);  // "kitchen; cabinets" and no type
    }

    void importAppendsTheRowsMovesTheWeekAndStoresThemAtOnce() {
        openWindow(quietOptions(QDate(2027, 1, 6), testing::resourcesFolder()), false);
        form_->weekStartEdit_->setDate(QDate(2027, 1, 4));
        form_->dayChoice_->setCurrentIndex(0);
        form_->rateChoice_->setCurrentIndex(0);
        form_->hoursEdit_->setTime(QTime(1, 0));
        form_->onAddHoursClicked();
        const QString path = dir_->filePath("tracker.csv");
        QVERIFY(writeExport(path));
        prompter_->openPaths.push_back(path);
        bool driven = false;
        QTimer::singleShot(0, this, [&] {
            auto* dialog = qobject_cast<HoursImportDialog*>(QApplication::activeModalWidget());
            if (!dialog) return;
            QTest::mouseClick(dialog->moveWeekButton_, Qt::LeftButton);
            QTest::mouseClick(dialog->importButton_, Qt::LeftButton);
            driven = true;
        });
        form_->importHoursAction_->trigger();
        QVERIFY(driven);
        QCOMPARE(prompter_->dialogs.back().first, QString("Import Hours from CSV"));

        QCOMPARE(form_->weekStartEdit_->date(), QDate(2027, 1, 11));
        QCOMPARE(form_->hoursList_->topLevelItemCount(), 4);
        // The entry typed before keeps its place and follows the new week.
        QCOMPARE(testing::row(form_->hoursList_, 0).mid(1),
                 (QStringList{"Regular", "01:00", "0", "0"}));
        QCOMPARE(testing::row(form_->hoursList_, 1),
                 (QStringList{QLocale().toString(QDate(2027, 1, 11), "dddd, MMMM d, yyyy"),
                              "Regular", "08:00", "0", "0"}));
        QCOMPARE(testing::rowTexts(form_->hoursList_, 2),
                 (QStringList{"01:00", "08:00", "07:30", "02:00"}));
        QCOMPARE(testing::rowTexts(form_->hoursList_, 4), (QStringList{"0", "0", "0", "3"}));
        const std::vector<QStringList> stored = TimesheetStore(*store_).storedHours();
        QCOMPARE(stored.size(), std::size_t{4});
        QCOMPARE(stored[3].mid(1), (QStringList{"Vacation", "02:00", "3", "3"}));
        QCOMPARE(TimesheetStore(*store_).load(QDate(2027, 1, 6)).weekStart, QDate(2027, 1, 11));
    }

    void cancelAndUnreadableFilesLeaveTheListAlone() {
        openWindow(quietOptions(QDate(2027, 1, 6), testing::resourcesFolder()), false);
        form_->weekStartEdit_->setDate(QDate(2027, 1, 4));
        const QString path = dir_->filePath("tracker.csv");
        QVERIFY(writeExport(path));
        QTimer::singleShot(0, this, [] {
            if (QWidget* dialog = QApplication::activeModalWidget()) dialog->close();
        });
        form_->importHoursFrom(path);
        QCOMPARE(form_->hoursList_->topLevelItemCount(), 0);

        // An empty file gets a message, no window.
        const QString empty = dir_->filePath("empty.csv");
        QVERIFY(writeExport(empty, QByteArray()));
        form_->importHoursFrom(empty);
        QCOMPARE(prompter_->texts(),
                 QStringList{"empty.csv cannot be imported: the file is empty."});
        // Cancelling the file question asks nothing more.
        form_->importHoursFromCsv();
        QCOMPARE(prompter_->texts().size(), 1);
        QCOMPARE(form_->hoursList_->topLevelItemCount(), 0);
        // The hours list offers the import on its own menu.
        QVERIFY(form_->hoursList_->actions().contains(form_->importHoursAction_));
    }
};

QTEST_MAIN(HoursImportTest)
#include "hours_import_qtest.moc"
