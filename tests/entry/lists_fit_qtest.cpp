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
#include "tests/support/scripted_prompter.h"

using namespace tallowby;

namespace {

bool g_scaledRun = false;

// Widest text of a column, header included, as the list draws it.
int contentWidth(QTreeWidget* list, int column) {
    const QFontMetrics metrics(list->font());
    int widest = list->header()->fontMetrics().horizontalAdvance(list->headerItem()->text(column));
    for (int row = 0; row < list->topLevelItemCount(); ++row)
        widest = std::max(widest, metrics.horizontalAdvance(list->topLevelItem(row)->text(column)));
    return widest;
}

}  // namespace

class ListsFitTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<SettingsStore> store_;
    std::unique_ptr<testing::ScriptedPrompter> prompter_;
    std::unique_ptr<EntryWindow> form_;

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
        dir_ = std::make_unique<QTemporaryDir>();
        store_ = std::make_unique<SettingsStore>(dir_->filePath("Marrowick/Marrowick.ini"));
        prompter_ = std::make_unique<testing::ScriptedPrompter>();
        EntryWindowOptions o;
        o.store = store_.get();
        o.homePage = {[] { return 1; }, [](const QString&) {}};
        o.presenceCheck = [] {};
        o.endProgram = [] {};
        o.today = [] { return QDate(2021, 9, 14); };
        form_ = std::make_unique<EntryWindow>(o);
        form_->show();
        QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
        QTest::mouseClick(form_->sampleButton_, Qt::LeftButton);
    }
    void cleanup() {
        form_.reset();
        prompter_.reset();
        store_.reset();
        dir_.reset();
    }

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

    void theSameAtScaleFactorOneAndAHalf() {
        if (g_scaledRun) QSKIP("this is the scaled run");
        QProcess scaled;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("QT_SCALE_FACTOR", "1.5");
        scaled.setProcessEnvironment(environment);
        scaled.start(QCoreApplication::applicationFilePath(),
                     {"--scaled", "theRatesListFitsItsPage", "theHoursListFitsItsPage"});
        QVERIFY(scaled.waitForFinished(120000));
        const QByteArray output = scaled.readAllStandardOutput();
        QVERIFY2(scaled.exitCode() == 0, output.constData());
        QCOMPARE(output.count("PASS   : ListsFitTest::the"), qsizetype(2));
    }
};

int main(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    g_scaledRun = arguments.size() > 1 && arguments[1] == "--scaled";
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    ListsFitTest test;
    if (g_scaledRun) {
        arguments.removeAt(1);
        return QTest::qExec(&test, arguments);
    }
    return QTest::qExec(&test, argc, argv);
}

#include "lists_fit_qtest.moc"
