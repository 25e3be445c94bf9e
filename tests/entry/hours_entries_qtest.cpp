// The hours list tells the truth: Add refuses entries that would have no
// place, the labels follow the week start and the rate descriptions, and a
// run names the entries it left out once. Real widgets, offscreen platform.
#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeEdit>
#include <QTreeWidget>
#include <cmath>
#include <memory>

#include "app/settings_store.h"
#include "entry/entry_window.h"
#include "entry/select_all_line_edit.h"
#include "preview/preview_window.h"
#include "program/preview_launcher.h"
#include "tests/entry/entry_window_fixture.h"
#include "workbook/engine/biff/workbook_io.h"

using namespace tallowby;

class HoursEntriesTest : public QObject, private testing::EntryWindowFixture {
    Q_OBJECT

    void add(int day, const QString& type, QTime hours) {
        form_->dayChoice_->setCurrentIndex(day);
        form_->rateChoice_->setEditText(type);
        form_->hoursEdit_->setTime(hours);
        form_->onAddHoursClicked();
    }

  private slots:
    void init() {
        setUp(true);
        // A Monday.
        openWindow(quietOptions(QDate(2020, 11, 30), testing::resourcesFolder()), true);
    }
    void cleanup() { tearDown(); }

    void addRefusesAnEntryWithoutADayOrAType() {
        form_->rateChoice_->setCurrentIndex(0);  // a type, no day
        form_->onAddHoursClicked();
        form_->dayChoice_->setCurrentIndex(3);  // a day, no type
        form_->rateChoice_->setCurrentIndex(-1);
        form_->rateChoice_->clearEditText();
        form_->onAddHoursClicked();
        add(2, "Overtime shift", QTime(1, 0));  // typed, matching no rate
        QCOMPARE(form_->hoursList_->topLevelItemCount(), 0);
        QCOMPARE(prompter_->texts(),
                 (QStringList{"Choose a day for the hours.", "Choose a type for the hours.",
                              "Choose a type for the hours."}));
        // The refused choices stay for the user to complete.
        QCOMPARE(form_->dayChoice_->currentIndex(), 2);
        add(2, "Overtime", QTime(1, 0));
        QCOMPARE(form_->hoursList_->topLevelItemCount(), 1);
        QCOMPARE(testing::rowTexts(form_->hoursList_, 4), QStringList{"1"});
    }

    void dayTextsFollowTheWeekStart() {
        add(1, "Regular", QTime(2, 0));
        add(6, "Other", QTime(3, 0));
        QCOMPARE(testing::rowTexts(form_->hoursList_, 0),
                 (QStringList{"Tuesday, December 1, 2020", "Sunday, December 6, 2020"}));
        form_->weekStartEdit_->setDate(QDate(2020, 12, 7));
        QCOMPARE(testing::rowTexts(form_->hoursList_, 0),
                 (QStringList{"Tuesday, December 8, 2020", "Sunday, December 13, 2020"}));
        QCOMPARE(testing::rowTexts(form_->hoursList_, 3), (QStringList{"1", "6"}));
        QVERIFY(prompter_->texts().isEmpty());
    }

    void typeTextsFollowAnEditedDescription() {
        add(0, "Overtime", QTime(2, 0));
        add(1, "Regular", QTime(1, 0));
        add(2, "Overtime", QTime(4, 0));
        form_->rateList_->setCurrentItem(form_->rateList_->topLevelItem(1));
        form_->rateNameEdit_->setText("Late shift");
        form_->rateAmountEdit_->setText("17.25");
        form_->onEditRateClicked();
        QCOMPARE(testing::rowTexts(form_->hoursList_, 1),
                 (QStringList{"Late shift", "Regular", "Late shift"}));
        QCOMPARE(testing::rowTexts(form_->hoursList_, 4), (QStringList{"1", "0", "1"}));
    }

    void leftOutEntriesAreNamedInOneMessage() {
        add(0, "Regular", QTime(8, 0));
        add(0, "Regular", QTime(9, 0));
        // Entries from an older list, kept as the store gave them: no day, no
        // type, and a rate index past the list.
        for (const QStringList& fields : {QStringList{"", "Regular", "01:00", "-1", "0"},
                                          QStringList{"Monday", "", "02:00", "0", "-1"},
                                          QStringList{"Monday", "Gone", "03:00", "0", "12"}})
            new QTreeWidgetItem(form_->hoursList_, fields);
        QTest::mouseClick(form_->startButton_, Qt::LeftButton);
        QVERIFY(launcher_->preview());
        const QStringList texts = prompter_->texts();
        QCOMPARE(texts.size(), 1);
        QVERIFY(texts[0].startsWith("3 hours entries were left out"));
        QVERIFY(texts[0].contains("\n(none), Regular, 01:00"));
        QVERIFY(texts[0].contains("\nMonday, (none), 02:00"));
        QVERIFY(texts[0].contains("\nMonday, Gone, 03:00"));
        // Nothing is removed from the list.
        QCOMPARE(form_->hoursList_->topLevelItemCount(), 5);
    }

    void sampleDataOnAFreshStartCountsAllItsHours() {
        QTest::mouseClick(form_->sampleButton_, Qt::LeftButton);
        QTest::mouseClick(form_->startButton_, Qt::LeftButton);
        QVERIFY2(prompter_->texts().isEmpty(), qPrintable(prompter_->texts().join("\n")));
        QVERIFY(launcher_->preview());
        const engine::Workbook wb =
            engine::readWorkbookFile(launcher_->preview()->resultFile_.toStdString());
        const engine::Sheet& s = wb.sheets.at(0);
        auto at = [&](int row, int col) {
            return s.find(static_cast<uint16_t>(row - 1), static_cast<uint16_t>(col - 1))->value;
        };
        QCOMPARE(at(11, 15).text, std::string("Other"));         // O11: the 14th rate type
        QCOMPARE(at(11, 16).text, std::string("TOTAL\nHOURS"));  // P11
        // 34 entries of two hours; pay from the sample rates in columns I..O.
        QVERIFY(std::fabs(at(19, 16).number * 24 - 68) < 1e-9);
        QVERIFY(std::fabs(at(23, 4).number * 24 - 68) < 1e-9);
        QVERIFY(std::fabs(at(21, 16).number - 186.72) < 1e-9);
        QVERIFY(std::fabs(at(24, 4).number - 186.72) < 1e-9);
    }

    void thousandsOfLeftOutEntriesGiveOneShortMessage() {
        add(0, "Regular", QTime(8, 0));
        for (int i = 0; i < 3000; ++i)
            new QTreeWidgetItem(form_->hoursList_,
                                QStringList{"Day", "Type", QStringLiteral("%1").arg(i), "9", "0"});
        QTest::mouseClick(form_->startButton_, Qt::LeftButton);
        const QStringList texts = prompter_->texts();
        QCOMPARE(texts.size(), 1);
        QVERIFY(texts[0].startsWith("3000 hours entries were left out"));
        QVERIFY(texts[0].contains("... and 2980 more."));
        QVERIFY(texts[0].count('\n') < 30);
    }
};

QTEST_MAIN(HoursEntriesTest)
#include "hours_entries_qtest.moc"
