// The main window's geometry, fonts, focus order and hover pointer. Real
// widgets under the offscreen platform.
#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
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

  private slots:
    void windowGeometryAndFonts() {
        auto form = start();
        QCOMPARE(form->size(), QSize(624, 658));
        QCOMPARE(form->minimumSize(), form->maximumSize());
        QCOMPARE(form->startButton_->geometry(), QRect(8, 8, 608, 27));
        QCOMPARE(form->sampleButton_->geometry(), QRect(320, 42, 296, 27));
        QCOMPARE(form->generalBox_->geometry(), QRect(8, 74, 608, 233));
        QCOMPARE(form->cityEdit_->geometry(), QRect(144, 80, 445, 23));
        QCOMPARE(form->listTabs_->geometry(), QRect(8, 311, 608, 337));
        QCOMPARE(form->hoursList_->geometry(), QRect(9, 149, 572, 158));
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
