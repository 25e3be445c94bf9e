// The buttons of the main window and the rows they change.
#include <QComboBox>
#include <QDateEdit>
#include <QTimeEdit>
#include <QTreeWidget>

#include "app/build_config.h"
#include "app/failure.h"
#include "app/guarded.h"
#include "app/main_module.h"
#include "app/prompter.h"
#include "entry/entry_labels.h"
#include "entry/form1.h"
#include "entry/list_rows.h"
#include "entry/sample_data.h"
#include "entry/select_all_line_edit.h"

namespace tallowby {

namespace {

// The picked item's position; text typed into the edit part counts when it
// is exactly one of the items. -1 for anything else.
int chosenIndex(const QComboBox* combo) {
    const int index = combo->currentIndex();
    if (index >= 0 && combo->itemText(index) == combo->currentText()) return index;
    if (combo->currentText().isEmpty()) return -1;
    return combo->findText(combo->currentText(), Qt::MatchExactly | Qt::MatchCaseSensitive);
}

// What the user still has to choose before an hours entry can be added, or
// nothing when the entry has both a day and a type.
QString missingChoice(bool hasDay, bool hasType) {
    if (!hasDay && !hasType) return QStringLiteral("Choose a day and a type for the hours.");
    if (!hasDay) return QStringLiteral("Choose a day for the hours.");
    if (!hasType) return QStringLiteral("Choose a type for the hours.");
    return {};
}

QTreeWidgetItem* requireRow(QTreeWidgetItem* item) {
    if (!item) throw Failure("Object variable not set");
    return item;
}

void clearChoice(QComboBox* combo) {
    combo->setCurrentIndex(-1);
    combo->clearEditText();
}

}  // namespace

void Form1::PushButton1_Click() {
    Guarded g(QStringLiteral("Form1"), QStringLiteral("PushButton1_Click"), this);
    g.run(100, [&] {
        prompter().message(this, Main::AppTitle(),
                           QStringLiteral("Questions? Please contact Team Marrowick at ") +
                               QString::fromUtf8(build::kContactPage),
                           Prompter::Icon::None, Prompter::Buttons::Ok);
    });
}

void Form1::ListView1_ItemClick(QTreeWidgetItem*) {
    // The row the click has just made current, not the event's argument.
    if (ListView1->topLevelItemCount() == 0) return;
    const QTreeWidgetItem* current = ListView1->currentItem();
    if (!current) return;
    txtType->setText(current->text(0));
    txtRate->setText(current->text(1));
}

void Form1::PushButton2_Click() {
    Guarded g(QStringLiteral("Form1"), QStringLiteral("PushButton2_Click"), this);
    if (g.test(100, [&] { return ListView1->topLevelItemCount() > 0; })) {
        // With rows but none current there is nothing to write into.
        QTreeWidgetItem* current = ListView1->currentItem();
        if (current) {
            g.run(102, [&] { current->setText(0, txtType->text()); });
            g.run(104, [&] { current->setText(1, txtRate->text()); });
            // The hours entries of this rate show its new description.
            g.run(105, [&] {
                entry_labels::relabel(ListView2, 1, 4, ListView1->indexOfTopLevelItem(current),
                                      current->text(0));
            });
        }
    }
    g.run(106, [&] { txtType->clear(); });
    g.run(108, [&] { txtRate->clear(); });
}

void Form1::PushButton3_Click() {
    Guarded g(QStringLiteral("Form1"), QStringLiteral("PushButton3_Click"), this);
    // An entry without a day or a type would have no place on the sheet.
    bool refused = false;
    g.run(99, [&] {
        const QString missing = missingChoice(chosenIndex(Combo1) >= 0, chosenIndex(Combo2) >= 0);
        if (missing.isEmpty()) return;
        refused = true;
        prompter().message(this, Main::AppTitle(), missing, Prompter::Icon::Warning,
                           Prompter::Buttons::Ok);
    });
    if (refused) return;
    QTreeWidgetItem* item = nullptr;
    g.run(100, [&] { item = new QTreeWidgetItem(ListView2, QStringList{Combo1->currentText()}); });
    g.run(102, [&] { requireRow(item)->setText(1, Combo2->currentText()); });
    g.run(104,
          [&] { requireRow(item)->setText(2, dtpTime->time().toString(QStringLiteral("hh:mm"))); });
    g.run(106, [&] { requireRow(item)->setText(3, QString::number(chosenIndex(Combo1))); });
    g.run(108, [&] { requireRow(item)->setText(4, QString::number(chosenIndex(Combo2))); });
    g.run(110, [&] { clearChoice(Combo1); });
    g.run(112, [&] { clearChoice(Combo2); });
    g.run(114, [&] { dtpTime->setTime(QTime(0, 0)); });
    list_rows::ensureCurrentRow(ListView2);
}

void Form1::PushButton4_Click() {
    Guarded g(QStringLiteral("Form1"), QStringLiteral("PushButton4_Click"), this);
    if (g.test(100, [&] { return ListView2->topLevelItemCount() > 0; })) {
        g.run(102, [&] {
            QTreeWidgetItem* current = ListView2->currentItem();
            if (!current) return;  // entries but none current: nothing to remove
            delete ListView2->takeTopLevelItem(ListView2->indexOfTopLevelItem(current));
        });
    }
    list_rows::ensureCurrentRow(ListView2);
}

void Form1::PushButton6_Click() {
    if (generationRunner_) generationRunner_();
}

void Form1::PushButton7_Click() {
    namespace sd = sample_data;
    Guarded g(QStringLiteral("Form1"), QStringLiteral("PushButton7_Click"), this);
    g.run(100, [&] { txtName->setText(QString::fromUtf8(sd::kCompany)); });
    g.run(102, [&] { txtLocation->setText(QString::fromUtf8(sd::kAddress)); });
    g.run(104, [&] { txtCity->setText(QString::fromUtf8(sd::kCity)); });
    g.run(106, [&] { txtPhone->setText(QString::fromUtf8(sd::kPhone)); });
    g.run(108, [&] { dtpDate->setDate(options_.today().addDays(-sd::kWeekStartDaysAgo)); });
    g.run(110, [&] { txtEmp->setText(QString::fromUtf8(sd::kEmployee)); });
    g.run(112, [&] { txtSVisor->setText(QString::fromUtf8(sd::kSupervisor)); });
    int line = 114;
    for (const sd::SampleRate& rate : sd::kRates) {
        QTreeWidgetItem* item = nullptr;
        g.run(line, [&] {
            item = new QTreeWidgetItem(ListView1, QStringList{QString::fromUtf8(rate.description)});
        });
        g.run(line + 2, [&] { requireRow(item)->setText(1, QString::fromUtf8(rate.rate)); });
        line += 4;
    }
    list_rows::ensureCurrentRow(ListView1);
    g.run(142, [&] { FillDayList(); });
    g.run(144, [&] { FillTypeList(); });

    // A failing loop header resumes with the body, so the body runs once.
    const int days = g.value(
        146, [&] { return Combo1->count(); }, 1);
    for (int d = 0; d < days; ++d) {
        g.run(148, [&] { Combo1->setCurrentIndex(d); });
        const int types = g.value(
            150, [&] { return Combo2->count(); }, 1);
        for (int t = 0; t < types; ++t) {
            if (!g.test(152, [&] { return sd::wantsEntry(d, t); })) continue;
            g.run(154, [&] { Combo2->setCurrentIndex(t); });
            g.run(156, [&] {
                dtpTime->setTime(
                    QTime::fromString(QString::fromLatin1(sd::kHours), QStringLiteral("hh:mm")));
            });
            QTreeWidgetItem* item = nullptr;
            g.run(158, [&] {
                item = new QTreeWidgetItem(ListView2, QStringList{Combo1->currentText()});
            });
            g.run(160, [&] { requireRow(item)->setText(1, Combo2->currentText()); });
            g.run(162, [&] {
                requireRow(item)->setText(2, dtpTime->time().toString(QStringLiteral("hh:mm")));
            });
            g.run(164, [&] { requireRow(item)->setText(3, QString::number(d)); });
            g.run(166, [&] { requireRow(item)->setText(4, QString::number(t)); });
        }
    }
    list_rows::ensureCurrentRow(ListView2);
}

}  // namespace tallowby
