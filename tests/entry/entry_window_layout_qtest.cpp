// The main window's geometry, fonts, focus order and hover pointer. Real
// widgets under the offscreen platform.
#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeEdit>
#include <QTreeWidget>
#include <memory>

#include "entry/entry_window.h"
#include "entry/select_all_line_edit.h"
#include "tests/entry/entry_window_fixture.h"

using namespace tallowby;
using namespace tallowby::testing;

class EntryWindowLayoutTest : public EntryWindowTest {
    Q_OBJECT

    static QRect inWindow(const EntryWindow& form, const QWidget* w) {
        return QRect(w->mapTo(&form, QPoint(0, 0)), w->size());
    }

    // Top to bottom, left to right as designed, whatever the window's size.
    static void checkOrder(const EntryWindow& form) {
        const QRect start = inWindow(form, form.startButton_);
        const QRect help = inWindow(form, form.helpButton_);
        const QRect sample = inWindow(form, form.sampleButton_);
        const QRect general = inWindow(form, form.generalBox_);
        const QRect tabs = inWindow(form, form.listTabs_);
        QVERIFY(start.bottom() < help.top());
        QCOMPARE(help.top(), sample.top());
        QVERIFY(help.right() < sample.left());
        QVERIFY(help.bottom() < general.top());
        QVERIFY(general.bottom() < tabs.top());
        for (const QRect& r : {help, general, tabs}) QCOMPARE(r.left(), start.left());
        for (const QRect& r : {sample, general, tabs}) QCOMPARE(r.right(), start.right());
        // The two buttons share the row as 4560 : 4440 twips once the
        // captions have the room they need.
        if (sample.width() > form.sampleButton_->sizeHint().width())
            QVERIFY(qAbs(help.width() * 4440 - sample.width() * 4560) <= 4560);
        // The general fields one under another, each right of its caption.
        const QList<QWidget*> fields = {
            form.companyEdit_,  form.addressEdit_,    form.cityEdit_,     form.phoneEdit_,
            form.employeeEdit_, form.supervisorEdit_, form.weekStartEdit_};
        for (qsizetype i = 0; i + 1 < fields.size(); ++i) {
            QVERIFY(fields[i]->geometry().bottom() < fields[i + 1]->geometry().top());
            QCOMPARE(fields[i]->geometry().left(), fields[i + 1]->geometry().left());
        }
        for (QLabel* label : form.generalBox_->findChildren<QLabel*>())
            QVERIFY(label->geometry().right() < form.companyEdit_->geometry().left());
        // On the page shown the list lies under the fields and buttons.
        if (form.ratesPage_->isVisible()) {
            QVERIFY(form.rateAmountEdit_->geometry().bottom() <
                    form.editRateButton_->geometry().top());
            QVERIFY(form.editRateButton_->geometry().bottom() < form.rateList_->geometry().top());
        } else {
            QVERIFY(form.hoursEdit_->geometry().bottom() < form.addHoursButton_->geometry().top());
            QVERIFY(form.addHoursButton_->geometry().right() <
                    form.deleteHoursButton_->geometry().left());
            if (form.deleteHoursButton_->width() > form.deleteHoursButton_->sizeHint().width())
                QVERIFY(qAbs(form.addHoursButton_->width() - form.deleteHoursButton_->width()) <=
                        1);
            QVERIFY(form.deleteHoursButton_->geometry().bottom() <
                    form.hoursList_->geometry().top());
        }
    }

