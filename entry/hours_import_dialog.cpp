#include "entry/hours_import_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QVBoxLayout>

namespace tallowby {

namespace {

const char* const kColumnCaptions[] = {"Date:", "Hours:", "Start time:", "End time:", "Type:"};
const char* const kColumnNames[] = {"dateColumnChoice", "hoursColumnChoice", "startColumnChoice",
                                    "endColumnChoice", "typeColumnChoice"};

std::array<int, 5> positions(const tracker_columns::Columns& c) {
    return {c.date, c.duration, c.start, c.end, c.type};
}

}  // namespace

HoursImportDialog::HoursImportDialog(const QString& path, QDate weekStart,
                                     std::vector<RateEntry> rates, QWidget* parent)
    : QDialog(parent), plan_(path, weekStart, std::move(rates), QLocale()) {
    setObjectName(QStringLiteral("hoursImportDialog"));
    setWindowTitle(QStringLiteral("Import Hours from CSV - %1").arg(QFileInfo(path).fileName()));
    auto* layout = new QVBoxLayout(this);

    auto* fileLabel = new QLabel(this);
    const CsvReadSummary& csv = plan_.file().csv;
    const QString separator = csv.separator == '\t'  ? QStringLiteral("tab")
                              : csv.separator == ';' ? QStringLiteral("semicolon")
                                                     : QStringLiteral("comma");
    fileLabel->setText(
        QStringLiteral("%1: %2, %3-separated, %4 rows below the header.")
            .arg(QFileInfo(path).fileName(), csv_text::encodingName(csv.encoding), separator)
            .arg(plan_.file().dataRows));
    layout->addWidget(fileLabel);

    previewTable_ = new QTableWidget(this);
    previewTable_->setObjectName(QStringLiteral("previewTable"));
    previewTable_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    previewTable_->setMinimumHeight(160);
    layout->addWidget(previewTable_);

    auto* columnsForm = new QFormLayout;
    for (std::size_t i = 0; i < columnChoices_.size(); ++i) {
        columnChoices_[i] = new QComboBox(this);
        columnChoices_[i]->setObjectName(QString::fromLatin1(kColumnNames[i]));
        columnsForm->addRow(QString::fromLatin1(kColumnCaptions[i]), columnChoices_[i]);
    }
    layout->addLayout(columnsForm);

    auto* weekRow = new QHBoxLayout;
    weekLabel_ = new QLabel(this);
    weekLabel_->setObjectName(QStringLiteral("weekLabel"));
    weekLabel_->setWordWrap(true);
    moveWeekButton_ = new QPushButton(this);
    moveWeekButton_->setObjectName(QStringLiteral("moveWeekButton"));
    weekRow->addWidget(weekLabel_, 1);
    weekRow->addWidget(moveWeekButton_);
    layout->addLayout(weekRow);

    typeMapping_ = new QTableWidget(0, 2, this);
    typeMapping_->setObjectName(QStringLiteral("typeMapping"));
    typeMapping_->setHorizontalHeaderLabels(
        {QStringLiteral("Type in the file"), QStringLiteral("Import as")});
    typeMapping_->horizontalHeader()->setStretchLastSection(true);
    typeMapping_->verticalHeader()->hide();
    typeMapping_->setMaximumHeight(120);
    layout->addWidget(typeMapping_);

    summaryLabel_ = new QLabel(this);
    summaryLabel_->setObjectName(QStringLiteral("importSummary"));
    summaryLabel_->setWordWrap(true);
    summaryLabel_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(summaryLabel_);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
    importButton_ = buttons->addButton(QStringLiteral("Import"), QDialogButtonBox::AcceptRole);
    importButton_->setObjectName(QStringLiteral("importButton"));
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(moveWeekButton_, &QPushButton::clicked, this, &HoursImportDialog::onMoveWeek);
    for (QComboBox* choice : columnChoices_)
        connect(choice, &QComboBox::currentIndexChanged, this, &HoursImportDialog::onColumnChosen);

    fillPreview();
    fillColumnChoices();
    fillTypeMapping();
    showState();
    resize(640, 560);
}

void HoursImportDialog::fillPreview() {
    const TrackerFile& file = plan_.file();
    previewTable_->setColumnCount(static_cast<int>(file.header.size()));
    previewTable_->setHorizontalHeaderLabels(file.header);
    previewTable_->setRowCount(static_cast<int>(file.firstRows.size()));
    for (std::size_t r = 0; r < file.firstRows.size(); ++r)
        for (qsizetype c = 0; c < file.firstRows[r].size() && c < file.header.size(); ++c)
            previewTable_->setItem(static_cast<int>(r), static_cast<int>(c),
                                   new QTableWidgetItem(file.firstRows[r][c]));
    previewTable_->resizeColumnsToContents();
}

void HoursImportDialog::fillColumnChoices() {
    const std::array<int, 5> found = positions(plan_.file().columns);
    for (std::size_t i = 0; i < columnChoices_.size(); ++i) {
        const QSignalBlocker blocker(columnChoices_[i]);
        columnChoices_[i]->clear();
        columnChoices_[i]->addItem(QStringLiteral("(none)"));
        columnChoices_[i]->addItems(plan_.file().header);
        columnChoices_[i]->setCurrentIndex(found[i] + 1);
    }
}

void HoursImportDialog::fillTypeMapping() {
    const QStringList unknown = plan_.unknownTypes();
    typeMapping_->setRowCount(static_cast<int>(unknown.size()));
    for (qsizetype row = 0; row < unknown.size(); ++row) {
        const QString type = unknown[row];
        auto* name = new QTableWidgetItem(type.isEmpty() ? QStringLiteral("(no type)") : type);
        name->setFlags(Qt::ItemIsEnabled);
        typeMapping_->setItem(static_cast<int>(row), 0, name);
        auto* choice = new QComboBox(typeMapping_);
        choice->addItem(QStringLiteral("(leave out)"));
        for (const RateEntry& rate : plan_.rates()) choice->addItem(rate.description);
        choice->setCurrentIndex(plan_.mappedRate(type) + 1);
        connect(choice, &QComboBox::currentIndexChanged, this, [this, type](int index) {
            plan_.mapType(type, index - 1);
            showState();
        });
        typeMapping_->setCellWidget(static_cast<int>(row), 1, choice);
    }
    typeMapping_->setVisible(!unknown.isEmpty());
}

void HoursImportDialog::showState() {
    const QDate start = plan_.weekStart();
    const QString week = locale_.toString(start, QLocale::ShortFormat) + QStringLiteral(" - ") +
                         locale_.toString(start.addDays(6), QLocale::ShortFormat);
    weekLabel_->setText(QStringLiteral("Week %1: %2 of %3 readable rows fall into it.")
                            .arg(week)
                            .arg(plan_.rowsInWeek(start))
                            .arg(plan_.file().rows.size()));
    const std::optional<QDate> busiest = plan_.busiestWeekStart();
    const bool offer =
        busiest && *busiest != start && plan_.rowsInWeek(*busiest) > plan_.rowsInWeek(start);
    moveWeekButton_->setVisible(offer);
    if (offer)
        moveWeekButton_->setText(QStringLiteral("Move the week start to %1 (%2 rows)")
                                     .arg(locale_.toString(*busiest, QLocale::ShortFormat))
                                     .arg(plan_.rowsInWeek(*busiest)));
    summaryLabel_->setText(plan_.summary());
    importButton_->setEnabled(plan_.canImport());
}

void HoursImportDialog::onColumnChosen() {
    tracker_columns::Columns chosen;
    int* targets[] = {&chosen.date, &chosen.duration, &chosen.start, &chosen.end, &chosen.type};
    for (std::size_t i = 0; i < columnChoices_.size(); ++i)
        *targets[i] = columnChoices_[i]->currentIndex() - 1;
    plan_.chooseColumns(chosen);
    fillTypeMapping();
    showState();
}

void HoursImportDialog::onMoveWeek() {
    if (const std::optional<QDate> busiest = plan_.busiestWeekStart()) plan_.setWeekStart(*busiest);
    showState();
}

}  // namespace tallowby
