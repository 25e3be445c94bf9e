// The main window's two lists at the default size, with the sample data in
// them: nothing cut at the bottom, no sideways scroll bar, every column at
// least as wide as its content. The test runs itself again with
// QT_SCALE_FACTOR=1.5 and checks the same there.
#include <QApplication>
#include <QHeaderView>
#include <QProcess>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>
#include <memory>

#include "app/settings_store.h"
#include "entry/entry_window.h"
#include "entry/list_fit.h"
#include "tests/entry/entry_window_fixture.h"

using namespace tallowby;

namespace {

using testing::g_scaledRun;

// Widest text of a column, header included, as the list draws it.
int contentWidth(QTreeWidget* list, int column) {
    const QFontMetrics metrics(list->font());
    int widest = list->header()->fontMetrics().horizontalAdvance(list->headerItem()->text(column));
    for (int row = 0; row < list->topLevelItemCount(); ++row)
        widest = std::max(widest, metrics.horizontalAdvance(list->topLevelItem(row)->text(column)));
    return widest;
}

}  // namespace

class ListsFitTest : public QObject, private testing::EntryWindowFixture {
    Q_OBJECT

    void checkFits(QTreeWidget* list, int tab) {
        form_->listTabs_->setCurrentIndex(tab);
        QApplication::processEvents();
        QWidget* page = form_->listTabs_->currentWidget();
        QVERIFY(list->isVisible());
        // The whole list, frame included, lies inside its page.
        QVERIFY2(list->geometry().bottom() < page->height(),
                 qPrintable(QString("list bottom %1, page height %2")
                                .arg(list->geometry().bottom())
                                .arg(page->height())));
        QVERIFY(list->geometry().right() < page->width());
        // More rows than fit: the vertical bar shows, the sideways one does not.
        QVERIFY(list->verticalScrollBar()->isVisible());
        QVERIFY2(!list->horizontalScrollBar()->isVisible(),
                 qPrintable(QString("header %1 wide, viewport %2")
                                .arg(list->header()->length())
                                .arg(list->viewport()->width())));
        QVERIFY(list->header()->length() <= list->viewport()->width());
        for (int c = 0; c < list->columnCount(); ++c) {
            if (list->isColumnHidden(c)) continue;
            QVERIFY2(list->columnWidth(c) >= contentWidth(list, c),
                     qPrintable(QString("column %1: %2 for %3")
                                    .arg(c)
                                    .arg(list->columnWidth(c))
                                    .arg(contentWidth(list, c))));
        }
    }

  private slots:
    void init() {
        setUp();
        EntryWindowOptions o = quietOptions(testing::kSampleToday, QString());
        o.presenceCheck = [] {};
        openWindow(o, false);
        QVERIFY(showWindow());
        QTest::mouseClick(form_->sampleButton_, Qt::LeftButton);
    }
    void cleanup() { tearDown(); }

    void theRatesListFitsItsPage() { checkFits(form_->rateList_, 0); }
    void theHoursListFitsItsPage() {
        QCOMPARE(form_->hoursList_->topLevelItemCount(), 34);
        checkFits(form_->hoursList_, 1);
    }

    void anAddedLongerRowWidensItsColumn() {
        form_->listTabs_->setCurrentIndex(1);
        const int before = form_->hoursList_->columnWidth(1);
        auto* item = new QTreeWidgetItem(form_->hoursList_);
        item->setText(1, QString(40, QLatin1Char('W')));
        QVERIFY(form_->hoursList_->columnWidth(1) > before);
        QVERIFY(form_->hoursList_->columnWidth(1) >= contentWidth(form_->hoursList_, 1));
    }

    void rowsPutInUnderAHoldAreFittedOnceItEnds() {
        form_->listTabs_->setCurrentIndex(1);
        QTreeWidget* list = form_->hoursList_;
        const int before = list->columnWidth(1);
        {
            const list_fit::HeldFitting held(list);
            for (int i = 0; i < 50; ++i) {
                auto* item = new QTreeWidgetItem(list);
                item->setText(1, QString(40, QLatin1Char('W')));
            }
            QCOMPARE(list->columnWidth(1), before);
        }
        QVERIFY(list->columnWidth(1) > before);
        QVERIFY(list->columnWidth(1) >= contentWidth(list, 1));
    }

    void storedRowsLoadFittedToTheirContent() {
        // What the window stored at close comes back at the next start
        // (loaded under one hold) with every column as wide as its text.
        auto* item = new QTreeWidgetItem(form_->hoursList_);
        item->setText(1, QString(40, QLatin1Char('W')));
        form_->close();
        EntryWindowOptions o = quietOptions(testing::kSampleToday, QString());
        o.presenceCheck = [] {};
        openWindow(o, false);
        QVERIFY(showWindow());
        form_->listTabs_->setCurrentIndex(1);
        QApplication::processEvents();
        QTreeWidget* list = form_->hoursList_;
        QCOMPARE(list->topLevelItemCount(), 35);
        QVERIFY(list->columnWidth(1) >= contentWidth(list, 1));
    }

    void theSameAtScaleFactorOneAndAHalf() {
        if (g_scaledRun) QSKIP("this is the scaled run");
        const testing::ScaledRun scaled =
            testing::runScaled("1.5", {"theRatesListFitsItsPage", "theHoursListFitsItsPage"});
        QVERIFY(scaled.finished);
        QVERIFY2(scaled.exitCode == 0, scaled.output.constData());
        QCOMPARE(scaled.output.count("PASS   : ListsFitTest::the"), qsizetype(2));
    }
};

int main(int argc, char** argv) {
    return testing::runTestProgram<ListsFitTest>(argc, argv,
                                                 testing::ProgramLocale::UnitedStatesEnglish);
}

#include "lists_fit_qtest.moc"