  private slots:
    void windowGeometryAndFonts() {
        auto form = start();
        showAndActivate(*form);
        // Opens at the designed size; it can be resized and maximised, and
        // its minimum is no larger than that size.
        QCOMPARE(form->size(), QSize(624, 658));
        QVERIFY(form->minimumWidth() <= 624 && form->minimumHeight() <= 658);
        QVERIFY(form->maximumWidth() > 2000 && form->maximumHeight() > 2000);
        QVERIFY(form->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
        // At that size the controls sit where the designed twips put them
        // (the layout reproduces the old fixed positions).
        QCOMPARE(inWindow(*form, form->startButton_), QRect(8, 8, 608, 27));
        QCOMPARE(inWindow(*form, form->helpButton_), QRect(8, 42, 304, 27));
        QCOMPARE(inWindow(*form, form->sampleButton_), QRect(320, 42, 296, 27));
        QCOMPARE(inWindow(*form, form->generalBox_).topLeft(), QPoint(8, 74));
        QCOMPARE(inWindow(*form, form->generalBox_).width(), 608);
        QCOMPARE(inWindow(*form, form->listTabs_).left(), 8);
        QCOMPARE(inWindow(*form, form->listTabs_).width(), 608);
        QCOMPARE(inWindow(*form, form->listTabs_).bottom(), 658 - 10 - 1);
        checkOrder(*form);
        form->listTabs_->setCurrentIndex(1);
        QApplication::processEvents();
        checkOrder(*form);
        // The columns share the list's width in the designed proportion
        // (4300 : 2900 twips) beyond their content.
        const int rateColumns = form->rateList_->columnWidth(0) + form->rateList_->columnWidth(1);
        QVERIFY(rateColumns <= form->rateList_->viewport()->width());
        QVERIFY(rateColumns >= form->rateList_->viewport()->width() - 2);
        QVERIFY(form->rateList_->columnWidth(0) > form->rateList_->columnWidth(1));
        QVERIFY(form->hoursList_->isColumnHidden(3));
        QVERIFY(form->hoursList_->isColumnHidden(4));
        QCOMPARE(form->font().family(), QString("Arial"));
        QVERIFY(form->font().bold());
        QCOMPARE(form->font().pointSizeF(), 9.0);
        QCOMPARE(form->startButton_->font().pointSizeF(), 11.25);
        QCOMPARE(form->listTabs_->tabBar()->font().pointSizeF(), 11.25);
        QCOMPARE(form->listTabs_->tabText(0), QString("Hour Rates"));
        QCOMPARE(form->listTabs_->tabText(1), QString("Employee Hours"));
        QCOMPARE(form->weekStartEdit_->displayFormat(), QString("dd-MMM-yyyy"));
        QCOMPARE(form->hoursEdit_->displayFormat(), QString("HH:mm"));
        QStringList captions;
        for (auto* label : form->generalBox_->findChildren<QLabel*>()) captions << label->text();
        QCOMPARE(captions,
                 (QStringList{"Company Name:", "Address:", "City, ST  ZIP Code:", "Phone:",
                              "Employee Name:", "Supervisor Name:", " Week Start:"}));
        QCOMPARE(form->palette().color(QPalette::Window), QColor(Qt::white));
    }

    void theListsTakeTheRoomAWindowGains() {
        auto form = start();
        showAndActivate(*form);
        form->listTabs_->setCurrentIndex(1);
        QApplication::processEvents();
        const QSize hours = form->hoursList_->size();
        form->listTabs_->setCurrentIndex(0);
        QApplication::processEvents();
        const QSize rates = form->rateList_->size();
        const int generalHeight = form->generalBox_->height();
        const int fieldWidth = form->companyEdit_->width();
        const int buttonHeight = form->startButton_->height();
        form->resize(1100, 950);
        QApplication::processEvents();
        QCOMPARE(form->rateList_->width(), rates.width() + 1100 - 624);
        QCOMPARE(form->rateList_->height(), rates.height() + 950 - 658);
        QCOMPARE(form->generalBox_->height(), generalHeight);
        QCOMPARE(form->startButton_->height(), buttonHeight);
        QCOMPARE(form->generalBox_->width(), 1100 - 16);
        QCOMPARE(form->companyEdit_->width(), fieldWidth + 1100 - 624);
        checkOrder(*form);
        form->listTabs_->setCurrentIndex(1);
        QApplication::processEvents();
        checkOrder(*form);
        QCOMPARE(form->hoursList_->size(), hours + QSize(1100 - 624, 950 - 658));
        // The columns share the wider list too; nothing scrolls sideways.
        QVERIFY(form->hoursList_->header()->length() <= form->hoursList_->viewport()->width());
        QVERIFY(form->hoursList_->header()->length() >= form->hoursList_->viewport()->width() - 3);

        // At its minimum size everything is still there, in order, without
        // the page having to scroll.
        form->resize(form->minimumSize());
        QApplication::processEvents();
        QVERIFY(!form->scroller_->verticalScrollBar()->isVisible());
        QVERIFY(!form->scroller_->horizontalScrollBar()->isVisible());
        QVERIFY(form->rateList_->height() > 40);
        checkOrder(*form);
    }

    void onAScaledSmallScreenTheWholeWindowIsOnScreen() {
        if (g_scaledRun) QSKIP("this is the scaled run");
        const VirtualScreen screen(1280, 1024);
        QVERIFY(screen.ready());
        const ScaledRun scaled = runScaled("2", {"theFrameFitsTheScreen"}, &screen);
        QVERIFY(scaled.finished);
        QVERIFY2(scaled.exitCode == 0, scaled.output.constData());
        QVERIFY2(scaled.output.contains("PASS   : EntryWindowLayoutTest::theFrameFitsTheScreen"),
                 scaled.output.constData());
    }

    // Run by the test above at QT_SCALE_FACTOR=2 on a 1280 x 1024 screen,
    // which leaves 640 x 512 logical pixels: less than the designed height.
    void theFrameFitsTheScreen() {
        if (!g_scaledRun) QSKIP("only in the scaled run");
        auto form = start();
        showAndActivate(*form);
        const QRect available = form->screen()->availableGeometry();
        QCOMPARE(available.size(), QSize(640, 512));
        QVERIFY2(available.contains(form->frameGeometry()),
                 qPrintable(QString("frame %1,%2 %3x%4")
                                .arg(form->frameGeometry().x())
                                .arg(form->frameGeometry().y())
                                .arg(form->frameGeometry().width())
                                .arg(form->frameGeometry().height())));
        QVERIFY(form->height() <= 512);
        // The page scrolls: the top buttons show first, the lists are reached.
        QScrollBar* bar = form->scroller_->verticalScrollBar();
        QVERIFY(bar->isVisible());
        QCOMPARE(bar->value(), 0);
        QVERIFY(form->startButton_->visibleRegion().boundingRect().size() ==
                form->startButton_->size());
        bar->setValue(bar->maximum());
        QVERIFY(bar->value() > 0);
        QCOMPARE(form->listTabs_->visibleRegion().boundingRect().bottom(),
                 form->listTabs_->height() - 1);
        QVERIFY(form->rateList_->height() > 40);
    }

    void theWindowsPlaceIsRememberedAcrossStarts() {
        {
            auto form = start();
            showAndActivate(*form);
            form->setGeometry(60, 40, 700, 720);
            form->hide();
        }
        QCOMPARE(store_->value("EntryWindowPlace"), QString("60,40,700,720"));
        auto again = start();
        showAndActivate(*again);
        QCOMPARE(again->geometry(), QRect(60, 40, 700, 720));
        // A place off every screen comes back onto it, shrunk to fit.
        again->hide();
        store_->setValue("EntryWindowPlace", "5000,-300,2000,700");
        auto moved = start();
        showAndActivate(*moved);
        const QRect screen = moved->screen()->availableGeometry();
        QVERIFY(screen.contains(moved->frameGeometry()));
        QCOMPARE(moved->height(), 700);
        // A damaged place is ignored: centred at the designed size.
        moved->hide();
        store_->setValue("EntryWindowPlace", "wide");
        auto centred = start();
        showAndActivate(*centred);
        QCOMPARE(centred->size(), QSize(624, 658));
        QVERIFY(qAbs(centred->frameGeometry().center().x() - screen.center().x()) <= 1);
    }

    void tabOrderFollowsTheWindowsList() {
        auto form = start();
        showAndActivate(*form);
        QCOMPARE(QApplication::focusWidget(), form->companyEdit_);
        const QList<QWidget*> ratesPage = {
            form->addressEdit_,  form->cityEdit_,       form->phoneEdit_,
            form->employeeEdit_, form->supervisorEdit_, form->weekStartEdit_,
            form->rateNameEdit_, form->rateAmountEdit_, form->editRateButton_,
            form->rateList_,     form->startButton_,    form->listTabs_->tabBar(),
            form->helpButton_,   form->sampleButton_,   form->companyEdit_};
        for (QWidget* expected : ratesPage) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), expected);
        }
        form->listTabs_->setCurrentIndex(1);
        form->supervisorEdit_->setFocus();
        const QList<QWidget*> hoursPage = {
            form->weekStartEdit_,  form->dayChoice_,         form->rateChoice_, form->hoursEdit_,
            form->addHoursButton_, form->deleteHoursButton_, form->hoursList_,  form->startButton_};
        for (QWidget* expected : hoursPage) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), expected);
        }
    }

    void focusSelectsTheWholeText() {
        store_->setValue("txtName", "ACME Inc");
        auto form = start();
        showAndActivate(*form);
        QCOMPARE(QApplication::focusWidget(), form->companyEdit_);
        QCOMPARE(form->companyEdit_->selectedText(), QString("ACME Inc"));
        form->addressEdit_->setText("Birchwood st");
        QTest::keyClick(form->companyEdit_, Qt::Key_Tab);
        QCOMPARE(form->addressEdit_->selectedText(), QString("Birchwood st"));
        QCOMPARE(form->addressEdit_->selectionStart(), 0);
        // A click into a field selects all as well.
        form->rateAmountEdit_->setText("11.50");
        QTest::mouseClick(form->rateAmountEdit_, Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(form->rateAmountEdit_->selectedText(), QString("11.50"));
        // Typing then replaces the old value.
        QTest::keyClicks(form->rateAmountEdit_, "9");
        QCOMPARE(form->rateAmountEdit_->text(), QString("9"));
    }

    void hoverCursorRule() {
        auto form = start();
        showAndActivate(*form);
        auto overCentre = [](QWidget* w) { QTest::mouseMove(w, w->rect().center()); };
        QCOMPARE(form->windowPointer(), WindowPointer::Arrow);
        overCentre(form->sampleButton_);
        QCOMPARE(form->windowPointer(), WindowPointer::Hand);
        QCOMPARE(form->cursor().hotSpot(), QPoint(6, 0));
        overCentre(form->generalBox_->findChild<QLabel*>());
        QCOMPARE(form->windowPointer(), WindowPointer::Hand);  // a label changes nothing
        overCentre(form->rateNameEdit_);
        QCOMPARE(form->windowPointer(), WindowPointer::Hand);
        overCentre(form->phoneEdit_);
        QCOMPARE(form->windowPointer(), WindowPointer::Arrow);
        overCentre(form->editRateButton_);
        QCOMPARE(form->windowPointer(), WindowPointer::Hand);
        overCentre(form->listTabs_->tabBar());
        QCOMPARE(form->windowPointer(), WindowPointer::Hand);
        overCentre(form->rateList_->viewport());
        QCOMPARE(form->windowPointer(), WindowPointer::Arrow);
        overCentre(form->startButton_);
        QTest::mouseMove(form.get(), QPoint(3, 300));  // the window's own background
        QCOMPARE(form->windowPointer(), WindowPointer::Arrow);

        form->setBusyCursor(true);
        QCOMPARE(form->cursor().shape(), Qt::WaitCursor);
        for (QWidget* w :
             QList<QWidget*>{form->helpButton_, form->companyEdit_, form->rateList_->viewport()}) {
            overCentre(w);
            QCOMPARE(form->windowPointer(), WindowPointer::Hourglass);
        }
        form->setBusyCursor(false);
        QCOMPARE(form->windowPointer(), WindowPointer::Arrow);
        overCentre(form->helpButton_);
        QCOMPARE(form->windowPointer(), WindowPointer::Hand);
    }

    void withoutTheCursorFileTheHandIsTheArrow() {
        QTemporaryDir emptyFolder;
        auto form = start(emptyFolder.path());
        QVERIFY(!form->hasCustomPointer());
        showAndActivate(*form);
        QTest::mouseMove(form.get(), QPoint(3, 300));
        QTest::mouseMove(form->helpButton_, form->helpButton_->rect().center());
        QCOMPARE(form->windowPointer(), WindowPointer::Hand);
        QCOMPARE(form->cursor().shape(), Qt::ArrowCursor);
        QVERIFY(prompter_->messages.empty());
    }

    void anInstalledProgramTakesTheCursorFromShareTallowby() {
        QTemporaryDir prefix;
        QVERIFY(QDir(prefix.path()).mkpath("bin"));
        QVERIFY(QDir(prefix.path()).mkpath("share/tallowby"));
        QVERIFY(QFile::copy(resourcesFolder() + "/HAND-M.CUR",
                            prefix.filePath("share/tallowby/HAND-M.CUR")));
        auto form = start(prefix.filePath("bin"));
        QVERIFY(form->hasCustomPointer());
        QVERIFY(prompter_->messages.empty());
    }

    void aBrokenCursorFileIsReportedAndLeavesTheArrow() {
        QTemporaryDir folder;
        QFile broken(folder.filePath("HAND-M.CUR"));
        QVERIFY(broken.open(QIODevice::WriteOnly));
        broken.write("not a cursor");
        broken.close();
        auto form = start(folder.path());
        QVERIFY(!form->hasCustomPointer());
        QCOMPARE(prompter_->messages.size(), size_t(1));
        QVERIFY(prompter_->messages[0].text.contains("Form1.Form_Load at line 108"));
        QCOMPARE(presenceChecks_, 1);
    }
};

int main(int argc, char** argv) {
    return runTestProgram<EntryWindowLayoutTest>(argc, argv, ProgramLocale::UnitedStatesEnglish);
}

#include "entry_window_layout_qtest.moc"
#include "moc_entry_window_fixture.cpp"
